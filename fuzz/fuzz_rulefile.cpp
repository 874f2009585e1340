// Rule files from arbitrary bytes: the loader, then every query a loaded rule set answers, the
// new-document entries and the key/value reader over the same text.
#include "platform/recording_ui.h"
#include "rules/rule_file_entries.h"
#include "rules/rule_set.h"
#include "rules/section_file.h"

#include <cstdint>
#include <string>

namespace {

class DropSink final : public vorpane::DefinitionSink {
public:
    void addDefinition(std::unique_ptr<vorpane::SkillDef> definition, bool) override { definition.reset(); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vorpane;
    static ScopedRecordingUi recorder;
    recorder.reset();

    const std::string text(reinterpret_cast<const char*>(data), size);
    RuleSet rules("fuzz.rul");
    rules.loadText(text);
    for (const OccupationDef& occupation : rules.occupations()) {
        rules.findOccupation(occupation.displayName());
        rules.hasModifierScript(occupation.displayName());
        for (const std::string& item : occupation.skills)
            rules.findDefinition(itemSkillName(item));
    }
    for (const auto& definition : rules.definitions())
        definition->clone();
    DropSink sink;
    for (int era = -1; era <= kEraCount; ++era)
        rules.giveSkills(era, sink);
    rules.occupationName(rules.occupationCount());

    SectionFile file;
    if (file.openText("fuzz.rul", text)) {
        for (const NewDocumentEntry& entry : ruleFileEntries(file, "fuzz.rul"))
            describeEntry(file, entry);
        file.value("KEYVALUEPAIRS", "Options", "options.lst");
    }
    return 0;
}
