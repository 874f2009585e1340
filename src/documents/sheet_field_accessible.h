#pragma once
// SheetFieldAccessible: one field of a sheet page as a screen reader sees it: a text field (its
// text, editable in place through the same rules as the field editor), a check box or table
// entry (pressed or toggled as a click would), a picture (its file name as the description), or
// a cell of a table. It holds the field's index in the view's outline and checks that the outline
// is still the one it was made for.

#include <QAccessibleInterface>
#include <QPointer>

namespace vorpane {

class PlacedField;
class SheetAccessibility;
class SheetCanvas;
struct OutlineField;

class SheetFieldAccessible final : public QAccessibleInterface,
                                   public QAccessibleTextInterface,
                                   public QAccessibleEditableTextInterface,
                                   public QAccessibleValueInterface,
                                   public QAccessibleActionInterface,
                                   public QAccessibleTableCellInterface {
public:
    SheetFieldAccessible(SheetAccessibility& sheet, int field);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface
    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override;
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

    // QAccessibleValueInterface (number fields)
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

    int fieldIndex() const { return m_field; }

private:
    const OutlineField* outlineField() const;
    PlacedField* placement() const;
    QString value() const;
    bool isNumber() const;
    bool isEditable() const;
    // Stores a text as a committed edit would; false when refused or unchanged.
    bool store(const QString& text);

    SheetAccessibility& m_sheet;
    QPointer<SheetCanvas> m_canvas;
    int m_field;
    unsigned m_generation;
};

} // namespace vorpane
