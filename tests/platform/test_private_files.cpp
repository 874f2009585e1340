// Names read from files resolved only inside the data folders, and the folders only this user
// may enter.
#include "platform/data_files.h"
#include "platform/private_folder.h"
#include "platform/program_folder.h"
#include "platform/recording_ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace vorpane;

class TestPrivateFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { setProgramFolder({}); }
    void dataFileNames_data();
    void dataFileNames();
    void userFolderComesFirst_data();
    void userFolderComesFirst();
    void privateFolder_data();
    void privateFolder();

private:
    QTemporaryDir m_dir;
};

void TestPrivateFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("data/sub"));
    for (const char* name : { "data/sheet.vis", "data/sub/inner.vis", "outside.vis" }) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    setProgramFolder(m_dir.filePath("data").toStdString());
}

void TestPrivateFiles::dataFileNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("refused");
    QTest::newRow("plain") << QByteArray("sheet.vis") << true << false;
    QTest::newRow("plain, missing") << QByteArray("other.vis") << false << false;
    QTest::newRow("a folder, not a file") << QByteArray("sub") << false << false;
    QTest::newRow("empty: no name, no message") << QByteArray() << false << false;
    QTest::newRow("parent") << QByteArray("../outside.vis") << false << true;
    QTest::newRow("just dots") << QByteArray("..") << false << true;
    QTest::newRow("down and up") << QByteArray("sub/../sheet.vis") << false << true;
    QTest::newRow("into a folder") << QByteArray("sub/inner.vis") << false << true;
    QTest::newRow("backslash") << QByteArray("..\\outside.vis") << false << true;
    QTest::newRow("absolute") << (m_dir.filePath("outside.vis")).toLocal8Bit() << false << true;
    QTest::newRow("drive") << QByteArray("C:sheet.vis") << false << true;
    QTest::newRow("control character") << QByteArray("sheet\x01.vis") << false << true;
    QTest::newRow("line feed") << QByteArray("sheet.vis\n") << false << true;
}

void TestPrivateFiles::dataFileNames()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, found);
    QFETCH(bool, refused);
    ScopedRecordingUi ui;
    forgetRefusedNames();
    const std::string text = name.toStdString();
    QCOMPARE(isPlainFileName(text), !refused && !name.isEmpty());
    const std::optional<std::string> path = resolveDataFile(text);
    QCOMPARE(path.has_value(), found);
    if (found)
        QCOMPARE(QString::fromStdString(*path), m_dir.filePath("data/" + name));
    QCOMPARE(dataFilePath(text).empty(), refused || name.isEmpty());
    // Told once, however often the name is asked for in a run of the program.
    QCOMPARE(ui.boxes.size(), size_t(refused ? 1 : 0));
    if (refused) {
        QVERIFY(ui.boxes[0].text.find("Se ha rechazado el nombre de archivo") == 0);
        QVERIFY(ui.boxes[0].text.find_first_of("\x01\n") == std::string::npos);
    }
}

// The user's folder and the program's, each given as names; the merged list of "*.vis" (ignoring
// case) as "folder/name", each entry also what resolving the name finds.
void TestPrivateFiles::userFolderComesFirst_data()
{
    QTest::addColumn<QStringList>("user");
    QTest::addColumn<QStringList>("program");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("no user folder: the program's listing")
        << QStringList() << QStringList { "b.vis", "A.vis", "c.rul" }
        << QStringList { "prog/A.vis", "prog/b.vis" };
    QTest::newRow("a user's file hides the program's")
        << QStringList { "sheet.vis", "mine.vis" } << QStringList { "sheet.vis", "zeta.vis", "A.vis" }
        << QStringList { "prog/A.vis", "user/mine.vis", "user/sheet.vis", "prog/zeta.vis" };
    QTest::newRow("names differing in case are two files")
        << QStringList { "Sheet.vis" } << QStringList { "sheet.vis" }
        << QStringList { "user/Sheet.vis", "prog/sheet.vis" };
    QTest::newRow("only the user's") << QStringList { "mine.vis" } << QStringList { "default.rul" }
                                     << QStringList { "user/mine.vis" };
}

void TestPrivateFiles::userFolderComesFirst()
{
    QFETCH(QStringList, user);
    QFETCH(QStringList, program);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath("home").toLocal8Bit());
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", oldHome);
        setProgramFolder(m_dir.filePath("data").toStdString());
    });
    const QMap<QString, QString> folders { { "user", dir.filePath("home/vorpane") },
        { "prog", dir.filePath("prog") } };
    QVERIFY(QDir().mkpath(folders.value("prog")));
    if (!user.isEmpty())
        QVERIFY(QDir().mkpath(folders.value("user")));
    for (const auto& [folder, names] : { std::pair { "user", user }, std::pair { "prog", program } }) {
        for (const QString& name : names) {
            QFile file(QDir(folders.value(QString::fromLatin1(folder))).filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    setProgramFolder(folders.value("prog").toStdString());
    QCOMPARE(QString::fromStdString(userDataFolder()), folders.value("user") + "/");

    QStringList expected;
    for (const QString& entry : listed)
        expected << QDir(folders.value(entry.section('/', 0, 0))).filePath(entry.section('/', 1));
    QStringList found;
    for (const std::string& path : dataFiles({ "*.vis" }, QDir::Files, QDir::Name | QDir::IgnoreCase))
        found << QString::fromStdString(path);
    QCOMPARE(found, expected);
    for (const QString& path : expected)
        QCOMPARE(resolveDataFile(QFileInfo(path).fileName().toStdString()).value_or(""), path.toStdString());
}

void TestPrivateFiles::privateFolder_data()
{
    QTest::addColumn<int>("mode"); // -1: missing; 0: a link to a private folder
    QTest::addColumn<uint>("owner");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("missing: made private") << -1 << 0u << true;
    QTest::newRow("private") << 0700 << 0u << true;
    QTest::newRow("open to others") << 0755 << 0u << false;
    QTest::newRow("writable by the group") << 0770 << 0u << false;
    QTest::newRow("a link to a private folder") << 0 << 0u << false;
    QTest::newRow("owned by another user") << 0700 << 65534u << false;
}

void TestPrivateFiles::privateFolder()
{
    QFETCH(int, mode);
    QFETCH(uint, owner);
    QFETCH(bool, accepted);
    if (owner != 0 && geteuid() != 0)
        QSKIP("giving a folder to another user needs root");
    const QByteArray path = QFile::encodeName(m_dir.filePath(QTest::currentDataTag()));
    if (mode == 0) {
        const QByteArray target = path + "-target";
        QVERIFY(mkdir(target.constData(), 0700) == 0 && symlink(target.constData(), path.constData()) == 0);
    } else if (mode > 0) {
        QVERIFY(mkdir(path.constData(), 0700) == 0 && chmod(path.constData(), mode_t(mode)) == 0);
        if (owner != 0)
            QVERIFY(chown(path.constData(), owner, owner) == 0);
    }
    QCOMPARE(checkedPrivateFolder(path.toStdString()).empty(), !accepted);
    struct stat info { };
    QVERIFY(lstat(path.constData(), &info) == 0);
    if (accepted)
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
}

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "test_private_files.moc"
