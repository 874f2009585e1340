#include "rules/skill_def.h"

#include <algorithm>

namespace vorpane {

SkillDef::SkillDef(SkillKind kind, std::string name, std::string base, EraFlags eras)
    : m_kind(kind)
    , m_name(std::move(name))
    , m_base(std::move(base))
    , m_eras(eras)
{
}

bool SkillDef::availableInEra(int era) const { return hasEra(m_eras, era); }

std::unique_ptr<SkillDef> SkillDef::clone() const { return std::make_unique<SkillDef>(); }

Skill::Skill(std::string name, std::string base, EraFlags eras)
    : SkillDef(SkillKind::Skill, std::move(name), std::move(base), eras)
{
}

std::unique_ptr<SkillDef> Skill::clone() const { return std::make_unique<Skill>(name(), base(), eras()); }

AnySkill::AnySkill(EraFlags eras)
    : SkillDef(SkillKind::AnySkill, {}, {}, eras)
{
}

std::unique_ptr<SkillDef> AnySkill::clone() const
{
    auto copy = std::make_unique<AnySkill>(eras());
    copy->setName(name());
    copy->setBase(base());
    return copy;
}

Firearm::Firearm(EraFlags eras)
    : SkillDef(SkillKind::Firearm, {}, {}, eras)
{
}

Firearm::Firearm(std::string name, std::string base, EraFlags eras, FirearmStats stats)
    : SkillDef(SkillKind::Firearm, std::move(name), std::move(base), eras)
    , m_stats(std::move(stats))
{
}

std::unique_ptr<SkillDef> Firearm::clone() const
{
    return std::make_unique<Firearm>(name(), base(), eras(), m_stats);
}

Melee::Melee(EraFlags eras)
    : SkillDef(SkillKind::Melee, {}, {}, eras)
{
}

Melee::Melee(std::string name, std::string base, EraFlags eras, MeleeStats stats)
    : SkillDef(SkillKind::Melee, std::move(name), std::move(base), eras)
    , m_stats(std::move(stats))
{
}

std::unique_ptr<SkillDef> Melee::clone() const
{
    return std::make_unique<Melee>(name(), base(), eras(), m_stats);
}

SubSkill::SubSkill(SpecialSkill* parent, std::string base, EraFlags eras)
    : SkillDef(SkillKind::SubSkill, {}, std::move(base), eras)
    , m_parent(parent)
{
}

std::unique_ptr<SkillDef> SubSkill::clone() const
{
    auto copy = std::make_unique<SubSkill>(m_parent, base(), eras());
    copy->setName(name());
    return copy;
}

SpecialSkill::SpecialSkill(std::string name, std::string base, EraFlags eras, int count, bool createSubSkills)
    : SkillDef(SkillKind::SpecialSkill, std::move(name), std::move(base), eras)
    , m_table(size_t(std::clamp(count, 0, kMaxSubSkillCount)), nullptr)
    , m_owns(createSubSkills)
{
    if (!createSubSkills)
        return;
    m_owned.reserve(m_table.size());
    for (SubSkill*& slot : m_table) {
        m_owned.push_back(std::make_unique<SubSkill>(this, this->base(), this->eras()));
        slot = m_owned.back().get();
    }
}

SpecialSkill::~SpecialSkill() = default;

SubSkill* SpecialSkill::subSkill(int index) const
{
    if (index < 0 || index >= subSkillCount())
        return nullptr;
    return m_table[size_t(index)];
}

int SpecialSkill::indexOfSubSkill(const SkillDef* def) const
{
    if (!def)
        return -1;
    const auto found = std::find(m_table.begin(), m_table.end(), def);
    return found == m_table.end() ? -1 : int(found - m_table.begin());
}

bool SpecialSkill::setSubSkill(int index, SubSkill* sub)
{
    if (m_owns || index < 0 || index >= subSkillCount())
        return false;
    m_table[size_t(index)] = sub;
    return true;
}

std::vector<std::unique_ptr<SubSkill>> SpecialSkill::releaseSubSkills()
{
    std::vector<std::unique_ptr<SubSkill>> released;
    for (auto& owned : m_owned) {
        if (owned)
            released.push_back(std::move(owned));
    }
    m_owned.clear();
    m_owns = false;
    return released;
}

std::unique_ptr<SkillDef> SpecialSkill::clone() const
{
    auto copy = std::make_unique<SpecialSkill>(name(), base(), eras(), subSkillCount(), false);
    copy->m_owned.resize(m_table.size());
    for (size_t i = 0; i < m_table.size(); ++i) {
        if (!m_table[i])
            continue;
        std::unique_ptr<SkillDef> sub = m_table[i]->clone();
        auto* subCopy = static_cast<SubSkill*>(sub.release());
        subCopy->setParent(copy.get());
        copy->m_owned[i].reset(subCopy);
        copy->m_table[i] = subCopy;
    }
    copy->m_owns = true;
    return copy;
}

const char* skillKindName(SkillKind kind)
{
    switch (kind) {
    case SkillKind::Skill:
        return "Skill";
    case SkillKind::Firearm:
        return "Firearm";
    case SkillKind::Melee:
        return "Melee";
    case SkillKind::AnySkill:
        return "AnySkill";
    case SkillKind::SpecialSkill:
        return "SpecialSkill";
    case SkillKind::SubSkill:
        return "SubSkill";
    case SkillKind::Empty:
        break;
    }
    return "SkillDef";
}

EraFlags parseEraWord(const std::string& word)
{
    EraFlags eras = 0;
    for (int era = 0; era < kEraCount && era < int(word.size()); ++era) {
        if (word[size_t(era)] != '-')
            eras |= eraFlag(era);
    }
    return eras;
}

std::string eraWord(EraFlags eras)
{
    std::string word;
    for (int era = 0; era < kEraCount; ++era)
        word += hasEra(eras, era) ? 'x' : '-';
    return word;
}

} // namespace vorpane
