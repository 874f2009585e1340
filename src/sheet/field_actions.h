#pragma once
// The click actions of placements that change a value at once (check box, table entry, a stored
// editor text or picture path), so that views only call them. Each goes through the document's
// change hooks by way of the layout's host.

#include "script/script_value.h"

namespace vorpane {

class PlacedField;
class SheetLayout;
class TableEntry;

// Each calls the layout host's beforeChange, stores, then afterChange. Nothing happens (false) for
// a disabled placement or a read-only field.

// A check box becomes 1 when its value is 0, else 0.
bool toggleCheckBox(SheetLayout& layout, PlacedField& placement);
// The field takes the entry's value.
bool chooseTableEntry(SheetLayout& layout, TableEntry& entry);
// A committed editor text or a chosen picture path.
bool storeFieldValue(SheetLayout& layout, PlacedField& placement, const script::ScriptValue& value);

} // namespace vorpane
