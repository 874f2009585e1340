#include "shell/startup_probe.h"

#include "docview/document_view.h"
#include "shell/main_frame.h"

#include <QAbstractEventDispatcher>
#include <QApplication>

namespace vorpane {

namespace {

class StartupProbe final : public QObject {
public:
    StartupProbe()
        : QObject(qApp)
    {
        qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &StartupProbe::idle);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_viewPainted) {
            CMainFrame* frame = CMainFrame::instance();
            DocumentView* view = frame ? frame->activeView() : nullptr;
            auto* widget = qobject_cast<QWidget*>(watched);
            if (view && widget && (widget == view || view->isAncestorOf(widget)))
                m_viewPainted = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void idle()
    {
        CMainFrame* frame = CMainFrame::instance();
        if (!frame || !frame->isVisible() || (frame->activeView() && !m_viewPainted))
            return;
        QCoreApplication::exit(0);
    }

    bool m_viewPainted = false;
};

} // namespace

void quitWhenIdleIfAsked()
{
    if (qEnvironmentVariableIntValue("VORPANE_QUIT_WHEN_IDLE") == 1)
        new StartupProbe;
}

} // namespace vorpane
