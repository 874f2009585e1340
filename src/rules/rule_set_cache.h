#pragma once
// RuleSetCache: the process's loaded rule sets, ten slots reused by least recent use, keyed by
// rule-file name (ignoring case; an empty name stands for "default.rul"). Investigators refer to
// their rule set only by that name. Rule sets are handed out shared, so a holder keeps one alive
// even after its slot has been reused.
//
// The queries by name never load anything: for a file that is not cached they answer none, 0,
// false or the default.

#include "rules/rule_set.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vorpane {

class RuleSetCache {
public:
    static constexpr int kSlotCount = 10;
    static constexpr const char* kDefaultRuleFile = "default.rul";

    // The process-wide cache.
    static RuleSetCache& instance();

    // Makes sure the rule set is loaded (loading it into the first empty or least recently used
    // slot); null when it cannot be loaded, and the slot then stays empty.
    std::shared_ptr<const RuleSet> ensureLoaded(const std::string& fileName);
    // The cached rule set or null; does not count as a use.
    std::shared_ptr<const RuleSet> find(const std::string& fileName) const;

    std::shared_ptr<const SkillDef> findDefinition(const std::string& fileName, std::string_view name) const;
    std::shared_ptr<const OccupationDef> findOccupation(
        const std::string& fileName, std::string_view displayName) const;
    int occupationCount(const std::string& fileName) const;
    std::string occupationName(const std::string& fileName, int index) const;
    bool hasModifierScript(const std::string& fileName, std::string_view displayName) const;
    // Give skills of the cached rule set; false (nothing given) when it is not cached.
    bool giveSkills(const std::string& fileName, int era, DefinitionSink& sink) const;

    // "Set rule file": the name an investigator should store in RuleFile when asked for fileName:
    // fileName itself when it loads, else "default.rul" when that loads, else nullopt (the
    // investigator stays unchanged).
    std::optional<std::string> ruleFileToUse(const std::string& fileName);

    // The value of key in the rule file's KEYVALUEPAIRS section, read afresh from the file; the
    // default, without reading anything, when the rule file is not cached.
    std::string keyValue(
        const std::string& fileName, const std::string& key, const std::string& defaultValue) const;

    // Empties every slot.
    void clear();

private:
    struct Slot {
        std::string fileName;
        std::shared_ptr<RuleSet> ruleSet;
        uint32_t tick = 0; // tick count of the last use
        uint64_t useNumber = 0; // orders uses within one tick
    };

    // Index of the slot holding name, or -1.
    int slotIndex(const std::string& name) const;
    void touch(Slot& slot);

    std::array<Slot, kSlotCount> m_slots;
    uint64_t m_uses = 0;
};

// The name the cache files a rule set under: "default.rul" for an empty name.
std::string ruleFileOrDefault(const std::string& fileName);

} // namespace vorpane
