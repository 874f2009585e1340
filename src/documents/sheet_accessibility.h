#pragma once
// SheetAccessibility: what a screen reader sees of a sheet view. The page's fields come from a
// FieldOutline of the layout, built at the first question after a script run; each field and
// table gets an accessible interface of its own, registered with Qt and dropped when the layout
// is run again. The view tells it what changed, and it raises the events a reader listens to:
// focus moving to a field, values changed by an edit, a check box, a script run or an undo.
//
// Nothing is built or compared until a reader has asked for the page.

#include "sheet/field_outline.h"

#include <QAccessible>
#include <QString>
#include <string>
#include <vector>

class QAccessibleInterface;

namespace vorpane {

class CScriptSheetView;
class PlacedField;
class SheetCanvas;
class SheetLayout;

class SheetAccessibility final {
public:
    explicit SheetAccessibility(CScriptSheetView& view);
    ~SheetAccessibility();
    SheetAccessibility(const SheetAccessibility&) = delete;
    SheetAccessibility& operator=(const SheetAccessibility&) = delete;

    // Qt asks the factory for the canvas's interface; once per process.
    static void installFactory();

    CScriptSheetView& view() const { return m_view; }
    SheetLayout& layout() const;
    SheetCanvas& canvas() const;

    // The outline of the current layout, built now when it is out of date.
    const FieldOutline& outline();
    // Interfaces of the outline's fields, tables and page items (owned by Qt's registry).
    QAccessibleInterface* field(int index);
    QAccessibleInterface* table(int index);
    QAccessibleInterface* item(int index);
    int itemCount() { return int(outline().items().size()); }
    // Index of the page item holding an interface made here, or -1.
    int itemOf(const QAccessibleInterface* child);
    PlacedField* placement(int field);
    // Bumped whenever the interfaces are dropped; theirs must match to be valid.
    unsigned generation() const { return m_generation; }

    // What a field is called: its label, or its row's and column's names in a table.
    QString fieldName(int field);
    QString rowHeader(int table, int row);
    bool isFocused(int field) const;

    // The view's side.
    void layoutRebuilt();
    void valuesChanged();
    void focusMoved();
    // The field editor is about to open on the placement: its edits take the field's name.
    void editorOpening(const PlacedField& placement);
    // Drops every interface (the view is going).
    void reset();

private:
    void dropInterfaces();
    void takeValues();
    void announceChangedValues(
        const std::vector<std::string>& before, const std::vector<const void*>& fieldsBefore);

    CScriptSheetView& m_view;
    FieldOutline m_outline;
    bool m_outlineValid = false;
    bool m_asked = false; // a reader has looked at the page since the last run
    unsigned m_generation = 1;
    std::vector<QAccessible::Id> m_fieldIds;
    std::vector<QAccessible::Id> m_tableIds;
    // The value of every placement when last compared, and its field, by placed-list index.
    std::vector<std::string> m_values;
    std::vector<const void*> m_valueFields;
};

} // namespace vorpane
