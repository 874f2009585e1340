#include "platform/cp1252.h"
#include "platform/output_model.h"
#include "platform/profile.h"
#include "platform/random.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void cp1252RoundTrip_data();
    void cp1252RoundTrip();
    void unmappableBecomesQuestionMark();
    void randomIsRepeatableAndInRange();
    void outputKeepsNewestFiftyLines();
    void profileNamesIgnoreCase();
    void damagedProfile_data();
    void damagedProfile();
    void damagedProfileIsToldOnce();
    void profileSpellings_data();
    void profileSpellings();
};

void TestPlatform::cp1252RoundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("Abc 123") << QString("Abc 123");
    QTest::newRow("latin1") << QByteArray("Espa\xF1"
                                          "a \xE1\xE9\xED\xF3\xFA")
                            << QString::fromUtf8("España áéíóú");
    QTest::newRow("euro and quotes") << QByteArray("\x80\x93\x94") << QString::fromUtf8("€“”");
}

void TestPlatform::cp1252RoundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const std::string raw(bytes.constData(), size_t(bytes.size()));
    QCOMPARE(fromCp1252(raw), text);
    QCOMPARE(toCp1252(text), raw);
    QCOMPARE(cp1252(text.toStdString()), raw);
}

void TestPlatform::unmappableBecomesQuestionMark()
{
    QCOMPARE(toCp1252(QString::fromUtf8("日本")), std::string("??"));
    QCOMPARE(fromCp1252("\x81"), QString(QChar(0xFFFD)));
}

void TestPlatform::randomIsRepeatableAndInRange()
{
    seedRandom(42);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(nextRandom());
        QVERIFY(first.back() >= 0 && first.back() <= kRandomMax);
    }
    seedRandom(42);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(nextRandom(), first[size_t(i)]);
}

void TestPlatform::outputKeepsNewestFiftyLines()
{
    OutputModel model;
    for (int i = 1; i <= 60; ++i)
        model.addLine(std::to_string(i));
    QCOMPARE(int(model.lines().size()), OutputModel::kMaxLines);
    QCOMPARE(model.lines().front(), std::string("11"));
    QCOMPARE(model.lines().back(), std::string("60"));
    QCOMPARE(model.selectedLine(), OutputModel::kMaxLines - 1);
    model.clear();
    QCOMPARE(model.selectedLine(), -1);
}

void TestPlatform::profileNamesIgnoreCase()
{
    QTemporaryDir dir;
    setProfilePath((dir.path() + "/settings.ini").toStdString());
    QCOMPARE(Profile::readInt("Output", "FontSize", -10), -10);
    Profile::writeInt("Output", "FontSize", 12);
    QCOMPARE(Profile::readInt("OUTPUT", "fontsize", -10), 12);
    Profile::writeString("Edit", "FontFace", "Courier \xF1");
    QCOMPARE(Profile::readString("edit", "FONTFACE", "x"), std::string("Courier \xF1"));
    setProfilePath({});
}

void TestPlatform::damagedProfile_data()
{
    QTest::addColumn<QString>("name"); // inside the temporary folder, or absolute
    QTest::addColumn<QByteArray>("content"); // written there unless null
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("autosave"); // what reads back; 2 is the default
    // The program stores its names in lower case.
    QTest::newRow("sound") << "settings.ini" << QByteArray("[display]\nautosave=5\n")
                           << int(ProfileProblem::None) << 5;
    QTest::newRow("not there yet") << "new/settings.ini" << QByteArray() << int(ProfileProblem::None) << 2;
    // What can be read still counts.
    QTest::newRow("broken section") << "settings.ini"
                                    << QByteArray("[display]\nautosave=5\n[sheet\nzoom=150\n")
                                    << int(ProfileProblem::Garbled) << 5;
    QTest::newRow("binary") << "settings.ini" << QByteArray("\x00\x01\xff\xfe[[[\n=\n\x00", 12)
                            << int(ProfileProblem::Garbled) << 2;
    QTest::newRow("a folder") << "folder.ini" << QByteArray() << int(ProfileProblem::Unreadable) << 2;
    // chmod stops nobody running as root; a file under /proc cannot be made by anyone.
    QTest::newRow("folder takes no files")
        << "/proc/vorpane-settings.ini" << QByteArray() << int(ProfileProblem::Unwritable) << 2;
}

void TestPlatform::damagedProfile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, problem);
    QTemporaryDir dir;
    const QString path = name.startsWith('/') ? name : dir.filePath(name);
    if (name == "folder.ini")
        QVERIFY(QDir().mkdir(path));
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    setProfilePath(QFile::encodeName(path).toStdString());
    const ProfileCheck check = checkProfile();
    QCOMPARE(int(check.problem), problem);
    QCOMPARE(profileProblemMessage(check).empty(), check.problem == ProfileProblem::None);
    if (check.problem != ProfileProblem::None)
        QVERIFY(
            profileProblemMessage(check).find(QFile::encodeName(path).toStdString()) != std::string::npos);

    // Whatever the file, a value reads (its default where it cannot) and a change does not crash.
    QTEST(Profile::readInt("Display", "Autosave", 2), "autosave");
    Profile::writeInt("Display", "Autosave", 7);
    if (check.problem == ProfileProblem::Garbled) {
        // The file as it was stays beside the rewritten one.
        QCOMPARE(QString::fromStdString(check.keptCopy), path + ".bad");
        QFile kept(path + ".bad");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);
    }
    setProfilePath({});
}

void TestPlatform::damagedProfileIsToldOnce()
{
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath("settings.ini")));
    setProfilePath(dir.filePath("settings.ini").toStdString());
    QVERIFY(!profileWarningOnce().empty());
    QVERIFY(profileWarningOnce().empty());
    setProfilePath({});
}

void TestPlatform::profileSpellings_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("hint"); // QuickInfo/WizDragSwap as read
    QTest::addColumn<int>("startUp"); // Tips/StartUp as read
    QTest::newRow("written by hand as the program spells it")
        << QByteArray("[QuickInfo]\nWizDragSwap=1\n[Tips]\nStartUp=1\n") << 1 << 1;
    QTest::newRow("an earlier run's lower case")
        << QByteArray("[quickinfo]\nwizdragswap=1\n[tips]\nstartup=1\nfilepos=40\n") << 1 << 1;
    QTest::newRow("any case") << QByteArray("[QUICKINFO]\nwizDRAGswap=1\n[tIPS]\nSTARTUP=1\n") << 1 << 1;
    // Two spellings of one value: the program's own wins, the other goes on the next write.
    QTest::newRow("both spellings") << QByteArray(
        "[tips]\nstartup=0\nfilepos=40\n[Tips]\nStartUp=1\n[quickinfo]\nwizdragswap=1\n")
                                    << 1 << 1;
    QTest::newRow("a section of its own")
        << QByteArray("[Recent%20File%20List]\nfile1=/a.inv\n[Extra]\nX=1\n[extra]\nx=2\ny=3\n") << 0 << 0;
}

void TestPlatform::profileSpellings()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    setProfilePath(QFile::encodeName(path).toStdString());
    QTEST(Profile::readInt("QuickInfo", "WizDragSwap", 0), "hint");
    QTEST(Profile::read(profile_keys::kTipsStartUp), "startUp");
    Profile::write(profile_keys::kTipsFilePos, 7);

    // One section and one entry a name, spelled as declared; nothing else lost.
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QStringList sections;
    QStringList names;
    for (const QString& line : lines) {
        if (line.startsWith('[')) {
            sections << line;
            continue;
        }
        const QString key = sections.last() + line.section('=', 0, 0);
        QVERIFY2(!names.contains(key, Qt::CaseInsensitive), qPrintable(key));
        names << key;
    }
    for (const QString& section : sections)
        QCOMPARE(sections.filter(section, Qt::CaseInsensitive), QStringList { section });
    QVERIFY(names.contains("[Tips]FilePos"));
    if (content.contains("ips]"))
        QVERIFY(names.contains("[Tips]StartUp"));
    if (content.contains("uickinfo]") || content.contains("QUICKINFO"))
        QVERIFY(names.contains("[QuickInfo]WizDragSwap"));
    QTEST(Profile::readInt("quickinfo", "wizdragswap", 0), "hint");
    QTEST(Profile::read(profile_keys::kTipsStartUp), "startUp");
    QCOMPARE(Profile::read(profile_keys::kTipsFilePos), 7);
    if (content.contains("Extra")) {
        QCOMPARE(Profile::readString("Recent File List", "File1", ""), std::string("/a.inv"));
        QVERIFY(names.contains("[Recent%20File%20List]File1"));
        QCOMPARE(Profile::readInt("EXTRA", "x", 0), 1);
        QCOMPARE(Profile::readInt("extra", "Y", 0), 3);
    }
    setProfilePath({});
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
