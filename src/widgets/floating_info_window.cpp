#include "widgets/floating_info_window.h"

#include "platform/profile.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

namespace vorpane {

namespace {

std::function<QRect()>& placementArea()
{
    static std::function<QRect()> area;
    return area;
}

} // namespace

void FloatingInfoWindow::setPlacementArea(std::function<QRect()> area) { placementArea() = std::move(area); }

FloatingInfoWindow::FloatingInfoWindow(QWidget* owner, const IntKey& keyX, const IntKey& keyY, Anchor anchor)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_keyX(keyX)
    , m_keyY(keyY)
    , m_anchor(anchor)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(QToolTip::font());
    setPalette(QToolTip::palette());
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
}

void FloatingInfoWindow::setSizeInText(int widthChars, int lineCount)
{
    const QFontMetrics metrics(font());
    setFixedSize(widthChars * metrics.averageCharWidth(), lineCount * metrics.height());
}

bool FloatingInfoWindow::event(QEvent* event)
{
    // A click activates the window, yet it takes no keys: hand the keyboard back to the window the
    // player works in (a modal dialog first), or Escape, Return and Tab would reach nothing.
    if (event->type() == QEvent::WindowActivate) {
        QWidget* back = QApplication::activeModalWidget();
        if (!back && parentWidget())
            back = parentWidget()->window();
        if (back && back != this)
            QTimer::singleShot(0, back, [back] { back->activateWindow(); });
    }
    return QWidget::event(event);
}

QPoint FloatingInfoWindow::defaultPosition() const
{
    QRect area;
    if (placementArea())
        area = placementArea()();
    // Before the main window is on the screen (a command-line start) the screen stands in for it.
    if (area.isEmpty()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
    }
    const int x = area.right() + 1 - kDefaultInset - width();
    if (m_anchor == Anchor::TopRight)
        return { x, area.top() + kDefaultInset };
    return { x, area.bottom() + 1 - kDefaultInset - height() };
}

QPoint FloatingInfoWindow::storedPosition() const
{
    const QPoint fallback = defaultPosition();
    int x = Profile::read(m_keyX);
    int y = Profile::read(m_keyY);
    if (x == profile_keys::kPositionNotStored)
        x = fallback.x();
    if (y == profile_keys::kPositionNotStored)
        y = fallback.y();
    x = std::max(x, 0);
    y = std::max(y, 0);
    const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect bounds = screen->geometry();
        // Compared without adding to x: a damaged settings file may hold any int.
        if (x > bounds.right() + 1 - width())
            x = std::max(bounds.left(), bounds.right() + 1 - width());
        if (y > bounds.bottom() + 1 - height())
            y = std::max(bounds.top(), bounds.bottom() + 1 - height());
    }
    // Without a screen, still a position a window's rectangle can hold.
    constexpr int kFar = 1 << 20;
    return { std::min(x, kFar), std::min(y, kFar) };
}

void FloatingInfoWindow::place() { setGeometry(QRect(storedPosition(), size())); }

void FloatingInfoWindow::showInactive()
{
    if (!isVisible())
        show();
}

void FloatingInfoWindow::storePosition() const
{
    const QPoint origin = geometry().topLeft();
    Profile::write(m_keyX, origin.x());
    Profile::write(m_keyY, origin.y());
}

void FloatingInfoWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Placing a hidden window is no choice of the user's.
    if (isVisible())
        storePosition();
}

void FloatingInfoWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_storeOnHide)
        storePosition();
}

QPixmap FloatingInfoWindow::infoIcon(int size)
{
    // A small magnifying glass: the window describes what the owner's list has selected.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF lens(s * 0.08, s * 0.08, s * 0.56, s * 0.56);
    painter.setBrush(QColor(200, 225, 255, 160));
    painter.setPen(QPen(QColor(60, 60, 70), s * 0.1));
    painter.drawEllipse(lens);
    painter.setPen(QPen(QColor(110, 70, 30), s * 0.16, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(s * 0.6, s * 0.6), QPointF(s * 0.9, s * 0.9));
    return pixmap;
}

} // namespace vorpane
