#pragma once
// Investigator: one player character. Eight characteristics, sanity, hit points, magic points,
// the free texts and an ordered, owning list of skill and weapon entries, with three non-owning
// views of it by kind. Field names are the keys under which the investigator file stores them.
//
// Lists: entries() owns every entry in file/insertion order; skills() holds the Skill,
// SpecialSkill and SubSkill entries, firearms() and melee() the weapons, each in order. A special
// skill's subskill entries follow it; their definitions point to the special skill's definition,
// whose table refers (without owning) to them.
//
// Copying is deep: entries and definitions are cloned and subskills re-pointed to the copy's own
// special skills. The copy orders its entries firearms, melee weapons, then skills.

#include "investigator/skill_entry.h"
#include "rules/eras.h"
#include "rules/rule_set.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

// What a failed characteristic lookup or base formula yields.
constexpr int kFormulaError = -666;

// Arithmetic on values that come from files saturates instead of overflowing.
inline int clampToInt(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

class Investigator final : public DefinitionSink {
public:
    using EntryList = std::vector<std::unique_ptr<SkillEntry>>;
    using EntryView = std::vector<SkillEntry*>;

    Investigator() = default;
    ~Investigator() override;
    // The copy first makes sure the source's rule set is in the RuleSetCache.
    Investigator(const Investigator& other);
    Investigator& operator=(const Investigator& other);
    Investigator(Investigator&& other) noexcept = default;
    Investigator& operator=(Investigator&& other) noexcept = default;

    // Budgets (derived values).
    int SkillPoints = 0;
    int InterestPoints = 0;

    std::string Name;
    std::string Occupation;
    std::string Birthplace;
    std::string Colleges;
    std::string MentalDisorders;
    std::string Sex;
    int Age = 0;
    int Era = kEraIndex1920s;
    std::string Portrait;

    int APA = 0;
    int CON = 0;
    int DES = 0;
    int EDU = 0;
    int INT = 0;
    int POD = 0;
    int TAM = 0;
    int FUE = 0;

    std::string Player;
    int COR = 0;
    int PV = 0;
    int Magic = 0;
    std::string Affiliation;
    std::string CodeName;
    std::string CurrentDate;
    std::string Insanities;
    int ExtraSchooling = 0; // 0 no extra year, 1 education roll failed, 2 succeeded
    std::string Income;
    std::string Spells;
    std::string RuleFile; // file name without folder; empty stands for "default.rul"

    std::string Residence;
    std::string PersonalDescription;
    std::string Contacts;
    std::string Wounds;
    std::string Scars;
    std::string History;
    std::string CashOnHand;
    std::string Savings;
    std::string PersonalProperty;
    std::string RealEstate;
    std::string Posessions;
    std::string TomesRead;
    std::string Artifacts;
    std::string EntitiesEncountered;

    const EntryList& entries() const { return m_entries; }
    const EntryView& skills() const { return m_skills; }
    const EntryView& firearms() const { return m_firearms; }
    const EntryView& melee() const { return m_melee; }

    // The entry whose definition's name equals name ignoring case and leading '*' on both sides;
    // the first in entry order.
    SkillEntry* findSkill(std::string_view name) const;

    // APA ... FUE, SUER (POD x 5), CONO (EDU x 5), IDEA (INT x 5), COR, PV or HIT, MAGIA, ignoring
    // case. Any other name shows "Unknown character statistic: %s" and gives kFormulaError.
    int characteristic(std::string_view name) const;
    // The same without a message: nullopt for an unknown name.
    std::optional<int> findCharacteristic(std::string_view name) const;
    // The stored characteristic APA ... FUE (ignoring case), else null.
    int* characteristicField(std::string_view name);

    // Stored fields by their file key, ignoring case; null for another key or the other type.
    std::string* textField(std::string_view key);
    int* intField(std::string_view key);

    // Add definition: a new entry owning def, current value = its base formula's value, base value
    // not yet computed; appended to the entries and the list of its kind. A special skill's own
    // subskill definitions pass to new entries right after it, with the same flag.
    SkillEntry& addEntry(std::unique_ptr<SkillDef> def, bool occupational);
    void addDefinition(std::unique_ptr<SkillDef> def, bool occupational) override;

    // Appends an entry as it stands (readers and copies): no formula, no subskills.
    SkillEntry& appendEntry(std::unique_ptr<SkillEntry> entry);

    // Takes the entry out of every list and destroys it, with the subskill entries of a special
    // skill; a removed subskill leaves an empty slot in its parent's table. False when the entry
    // is not this investigator's.
    bool removeEntry(const SkillEntry* entry);
    // Removes every entry for which pred is true (with the subskills of removed special skills),
    // in one pass.
    template <typename Pred> void removeEntriesIf(Pred pred);
    void removeAllEntries();

    // Each list by name ignoring case; a subskill right after its parent, a parent's subskills by
    // their own names, named ones first. O(n log n).
    void sort();

private:
    void copyFrom(const Investigator& other);
    void copyFields(const Investigator& other);
    void removeMarked(const std::vector<bool>& marked);
    // Marks the subskill entries of every marked special skill.
    void markSubSkills(std::vector<bool>& marked) const;
    void appendToView(SkillEntry* entry);

    EntryList m_entries;
    EntryView m_skills;
    EntryView m_firearms;
    EntryView m_melee;
};

template <typename Pred> void Investigator::removeEntriesIf(Pred pred)
{
    std::vector<bool> marked(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i)
        marked[i] = pred(static_cast<const SkillEntry&>(*m_entries[i]));
    removeMarked(marked);
}

} // namespace vorpane
