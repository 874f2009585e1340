// Vorpane, the desktop application.

#include "app/desktop_ui.h"
#include "app/main_window.h"
#include "platform/random.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Merrin"));
    QApplication::setApplicationName(QStringLiteral("Vorpane"));
    vorpane::seedRandom(vorpane::tickCount());

    vorpane::MainWindow window;
    vorpane::DesktopUi desktop(&window);
    vorpane::installUi(&desktop);
    window.showMaximized();
    const int status = app.exec();
    vorpane::installUi(nullptr);
    return status;
}
