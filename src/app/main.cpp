// Vorpane, the desktop application.

#include "app/desktop_ui.h"
#include "app/document_manager.h"
#include "app/main_frame.h"
#include "app/recovery.h"
#include "app/startup_probe.h"
#include "platform/random.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Merrin"));
    QApplication::setApplicationName(QStringLiteral("Vorpane"));
    vorpane::seedRandom(vorpane::tickCount());

    // The services first: the frame's output window shows their output lines, and outlives them not.
    vorpane::DesktopUi desktop;
    vorpane::installUi(&desktop);
    vorpane::CMainFrame frame;
    desktop.setMainWindow(&frame);
    for (const QString& file : QApplication::arguments().mid(1))
        frame.documents().openDocumentFile(file);
    frame.showAtStart();
    frame.recovery().offerRecovery();
    vorpane::quitWhenIdleIfAsked();
    const int status = app.exec();
    vorpane::installUi(nullptr);
    return status;
}
