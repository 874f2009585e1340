#include "investigator/rule_scripts.h"

#include "investigator/investigator.h"
#include "investigator/investigator_history.h"
#include "investigator/investigator_object.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "platform/ui_services.h"
#include "rules/dice_object.h"
#include "rules/rule_set_cache.h"
#include "rules/section_file.h"
#include "script/script_runner.h"
#include "script/syntax_tree.h"

#include <utility>
#include <vector>

namespace vorpane {

using script::ScriptValue;

namespace {

const char* const kGlobalScriptSection = "GLOBAL_SCRIPT";
const char* const kIncomeSection = "INCOME";
// Between GLOBAL_SCRIPT and an occupation's script, so that the two never run into one line.
const char* const kScriptSeparator = "\r\n\r\n";

const char* const kUnparsableModifier
    = "Unable to use the characteristic modifier script - do you want to continue?";
const char* const kFailedModifier
    = "Unable to execute the characteristic modifier script - do you want to "
      "continue?\n(It's possible that something about the investigator has been "
      "modified)";
const char* const kFailedIncome = "Unable to execute the income generation script";
const char* const kIncomeBox = "Tu investigador obtiene ingresos de";

constexpr int kYear1890s = 1890;
constexpr int kYear1920s = 1920;
constexpr int kYear1990s = 1990;

using NamedValues = std::vector<std::pair<std::string, ScriptValue>>;

// The section of the investigator's rule file, read afresh; empty when the file or section is missing.
std::string ruleFileSection(const Investigator& inv, const char* name)
{
    SectionFile file;
    if (!file.open(dataFilePath(ruleFileOrDefault(inv.RuleFile))))
        return {};
    return file.section(name);
}

// A section of nothing but blank lines holds no script.
bool isBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// Whether the text parses, as the interpreter will read it (CR LF as LF). The parser reports the
// first error itself.
bool parses(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            lines += text[i];
    }
    return script::parseScript(lines).program != nullptr;
}

// One run as every rule-file hook makes it: dice, output and the given values, the hint, the run.
bool runText(const std::string& text, const NamedValues& values)
{
    script::ScriptRunner runner;
    if (!runner.loadText(text))
        runner.loadTextInMemory(text); // no temporary file to be had: run it all the same
    registerDiceAndOutput(runner);
    for (const auto& [name, value] : values)
        runner.registerValue(name, value);
    ui().quickInfo(kRunScriptHintKey, cp1252(kRunScriptHintText));
    return runner.run() == 1;
}

int eraYear(int era)
{
    if (era == kEraIndex1890s)
        return kYear1890s;
    if (era == kEraIndex1990s)
        return kYear1990s;
    return kYear1920s;
}

} // namespace

ModifierScriptRun runModifierScript(Investigator& inv, const std::string& occupation)
{
    ModifierScriptRun run;
    const std::shared_ptr<const OccupationDef> def
        = RuleSetCache::instance().findOccupation(ruleFileOrDefault(inv.RuleFile), occupation);
    if (!def || def->modifierScript.empty())
        return run;
    run.ran = true;

    const std::string text
        = ruleFileSection(inv, kGlobalScriptSection) + kScriptSeparator + def->modifierScript;
    if (!parses(text)) {
        run.parsed = run.succeeded = false;
        return run;
    }
    auto* object = new InvestigatorObject(inv);
    const ScriptValue hold(object); // ours, so the write-back below happens whatever the script did
    run.succeeded = runText(text, { { "investigator", hold } });
    object->detach();
    return run;
}

bool continueAfterModifierScript(const ModifierScriptRun& run)
{
    if (!run.ran || run.succeeded)
        return true;
    return askYesNo(run.parsed ? kFailedModifier : kUnparsableModifier);
}

IncomeRun runIncomeScript(Investigator& inv)
{
    const std::string text = ruleFileSection(inv, kIncomeSection);
    if (isBlank(text))
        return IncomeRun::NoScript;
    if (!parses(text))
        return IncomeRun::Unparsable;

    ScriptValue era(eraYear(inv.Era));
    ScriptValue income(std::string_view {});
    if (!runText(text,
            { { "era", ScriptValue::reference(&era) }, { "income", ScriptValue::reference(&income) } })) {
        showMessage(kFailedIncome, {}, MsgIcon::Warning);
        return IncomeRun::Failed;
    }
    try {
        inv.Income = income.toText();
    } catch (const script::ScriptError&) {
        showMessage(kFailedIncome, {}, MsgIcon::Warning);
        return IncomeRun::Failed;
    }
    return IncomeRun::Done;
}

IncomeRun incomeCommand(Investigator& inv, InvestigatorHistory& history)
{
    history.checkpoint(inv);
    return incomeCommand(inv);
}

IncomeRun incomeCommand(Investigator& inv)
{
    const IncomeRun run = runIncomeScript(inv);
    showMessage(cp1252(kIncomeBox) + inv.Income, {}, MsgIcon::None);
    return run;
}

} // namespace vorpane
