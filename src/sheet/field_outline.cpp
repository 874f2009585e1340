#include "sheet/field_outline.h"

#include "sheet/field_edit.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace vorpane {

using script::ScriptValue;
using script::ValueKind;

namespace {

// How far to the left of a field its label may start (40 mm), and how far above the first row
// of a table its column headers (8 mm) and its title (10 mm) may be.
constexpr int32_t kLabelReach = 4000;
constexpr int32_t kHeaderReach = 800;
constexpr int32_t kTitleReach = 1000;
// A label's top may stand this much above its field's top (1 mm).
constexpr int32_t kSlack = 100;
// A label to the left stands on the field's first line: its top at most 6 mm below the field's.
constexpr int32_t kFirstLineDepth = 600;
// A label above a field ends at most 5 mm above it.
constexpr int32_t kAboveReach = 500;

// A text the script drew: a point text (its rectangle is that point) or a text box.
struct DrawnText {
    SheetRect rect;
    bool isBox = false;
    const std::string* text = nullptr;
    bool insideField = false; // drawn in a field (a scale's number): that field's label only
};

bool isBlank(const std::string& text)
{
    return std::all_of(
        text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

int32_t centreX(const SheetRect& rect) { return rect.x1 + rect.width() / 2; }
int32_t centreY(const SheetRect& rect) { return rect.y2 + rect.height() / 2; }

bool inside(const SheetRect& outer, int32_t x, int32_t y)
{
    return outer.x1 <= x && x <= outer.x2 && outer.y2 <= y && y <= outer.y1;
}

std::vector<DrawnText> drawnTexts(const SheetLayout& layout)
{
    std::vector<DrawnText> texts;
    for (const auto& item : layout.items()) {
        if (item->kind() == SheetItemKind::Text) {
            const auto& text = static_cast<const SheetTextItem&>(*item);
            if (!isBlank(text.text))
                texts.push_back({ SheetRect { text.x, text.y, text.x, text.y }, false, &text.text });
        } else if (item->kind() == SheetItemKind::TextBox) {
            const auto& box = static_cast<const SheetTextBoxItem&>(*item);
            if (!isBlank(box.text))
                texts.push_back({ box.rect, true, &box.text });
        }
    }
    for (DrawnText& text : texts) {
        const int32_t x = text.isBox ? centreX(text.rect) : text.rect.x1;
        const int32_t y = text.isBox ? centreY(text.rect) : text.rect.y1;
        text.insideField
            = std::any_of(layout.placed().begin(), layout.placed().end(), [&](const PlacedField* p) {
                  return p->field && !p->field->hasFlag(FieldNoHitTest) && inside(p->rect, x, y);
              });
    }
    return texts;
}

// A text drawn inside the field (the number of a scale entry, a picture's caption).
const DrawnText* innerText(const std::vector<DrawnText>& texts, const SheetRect& rect)
{
    for (const DrawnText& text : texts) {
        if (text.isBox ? inside(text.rect, centreX(rect), centreY(rect))
                       : inside(rect, text.rect.x1, text.rect.y1))
            return &text;
    }
    return nullptr;
}

// The nearest text that starts left of the field on its line.
const DrawnText* leftText(const std::vector<DrawnText>& texts, const SheetRect& rect)
{
    const DrawnText* best = nullptr;
    for (const DrawnText& text : texts) {
        const int32_t top = text.isBox ? centreY(text.rect) : text.rect.y1;
        const int32_t right = text.isBox ? text.rect.x2 : text.rect.x1;
        if (text.insideField || text.rect.x1 >= rect.x1 || right > rect.x1 + kSlack / 2
            || rect.x1 - text.rect.x1 > kLabelReach)
            continue;
        if (top <= rect.y2 || top > rect.y1 + kSlack || top < rect.y1 - kFirstLineDepth)
            continue;
        if (!best || text.rect.x1 > best->rect.x1)
            best = &text;
    }
    return best;
}

// Distance from a text's bottom (a point text: its top) up from `top`; negative below.
int32_t heightAbove(const DrawnText& text, int32_t top)
{
    return (text.isBox ? text.rect.y2 : text.rect.y1) - top;
}

// The nearest text just above the field that starts over it (a heading over a block of lines).
const DrawnText* aboveText(const std::vector<DrawnText>& texts, const SheetRect& rect)
{
    const DrawnText* best = nullptr;
    for (const DrawnText& text : texts) {
        const int32_t above = heightAbove(text, rect.y1);
        if (text.insideField || above < 0 || above > kAboveReach || text.rect.x1 < rect.x1 - 2 * kSlack
            || text.rect.x1 > rect.x2)
            continue;
        if (!best || above < heightAbove(*best, rect.y1))
            best = &text;
    }
    return best;
}

OutlineRole roleOf(const PlacedField& placement)
{
    if (placement.isTableEntry())
        return OutlineRole::Choice;
    if (placement.field->isCheckBox())
        return OutlineRole::CheckBox;
    if (placement.field->isPicture())
        return OutlineRole::Picture;
    return OutlineRole::Text;
}

std::string labelOf(const std::vector<DrawnText>& texts, const PlacedField& placement, OutlineRole role)
{
    const DrawnText* text = nullptr;
    if (role == OutlineRole::Choice || role == OutlineRole::Picture)
        text = innerText(texts, placement.rect);
    if (!text)
        text = leftText(texts, placement.rect);
    if (!text && role != OutlineRole::Choice)
        text = aboveText(texts, placement.rect);
    if (!text && role != OutlineRole::Choice)
        text = innerText(texts, placement.rect);
    return text ? *text->text : readableFieldName(placement.field->name());
}

bool shown(const PlacedField& placement)
{
    return placement.field && !placement.field->hasFlag(FieldNoHitTest)
        && placement.rowState != RowState::Empty;
}

bool isNumber(const ScriptValue& value)
{
    const ValueKind kind = value.effectiveKind();
    return kind == ValueKind::Integer || kind == ValueKind::Unsigned;
}

struct Row {
    int32_t anchor;
    std::vector<int32_t> cells; // placements
};

} // namespace

FieldOutline::FieldOutline(const SheetLayout& layout)
{
    const std::vector<PlacedField*>& placed = layout.placed();
    const std::vector<DrawnText> texts = drawnTexts(layout);
    m_byPlacement.assign(placed.size(), -1);

    // Rows first: the placements inside an anchor's rectangle that follow it.
    std::vector<int32_t> rowOf(placed.size(), -1);
    std::vector<Row> rows;
    for (size_t i = 0; i < placed.size(); ++i) {
        const PlacedField& anchor = *placed[i];
        if (!anchor.field || !anchor.field->hasFlag(FieldNoHitTest))
            continue;
        Row row { int32_t(i), {} };
        bool holdsEntry = false;
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const PlacedField& cell = *placed[j];
            if (!cell.field || cell.field->hasFlag(FieldNoHitTest)
                || !inside(anchor.rect, centreX(cell.rect), centreY(cell.rect)))
                break;
            row.cells.push_back(int32_t(j));
            holdsEntry = holdsEntry || cell.boundEntry != nullptr;
        }
        for (int32_t cell : row.cells)
            rowOf[size_t(cell)] = holdsEntry ? int32_t(rows.size()) : -2;
        if (holdsEntry)
            rows.push_back(std::move(row));
    }

    std::map<const SheetField*, int32_t> tableOfAnchor;
    std::vector<std::vector<const SheetField*>> columnFields;
    std::vector<int32_t> rowIndexInTable(rows.size(), -1);
    std::vector<int32_t> tableOfRow(rows.size(), -1);
    for (size_t r = 0; r < rows.size(); ++r) {
        const SheetField* anchorField = placed[size_t(rows[r].anchor)]->field;
        auto [it, added] = tableOfAnchor.emplace(anchorField, int32_t(m_tables.size()));
        if (added) {
            m_tables.emplace_back();
            columnFields.emplace_back();
        }
        OutlineTable& table = m_tables[size_t(it->second)];
        tableOfRow[r] = it->second;
        rowIndexInTable[r] = table.rowCount();
        table.cells.emplace_back();
        table.rowHeaders.push_back(-1);
        for (int32_t cell : rows[r].cells) {
            std::vector<const SheetField*>& columns = columnFields[size_t(it->second)];
            if (std::find(columns.begin(), columns.end(), placed[size_t(cell)]->field) == columns.end())
                columns.push_back(placed[size_t(cell)]->field);
        }
    }

    // Fields in placed order; a table takes its place at its first row.
    std::vector<bool> tableListed(m_tables.size(), false);
    for (size_t i = 0; i < placed.size(); ++i) {
        const PlacedField& placement = *placed[i];
        if (rowOf[i] == -2 || !shown(placement))
            continue;
        OutlineField field;
        field.placement = int32_t(i);
        field.role = roleOf(placement);
        const int32_t row = rowOf[i];
        if (row >= 0) {
            field.table = tableOfRow[size_t(row)];
            field.row = rowIndexInTable[size_t(row)];
            const auto& columns = columnFields[size_t(field.table)];
            field.column
                = int32_t(std::find(columns.begin(), columns.end(), placement.field) - columns.begin());
        } else {
            field.label = labelOf(texts, placement, field.role);
        }
        const auto index = int32_t(m_fields.size());
        m_byPlacement[i] = index;
        if (field.table >= 0) {
            OutlineTable& table = m_tables[size_t(field.table)];
            std::vector<int32_t>& cells = table.cells[size_t(field.row)];
            cells.resize(columnFields[size_t(field.table)].size(), -1);
            cells[size_t(field.column)] = index;
            if (table.rowHeaders[size_t(field.row)] < 0 && field.role == OutlineRole::Text)
                table.rowHeaders[size_t(field.row)] = index;
            if (!tableListed[size_t(field.table)]) {
                tableListed[size_t(field.table)] = true;
                m_items.push_back({ true, field.table });
            }
        } else {
            m_items.push_back({ false, index });
        }
        m_fields.push_back(std::move(field));
    }

    // Headers: the text boxes just above a column's first cell, the title above the first row.
    for (const auto& [anchorField, t] : tableOfAnchor) {
        OutlineTable& table = m_tables[size_t(t)];
        const auto& columns = columnFields[size_t(t)];
        table.columnHeaders.resize(columns.size());
        for (auto& cells : table.cells)
            cells.resize(columns.size(), -1);
        std::vector<const DrawnText*> used;
        for (size_t c = 0; c < columns.size(); ++c) {
            const PlacedField* first = nullptr;
            for (const auto& cells : table.cells) {
                if (cells[c] >= 0) {
                    first = placed[size_t(m_fields[size_t(cells[c])].placement)];
                    break;
                }
            }
            const DrawnText* header = nullptr;
            if (first) {
                for (const DrawnText& text : texts) {
                    const int32_t above = heightAbove(text, first->rect.y1);
                    if (!text.isBox || above < -kSlack || above > kHeaderReach)
                        continue;
                    if (text.rect.x1 > centreX(first->rect) || text.rect.x2 < centreX(first->rect))
                        continue;
                    if (!header || above < heightAbove(*header, first->rect.y1))
                        header = &text;
                }
            }
            if (header)
                used.push_back(header);
            table.columnHeaders[c] = header ? *header->text : readableFieldName(columns[c]->name());
        }
        // The title: the nearest other text above the first row, within the table's width.
        const PlacedField* firstAnchor = nullptr;
        for (const Row& row : rows) {
            if (placed[size_t(row.anchor)]->field == anchorField) {
                firstAnchor = placed[size_t(row.anchor)];
                break;
            }
        }
        const DrawnText* title = nullptr;
        if (firstAnchor) {
            const SheetRect& area = firstAnchor->rect;
            for (const DrawnText& text : texts) {
                const int32_t above = heightAbove(text, area.y1);
                if (above < 0 || above > kTitleReach
                    || std::find(used.begin(), used.end(), &text) != used.end())
                    continue;
                if (text.rect.x1 < area.x1 - kSlack || text.rect.x1 > area.x2)
                    continue;
                if (!title || above < heightAbove(*title, area.y1))
                    title = &text;
            }
        }
        table.label = title ? *title->text : readableFieldName(anchorField->name());
    }
}

int32_t FieldOutline::fieldOfPlacement(int32_t placement) const
{
    if (placement < 0 || size_t(placement) >= m_byPlacement.size())
        return -1;
    return m_byPlacement[size_t(placement)];
}

std::string readableFieldName(std::string_view name)
{
    std::string out;
    out.reserve(name.size() + 4);
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == '_') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        const bool upper = c < 128 && std::isupper(c);
        const bool digitAfterLetter = c < 128 && std::isdigit(c) && !out.empty()
            && std::isalpha(static_cast<unsigned char>(out.back()));
        if ((upper || digitAfterLetter) && !out.empty() && out.back() != ' ')
            out += ' ';
        out += upper ? char(std::tolower(c)) : char(c);
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string fieldValueText(const PlacedField& placement)
{
    if (!placement.field)
        return {};
    try {
        const ScriptValue value = placement.field->value(&placement);
        if (isNumber(value))
            return std::to_string(value.toInteger());
        return value.toText();
    } catch (const script::ScriptError&) {
        return {};
    }
}

bool isFieldChecked(const PlacedField& placement)
{
    if (!placement.field)
        return false;
    try {
        const ScriptValue value = placement.field->value(&placement);
        if (placement.isTableEntry()) {
            const ScriptValue& wanted = static_cast<const TableEntry&>(placement).value;
            return script::binaryOperation(script::BinaryOp::Equal, value, wanted).toInteger() != 0;
        }
        return placement.field->isCheckBox() && value.toInteger() != 0;
    } catch (const script::ScriptError&) {
        return false;
    }
}

std::optional<std::string> acceptedFieldText(const PlacedField& placement, std::string_view text)
{
    if (!placement.field || text.find('*') != std::string_view::npos)
        return std::nullopt;
    ScriptValue current;
    try {
        current = placement.field->value(&placement);
    } catch (const script::ScriptError&) {
        return std::nullopt;
    }
    if (!isNumber(current))
        return storedEditText(text, (placement.context.fieldTextStyle & TextMultiline) != 0);
    const std::string shown = fieldValueText(placement);
    const size_t maxLength = std::max<size_t>(kNumberEditLength, shown.size());
    if (text.size() > maxLength)
        return std::nullopt;
    const bool minusAllowed = !shown.empty() && shown.front() == '-';
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!(c >= '0' && c <= '9') && !(minusAllowed && i == 0 && c == '-'))
            return std::nullopt;
    }
    return std::string(text);
}

} // namespace vorpane
