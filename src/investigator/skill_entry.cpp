#include "investigator/skill_entry.h"

namespace vorpane {

namespace {

const std::string kNoText;

} // namespace

SkillEntry::SkillEntry(std::unique_ptr<SkillDef> def, int current, int occupational)
    : definition(std::move(def))
    , current(current)
    , occupational(occupational)
{
}

const std::string& SkillEntry::name() const { return definition ? definition->name() : kNoText; }

const std::string& SkillEntry::base() const { return definition ? definition->base() : kNoText; }

SpecialSkill* SkillEntry::parent() const
{
    if (kind() != SkillKind::SubSkill)
        return nullptr;
    return static_cast<const SubSkill*>(definition.get())->parent();
}

std::unique_ptr<SkillEntry> SkillEntry::clone() const
{
    auto copy = std::make_unique<SkillEntry>(
        definition ? definition->clone() : std::make_unique<SkillDef>(), current, occupational);
    copy->baseValue = baseValue;
    copy->checked = checked;
    copy->interestPoints = interestPoints;
    return copy;
}

} // namespace vorpane
