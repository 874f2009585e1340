// Names that documents and rule files carry, made hostile: each is refused as a missing file with
// one message naming it, the file planted outside the data folder never runs, and the program's
// fallback for a missing file takes over.
#include "investigator/investigator_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestCliHostileNames : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void refusedNames_data();
    void refusedNames();

private:
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir m_dir;
};

void TestCliHostileNames::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkpath("data/sub"));
    write("data/a.vis", "output.write(\"ficha de datos\");");
    write("data/a.vhs", "output.write(\"ayuda de datos\");");
    QVERIFY(QFile::copy(
        QString::fromStdString(fixtureFolder()) + "scripts.rul", m_dir.filePath("data/scripts.rul")));
    // What a stranger's file points at, beside the data folder.
    for (const char* name : { "evil.vis", "evil.vhs" })
        write(name, "output.write(\"planted\");");
    write("evil.lst", "_BEGIN Idioma\r\nplanted\r\n_END Idioma\r\n");
    write("evil.rul", "_BEGIN INCOME\r\noutput.write(\"planted\");\r\n_END INCOME\r\n");
}

void TestCliHostileNames::refusedNames_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("looked"); // the file name the program looks for
    QTest::addColumn<QString>("fallback"); // a line the missing-file behaviour prints
    const QStringList names = { "../evil", "sub/../../evil", "..\\evil", m_dir.filePath("evil") };
    for (const QString& name : names) {
        QTest::newRow(qPrintable("Script " + name)) << "Script" << name << name + ".vis"
                                                    << "ficha de datos";
        QTest::newRow(qPrintable("Template " + name)) << "Template" << name << name + ".vhs"
                                                      << "ayuda de datos";
        QTest::newRow(qPrintable("RuleFile " + name)) << "RuleFile" << name + ".rul" << name + ".rul"
                                                      << "";
        QTest::newRow(qPrintable("Options " + name)) << "Options" << name + ".lst" << name + ".lst"
                                                     << "Options list";
    }
}

void TestCliHostileNames::refusedNames()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, looked);
    QFETCH(QString, fallback);
    QStringList args;
    if (kind == "Template") {
        write("doc.zho", "Handout {\r\n\t\"Template\" \"" + name.toLatin1() + "\"\r\n}\r\n");
        args = QStringList { "render", m_dir.filePath("doc.zho"), m_dir.filePath("out.png") };
    } else if (kind == "Options") {
        QFile rules(m_dir.filePath("data/scripts.rul"));
        QVERIFY(rules.open(QIODevice::ReadOnly));
        write("data/options.rul", rules.readAll().replace("\"options.lst\"", "\"" + name.toLatin1() + "\""));
        args = QStringList { "rules", m_dir.filePath("data/options.rul") };
    } else {
        Investigator inv;
        inv.RuleFile = kind == "RuleFile" ? name.toStdString() : "scripts.rul";
        QVERIFY(InvestigatorFile::save(
            m_dir.filePath("doc.inv").toStdString(), inv, kind == "Script" ? name.toStdString() : "a"));
        const bool script = kind == "Script";
        args = QStringList { script ? "render" : "income", m_dir.filePath("doc.inv"),
            m_dir.filePath(script ? "out.png" : "out.inv") };
    }
    QProcess process;
    process.start(qEnvironmentVariable("VORPANE_DATA") + "/vorpane-cli",
        QStringList { "--settings", m_dir.filePath("settings.ini"), "--data", m_dir.filePath("data") }
            + args);
    QVERIFY(process.waitForFinished(60000));
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(!printed.contains("planted"), qPrintable(printed));
    QCOMPARE(printed.count("[Vorpane] Se ha rechazado el nombre de archivo \"" + looked + "\""), 1);
    QVERIFY2(printed.contains(fallback), qPrintable(printed));
}

namespace vorpane::test {
int runCliHostileNameTests(int argc, char** argv)
{
    TestCliHostileNames tests;
    return QTest::qExec(&tests, argc, argv);
}
} // namespace vorpane::test

#include "test_cli_hostile_names.moc"
