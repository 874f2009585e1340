#include "rules/rule_set_cache.h"

#include "platform/program_folder.h"
#include "platform/random.h"
#include "rules/section_file.h"
#include "rules/text_case.h"

namespace vorpane {

std::string ruleFileOrDefault(const std::string& fileName)
{
    return fileName.empty() ? std::string(RuleSetCache::kDefaultRuleFile) : fileName;
}

RuleSetCache& RuleSetCache::instance()
{
    static RuleSetCache cache;
    return cache;
}

int RuleSetCache::slotIndex(const std::string& name) const
{
    const std::string wanted = ruleFileOrDefault(name);
    for (int i = 0; i < kSlotCount; ++i) {
        const Slot& slot = m_slots[size_t(i)];
        if (slot.ruleSet && equalsIgnoreCase(slot.fileName, wanted))
            return i;
    }
    return -1;
}

void RuleSetCache::touch(Slot& slot)
{
    slot.tick = tickCount();
    slot.useNumber = ++m_uses;
}

std::shared_ptr<const RuleSet> RuleSetCache::ensureLoaded(const std::string& fileName)
{
    if (const int cached = slotIndex(fileName); cached >= 0) {
        Slot& slot = m_slots[size_t(cached)];
        touch(slot);
        return slot.ruleSet;
    }
    Slot* target = nullptr;
    for (Slot& slot : m_slots) {
        if (!slot.ruleSet) {
            target = &slot;
            break;
        }
    }
    if (!target) {
        target = &m_slots[0];
        for (Slot& slot : m_slots) {
            if (slot.useNumber < target->useNumber)
                target = &slot;
        }
    }
    *target = Slot();
    const std::string name = ruleFileOrDefault(fileName);
    auto ruleSet = std::make_shared<RuleSet>(name);
    if (!ruleSet->load())
        return nullptr;
    target->fileName = name;
    target->ruleSet = std::move(ruleSet);
    touch(*target);
    return target->ruleSet;
}

std::shared_ptr<const RuleSet> RuleSetCache::find(const std::string& fileName) const
{
    const int index = slotIndex(fileName);
    return index >= 0 ? m_slots[size_t(index)].ruleSet : nullptr;
}

std::shared_ptr<const SkillDef> RuleSetCache::findDefinition(
    const std::string& fileName, std::string_view name) const
{
    const auto ruleSet = find(fileName);
    const SkillDef* def = ruleSet ? ruleSet->findDefinition(name) : nullptr;
    return def ? std::shared_ptr<const SkillDef>(ruleSet, def) : nullptr;
}

std::shared_ptr<const OccupationDef> RuleSetCache::findOccupation(
    const std::string& fileName, std::string_view displayName) const
{
    const auto ruleSet = find(fileName);
    const OccupationDef* occupation = ruleSet ? ruleSet->findOccupation(displayName) : nullptr;
    return occupation ? std::shared_ptr<const OccupationDef>(ruleSet, occupation) : nullptr;
}

int RuleSetCache::occupationCount(const std::string& fileName) const
{
    const auto ruleSet = find(fileName);
    return ruleSet ? ruleSet->occupationCount() : 0;
}

std::string RuleSetCache::occupationName(const std::string& fileName, int index) const
{
    const auto ruleSet = find(fileName);
    return ruleSet ? ruleSet->occupationName(index) : std::string();
}

bool RuleSetCache::hasModifierScript(const std::string& fileName, std::string_view displayName) const
{
    const auto ruleSet = find(fileName);
    return ruleSet && ruleSet->hasModifierScript(displayName);
}

bool RuleSetCache::giveSkills(const std::string& fileName, int era, DefinitionSink& sink) const
{
    const auto ruleSet = find(fileName);
    if (!ruleSet)
        return false;
    ruleSet->giveSkills(era, sink);
    return true;
}

std::optional<std::string> RuleSetCache::ruleFileToUse(const std::string& fileName)
{
    if (ensureLoaded(fileName))
        return fileName;
    if (ensureLoaded(kDefaultRuleFile))
        return std::string(kDefaultRuleFile);
    return std::nullopt;
}

std::string RuleSetCache::keyValue(
    const std::string& fileName, const std::string& key, const std::string& defaultValue) const
{
    const auto ruleSet = find(fileName);
    if (!ruleSet)
        return defaultValue;
    SectionFile file;
    if (!file.open(ruleSet->path()))
        return defaultValue;
    return file.value("KEYVALUEPAIRS", key, defaultValue);
}

void RuleSetCache::clear() { m_slots = {}; }

} // namespace vorpane
