#include "investigator/character_creation.h"

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "rules/dice_expression.h"
#include "rules/text_case.h"

#include <algorithm>

namespace vorpane {

namespace {

constexpr const char* kAgeNames[kAgeCharacteristicCount] = { "APA", "CON", "DES", "FUE" };
constexpr int kSchoolingFailed = 1;
constexpr int kSchoolingPassed = 2;

} // namespace

RolledCharacteristics rollCharacteristicValues(DiceExpression& dice)
{
    RolledCharacteristics values;
    values.FUE = dice.evaluate("3D6");
    values.CON = dice.evaluate("3D6");
    values.POD = dice.evaluate("3D6");
    values.DES = dice.evaluate("3D6");
    values.APA = dice.evaluate("3D6");
    values.TAM = dice.evaluate("2D6+6");
    values.INT = dice.evaluate("2D6+6");
    values.EDU = dice.evaluate("3D6+6");
    return values;
}

int minimumAge(int baseEdu) { return clampToInt(static_cast<long long>(baseEdu) + kYearsBeforeEducation); }

int educationForAge(int baseEdu, int age)
{
    const long long years = static_cast<long long>(age) - baseEdu - kYearsBeforeEducation;
    return clampToInt(baseEdu + years / 10);
}

int clampAge(int baseEdu, int age) { return std::max(std::min(age, kMaximumAge), minimumAge(baseEdu)); }

int agePointsToLose(int effectiveAge) { return effectiveAge > kAgeOfDecline ? effectiveAge / 10 - 3 : 0; }

bool tooWeakForAge(const RolledCharacteristics& values, int points)
{
    const long long physical = static_cast<long long>(values.APA) + values.DES + values.CON + values.FUE;
    return physical <= points;
}

AgePointCheck checkAgePoint(int value)
{
    if (value - 1LL < 0)
        return AgePointCheck::Refused;
    return value == 1 ? AgePointCheck::NowZero : AgePointCheck::Taken;
}

std::string agePointMessage(AgeCharacteristic which, AgePointCheck check)
{
    const std::string name = kAgeNames[int(which)];
    switch (check) {
    case AgePointCheck::Refused:
        return "Invalid Selection: " + name + " is at 0";
    case AgePointCheck::NowZero:
        return "Aviso: " + name + " es ahora 0";
    case AgePointCheck::Taken:
        break;
    }
    return {};
}

int& ageCharacteristic(RolledCharacteristics& values, AgeCharacteristic which)
{
    switch (which) {
    case AgeCharacteristic::APA:
        return values.APA;
    case AgeCharacteristic::CON:
        return values.CON;
    case AgeCharacteristic::DES:
        return values.DES;
    case AgeCharacteristic::FUE:
        break;
    }
    return values.FUE;
}

void commitCharacteristics(
    Investigator& inv, const RolledCharacteristics& values, int age, bool extraStudies, DiceExpression& dice)
{
    int edu = values.EDU;
    inv.ExtraSchooling = 0;
    if (extraStudies) {
        age = clampToInt(age + 1LL);
        if (dice.evaluate("1D100") > values.INT * 5LL) {
            inv.ExtraSchooling = kSchoolingFailed;
        } else {
            edu = clampToInt(edu + 1LL);
            inv.ExtraSchooling = kSchoolingPassed;
        }
    }
    inv.Age = age;
    inv.APA = values.APA;
    inv.CON = values.CON;
    inv.DES = values.DES;
    inv.EDU = edu;
    inv.INT = values.INT;
    inv.POD = values.POD;
    inv.TAM = values.TAM;
    inv.FUE = values.FUE;
    computeBudgets(inv);
    computeDerivedValues(inv);
    recalculate(inv);
}

void finishNewInvestigator(Investigator& inv)
{
    // "*" as a name matches every entry whose name is empty or only stars.
    inv.removeEntriesIf([](const SkillEntry& entry) {
        return entry.kind() != SkillKind::SubSkill && skipLeadingStars(entry.name()).empty();
    });
    inv.sort();
}

} // namespace vorpane
