#include "widgets/hyperlink.h"

#include "docview/cursors.h"
#include "docview/desk.h"
#include "docview/desktop_dialogs.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>

namespace vorpane {

CHyperlink::CHyperlink(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(pointingHandCursor());
    setTextInteractionFlags(Qt::NoTextInteraction);
    setAutoFillBackground(false);
    underline();
    updateColour();
}

QColor CHyperlink::textColour() const
{
    if (m_pressed)
        return QColor(0xFF, 0, 0);
    if (m_hovered || m_focused)
        return QColor(0, 0, 0xFF);
    if (m_visited)
        return QColor(0x80, 0, 0x80);
    return QColor(0, 0, 0x80);
}

void CHyperlink::updateColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColour());
    setPalette(colours);
    update();
}

void CHyperlink::underline()
{
    if (font().underline())
        return;
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
}

void CHyperlink::changeEvent(QEvent* event)
{
    // A new font keeps the underline.
    if (event->type() == QEvent::FontChange)
        underline();
    QLabel::changeEvent(event);
}

void CHyperlink::open()
{
    m_visited = true;
    const QUrl url = QUrl::fromUserInput(m_target);
    if (!url.isValid() || !dialogs().openUrl(url))
        showMessage("Unable to open the requested URL\n" + toCp1252(m_target), {}, MsgIcon::Error);
    updateColour();
}

void CHyperlink::showTarget()
{
    if (m_desk)
        m_desk->setStatusMessage(m_target);
}

void CHyperlink::clearTarget()
{
    if (m_desk)
        m_desk->setStatusMessage({});
}

bool CHyperlink::cursorInside() const { return rect().contains(mapFromGlobal(QCursor::pos())); }

void CHyperlink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    updateColour();
}

void CHyperlink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    // Released elsewhere: the press is withdrawn.
    m_hovered = rect().contains(event->position().toPoint());
    if (m_hovered)
        open();
    else
        clearTarget();
    updateColour();
}

void CHyperlink::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !m_hovered) {
        m_hovered = true;
        updateColour();
        m_hoverTimer.start(kHoverCheckMs, this);
        showTarget();
    } else if (!inside && m_hovered && m_pressed) {
        // Held and dragged off: drawn as not hovered, and a release now does not open.
        m_hovered = false;
        updateColour();
    }
    QLabel::mouseMoveEvent(event);
}

void CHyperlink::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_hoverTimer.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    if (!cursorInside())
        stopHovering();
}

void CHyperlink::leaveEvent(QEvent* event)
{
    // The timer would notice too; leaving says it at once.
    if (m_hovered)
        stopHovering();
    QLabel::leaveEvent(event);
}

void CHyperlink::stopHovering()
{
    m_hovered = false;
    m_hoverTimer.stop();
    updateColour();
    if (!m_pressed && m_desk && m_desk->statusMessage() == m_target)
        clearTarget();
}

void CHyperlink::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperlink::focusInEvent(QFocusEvent* event)
{
    m_focused = true;
    showTarget();
    updateColour();
    QLabel::focusInEvent(event);
}

void CHyperlink::focusOutEvent(QFocusEvent* event)
{
    m_focused = false;
    clearTarget();
    updateColour();
    QLabel::focusOutEvent(event);
}

} // namespace vorpane
