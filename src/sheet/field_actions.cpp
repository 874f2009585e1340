#include "sheet/field_actions.h"

#include "sheet/sheet_field.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"

namespace vorpane {

using script::ScriptValue;

namespace {

bool takesClicks(const PlacedField& placement)
{
    return placement.enabled && placement.field && !placement.field->hasFlag(FieldReadOnly);
}

void store(SheetLayout& layout, PlacedField& placement, const ScriptValue& value)
{
    SheetField& field = *placement.field;
    SheetHost* host = layout.host();
    if (host)
        host->beforeChange(field, &placement);
    field.setValue(value, &placement);
    if (host)
        host->afterChange(field, &placement);
}

int integerOf(const ScriptValue& value)
{
    try {
        return value.toInteger();
    } catch (const script::ScriptError&) {
        return 0;
    }
}

} // namespace

bool toggleCheckBox(SheetLayout& layout, PlacedField& placement)
{
    if (!takesClicks(placement) || !placement.field->isCheckBox())
        return false;
    const int current = integerOf(placement.field->value(&placement));
    store(layout, placement, ScriptValue(int32_t(current == 0 ? 1 : 0)));
    return true;
}

bool chooseTableEntry(SheetLayout& layout, TableEntry& entry)
{
    if (!takesClicks(entry))
        return false;
    store(layout, entry, entry.value);
    return true;
}

bool storeFieldValue(SheetLayout& layout, PlacedField& placement, const ScriptValue& value)
{
    if (!takesClicks(placement))
        return false;
    store(layout, placement, value);
    return true;
}

} // namespace vorpane
