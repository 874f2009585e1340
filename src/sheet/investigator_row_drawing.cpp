// InvestigatorSheet: how the rows of the skill and weapon tables, the portrait and the
// showbasepercent parameter are drawn; every other item is drawn as on any sheet.

#include "investigator/base_formula.h"
#include "investigator/investigator.h"
#include "rules/text_case.h"
#include "sheet/investigator_document_model.h"
#include "sheet/investigator_sheet.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/investigator_table_binding.h"
#include "sheet/sheet_painter.h"

#include <QFont>

namespace vorpane {

namespace {

constexpr TextStyle kLabelBits = FieldUnderline | UserText;

std::string plainName(const std::string& name) { return std::string(skipLeadingStars(name)); }

bool startsWithStar(const std::string& text) { return !text.empty() && text.front() == '*'; }

int32_t fieldIdOf(const PlacedField& placement)
{
    const script::ScriptValue& id = placement.field->id();
    return id.kind() == script::ValueKind::Integer ? id.toInteger() : 0;
}

// A Base is a formula when, past one optional leading 'F' or '*', it holds a non-digit.
bool baseIsFormula(const std::string& base)
{
    size_t i = !base.empty() && (base.front() == 'F' || base.front() == '*') ? 1 : 0;
    for (; i < base.size(); ++i) {
        if (base[i] < '0' || base[i] > '9')
            return true;
    }
    return false;
}

bool atBase(const SkillEntry& entry)
{
    if (displayOptions().bases55 && !startsWithStar(entry.base()) && entry.baseValue == 0)
        return entry.current < 2;
    return entry.current == entry.baseValue;
}

// The current font with its weight switched: normal becomes bold, anything else normal.
QFont headingFont(const QFont& font)
{
    QFont heading = font;
    heading.setWeight(font.weight() == QFont::Normal ? QFont::Bold : QFont::Normal);
    return heading;
}

} // namespace

bool InvestigatorSheet::percentCellBlank(const SkillEntry& entry)
{
    return !displayOptions().allPercent && atBase(entry) && !baseIsFormula(entry.base());
}

std::string InvestigatorSheet::baseText(const SkillEntry& entry) const
{
    return BaseFormula::text(entry.base(), displayOptions().bases55, m_showBasePercent);
}

void InvestigatorSheet::drawItem(SheetPainter& painter, SheetItem& item)
{
    if (item.kind() == SheetItemKind::SheetParameter) {
        const auto& parameter = static_cast<const SheetParameterItem&>(item);
        if (parameter.key == kShowBasePercent)
            m_showBasePercent = parameter.value != 0;
        return;
    }
    if (item.kind() == SheetItemKind::PlacedField && drawRow(painter, static_cast<PlacedField&>(item)))
        return;
    painter.drawItem(item);
}

// True when the placement was drawn here (or deliberately not drawn).
bool InvestigatorSheet::drawRow(SheetPainter& painter, PlacedField& placement)
{
    const int32_t id = fieldIdOf(placement);
    const SkillEntry* entry = boundEntry(&placement);
    switch (id) {
    case field_id::kSkill:
    case field_id::kFirearm:
    case field_id::kMelee:
    case field_id::kWeapon:
        return true;
    case field_id::kSkillCheck:
        if (placement.rowState != RowState::Empty)
            painter.drawPlacedField(placement);
        return true;
    case field_id::kSkillName:
        if (placement.rowState == RowState::Heading) {
            painter.drawTextBox(placement.rect, kCoreFirearmHeading, painter.fieldTextStyle() & ~kLabelBits,
                headingFont(painter.currentFont()));
        } else if (placement.rowState == RowState::Normal) {
            if (entry) {
                painter.capture(placement);
                drawSkillName(painter, placement, *entry);
            } else {
                painter.drawPlacedField(placement);
            }
        }
        return true;
    case field_id::kSkillPercent:
        if (placement.rowState == RowState::Empty)
            return true;
        [[fallthrough]];
    case field_id::kFirearmPercent:
    case field_id::kMeleePercent:
    case field_id::kWeaponPercent:
        if (entry && percentCellBlank(*entry)) {
            painter.capture(placement);
            painter.drawTextBox(placement.rect, {}, painter.fieldTextStyle());
        } else {
            painter.drawPlacedField(placement);
        }
        return true;
    case field_id::kMeleeName:
        if (!entry || !startsWithStar(entry->name()))
            return false;
        painter.capture(placement);
        painter.drawTextBox(
            placement.rect, label(*entry, m_shortSheet), painter.fieldTextStyle() & ~kLabelBits);
        return true;
    case field_id::kPortrait:
        painter.capture(placement);
        if (const Image* portrait = m_document.portraitImage())
            painter.drawImage(placement.rect, *portrait, true);
        return true;
    default:
        return false;
    }
}

void InvestigatorSheet::drawSkillName(SheetPainter& painter, PlacedField& placement, const SkillEntry& entry)
{
    const TextStyle plain = painter.fieldTextStyle() & ~kLabelBits;
    const bool compact = m_shortSheet;
    switch (entry.kind()) {
    case SkillKind::Skill: {
        TextStyle style = plain;
        if (displayOptions().customSkillFields && !startsWithStar(entry.name()))
            style |= UserText;
        painter.drawTextBox(placement.rect, label(entry, compact), style);
        break;
    }
    case SkillKind::SpecialSkill:
        painter.drawTextBox(placement.rect, plainName(entry.name()) + " (" + baseText(entry) + "):", plain);
        break;
    case SkillKind::SubSkill:
        if (compact) {
            const SpecialSkill* parent = entry.parent();
            const std::string parentName
                = parent ? m_abbreviations.of(plainName(parent->name())) : std::string();
            painter.drawTextBox(placement.rect,
                parentName + " (" + plainName(entry.name()) + ") (" + baseText(entry) + ")", plain);
        } else {
            painter.drawTextBox(placement.rect, plainName(entry.name()), painter.fieldTextStyle() | UserText);
        }
        break;
    default:
        break;
    }
}

// "name (base)", the name abbreviated on a compact sheet.
std::string InvestigatorSheet::label(const SkillEntry& entry, bool abbreviated) const
{
    const std::string name = plainName(entry.name());
    return (abbreviated ? m_abbreviations.of(name) : name) + " (" + baseText(entry) + ")";
}

} // namespace vorpane
