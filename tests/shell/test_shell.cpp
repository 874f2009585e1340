// Start-up: the command line, handing files to a running program, what start-up does with the
// command line, and the new-document dialog (entries, descriptions, OK by tab, the remembered tab).

#include "desktop_fixture.h"
#include "documents/handout_document.h"
#include "documents/investigator_document.h"
#include "documents/script_edit_doc.h"
#include "documents/sheet_canvas.h"
#include "docview/commands.h"
#include "docview/doc_template.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"
#include "shell/new_document_dialog.h"
#include "shell/single_instance.h"
#include "shell/startup.h"
#include "wizard/new_investigator_wizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// A program folder of its own for the test's life.
class ProgramFolder {
public:
    ProgramFolder() { setProgramFolder(m_dir.path().toStdString()); }
    ~ProgramFolder() { setProgramFolder({}); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private:
    QTemporaryDir m_dir;
};

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void select(NewDocumentDialog& dialog, const QString& text)
{
    const QList<QListWidgetItem*> found = dialog.list()->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    dialog.list()->setCurrentItem(found.front());
}

QString lastBox(const RecordingUi& ui)
{
    return ui.boxes.empty() ? QString() : fromCp1252(ui.boxes.back().text);
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void init() { NewDocumentDialog::setRememberedTab(NewDocumentDialog::InvestigatorTab); }
    void commandLine_data();
    void commandLine();
    void handOverReachesRunningProgram();
    void malformedHandOverIsRefused_data();
    void malformedHandOverIsRefused();
    void handOverFromAnotherUserIsRefused();
    void silentConnectionIsDropped();
    void startUpByCommandLine_data();
    void startUpByCommandLine();
    void printWithoutPrinterSupportSaysSo();
    void garbledNumbersReadSane_data();
    void garbledNumbersReadSane();
    void windowAndStatusBarRemembered();
    void entriesOfRuleFiles();
    void noRuleFileWarns();
    void descriptionsByTab_data();
    void descriptionsByTab();
    void statusPaneShowsOneLine();
    void okOnInvestigatorTabs_data();
    void okOnInvestigatorTabs();
    void okOnHandoutTab();
    void okOnScriptTab_data();
    void okOnScriptTab();
    void scriptWithoutNameIsRefused();
    void fullWizardBoxOnlyOnFullTab();
    void tabIsRemembered();
};

void TestShell::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("summary");
    const auto row = [](const char* name, QStringList args, const char* summary) {
        QTest::newRow(name) << (QStringList { "vorpane" } + args) << QString::fromUtf8(summary);
    };
    row("nothing", {}, "dialog splash");
    row("files", { "a.inv", "b.zho" }, "files=a.inv,b.zho splash");
    row("options", { "--data", "/d", "--settings", "s.ini", "--seed", "42", "--nosplash", "x.vsc" },
        "data=/d settings=s.ini seed=42 files=x.vsc");
    row("new", { "--new", "default.rul", "1" }, "new=default.rul:1 splash");
    row("new with wizard and file", { "x.inv", "--new", "e.rul", "2", "--wizard" },
        "new=e.rul:2+wizard files=x.inv splash");
    row("print short", { "-p", "x.inv" }, "print=x.inv splash");
    row("print long", { "--print", "x.inv" }, "print=x.inv splash");
    row("help", { "--help" }, "help");
    row("version", { "--version" }, "version");
    row("era out of range", { "--new", "default.rul", "3" }, "error");
    row("era not a number", { "--new", "default.rul", "veinte" }, "error");
    row("new without era", { "--new", "default.rul" }, "error");
    row("wizard without new", { "--wizard" }, "error");
    row("bad seed", { "--seed", "-4" }, "error");
    row("unknown option", { "--colour" }, "error");
    row("missing value", { "--data" }, "error");
}

void TestShell::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, summary);
    const CommandLine line = CommandLine::parse(arguments);
    QStringList got;
    if (!line.ok()) {
        QVERIFY(!line.error.isEmpty());
        got << "error";
    } else if (line.help) {
        got << "help";
    } else if (line.version) {
        got << "version";
    } else {
        if (!line.dataDir.isEmpty())
            got << "data=" + line.dataDir;
        if (!line.settingsFile.isEmpty())
            got << "settings=" + line.settingsFile;
        if (line.seed)
            got << "seed=" + QString::number(*line.seed);
        if (line.newInvestigator)
            got << QString("new=%1:%2%3").arg(line.ruleFile).arg(line.era).arg(line.wizard ? "+wizard" : "");
        if (!line.printFile.isEmpty())
            got << "print=" + line.printFile;
        if (!line.files.isEmpty())
            got << "files=" + line.files.join(',');
        if (line.wantsNewDocumentDialog())
            got << "dialog";
        if (line.splash)
            got << "splash";
    }
    QCOMPARE(got.join(' '), summary);
}

void TestShell::handOverReachesRunningProgram()
{
    const QString name = QStringLiteral("vorpane-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(name);
    QVERIFY(running.listen());
    SingleInstance second(name);
    QVERIFY(!second.listen()); // one listens at a time
    QSignalSpy received(&running, &SingleInstance::filesReceived);

    bool handedOver = false;
    std::thread later([&] { handedOver = SingleInstance(name).handOver({ "/tmp/uno.inv", "dos.zho" }); });
    QTRY_COMPARE(received.count(), 1);
    later.join();
    QVERIFY(handedOver);
    const QStringList files = received.front().front().toStringList();
    QCOMPARE(files.size(), 2);
    QCOMPARE(files[0], QString("/tmp/uno.inv"));
    QVERIFY(QFileInfo(files[1]).isAbsolute());
    QVERIFY(files[1].endsWith("/dos.zho"));

    // No files: a liveness probe, answered by the event loop without opening anything.
    std::atomic<int> answered { -1 };
    std::thread probe([&] { answered = SingleInstance(name).handOver({}) ? 1 : 0; });
    QTRY_VERIFY(answered != -1);
    probe.join();
    QCOMPARE(answered.load(), 1);
    QCOMPARE(received.count(), 1);

    // Nobody listening: the files stay with the new start.
    QVERIFY(!SingleInstance(name + "-nobody").handOver({ "x.inv" }));
}

void TestShell::malformedHandOverIsRefused_data()
{
    QTest::addColumn<QByteArray>("message");
    const QByteArray good = SingleInstance::encode({ "a.inv" });
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << good.left(good.size() - 2);
    QTest::newRow("trailing bytes") << good + "x";
    QTest::newRow("wrong magic") << QByteArray::fromHex("0000000800000000ffffffff");
    QTest::newRow("huge size") << QByteArray::fromHex("7fffffff00");
    // A count of names far beyond what the message holds: refused without reserving room for it.
    QTest::newRow("huge count") << QByteArray::fromHex("0000000c565250317fffffff00000000");
    QTest::newRow("all-ones count") << QByteArray::fromHex("0000000c56525031fffffffd00000000");
    QTest::newRow("billions of names, a full message")
        << QByteArray::fromHex("000ffffc56525031f0000000") + QByteArray(0xffffc - 8, '\0');
    QTest::newRow("a name of 4 GB") << QByteArray::fromHex("0000000e56525031"
                                                           "00000001fffffffe0041");
    QTest::newRow("one file too many")
        << SingleInstance::encode(QStringList(SingleInstance::kMaxFiles + 1, "a"));
}

// Decoding in a child whose address space has little room beyond what it already uses: asking
// the allocator for more than the message holds ends the child instead of being quietly refused.
static int decodeWithinLittleMemory(const QByteArray& message)
{
#if defined(__SANITIZE_ADDRESS__)
    Q_UNUSED(message);
    return -2;
#else
    const pid_t child = fork();
    if (child == 0) {
        QFile status("/proc/self/statm");
        rlim_t pages = 0;
        if (status.open(QIODevice::ReadOnly))
            pages = status.readAll().split(' ').front().toULongLong();
        const rlim_t room = pages * rlim_t(sysconf(_SC_PAGESIZE)) + 64 * 1024 * 1024;
        const rlimit limit { room, room };
        setrlimit(RLIMIT_AS, &limit);
        _exit(SingleInstance::decode(message).has_value() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

void TestShell::malformedHandOverIsRefused()
{
    QFETCH(QByteArray, message);
    QVERIFY(!SingleInstance::decode(message).has_value());
    const int decoded = decodeWithinLittleMemory(message);
    if (decoded != -2)
        QCOMPARE(decoded, 0);
    QCOMPARE(*SingleInstance::decode(SingleInstance::encode({ "a", "b" })), QStringList({ "a", "b" }));
    const QStringList most(SingleInstance::kMaxFiles, "/tmp/x.inv");
    QCOMPARE(*SingleInstance::decode(SingleInstance::encode(most)), most);
}

// A socket another user can reach (its folder and the socket itself opened for the test): the
// program still takes nothing from that user.
void TestShell::handOverFromAnotherUserIsRefused()
{
    if (geteuid() != 0)
        QSKIP("connecting as another user needs root");
    QTemporaryDir dir;
    QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    const QString name = dir.filePath("vorpane-open");
    SingleInstance running(name);
    QVERIFY(running.listen());
    QVERIFY(chmod(QFile::encodeName(name).constData(), 0777) == 0);
    QSignalSpy received(&running, &SingleInstance::filesReceived);
    const QByteArray message = SingleInstance::encode({ "/tmp/ajeno.inv" });
    const QByteArray path = QFile::encodeName(name);
    const pid_t child = fork();
    if (child == 0) {
        // The stranger: connects, hands over, and reports whether anyone answered.
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            _exit(4);
        if (::write(fd, message.constData(), size_t(message.size())) != message.size())
            _exit(5);
        char answer = 0;
        _exit(::read(fd, &answer, 1) == 1 ? 1 : 0);
    }
    int status = -1;
    bool ended = false;
    QTRY_VERIFY(ended || (ended = waitpid(child, &status, WNOHANG) == child));
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(received.count(), 0);
}

void TestShell::silentConnectionIsDropped()
{
    const QString name = QStringLiteral("vorpane-silent-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(name);
    QVERIFY(running.listen());
    QLocalSocket silent;
    silent.connectToServer(running.name());
    QVERIFY(silent.waitForConnected(1000));
    QTRY_COMPARE_WITH_TIMEOUT(
        silent.state(), QLocalSocket::UnconnectedState, SingleInstance::kTimeoutMs + 2000);
}

void TestShell::startUpByCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QString>("titles");
    QTest::newRow("nothing: the dialog") << QStringList {} << true << true << "";
    QTest::newRow("a file: no dialog")
        << QStringList { "@detective_1890.inv" } << true << false << "detective_1890.inv";
    QTest::newRow("two files") << QStringList { "@detective_1890.inv", "@medica_1890.inv" } << true << false
                               << "detective_1890.inv,medica_1890.inv";
    QTest::newRow("--new") << QStringList { "--new", "default.rul", "1" } << true << false
                           << "Nueva Ficha PJ  ";
    QTest::newRow("a missing file fails") << QStringList { "/nonexistent/x.inv" } << false << false << "";
    QTest::newRow("one of two opens")
        << QStringList { "/nonexistent/x.inv", "@medica_1890.inv" } << true << false << "medica_1890.inv";
}

void TestShell::startUpByCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(bool, dialog);
    QFETCH(QString, titles);
    DesktopFixture fixture;
    for (QString& argument : arguments) {
        if (argument.startsWith('@'))
            argument = fixture.copy(dataFile("examples/" + argument.mid(1)));
    }
    CMainFrame frame;
    const StartupOutcome outcome
        = processCommandLine(frame, CommandLine::parse(QStringList { "vorpane" } + arguments));
    QCOMPARE(outcome.ok, ok);
    QCOMPARE(outcome.newDocumentDialog, dialog);
    QVERIFY(!outcome.quit);
    QStringList open;
    for (Document* document : frame.documents().documents())
        open << document->title();
    QCOMPARE(open.join(','), titles);
}

void TestShell::printWithoutPrinterSupportSaysSo()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString file = fixture.copy(dataFile("examples/detective_1890.inv"));
    const StartupOutcome outcome
        = processCommandLine(frame, CommandLine::parse({ "vorpane", "--print", file }));
    QVERIFY(outcome.quit);
    // Until a view prints without its dialog, the user hears why nothing came out.
    if (!outcome.ok)
        QCOMPARE(lastBox(fixture.ui),
            QString("Vorpane todavía no puede imprimir este documento sin el diálogo de impresión."));
}

void TestShell::garbledNumbersReadSane_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("fallback"); // the default the program reads it with
    QTest::addColumn<int>("read");
    QTest::newRow("zoom huge") << "Sheet"
                               << "Zoom" << QByteArray("99999") << 100 << 400;
    QTest::newRow("zoom negative") << "Sheet"
                                   << "Zoom" << QByteArray("-5") << 100 << 50;
    QTest::newRow("margin negative") << "Sheet"
                                     << "LeftMargin" << QByteArray("-2147483648") << 0 << 0;
    QTest::newRow("margin huge") << "Sheet"
                                 << "TopMargin" << QByteArray("2147483647") << 180 << 9990;
    QTest::newRow("margin not a number") << "Sheet"
                                         << "TopMargin" << QByteArray("1e9") << 180 << 180;
    QTest::newRow("editor font huge") << "Edit"
                                      << "FontSize" << QByteArray("99999999") << 15 << 96;
    QTest::newRow("output font past an int")
        << "Output"
        << "FontSize" << QByteArray("99999999999999999999") << -10 << -10;
    QTest::newRow("font weight negative") << "Output"
                                          << "FontWeight" << QByteArray("-700") << 0 << 0;
    QTest::newRow("colour negative") << "Output"
                                     << "BkColour" << QByteArray("-1") << 0xFFFFFF << 0;
    QTest::newRow("window far off") << "WindowPos"
                                    << "SkillInfoX" << QByteArray("-2147483647") << 0 << -32768;
    QTest::newRow("tip offset negative") << "Tips"
                                         << "FilePos" << QByteArray("-40") << 0 << 0;
    QTest::newRow("autosave huge") << "Display"
                                   << "Autosave" << QByteArray("1000000") << 2 << 24 * 60;
    QTest::newRow("flag") << "Wizard"
                          << "FullWiz" << QByteArray("7") << 1 << 1;
}

void TestShell::garbledNumbersReadSane()
{
    QFETCH(QString, section);
    QFETCH(QString, name);
    QFETCH(QByteArray, stored);
    QFETCH(int, fallback);
    DesktopFixture fixture;
    QVERIFY(writeAll(fixture.path("settings.ini"),
        "[" + section.toLatin1() + "]\n" + name.toLatin1() + "=" + stored
            + "\n[v3Bars-Frame]\nGeometry=////\n"));
    QTEST(Profile::readInt(section.toStdString(), name.toStdString(), fallback), "read");

    // A desktop start with it: a sheet and a script editor open and show.
    const QString script = fixture.path("prueba.vsc");
    QVERIFY(writeAll(script, "x = 1;\r\n"));
    CMainFrame frame;
    const StartupOutcome outcome = processCommandLine(frame,
        CommandLine::parse({ "vorpane", fixture.copy(dataFile("examples/detective_1890.inv")), script }));
    QVERIFY(outcome.ok);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.documents().documents().size(), 2);
    for (const SheetCanvas* canvas : frame.findChildren<SheetCanvas*>())
        QVERIFY(canvas->zoom() >= SheetCanvas::kMinZoom && canvas->zoom() <= SheetCanvas::kMaxZoom);
    QVERIFY(frame.width() < 100000 && frame.height() < 100000);
}

void TestShell::windowAndStatusBarRemembered()
{
    DesktopFixture fixture;
    {
        CMainFrame frame;
        frame.showAtStart();
        QVERIFY(frame.isMaximized()); // nothing stored yet
        QVERIFY(frame.statusBar()->isVisibleTo(&frame));
        frame.execute(cmd::StatusBar);
        QVERIFY(!frame.statusBar()->isVisibleTo(&frame));
        frame.showNormal();
        frame.setGeometry(40, 50, 700, 500);
        QVERIFY(frame.close());
    }
    CMainFrame frame;
    frame.showAtStart();
    QVERIFY(!frame.isMaximized());
    QCOMPARE(frame.size(), QSize(700, 500));
    QVERIFY(!frame.statusBar()->isVisibleTo(&frame));
}

void TestShell::entriesOfRuleFiles()
{
    DesktopFixture fixture;
    ProgramFolder folder;
    folder.write("default.rul", "_BEGIN SKILLS\r\n_END SKILLS\r\n");
    folder.write("eras.rul",
        QByteArray::fromStdString(cp1252("_BEGIN ERAS\r\n-\r\nAños veinte\r\nHoy en día\r\n_END ERAS\r\n")));
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    QCOMPARE(itemTexts(dialog.list()),
        QStringList(
            { "Años veinte", "default (1890s)", "default (1920s)", "default (1990s)", "Hoy en día" }));
    QVERIFY(fixture.ui.boxes.empty());
}

void TestShell::noRuleFileWarns()
{
    DesktopFixture fixture;
    ProgramFolder folder;
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    QCOMPARE(lastBox(fixture.ui),
        QString("¡No hay archivos de reglas en el directorio de Vorpane! Vorpane no puede continuar sin que "
                "haya al "
                "menos un archivo .rul.   "));
    QCOMPARE(int(fixture.ui.boxes.back().icon), int(MsgIcon::Warning));
    QCOMPARE(dialog.list()->count(), 0);
    dialog.accept();
    QCOMPARE(lastBox(fixture.ui), QString("You must select an item"));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isHidden() || !dialog.isVisible());
}

void TestShell::descriptionsByTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shortText");
    QTest::addColumn<QString>("longText");
    QTest::newRow("rule file") << 0 << "Veinte"
                               << "Veinte Detective Años 20"
                               << "Veinte Detective Años 20\r\n\r\nHecho para las pruebas.\r\n";
    QTest::newRow("rule file without credit") << 1 << "plain (1990s)"
                                              << "plain (1990s) Investigator "
                                              << "plain (1990s) Investigator \r\n\r\nVorpane v1.0 or v2.0 "
                                                 "rule file\nNo further information available";
    QTest::newRow("handout") << 2 << "carta"
                             << "carta"
                             << "Con esto creará un carta-ayuda.  ";
    QTest::newRow("existing script")
        << 3 << "hola"
        << "Inicia script  "
        << "Los scripts son usados para activar varias funciones de Vorpane. Cada uno es un "
           "archivo .vsc distinto.         ";
    QTest::newRow("new script")
        << 3 << " N. Script"
        << "Crea un nuevo Vorpane script"
        << "Crea un nuevo Vorpane script.\r\n\r\nEsto es un simple script de Vorpane. Una vez "
           "creado, aparecerá en la lista.         ";
    QTest::newRow("new sheet script")
        << 3 << "Nueva Ficha Investig. "
        << "Crea un nuevo script de Investigador   "
        << "Crea un nuevo script de Investigador   .\r\n\r\nEstos scripts se usan para definir el trazado de "
           "las ayudas "
           "de una ficha de investig. Carga o crea un nuevo invest. y selecciona el archivo en la barra de "
           "herramientas para verlo. ";
    QTest::newRow("new handout script")
        << 3 << "Nueva Ayuda         "
        << "Crea una nueva ayuda          "
        << "Crea una nueva ayuda          .\r\n\r\nEstos scripts se usan para definir el trazado de las "
           "ayudas. Carga "
           "o crea una ayuda y seleccionala en la barra de herramientas en la ficha para verla.         ";
}

namespace {

void writeDialogFolder(const ProgramFolder& folder)
{
    folder.write("veinte.rul",
        QByteArray::fromStdString(cp1252("_BEGIN ERAS\r\n-\r\nVeinte\r\n-\r\n_END ERAS\r\n"
                                         "_BEGIN KEYVALUEPAIRS\r\n\"InvestigatorName\" \"Detective\"\r\n"
                                         "\"ShortInfo\" \"Años 20\"\r\n_END KEYVALUEPAIRS\r\n"
                                         "_BEGIN CREDIT\r\nHecho para las pruebas.\r\n_END CREDIT\r\n")));
    folder.write("plain.rul", "_BEGIN SKILLS\r\n_END SKILLS\r\n");
    folder.write("carta.vhs", "sheet.sheetsize(100.0, 100.0);\r\n");
    folder.write("hola.vsc", "output.write(\"hola desde el script\");\r\n1;\r\n");
}

} // namespace

void TestShell::descriptionsByTab()
{
    QFETCH(int, tab);
    QFETCH(QString, item);
    QFETCH(QString, shortText);
    QFETCH(QString, longText);
    DesktopFixture fixture;
    ProgramFolder folder;
    writeDialogFolder(folder);
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    dialog.tabBar()->setCurrentIndex(tab);
    select(dialog, item);
    QCOMPARE(dialog.shortDescription(), shortText);
    QCOMPARE(frame.statusMessage(), shortText);
    dialog.showMoreInformation();
    QCOMPARE(lastBox(fixture.ui), longText);
    QCOMPARE(int(fixture.ui.boxes.back().icon), int(MsgIcon::Information));
}

// A script error comes in two lines; the pane shows them as one, and the desk keeps them whole.
void TestShell::statusPaneShowsOneLine()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString message = QStringLiteral("Line 37 : syntax error\nsheet");
    frame.setStatusMessage(message);
    QCOMPARE(frame.statusMessage(), message);
    QStringList shown;
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>())
        shown << label->text();
    QVERIFY2(shown.contains(QStringLiteral("Line 37 : syntax error sheet")), qPrintable(shown.join('|')));
}

void TestShell::okOnInvestigatorTabs_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("rolled at once") << 0;
    QTest::newRow("with the wizard") << 1;
}

void TestShell::okOnInvestigatorTabs()
{
    QFETCH(int, tab);
    DesktopFixture fixture;
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    dialog.tabBar()->setCurrentIndex(tab);
    QVERIFY(dialog.list()->count() > 0);
    const QString text = dialog.list()->item(0)->text();
    dialog.list()->setCurrentRow(0);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    if (tab == 1) {
        // The short wizard, walked to its end: rolls, personal details, finished.
        Profile::writeInt("Wizard", "FullWiz", 0);
        whenModal<CWizard_NewInvestigator>([](CWizard_NewInvestigator& wizard) {
            wizard.next();
            wizard.next();
            wizard.finish();
        });
    }
    dialog.performChoice();
    QCOMPARE(frame.documents().documents().size(), 1);
    auto* document = qobject_cast<CInvestigatorDoc*>(frame.documents().documents().front());
    QVERIFY(document);
    QVERIFY(!document->investigator().RuleFile.empty());
    QCOMPARE(document->isModified(), tab == 1);
    Q_UNUSED(text);
}

void TestShell::okOnHandoutTab()
{
    DesktopFixture fixture;
    ProgramFolder folder;
    writeDialogFolder(folder);
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    dialog.tabBar()->setCurrentIndex(NewDocumentDialog::HandoutTab);
    QCOMPARE(itemTexts(dialog.list()), QStringList { "carta" });
    dialog.accept();
    dialog.performChoice();
    auto* handout = qobject_cast<CHandoutDoc*>(frame.documents().activeDocument());
    QVERIFY(handout);
    QCOMPARE(handout->title(), QString("New carta"));
    QCOMPARE(handout->model().handout().templateName, std::string("carta"));
}

void TestShell::okOnScriptTab_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString sheet
        = "//new vorpane sheet script\n\nsheet.sheetsize( 188.0, 215.0 ); //normal page size\n";
    QTest::newRow("script")
        << " N. Script"
        << "Script"
        << " N. Script"
        << "//new vorpane script\n\noutput.show();\noutput.write( \"executing new vorpane "
           "script...\" );\n";
    QTest::newRow("sheet script") << "Nueva Ficha Investig. "
                                  << "SheetScript"
                                  << "Nueva Ficha Investig. " << sheet;
    QTest::newRow("handout script") << "Nueva Ayuda         "
                                    << "HandoutScript"
                                    << "New Handout" << sheet;
    QTest::newRow("existing script runs") << "hola"
                                          << ""
                                          << ""
                                          << "hola desde el script";
}

void TestShell::okOnScriptTab()
{
    QFETCH(QString, item);
    QFETCH(QString, type);
    QFETCH(QString, title);
    QFETCH(QString, text);
    DesktopFixture fixture;
    ProgramFolder folder;
    writeDialogFolder(folder);
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    dialog.tabBar()->setCurrentIndex(NewDocumentDialog::ScriptTab);
    QCOMPARE(itemTexts(dialog.list()),
        QStringList({ " N. Script", "hola", "Nueva Ayuda         ", "Nueva Ficha Investig. " }));
    select(dialog, item);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    dialog.performChoice();
    if (type.isEmpty()) {
        QVERIFY(frame.documents().documents().isEmpty());
        QVERIFY(!fixture.ui.output().lines().empty());
        QCOMPARE(fromCp1252(fixture.ui.output().lines().back()), text);
        return;
    }
    auto* script = qobject_cast<CScriptEditDoc*>(frame.documents().activeDocument());
    QVERIFY(script);
    QCOMPARE(script->docTemplate().typeName(), type);
    QCOMPARE(script->title(), title);
    QCOMPARE(script->text(), text);
    QVERIFY(!script->isModified());
}

void TestShell::scriptWithoutNameIsRefused()
{
    DesktopFixture fixture;
    ProgramFolder folder;
    folder.write(".vsc", "1;\r\n");
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    dialog.tabBar()->setCurrentIndex(NewDocumentDialog::ScriptTab);
    select(dialog, "");
    dialog.accept();
    QCOMPARE(lastBox(fixture.ui), QString("Error: Script has no name!"));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestShell::fullWizardBoxOnlyOnFullTab()
{
    DesktopFixture fixture;
    CMainFrame frame;
    NewDocumentDialog dialog(frame.documents(), &frame);
    QCheckBox* box = dialog.fullWizardBox();
    QVERIFY(box->isChecked()); // FullWiz defaults to 1
    for (int tab = 0; tab < NewDocumentDialog::TabCount; ++tab) {
        dialog.tabBar()->setCurrentIndex(tab);
        QCOMPARE(box->isEnabled(), tab == NewDocumentDialog::FullInvestigatorTab);
    }
    dialog.tabBar()->setCurrentIndex(NewDocumentDialog::FullInvestigatorTab);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(box->isEnabled() && box->isVisible());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    QVERIFY(!box->isChecked());
    QCOMPARE(Profile::readInt("Wizard", "FullWiz", -1), 0);
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(Profile::readInt("Wizard", "FullWiz", -1), 1);
}

void TestShell::tabIsRemembered()
{
    DesktopFixture fixture;
    CMainFrame frame;
    {
        NewDocumentDialog dialog(frame.documents(), &frame);
        QCOMPARE(dialog.tabBar()->currentIndex(), int(NewDocumentDialog::InvestigatorTab));
        dialog.tabBar()->setCurrentIndex(NewDocumentDialog::ScriptTab);
    }
    NewDocumentDialog again(frame.documents(), &frame);
    QCOMPARE(again.tabBar()->currentIndex(), int(NewDocumentDialog::ScriptTab));
    QCOMPARE(again.list()->count(),
        3 + int(QDir(QString::fromStdString(programFolder())).entryList({ "*.vsc" }).size()));
    QVERIFY(!again.fullWizardBox()->isEnabled());
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
