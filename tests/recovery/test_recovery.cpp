// Nothing lost: the recovery copies of modified documents, their removal on a clean close and a
// clean exit, and the offer to restore them after a crash.

#include "desktop_fixture.h"
#include "documents/script_edit_view.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "recorded_texts.h"
#include "shell/main_frame.h"
#include "shell/recovery.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <Qsci/qsciscintilla.h>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// The copies in the session folders under the recovery root, by name.
QStringList copiesUnder(const QString& root)
{
    QStringList names;
    for (const QFileInfo& session : QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& name : QDir(session.absoluteFilePath()).entryList({ "*.vsc", "*.inv", "*.vis" }))
            names << name;
    return names;
}

QStringList sessions(const QString& root) { return QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

void typeInto(Document* document, const QString& text)
{
    auto* view = qobject_cast<CScriptEditView*>(document->views().value(0));
    QVERIFY(view);
    view->editor()->append(text);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void intervalFromProfile_data();
    void intervalFromProfile();
    void copiesOfModifiedDocumentsOnly();
    void timerWritesCopies();
    void cleanCloseRemovesCopies();
    void recoveryAfterCrash_data();
    void recoveryAfterCrash();
    void runningSessionIsNotOffered();
    void damagedFoldersAreDropped();
    void failedCopyIsToldOnce();
};

void TestRecovery::intervalFromProfile_data()
{
    QTest::addColumn<int>("stored"); // -1: none
    QTest::addColumn<int>("minutes");
    QTest::newRow("default") << -1 << 2;
    QTest::newRow("five") << 5 << 5;
    QTest::newRow("off") << 0 << 0;
    QTest::newRow("negative is off") << -3 << 0;
    QTest::newRow("years are a day") << 2000000000 << 24 * 60;
}

void TestRecovery::intervalFromProfile()
{
    QFETCH(int, stored);
    DesktopFixture fixture;
    if (stored != -1)
        Profile::writeInt("Display", "Autosave", stored);
    CMainFrame frame;
    QTEST(int(std::chrono::duration_cast<std::chrono::minutes>(frame.recovery().interval()).count()),
        "minutes");
}

void TestRecovery::copiesOfModifiedDocumentsOnly()
{
    DesktopFixture fixture;
    CMainFrame frame;
    const QString saved = fixture.path("saved.vsc");
    const QByteArray original = "var a;\r\na = 1;\r\n";
    QVERIFY(writeAll(saved, original));
    Document* edited = frame.documents().openDocumentFile(saved);
    typeInto(edited, "output.write(a);\n");
    Document* untouched
        = frame.documents().openDocumentFile(fixture.copy(dataFile("examples/detective_1890.inv")));
    QVERIFY(untouched && !untouched->isModified());
    Document* investigator
        = frame.documents().openDocumentFile(fixture.copy(dataFile("examples/medica_1890.inv")));
    investigator->setModified(true);
    frame.documents().newDocument("Script", " N. Script");
    typeInto(frame.documents().activeDocument(), "alert(1);");

    frame.recovery().saveCopies();
    const QString folder = frame.recovery().sessionFolder();
    QVERIFY(!folder.isEmpty());
    QCOMPARE(copiesUnder(fixture.path("recovery")).size(), 3);
    // Each copy holds what a save would write; the user's file is as it was.
    QCOMPARE(readAll(QDir(folder).filePath("1.vsc")), QByteArray::fromStdString(edited->fileBytes()));
    QCOMPARE(readAll(QDir(folder).filePath("2.inv")), QByteArray::fromStdString(investigator->fileBytes()));
    QCOMPARE(readAll(saved), original);
    const QByteArray index = readAll(QDir(folder).filePath("index.json"));
    QVERIFY(index.contains("saved.vsc"));
    QVERIFY(index.contains("\"type\": \"Investigator\""));
    QVERIFY(index.contains("\" N. Script\""));
    QVERIFY(!index.contains("detective"));

    // Saved documents lose their copies at once.
    QVERIFY(frame.documents().saveDocument(*edited));
    QVERIFY(!QFile::exists(QDir(folder).filePath("1.vsc")));
    QVERIFY(!readAll(QDir(folder).filePath("index.json")).contains("saved.vsc"));
}

void TestRecovery::timerWritesCopies()
{
    DesktopFixture fixture;
    CMainFrame frame;
    frame.documents().newDocument("Script");
    typeInto(frame.documents().activeDocument(), "alert(1);");
    frame.recovery().setInterval(std::chrono::milliseconds(20));
    QTRY_COMPARE(copiesUnder(fixture.path("recovery")), QStringList { "1.vsc" });
}

void TestRecovery::cleanCloseRemovesCopies()
{
    DesktopFixture fixture;
    auto frame = std::make_unique<CMainFrame>();
    DocumentManager& documents = frame->documents();
    Document* first = documents.newDocument("Script");
    typeInto(first, "alert(1);");
    Document* second = documents.newDocument("SheetScript");
    typeInto(second, "sheet.sheetsize(10.0, 10.0);");
    frame->recovery().saveCopies();
    QCOMPARE(copiesUnder(fixture.path("recovery")).size(), 2);

    fixture.ui.answers = { MsgResult::No };
    QVERIFY(documents.closeDocument(*first));
    // The window goes once the event loop runs, and the document with it.
    QTRY_COMPARE(copiesUnder(fixture.path("recovery")), QStringList { "2.vis" });

    // A clean exit takes the rest, folder and all.
    fixture.ui.answers = { MsgResult::No };
    QVERIFY(frame->close());
    QCOMPARE(sessions(fixture.path("recovery")), QStringList());
    frame.reset();
    QCOMPARE(sessions(fixture.path("recovery")), QStringList());
}

void TestRecovery::recoveryAfterCrash_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("restore") << true;
    QTest::newRow("discard") << false;
}

void TestRecovery::recoveryAfterCrash()
{
    QFETCH(bool, answer);
    DesktopFixture fixture;
    const QString saved = fixture.path("mine.vsc");
    const QByteArray original = "var a;\r\n";
    QVERIFY(writeAll(saved, original));
    QString savedTitle;
    QByteArray savedBytes;
    {
        CMainFrame crashed;
        Document* edited = crashed.documents().openDocumentFile(saved);
        typeInto(edited, "a = 2;\r\n");
        savedBytes = QByteArray::fromStdString(edited->fileBytes());
        Document* fresh = crashed.documents().newDocument("Script", " N. Script");
        typeInto(fresh, QString::fromUtf8("alert(\"\xc3\xa9\");"));
        crashed.recovery().saveCopies();
        // The frame goes without a clean exit.
    }
    QCOMPARE(copiesUnder(fixture.path("recovery")).size(), 2);

    CMainFrame frame;
    fixture.ui.yesNoAnswers = { answer };
    QCOMPARE(frame.recovery().offerRecovery(), answer ? 2 : 0);
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    const QString question = fromCp1252(fixture.ui.boxes.front().text);
    QVERIFY(question.startsWith("Vorpane se cerró sin guardar"));
    QVERIFY(question.contains("mine.vsc"));
    QVERIFY(question.contains("N. Script"));
    QVERIFY(question.contains(QString::fromUtf8("¿Recuperarlos?")));
    QCOMPARE(fixture.ui.boxes.front().buttons, MsgButtons::YesNo);
    // The crashed session's folder is gone either way; only the restored documents are copied again.
    QCOMPARE(copiesUnder(fixture.path("recovery")).size(), answer ? 2 : 0);
    QCOMPARE(readAll(saved), original);
    if (!answer) {
        QVERIFY(frame.documents().documents().isEmpty());
        return;
    }

    const QList<Document*> documents = frame.documents().documents();
    QCOMPARE(documents.size(), 2);
    Document* restored = frame.documents().documentForPath(saved);
    QVERIFY(restored);
    QVERIFY(restored->isModified());
    QCOMPARE(restored->title(), QString("mine.vsc"));
    QCOMPARE(QByteArray::fromStdString(restored->fileBytes()), savedBytes);
    Document* fresh = documents.at(0) == restored ? documents.at(1) : documents.at(0);
    QCOMPARE(fresh->title(), QString(" N. Script"));
    QVERIFY(fresh->path().isEmpty());
    QVERIFY(fresh->isModified());
    QCOMPARE(fresh->fileBytes(), std::string("alert(\"\xe9\");"));

    // Saving writes the user's own file.
    QVERIFY(frame.documents().saveDocument(*restored));
    QCOMPARE(readAll(saved), savedBytes);

    // Nothing is offered twice.
    fixture.ui.boxes.clear();
    QCOMPARE(frame.recovery().offerRecovery(), 0);
    QVERIFY(fixture.ui.boxes.empty());
}

void TestRecovery::runningSessionIsNotOffered()
{
    DesktopFixture fixture;
    CMainFrame frame;
    frame.documents().newDocument("Script");
    typeInto(frame.documents().activeDocument(), "alert(1);");
    frame.recovery().saveCopies();
    // A second program's manager sees the first one's folder locked.
    RecoveryManager second(frame.documents());
    QVERIFY(second.leftovers().isEmpty());
    QCOMPARE(second.offerRecovery(), 0);
    QVERIFY(fixture.ui.boxes.empty());
    QCOMPARE(copiesUnder(fixture.path("recovery")).size(), 1);
}

void TestRecovery::damagedFoldersAreDropped()
{
    DesktopFixture fixture;
    const QDir root(fixture.path("recovery"));
    QVERIFY(root.mkpath("garbage"));
    QVERIFY(writeAll(root.filePath("garbage/index.json"), "{ not json"));
    QVERIFY(writeAll(root.filePath("garbage/1.vsc"), "alert(1);"));
    QVERIFY(root.mkpath("escaping"));
    QVERIFY(writeAll(fixture.path("precious.vsc"), "mine"));
    QVERIFY(writeAll(root.filePath("escaping/index.json"),
        "{\"documents\": [{\"file\": \"../../precious.vsc\", \"type\": \"Script\", \"title\": \"x\"}]}"));
    QVERIFY(root.mkpath("unknown type"));
    QVERIFY(writeAll(root.filePath("unknown type/1.vsc"), "alert(1);"));
    QVERIFY(writeAll(root.filePath("unknown type/index.json"),
        "{\"documents\": [{\"file\": \"1.vsc\", \"type\": \"Nothing\", \"title\": \"y\"}]}"));
    CMainFrame frame;
    QCOMPARE(frame.recovery().offerRecovery(), 0);
    QCOMPARE(fixture.ui.boxes.size(), size_t(1)); // the one readable entry was offered
    QCOMPARE(readAll(fixture.path("precious.vsc")), QByteArray("mine"));
    QCOMPARE(sessions(fixture.path("recovery")), QStringList());
}

// A copy that cannot be written is told once (status bar and output bar) and tried again at
// every turn; once it can be written it is, into a folder only the user may enter.
void TestRecovery::failedCopyIsToldOnce()
{
    DesktopFixture fixture;
    CMainFrame frame;
    QVERIFY(writeAll(fixture.path("recovery"), "a file in the way"));
    Document* script = frame.documents().newDocument("Script", " N. Script");
    typeInto(script, "alert(1);");
    frame.recovery().saveCopies();
    frame.recovery().saveCopies();
    const auto told = [&] {
        return outputLines(fixture.ui)
            .filter(QString::fromUtf8("No se pudo escribir la copia de recuperación"));
    };
    QCOMPARE(told().size(), 1);
    QVERIFY(fromCp1252(fixture.ui.statusText).startsWith(told().front()));
    QVERIFY(fixture.ui.output().isVisible());

    QVERIFY(QFile::remove(fixture.path("recovery")));
    frame.recovery().saveCopies();
    QCOMPARE(copiesUnder(fixture.path("recovery")).size(), 1);
    for (const QString& folder : { fixture.path("recovery"), frame.recovery().sessionFolder() })
        QCOMPARE(QFileInfo(folder).permissions() & 0x0077, QFile::Permissions());
    QCOMPARE(told().size(), 1);
    frame.recovery().endSession();
}

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
