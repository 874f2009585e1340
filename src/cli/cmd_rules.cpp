// vorpane-cli rules RULEFILE: loads a rule file as the program does and lists what it offers, so
// that rule-file authors can check their files. Every message of the load is printed as it comes.
// RULEFILE is a name in the data folders, or a path (its folder then is the only data folder).

#include "cli/cli_command.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "rules/list_file.h"
#include "rules/rule_file_entries.h"
#include "rules/rule_set_cache.h"
#include "rules/section_file.h"
#include "rules/text_case.h"

#include <filesystem>

namespace vorpane::cli {

namespace {

constexpr const char* kEraNames[] = { "1890s", "1920s", "1990s" };

void print(const std::string& cp1252Text) { printLine(cp1252ToUtf8(cp1252Text)); }

// A multi-line text, each line indented.
void printIndented(const std::string& text)
{
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        print("    " + line);
        pos = end + 1;
    }
}

std::string quote(const std::string& text) { return "\"" + text + "\""; }

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : " ") + (item == "*" ? item : quote(item));
    return text;
}

// Entries, descriptions and the script sections, read from the file as the dialog reads them.
void printFileSections(const std::string& ruleFile)
{
    SectionFile file;
    if (!file.open(dataFilePath(ruleFile)))
        return;
    const std::vector<NewDocumentEntry> entries = ruleFileEntries(file, ruleFile);
    print("Entries: " + std::to_string(entries.size()));
    for (const NewDocumentEntry& entry : entries)
        print("  " + std::string(kEraNames[entry.era]) + "  " + quote(entry.text)
            + "  short: " + quote(describeEntry(file, entry).shortText));
    if (!entries.empty()) {
        print("Description:");
        printIndented(describeEntry(file, entries.front()).longText);
    }
    for (const char* script : { "GLOBAL_SCRIPT", "INCOME" }) {
        const std::string text = file.section(script);
        print(std::string(script) + ": " + (text.empty() ? "none" : std::to_string(text.size()) + " bytes"));
    }
}

void printSkills(const RuleSet& rules, ListFile& options)
{
    print("Skills: " + std::to_string(rules.skills().size()));
    for (const SkillDef* def : rules.skills()) {
        std::string line = "  " + std::string(skillKindName(def->kind())) + " " + quote(def->name())
            + " base " + quote(def->base()) + " eras " + eraWord(def->eras());
        if (def->kind() == SkillKind::SpecialSkill) {
            const auto* special = static_cast<const SpecialSkill*>(def);
            const ListFile::Entries suggestions = options.section(std::string(skipLeadingStars(def->name())));
            line += " subskills " + std::to_string(special->subSkillCount()) + " options "
                + std::to_string(suggestions ? suggestions->size() : 0);
        }
        print(line);
    }
}

void printWeapons(const RuleSet& rules)
{
    print("Firearms: " + std::to_string(rules.firearms().size()));
    for (const SkillDef* def : rules.firearms()) {
        const FirearmStats& s = static_cast<const Firearm*>(def)->stats();
        print("  Firearm " + quote(def->name()) + " base " + quote(def->base()) + " dmg " + quote(s.dmg)
            + " range " + quote(s.range) + " shots " + quote(s.shots) + " bullets " + quote(s.bullets)
            + " pv " + quote(s.pv) + " mal " + quote(s.mal) + " eras " + eraWord(def->eras()));
    }
    print("Melee: " + std::to_string(rules.melee().size()));
    for (const SkillDef* def : rules.melee()) {
        const MeleeStats& s = static_cast<const Melee*>(def)->stats();
        print("  Melee " + quote(def->name()) + " base " + quote(def->base()) + " dmg " + quote(s.dmg)
            + " attacks " + quote(s.attacks) + " pv " + quote(s.pv) + " eras " + eraWord(def->eras()));
    }
}

void printOccupations(const RuleSet& rules)
{
    print("Occupations: " + std::to_string(rules.occupations().size()));
    for (const OccupationDef& occupation : rules.occupations()) {
        std::string line = "  Occupation " + quote(occupation.name) + " eras " + eraWord(occupation.eras)
            + " skills (" + joined(occupation.skills) + ")";
        if (occupation.subsetCount > 0)
            line += " choose " + std::to_string(occupation.subsetCount) + " of ("
                + joined(occupation.subsetSkills) + ")";
        line += occupation.modifierScript.empty() ? " script no" : " script yes";
        print(line);
    }
}

int runRules(const Command& self, const Args& args)
{
    if (args.size() != 1)
        return printUsage(self);
    const std::filesystem::path given(args.front());
    std::string ruleFile = args.front();
    if (given.has_parent_path()) {
        setProgramFolder(given.parent_path().string());
        setUserDataFolderSearched(false);
        ruleFile = given.filename().string();
    }
    print("Rule file: " + ruleFile);
    RuleSetCache& cache = RuleSetCache::instance();
    const std::shared_ptr<const RuleSet> rules = cache.ensureLoaded(ruleFile);
    if (!rules) {
        print("Load failed.");
        return kFailed;
    }
    printFileSections(ruleFile);
    const std::string optionsFile = cache.keyValue(ruleFile, "Options", ListFile::kFallbackFile);
    print("Options list: " + optionsFile);
    for (const char* key : { "DefaultScript", "ShortInfo", "InvestigatorName" })
        print(std::string(key) + ": " + quote(cache.keyValue(ruleFile, key, "")));
    ListFile options(optionsFile, 4);
    printSkills(*rules, options);
    printWeapons(*rules);
    printOccupations(*rules);
    return kSuccess;
}

} // namespace

VORPANE_CLI_COMMAND(rules, "rules", "RULEFILE", runRules);

} // namespace vorpane::cli
