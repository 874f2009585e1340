#pragma once
// Characteristics and what follows from them: the rolls, the two skill-point budgets, sanity,
// hit points, magic points, the damage bonus, recalculation of every entry's base value and the
// skill-point status texts.

#include <string>

namespace vorpane {

class DiceExpression;
class Investigator;
class InvestigatorHistory;

// Rolls FUE, CON, POD, DES, APA (3D6), TAM, INT (2D6+6), EDU (3D6+6) in this order; raises Age to
// EDU + 6 when below it; then computes the budgets, the derived values and recalculates.
void rollCharacteristics(Investigator& inv, DiceExpression& dice);
void rollCharacteristics(Investigator& inv);

// The reroll command: a checkpoint, then a new roll. Skills keep their values unless below their
// new base.
void rerollCharacteristics(Investigator& inv, InvestigatorHistory& history);

// SkillPoints and InterestPoints from EDU, INT and ExtraSchooling.
void computeBudgets(Investigator& inv);
// COR = POD x 5, PV = (TAM + CON) / 2 rounded half up, Magic = POD.
void computeDerivedValues(Investigator& inv);

// "-1D6", "-1D4", "nada", "+1D4" or "+nD6"; empty when FUE or TAM is negative.
std::string damageBonus(int fue, int tam);
std::string damageBonus(const Investigator& inv);

// The skill whose current value lowers the sanity maximum from kSanityCeiling.
constexpr const char* kMythosSkill = "Zhaldor Mythos";
constexpr int kSanityCeiling = 99;

// 99 minus the current value of "Zhaldor Mythos" (99 without that skill).
int maximumSanity(const Investigator& inv);
// The inverse, for the sheet's maximum-sanity field: "Zhaldor Mythos" becomes 99 minus maximum.
// False, and nothing changes, without that skill.
bool setMaximumSanity(Investigator& inv, int maximum);

// Every entry in list order: base value = its formula's value; a current value below it is raised.
void recalculate(Investigator& inv);
// Base values only (loading never raises current values).
void computeBaseValues(Investigator& inv);

// The two status-bar panes: "%d Points" or "%d Over", and "Skill: %d Hobby: %d"; both empty when
// the budgets add up to 0.
struct SkillPointStatus {
    std::string points;
    std::string budgets;
};
SkillPointStatus skillPointStatus(const Investigator& inv);

} // namespace vorpane
