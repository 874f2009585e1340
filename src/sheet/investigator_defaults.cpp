#include "sheet/investigator_defaults.h"

#include "investigator/investigator.h"
#include "rules/list_file.h"
#include "rules/rule_set_cache.h"
#include "sheet/investigator_document_model.h"

namespace vorpane {

namespace {

// The value of the investigator's rule file, loading it when needed.
std::string ruleFileValue(const Investigator& investigator, const char* key, const std::string& otherwise)
{
    const std::string ruleFile = ruleFileOrDefault(investigator.RuleFile);
    RuleSetCache& cache = RuleSetCache::instance();
    if (!cache.ensureLoaded(ruleFile))
        return otherwise;
    return cache.keyValue(ruleFile, key, otherwise);
}

} // namespace

std::string investigatorSheetScript(const InvestigatorDocumentModel& document)
{
    if (!document.sheetScript().empty())
        return document.sheetScript();
    return ruleFileValue(document.investigator(), "DefaultScript", "");
}

std::string investigatorOptionsFile(const Investigator& investigator)
{
    const std::string file = ruleFileValue(investigator, "Options", ListFile::kFallbackFile);
    return file.empty() ? ListFile::kFallbackFile : file;
}

} // namespace vorpane
