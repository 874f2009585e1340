#pragma once
// The rule file's scripts that adapt an investigator: an occupation's characteristic modifier
// (run by the wizard once the occupation is chosen; the rule file's GLOBAL_SCRIPT comes first) and
// the INCOME script with the income command. Each run gets a new interpreter with dice and output;
// the modifier gets the investigator object, the income script the numbers era and income.

#include <string>

namespace vorpane {

class Investigator;
class InvestigatorHistory;

// The QuickInfo hint offered before every script run.
inline constexpr char kRunScriptHintKey[] = "RunScript";
inline constexpr char kRunScriptHintText[] = "Vorpane va a abrir un archivo externo. Puedes pulsar "
                                             "Ctrl+Espacio para deterlo en cualquier momento.      ";

struct ModifierScriptRun {
    bool ran = false; // false when the occupation has no modifier script (nothing was done)
    bool parsed = true; // false after the parser reported the text
    bool succeeded = true; // false when the text did not parse or the run failed
};

// Runs the modifier script of the named occupation (display name) of the investigator's rule set
// on inv. The investigator object writes its properties back when the run ends, failed or not.
ModifierScriptRun runModifierScript(Investigator& inv, const std::string& occupation);

// The wizard's question after a failed run ("Unable to use ..." for a text that did not parse,
// "Unable to execute ..." for a failed run). True to go on: the run succeeded or did not happen,
// or the user answered Yes.
bool continueAfterModifierScript(const ModifierScriptRun& run);

enum class IncomeRun {
    NoScript, // the INCOME section is empty or missing: Income unchanged
    Unparsable, // the parser reported the text: Income unchanged
    Failed, // the run failed: warning shown, Income unchanged
    Done, // Income holds the script's income, as text
};

// Runs the INCOME section of the investigator's rule file with era (1890, 1920 or 1990) and
// income (an empty text) as the caller's values.
IncomeRun runIncomeScript(Investigator& inv);

// The income command: a checkpoint, the income script, then the plain box
// "Tu investigador obtiene ingresos de" + Income.
IncomeRun incomeCommand(Investigator& inv, InvestigatorHistory& history);
// The same without the checkpoint, for callers that keep the history themselves.
IncomeRun incomeCommand(Investigator& inv);

} // namespace vorpane
