#include "documents/sheet_canvas_accessible.h"

#include "documents/script_sheet_view.h"
#include "documents/sheet_accessibility.h"
#include "documents/sheet_canvas.h"
#include "docview/document.h"

namespace vorpane {

SheetCanvasAccessible::SheetCanvasAccessible(SheetCanvas* canvas)
    : QAccessibleWidget(canvas, QAccessible::Document)
{
}

SheetAccessibility* SheetCanvasAccessible::sheet() const
{
    auto* view = qobject_cast<CScriptSheetView*>(widget()->parentWidget());
    return view ? &view->accessibility() : nullptr;
}

int SheetCanvasAccessible::childCount() const
{
    SheetAccessibility* page = sheet();
    return (page ? page->itemCount() : 0) + QAccessibleWidget::childCount();
}

QAccessibleInterface* SheetCanvasAccessible::child(int index) const
{
    SheetAccessibility* page = sheet();
    const int items = page ? page->itemCount() : 0;
    if (index < items)
        return page->item(index);
    return QAccessibleWidget::child(index - items);
}

int SheetCanvasAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    SheetAccessibility* page = sheet();
    const int items = page ? page->itemCount() : 0;
    if (page) {
        const int item = page->itemOf(child);
        if (item >= 0)
            return item;
    }
    const int widget = QAccessibleWidget::indexOfChild(child);
    return widget >= 0 ? widget + items : -1;
}

QAccessibleInterface* SheetCanvasAccessible::childAt(int x, int y) const
{
    // The field editor lies over its field.
    if (QAccessibleInterface* widget = QAccessibleWidget::childAt(x, y))
        return widget;
    SheetAccessibility* page = sheet();
    const int items = page ? page->itemCount() : 0;
    for (int i = 0; i < items; ++i) {
        QAccessibleInterface* item = page->item(i);
        if (item && item->rect().contains(x, y))
            return item->childCount() > 0 ? item->childAt(x, y) : item;
    }
    return nullptr;
}

QString SheetCanvasAccessible::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty()) {
        if (auto* view = qobject_cast<CScriptSheetView*>(widget()->parentWidget()))
            text = view->document().title();
    }
    return text;
}

} // namespace vorpane
