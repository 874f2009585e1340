#pragma once
// The rules behind the dialogs that change an investigator's skills and weapons after creation:
// editing a base formula through the ">" menus, validating a name and a base, adding a custom
// skill or weapon, renaming a skill, and the weapon lists of the rule file.
//
// Every operation either changes the investigator completely or not at all; a failure has shown
// its message (warning boxes through the Ui services) and the dialog stays open.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

class Investigator;
class RuleSet;
class SkillDef;
struct SkillEntry;

// --- Base formulas ---------------------------------------------------------------------------

// A leading '*' marks a percentage that cannot be modified, a leading 'F' or 'f' a firearm's base.
enum class BasePrefix { None, Fixed, Firearm };

BasePrefix basePrefix(std::string_view base);
// The base with its prefix replaced by the given one (removed for None).
std::string withBasePrefix(std::string_view base, BasePrefix prefix);

// The skill dialog's "Multiplicar por": the prefix stays, a leading "^NAME" is replaced and the
// number after it kept, so "F^EDU5" with INT gives "F^INT5" and "05" with APA gives "^APA05".
std::string replaceMultiplier(std::string_view base, std::string_view characteristic);
// The weapon dialog's: "^" + name in front of the base as it stands, so "10" with DES gives
// "^DES10" and FUE next gives "^FUE^DES10".
std::string prependMultiplier(std::string_view base, std::string_view characteristic);

// --- Validation --------------------------------------------------------------------------------

inline constexpr const char* kInvalidSkillName = "This is not a valid skill name";

// A name that is empty or only asterisks and blanks names nothing a sheet could show.
bool isValidSkillName(std::string_view name);

// The entry of that name (ignoring case and leading '*'), other than `except`; subskills count
// only with countSubSkills (weapons may not share a subskill's name, skills may).
const SkillEntry* findNamedEntry(
    const Investigator& inv, std::string_view name, const SkillEntry* except, bool countSubSkills);

// The checks every dialog runs on OK, each with its message: a valid name, no other entry of
// that name, and the question when the base is exactly "1" (Yes turns it into "0"). False when
// the dialog stays open.
bool checkNameAndBase(const Investigator& inv, const std::string& name, std::string& base,
    const SkillEntry* except, bool countSubSkills);

// --- Changes -----------------------------------------------------------------------------------

struct NewSkill {
    std::string name; // as typed, without the listing '*'
    std::string base;
    bool special = false;
    int subSkillCount = 0; // for a special skill, 0 to kMaxNewSubSkills
    bool listed = true; // listed with the main skills: the name gets a leading '*'
};

inline constexpr int kMaxNewSubSkills = 5;

// A new skill of all eras as a non-occupational entry, then the lists sorted. Null when the base
// formula fails (its message was shown); nothing is added then.
SkillEntry* addCustomSkill(Investigator& inv, const NewSkill& skill);

// Renames the entry and gives it a new base: the base value is stored and the current value
// raised to it. False when the formula fails; the entry is unchanged then.
bool editSkill(
    Investigator& inv, SkillEntry& entry, const std::string& name, const std::string& base, bool listed);

// A firearm or melee weapon the dialog defined, for all eras. Null (nothing added) when the base
// formula fails.
SkillEntry* addCustomWeapon(Investigator& inv, std::unique_ptr<SkillDef> weapon);

// --- The rule file's weapons -------------------------------------------------------------------

struct WeaponLists {
    // The rule set's melee weapons, then its firearms, available in the investigator's era, not
    // hidden by a leading '*' and not already the investigator's.
    std::vector<std::string> available;
    // The investigator's firearms, then its melee weapons but those whose name starts with '*'.
    std::vector<std::string> owned;
};

WeaponLists weaponLists(const Investigator& inv, const RuleSet* rules);

// Adds a copy of the rule set's firearm or melee weapon of that name. Null when there is none.
SkillEntry* addRuleWeapon(Investigator& inv, const RuleSet& rules, std::string_view name);
// Removes the investigator's firearm or melee weapon of that name; false when it has none.
bool removeWeapon(Investigator& inv, std::string_view name);

} // namespace vorpane
