#include "shell/break_key_filter.h"

#include "platform/break_key.h"
#include "script/interpreter.h"

#include <QApplication>
#include <QKeyEvent>

namespace vorpane {

namespace {

BreakKeyFilter* g_filter = nullptr;

// The X keysym of Break, which Ctrl+Pause gives; Qt has no key code for it.
constexpr quint32 kBreakKeysym = 0xff6b;

} // namespace

BreakKeyFilter::BreakKeyFilter(QObject* parent)
    : QObject(parent)
{
    g_filter = this;
    qApp->installEventFilter(this);
    setBreakKeyPoll(&BreakKeyFilter::poll);
}

BreakKeyFilter::~BreakKeyFilter()
{
    if (g_filter == this) {
        setBreakKeyPoll(nullptr);
        g_filter = nullptr;
    }
}

bool BreakKeyFilter::isBreakKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers
        = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modifiers != Qt::ControlModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Pause:
    case Qt::Key_Cancel:
        return true;
    case 0:
    case Qt::Key_unknown:
        return event.nativeVirtualKey() == kBreakKeysym;
    default:
        return false;
    }
}

bool BreakKeyFilter::isUserInput(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::ContextMenu:
    case QEvent::Close:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::FileOpen:
        return true;
    default:
        return false;
    }
}

bool BreakKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        && isBreakKey(static_cast<const QKeyEvent&>(*event)) && script::scriptRunInProgress()) {
        if (event->type() == QEvent::KeyPress)
            pressBreakKey();
        return true;
    }
    if (m_polling && isUserInput(*event) && QApplication::activeModalWidget() == m_modalAtPoll)
        return true;
    return QObject::eventFilter(watched, event);
}

void BreakKeyFilter::poll()
{
    QPointer<BreakKeyFilter> filter = g_filter;
    if (!filter)
        return;
    filter->m_polling = true;
    filter->m_modalAtPoll = QApplication::activeModalWidget();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (filter)
        filter->m_polling = false;
}

} // namespace vorpane
