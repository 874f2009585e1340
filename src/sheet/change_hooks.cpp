#include "sheet/change_hooks.h"

#include "sheet/sheet_field.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"

#include <algorithm>

namespace vorpane {

using script::ScriptValue;

// --- DocumentModel -----------------------------------------------------------------------------

void DocumentModel::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    notify(DocumentChange::ModifiedMark);
}

int DocumentModel::subscribe(Listener listener)
{
    const int id = m_nextListenerId++;
    m_listeners.emplace_back(id, std::move(listener));
    return id;
}

void DocumentModel::unsubscribe(int id)
{
    for (auto& [listenerId, listener] : m_listeners) {
        if (listenerId == id)
            listener = nullptr;
    }
    // During a notification the entry stays (emptied) until the notification ends.
    if (m_notifying == 0)
        std::erase_if(m_listeners, [](const auto& entry) { return !entry.second; });
}

void DocumentModel::notify(DocumentChange change)
{
    // Listeners added while notifying hear the next change; removed ones are skipped. A listener
    // may notify in turn, so the list is only compacted once the outermost notification ends.
    ++m_notifying;
    const size_t count = m_listeners.size();
    for (size_t i = 0; i < count; ++i) {
        if (m_listeners[i].second) {
            Listener listener = m_listeners[i].second;
            listener(change);
        }
    }
    if (--m_notifying == 0)
        std::erase_if(m_listeners, [](const auto& entry) { return !entry.second; });
}

// --- Click actions -----------------------------------------------------------------------------

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
