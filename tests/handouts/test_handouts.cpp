// Handouts: the .zho file byte for byte, what the reader accepts and refuses, the undo history, the
// field table over the document and the document's change hooks.

#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/recording_ui.h"
#include "sheet/field_actions.h"
#include "sheet/handout_file.h"
#include "sheet/handout_file_data.h"
#include "sheet/handout_sheet.h"
#include "sheet/handout_sheet_model.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using script::ScriptValue;

Q_DECLARE_METATYPE(std::string)

namespace {

QString fixture(const char* name)
{
    return QString::fromLocal8Bit(qgetenv("VORPANE_TEST_DATA")) + QStringLiteral("/handouts/")
        + QLatin1String(name);
}

std::string fixturePath(const char* name) { return QFile::encodeName(fixture(name)).toStdString(); }

std::string fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

} // namespace

class TestHandouts : public QObject {
    Q_OBJECT

private slots:
    void init();

    void writtenBytes();
    void roundTripKeepsEveryValue_data();
    void roundTripKeepsEveryValue();
    void keys_data();
    void keys();
    void unknownSectionIsSkipped();
    void refusedFiles_data();
    void refusedFiles();
    void brokenPairEndsItsBlock();
    void saveThroughTemporaryFile();
    void history();
    void fieldTable_data();
    void fieldTable();
    void scriptWritesBypassTheHooks();
    void sheetChangesGoThroughTheHooks();
    void documentOpenAndUndo();
    void listenersMayChangeWhileNotified();
    void renderedPage();

private:
    ScopedRecordingUi m_ui;
    QTemporaryDir m_dir;
};

void TestHandouts::init()
{
    m_ui.reset();
    setProfilePath(m_dir.filePath(QStringLiteral("profile.ini")).toStdString());
}

void TestHandouts::writtenBytes()
{
    QCOMPARE(
        HandoutFile::text(HandoutFileData()), std::string("Handout { \r\n\t\"Template\" \"\"\r\n}\r\n\r\n"));
    HandoutFileData doc;
    doc.templateName = "carta";
    doc.texts[2] = "Dijo \"ven\"";
    doc.texts[0] = "uno\r\ndos";
    doc.pictures[4] = "sello.gif";
    doc.texts[49] = "fin";
    QCOMPARE(HandoutFile::text(doc),
        std::string("Handout { \r\n\t\"Template\" \"carta\"\r\n\t\"Text0\" \"uno\r\ndos\"\r\n"
                    "\t\"Text2\" \"Dijo 'ven'\"\r\n\t\"Text49\" \"fin\"\r\n\t\"Picture4\" "
                    "\"sello.gif\"\r\n}\r\n\r\n"));
}

void TestHandouts::roundTripKeepsEveryValue_data()
{
    QTest::addColumn<std::string>("value");
    QTest::addColumn<std::string>("readBack");
    QTest::newRow("plain") << std::string("Querido Ernesto:") << std::string("Querido Ernesto:");
    QTest::newRow("double quote") << std::string("el \"faro\"") << std::string("el 'faro'");
    QTest::newRow("line breaks") << std::string("a\r\n\r\nb\nc") << std::string("a\r\n\r\nb\nc");
    QTest::newRow("closing brace") << std::string("x } y") << std::string("x } y");
    QTest::newRow("opening brace") << std::string("{ {") << std::string("{ {");
    QTest::newRow("comment marks") << std::string("http://faro") << std::string("http://faro");
    QTest::newRow("NUL byte") << std::string("a\0b", 3) << std::string("ab");
    QTest::newRow("Windows-1252") << std::string("Aldeán \x80 \xff") << std::string("Aldeán \x80 \xff");
}

void TestHandouts::roundTripKeepsEveryValue()
{
    QFETCH(std::string, value);
    QFETCH(std::string, readBack);
    HandoutFileData doc;
    doc.texts[7] = value;
    doc.texts[8] = "after";
    doc.pictures[1] = value;
    doc.templateName = "nota";
    HandoutFileData again;
    QVERIFY(HandoutFile::read(HandoutFile::text(doc), again));
    QCOMPARE(again.texts[7], readBack);
    QCOMPARE(again.texts[8], std::string("after"));
    QCOMPARE(again.pictures[1], readBack);
    QCOMPARE(again.templateName, std::string("nota"));
    QVERIFY(m_ui.boxes.empty());
}

void TestHandouts::keys_data()
{
    QTest::addColumn<std::string>("key");
    QTest::addColumn<int>("text"); // -1: no text set
    QTest::addColumn<int>("picture");
    QTest::newRow("text7") << std::string("text7") << 7 << -1;
    QTest::newRow("TEXT7") << std::string("TEXT7") << 7 << -1;
    QTest::newRow("Text07") << std::string("Text07") << 7 << -1;
    QTest::newRow("Text50") << std::string("Text50") << -1 << -1;
    QTest::newRow("Text-1") << std::string("Text-1") << -1 << -1;
    QTest::newRow("picture4") << std::string("picture4") << -1 << 4;
    QTest::newRow("Picture5") << std::string("Picture5") << -1 << -1;
}

void TestHandouts::keys()
{
    QFETCH(std::string, key);
    QFETCH(int, text);
    QFETCH(int, picture);
    HandoutFileData doc;
    QVERIFY(HandoutFile::read("handout {\n\t\"" + key + "\" \"v\"\n}\n", doc));
    for (int i = 0; i < kHandoutTextCount; ++i)
        QCOMPARE(doc.texts[i], std::string(i == text ? "v" : ""));
    for (int i = 0; i < kHandoutPictureCount; ++i)
        QCOMPARE(doc.pictures[i], std::string(i == picture ? "v" : ""));
    QVERIFY(doc.templateName.empty());
}

void TestHandouts::unknownSectionIsSkipped()
{
    HandoutFileData doc;
    QVERIFY(HandoutFile::load(fixturePath("two_sections.zho"), doc));
    QCOMPARE(m_ui.boxes.size(), size_t(1));
    QCOMPARE(m_ui.boxes[0].text, std::string("Warning Unknown section type: Investigator"));
    QCOMPARE(m_ui.boxes[0].icon, MsgIcon::None);
    QCOMPARE(doc.templateName, std::string("recorte"));
    QCOMPARE(doc.texts[1], cp1252("EL FARO DE PUERTO ALDEÁN, APAGADO"));
    QVERIFY(doc.texts[0].empty()); // the other section's pairs are not the handout's
}

void TestHandouts::refusedFiles_data()
{
    QTest::addColumn<std::string>("bytes"); // "<missing>": no file at all
    QTest::addColumn<std::string>("message");
    QTest::newRow("missing") << std::string("<missing>") << std::string("Cannot open handout file");
    QTest::newRow("empty") << std::string() << std::string("File is empty");
    QTest::newRow("no brace")
        << std::string("Handout \"Text0\" \"x\"")
        << std::string("Parse Error:\n\"Text0\" \"x\"\nExpected opening {\nInvalid file format");
    QTest::newRow("no closing brace")
        << std::string("Handout { \"Text0\" \"x\"\r\n")
        << std::string(
               "Parse Error:\n{ \"Text0\" \"x\"\nNo closing } to match opening {\nInvalid file format");
    QTest::newRow("word without block")
        << std::string("Handout { }\r\nsuelto") << std::string("Invalid file format");
}

void TestHandouts::refusedFiles()
{
    QFETCH(std::string, bytes);
    QFETCH(std::string, message);
    const QString path = m_dir.filePath(QStringLiteral("refused.zho"));
    QFile::remove(path);
    if (bytes != "<missing>") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }
    HandoutFileData doc;
    doc.texts[0] = "kept";
    QVERIFY(!HandoutFile::load(QFile::encodeName(path).toStdString(), doc));
    QCOMPARE(m_ui.texts(), message);
    QCOMPARE(m_ui.boxes.back().icon, MsgIcon::Error);
    QCOMPARE(doc.texts[0], std::string("kept"));
}

void TestHandouts::brokenPairEndsItsBlock()
{
    HandoutFileData doc;
    QVERIFY(HandoutFile::read("Handout {\r\n \"Text0\" \"a\"\r\n \"Text1\" b \"Text2\" \"c\"\r\n}\r\n"
                              "Handout { \"Text3\" \"d\" }",
        doc));
    QCOMPARE(doc.texts[0], std::string("a"));
    QVERIFY(doc.texts[2].empty()); // the rest of the broken block is ignored
    QCOMPARE(doc.texts[3], std::string("d")); // later sections still load
    QCOMPARE(m_ui.boxes.size(), size_t(1));
    QVERIFY(m_ui.boxes[0].text.starts_with("Parse Error:"));
}

void TestHandouts::saveThroughTemporaryFile()
{
    HandoutFileData doc;
    doc.texts[0] = "nuevo";
    const QString path = m_dir.filePath(QStringLiteral("saved.zho"));
    QVERIFY(HandoutFile::save(QFile::encodeName(path).toStdString(), doc));
    QCOMPARE(fileBytes(path), HandoutFile::text(doc));

    // A folder that does not exist: reported, nothing written.
    const std::string missing
        = QFile::encodeName(m_dir.filePath(QStringLiteral("no/such.zho"))).toStdString();
    QVERIFY(!HandoutFile::save(missing, doc));
    QCOMPARE(m_ui.texts(), std::string("Cannot write handout file"));
}

void TestHandouts::history()
{
    HandoutFileData doc;
    for (int i = 1; i <= 6; ++i) {
        doc.checkpoint();
        doc.texts[0] = std::to_string(i);
    }
    QCOMPARE(doc.undoDepth(), kHandoutHistoryDepth);
    int undone = 0;
    while (doc.undo())
        ++undone;
    QCOMPARE(undone, 5);
    QCOMPARE(doc.texts[0], std::string("1")); // the state before the first change is gone
    QCOMPARE(doc.redoDepth(), 5);
    QVERIFY(doc.redo());
    QCOMPARE(doc.texts[0], std::string("2"));

    // A new change empties the redo list; the template is not part of a snapshot.
    doc.templateName = "carta";
    doc.checkpoint();
    doc.templateName = "nota";
    QVERIFY(!doc.canRedo());
    QVERIFY(doc.undo());
    QCOMPARE(doc.texts[0], std::string("2"));
    QCOMPARE(doc.templateName, std::string("nota"));
}

void TestHandouts::fieldTable_data()
{
    QTest::addColumn<std::string>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("flags");
    QTest::newRow("text0") << std::string("text0") << -1 << 0x0E;
    QTest::newRow("text49") << std::string("TEXT49") << -50 << 0x0E;
    QTest::newRow("picture0") << std::string("picture0") << -51 << 0x86;
    QTest::newRow("picture4") << std::string("picture4") << -55 << 0x86;
}

void TestHandouts::fieldTable()
{
    QFETCH(std::string, name);
    QFETCH(int, id);
    QFETCH(int, flags);
    HandoutSheetModel document;
    SheetLayout layout;
    HandoutSheet sheet(layout, document);
    const SheetField* field = layout.findFieldByName(name);
    QVERIFY(field);
    QCOMPARE(field->id().toInteger(), id);
    QCOMPARE(int(field->flags()), flags);
    QCOMPARE(layout.fields().size(), size_t(kHandoutTextCount + kHandoutPictureCount));
}

void TestHandouts::scriptWritesBypassTheHooks()
{
    HandoutSheetModel document;
    SheetLayout layout;
    HandoutSheet sheet(layout, document);
    int notifications = 0;
    document.subscribe([&](DocumentChange) { ++notifications; });
    QVERIFY(runSheetScriptText(
        "field.setfieldvalue(field.text3, \"escrito\");\n"
        "field.setfieldvalue(field.picture2, 42);\n"
        "if (field.getfieldvalue(field.text3) == \"escrito\") sheet.drawtext(1, 1, \"ok\", 0);\n",
        layout));
    QCOMPARE(document.handout().texts[3], std::string("escrito"));
    QCOMPARE(document.handout().pictures[2], std::string("42"));
    QCOMPARE(layout.itemCount(), size_t(1));
    QVERIFY(!document.isModified());
    QVERIFY(!document.canUndo());
    QCOMPARE(notifications, 0);
}

void TestHandouts::sheetChangesGoThroughTheHooks()
{
    HandoutSheetModel document;
    SheetLayout layout;
    HandoutSheet sheet(layout, document);
    std::vector<DocumentChange> changes;
    document.subscribe([&](DocumentChange change) { changes.push_back(change); });
    QVERIFY(runSheetScriptText("sheet.addfield(10, 10, 50, 20, field.text0);\n"
                               "sheet.addfield(10, 30, 50, 80, field.picture0);\n"
                               "sheet.addfield(10, 90, 50, 100, field.text1);\n",
        layout));
    PlacedField& text = *layout.placed()[0];
    QVERIFY(storeFieldValue(layout, text, ScriptValue("Querida Inés")));
    QVERIFY(storeFieldValue(layout, *layout.placed()[1], ScriptValue("faro.jpg")));
    QCOMPARE(document.handout().texts[0], std::string("Querida Inés"));
    QVERIFY(document.isModified());
    QCOMPARE(document.handout().undoDepth(), 2);
    QCOMPARE(changes,
        (std::vector<DocumentChange> {
            DocumentChange::ModifiedMark, DocumentChange::Values, DocumentChange::Values }));
    // Tab walks the text fields only.
    QCOMPARE(layout.moveToNextField(true), 0);
    QCOMPARE(layout.moveToNextField(true), 2);
    QCOMPARE(layout.moveToNextField(true), 0);

    changes.clear();
    QVERIFY(document.undo());
    QVERIFY(document.handout().pictures[0].empty());
    QCOMPARE(document.handout().texts[0], std::string("Querida Inés"));
    QCOMPARE(changes, std::vector<DocumentChange> { DocumentChange::Content });
}

void TestHandouts::documentOpenAndUndo()
{
    HandoutSheetModel document;
    QVERIFY(document.open(fixturePath("two_sections.zho")));
    QVERIFY(!document.isModified());
    QCOMPARE(document.handout().templateName, std::string("recorte"));
    QVERIFY(!document.open(fixturePath("no_such.zho")));
    QCOMPARE(document.handout().templateName, std::string("recorte"));
    const std::string out = QFile::encodeName(m_dir.filePath(QStringLiteral("out.zho"))).toStdString();
    QVERIFY(document.save(out));
    QCOMPARE(document.path(), out);
    HandoutFileData reread;
    QVERIFY(HandoutFile::load(out, reread));
    QCOMPARE(reread.snapshot(), document.handout().snapshot());
}

void TestHandouts::listenersMayChangeWhileNotified()
{
    HandoutSheetModel document;
    std::vector<DocumentChange> heard;
    int first = 0;
    first = document.subscribe([&](DocumentChange) {
        document.unsubscribe(first);
        document.setModified(true); // a nested notification
    });
    document.subscribe([&](DocumentChange change) { heard.push_back(change); });
    document.notify(DocumentChange::Values);
    document.notify(DocumentChange::Content);
    QCOMPARE(heard,
        (std::vector<DocumentChange> {
            DocumentChange::ModifiedMark, DocumentChange::Values, DocumentChange::Content }));
}

// The whole way from the file to the page: fields, script, painter.
void TestHandouts::renderedPage()
{
    HandoutSheetModel document;
    QVERIFY(document.open(fixturePath("page.zho")));
    SheetLayout layout;
    HandoutSheet sheet(layout, document);
    QVERIFY(runSheetScript(fixturePath("page.vhs"), layout));
    const QImage page = renderSheet(layout, 96, UserTextLook());
    if (qEnvironmentVariableIsSet("VORPANE_UPDATE_REFERENCES"))
        page.save(fixture("page.png"));
    QImage reference(fixture("page.png"));
    QVERIFY(!reference.isNull());
    QCOMPARE(page.size(), reference.size());
    // Small font differences between machines move a few pixels of text; missing or misplaced
    // content changes far more.
    int differing = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor a = page.pixelColor(x, y), b = reference.pixelColor(x, y);
            if (std::max({ std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                    std::abs(a.blue() - b.blue()) })
                > 64)
                ++differing;
        }
    }
    QVERIFY2(differing < page.width() * page.height() / 100, qPrintable(QString::number(differing)));
}

int main(int argc, char** argv)
{
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    QGuiApplication app(argc, argv);
    TestHandouts tests;
    return QTest::qExec(&tests, argc, argv);
}

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

#include "test_handouts.moc"
