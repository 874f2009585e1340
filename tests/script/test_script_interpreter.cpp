// The interpreter: scopes and calls, loops and their counts, errors and their single message,
// the limits (call depth, machine stack, step budget) and the break key.

#include "platform/break_key.h"
#include "script/error_line.h"
#include "script/interpreter.h"
#include "script/memory_budget.h"
#include "script/script_object.h"
#include "script/script_runner.h"
#include "script_test_support.h"

#include <QTest>
#include <QThread>

using namespace vorpane;
using namespace vorpane::script;
using namespace vorpane::script::test;

namespace {

// A host object for the tests: status(n) returns status n, raise(code) raises the code, press()
// presses the break key, ping() counts; it records its own destruction.
class ProbeObject final : public ScriptObject {
public:
    explicit ProbeObject(bool* destroyed = nullptr)
        : m_destroyed(destroyed)
    {
    }

    int callMember(const std::string& name, ScriptValue* args, int argCount, ScriptValue& result) override
    {
        if (name == "status")
            return args[0].toInteger();
        if (name == "raise")
            raiseError(args[0].toInteger());
        if (name == "press")
            pressBreakKey();
        if (name == "ping")
            result.setInteger(m_destroyed && *m_destroyed ? -1 : 1);
        return CallOk;
    }

private:
    ~ProbeObject() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }
    bool* m_destroyed;
};

RunResult runWithProbe(const std::string& text, RecordingUi& ui, bool* destroyed = nullptr)
{
    RunResult result;
    {
        ScriptRunner runner;
        runner.loadTextInMemory(text);
        runner.registerValue("probe", ScriptValue(new ProbeObject(destroyed)));
        result.ok = runner.run(&result.value);
    }
    for (const RecordingUi::Box& box : ui.boxes)
        result.boxes << QString::fromLatin1(box.text.c_str());
    return result;
}

std::string nestedNegations(int depth)
{
    std::string text = "var x;\nx = ";
    for (int i = 0; i < depth; ++i)
        text += "-(";
    text += "1";
    text += std::string(size_t(depth), ')');
    text += ";\nalert(x);\n";
    return text;
}

const QString kUnhandled
    = "Unhandled exception:\nThis is probably due to a stack overflow. This program does not "
      "handle deep recursive functions very well - try rewriting the script without "
      "recursion.\nThis exception may also be caused by an internal parser error.";

} // namespace

class TestScriptInterpreter : public QObject {
    Q_OBJECT
private slots:
    void scripts_data();
    void scripts();
    void callDepthLimit_data();
    void callDepthLimit();
    void deepExpressionsDoNotOverflowTheStack();
    void smallStackReportsInsteadOfCrashing();
    void stepBudgetCountsEveryNode_data();
    void stepBudgetCountsEveryNode();
    void stepBudgetStopsSilently_data();
    void stepBudgetStopsSilently();
    void breakKeyPressedBeforeTheRunIsForgotten();
    void breakKeyAsksAndStops_data();
    void breakKeyAsksAndStops();
    void pollSeesTheKeyDuringAnEndlessRun_data();
    void pollSeesTheKeyDuringAnEndlessRun();
    void stepBudgetHoldsAcrossPolls();
    void errorLineIsTheFirstReported_data();
    void errorLineIsTheFirstReported();
    void errorLineRecordersNest();
    void hostStatuses_data();
    void hostStatuses();
    void objectIsHeldDuringItsCall();
    void missingFileIsReported();
    void memoryBudgetEndsTheRun_data();
    void memoryBudgetEndsTheRun();
    void repeatedRunsShowTheSameBoxes_data();
    void repeatedRunsShowTheSameBoxes();
};

void TestScriptInterpreter::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("ok");
    QTest::addColumn<int>("value");

    // Scopes and calls
    QTest::newRow("parameter shadows global")
        << "var x; x = 1; function f(x) { return x; } alert(f(2)); alert(x);"
        << "2|1" << 1 << 0;
    QTest::newRow("local shadows global")
        << "var x; x = 1; function f() { var x; x = 5; return x; } alert(f() + x);"
        << "6" << 1 << 0;
    QTest::newRow("function changes a global") << "var g; g = 3; function f() { g = g + 1; } f(); alert(g);"
                                               << "4" << 1 << 0;
    QTest::newRow("falls off its end") << "var y; function f() { var x; x = 5; } y = f(); alert(y);"
                                       << "5" << 1 << 0;
    QTest::newRow("recursion keeps its locals")
        << "function f(n) { var a; a = n; if (n > 0) f(n - 1); return a; } alert(f(3));"
        << "3" << 1 << 0;
    QTest::newRow("recursion through another function keeps parameters")
        << "function f(n) { var r; if (n == 0) return \"\"; r = g(n); return r + n; }"
           " function g(m) { return f(m - 1); } alert(f(3));"
        << "123" << 1 << 0;
    QTest::newRow("arguments of a recursive call see the caller's locals")
        << "function f(n) { var k; k = n - 1; if (n == 0) return 0; return f(k) + 1; } alert(f(3));"
        << "3" << 1 << 0;
    QTest::newRow("a declaration reads the global it is about to hide")
        << "var x; x = 4; function f() { var y = x, x = 2; return y * 10 + x; } alert(f());"
        << "42" << 1 << 0;
    QTest::newRow("a declaration's value calls the function itself")
        << "function f(n) { var a = n > 0 ? f(n - 1) : 0, b = a + 1; return b; } alert(f(3));"
        << "4" << 1 << 0;
    QTest::newRow("a call in an argument of a call of the same function")
        << "function f(a, b) { var s; s = a * 10 + b; return s; } alert(f(f(1, 2), f(3, 4)));"
        << "154" << 1 << 0;
    QTest::newRow("a break in a declaration's value skips the rest of the body")
        << "var n; function g() { break; } function f() { var a = g(), b; b = 5; n = b; }"
           " n = 0; while (n < 3) { n++; f(); } alert(n);"
        << "1" << 1 << 0;
    QTest::newRow("a local declared twice in one body")
        << "function f() { var a, b; var c, a; c = 1; }\nf();"
        << "Line 1 : Variable \"a\" has already been declared!" << 0 << 0;
    QTest::newRow("a body of declarations only")
        << "var y; y = 7; function f() { var a; var b; } y = f(); alert(y);"
        << "0" << 1 << 0;
    QTest::newRow("locals start at zero in every call")
        << "function f(n) { var a; var b; a = a + n; if (n > 0) b = f(n - 1); return a + b; } alert(f(3));"
        << "6" << 1 << 0;
    QTest::newRow("thousands of locals in nested calls") << [] {
        // More than a chunk of the frame stack per call.
        std::string declarations, sum;
        for (int i = 0; i < 5000; ++i) {
            declarations
                += (i % 100 ? ", v" : "var v") + std::to_string(i) + " = n" + (i % 100 == 99 ? ";" : "");
            sum += (i ? " + v" : "v") + std::to_string(i);
        }
        return QString::fromStdString(
            "function f(n) { " + declarations + " if (n > 0) f(n - 1); return " + sum + "; } alert(f(3));");
    }() << "15000" << 1 << 0;
    // Loops and counts
    QTest::newRow("empty for condition never runs") << "var x; x = 0; for (;;) { x = 1; } alert(x);"
                                                    << "0" << 1 << 0;
    QTest::newRow("for tests a float exactly")
        << "var i, n; n = 0; for (i = 0.5; i; i = 0) n = n + 1; while (0.5) n = 9; alert(n);"
        << "1" << 1 << 0;
    QTest::newRow("for compares text with 0")
        << "var s, n; n = 0; for (s = \"00\"; s; s = \"0\") n = n + 1; alert(n);"
        << "1" << 1 << 0;
    QTest::newRow("continue still runs the step")
        << "var i, n; n = 0; for (i = 0; i < 5; i++) { if (i % 2) continue; n = n + 1; } alert(n);"
        << "3" << 1 << 0;
    QTest::newRow("loop value is the last body value") << "var i; for (i = 0; i < 3; i++) i;"
                                                       << "" << 1 << 2;
    QTest::newRow("break in a called function ends the caller's loop")
        << "var n; function f() { break; } n = 0; while (n < 5) { n++; f(); n = 100; } alert(n);"
        << "1" << 1 << 0;
    QTest::newRow("script value") << "var a; a = 6; a * 7;"
                                  << "" << 1 << 42;
    // Errors
    QTest::newRow("undeclared variable in a function") << "function f() { y = 1; }\nf();"
                                                       << "Line 1 : Variable \"y\" not found" << 0 << 0;
    QTest::newRow("only the first error is shown") << "var x;\nx = 1 / 0 + y;\nalert(x);"
                                                   << "Line 2 : Variable \"y\" not found" << 0 << 0;
    QTest::newRow("one message per missing parameter")
        << "function f(a, b, c) { }\nf(1);"
        << "Line 2 : Too few parameters for function call to \"f\"|Line 2 : Too few parameters for function "
           "call to "
           "\"f\""
        << 0 << 0;
    QTest::newRow("extra arguments are not evaluated")
        << "function f(a) { }\nf(1, alert(2));"
        << "Line 2 : Too many parameters for function call to \"f\"" << 0 << 0;
    QTest::newRow("failed argument hides the count") << "function f(a, b) { }\nf(1 / 0);"
                                                     << "Line 2 : Divide by zero" << 0 << 0;
    QTest::newRow("local named like a parameter")
        << "function f(a) { var a; }\n\nf(1);"
        << "Line 1 : Variable \"a\" has already been declared!" << 0 << 0;
    QTest::newRow("error in a condition") << "var x;\nif (\"a\" - 1) x = 1;\nalert(2);"
                                          << "Line 2 : Invalid operator for strings" << 0 << 0;
    // Element references stay valid while the array grows or is dropped.
    QTest::newRow("element read while the array grows")
        << "var a, x; a = new Array; a[0] = 7; x = a[5000] + a[0]; alert(x);"
        << "7" << 1 << 0;
    QTest::newRow("element read after its array was dropped")
        << "var a, x; a = new Array; a[0] = 7; x = (a = 0) + a[0]; alert(x);"
        << "7" << 1 << 0;
    QTest::newRow("a long chain of arrays is freed without recursion")
        << "var a, i; a = 0; for (i = 0; i < 100000; i++) a = new Array(a); a = 0; alert(i);"
        << "100000" << 1 << 0;
    QTest::newRow("elements across chunk boundaries")
        << "var a, i, s; a = new Array; for (i = 0; i < 1000; i++) a[i] = i; s = 0;"
           " for (i = 0; i < 1000; i++) s = s + a[i]; alert(s + \" \" + a[15] + a[16] + a[47] + a[48]);"
        << "499500 15164748" << 1 << 0;
    // Shapes with handlers of their own keep the general rules
    QTest::newRow("for steps a Float counter")
        << "var i, n; n = 0; for (i = 0.5; i < 3; i++) n++; alert(i); alert(n);"
        << "3.5|3" << 1 << 0;
    QTest::newRow("for steps down and stops at break") << "var s, i; s = 1; for (i = 0; i < 4; i--) { s = s "
                                                          "* -2; if (s > 100) break; } alert(s + \" \" + i);"
                                                       << "256 -7" << 1 << 0;
    QTest::newRow("for step of a String fails")
        << "var i, n; n = 0; for (i = \"a\"; n < 3; i++) n++; alert(i);"
        << "Line 1 : Invalid operator for strings" << 0 << 0;
    QTest::newRow("sum stored in an element")
        << "var a; a = new Array; a[0] = 1; a[0] = a[0] + 2; alert(a[0]);"
        << "3" << 1 << 0;
    QTest::newRow("assigned operator reports its own line")
        << "var x;\nx =\n\"a\" * 2;\nalert(x);"
        << "Line 3 : Invalid operator for strings" << 0 << 0;
    QTest::newRow("assigned remainder by zero") << "var x; x = 7; x = x % 0; alert(x);"
                                                << "Line 1 : Divide by zero" << 0 << 0;
    QTest::newRow("assigned remainder by a negative") << "var x; x = 7; x = x % -3; alert(x);"
                                                      << "1" << 1 << 0;
    QTest::newRow("variable assigned its own element") << "var a; a = new Array(\"k\"); a = a[0]; alert(a);"
                                                       << "k" << 1 << 0;
}

void TestScriptInterpreter::scripts()
{
    QFETCH(QString, script);
    const RunResult result = runScript(script.toStdString());
    QTEST(result.boxes.join('|'), "boxes");
    QTEST(result.ok, "ok");
    QTEST(int(result.value), "value");
}

void TestScriptInterpreter::callDepthLimit_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("boxes");
    QTest::newRow("400 nested calls") << 400 << "400";
    QTest::newRow("401 nested calls") << 401 << "Line 2 : Stack Overflow";
}

void TestScriptInterpreter::callDepthLimit()
{
    QFETCH(int, depth);
    // alert() would be a call too, so the result is read outside any call.
    const std::string script = "var r;\nfunction f(n) { if (n > 1) return f(n - 1) + 1; return 1; }\nr = f("
        + std::to_string(depth) + ");\nalert(r);";
    QTEST(runScript(script).boxes.join('|'), "boxes");
}

void TestScriptInterpreter::deepExpressionsDoNotOverflowTheStack()
{
    const RunResult result = runScript(nestedNegations(3000));
    QCOMPARE(result.boxes, QStringList { "1" });
}

void TestScriptInterpreter::smallStackReportsInsteadOfCrashing()
{
    RunResult nested, statements, recursion;
    QThread* thread = QThread::create([&] {
        nested = runScript(nestedNegations(3000));
        // Statements nest without expressions in between; only some levels check the stack.
        std::string ifs = "var x;\n";
        for (int i = 0; i < 2400; ++i)
            ifs += "if (1) ";
        statements = runScript(ifs + "x = 1;\nalert(x);\n");
        recursion = runScript("function f(n) { if (n > 1) return f(n - 1) + 1; return 1; }\nalert(f(400));");
    });
    thread->setStackSize(128 * 1024);
    thread->start();
    QVERIFY(thread->wait(60000));
    delete thread;
    QCOMPARE(nested.boxes, QStringList { kUnhandled });
    QCOMPARE(nested.ok, 0);
    QCOMPARE(statements.boxes, QStringList { kUnhandled });
    QCOMPARE(recursion.boxes, QStringList { kUnhandled });
}

namespace {

// The smallest step budget the script completes with.
uint64_t smallestBudget(const std::string& script)
{
    constexpr uint64_t kMostSteps = 100000;
    uint64_t low = 1, high = kMostSteps;
    while (low < high) {
        uint64_t middle = (low + high) / 2;
        ScopedRecordingUi ui;
        if (runScript(script, ui, middle).ok)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

// Two scripts with the same nodes need the same budget, whichever handlers run them.
void TestScriptInterpreter::stepBudgetCountsEveryNode_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("sameNodes");
    QTest::newRow("assigned sum and assigned bitwise or")
        << "var i, s; s = 0; for (i = 0; i < 20; i++) s = s + i; alert(s);"
        << "var i, s; s = 0; for (i = 0; i < 20; i++) s = s | i; alert(s);";
    QTest::newRow("counting up and down") << "var i, s; s = 0; for (i = 0; i < 20; i++) s = s - i; alert(s);"
                                          << "var i, s; s = 0; for (i = 20; i > 0; i--) s = s * i; alert(s);";
}

void TestScriptInterpreter::stepBudgetCountsEveryNode()
{
    QFETCH(QString, script);
    QFETCH(QString, sameNodes);
    uint64_t budget = smallestBudget(script.toStdString());
    QVERIFY(budget > 20);
    QCOMPARE(smallestBudget(sameNodes.toStdString()), budget);
}

void TestScriptInterpreter::stepBudgetStopsSilently_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("endless loop") << "var i; i = 0; while (1) i++;";
    QTest::newRow("sorting mixed kinds")
        << "var a; a = new Array(\"x\", 1); a[30000] = 2; a.sort(); alert(1);";
    QTest::newRow("filling arrays") << "var a; while (1) a = new Array(65535);";
    // Without a charge by length this would reach the longest text and report "Out of memory".
    QTest::newRow("growing a text") << "var s; s = \"x\"; while (1) s = s + s;";
}

void TestScriptInterpreter::stepBudgetStopsSilently()
{
    QFETCH(QString, script);
    ScopedRecordingUi ui;
    const RunResult result = runScript(script.toStdString(), ui, 10000);
    QCOMPARE(result.ok, 0);
    QVERIFY(result.boxes.isEmpty());
}

void TestScriptInterpreter::breakKeyPressedBeforeTheRunIsForgotten()
{
    pressBreakKey();
    ScopedRecordingUi ui;
    const RunResult result = runScript("alert(1);", ui);
    QCOMPARE(result.ok, 1);
    QCOMPARE(result.boxes, QStringList { "1" });
    QVERIFY(!breakKeyPending());
}

void TestScriptInterpreter::breakKeyAsksAndStops_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("ok");
    const QString question = "Break detected at line 3\nStop script execuction?";
    QTest::newRow("yes") << true << question << 0;
    QTest::newRow("no") << false << question + "|done" << 1;
}

void TestScriptInterpreter::breakKeyAsksAndStops()
{
    QFETCH(bool, answer);
    ScopedRecordingUi ui;
    ui.yesNoAnswers = { answer };
    const RunResult result = runWithProbe("var i;\nprobe.press();\ni = 1;\nalert(\"done\");", ui);
    QTEST(result.boxes.join('|'), "boxes");
    QTEST(result.ok, "ok");
    QCOMPARE(ui.boxes.front().title, std::string("Break"));
    QCOMPARE(ui.boxes.front().icon, MsgIcon::Question);
    QCOMPARE(ui.boxes.front().buttons, MsgButtons::YesNo);
}

namespace {

int g_polls = 0;
bool g_runningWhilePolled = false;

// Stands for the desktop's poll: the user presses the key while the run goes on.
void pressOnPoll()
{
    ++g_polls;
    g_runningWhilePolled = scriptRunInProgress();
    pressBreakKey();
}

} // namespace

// Every node, and every library operation that spends steps by its size, leads to the poll.
void TestScriptInterpreter::pollSeesTheKeyDuringAnEndlessRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("while") << "var i;\ni = 0;\nwhile (1) i++;";
    QTest::newRow("for") << "var i;\nfor (i = 0; 1; i++) { }";
    QTest::newRow("calls") << "function f() { return 1; }\nwhile (1) f();";
    QTest::newRow("filling arrays") << "var a;\nwhile (1) a = new Array(65535);";
}

void TestScriptInterpreter::pollSeesTheKeyDuringAnEndlessRun()
{
    QFETCH(QString, script);
    g_polls = 0;
    setBreakKeyPoll(&pressOnPoll);
    ScopedRecordingUi ui;
    ui.yesNoAnswers = { true };
    const RunResult result = runScript(script.toStdString(), ui);
    setBreakKeyPoll(nullptr);
    QCOMPARE(result.ok, 0);
    QVERIFY(g_polls >= 1);
    QVERIFY(g_runningWhilePolled);
    QVERIFY(!scriptRunInProgress());
    QCOMPARE(result.boxes.size(), 1);
    QVERIFY2(result.boxes[0].startsWith("Break detected at line "), qPrintable(result.boxes[0]));
}

// The countdown to the next poll is cut from the budget, never added to it.
void TestScriptInterpreter::stepBudgetHoldsAcrossPolls()
{
    const std::string loop = "var i, s; s = 0; for (i = 0; i < 3000; i++) s = s + i; alert(s);";
    const uint64_t budget = smallestBudget(loop);
    QVERIFY(budget > 2 * kBreakKeyPollSteps);
    ScopedRecordingUi ui;
    QCOMPARE(runScript(loop, ui, budget - 1).ok, 0);
    QVERIFY(ui.boxes.empty());
}

void TestScriptInterpreter::errorLineIsTheFirstReported_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<int>("line");
    QTest::newRow("no error") << "var a;\na = 1;\n" << false << 0;
    QTest::newRow("run error") << "var a;\nb = 1;\na = 2;\n" << true << 2;
    QTest::newRow("inside a function") << "function f() {\n  return x;\n}\nf();\n" << true << 2;
    QTest::newRow("syntax error") << "var a;\na = 1;\na = ;\n" << true << 3;
    // The unexpected symbol comes first, the syntax error it causes second.
    QTest::newRow("lexical error") << "var a;\na = 1;\n$ a = 2;\n" << true << 3;
    QTest::newRow("a stop asked for is no error") << "var a;\nprobe.press();\na = 1;\n" << false << 0;
}

void TestScriptInterpreter::errorLineIsTheFirstReported()
{
    QFETCH(QString, script);
    ErrorLineRecorder recorder;
    ScopedRecordingUi ui;
    runWithProbe(script.toStdString(), ui);
    QTEST(recorder.errorReported(), "reported");
    QTEST(int(recorder.line()), "line");
}

void TestScriptInterpreter::errorLineRecordersNest()
{
    ErrorLineRecorder outer;
    {
        ErrorLineRecorder inner;
        runScript("var a;\nb = 1;\n");
        QCOMPARE(int(inner.line()), 2);
    }
    QVERIFY(!outer.errorReported());
    runScript("x = 1;\n");
    QCOMPARE(int(outer.line()), 1);
    // A message without a line is an error at no line.
    ErrorLineRecorder missing;
    ScriptRunner runner;
    ScopedRecordingUi ui;
    runner.loadFile("/nonexistent/none.vsc");
    runner.run();
    QVERIFY(missing.errorReported());
    QCOMPARE(int(missing.line()), 0);
}

void TestScriptInterpreter::hostStatuses_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("boxes");

    QTest::newRow("success") << "probe.status(0)"
                             << "after";
    QTest::newRow("already reported") << "probe.status(1)"
                                      << "";
    QTest::newRow("not found") << "probe.status(2)"
                               << "Line 1 : Member function status not found!";
    QTest::newRow("too few") << "probe.status(3)"
                             << "Line 1 : status() : too few parameters";
    QTest::newRow("too many") << "probe.status(4)"
                              << "Line 1 : status() : too many parameters";
    QTest::newRow("other") << "probe.status(7)"
                           << "Line 1 : failed to call member function status";
    QTest::newRow("known code") << "probe.raise(-6)"
                                << "Line 1 : Array access out of bounds";
    QTest::newRow("unknown code") << "probe.raise(-20)"
                                  << "Line 1 : Internal Parser Error: 0xFFFFFFEC";
}

void TestScriptInterpreter::hostStatuses()
{
    QFETCH(QString, call);
    ScopedRecordingUi ui;
    const RunResult result = runWithProbe((call + ";\nalert(\"after\");").toStdString(), ui);
    QTEST(result.boxes.join('|'), "boxes");
    QCOMPARE(result.ok, call.endsWith("(0)") ? 1 : 0);
}

void TestScriptInterpreter::objectIsHeldDuringItsCall()
{
    // The argument drops the only variable that holds the object before the call is made.
    bool destroyed = false;
    ScopedRecordingUi ui;
    const RunResult result = runWithProbe("alert(probe.ping(probe = 0));", ui, &destroyed);
    QCOMPARE(result.boxes, QStringList { "1" });
    QVERIFY(destroyed);
}

void TestScriptInterpreter::missingFileIsReported()
{
    ScopedRecordingUi ui;
    ScriptRunner runner;
    runner.loadFile("/nonexistent/folder/script.vsc");
    QCOMPARE(runner.run(), 0);
    QCOMPARE(ui.boxes.size(), size_t(1));
    QCOMPARE(ui.boxes[0].text, std::string("Couldn't open file"));
    QCOMPARE(ui.boxes[0].title, std::string("Script Error"));
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Warning);
}

void TestScriptInterpreter::memoryBudgetEndsTheRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("boxes");
    // Each script would hold far more than the 1 MB the test allows.
    QTest::newRow("doubled texts kept in an array")
        << "var a, s, i; a = new Array(); s = \"0123456789\"; i = 0;\n"
           "while (i < 20) {\n s = s + s;\n a[i] = s; i++; }"
        << "Line 3 : Out of memory";
    QTest::newRow("a text grown in place") << "var s; s = \"x\";\nwhile (1)\n s = s + \"0123456789abcdef\";"
                                           << "Line 3 : Out of memory";
    QTest::newRow("arrays of arrays")
        << "var a, i; a = new Array(); i = 0;\nwhile (1) {\n a[i] = new Array(20000); i++; }"
        << "Line 3 : Out of memory";
    QTest::newRow("a host allocation fails") << "var x;\nx = new failing();"
                                             << "Line 2 : Out of memory";
    QTest::newRow("within the budget") << "var a; a = new Array(1000); a[999] = \"x\"; alert(a.length);"
                                       << "1000";
}

void TestScriptInterpreter::memoryBudgetEndsTheRun()
{
    QFETCH(QString, script);
    QFETCH(QString, boxes);
    ScopedRecordingUi ui;
    const size_t heldBefore = heldMemory();
    {
        ScriptRunner runner;
        runner.loadTextInMemory(script.toStdString());
        runner.interpreter()->setMemoryBudget(1024 * 1024);
        runner.interpreter()->registerClass(
            "failing", [](ScriptValue*, int, ScriptValue&) -> int { throw std::bad_alloc(); });
        runner.run();
    }
    QStringList texts;
    for (const auto& box : ui.boxes)
        texts << QString::fromStdString(box.text);
    QCOMPARE(texts.join('|'), boxes);
    // Everything the run charged was given back with its values.
    QCOMPARE(heldMemory(), heldBefore);
}

// A sheet runs its script at every redraw, and a parse is kept for the next run of the same text:
// the second run shows what the first showed.
void TestScriptInterpreter::repeatedRunsShowTheSameBoxes_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("a parse that reports and goes on") << QStringLiteral("\x01 alert(1);");
    QTest::newRow("a parse that fails") << "alert(1;";
    QTest::newRow("a run that fails") << "var x; x = y;";
    QTest::newRow("a clean run") << "alert(2);";
}

void TestScriptInterpreter::repeatedRunsShowTheSameBoxes()
{
    QFETCH(QString, script);
    const RunResult first = runScript(script.toStdString());
    const RunResult second = runScript(script.toStdString());
    QVERIFY(!first.boxes.isEmpty());
    QCOMPARE(second.boxes, first.boxes);
    QCOMPARE(second.ok, first.ok);
}

int runScriptInterpreterTests(int argc, char** argv)
{
    TestScriptInterpreter tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_script_interpreter.moc"
