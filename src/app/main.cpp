// Vorpane, the desktop application.

#include "app/desktop_ui.h"
#include "app/document_manager.h"
#include "app/main_frame.h"
#include "platform/random.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Merrin"));
    QApplication::setApplicationName(QStringLiteral("Vorpane"));
    vorpane::seedRandom(vorpane::tickCount());

    vorpane::CMainFrame frame;
    vorpane::DesktopUi desktop(&frame);
    vorpane::installUi(&desktop);
    for (const QString& file : QApplication::arguments().mid(1))
        frame.documents().openDocumentFile(file);
    frame.showAtStart();
    const int status = app.exec();
    vorpane::installUi(nullptr);
    return status;
}
