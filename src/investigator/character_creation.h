#pragma once
// The rules of creating an investigator step by step: the characteristic rolls, age and education,
// the points that age above 40 costs, the extra year of studies, and the finishing touches. The
// wizard's pages ask the user; the arithmetic is here.

#include <string>

namespace vorpane {

class DiceExpression;
class Investigator;

struct RolledCharacteristics {
    int FUE = 0, CON = 0, POD = 0, DES = 0, APA = 0, TAM = 0, INT = 0, EDU = 0;
};

// FUE, CON, POD, DES, APA (3D6), TAM, INT (2D6+6), EDU (3D6+6), one roll each in this order.
RolledCharacteristics rollCharacteristicValues(DiceExpression& dice);

// A characteristic typed on the first page must lie in this range.
constexpr int kMinCharacteristic = 0;
constexpr int kMaxCharacteristic = 99;
// Schooling years before education counts, and the oldest investigator.
constexpr int kYearsBeforeEducation = 6;
constexpr int kMaximumAge = 111;
// Age above which the physical characteristics decline.
constexpr int kAgeOfDecline = 40;

// The youngest age for an education: base EDU + 6.
int minimumAge(int baseEdu);
// EDU grows one point for every full ten years beyond the youngest age.
int educationForAge(int baseEdu, int age);
// The age kept between the youngest age and kMaximumAge.
int clampAge(int baseEdu, int age);

// Points of APA, CON, DES and FUE lost at that age (41 to 49 lose 1, 50 to 59 lose 2, ...).
int agePointsToLose(int effectiveAge);
// When the four physical characteristics together cannot pay the points, age is not applied.
bool tooWeakForAge(const RolledCharacteristics& values, int points);

enum class AgeCharacteristic { APA, CON, DES, FUE };
constexpr int kAgeCharacteristicCount = 4;
enum class AgePointCheck {
    Refused, // the characteristic is already at 0
    NowZero, // the point is taken and leaves it at 0
    Taken,
};
// Whether one more point may come off a characteristic that is now at value.
AgePointCheck checkAgePoint(int value);
// "Invalid Selection: APA is at 0" or "Aviso: APA es ahora 0".
std::string agePointMessage(AgeCharacteristic which, AgePointCheck check);
int& ageCharacteristic(RolledCharacteristics& values, AgeCharacteristic which);

// The page's values written into the investigator: with extraStudies one more year of age and a
// D100 education roll (over INT x 5 fails: ExtraSchooling 1; else EDU + 1 and ExtraSchooling 2),
// then the characteristics, the budgets, sanity, hit and magic points.
void commitCharacteristics(
    Investigator& inv, const RolledCharacteristics& values, int age, bool extraStudies, DiceExpression& dice);

// After the last page: free-choice placeholders and entries named "*" go, the lists are sorted.
// Unnamed subskills stay, so that the sheet still offers them for naming.
void finishNewInvestigator(Investigator& inv);

} // namespace vorpane
