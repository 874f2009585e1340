// The desktop under load and under faults: an investigator far larger than players make, twenty
// documents open at once, saves that cannot be written, and a program killed in the middle of
// editing.

#include "desktop_fixture.h"
#include "documents/field_editor.h"
#include "documents/investigator_document.h"
#include "documents/investigator_view.h"
#include "documents/script_edit_view.h"
#include "documents/sheet_canvas.h"
#include "docview/commands.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "large_investigator.h"
#include "platform/profile.h"
#include "platform/recording_ui.h"
#include "sheet/sheet_field.h"
#include "sheet/sheet_layout.h"
#include "shell/main_frame.h"
#include "shell/recovery.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <Qsci/qsciscintilla.h>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

using namespace vorpane;
using namespace vorpane::test;

namespace {

constexpr int kSkills = 2000;
constexpr int kWeapons = 500;
// The child's autosave interval in the kill test, and how often it types a line.
constexpr int kAutosaveMs = 400;
constexpr int kTypingMs = 40;

// Sees the recovery timer go off (an application filter sees every timer event; the recovery
// timer is the one with the autosave interval) and calls `fired` before the copies are written.
class AutosaveWatch final : public QObject {
public:
    explicit AutosaveWatch(std::function<void()> fired)
        : m_fired(std::move(fired))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) {
            auto* timer = qobject_cast<QTimer*>(watched);
            if (timer && timer->interval() == kAutosaveMs)
                m_fired();
        }
        return false;
    }

private:
    std::function<void()> m_fired;
};

PlacedField* placementNamed(CScriptSheetView* view, const char* name)
{
    for (PlacedField* placement : view->layout().placed()) {
        if (placement->field->name() == name)
            return placement;
    }
    return nullptr;
}

void render(QWidget* widget)
{
    QImage target(widget->size(), QImage::Format_ARGB32_Premultiplied);
    widget->render(&target);
}

void typeInto(Document* document, const QString& text)
{
    auto* view = qobject_cast<CScriptEditView*>(document->views().value(0));
    QVERIFY(view);
    view->editor()->append(text);
}

// Closed windows are deleted, and their documents with them, once the event loop runs.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// RLIMIT_FSIZE for as long as it lives: writes past the limit fail with EFBIG, as on a full disk.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

// The child of killedWhileEditing: types a numbered line into a script every few milliseconds and
// logs it, until it is killed. Recovery copies every kAutosaveMs; after each copy the log gets
// "saved N", N being the last line the copy holds (written by the next typing tick, once the copy
// is on disk, so that a kill between the two only makes the log say less than the copy holds).
int editUntilKilled(const QString& folder, const QString& script)
{
    ScopedRecordingUi ui;
    setProfilePath(QDir(folder).filePath("settings.ini").toStdString());
    RecoveryManager::setRootFolder(QDir(folder).filePath("recovery"));
    CMainFrame frame;
    frame.recovery().setInterval(std::chrono::milliseconds(kAutosaveMs));
    Document* document = frame.documents().openDocumentFile(script);
    if (!document)
        return 3;
    const int log = ::open(QFile::encodeName(QDir(folder).filePath("typed.log")).constData(),
        O_WRONLY | O_CREAT | O_APPEND, 0644);
    int line = 0;
    int copied = -1; // the line at the autosave not yet logged
    AutosaveWatch watch([&] { copied = line; });
    const auto logEntry = [&](const QByteArray& entry) {
        // Unbuffered, so that the kill loses nothing of the log.
        if (::write(log, entry.constData(), size_t(entry.size())) != entry.size())
            QCoreApplication::exit(4);
    };
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        if (copied >= 0)
            logEntry("saved " + QByteArray::number(std::exchange(copied, -1)) + '\n');
        typeInto(document, QStringLiteral("linea %1;\n").arg(++line));
        logEntry(QByteArray::number(line) + '\n');
    });
    typing.start(kTypingMs);
    return QCoreApplication::exec();
}

// The typed lines and the autosaves of the child's log.
struct EditLog {
    int typed = 0;
    int saves = 0;
    int lastSaved = 0; // the last line of the last autosave logged
};

EditLog readEditLog(const QString& path)
{
    EditLog log;
    for (const QByteArray& entry : readAll(path).split('\n')) {
        if (entry.startsWith("saved ")) {
            ++log.saves;
            log.lastSaved = entry.mid(6).toInt();
        } else if (!entry.isEmpty()) {
            log.typed = entry.toInt();
        }
    }
    return log;
}

} // namespace

class TestStress : public QObject {
    Q_OBJECT
private slots:
    void largeInvestigator();
    void twentyDocuments();
    void failedSaveKeepsEverything_data();
    void failedSaveKeepsEverything();
    void killedWhileEditing();
};

void TestStress::largeInvestigator()
{
    DesktopFixture fixture;
    const QString path = fixture.path("grande.inv");
    QVERIFY(writeLargeInvestigator(QFile::encodeName(path).toStdString(), kSkills, kWeapons));
    CMainFrame frame;
    frame.resize(1280, 900);
    frame.show();

    QElapsedTimer clock;
    clock.start();
    Document* document = frame.documents().openDocumentFile(path);
    QVERIFY2(document, fixture.ui.texts().c_str());
    auto* view = qobject_cast<CInvestigatorView*>(document->views().value(0));
    QVERIFY(view);
    render(view->canvas()->viewport());
    const qint64 opened = clock.restart();
    const Investigator& investigator = qobject_cast<CInvestigatorDoc*>(document)->investigator();
    QCOMPARE(int(investigator.skills().size()), kSkills);
    QCOMPARE(int(investigator.firearms().size() + investigator.melee().size()), kWeapons);

    // Down the whole sheet and back, a page at a time.
    QScrollBar* bar = view->canvas()->verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
        bar->setValue(value);
        render(view->canvas()->viewport());
    }
    bar->setValue(0);
    const qint64 scrolled = clock.restart();

    PlacedField* name = placementNamed(view, "name");
    QVERIFY(name);
    view->fieldEditor()->startEditing(*name);
    auto* edit = qobject_cast<QLineEdit*>(view->fieldEditor()->editWidget());
    QVERIFY(edit);
    edit->setText(QStringLiteral("Leonor Grande"));
    edit->setModified(true);
    view->fieldEditor()->endEditing(true);
    render(view->canvas()->viewport());
    const qint64 edited = clock.restart();
    QVERIFY(document->isModified());

    QVERIFY(frame.documents().saveDocument(*document));
    const qint64 saved = clock.restart();
    QVERIFY(!document->isModified());
    qInfo("%d skills, %d weapons: open and paint %lld ms, scroll %lld ms, edit %lld ms, save %lld ms",
        kSkills, kWeapons, opened, scrolled, edited, saved);

    // Everything reads back.
    Investigator reread;
    std::string sheet;
    QVERIFY(InvestigatorFile::load(QFile::encodeName(path).toStdString(), reread, sheet));
    QCOMPARE(QString::fromLatin1(reread.Name.c_str()), QStringLiteral("Leonor Grande"));
    QCOMPARE(int(reread.skills().size()), kSkills);
    QCOMPARE(int(reread.firearms().size() + reread.melee().size()), kWeapons);
    QCOMPARE(reread.skills().back()->name(), std::string("Habilidad 2000"));
}

void TestStress::twentyDocuments()
{
    DesktopFixture fixture;
    CMainFrame frame;
    frame.resize(1280, 900);
    frame.show();
    QStringList files;
    for (const char* name : { "anticuaria_1920", "detective_1890", "medica_1890", "parapsicologo_1990",
             "periodista_1920", "profesora_1990" }) {
        files << fixture.copy(dataFile(QStringLiteral("examples/%1.inv").arg(name)));
        files << fixture.copy(
            dataFile(QStringLiteral("examples/%1.inv").arg(name)), QStringLiteral("%1-2.inv").arg(name));
    }
    for (const char* name :
        { "carta.zho", "nota.zho", "recorte.zho", "clasica.vis", "compacta.vis", "carta.vhs" })
        files << fixture.copy(dataFile(QString::fromLatin1(name)));
    for (const QString& file : files)
        QVERIFY2(frame.documents().openDocumentFile(file), qPrintable(file));
    frame.documents().newDocument("Script", " N. Script");
    frame.documents().newDocument("Script", " N. Script 2");
    QCOMPARE(frame.documents().documents().size(), 20);

    // Each window in turn comes to the front, paints and takes a change.
    QMdiArea* area = frame.findChild<QMdiArea*>();
    QVERIFY(area);
    QCOMPARE(area->subWindowList().size(), 20);
    for (int i = 0; i < 20; ++i) {
        area->activateNextSubWindow();
        QMdiSubWindow* window = area->activeSubWindow();
        QVERIFY(window);
        render(window);
        Document* active = frame.documents().activeDocument();
        QVERIFY(active);
        if (qobject_cast<CScriptEditView*>(active->views().value(0)))
            typeInto(active, QStringLiteral("alert(%1);\n").arg(i));
        else
            frame.execute(QString::fromLatin1(cmd::Refresh));
    }

    // Closing asks about each modified document; No drops the changes.
    for (int i = 0; i < 20; ++i)
        fixture.ui.answers.push_back(MsgResult::No);
    QVERIFY(frame.documents().closeAll());
    settle();
    QVERIFY(frame.documents().documents().isEmpty());
    QVERIFY(area->subWindowList().isEmpty());
}

void TestStress::failedSaveKeepsEverything_data()
{
    QTest::addColumn<QString>("file"); // of the data folder; empty: a new script
    QTest::addColumn<QString>("fault");
    for (const char* fault : { "full disk", "read-only folder", "folder in the way" }) {
        QTest::addRow("investigator, %s", fault) << "examples/detective_1890.inv" << fault;
        QTest::addRow("handout, %s", fault) << "carta.zho" << fault;
        QTest::addRow("sheet script, %s", fault) << "clasica.vis" << fault;
        QTest::addRow("script, %s", fault) << "" << fault;
    }
}

void TestStress::failedSaveKeepsEverything()
{
    QFETCH(QString, file);
    QFETCH(QString, fault);
    DesktopFixture fixture;
    QDir().mkdir(fixture.path("docs"));
    QString path;
    if (file.isEmpty()) {
        path = fixture.path("docs/mio.vsc");
        QVERIFY(writeAll(path, QByteArray("var a;\r\n").repeated(40)));
    } else {
        path = fixture.copy(dataFile(file), "docs/" + QFileInfo(file).fileName());
    }
    const QByteArray original = readAll(path);
    CMainFrame frame;
    Document* document = frame.documents().openDocumentFile(path);
    QVERIFY(document);
    if (qobject_cast<CScriptEditView*>(document->views().value(0)))
        typeInto(document, "alert(1);\n");
    else
        document->setModified(true);
    QVERIFY(document->isModified());

    bool saved = true;
    if (fault == "full disk") {
        FullDisk full(64);
        saved = frame.documents().saveDocument(*document);
    } else if (fault == "read-only folder") {
        if (geteuid() == 0) {
            // chmod does not stop root; nobody can make a file under /proc.
            fixture.dialogs.saveNames.push_back(QStringLiteral("/proc/") + QFileInfo(path).fileName());
            saved = frame.documents().saveDocumentAs(*document);
        } else {
            QFile::setPermissions(fixture.path("docs"), QFile::ReadOwner | QFile::ExeOwner);
            saved = frame.documents().saveDocument(*document);
            QFile::setPermissions(
                fixture.path("docs"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } else {
        const QString folder = fixture.path("docs/otra" + QFileInfo(path).suffix());
        QVERIFY(QDir().mkdir(folder));
        fixture.dialogs.saveNames.push_back(folder);
        saved = frame.documents().saveDocumentAs(*document);
    }

    QVERIFY(!saved);
    QVERIFY2(!fixture.ui.boxes.empty(), "a failed save is reported");
    QVERIFY(document->isModified());
    QCOMPARE(document->path(), path);
    QCOMPARE(readAll(path), original);
    // Nothing half-written is left beside the file.
    QCOMPARE(QDir(fixture.path("docs")).entryList(QDir::Files), QStringList { QFileInfo(path).fileName() });
    for (Document* open : frame.documents().documents())
        open->setModified(false);
}

void TestStress::killedWhileEditing()
{
    DesktopFixture fixture;
    const QString folder = fixture.path("killed");
    QVERIFY(QDir().mkdir(folder));
    const QString script = QDir(folder).filePath("mio.vsc");
    const QByteArray original = "var a;\r\n";
    QVERIFY(writeAll(script, original));

    // Killed after a number of autosaves and typed lines that a seed gives, so that a failure
    // replays: VORPANE_TEST_SEED=N.
    const quint32 seed = qEnvironmentVariableIsSet("VORPANE_TEST_SEED")
        ? quint32(qEnvironmentVariableIntValue("VORPANE_TEST_SEED"))
        : QRandomGenerator::global()->generate() % 100000;
    QRandomGenerator random(seed);
    const int killAfterSaves = 3 + int(random.bounded(3));
    const int killAfterLines = int(random.bounded(kAutosaveMs / kTypingMs));
    qInfo("seed %u: killed after %d autosaves and %d more lines (VORPANE_TEST_SEED=%u replays)", seed,
        killAfterSaves, killAfterLines, seed);

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), { "--edit-until-killed", folder, script });
    QVERIFY(child.waitForStarted());
    const QString logPath = QDir(folder).filePath("typed.log");
    const auto due = [&] {
        const EditLog log = readEditLog(logPath);
        return log.saves >= killAfterSaves && log.typed >= log.lastSaved + killAfterLines;
    };
    QTRY_VERIFY_WITH_TIMEOUT(due() || child.state() == QProcess::NotRunning, 60000);
    QCOMPARE(child.state(), QProcess::Running);
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const EditLog log = readEditLog(logPath);

    // The next start finds the copy: every line up to the last autosave before the kill at least,
    // in order and none missing, and nothing that was not typed.
    RecoveryManager::setRootFolder(QDir(folder).filePath("recovery"));
    QList<RecoveryManager::Entry> leftovers;
    QByteArray copyBytes;
    {
        // A look that claims the copy until it goes; the next frame offers it.
        CMainFrame look;
        leftovers = look.recovery().leftovers();
        QCOMPARE(leftovers.size(), 1);
        copyBytes = readAll(leftovers[0].copy);
    }
    QCOMPARE(leftovers[0].path, script);
    const QString copy = QString::fromLatin1(copyBytes);
    static const QRegularExpression numbered(QStringLiteral("linea (\\d+);"));
    int kept = 0;
    for (const QRegularExpressionMatch& match : numbered.globalMatch(copy)) {
        QCOMPARE(match.captured(1).toInt(), kept + 1); // in order, none missing
        kept = match.captured(1).toInt();
    }
    qInfo("%d lines typed, %d autosaves logged, the last with %d lines; the copy holds %d", log.typed,
        log.saves, log.lastSaved, kept);
    QVERIFY2(kept >= log.lastSaved,
        qPrintable(
            QStringLiteral("the copy holds %1 lines, the last autosave %2").arg(kept).arg(log.lastSaved)));
    QVERIFY(kept > 0);
    QVERIFY(kept <= log.typed);

    // Offered and taken: the document opens modified, as it was at the copy, under its own path.
    CMainFrame frame;
    fixture.ui.yesNoAnswers = { true };
    QCOMPARE(frame.recovery().offerRecovery(), 1);
    Document* restored = frame.documents().documents().value(0);
    QVERIFY(restored);
    QVERIFY(restored->isModified());
    QCOMPARE(restored->path(), script);
    QCOMPARE(QByteArray::fromStdString(restored->fileBytes()), copyBytes);
    QCOMPARE(readAll(script), original);
    restored->setModified(false);
    RecoveryManager::setRootFolder({});
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--edit-until-killed") == 0)
        return editUntilKilled(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestStress test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_stress.moc"
