#include "rules/row_reader.h"
#include "rules/section_file.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

using namespace vorpane;
using namespace vorpane::test;

class TestSectionFile : public QObject {
    Q_OBJECT
private slots:
    void openFailures_data();
    void openFailures();
    void quietOpenShowsNothing();
    void sectionLookup_data();
    void sectionLookup();
    void sectionErrorsAreReported();
    void keyValueLookup_data();
    void keyValueLookup();
    void tokens_data();
    void tokens();
    void quotingErrors_data();
    void quotingErrors();
    void onlyFirstErrorIsShown();
    void errorExcerptIsBounded();
};

namespace {

const std::string kSample = fileText(R"(// a comment line
_BEGIN SKILLS
"05" 0 "Nadar" xxx
_END SKILLS
_BEGIN SKILLS_EXTRA
extra
_END SKILLS_EXTRA
_begin Mis_Notas
nota
_end Mis_Notas
_BEGIN KEYVALUEPAIRS
"Options" "uno.lst"
// comment between pairs
"options" "dos.lst"
"ShortInfo" "corto"
_END KEYVALUEPAIRS
)");

SectionFile sampleFile()
{
    SectionFile file;
    file.openText("sample.rul", kSample);
    return file;
}

void writeFile(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
}

} // namespace

void TestSectionFile::openFailures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // written unless null
    QTest::addColumn<qint64>("size"); // the file is grown (sparse) to this size when above 0
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing.rul" << QByteArray() << 0ll << "Cannot open file";
    QTest::newRow("empty") << "empty.rul" << QByteArray("") << 0ll << "File is empty";
    QTest::newRow("folder") << "." << QByteArray() << 0ll << "Cannot open file";
    QTest::newRow("too big") << "big.rul" << QByteArray("_BEGIN") << qint64(SectionFile::kMaxFileSize) + 1
                             << "Cannot allocate buffer";
}

void TestSectionFile::openFailures()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    if (!content.isNull())
        writeFile(path, content.toStdString());
    if (size > 0)
        QVERIFY(QFile::resize(path, size));
    ScopedRecordingUi ui;
    SectionFile sectionFile;
    QVERIFY(!sectionFile.open(path.toStdString()));
    QVERIFY(!sectionFile.isLoaded());
    QCOMPARE(boxTexts(ui).join(" | "), path + " - " + message);
    QCOMPARE(ui.boxes.front().icon, MsgIcon::Error);
}

void TestSectionFile::quietOpenShowsNothing()
{
    ScopedRecordingUi ui;
    SectionFile file;
    QVERIFY(!file.open("/nonexistent/file.lst", SectionFile::Report::Quiet));
    QVERIFY(
        !file.openText("big", std::string(SectionFile::kMaxFileSize + 1, 'x'), SectionFile::Report::Quiet));
    QVERIFY(ui.boxes.empty());
    QVERIFY(!file.openText("big", std::string(SectionFile::kMaxFileSize + 1, 'x')));
    QCOMPARE(boxTexts(ui).join(" | "), QString("big - Cannot allocate buffer"));
}

void TestSectionFile::sectionLookup_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray sample(kSample.c_str());
    QTest::newRow("exact") << sample << "SKILLS" << QByteArray("\"05\" 0 \"Nadar\" xxx\r\n");
    QTest::newRow("lower case request") << sample << "skills" << QByteArray("\"05\" 0 \"Nadar\" xxx\r\n");
    QTest::newRow("blank stands for underscore") << sample << "Mis Notas" << QByteArray("nota\r\n");
    QTest::newRow("absent") << sample << "OCCUPATIONS" << QByteArray();
    // Markers match as prefixes: the shorter name finds the longer section.
    QTest::newRow("prefix") << QByteArray("_BEGIN ABCD\nx\n_END ABCD\n_BEGIN ABC\ny\n_END ABC\n") << "ABC"
                            << QByteArray("x\n");
    QTest::newRow("first match wins")
        << QByteArray("_BEGIN A\n1\n_END A\n_BEGIN A\n2\n_END A\n") << "A" << QByteArray("1\n");
    QTest::newRow("marker inside a line") << QByteArray("x _BEGIN A\n1\n_END A") << "A" << QByteArray("1\n");
    QTest::newRow("first character exact") << QByteArray("-BEGIN A\n1\n_END A\n") << "A" << QByteArray();
    QTest::newRow("cr line ends") << QByteArray("_BEGIN A\r1\r_END A\r") << "A" << QByteArray("1\r");
    QTest::newRow("text ends at nul")
        << QByteArray("_BEGIN A\n1\n_END A") + QByteArray(1, '\0') + QByteArray("_BEGIN B\n2\n_END B\n")
        << "B" << QByteArray();
}

void TestSectionFile::sectionLookup()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QByteArray, expected);
    ScopedRecordingUi ui;
    SectionFile file;
    QVERIFY(file.openText("t", content.toStdString()));
    QCOMPARE(QByteArray::fromStdString(file.section(name.toStdString())), expected);
    QVERIFY(ui.boxes.empty());
}

void TestSectionFile::sectionErrorsAreReported()
{
    ScopedRecordingUi ui;
    SectionFile file;
    QVERIFY(file.openText("r.rul", "_BEGIN SKILLS\r\n\"05\" 0 \"Nadar\" xxx\r\n"));
    QCOMPARE(file.section("SKILLS"), std::string());
    QVERIFY(!file.findSection("SKILLS"));
    QCOMPARE(
        ui.boxes.front().text, std::string("r.rul - Could not find matching _END for section _BEGIN SKILLS"));
    QCOMPARE(ui.boxes.front().icon, MsgIcon::Error);
    ui.reset();
    QCOMPARE(file.findSection("OCCUPATIONS"), std::optional<std::string>(""));
    QVERIFY(ui.boxes.empty());
    QCOMPARE(SectionFile().section("SKILLS"), std::string());
    QCOMPARE(boxTexts(ui).join(" | "), QString("File not loaded"));
}

void TestSectionFile::keyValueLookup_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("messages");
    QTest::newRow("first of equal keys, any case") << QByteArray("KEYVALUEPAIRS") << "OPTIONS"
                                                   << "uno.lst"
                                                   << "";
    QTest::newRow("after a comment") << QByteArray("KEYVALUEPAIRS") << "shortinfo"
                                     << "corto"
                                     << "";
    QTest::newRow("missing key") << QByteArray("KEYVALUEPAIRS") << "DefaultScript"
                                 << "def"
                                 << "";
    QTest::newRow("missing section") << QByteArray("NOPE") << "Options"
                                     << "def"
                                     << "";
    QTest::newRow("pair cut short") << QByteArray("_BEGIN K\n\"a\" \"1\"\n\"b\"\n_END K\n") << "b"
                                    << "def"
                                    << "t - Unexpected end of keypair section";
    QTest::newRow("unclosed value") << QByteArray("_BEGIN K\n\"a\" \"1\n\"b\" \"2\"\n_END K\n") << "b"
                                    << "def"
                                    << "Parse Error:\n\"1\nNo closing \" to match opening \"";
}

void TestSectionFile::keyValueLookup()
{
    QFETCH(QByteArray, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(QString, messages);
    ScopedRecordingUi ui;
    SectionFile file;
    if (section.startsWith("_BEGIN")) {
        QVERIFY(file.openText("t", section.toStdString()));
        section = "K";
    } else {
        file = sampleFile();
    }
    QCOMPARE(QString::fromStdString(file.value(section.toStdString(), key.toStdString(), "def")), expected);
    QCOMPARE(boxTexts(ui).join(" | "), messages);
}

void TestSectionFile::tokens_data()
{
    // Each script is a row of tokens read as: q = quoted "", ( = parenthesised, { = brace block,
    // w = word, i = integer, p = peek, l = skip line, e = at end. Results are joined by '|'.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("exhausted");
    QTest::newRow("skill row") << QByteArray("\"05\" 0 \"Nadar\" xxx\r\n") << QByteArray("qiqwe")
                               << QByteArray("05|0|Nadar|xxx|1") << false;
    QTest::newRow("comments and blanks") << QByteArray("  // note\r\n\t\"a\" // tail\r\n// end")
                                         << QByteArray("qe") << QByteArray("a|1") << false;
    QTest::newRow("nested braces") << QByteArray("{a {b} c} x") << QByteArray("{w") << QByteArray("a {b} c|x")
                                   << false;
    QTest::newRow("parentheses") << QByteArray("(\"A\" 2 {\"B\"})") << QByteArray("(")
                                 << QByteArray("\"A\" 2 {\"B\"}") << false;
    QTest::newRow("comment marker inside quotes")
        << QByteArray("\"http://x\"") << QByteArray("q") << QByteArray("http://x") << false;
    QTest::newRow("peek skips comments")
        << QByteArray("// c\r\n  x--") << QByteArray("pw") << QByteArray("x|x--") << false;
    QTest::newRow("skip line") << QByteArray("a b c\nd") << QByteArray("wlw") << QByteArray("a||d") << false;
    QTest::newRow("word at end") << QByteArray("  // only a comment") << QByteArray("w") << QByteArray("")
                                 << true;
    QTest::newRow("quoted at end") << QByteArray("\"a\"") << QByteArray("qq") << QByteArray("a|") << true;
    QTest::newRow("peek at end") << QByteArray(" ") << QByteArray("pe") << QByteArray("|1") << false;
    QTest::newRow("integers") << QByteArray("-3 7abc xxx 99999999999999999999 -99999999999999999999")
                              << QByteArray("iiiii") << QByteArray("-3|7|0|2147483647|-2147483648") << false;
    QTest::newRow("empty quotes") << QByteArray("\"\" \"\"") << QByteArray("qqe") << QByteArray("||1")
                                  << false;
}

void TestSectionFile::tokens()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, expected);
    QFETCH(bool, exhausted);
    ScopedRecordingUi ui;
    RowReader reader(text.toStdString());
    QByteArrayList results;
    for (char op : script) {
        switch (op) {
        case 'q':
            results << QByteArray::fromStdString(reader.quoted());
            break;
        case '(':
            results << QByteArray::fromStdString(reader.quoted('(', ')'));
            break;
        case '{':
            results << QByteArray::fromStdString(reader.quoted('{', '}'));
            break;
        case 'w':
            results << QByteArray::fromStdString(reader.word());
            break;
        case 'i':
            results << QByteArray::number(reader.integer());
            break;
        case 'p': {
            const char c = reader.peek();
            results << (c ? QByteArray(1, c) : QByteArray());
            break;
        }
        case 'l':
            reader.skipLine();
            results << QByteArray();
            break;
        case 'e':
            results << QByteArray::number(reader.atEnd());
            break;
        }
    }
    QCOMPARE(results.join('|'), expected);
    QCOMPARE(reader.exhausted(), exhausted);
    QVERIFY(!reader.error());
    QVERIFY(ui.boxes.empty());
}

void TestSectionFile::quotingErrors_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("open");
    QTest::addColumn<char>("close");
    QTest::addColumn<bool>("multiLine");
    QTest::addColumn<QString>("message"); // empty: no error
    QTest::addColumn<QByteArray>("token");
    QTest::newRow("not quoted") << QByteArray("  05 \"x\"\r\nnext") << '"' << '"' << false
                                << "Parse Error:\n05 \"x\"\nExpected opening \"" << QByteArray();
    QTest::newRow("quote runs to line end")
        << QByteArray("\"abc\r\n\"") << '"' << '"' << false
        << "Parse Error:\n\"abc\nNo closing \" to match opening \"" << QByteArray();
    QTest::newRow("brace block over two lines")
        << QByteArray("{INT = 1;\r\nPOD = 2;}") << '{' << '}' << false
        << "Parse Error:\n{INT = 1;\nNo closing } to match opening {" << QByteArray();
    QTest::newRow("multi-line brace block") << QByteArray("{INT = 1;\r\nPOD = 2;}") << '{' << '}' << true
                                            << "" << QByteArray("INT = 1;\r\nPOD = 2;");
    QTest::newRow("unbalanced nesting")
        << QByteArray("{a {b}") << '{' << '}' << true
        << "Parse Error:\n{a {b}\nNo closing } to match opening {" << QByteArray();
    QTest::newRow("unclosed at end of text")
        << QByteArray("(\"A\" \"B\"") << '(' << ')' << true
        << "Parse Error:\n(\"A\" \"B\"\nNo closing ) to match opening (" << QByteArray();
}

void TestSectionFile::quotingErrors()
{
    QFETCH(QByteArray, text);
    QFETCH(char, open);
    QFETCH(char, close);
    QFETCH(bool, multiLine);
    QFETCH(QString, message);
    QFETCH(QByteArray, token);
    ScopedRecordingUi ui;
    RowReader reader(text.toStdString());
    reader.setMultiLine(multiLine);
    QCOMPARE(QByteArray::fromStdString(reader.quoted(open, close)), token);
    QCOMPARE(reader.error(), !message.isEmpty());
    QCOMPARE(boxTexts(ui).join(" | "), message);
    if (!message.isEmpty())
        QCOMPARE(ui.boxes.front().icon, MsgIcon::Warning);
}

void TestSectionFile::onlyFirstErrorIsShown()
{
    ScopedRecordingUi ui;
    RowReader reader("x \"a\" \"b");
    QCOMPARE(reader.quoted(), std::string());
    QCOMPARE(reader.quoted(), std::string());
    QCOMPARE(reader.word(), std::string());
    QCOMPARE(reader.integer(), 0);
    QVERIFY(reader.error());
    QCOMPARE(ui.boxes.size(), size_t(1));
}

void TestSectionFile::errorExcerptIsBounded()
{
    ScopedRecordingUi ui;
    RowReader reader("\"" + std::string(3'000'000, 'a'));
    reader.quoted();
    QVERIFY(reader.error());
    const std::string expected = "Parse Error:\n\"" + std::string(RowReader::kMaxErrorExcerpt - 1, 'a')
        + "\nNo closing \" to match opening \"";
    QCOMPARE(ui.boxes.front().text, expected);
}

int vorpane::test::runSectionFileTests(int argc, char** argv)
{
    TestSectionFile tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_section_file.moc"
