#pragma once
// Choosing skills and spending points on them while an investigator is created: which entries the
// skill picker and the wizard's skill-point lists offer, what choosing a skill for the occupation
// marks, and how a typed value is paid for from a points counter.

#include <vector>

namespace vorpane {

class Investigator;
struct SkillEntry;

enum class SkillPickerMode {
    // A free-choice occupation skill: skills (not subskills) that are not occupational yet.
    Occupation,
    // Any skill, special skill or named subskill (a weapon's base may refer to it).
    Plain,
};

// The entries the picker lists, in entry order; all available in the investigator's era, none
// whose Base begins with '*' in occupation mode.
std::vector<SkillEntry*> pickerEntries(const Investigator& inv, SkillPickerMode mode);

// The entry becomes occupational; a special skill takes its subskill entries with it.
void markOccupationalChoice(Investigator& inv, SkillEntry& entry);

enum class SkillPointMode {
    Interest = 0, // every skill and weapon
    Occupation = 1, // occupational entries, with the free-choice placeholders
};

// The rows of a skill-point list, in entry order: entries available in the era, without special
// skills (their subskills are listed), Base texts beginning with '*' and empty definitions.
// Free-choice placeholders only in occupation mode.
std::vector<SkillEntry*> skillPointEntries(const Investigator& inv, SkillPointMode mode);

struct PointSpend {
    int value; // the entry's new current value
    int counter; // the points left afterwards
    bool beep; // the typed value was below the floor or more than the points allowed
};

// Pays for a typed value: the old value goes back into the counter, the value is raised to the
// floor (the entry's base) and cut to what the counter can pay.
PointSpend spendPoints(int typed, int floor, int oldValue, int counter);

// The lowest value a skill-point page may give the entry: its base, and on the occupation page
// also what the interest page spent on it (the occupation counter cannot take those back).
int pointFloor(const SkillEntry& entry, SkillPointMode mode);

// Pays for a typed value on a page of that mode from its counter, as spendPoints does, and keeps
// the entry's interest points up to date; the entry takes the new value.
PointSpend spendOnEntry(SkillEntry& entry, SkillPointMode mode, int typed, int oldValue, int counter);

} // namespace vorpane
