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
    const QStringList args = QApplication::arguments();
    frame.showAtStart();
    if (args.size() > 3 && args[1] == "--new")
        frame.documents().createInvestigator(args[2].toStdString(), args[3].toInt(), args.contains("--wizard"));
    else
        for (const QString& file : args.mid(1))
            frame.documents().openDocumentFile(file);
    const int status = app.exec();
    vorpane::installUi(nullptr);
    return status;
}
