#include "sheet/investigator_table_binding.h"

#include "investigator/investigator.h"
#include "rules/text_case.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/sheet_layout.h"

#include <algorithm>

namespace vorpane {

namespace {

bool startsWith(const std::string& text, char c) { return !text.empty() && text.front() == c; }

// The ordinary rows of the skill table: not a core firearm; a compact sheet leaves out special
// skill headers and unnamed subskills.
bool isOrdinarySkill(const SkillEntry& entry, bool shortSheet)
{
    const std::string& base = entry.base();
    if (base.empty() || base.front() == 'F')
        return false;
    switch (entry.kind()) {
    case SkillKind::Skill:
        return true;
    case SkillKind::SpecialSkill:
        return !shortSheet;
    case SkillKind::SubSkill:
        return !shortSheet || !entry.name().empty();
    default:
        return false;
    }
}

bool isWeapon(const SkillEntry& entry, bool shortSheet)
{
    const SkillKind kind = entry.kind();
    if (kind != SkillKind::Firearm && kind != SkillKind::Melee)
        return false;
    return !shortSheet || !startsWith(entry.name(), '*');
}

// The suggestion list of a subskill: its parent's name without leading '*', blanks as '_'.
std::string subSkillListName(const SkillEntry& entry)
{
    const SpecialSkill* parent = entry.parent();
    if (!parent)
        return {};
    std::string name(skipLeadingStars(parent->name()));
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

int32_t fieldIdOf(const PlacedField& placement)
{
    const script::ScriptValue& id = placement.field->id();
    return id.kind() == script::ValueKind::Integer ? id.toInteger() : 0;
}

// One pass over the placed list; members are the state the rows carry from one to the next.
class TableBinder {
public:
    TableBinder(SheetLayout& layout, const Investigator& inv)
        : m_inv(inv)
    {
        int32_t rows = 0;
        for (const PlacedField* placement : layout.placed()) {
            if (fieldIdOf(*placement) == field_id::kSkill)
                ++rows;
        }
        m_rows = rows;
        m_short = layout.sheetParameter(kShortSheet, kShortSheetDefault) != 0;
        m_coreRows = int32_t(std::count_if(
            inv.skills().begin(), inv.skills().end(), [](const SkillEntry* e) { return isCoreFirearm(*e); }));
        m_showCore
            = m_coreRows > 0 && layout.sheetParameter(kShowCoreFirearms, kShowCoreFirearmsDefault) != 0;
    }

    void bind(PlacedField& placement)
    {
        placement.boundEntry = nullptr;
        placement.rowState = RowState::Normal;
        placement.enabled = 1;
        placement.optionListName = placement.field->optionListName(); // a subskill row sets its own
        const int32_t id = fieldIdOf(placement);
        switch (id / 100) {
        case 1:
            bindSkillRow(placement, id);
            break;
        case 2:
            bindList(placement, id, field_id::kFirearm, m_inv.firearms(), m_firearm);
            break;
        case 3:
            bindMelee(placement, id);
            break;
        case 4:
            bindWeapon(placement, id);
            break;
        default:
            break;
        }
    }

private:
    void bindSkillRow(PlacedField& placement, int32_t id)
    {
        switch (id) {
        case field_id::kSkill:
            if (m_firearmPhase)
                nextFirearmRow();
            else
                nextOrdinaryRow();
            break;
        case field_id::kSkillCheck:
            if (m_heading) {
                hide(placement);
            } else if (SkillEntry* entry = rowEntry()) {
                if (startsWith(entry->base(), '*') || entry->kind() == SkillKind::SpecialSkill)
                    hide(placement);
                placement.boundEntry = entry;
            } else {
                placement.enabled = 0;
            }
            break;
        case field_id::kSkillName:
            if (m_heading) {
                placement.rowState = RowState::Heading;
                placement.enabled = 0;
            } else if (SkillEntry* entry = rowEntry()) {
                placement.boundEntry = entry;
                if (entry->kind() == SkillKind::SubSkill)
                    placement.optionListName = subSkillListName(*entry);
            } else {
                placement.enabled = 0;
            }
            break;
        case field_id::kSkillPercent:
            if (m_heading) {
                hide(placement);
            } else if (SkillEntry* entry = rowEntry()) {
                if (entry->kind() == SkillKind::SpecialSkill)
                    hide(placement);
                placement.boundEntry = entry;
            } else {
                placement.enabled = 0;
            }
            break;
        default:
            break;
        }
    }

    void nextOrdinaryRow()
    {
        const auto& skills = m_inv.skills();
        do
            ++m_skill;
        while (m_skill < skills.size() && !isOrdinarySkill(*skills[m_skill], m_short));
        ++m_row;
        const bool headingDue = m_showCore && m_row >= m_rows - m_coreRows;
        if (headingDue || m_skill >= skills.size()) {
            m_firearmPhase = true;
            m_rowBound = false;
            m_skill = kBeforeFirst;
            m_heading = headingDue;
        } else {
            m_rowBound = true;
        }
    }

    void nextFirearmRow()
    {
        if (m_showCore && m_row >= m_rows - m_coreRows - 1) {
            if (!m_rowBound && !m_heading) {
                m_heading = true;
                ++m_row;
                return;
            }
            m_heading = false;
            if (!m_firearmsDone) {
                const auto& skills = m_inv.skills();
                do
                    ++m_skill;
                while (m_skill < skills.size() && !isCoreFirearm(*skills[m_skill]));
                m_rowBound = m_skill < skills.size();
                if (!m_rowBound) {
                    m_firearmsDone = true;
                    m_skill = kBeforeFirst;
                }
            }
        }
        ++m_row;
    }

    SkillEntry* rowEntry() const
    {
        if (!m_rowBound || m_skill >= m_inv.skills().size())
            return nullptr;
        return m_inv.skills()[m_skill];
    }

    static void hide(PlacedField& placement)
    {
        placement.rowState = RowState::Empty;
        placement.enabled = 0;
    }

    // Firearm rows: the anchor moves the cursor, the cells bind its entry.
    static void bindList(PlacedField& placement, int32_t id, int32_t anchor,
        const Investigator::EntryView& list, size_t& cursor)
    {
        if (id == anchor) {
            ++cursor;
            return;
        }
        if (cursor < list.size())
            placement.boundEntry = list[cursor];
        else
            placement.enabled = 0;
    }

    void bindMelee(PlacedField& placement, int32_t id)
    {
        const auto& melee = m_inv.melee();
        if (id == field_id::kMelee) {
            do
                ++m_melee;
            while (m_short && m_melee < melee.size() && startsWith(melee[m_melee]->name(), '*'));
            return;
        }
        if (m_melee >= melee.size()) {
            // Before the list, and also past it: a row without a weapon takes no input.
            placement.enabled = 0;
            return;
        }
        placement.boundEntry = melee[m_melee];
        if (id == field_id::kMeleeName && !m_short && startsWith(melee[m_melee]->name(), '*'))
            placement.enabled = 0;
    }

    void bindWeapon(PlacedField& placement, int32_t id)
    {
        const auto& entries = m_inv.entries();
        if (id == field_id::kWeapon) {
            do
                ++m_weapon;
            while (m_weapon < entries.size() && !isWeapon(*entries[m_weapon], m_short));
            return;
        }
        if (m_weapon < entries.size())
            placement.boundEntry = entries[m_weapon].get();
        else
            placement.enabled = 0;
    }

    // Cursors start before the first entry; size_t wraps to 0 on the first step.
    static constexpr size_t kBeforeFirst = size_t(-1);

    const Investigator& m_inv;
    int32_t m_rows = 0; // N: placements of the skill anchor
    int32_t m_coreRows = 0; // C: core firearm skills
    bool m_short = false;
    bool m_showCore = false;

    size_t m_skill = kBeforeFirst;
    int32_t m_row = 0;
    bool m_firearmPhase = false;
    bool m_rowBound = false;
    bool m_heading = false;
    bool m_firearmsDone = false;
    size_t m_firearm = kBeforeFirst;
    size_t m_melee = kBeforeFirst;
    size_t m_weapon = kBeforeFirst;
};

} // namespace

bool isCoreFirearm(const SkillEntry& entry)
{
    const std::string& base = entry.base();
    return !base.empty() && base.front() == 'F';
}

void bindInvestigatorTables(SheetLayout& layout, const Investigator& inv)
{
    TableBinder binder(layout, inv);
    for (PlacedField* placement : layout.placed())
        binder.bind(*placement);
}

} // namespace vorpane
