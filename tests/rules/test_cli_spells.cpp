// vorpane-cli spells as a process: the printed trees, the reader's messages and the exit codes.
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane::test;

class TestCliSpells : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void spells_data();
    void spells();

private:
    void write(const QString& name, const QString& text);
    QString run(const QStringList& args, int& exitCode) const;

    QTemporaryDir m_dir;
    QString m_cli;
};

void TestCliSpells::write(const QString& name, const QString& text)
{
    QFile file(m_dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const std::string bytes = fileText(text);
    file.write(bytes.data(), qint64(bytes.size()));
}

QString TestCliSpells::run(const QStringList& args, int& exitCode) const
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(m_cli, QStringList { "--settings", m_dir.filePath("settings.ini") } + args);
    if (!process.waitForFinished(30000))
        return "timeout";
    exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

void TestCliSpells::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_cli = qEnvironmentVariable("VORPANE_DATA") + "/vorpane-cli";
    QVERIFY2(QFile::exists(m_cli), qPrintable(m_cli));
    QVERIFY(QDir(m_dir.path()).mkdir("books"));
    QVERIFY(QDir(m_dir.path()).mkdir("none"));
    write("books/mareas.vsb",
        "_BEGIN TITLE\nLibro de las mareas\n_END TITLE\n_BEGIN SPELLS\n\"Suelto\"\n*Protección*\n"
        "\"Círculo de sal\"\n_END SPELLS\n");
    write("books/sin_titulo.vsb", "_BEGIN SPELLS\n*Caminos*\n\"Brújula\"\n_END SPELLS\n");
    write("vacio.vsb", "_BEGIN TITLE\nNada\n_END TITLE\n_BEGIN SPELLS\n_END SPELLS\n");
    write("roto.vsb", "_BEGIN SPELLS\n\"uno\"\n\"dos\n_END SPELLS\n");
}

void TestCliSpells::spells_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");

    QTest::newRow("every book of the folder")
        << QStringList { "--data", "books", "spells" } << 0
        << "Libro de las mareas\n  Suelto\n  Protección\n    Círculo de sal\n"
           "sin_titulo\n  Caminos\n    Brújula\n";
    QTest::newRow("given books, an empty one prints nothing") << QStringList { "spells", "vacio.vsb",
        "books/sin_titulo.vsb" } << 0 << "sin_titulo\n  Caminos\n    Brújula\n";
    QTest::newRow("a broken row: the message, what was read, status 1")
        << QStringList { "spells", "roto.vsb" } << 1
        << "[Vorpane] Parse Error:\\n\"dos\\nNo closing \" to match opening \"\nroto\n  uno\n";
    QTest::newRow("a missing book") << QStringList { "spells", "falta.vsb" } << 1
                                    << "[Vorpane] falta.vsb - Cannot open file\n";
    QTest::newRow("a folder without books")
        << QStringList { "--data", "none", "spells" } << 1
        << "[Vorpane] Could not find any spell books in the Vorpane folder "
           "(*.vsb)\n";
    QTest::newRow("an option is wrong usage") << QStringList { "spells", "--todo" } << 2 << "";
}

void TestCliSpells::spells()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    int status = -1;
    QCOMPARE(run(args, status), output);
    QCOMPARE(status, exitCode);
}

int vorpane::test::runCliSpellsTests(int argc, char** argv)
{
    TestCliSpells tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_cli_spells.moc"
