#include "investigator/derived_values.h"

#include "investigator/base_formula.h"
#include "investigator/investigator.h"
#include "investigator/investigator_history.h"
#include "rules/dice_expression.h"

namespace vorpane {

namespace {

// Years of schooling finished before the education characteristic counts.
constexpr int kAgeOverEducation = 6;

struct Roll {
    int Investigator::*characteristic;
    const char* dice;
};

// The order matters: it is the order in which the generator's values are drawn.
constexpr Roll kRolls[] = {
    { &Investigator::FUE, "3D6" },
    { &Investigator::CON, "3D6" },
    { &Investigator::POD, "3D6" },
    { &Investigator::DES, "3D6" },
    { &Investigator::APA, "3D6" },
    { &Investigator::TAM, "2D6+6" },
    { &Investigator::INT, "2D6+6" },
    { &Investigator::EDU, "3D6+6" },
};

} // namespace

void rollCharacteristics(Investigator& inv, DiceExpression& dice)
{
    for (const Roll& roll : kRolls)
        inv.*roll.characteristic = dice.evaluate(roll.dice);
    if (inv.Age < clampToInt(inv.EDU + static_cast<long long>(kAgeOverEducation)))
        inv.Age = clampToInt(inv.EDU + static_cast<long long>(kAgeOverEducation));
    computeBudgets(inv);
    computeDerivedValues(inv);
    recalculate(inv);
}

void rollCharacteristics(Investigator& inv)
{
    DiceExpression dice;
    rollCharacteristics(inv, dice);
}

void rerollCharacteristics(Investigator& inv, InvestigatorHistory& history)
{
    history.checkpoint(inv);
    rollCharacteristics(inv);
}

void computeBudgets(Investigator& inv)
{
    const long long edu = inv.EDU;
    const long long intelligence = inv.INT;
    if (inv.ExtraSchooling == 2) {
        inv.SkillPoints = clampToInt(edu * 20 - 20);
        inv.InterestPoints = clampToInt((intelligence + 1) * 10);
    } else {
        inv.SkillPoints = clampToInt(edu * 20);
        inv.InterestPoints = clampToInt(intelligence * 10);
    }
}

void computeDerivedValues(Investigator& inv)
{
    inv.COR = clampToInt(inv.POD * 5LL);
    inv.PV = clampToInt((static_cast<long long>(inv.TAM) + inv.CON + 1) / 2);
    inv.Magic = inv.POD;
}

std::string damageBonus(int fue, int tam)
{
    if (fue < 0 || tam < 0)
        return {};
    const long long sum = static_cast<long long>(fue) + tam;
    if (sum <= 12)
        return "-1D6";
    if (sum <= 16)
        return "-1D4";
    if (sum <= 24)
        return "nada";
    if (sum <= 32)
        return "+1D4";
    std::string bonus = "+"; // built in steps: GCC 12 misreads "+" + std::string as overlapping
    bonus += std::to_string((sum - 25) / 16 + 1);
    bonus += "D6";
    return bonus;
}

std::string damageBonus(const Investigator& inv) { return damageBonus(inv.FUE, inv.TAM); }

int maximumSanity(const Investigator& inv)
{
    const SkillEntry* mythos = inv.findSkill(kMythosSkill);
    return clampToInt(kSanityCeiling - static_cast<long long>(mythos ? mythos->current : 0));
}

bool setMaximumSanity(Investigator& inv, int maximum)
{
    SkillEntry* mythos = inv.findSkill(kMythosSkill);
    if (!mythos)
        return false;
    mythos->current = clampToInt(kSanityCeiling - static_cast<long long>(maximum));
    return true;
}

void computeBaseValues(Investigator& inv)
{
    for (const auto& entry : inv.entries())
        entry->baseValue = BaseFormula::value(entry->base(), inv);
}

void recalculate(Investigator& inv)
{
    for (const auto& entry : inv.entries()) {
        entry->baseValue = BaseFormula::value(entry->base(), inv);
        if (entry->current < entry->baseValue)
            entry->current = entry->baseValue;
    }
}

SkillPointStatus skillPointStatus(const Investigator& inv)
{
    const long long total = static_cast<long long>(inv.SkillPoints) + inv.InterestPoints;
    if (total == 0)
        return {};
    long long spent = 0;
    for (const auto& entry : inv.entries())
        spent += static_cast<long long>(entry->current) - entry->baseValue;
    const long long remaining = total - spent;
    SkillPointStatus status;
    status.points
        = remaining < 0 ? std::to_string(-remaining) + " Over" : std::to_string(remaining) + " Points";
    status.budgets
        = "Skill: " + std::to_string(inv.SkillPoints) + " Hobby: " + std::to_string(inv.InterestPoints);
    return status;
}

} // namespace vorpane
