// Names read from files resolved only inside the data folders, and the folders only this user
// may enter.
#include "platform/data_files.h"
#include "platform/private_folder.h"
#include "platform/program_folder.h"
#include "platform/recording_ui.h"

#include <QDir>
#include <QFile>
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

void TestPrivateFiles::privateFolder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("missing: made private") << "missing" << true;
    QTest::newRow("private") << "0700" << true;
    QTest::newRow("open to others") << "0755" << false;
    QTest::newRow("writable by the group") << "0770" << false;
    QTest::newRow("a link to a private folder") << "link" << false;
    QTest::newRow("a file") << "file" << false;
    QTest::newRow("owned by another user") << "other" << false;
}

void TestPrivateFiles::privateFolder()
{
    QFETCH(QString, setup);
    QFETCH(bool, accepted);
    const QString path = m_dir.filePath("runtime-" + setup);
    const QByteArray local = QFile::encodeName(path);
    const QByteArray target = QFile::encodeName(m_dir.filePath("target"));
    if (setup == "link") {
        mkdir(target.constData(), 0700);
        QVERIFY(symlink(target.constData(), local.constData()) == 0);
    } else if (setup == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (setup == "other") {
        if (geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        QVERIFY(mkdir(local.constData(), 0700) == 0);
        QVERIFY(chown(local.constData(), 65534, 65534) == 0);
    } else if (setup != "missing") {
        QVERIFY(mkdir(local.constData(), 0700) == 0);
        QVERIFY(chmod(local.constData(), mode_t(setup.toUInt(nullptr, 8))) == 0);
    }
    const std::string checked = checkedPrivateFolder(local.toStdString());
    QCOMPARE(!checked.empty(), accepted);
    if (accepted) {
        struct stat info { };
        QVERIFY(stat(local.constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
    }
}

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "test_private_files.moc"
