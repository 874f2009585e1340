#include "sheet/sheet_item.h"

#include "sheet/sheet_field.h"

namespace vorpane {

PlacedField::PlacedField(const SheetRect& rect, SheetField& field)
    : PlacedField(SheetItemKind::PlacedField, rect, field)
{
}

PlacedField::PlacedField(SheetItemKind kind, const SheetRect& rect, SheetField& field)
    : SheetItem(kind)
    , rect(rect)
    , field(&field)
    , optionListName(field.optionListName())
{
}

TableEntry::TableEntry(const SheetRect& rect, SheetField& field, script::ScriptValue value)
    : PlacedField(SheetItemKind::TableEntry, rect, field)
    , value(std::move(value))
{
}

} // namespace vorpane
