#pragma once
// A label that opens its target when clicked or when Space is pressed on it: underlined, its
// colour telling its state (pressed red, hovered or focused blue, visited purple, else dark blue),
// the hand cursor, and the target shown in the status bar while hovered or focused.

#include <QBasicTimer>
#include <QLabel>

namespace vorpane {

class Desk;

class CHyperlink final : public QLabel {
    Q_OBJECT
public:
    static constexpr int kHoverCheckMs = 100;

    explicit CHyperlink(const QString& text = {}, QWidget* parent = nullptr);

    void setTarget(const QString& target) { m_target = target; }
    const QString& target() const { return m_target; }
    // Where the target is shown while hovered or focused; none by default.
    void setDesk(Desk* desk) { m_desk = desk; }

    bool isVisited() const { return m_visited; }
    bool isPressed() const { return m_pressed; }
    bool isHovered() const { return m_hovered; }
    // The colour of the text now.
    QColor textColour() const;

    // Opens the target with the desktop's handler; says so when none takes it.
    void open();

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void stopHovering();
    void underline();
    void updateColour();
    void showTarget();
    void clearTarget();
    bool cursorInside() const;

    QString m_target;
    Desk* m_desk = nullptr;
    QBasicTimer m_hoverTimer;
    bool m_visited = false;
    bool m_focused = false;
    bool m_pressed = false;
    bool m_hovered = false;
};

} // namespace vorpane
