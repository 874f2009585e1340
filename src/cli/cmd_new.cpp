// vorpane-cli new RULEFILE ERA OUT.inv: a rolled investigator as the new-document dialog makes it
// without the wizard, saved as an investigator file. RULEFILE is a name in the data folders, or
// a path (its folder then is the only data folder); ERA is 0 (1890s), 1 (1920s) or 2 (1990s).

#include "cli/cli_command.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/new_investigator.h"
#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "rules/rule_file_entries.h"
#include "rules/text_case.h"

#include <algorithm>
#include <filesystem>

namespace vorpane::cli {

namespace {

int runNew(const Command& self, const Args& args)
{
    if (args.size() != 3 || args[1].size() != 1 || args[1][0] < '0' || args[1][0] >= '0' + kEraCount)
        return printUsage(self);
    const std::filesystem::path given(args[0]);
    std::string ruleFile = args[0];
    if (given.has_parent_path()) {
        setProgramFolder(given.parent_path().string());
        setUserDataFolderSearched(false);
        ruleFile = given.filename().string();
    }
    const int era = args[1][0] - '0';

    Investigator inv;
    if (!createInvestigator(inv, ruleFile, era))
        return kFailed;
    // The dialog offers only the eras the rule file's ERAS section leaves open.
    const std::vector<NewDocumentEntry> offered = ruleFileEntries(inv.RuleFile);
    const bool eraOffered = std::any_of(
        offered.begin(), offered.end(), [&](const NewDocumentEntry& entry) { return entry.era == era; });
    if (!eraOffered) {
        printError("vorpane-cli: " + inv.RuleFile + " does not offer era " + args[1]);
        return kFailed;
    }
    return InvestigatorFile::save(args[2], inv, {}) ? kSuccess : kFailed;
}

} // namespace

VORPANE_CLI_COMMAND(newInvestigator, "new", "RULEFILE ERA OUT.inv (ERA 0, 1 or 2)", runNew);

} // namespace vorpane::cli
