// vorpane-cli run as a process: exit codes, box lines and output lines on standard output.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCliRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void run_data();
    void run();
    void seedRepeatsARun();
    void helpListsEveryCommand_data();
    void helpListsEveryCommand();

private:
    struct Result {
        int exitCode = -1;
        QStringList lines;
    };
    Result runCli(const QStringList& args, const QByteArray& input = {});
    QString writeScript(const QByteArray& bytes);

    QTemporaryDir m_dir;
    QString m_cli;
    int m_scripts = 0;
};

void TestCliRun::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_cli = qEnvironmentVariable("VORPANE_DATA") + "/vorpane-cli";
    QVERIFY2(QFile::exists(m_cli), qPrintable(m_cli));
}

QString TestCliRun::writeScript(const QByteArray& bytes)
{
    const QString path = m_dir.filePath(QString("script%1.vsc").arg(++m_scripts));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

TestCliRun::Result TestCliRun::runCli(const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(m_cli, QStringList { "--settings", m_dir.filePath("settings.ini") } + args);
    process.write(input);
    process.closeWriteChannel();
    Result result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    result.lines = out.split('\n', Qt::SkipEmptyParts);
    return result;
}

void TestCliRun::run_data()
{
    // In args, SCRIPT stands for the script written from the first column, MISSING for a file
    // that does not exist.
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines");

    const QStringList run { "run", "SCRIPT" };
    const QStringList none;
    QTest::newRow("output lines") << QByteArray("output.write(\"a\");\noutput.write(1.5);\n") << run
                                  << QByteArray() << 0 << QStringList { "a", "1.5" };
    QTest::newRow("value does not decide the exit code")
        << QByteArray("return 0;\n") << run << QByteArray() << 0 << none;
    QTest::newRow("runtime error") << QByteArray("output.write(1);\nx = 1;\noutput.write(2);\n") << run
                                   << QByteArray() << 1
                                   << QStringList { "1", "[Script Error] Line 2 : Variable \"x\" not found" };
    QTest::newRow("parse error keeps its line feed as backslash n")
        << QByteArray("x = 1 +;\n") << run << QByteArray() << 1
        << QStringList { "[Script Error] Line 1 : syntax error\\n;" };
    QTest::newRow("missing script") << QByteArray() << QStringList { "run", "MISSING" } << QByteArray() << 1
                                    << QStringList { "[Script Error] Couldn't open file" };
    QTest::newRow("alert title") << QByteArray("alert(\"hi\");\n") << run << QByteArray() << 0
                                 << QStringList { "[Message] hi" };
    QTest::newRow("questions answered yes by default")
        << QByteArray("output.write(confirm(\"ok?\"));\n") << run << QByteArray() << 0
        << QStringList { "[Confirm] ok?", "1" };
    QTest::newRow("questions answered no") << QByteArray("output.write(confirm(\"ok?\"));\n")
                                           << QStringList { "--answer", "no", "run", "SCRIPT" }
                                           << QByteArray() << 0 << QStringList { "[Confirm] ok?", "0" };
    QTest::newRow("prompt reads a line") << QByteArray("output.write(prompt(\"name\"));\n") << run
                                         << QByteArray("Ana\n") << 0 << QStringList { "Ana" };
    QTest::newRow("prompt at end of input is cancel") << QByteArray("output.write(prompt(\"name\"));\n")
                                                      << run << QByteArray() << 0 << QStringList { "null" };
    QTest::newRow("dice box has the application title")
        << QByteArray("output.write(dice.Roll(\"6/0\"));\n") << run << QByteArray() << 0
        << QStringList { "[Vorpane] Malformed Dice Roll Expression: 6/0\\nDivide by zero", "0" };
    QTest::newRow("texts print as UTF-8")
        << QByteArray("output.write(\"Espa\xF1"
                      "a\");\n")
        << run << QByteArray() << 0 << QStringList { QString::fromUtf8("Espa\u00F1a") };
    QTest::newRow("no script is wrong usage")
        << QByteArray() << QStringList { "run" } << QByteArray() << 2 << none;
    QTest::newRow("version") << QByteArray() << QStringList { "--version" } << QByteArray() << 0
                             << QStringList { "vorpane-cli " VORPANE_VERSION };
    QTest::newRow("no command is wrong usage") << QByteArray() << none << QByteArray() << 2 << none;
    QTest::newRow("two scripts are wrong usage")
        << QByteArray(";\n") << QStringList { "run", "SCRIPT", "SCRIPT" } << QByteArray() << 2 << none;
}

void TestCliRun::run()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);

    const QString path = script.isEmpty() ? QString() : writeScript(script);
    for (QString& arg : args) {
        if (arg == "SCRIPT")
            arg = path;
        else if (arg == "MISSING")
            arg = m_dir.filePath("missing.vsc");
    }
    const Result result = runCli(args, input);
    QCOMPARE(result.lines, lines);
    QCOMPARE(result.exitCode, exitCode);
}

void TestCliRun::helpListsEveryCommand_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("long") << "--help";
    QTest::newRow("short") << "-h";
}

void TestCliRun::helpListsEveryCommand()
{
    QFETCH(QString, option);
    const Result result = runCli({ option }, {});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(!result.lines.isEmpty());
    QVERIFY(result.lines.front().startsWith("usage: vorpane-cli "));
    for (const char* command : { "run", "new", "check", "render", "rules", "names", "image", "spells" })
        QVERIFY2(result.lines.indexOf(QRegularExpression(QString("  %1 .*").arg(command))) >= 0, command);
}

void TestCliRun::seedRepeatsARun()
{
    const QString path = writeScript(
        "var i;\nfor (i = 0; i < 5; i++) output.write(dice.Roll(\"D1000\") + \" \" + math.random());\n");
    const Result first = runCli({ "--seed", "5", "run", path });
    const Result second = runCli({ "--seed", "5", "run", path });
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.lines.size(), 5);
    QCOMPARE(second.lines, first.lines);
}

QTEST_GUILESS_MAIN(TestCliRun)
#include "test_cli_run.moc"
