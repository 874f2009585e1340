#include "investigator/skill_info_text.h"

#include "investigator/base_formula.h"
#include "platform/cp1252.h"
#include "rules/text_case.h"

namespace vorpane {

namespace {

constexpr const char* kEraNames[kEraCount] = { "1890s", "1920s", "1990s" };

std::string baseLine(const SkillDef& def, bool bases55)
{
    return "Base: " + BaseFormula::text(def.base(), bases55, false);
}

} // namespace

std::string eraAvailabilityText(EraFlags eras)
{
    eras &= kAllEraFlags;
    if (eras == kAllEraFlags)
        return "Disponible en toda era ";
    if (eras == 0)
        return "No disponible.           ";
    std::string text = "Disponible en los";
    bool first = true;
    for (int era = 0; era < kEraCount; ++era) {
        if (!(eras & (1 << era)))
            continue;
        text += first ? "" : " y en";
        text += kEraNames[era];
        first = false;
    }
    return text + cp1252(" sólo.");
}

SkillInfoText skillInfoText(const SkillDef& def, bool bases55)
{
    SkillInfoText info;
    info.name = std::string(skipLeadingStars(def.name()));
    info.eras = eraAvailabilityText(def.eras());
    std::vector<std::string>& lines = info.details;
    switch (def.kind()) {
    case SkillKind::Skill:
        lines.push_back(baseLine(def, bases55));
        break;
    case SkillKind::Firearm: {
        const FirearmStats& stats = static_cast<const Firearm&>(def).stats();
        lines.push_back(baseLine(def, bases55));
        lines.push_back("Disparos/Asalto: " + stats.shots);
        lines.push_back(cp1252("Daño:   ") + stats.dmg);
        lines.push_back("Punt. resis:" + stats.pv);
        lines.push_back("Balas en arma:  " + stats.bullets);
        lines.push_back("Alcan.:" + stats.range);
        lines.push_back("Encallamiento:      " + stats.mal);
        break;
    }
    case SkillKind::Melee: {
        const MeleeStats& stats = static_cast<const Melee&>(def).stats();
        lines.push_back(baseLine(def, bases55));
        lines.push_back("Ataques por Asalto:" + stats.attacks);
        lines.push_back(cp1252("Daño:   ") + stats.dmg);
        lines.push_back("Punt. resis:" + stats.pv);
        break;
    }
    case SkillKind::AnySkill:
        lines.push_back("This represents any skill");
        break;
    case SkillKind::SpecialSkill:
        lines.push_back(baseLine(def, bases55));
        lines.push_back("This skill has "
            + std::to_string(static_cast<const SpecialSkill&>(def).subSkillCount()) + " subskills");
        break;
    case SkillKind::SubSkill: {
        const SpecialSkill* parent = static_cast<const SubSkill&>(def).parent();
        lines.push_back(baseLine(def, bases55));
        lines.push_back("This skill is a subskill of "
            + (parent ? std::string(skipLeadingStars(parent->name())) : std::string()));
        break;
    }
    case SkillKind::Empty:
        break;
    }
    return info;
}

} // namespace vorpane
