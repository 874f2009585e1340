#include "wizard/drag_swap_edit.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>

namespace vorpane {

DragSwapEdit::DragSwapEdit(QWidget* page, QWidget* group, QWidget* parent)
    : QLineEdit(parent)
    , m_page(page)
    , m_group(group)
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(kHoldMs);
    connect(&m_hold, &QTimer::timeout, this, &DragSwapEdit::startDrag);
}

QRect DragSwapEdit::groupRect() const
{
    if (!m_group)
        return {};
    return QRect(m_group->mapTo(m_page, QPoint(0, 0)), m_group->size());
}

void DragSwapEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_buttonHeld = true;
        m_hold.start();
    }
}

void DragSwapEdit::startDrag()
{
    if (!m_buttonHeld)
        return;
    m_dragging = true;
    emit dragStarted(groupRect());
    QApplication::setOverrideCursor(Qt::DragMoveCursor);
    selectAll();
}

QLineEdit* DragSwapEdit::editAt(const QPoint& global) const
{
    // childAt() only finds visible widgets, as a drop target must be.
    return qobject_cast<QLineEdit*>(m_page->childAt(m_page->mapFromGlobal(global)));
}

void DragSwapEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging) {
        QLineEdit::mouseMoveEvent(event);
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    QLineEdit* edit = editAt(global);
    QApplication::changeOverrideCursor(edit ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    if (edit) {
        edit->setCursorPosition(edit->cursorPositionAt(edit->mapFromGlobal(global)));
        edit->setFocus(Qt::MouseFocusReason);
    }
}

void DragSwapEdit::mouseReleaseEvent(QMouseEvent* event)
{
    m_hold.stop();
    m_buttonHeld = false;
    if (!m_dragging) {
        QLineEdit::mouseReleaseEvent(event);
        return;
    }
    QLineEdit* target = editAt(event->globalPosition().toPoint());
    endDrag();
    if (target && target != this) {
        const QString mine = text();
        setText(target->text());
        target->setText(mine);
        target->selectAll();
        announceSwap(target);
        target->setFocus(Qt::MouseFocusReason);
    }
}

void DragSwapEdit::announceSwap(QLineEdit* target)
{
    // A spin box's edit is known by its spin box's name.
    QWidget* other = target;
    if (qobject_cast<QAbstractSpinBox*>(target->parentWidget()))
        other = target->parentWidget();
    const auto name = [](QWidget* field) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(field);
        return iface ? iface->text(QAccessible::Name) : QString();
    };
    // Both descriptions change (a reader hears it) and the focus lands on the target with it.
    const QString swapped = tr("%1 y %2 intercambiados").arg(name(this), name(other));
    setAccessibleDescription(swapped);
    other->setAccessibleDescription(swapped);
}

void DragSwapEdit::endDrag()
{
    m_dragging = false;
    QApplication::restoreOverrideCursor();
    emit dragEnded();
}

} // namespace vorpane
