#pragma once
// DragSwapEdit: a one-line field whose text can be dragged onto another field of the same page to
// exchange the two texts. Holding the left button for 200 ms starts the drag: the field's group is
// outlined (dragStarted), the text selected and the cursor changes; over another field of the page
// the caret follows the pointer; releasing there swaps the texts through setText(), so the page
// hears the change as from any other edit. Both fields then describe the swap to screen readers.

#include <QLineEdit>
#include <QTimer>

namespace vorpane {

class DragSwapEdit final : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kHoldMs = 200;

    // page: whose fields are drag targets; group: the frame outlined while dragging (may be null).
    DragSwapEdit(QWidget* page, QWidget* group, QWidget* parent = nullptr);

    bool isDragging() const { return m_dragging; }
    // The outline in page coordinates; empty for a field without a group.
    QRect groupRect() const;

signals:
    void dragStarted(const QRect& outline);
    void dragEnded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void startDrag();
    void endDrag();
    void announceSwap(QLineEdit* target);
    // The line edit of the page under a global position, or null.
    QLineEdit* editAt(const QPoint& global) const;

    QWidget* m_page;
    QWidget* m_group;
    QTimer m_hold;
    bool m_buttonHeld = false;
    bool m_dragging = false;
};

} // namespace vorpane
