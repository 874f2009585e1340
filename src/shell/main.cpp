// Vorpane, the desktop application.

#include "docview/commands.h"
#include "docview/resources.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/random.h"
#include "platform/ui_services.h"
#include "shell/command_line.h"
#include "shell/desktop_ui.h"
#include "shell/main_frame.h"
#include "shell/recovery.h"
#include "shell/single_instance.h"
#include "shell/splash_window.h"
#include "shell/startup.h"
#include "shell/startup_probe.h"
#include "shell/tip_panel.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

namespace {

// Qt's own dialogs and buttons in Spanish.
void loadQtTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
}

} // namespace

int main(int argc, char** argv)
{
    // --help, --version and wrong usage answer before anything needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const vorpane::CommandLine line = vorpane::CommandLine::parse(arguments);
    if (line.help || line.version) {
        const QString text = line.help ? vorpane::CommandLine::helpText()
                                       : QStringLiteral("vorpane %1\n").arg(QStringLiteral(VORPANE_VERSION));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!line.ok()) {
        std::fprintf(stderr, "vorpane: %s\n%s", line.error.toLocal8Bit().constData(),
            vorpane::CommandLine::helpText().toLocal8Bit().constData());
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Merrin"));
    QApplication::setApplicationName(QStringLiteral("Vorpane"));
    QApplication::setApplicationVersion(QStringLiteral(VORPANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vorpane"));
    loadQtTranslations(app);
    const bool splash = line.splash && line.printFile.isEmpty();
    vorpane::seedRandom(line.seed ? *line.seed : vorpane::tickCount());
    if (!line.settingsFile.isEmpty())
        vorpane::setProfilePath(line.settingsFile.toStdString());
    // Before anything writes a setting: a garbled file is copied aside while it is still whole.
    const std::string profileWarning = vorpane::profileWarningOnce();
    if (!line.dataDir.isEmpty())
        vorpane::setProgramFolder(QFile::encodeName(line.dataDir).toStdString());
    QApplication::setWindowIcon(vorpane::resourceIcon(QStringLiteral(":/icons/vorpane.svg")));

    // A program already running takes the files and comes to the front.
    vorpane::SingleInstance instance;
    const bool handsOver = !line.files.isEmpty() && !line.newInvestigator && line.printFile.isEmpty();
    if (handsOver && instance.handOver(line.files))
        return 0;

    // The services first: the frame's output window shows their output lines, and must not outlive them.
    vorpane::DesktopUi desktop;
    vorpane::installUi(&desktop);
    vorpane::CMainFrame frame;
    desktop.setMainWindow(&frame);
    if (splash) {
        vorpane::SplashWindow::showSplash(&frame);
        frame.tipPanel()->showAtStartUp();
    }
    if (line.printFile.isEmpty() && instance.listen())
        QObject::connect(
            &instance, &vorpane::SingleInstance::filesReceived, &frame, &vorpane::CMainFrame::openFiles);

    const vorpane::StartupOutcome outcome = vorpane::processCommandLine(frame, line);
    if (!outcome.ok || outcome.quit) {
        vorpane::installUi(nullptr);
        return outcome.ok ? 0 : 1;
    }
    frame.showAtStart();
    // A damaged or read-only settings file does not stop the program; the user hears of it once.
    if (!profileWarning.empty())
        vorpane::showMessage(profileWarning, {}, vorpane::MsgIcon::Warning);
    // After a crash: the documents it left unsaved, restored when the user wants them.
    const int recovered = frame.recovery().offerRecovery();
    vorpane::quitWhenIdleIfAsked();
    if (outcome.newDocumentDialog && recovered == 0)
        QTimer::singleShot(0, &frame, [&frame] { frame.execute(QString::fromLatin1(vorpane::cmd::New)); });
    const int status = app.exec();
    vorpane::installUi(nullptr);
    return status;
}
