#pragma once
// What the skill information window says about one definition: its name, the eras in which it is
// available and the statistics of its kind. Texts are Windows-1252.

#include "rules/skill_def.h"

#include <string>
#include <vector>

namespace vorpane {

struct SkillInfoText {
    std::string name; // without leading '*'
    std::string eras; // the availability line
    std::vector<std::string> details; // the lines below it
};

// "Disponible en toda era ", "No disponible.           " or "Disponible en los" + era names + " sólo.".
std::string eraAvailabilityText(EraFlags eras);

// bases55: the base formula in its 5.5 form (the "V5.5Base" setting).
SkillInfoText skillInfoText(const SkillDef& def, bool bases55);

} // namespace vorpane
