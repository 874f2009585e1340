#pragma once
// SkillEntry: one skill or weapon an investigator has. The entry owns its own copy of the rule
// definition (never shared with a rule set); a subskill entry's definition points to the special
// skill definition owned by another entry of the same investigator.

#include "rules/skill_def.h"

#include <memory>
#include <string>

namespace vorpane {

struct SkillEntry {
    // Base value of an entry that no recalculation has seen yet.
    static constexpr int kBaseNotComputed = -1;

    SkillEntry() = default;
    explicit SkillEntry(std::unique_ptr<SkillDef> def, int current = 0, int occupational = 0);

    std::unique_ptr<SkillDef> definition; // never null in an investigator
    int current = 0; // current percentage (file key Current)
    int baseValue = kBaseNotComputed; // value of the Base formula; computed, never stored in .inv
    int occupational = 0; // 0/1 (file key Occupational)
    int checked = 0; // 0/1, ticked for improvement (file key Checked)
    // Personal-interest points spent on it while the wizard creates the investigator; the
    // occupation page may not take them back. Never stored.
    int interestPoints = 0;

    SkillKind kind() const { return definition ? definition->kind() : SkillKind::Empty; }
    const std::string& name() const;
    const std::string& base() const;
    // The special skill this subskill entry belongs to; null for other kinds.
    SpecialSkill* parent() const;

    // All six fields; the definition through its clone (a subskill clone keeps its old parent).
    std::unique_ptr<SkillEntry> clone() const;
};

} // namespace vorpane
