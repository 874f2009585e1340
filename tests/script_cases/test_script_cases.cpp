// Runs every cases/*.vsc as vorpane-cli run does (runner, dice and output, fixed seed) and checks
// the expectations written in the script itself.
#include "case_file.h"
#include "platform/cp1252.h"
#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/dice_object.h"
#include "script/script_runner.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vorpane;

namespace {

constexpr uint32_t kSeed = 1;

QStringList asStrings(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list << fromCp1252(text);
    return list;
}

} // namespace

class TestScriptCases : public QObject {
    Q_OBJECT
private slots:
    void cases_data();
    void cases();
};

void TestScriptCases::cases_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(qEnvironmentVariable("VORPANE_SOURCE_DIR") + "/tests/script_cases/cases");
    const QStringList files = dir.entryList({ "*.vsc" }, QDir::Files, QDir::Name);
    QVERIFY2(!files.isEmpty(), qPrintable(dir.path()));
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

void TestScriptCases::cases()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ScriptCase expected;
    std::string error;
    QVERIFY2(parseScriptCase(bytes.toStdString(), expected, error), error.c_str());

    ScopedRecordingUi recorder;
    recorder.yesNoAnswers = expected.answers;
    recorder.promptAnswers = expected.promptAnswers;
    seedRandom(kSeed);

    int32_t value = 0;
    int result = 0;
    {
        script::ScriptRunner runner;
        runner.loadFile(path.toStdString());
        registerDiceAndOutput(runner); // as vorpane-cli run does
        result = runner.run(&value);
    }

    std::vector<std::string> boxes;
    for (const RecordingUi::Box& box : recorder.boxes)
        boxes.push_back(box.text);
    const std::vector<std::string> lines(recorder.output().lines().begin(), recorder.output().lines().end());
    QCOMPARE(asStrings(boxes), asStrings(expected.boxes));
    QCOMPARE(asStrings(lines), asStrings(expected.outputLines));
    QCOMPARE(result, expected.result);
    if (expected.value)
        QCOMPARE(value, *expected.value);
    if (expected.shown)
        QCOMPARE(recorder.output().isVisible(), *expected.shown);
}

QTEST_GUILESS_MAIN(TestScriptCases)
#include "test_script_cases.moc"
