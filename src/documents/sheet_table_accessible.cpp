#include "documents/sheet_table_accessible.h"

#include "documents/sheet_accessibility.h"
#include "documents/sheet_canvas.h"
#include "documents/sheet_field_accessible.h"
#include "platform/cp1252.h"
#include "sheet/field_outline.h"

#include <QWidget>
#include <QWindow>

namespace vorpane {

SheetTableAccessible::SheetTableAccessible(SheetAccessibility& sheet, int table)
    : m_sheet(sheet)
    , m_canvas(&sheet.canvas())
    , m_table(table)
    , m_generation(sheet.generation())
{
}

bool SheetTableAccessible::isValid() const { return outlineTable() != nullptr; }

const OutlineTable* SheetTableAccessible::outlineTable() const
{
    if (!m_canvas || m_generation != m_sheet.generation())
        return nullptr;
    const std::vector<OutlineTable>& tables = m_sheet.outline().tables();
    return size_t(m_table) < tables.size() ? &tables[size_t(m_table)] : nullptr;
}

std::vector<int> SheetTableAccessible::cellFields() const
{
    std::vector<int> fields;
    if (const OutlineTable* table = outlineTable()) {
        for (const std::vector<int32_t>& row : table->cells) {
            for (int32_t cell : row) {
                if (cell >= 0)
                    fields.push_back(cell);
            }
        }
    }
    return fields;
}

QWindow* SheetTableAccessible::window() const
{
    return m_canvas ? m_canvas->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SheetTableAccessible::parent() const
{
    return m_canvas ? QAccessible::queryAccessibleInterface(m_canvas.data()) : nullptr;
}

QAccessibleInterface* SheetTableAccessible::child(int index) const
{
    const std::vector<int> fields = cellFields();
    return index >= 0 && size_t(index) < fields.size() ? m_sheet.field(fields[size_t(index)]) : nullptr;
}

int SheetTableAccessible::childCount() const { return int(cellFields().size()); }

int SheetTableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const SheetFieldAccessible*>(child);
    if (!cell || !cell->isValid())
        return -1;
    const std::vector<int> fields = cellFields();
    const auto it = std::find(fields.begin(), fields.end(), cell->fieldIndex());
    return it == fields.end() ? -1 : int(it - fields.begin());
}

QAccessibleInterface* SheetTableAccessible::childAt(int x, int y) const
{
    for (int field : cellFields()) {
        QAccessibleInterface* cell = m_sheet.field(field);
        if (cell && cell->rect().contains(x, y))
            return cell;
    }
    return nullptr;
}

QString SheetTableAccessible::text(QAccessible::Text t) const
{
    const OutlineTable* table = outlineTable();
    return table && t == QAccessible::Name ? fromCp1252(table->label) : QString();
}

QRect SheetTableAccessible::rect() const
{
    QRect area;
    for (int field : cellFields()) {
        if (QAccessibleInterface* cell = m_sheet.field(field))
            area = area.united(cell->rect());
    }
    return area;
}

QAccessible::State SheetTableAccessible::state() const
{
    QAccessible::State state;
    state.invalid = !isValid();
    state.readOnly = true;
    return state;
}

void* SheetTableAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::TableInterface && isValid() ? static_cast<QAccessibleTableInterface*>(this)
                                                            : nullptr;
}

QAccessibleInterface* SheetTableAccessible::cellAt(int row, int column) const
{
    const OutlineTable* table = outlineTable();
    if (!table || row < 0 || row >= table->rowCount() || column < 0 || column >= table->columnCount())
        return nullptr;
    const int32_t field = table->cells[size_t(row)][size_t(column)];
    return field >= 0 ? m_sheet.field(field) : nullptr;
}

QString SheetTableAccessible::columnDescription(int column) const
{
    const OutlineTable* table = outlineTable();
    if (!table || column < 0 || column >= table->columnCount())
        return {};
    return fromCp1252(table->columnHeaders[size_t(column)]);
}

QString SheetTableAccessible::rowDescription(int row) const
{
    return isValid() ? m_sheet.rowHeader(m_table, row) : QString();
}

int SheetTableAccessible::columnCount() const
{
    const OutlineTable* table = outlineTable();
    return table ? table->columnCount() : 0;
}

int SheetTableAccessible::rowCount() const
{
    const OutlineTable* table = outlineTable();
    return table ? table->rowCount() : 0;
}

} // namespace vorpane
