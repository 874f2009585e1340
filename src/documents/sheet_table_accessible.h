#pragma once
// SheetTableAccessible: a table of a sheet page (skills, weapons) for a screen reader: its rows
// are the rows the sheet binds to entries, its columns the fields of a row, with the headers the
// sheet draws above them (else the fields' names) and each row named by its first text cell.

#include <QAccessibleInterface>
#include <QPointer>
#include <vector>

namespace vorpane {

class SheetAccessibility;
class SheetCanvas;
struct OutlineTable;

class SheetTableAccessible final : public QAccessibleInterface, public QAccessibleTableInterface {
public:
    SheetTableAccessible(SheetAccessibility& sheet, int table);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    int tableIndex() const { return m_table; }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { }

private:
    const OutlineTable* outlineTable() const;
    // The table's cells in reading order: row by row, empty cells left out.
    std::vector<int> cellFields() const;

    SheetAccessibility& m_sheet;
    QPointer<SheetCanvas> m_canvas;
    int m_table;
    unsigned m_generation;
};

} // namespace vorpane
