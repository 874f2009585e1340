#pragma once
// Skill and weapon definitions as a rule file states them: name, base formula, eras and, for
// weapons, their statistics (texts kept exactly as written; only name, base and eras are ever
// interpreted).
//
// Ownership: a rule set owns one definition per row; every investigator entry owns its own clone.
// A SpecialSkill's table refers to its SubSkill definitions. While ownsSubSkills() is true the table
// owns them (a rule set's definitions, every clone); releaseSubSkills() hands them over to whoever
// takes them (the investigator's entries) and leaves the table holding plain references.
// A SubSkill refers to its parent and never owns it.

#include "rules/eras.h"

#include <memory>
#include <string>
#include <vector>

namespace vorpane {

enum class SkillKind {
    Empty = 0,
    Skill = 1,
    Firearm = 2,
    Melee = 3,
    AnySkill = 4,
    SpecialSkill = 5,
    SubSkill = 6
};

// Subskills a special skill can declare; larger counts come only from broken files.
constexpr int kMaxSubSkillCount = 100;

class SkillDef {
public:
    // An empty definition (kind 0).
    SkillDef() = default;
    virtual ~SkillDef() = default;
    SkillDef(const SkillDef&) = delete;
    SkillDef& operator=(const SkillDef&) = delete;

    SkillKind kind() const { return m_kind; }
    const std::string& name() const { return m_name; }
    const std::string& base() const { return m_base; }
    EraFlags eras() const { return m_eras; }
    void setName(std::string name) { m_name = std::move(name); }
    void setBase(std::string base) { m_base = std::move(base); }
    void setEras(EraFlags eras) { m_eras = eras; }

    // Era index 0, 1 or 2; any other index is never available.
    bool availableInEra(int era) const;

    // A copy of the same kind. A plain kind-0 object clones to an empty definition.
    virtual std::unique_ptr<SkillDef> clone() const;

protected:
    SkillDef(SkillKind kind, std::string name, std::string base, EraFlags eras);

private:
    SkillKind m_kind = SkillKind::Empty;
    std::string m_name;
    std::string m_base;
    EraFlags m_eras = 0;
};

class Skill final : public SkillDef {
public:
    Skill(std::string name, std::string base, EraFlags eras);
    std::unique_ptr<SkillDef> clone() const override;
};

// Stands for "any skill" in occupation lists: no name, no base.
class AnySkill final : public SkillDef {
public:
    explicit AnySkill(EraFlags eras);
    std::unique_ptr<SkillDef> clone() const override;
};

struct FirearmStats {
    std::string dmg, range, shots, bullets, pv, mal;
};

class Firearm final : public SkillDef {
public:
    explicit Firearm(EraFlags eras); // all texts empty
    Firearm(std::string name, std::string base, EraFlags eras, FirearmStats stats);

    const FirearmStats& stats() const { return m_stats; }
    FirearmStats& stats() { return m_stats; }
    std::unique_ptr<SkillDef> clone() const override;

private:
    FirearmStats m_stats;
};

struct MeleeStats {
    std::string dmg, attacks, pv;
};

class Melee final : public SkillDef {
public:
    explicit Melee(EraFlags eras); // all texts empty
    Melee(std::string name, std::string base, EraFlags eras, MeleeStats stats);

    const MeleeStats& stats() const { return m_stats; }
    MeleeStats& stats() { return m_stats; }
    std::unique_ptr<SkillDef> clone() const override;

private:
    MeleeStats m_stats;
};

class SpecialSkill;

class SubSkill final : public SkillDef {
public:
    // An unnamed subskill of parent (which may be null while a reader assembles it).
    SubSkill(SpecialSkill* parent, std::string base, EraFlags eras);

    SpecialSkill* parent() const { return m_parent; }
    void setParent(SpecialSkill* parent) { m_parent = parent; }

    // Same parent, name, base and eras; whoever clones the parent re-parents the copy.
    std::unique_ptr<SkillDef> clone() const override;

private:
    SpecialSkill* m_parent;
};

class SpecialSkill final : public SkillDef {
public:
    // A table of count slots (negative counts give none; counts above kMaxSubSkillCount are cut
    // to it). With createSubSkills every slot gets a new unnamed SubSkill with this base and
    // these eras, owned by the table; otherwise the slots are empty and nothing is owned.
    SpecialSkill(std::string name, std::string base, EraFlags eras, int count, bool createSubSkills);
    ~SpecialSkill() override;

    int subSkillCount() const { return int(m_table.size()); }
    // The subskill in slot index, or null for an empty slot or an index out of range.
    SubSkill* subSkill(int index) const;
    // Position of def in the table; -1 when it is not there.
    int indexOfSubSkill(const SkillDef* def) const;

    bool ownsSubSkills() const { return m_owns; }
    // Puts a reference into a slot without taking ownership (false for an index out of range or
    // while the table owns its subskills).
    bool setSubSkill(int index, SubSkill* sub);
    // Hands the owned subskills over in table order (empty slots skipped); the table keeps
    // referring to them and owns nothing afterwards.
    std::vector<std::unique_ptr<SubSkill>> releaseSubSkills();

    // Clones every subskill the table refers to, re-parented to the clone, which owns them.
    std::unique_ptr<SkillDef> clone() const override;

private:
    std::vector<SubSkill*> m_table;
    std::vector<std::unique_ptr<SubSkill>> m_owned; // parallel to m_table while m_owns
    bool m_owns = false;
};

// "Skill", "Firearm", ... for listings.
const char* skillKindName(SkillKind kind);

// Era word of a rule file: one character per era (1890s, 1920s, 1990s); any character but '-'
// makes the era available, missing characters leave it unavailable. "xxx" is 7, "-x-" is 2.
EraFlags parseEraWord(const std::string& word);
// The word form of flags: "x" or "-" for each of the three eras.
std::string eraWord(EraFlags eras);

} // namespace vorpane
