#include "documents/sheet_accessibility.h"

#include "documents/field_editor.h"
#include "documents/script_sheet_view.h"
#include "documents/sheet_canvas.h"
#include "documents/sheet_canvas_accessible.h"
#include "documents/sheet_field_accessible.h"
#include "documents/sheet_table_accessible.h"
#include "platform/cp1252.h"
#include "sheet/sheet_item.h"
#include "sheet/sheet_layout.h"

#include <algorithm>

namespace vorpane {

namespace {

QAccessibleInterface* makeCanvasInterface(const QString&, QObject* object)
{
    if (auto* canvas = qobject_cast<SheetCanvas*>(object))
        return new SheetCanvasAccessible(canvas);
    return nullptr;
}

void send(QAccessibleEvent&& event) { QAccessible::updateAccessibility(&event); }

} // namespace

SheetAccessibility::SheetAccessibility(CScriptSheetView& view)
    : m_view(view)
{
}

SheetAccessibility::~SheetAccessibility() { dropInterfaces(); }

void SheetAccessibility::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(makeCanvasInterface);
        return true;
    }();
    (void)installed;
}

SheetLayout& SheetAccessibility::layout() const { return m_view.layout(); }

SheetCanvas& SheetAccessibility::canvas() const { return *m_view.canvas(); }

const FieldOutline& SheetAccessibility::outline()
{
    if (!m_outlineValid) {
        m_outline = FieldOutline(layout());
        m_fieldIds.assign(m_outline.fields().size(), 0);
        m_tableIds.assign(m_outline.tables().size(), 0);
        m_outlineValid = true;
        if (!m_asked) {
            m_asked = true;
            takeValues();
        }
    }
    return m_outline;
}

QAccessibleInterface* SheetAccessibility::field(int index)
{
    if (index < 0 || size_t(index) >= outline().fields().size())
        return nullptr;
    QAccessible::Id& id = m_fieldIds[size_t(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new SheetFieldAccessible(*this, index));
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* SheetAccessibility::table(int index)
{
    if (index < 0 || size_t(index) >= outline().tables().size())
        return nullptr;
    QAccessible::Id& id = m_tableIds[size_t(index)];
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(new SheetTableAccessible(*this, index));
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* SheetAccessibility::item(int index)
{
    const std::vector<OutlineItem>& items = outline().items();
    if (index < 0 || size_t(index) >= items.size())
        return nullptr;
    const OutlineItem& item = items[size_t(index)];
    return item.isTable ? table(item.index) : field(item.index);
}

int SheetAccessibility::itemOf(const QAccessibleInterface* child)
{
    OutlineItem wanted;
    if (const auto* field = dynamic_cast<const SheetFieldAccessible*>(child)) {
        if (!field->isValid() || outline().fields()[size_t(field->fieldIndex())].table >= 0)
            return -1;
        wanted = { false, field->fieldIndex() };
    } else if (const auto* table = dynamic_cast<const SheetTableAccessible*>(child)) {
        if (!table->isValid())
            return -1;
        wanted = { true, table->tableIndex() };
    } else {
        return -1;
    }
    const std::vector<OutlineItem>& items = outline().items();
    const auto it = std::find_if(items.begin(), items.end(), [&](const OutlineItem& item) {
        return item.isTable == wanted.isTable && item.index == wanted.index;
    });
    return it == items.end() ? -1 : int(it - items.begin());
}

PlacedField* SheetAccessibility::placement(int field)
{
    const std::vector<OutlineField>& fields = outline().fields();
    if (field < 0 || size_t(field) >= fields.size())
        return nullptr;
    const std::vector<PlacedField*>& placed = layout().placed();
    const int32_t index = fields[size_t(field)].placement;
    return size_t(index) < placed.size() ? placed[size_t(index)] : nullptr;
}

QString SheetAccessibility::rowHeader(int table, int row)
{
    const std::vector<OutlineTable>& tables = outline().tables();
    if (table < 0 || size_t(table) >= tables.size() || row < 0 || row >= tables[size_t(table)].rowCount())
        return {};
    const PlacedField* header = placement(tables[size_t(table)].rowHeaders[size_t(row)]);
    return header ? fromCp1252(fieldValueText(*header)) : QString();
}

QString SheetAccessibility::fieldName(int field)
{
    const std::vector<OutlineField>& fields = outline().fields();
    if (field < 0 || size_t(field) >= fields.size())
        return {};
    const OutlineField& entry = fields[size_t(field)];
    if (entry.table < 0)
        return fromCp1252(entry.label);
    const OutlineTable& table = m_outline.tables()[size_t(entry.table)];
    const QString column = fromCp1252(table.columnHeaders[size_t(entry.column)]);
    if (table.rowHeaders[size_t(entry.row)] == field)
        return column;
    const QString row = rowHeader(entry.table, entry.row);
    return row.isEmpty() ? column : row + QLatin1Char(' ') + column;
}

bool SheetAccessibility::isFocused(int field) const
{
    if (!m_outlineValid || field < 0 || size_t(field) >= m_outline.fields().size())
        return false;
    return m_view.canvas()->hasFocus() && !m_view.isEditing()
        && layout().currentField == m_outline.fields()[size_t(field)].placement;
}

void SheetAccessibility::dropInterfaces()
{
    for (const std::vector<QAccessible::Id>* ids : { &m_fieldIds, &m_tableIds }) {
        for (QAccessible::Id id : *ids) {
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        }
    }
    m_fieldIds.clear();
    m_tableIds.clear();
    m_outlineValid = false;
    ++m_generation;
}

void SheetAccessibility::reset()
{
    dropInterfaces();
    m_asked = false;
    m_values.clear();
    m_valueFields.clear();
}

void SheetAccessibility::takeValues()
{
    const std::vector<PlacedField*>& placed = layout().placed();
    m_values.resize(placed.size());
    m_valueFields.resize(placed.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        m_values[i] = fieldValueText(*placed[i]);
        m_valueFields[i] = placed[i]->field;
    }
}

void SheetAccessibility::layoutRebuilt()
{
    dropInterfaces();
    if (!m_asked)
        return;
    if (QAccessibleInterface* page = QAccessible::queryAccessibleInterface(&canvas()))
        send(QAccessibleEvent(page, QAccessible::ObjectReorder));
    const std::vector<std::string> before = std::move(m_values);
    const std::vector<const void*> fieldsBefore = std::move(m_valueFields);
    announceChangedValues(before, fieldsBefore);
}

void SheetAccessibility::valuesChanged()
{
    if (!m_asked)
        return;
    const std::vector<std::string> before = m_values;
    const std::vector<const void*> fieldsBefore = m_valueFields;
    announceChangedValues(before, fieldsBefore);
}

void SheetAccessibility::announceChangedValues(
    const std::vector<std::string>& before, const std::vector<const void*>& fieldsBefore)
{
    outline();
    takeValues();
    const size_t count = std::min(before.size(), m_values.size());
    for (size_t i = 0; i < count; ++i) {
        if (fieldsBefore[i] != m_valueFields[i] || before[i] == m_values[i])
            continue;
        const int index = m_outline.fieldOfPlacement(int32_t(i));
        QAccessibleInterface* changed = field(index);
        if (!changed)
            continue;
        const QString now = fromCp1252(m_values[i]);
        switch (m_outline.fields()[size_t(index)].role) {
        case OutlineRole::CheckBox:
        case OutlineRole::Choice: {
            QAccessible::State state;
            state.checked = true;
            send(QAccessibleStateChangeEvent(changed, state));
            break;
        }
        case OutlineRole::Text:
            send(QAccessibleTextUpdateEvent(changed, 0, fromCp1252(before[i]), now));
            if (changed->valueInterface())
                send(QAccessibleValueChangeEvent(changed, changed->valueInterface()->currentValue()));
            break;
        case OutlineRole::Picture:
            // A picture's file name is its description.
            send(QAccessibleEvent(changed, QAccessible::DescriptionChanged));
            break;
        }
    }
}

void SheetAccessibility::focusMoved()
{
    if (!m_asked || m_view.isEditing())
        return;
    if (QAccessibleInterface* current = field(outline().fieldOfPlacement(layout().currentField)))
        send(QAccessibleEvent(current, QAccessible::Focus));
}

void SheetAccessibility::editorOpening(const PlacedField& placement)
{
    if (!m_asked && !QAccessible::isActive())
        return;
    const std::vector<PlacedField*>& placed = layout().placed();
    const auto it = std::find(placed.begin(), placed.end(), &placement);
    if (it == placed.end())
        return;
    const int index = outline().fieldOfPlacement(int32_t(it - placed.begin()));
    m_view.fieldEditor()->setAccessibleLabel(fieldName(index), {});
}

} // namespace vorpane
