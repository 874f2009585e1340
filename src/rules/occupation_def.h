#pragma once
// OccupationDef: one row of a rule file's OCCUPATIONS section. Skill items are kept as written:
// a name, a name with a "$" note ("Idioma$Francés"), or "*" for a free choice of any skill.

#include "rules/skill_def.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

struct OccupationDef {
    std::string name; // as written; may start with '*'
    std::vector<std::string> skills;
    std::vector<std::string> subsetSkills; // the one subset, written like the skills
    int subsetCount = 0; // how many subset skills are chosen; 0 = no subset
    std::string modifierScript; // run by the wizard once the occupation is chosen
    EraFlags eras = kAllEraFlags;

    // The name without one leading '*'.
    std::string displayName() const;
    bool availableInEra(int era) const { return hasEra(eras, era); }
};

// The skill an item names: the text before its first '$' (all of it when there is none).
std::string_view itemSkillName(std::string_view item);
// The note after the first '$'; empty when there is none.
std::string_view itemNote(std::string_view item);

} // namespace vorpane
