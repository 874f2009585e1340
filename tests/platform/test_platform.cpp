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

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
