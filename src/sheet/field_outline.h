#pragma once
// FieldOutline: the placed fields of a layout as a screen reader walks them, in Tab order (the
// placed list's order). Every placement the page shows gets a role and a label: the text the
// script drew beside it (to its left on its first line, else just above it; inside it for table
// entries and pictures), else the field's own name made readable. Table rows (the placements inside the
// rectangle of a row anchor, a field that takes no clicks) gather into one table per anchor field; the text
// boxes drawn just above the first row are its column headers, the first text cell of a row
// names the row. Rows that hold no entry (the empty rows at a table's end) are left out.
//
// An outline holds indexes, never pointers: it is rebuilt after every script run and stays
// correct while only values change.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorpane {

class PlacedField;
class SheetLayout;

enum class OutlineRole {
    Text, // a text or number field
    CheckBox,
    Picture,
    Choice, // a table entry: one of the values its field may take
};

struct OutlineField {
    int32_t placement = -1; // index in the layout's placed list
    OutlineRole role = OutlineRole::Text;
    std::string label; // Windows-1252
    int32_t table = -1; // index in FieldOutline::tables(), -1 outside any table
    int32_t row = -1;
    int32_t column = -1;
};

struct OutlineTable {
    std::string label; // the text drawn above it, else its anchor's name made readable
    std::vector<std::string> columnHeaders; // one per column, never empty texts
    std::vector<int32_t> rowHeaders; // per row: index in fields() of the cell naming it, or -1
    std::vector<std::vector<int32_t>> cells; // [row][column]: index in fields(), or -1
    int32_t columnCount() const { return int32_t(columnHeaders.size()); }
    int32_t rowCount() const { return int32_t(cells.size()); }
};

// One child of the page: a field outside the tables, or a table.
struct OutlineItem {
    bool isTable = false;
    int32_t index = -1; // in fields() or tables()
};

class FieldOutline {
public:
    FieldOutline() = default;
    explicit FieldOutline(const SheetLayout& layout);

    const std::vector<OutlineField>& fields() const { return m_fields; }
    const std::vector<OutlineTable>& tables() const { return m_tables; }
    const std::vector<OutlineItem>& items() const { return m_items; }
    // The outline field of a placement, or -1 when the page does not show it as a field.
    int32_t fieldOfPlacement(int32_t placement) const;

private:
    std::vector<OutlineField> m_fields;
    std::vector<OutlineTable> m_tables;
    std::vector<OutlineItem> m_items;
    std::vector<int32_t> m_byPlacement;
};

// "playerName" -> "player name", "skill_percent" -> "skill percent", "text0" -> "text 0".
std::string readableFieldName(std::string_view name);

// The value as a reader says it: the text, the number, the picture's file name; a check box
// says "1" or "0". Empty when the field cannot be read.
std::string fieldValueText(const PlacedField& placement);
// A check box that is set, or a table entry whose value the field holds.
bool isFieldChecked(const PlacedField& placement);

// What a text written from outside the field editor stores, under the editor's own rules: no
// '*', a number field takes digits only (a minus only where the value has one) up to the
// editor's length, multi-line texts keep CR LF. Nothing when the editor would refuse it.
std::optional<std::string> acceptedFieldText(const PlacedField& placement, std::string_view text);

} // namespace vorpane
