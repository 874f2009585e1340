#include "rules/rule_set.h"

#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "rules/text_case.h"

namespace vorpane {

RuleSet::RuleSet(std::string fileName)
    : m_fileName(std::move(fileName))
{
}

RuleSet::~RuleSet() = default;

std::string RuleSet::path() const { return dataFilePath(m_fileName); }

void RuleSet::clear()
{
    m_skills.clear();
    m_firearms.clear();
    m_melee.clear();
    m_definitions.clear();
    m_occupations.clear();
    m_definitionIndex.clear();
    m_occupationIndex.clear();
}

const SkillDef* RuleSet::findDefinition(std::string_view name) const
{
    const auto found = m_definitionIndex.find(nameKey(name));
    return found == m_definitionIndex.end() ? nullptr : m_definitions[found->second].get();
}

const OccupationDef* RuleSet::findOccupation(std::string_view displayName) const
{
    const auto found = m_occupationIndex.find(std::string(displayName));
    return found == m_occupationIndex.end() ? nullptr : &m_occupations[found->second];
}

std::string RuleSet::occupationName(int index) const
{
    if (index < 0 || index >= occupationCount())
        return {};
    return m_occupations[size_t(index)].displayName();
}

bool RuleSet::hasModifierScript(std::string_view displayName) const
{
    const OccupationDef* occupation = findOccupation(displayName);
    return occupation && !occupation->modifierScript.empty();
}

void RuleSet::giveSkills(int era, DefinitionSink& sink) const
{
    for (const SkillDef* skill : m_skills) {
        if (skill->availableInEra(era))
            sink.addDefinition(skill->clone(), false);
    }
    for (const SkillDef* weapon : m_melee) {
        if (weapon->availableInEra(era) && !weapon->name().empty() && weapon->name().front() == '*')
            sink.addDefinition(weapon->clone(), false);
    }
}

} // namespace vorpane
