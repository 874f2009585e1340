#include "investigator/skill_choice.h"

#include "investigator/investigator.h"

#include <algorithm>

namespace vorpane {

namespace {

bool baseIsFixed(const SkillEntry& entry) { return !entry.base().empty() && entry.base().front() == '*'; }

bool availableToInvestigator(const Investigator& inv, const SkillEntry& entry)
{
    return entry.definition && entry.definition->availableInEra(inv.Era);
}

} // namespace

std::vector<SkillEntry*> pickerEntries(const Investigator& inv, SkillPickerMode mode)
{
    std::vector<SkillEntry*> offered;
    if (mode == SkillPickerMode::Occupation) {
        for (SkillEntry* entry : inv.skills()) {
            const SkillKind kind = entry->kind();
            if (kind != SkillKind::Skill && kind != SkillKind::SpecialSkill)
                continue;
            if (!entry->occupational && !baseIsFixed(*entry) && availableToInvestigator(inv, *entry))
                offered.push_back(entry);
        }
        return offered;
    }
    for (const auto& entry : inv.entries()) {
        switch (entry->kind()) {
        case SkillKind::Skill:
        case SkillKind::SpecialSkill:
            break;
        case SkillKind::SubSkill:
            // An unnamed subskill is no skill one could refer to yet.
            if (entry->name().empty())
                continue;
            break;
        default:
            continue;
        }
        if (availableToInvestigator(inv, *entry))
            offered.push_back(entry.get());
    }
    return offered;
}

void markOccupationalChoice(Investigator& inv, SkillEntry& entry)
{
    entry.occupational = 1;
    if (entry.kind() != SkillKind::SpecialSkill)
        return;
    for (const auto& other : inv.entries()) {
        if (other->parent() == entry.definition.get())
            other->occupational = 1;
    }
}

std::vector<SkillEntry*> skillPointEntries(const Investigator& inv, SkillPointMode mode)
{
    const bool occupation = mode == SkillPointMode::Occupation;
    std::vector<SkillEntry*> rows;
    for (const auto& entry : inv.entries()) {
        const SkillKind kind = entry->kind();
        if (kind == SkillKind::Empty || kind == SkillKind::SpecialSkill)
            continue;
        if (kind == SkillKind::AnySkill && !occupation)
            continue;
        if (occupation && !entry->occupational)
            continue;
        if (baseIsFixed(*entry) || !availableToInvestigator(inv, *entry))
            continue;
        rows.push_back(entry.get());
    }
    return rows;
}

PointSpend spendPoints(int typed, int floor, int oldValue, int counter)
{
    const long long available = static_cast<long long>(counter) + oldValue;
    const long long wanted = std::max(typed, floor);
    const long long value = wanted <= available ? wanted : available;
    return { clampToInt(value), clampToInt(available - value), typed < floor || wanted > available };
}

} // namespace vorpane
