// vorpane-cli check, improve, income and export-html as processes: exit codes, printed lines and
// the files they write.
#include "investigator/derived_values.h"
#include "investigator/investigator_file.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestCliCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void commands_data();
    void commands();

private:
    QTemporaryDir m_dir;
    QString m_cli;
};

void TestCliCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_cli = qEnvironmentVariable("VORPANE_DATA") + "/vorpane-cli";
    QVERIFY2(QFile::exists(m_cli), qPrintable(m_cli));

    ScopedRecordingUi ui;
    Investigator inv;
    inv.RuleFile = "scripts.rul";
    inv.Name = "Ana", inv.Occupation = "Anticuaria", inv.Sex = "Mujer";
    // Loading recomputes the budgets: EDU x 20 + INT x 10 = 30 points, all spent on Nadar.
    inv.APA = inv.CON = inv.DES = inv.TAM = inv.FUE = 10;
    inv.EDU = inv.INT = 1, inv.POD = 12, inv.COR = 60;
    addSkill(inv, "Nadar", "25", 55).checked = 1;
    computeBaseValues(inv);
    QVERIFY(InvestigatorFile::save(m_dir.filePath("ana.inv").toStdString(), inv, "sheet.vis"));
}

void TestCliCommands::commands_data()
{
    // IN is the saved investigator, OUT a fresh file in the temporary folder.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("written"); // a part of OUT; empty: OUT must not exist

    const QString question = "[Vorpane] ¿Seguro que quieres actualizar las habil. al final de una campaña?  ";
    // clang-format off
    QTest::newRow("check") << QStringList{"check", "IN"} << 0
        << QStringList{"Probando Investigador...", "30 puntos repartidos", "Testeo del Investigador finalizado.",
                       "[Vorpane] Testeo del Investigador finalizado."} << QByteArray();
    QTest::newRow("improve") << QStringList{"--seed", "3", "improve", "IN", "OUT"} << 0
        << QStringList{question, "Testando habilidades...  "} << QByteArray("\"Checked\" \"0\"");
    QTest::newRow("improve answered no") << QStringList{"--answer", "no", "improve", "IN", "OUT"} << 1 << QStringList{question} << QByteArray();
    QTest::newRow("income") << QStringList{"income", "IN", "OUT"} << 0
        << QStringList{"[Vorpane] Tu investigador obtiene ingresos de19200"} << QByteArray("\"Income\" \"19200\"");
    QTest::newRow("export-html") << QStringList{"export-html", "IN", "OUT"} << 0 << QStringList() << QByteArray("<title>Ana</title>\r\n");
    // clang-format on
}

void TestCliCommands::commands()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, written);

    const QString out = m_dir.filePath(QString("out%1").arg(QTest::currentDataTag()).remove(' '));
    for (QString& arg : args)
        arg.replace("IN", m_dir.filePath("ana.inv")).replace("OUT", out);
    QProcess process;
    process.start(m_cli,
        QStringList {
            "--settings", m_dir.filePath("settings.ini"), "--data", QString::fromStdString(fixtureFolder()) }
            + args);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    const QStringList printed
        = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(printed.mid(0, lines.size()), lines);

    QFile file(out);
    QCOMPARE(file.exists(), !written.isEmpty());
    if (!written.isEmpty()) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().contains(written), written.constData());
    }
}

namespace vorpane::test {
int runCliCommandTests(int argc, char** argv)
{
    TestCliCommands tests;
    return QTest::qExec(&tests, argc, argv);
}
} // namespace vorpane::test

#include "test_cli_commands.moc"
