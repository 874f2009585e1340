#include "documents/sheet_canvas_accessible.h"

#include "documents/field_editor.h"
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
    SheetAccessibility* page = sheet();
    const int items = page ? page->itemCount() : 0;
    const QPoint point(x, y);
    // An open field editor lies over its field: the way to it goes through the viewport.
    QWidget* editor = page ? page->view().fieldEditor() : nullptr;
    const bool overEditor
        = editor && editor->isVisible() && editor->rect().contains(editor->mapFromGlobal(point));
    if (!overEditor) {
        for (int i = 0; i < items; ++i) {
            QAccessibleInterface* item = page->item(i);
            if (item && item->rect().contains(point))
                return item;
        }
    }
    for (int i = items; i < childCount(); ++i) {
        QAccessibleInterface* widget = child(i);
        if (widget && widget->rect().contains(point))
            return widget;
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
