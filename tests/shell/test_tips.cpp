// The tips of the day: cyclic reading, skipped lines, the stored offset and time stamp, a file
// without a single tip, and the corrupt-file message.

#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/recording_ui.h"
#include "rules/tips_file.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;

class TestTips : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readsCyclicallySkippingLines_data();
    void readsCyclicallySkippingLines();
    void nextStartGoesOnAfterLastTip();
    void newTimeStampStartsAgain();
    void fileWithoutTipDoesNotLoop_data();
    void fileWithoutTipDoesNotLoop();
    void offsetBeyondFileIsCorrupt();
    void missingFileIsSilent();
    void startUpFlag();

private:
    QString write(const QByteArray& bytes);
    QStringList tips(TipsFile& file, int count);

    QTemporaryDir m_dir;
    RecordingUi m_ui;
};

void TestTips::init()
{
    setProfilePath(m_dir.filePath("settings.ini").toStdString());
    QFile::remove(m_dir.filePath("settings.ini"));
    installUi(&m_ui);
    m_ui.reset();
}

void TestTips::cleanup()
{
    installUi(nullptr);
    setProfilePath({});
}

QString TestTips::write(const QByteArray& bytes)
{
    const QString path = m_dir.filePath("tips.lst");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(bytes);
    return path;
}

QStringList TestTips::tips(TipsFile& file, int count)
{
    QStringList shown { fromCp1252(file.tip()) };
    while (shown.size() < count && file.next())
        shown << fromCp1252(file.tip());
    return shown;
}

void TestTips::readsCyclicallySkippingLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("crlf, comments and blanks skipped")
        << QByteArray("; comment\r\nUno\r\n\r\n  sangrado\r\n\tcon tab\r\nDos\r\n")
        << QStringList { "Uno", "Dos", "Uno", "Dos", "Uno" };
    QTest::newRow("lf only, no end of last line")
        << QByteArray("A\n\nB\nC") << QStringList { "A", "B", "C", "A", "B" };
    QTest::newRow("one tip") << QByteArray(";x\r\nSolo\r\n") << QStringList { "Solo", "Solo", "Solo" };
    QTest::newRow("windows-1252 kept")
        << QByteArray("Se\xF1or\r\n") << QStringList { "Se\u00F1or", "Se\u00F1or" };
    QTest::newRow("long line cut at 999") << QByteArray(1200, 'x') + "\r\nB\r\n"
                                          << QStringList { QString(999, 'x'), "B" };
}

void TestTips::readsCyclicallySkippingLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    TipsFile file;
    file.open(write(bytes).toStdString());
    QVERIFY(file.isEnabled());
    QCOMPARE(tips(file, int(expected.size())), expected);
    QVERIFY(m_ui.boxes.empty());
}

void TestTips::nextStartGoesOnAfterLastTip()
{
    const QString path = write("Uno\r\nDos\r\nTres\r\n");
    {
        TipsFile file;
        file.open(path.toStdString());
        file.next(); // Dos shown when the program ends
    }
    TipsFile again;
    again.open(path.toStdString());
    QCOMPARE(again.tip(), std::string("Tres"));
}

void TestTips::newTimeStampStartsAgain()
{
    const QString path = write("Uno\r\nDos\r\nTres\r\n");
    {
        TipsFile file;
        file.open(path.toStdString());
        file.next();
    }
    // Edited: a different modification time.
    QFile touched(path);
    QVERIFY(touched.open(QIODevice::ReadWrite));
    QVERIFY(touched.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
    touched.close();
    TipsFile again;
    again.open(path.toStdString());
    QCOMPARE(again.tip(), std::string("Uno"));
    QCOMPARE(Profile::readString("Tips", "TimeStamp", ""),
        TipsFile::timeStampText(QFileInfo(path).lastModified()));
}

void TestTips::fileWithoutTipDoesNotLoop_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("comments and blanks") << QByteArray("; nada\r\n\r\n  x\r\n\ty\r\n");
}

void TestTips::fileWithoutTipDoesNotLoop()
{
    QFETCH(QByteArray, bytes);
    TipsFile file;
    file.open(write(bytes).toStdString());
    QVERIFY(!file.isEnabled());
    QVERIFY(!file.next());
    QVERIFY(m_ui.boxes.empty());
}

void TestTips::offsetBeyondFileIsCorrupt()
{
    const QString path = write("Uno\r\nDos\r\n");
    Profile::writeString("Tips", "TimeStamp", TipsFile::timeStampText(QFileInfo(path).lastModified()));
    Profile::writeInt("Tips", "FilePos", 5000);
    Profile::writeInt("Tips", "StartUp", 1);
    TipsFile file;
    file.open(path.toStdString());
    QVERIFY(!file.isEnabled());
    QCOMPARE(m_ui.texts(),
        std::string("The tips file is corrupt. Zhaldor's thought of the day will not be displayed"));
    QCOMPARE(int(m_ui.boxes.front().icon), int(MsgIcon::None));
    QCOMPARE(Profile::readInt("Tips", "StartUp", -1), 0);
}

void TestTips::missingFileIsSilent()
{
    TipsFile file;
    file.open(m_dir.filePath("none.lst").toStdString());
    QVERIFY(!file.isEnabled());
    QCOMPARE(file.tip(), std::string("Cannot find tips file"));
    QVERIFY(m_ui.boxes.empty());
}

void TestTips::startUpFlag()
{
    const QString path = write("Uno\r\n");
    TipsFile shown;
    shown.open(path.toStdString());
    QVERIFY(shown.wantedAtStartUp());
    Profile::writeInt("Tips", "StartUp", 1);
    TipsFile hidden;
    hidden.open(path.toStdString());
    QVERIFY(!hidden.wantedAtStartUp());
}

QTEST_GUILESS_MAIN(TestTips)
#include "test_tips.moc"
