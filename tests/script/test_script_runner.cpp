// ScriptRunner: the temporary file, the predefined names, registered objects and references.

#include "script/script_object.h"
#include "script/script_runner.h"
#include "script_test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace vorpane;
using namespace vorpane::script;
using namespace vorpane::script::test;

namespace {

class CountedObject final : public ScriptObject {
public:
    explicit CountedObject(int& alive)
        : m_alive(alive)
    {
        ++m_alive;
    }

private:
    ~CountedObject() override { --m_alive; }
    int& m_alive;
};

} // namespace

class TestScriptRunner : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { m_ui.reset(); }
    void temporaryFileLivesWithTheRunner();
    void loadTextRunsThroughTheFile();
    void nothingLoaded();
    void referencesChangeTheCallersValue();
    void registeredObjectDiesWithTheRunner();
    void predefinedNames_data();
    void predefinedNames();

private:
    ScopedRecordingUi m_ui;
};

void TestScriptRunner::temporaryFileLivesWithTheRunner()
{
    QString path;
    {
        ScriptRunner runner;
        QVERIFY(runner.temporaryFileName().empty()); // only a text run needs one
        QCOMPARE(runner.loadText("x = 1;"), 1);
        path = QString::fromStdString(runner.temporaryFileName());
        const QFileInfo info(path);
        QVERIFY(info.exists());
        QVERIFY(info.fileName().startsWith("VRP"));
        // In a folder of its own that only this user may enter.
        const QFileInfo folder(info.absolutePath());
        QCOMPARE(folder.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        QCOMPARE(folder.permissions() & 0x0077, QFile::Permissions());
        ScriptRunner other;
        QCOMPARE(other.loadText("x = 2;"), 1);
        QVERIFY(other.temporaryFileName() != runner.temporaryFileName());
    }
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(QFileInfo(path).absolutePath()));
}

void TestScriptRunner::loadTextRunsThroughTheFile()
{
    ScriptRunner runner;
    QCOMPARE(runner.loadText("var x;\r\nx = 4;\r\n\r\ny = 1;\r\n"), 1);
    QFile file(QString::fromStdString(runner.temporaryFileName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("var x;\r\nx = 4;\r\n\r\ny = 1;\r\n"));
    QCOMPARE(runner.run(), 0);
    QCOMPARE(m_ui.texts(), std::string("Line 4 : Variable \"y\" not found"));
}

void TestScriptRunner::nothingLoaded()
{
    ScriptRunner runner;
    int32_t value = 5;
    QCOMPARE(runner.registerValue("x", ScriptValue(1)), 0);
    QCOMPARE(runner.run(&value), 0);
    QCOMPARE(value, 0);
    QVERIFY(m_ui.boxes.empty());
}

void TestScriptRunner::referencesChangeTheCallersValue()
{
    ScriptValue era("1920");
    ScriptValue income(100);
    ScriptRunner runner;
    runner.loadTextInMemory("if (era == \"1920\") income = income * 2 + era.length; income;");
    runner.registerValue("era", ScriptValue::reference(&era));
    runner.registerValue("income", ScriptValue::reference(&income));
    int32_t value = 0;
    QCOMPARE(runner.run(&value), 0); // era.length: a text has no members
    QCOMPARE(m_ui.texts(), std::string("Line 1 : LHS is not an object"));

    ScriptRunner second;
    second.loadTextInMemory("if (era == \"1920\") income = income * 2 + 1; income;");
    second.registerValue("era", ScriptValue::reference(&era));
    second.registerValue("income", ScriptValue::reference(&income));
    QCOMPARE(second.run(&value), 1);
    QCOMPARE(value, 201);
    QCOMPARE(describe(income), QString("f:201"));
}

void TestScriptRunner::registeredObjectDiesWithTheRunner()
{
    int alive = 0;
    {
        ScriptRunner runner;
        runner.loadTextInMemory("var copy; copy = dice; alert(copy == dice); alert(dice + 1);");
        runner.registerValue("dice", ScriptValue(new CountedObject(alive)));
        QCOMPARE(alive, 1);
        QCOMPARE(runner.run(), 1);
        QCOMPARE(alive, 1);
    }
    QCOMPARE(alive, 0);
    QCOMPARE(m_ui.texts(), std::string("1\n[object]1"));
}

void TestScriptRunner::predefinedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("ok");

    QTest::newRow("a new name") << "extra"
                                << "null 1 0 [object]" << 1;
    QTest::newRow("math") << "math"
                          << "Variable \"math\" has already been declared!" << 0;
    QTest::newRow("null") << "null"
                          << "Variable \"null\" has already been declared!" << 0;
}

void TestScriptRunner::predefinedNames()
{
    QFETCH(QString, name);
    int alive = 0;
    ScriptRunner runner;
    runner.loadTextInMemory("alert(null + \" \" + true + \" \" + false + \" \" + math);");
    runner.registerValue(name.toStdString(), ScriptValue(new CountedObject(alive)));
    QTEST(runner.run(), "ok");
    QTEST(QString::fromStdString(m_ui.texts()).replace('\n', '|'), "boxes");
}

int runScriptRunnerTests(int argc, char** argv)
{
    TestScriptRunner tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_script_runner.moc"
