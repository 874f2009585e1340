#pragma once
// SheetCanvasAccessible: the page of a sheet view for a screen reader: a document named after the
// view's document, whose children are the page's fields and tables in Tab order, then the
// canvas's own child widgets (the field editor, the scroll bars).

#include <QAccessibleWidget>

namespace vorpane {

class SheetAccessibility;
class SheetCanvas;

class SheetCanvasAccessible final : public QAccessibleWidget {
public:
    explicit SheetCanvasAccessible(SheetCanvas* canvas);

    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

private:
    SheetAccessibility* sheet() const;
};

} // namespace vorpane
