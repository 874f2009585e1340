#pragma once
// RuleSet: one loaded rule file (".rul" in the data folders): its skills, firearms and melee
// weapons (owned, in file order) and its occupations. Rows:
//
//   SKILLS       "Base" subskills "Name" eras
//   FIREARMS     "Base" "Dmg" "Range" "Shots" "Bullets" "PV" "MAL" "Name" eras
//   MELEE        "Base" "Dmg" "Attacks" "PV" "Name" eras
//   OCCUPATIONS  "Name" ("Skill" "Skill$note" * 2 {"A" "B" "C"}) [eras [{modifier script}]]
//
// one row per line. Names are unique ignoring case and leading '*'; lookups hash that form, so
// loading stays linear in the file's size. Scripts (GLOBAL_SCRIPT, INCOME, the occupations'
// modifiers) are kept as text; running them is the investigator's business.

#include "rules/occupation_def.h"
#include "rules/skill_def.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorpane {

class SectionFile;

// Whoever receives given skills: the investigator's "Add definition" (not occupational here).
class DefinitionSink {
public:
    virtual ~DefinitionSink() = default;
    virtual void addDefinition(std::unique_ptr<SkillDef> definition, bool occupational) = 0;
};

class RuleSet {
public:
    // fileName: the rule file's name without folder.
    explicit RuleSet(std::string fileName);
    ~RuleSet();
    RuleSet(const RuleSet&) = delete;
    RuleSet& operator=(const RuleSet&) = delete;

    // Reads the file from the data folders, with status texts and the wait cursor. Every problem is
    // reported through the Ui services; false when the load failed.
    bool load();
    // The same from bytes in memory (the file name still names it in messages).
    bool loadText(std::string content);

    const std::string& fileName() const { return m_fileName; }
    std::string path() const;

    const std::vector<std::unique_ptr<SkillDef>>& definitions() const { return m_definitions; }
    const std::vector<SkillDef*>& skills() const { return m_skills; }
    const std::vector<SkillDef*>& firearms() const { return m_firearms; }
    const std::vector<SkillDef*>& melee() const { return m_melee; }
    const std::vector<OccupationDef>& occupations() const { return m_occupations; }

    // Ignoring case and leading '*' on both sides; the first in file order.
    const SkillDef* findDefinition(std::string_view name) const;
    // Exact comparison with the display names (one leading '*' dropped); the first in file order.
    const OccupationDef* findOccupation(std::string_view displayName) const;
    int occupationCount() const { return int(m_occupations.size()); }
    // Empty for an index out of range.
    std::string occupationName(int index) const;
    bool hasModifierScript(std::string_view displayName) const;

    // Clones every skill available in era, then every melee weapon available in era whose name
    // starts with '*', into sink (not occupational). Firearms and other weapons are not given.
    void giveSkills(int era, DefinitionSink& sink) const;

private:
    bool parse(const SectionFile& file);
    bool parseDefinitions(const SectionFile& file, SkillKind kind);
    bool parseOccupations(const SectionFile& file);
    bool parseSkillList(OccupationDef& occupation, const std::string& list) const;
    bool checkItem(const OccupationDef& occupation, const std::string& item, bool inSubset) const;
    void reserveRows(const std::string& section);
    void addDefinition(std::unique_ptr<SkillDef> definition);
    void clear();

    std::string m_fileName;
    std::vector<std::unique_ptr<SkillDef>> m_definitions;
    std::vector<SkillDef*> m_skills;
    std::vector<SkillDef*> m_firearms;
    std::vector<SkillDef*> m_melee;
    std::vector<OccupationDef> m_occupations;
    std::unordered_map<std::string, size_t> m_definitionIndex; // nameKey -> first definition
    std::unordered_map<std::string, size_t> m_occupationIndex; // display name -> first occupation
};

} // namespace vorpane
