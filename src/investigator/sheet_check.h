#pragma once
// The two Herramientas tools that report line by line in the output window (cleared first): the
// sheet check ("Probar ficha"), which finds what is missing or does not add up and changes nothing,
// and the end-of-campaign improvement of every skill ticked as Checked.

#include <string>

namespace vorpane {

class DiceExpression;
class Investigator;
class InvestigatorHistory;
struct SkillEntry;

// Definition name without leading '*'; a subskill as "Parent:Subskill".
std::string checkDisplayName(const SkillEntry& entry);

// Writes the report into ui().output(). With findings the window is shown and the count returned;
// without, "Testeo del Investigador finalizado." is also shown in a box and the window hidden.
int checkSheet(const Investigator& inv);

// Asks first; on No returns false and changes nothing. Otherwise takes a checkpoint, rolls D100
// for every Checked entry (1D10 more points when the roll beats the current value), clears the
// Checked flags and returns true.
bool improveSkills(Investigator& inv, InvestigatorHistory& history);
// The same with the dice rolled through dice (tests give known rolls).
bool improveSkills(Investigator& inv, InvestigatorHistory& history, DiceExpression& dice);

// The two halves, for callers that keep the history themselves: the question (false for No),
// then the improvement with its report, without a checkpoint.
bool confirmImprovement();
void improveCheckedSkills(Investigator& inv, DiceExpression& dice);

} // namespace vorpane
