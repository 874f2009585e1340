// Names that documents and rule files carry, made hostile: each is refused as a missing file
// (with one message naming it), a file planted outside the data folder never runs, and the
// fallback the program has for a missing file takes over.
#include "investigator/investigator_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestCliHostileNames : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void refusedNames_data();
    void refusedNames();

private:
    QTemporaryDir m_dir;
    QString m_cli;
};

void TestCliHostileNames::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_cli = qEnvironmentVariable("VORPANE_DATA") + "/vorpane-cli";
    QVERIFY2(QFile::exists(m_cli), qPrintable(m_cli));
    QVERIFY(QDir(m_dir.path()).mkpath("data/sub"));
    const QString data = m_dir.filePath("data/");
    writeFile(data + "a.vis", "output.write(\"ficha de datos\");\r\n");
    writeFile(data + "a.vhs", "output.write(\"ayuda de datos\");\r\n");
    QVERIFY(QFile::copy(QString::fromStdString(fixtureFolder()) + "scripts.rul", data + "scripts.rul"));
    // What a stranger's file points at, beside the data folder and in a place of its own.
    for (const QString& folder : { m_dir.path() + "/", m_dir.filePath("elsewhere/") }) {
        QVERIFY(QDir().mkpath(folder));
        writeFile(folder + "evil.vis", "output.write(\"planted\");\r\n");
        writeFile(folder + "evil.vhs", "output.write(\"planted\");\r\n");
        writeFile(folder + "evil.lst", "_BEGIN Idioma\r\nplanted\r\n_END Idioma\r\n");
        writeFile(folder + "evil.rul",
            "_BEGIN KEYVALUEPAIRS\r\n_END KEYVALUEPAIRS\r\n_BEGIN "
            "GLOBAL_SCRIPT\r\noutput.write(\"planted\");\r\n"
            "_END GLOBAL_SCRIPT\r\n");
    }
}

void TestCliHostileNames::refusedNames_data()
{
    // KIND is what carries the name; NAME has no extension where the program adds one.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fallback"); // a line the missing-file behaviour prints
    const QString outside = m_dir.filePath("elsewhere/evil");
    const struct {
        const char* kind;
        const char* extension;
        const char* fallback;
    } kinds[] = {
        { "investigator Script", "", "ficha de datos" },
        { "handout Template", "", "ayuda de datos" },
        { "investigator RuleFile", ".rul", "" },
        { "rule file Options", ".lst", "Options list: " },
    };
    for (const auto& kind : kinds) {
        const QString extension = QString::fromLatin1(kind.extension);
        for (const QString& name : { "../evil" + extension, "sub/../../evil" + extension,
                 "..\\evil" + extension, outside + extension })
            QTest::newRow(qPrintable(QString(kind.kind) + ": " + name)) << kind.kind << name << kind.fallback;
    }
}

void TestCliHostileNames::refusedNames()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, fallback);
    const QString data = m_dir.filePath("data/");
    QStringList args;
    if (kind == "investigator Script" || kind == "investigator RuleFile") {
        Investigator inv;
        inv.RuleFile = kind == "investigator RuleFile" ? name.toStdString() : "scripts.rul";
        const std::string script = kind == "investigator Script" ? name.toStdString() : "a";
        QVERIFY(InvestigatorFile::save(m_dir.filePath("doc.inv").toStdString(), inv, script));
        args = kind == "investigator Script"
            ? QStringList { "render", m_dir.filePath("doc.inv"), m_dir.filePath("out.png") }
            : QStringList { "income", m_dir.filePath("doc.inv"), m_dir.filePath("out.inv") };
    } else if (kind == "handout Template") {
        writeFile(
            m_dir.filePath("doc.zho"), "Handout {\r\n\t\"Template\" \"" + name.toLatin1() + "\"\r\n}\r\n");
        args = QStringList { "render", m_dir.filePath("doc.zho"), m_dir.filePath("out.png") };
    } else {
        QFile source(data + "scripts.rul");
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray rules = source.readAll().replace(
            "\"Options\" \"options.lst\"", "\"Options\" \"" + name.toLatin1() + "\"");
        writeFile(data + "options.rul", rules);
        args = QStringList { "rules", data + "options.rul" };
    }
    QProcess process;
    process.start(m_cli, QStringList { "--settings", m_dir.filePath("settings.ini"), "--data", data } + args);
    QVERIFY(process.waitForFinished(60000));
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(!printed.contains("planted"), qPrintable(printed));
    // A script is looked up by its name with the extension of its kind.
    const QString looked = name
        + (kind == "investigator Script"     ? ".vis"
                : kind == "handout Template" ? ".vhs"
                                             : "");
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
