#include "shell/splash_window.h"

#include "docview/resources.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace vorpane {

namespace {
QPointer<SplashWindow> g_splash;
} // namespace

SplashWindow::SplashWindow(QWidget* mainWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_picture(resourcePixmap(QStringLiteral(":/pictures/splash.svg")))
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("SplashWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    QScreen* screen
        = mainWindow && mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this);
    QTimer::singleShot(kShowMs, this, &QWidget::close);
}

SplashWindow::~SplashWindow()
{
    if (m_mainWindow)
        m_mainWindow->update();
}

SplashWindow* SplashWindow::showSplash(QWidget* mainWindow)
{
    if (!g_splash) {
        g_splash = new SplashWindow(mainWindow);
        g_splash->show();
    }
    return g_splash;
}

SplashWindow* SplashWindow::current() { return g_splash; }

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

bool SplashWindow::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        QTimer::singleShot(0, this, &QWidget::close);
        break;
    default:
        break;
    }
    return false;
}

} // namespace vorpane
