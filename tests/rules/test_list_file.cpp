#include "platform/program_folder.h"
#include "platform/random.h"
#include "rules/list_file.h"
#include "rules/name_generator.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestListFile : public QObject {
    Q_OBJECT
private slots:
    void init() { setProgramFolder(fixtureFolder()); }
    void splitting_data();
    void splitting();
    void lookup_data();
    void lookup();
    void cacheKeepsOldestLoadsOut();
    void drawTakesOneValuePerDecision();
    void singleSurnameRepeats();
    void missingFirstNamesKeepPreviousName();
    void missingSurnames();
};

namespace {

void writeList(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(fileText(text)));
}

QStringList toList(const ListFile::Entries& entries)
{
    QStringList list;
    if (entries) {
        for (const std::string& entry : *entries)
            list << fromCp1252(entry);
    }
    return list;
}

const char* const kNames = "_BEGIN MaleNames\nAurelio\nBernardo\n_END MaleNames\n"
                           "_BEGIN FemaleNames\nCarmen\n_END FemaleNames\n"
                           "_BEGIN Surnames\nOrtega\nPaz\nRuiz\n_END Surnames\n";

} // namespace

void TestListFile::splitting_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("crlf with blank lines") << QByteArray("a\r\n\r\n\r\nb\r\n") << QStringList { "a", "b" };
    QTest::newRow("mixed breaks") << QByteArray("a\rb\n\nc") << QStringList { "a", "b", "c" };
    QTest::newRow("blanks are kept") << QByteArray(" x \r\n\t\r\n") << QStringList { " x ", "\t" };
    QTest::newRow("nothing") << QByteArray("\r\n\r\n") << QStringList {};
}

void TestListFile::splitting()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, entries);
    QStringList got;
    for (const std::string& entry : splitListEntries(text.toStdString()))
        got << QString::fromStdString(entry);
    QCOMPARE(got, entries);
}

void TestListFile::lookup_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("blank lines skipped") << "names.lst"
                                         << "MaleNames" << QStringList { "Aurelio", "Bernardo" };
    QTest::newRow("any case") << "names.lst"
                              << "femalenames" << QStringList { "Carmen" };
    QTest::newRow("blanks trimmed and inner ones as underscores")
        << "opciones.lst"
        << "  Lugar de nacimiento " << QStringList { "Sevilla" };
    QTest::newRow("own list before fallback") << "opciones.lst"
                                              << "Idioma" << QStringList { "Latín", "Griego" };
    QTest::newRow("fallback to options.lst") << "opciones.lst"
                                             << "Phobias" << QStringList { "Arañas", "Oscuridad" };
    QTest::newRow("missing file uses fallback") << "nothing.lst"
                                                << "Idioma" << QStringList { "Sánscrito" };
    QTest::newRow("absent everywhere") << "opciones.lst"
                                       << "Colleges" << QStringList {};
}

void TestListFile::lookup()
{
    QFETCH(QString, file);
    QFETCH(QString, section);
    QFETCH(QStringList, entries);
    ScopedRecordingUi ui;
    ListFile list(file.toStdString(), 2);
    const ListFile::Entries found = list.section(toCp1252(section));
    QCOMPARE(toList(found), entries);
    QCOMPARE(found == nullptr, entries.isEmpty());
    QVERIFY(ui.boxes.empty());
    QCOMPARE(ui.waitDepth, 0);
}

// Lists are reread only after their slot went to a newer load; hits do not count as loads.
void TestListFile::cacheKeepsOldestLoadsOut()
{
    QTemporaryDir dir;
    setProgramFolder(dir.path().toStdString());
    writeList(dir.filePath("l.lst"), "_BEGIN A\na1\n_END A\n_BEGIN B\nb1\n_END B\n_BEGIN C\nc1\n_END C\n");
    ListFile list("l.lst", 2);
    list.section("A");
    list.section("B");
    QCOMPARE(toList(list.section("a")), QStringList { "a1" }); // a hit does not make A younger
    writeList(dir.filePath("l.lst"), "_BEGIN A\na2\n_END A\n_BEGIN B\nb2\n_END B\n_BEGIN C\nc2\n_END C\n");
    QCOMPARE(toList(list.section("C")), QStringList { "c2" }); // evicts A
    QCOMPARE(toList(list.section("B")), QStringList { "b1" });
    QCOMPARE(toList(list.section("A")), QStringList { "a2" });
}

void TestListFile::drawTakesOneValuePerDecision()
{
    const QStringList males { "Aurelio", "Bernardo" };
    const QStringList surnames { "Ortega", "Paz", "Ruiz" };
    bool sawFemale = false, sawHyphen = false, sawBlank = false, sawSaint = false;
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        seedRandom(seed);
        QString expected;
        QString sex = "M";
        if (nextRandom() % 4 == 0) {
            nextRandom();
            expected = "Carmen";
            sex = "F";
        } else {
            expected = males[nextRandom() % 2];
        }
        expected += ' ';
        if (nextRandom() % 7 == 0) {
            expected += surnames[nextRandom() % 3];
            expected += nextRandom() % 2 == 0 ? '-' : ' ';
            sawHyphen |= expected.endsWith('-');
            sawBlank |= expected.endsWith(' ');
        } else if (nextRandom() % 50 == 0) {
            expected += "St. ";
            sawSaint = true;
        }
        expected += surnames[nextRandom() % 3];
        sawFemale |= sex == "F";
        const int following = nextRandom();

        seedRandom(seed);
        NameGenerator names(ListFile::fromText("names.lst", kNames, NameGenerator::kSlotCount));
        QCOMPARE(fromCp1252(names.fullName()), expected);
        QCOMPARE(QString::fromStdString(names.sex()), sex);
        QCOMPARE(nextRandom(), following);
    }
    QVERIFY(sawFemale && sawHyphen && sawBlank && sawSaint);
}

void TestListFile::singleSurnameRepeats()
{
    ScopedRecordingUi ui;
    NameGenerator names; // names.lst of the fixtures: one surname
    for (int i = 0; i < 200; ++i) {
        const QString name = fromCp1252(names.fullName());
        QVERIFY2(QRegularExpression("^(Aurelio|Bernardo|Carmen) (St\\. )?(Ortega[- ])?Ortega$")
                     .match(name)
                     .hasMatch(),
            qPrintable(name));
        QCOMPARE(names.sex() == "F", name.startsWith("Carmen"));
        names.draw();
    }
}

void TestListFile::missingFirstNamesKeepPreviousName()
{
    seedRandom(7);
    NameGenerator names(ListFile::fromText("n", "_BEGIN Surnames\nPaz\n_END Surnames\n", 3));
    const std::string first = names.fullName();
    QVERIFY(first.starts_with(" "));
    names.draw();
    QVERIFY(names.fullName().starts_with(first + " "));
    QCOMPARE(names.sex(), std::string());
}

void TestListFile::missingSurnames()
{
    seedRandom(1);
    NameGenerator names(ListFile::fromText("n",
        "_BEGIN MaleNames\nLuis\n_END MaleNames\n"
        "_BEGIN FemaleNames\nAna\n_END FemaleNames\n",
        3));
    QCOMPARE(names.fullName(), std::string(NameGenerator::kNoData));
    QVERIFY(names.sex() == "M" || names.sex() == "F");
}

int vorpane::test::runListFileTests(int argc, char** argv)
{
    TestListFile tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_list_file.moc"
