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

int pointFloor(const SkillEntry& entry, SkillPointMode mode)
{
    const int base = std::max(entry.baseValue, 0);
    if (mode == SkillPointMode::Interest)
        return base;
    return clampToInt(static_cast<long long>(base) + std::max(entry.interestPoints, 0));
}

PointSpend spendOnEntry(SkillEntry& entry, SkillPointMode mode, int typed, int oldValue, int counter)
{
    const PointSpend spend = spendPoints(typed, pointFloor(entry, mode), oldValue, counter);
    if (mode == SkillPointMode::Interest) {
        // Lowering takes back this page's own points first; below them the entry is back at
        // what the occupation page left, and nothing of the interest budget remains on it.
        const long long points = static_cast<long long>(entry.interestPoints) + spend.value - oldValue;
        entry.interestPoints = clampToInt(std::max(points, 0LL));
    }
    entry.current = spend.value;
    return spend;
}

} // namespace vorpane
