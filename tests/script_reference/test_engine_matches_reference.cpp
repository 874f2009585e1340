// The engine against the reference evaluator (the earlier tree walker) on scripts that reach the
// engine's in-place paths and the language's quirks: both must show the same boxes and output
// lines and give the same success and value, and they must do so under every step budget too,
// which holds them to counting the same nodes.

#include "platform/recording_ui.h"
#include "script/array_object.h"
#include "script/math_object.h"
#include "script/output_object.h"
#include "script/script_runner.h"
#include "script_reference/interpreter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <string>

using namespace vorpane;
using namespace vorpane::script;

namespace {

struct Outcome {
    int ok = 0;
    int32_t value = 0;
    QStringList events; // boxes, then output lines

    bool operator==(const Outcome&) const = default;
};

QString describe(const Outcome& outcome)
{
    return QStringLiteral("ok %1, value %2: %3")
        .arg(outcome.ok)
        .arg(outcome.value)
        .arg(outcome.events.join(QStringLiteral(" | ")));
}

Outcome collect(RecordingUi& ui, int ok, int32_t value)
{
    Outcome outcome { ok, value, {} };
    for (const auto& box : ui.boxes)
        outcome.events << QStringLiteral("box %1: %2")
                              .arg(QString::fromStdString(box.title), QString::fromStdString(box.text));
    for (const auto& line : ui.output().lines())
        outcome.events << QStringLiteral("line %1").arg(QString::fromStdString(line));
    return outcome;
}

Outcome runEngine(const std::string& text, uint64_t budget)
{
    ScopedRecordingUi ui;
    ui.yesNoAnswers = { true, false };
    int ok = 0;
    int32_t value = 0;
    {
        ScriptRunner runner;
        runner.setStepBudget(budget);
        runner.loadTextInMemory(text);
        runner.registerValue("output", ScriptValue(new OutputObject));
        ok = runner.run(&value);
    }
    return collect(ui, ok, value);
}

// On the bytecode engine, and whether the program compiled to it; ranOut when the budget cut it.
Outcome runBytecode(const std::string& text, uint64_t budget, bool& compiled, bool& ranOut)
{
    ScopedRecordingUi ui;
    ui.yesNoAnswers = { true, false };
    int ok = 0;
    int32_t value = 0;
    {
        ScriptRunner runner;
        runner.setStepBudget(budget);
        runner.loadTextInMemory(text);
        runner.interpreter()->setBytecodeEngine(true);
        runner.registerValue("output", ScriptValue(new OutputObject));
        ok = runner.run(&value);
        compiled = runner.interpreter()->ranBytecode();
        ranOut = runner.interpreter()->stepBudgetSpent();
    }
    return collect(ui, ok, value);
}

// As ScriptRunner prepares a run, with the reference evaluator.
Outcome runReference(const std::string& text, uint64_t budget, bool* ranOut = nullptr)
{
    ScopedRecordingUi ui;
    ui.yesNoAnswers = { true, false };
    int ok = 0;
    int32_t value = 0;
    {
        reference::ScriptInterpreter in("");
        in.setStepBudget(budget);
        in.setScriptText(text);
        in.declareGlobal("output", ScriptValue(new OutputObject));
        in.declareGlobal("null", ScriptValue::null());
        in.declareGlobal("true", ScriptValue(1));
        in.declareGlobal("false", ScriptValue(0));
        in.declareGlobal("math", ScriptValue(new MathObject));
        in.registerClass("array", ArrayObject::create);
        ok = in.run(&value);
        if (!ok)
            value = 0; // a failed run has no value
        if (ranOut)
            *ranOut = in.stepBudgetSpent();
    }
    return collect(ui, ok, value);
}

} // namespace

class TestEngineMatchesReference : public QObject {
    Q_OBJECT

private slots:
    void scripts_data();
    void scripts();
    void bytecode_data();
    void bytecode();
    void bytecodeOverCorpus();
};

void TestEngineMatchesReference::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected"); // the engine's outcome without a budget

    QTest::newRow("text grows in place; a copy keeps its text")
        << "var s, t, i;\ns = \"\"; i = 0;\nwhile (i < 5) { s = s + i; i = i + 1; }\n"
           "t = s; s = s + \"x\"; s = s + s; output.write(t); output.write(s);"
        << "ok 1, value 0: line 01234 | line 01234x01234x";
    QTest::newRow("a number then a text added to a name")
        << "var x;\nx = 5; x = x + \"y\"; x = x + 2.5; output.write(x); x = null; x = x + 1; output.write(x);"
        << "ok 1, value 0: line 5y2.5 | line 1";
    QTest::newRow("read-only target of a computed value")
        << "var x;\nx = 1;\nmath.PI = math.PI + x;\noutput.write(x);"
        << "ok 0, value 0: box Script Error: Line 3 : Value cannot be modified";
    QTest::newRow("computed formulas over every kind")
        << "var a, b, c, d, e;\na = 7; b = 2.5; c = \"3\"; d = null; e = ~1.5;\n"
           "output.write((a + b) * 2 - a / 2 % 3);\noutput.write(a / 2 + c);\n"
           "output.write(-a * d + e);\noutput.write(c - 1);"
        << "ok 0, value 0: box Script Error: Line 6 : Invalid operator for strings | line 19 | line 33 | "
           "line 4294967294";
    QTest::newRow("division and remainder by zero inside formulas")
        << "var a, b;\na = 4; b = 0;\noutput.write(a + 1);\nb = a * (a / b);\noutput.write(b);"
        << "ok 0, value 0: box Script Error: Line 4 : Divide by zero | line 5";
    QTest::newRow("wrapping and signs")
        << "var x, y;\nx = 2147483647; y = x + 1; output.write(y);\nx = -2147483647 - 1; output.write(x / "
           "-1);\n"
           "output.write(-6 % 3.0); output.write(7.5 % 2); output.write(-7 % 3); output.write(2147483648.0 % "
           "7);"
        << "ok 1, value 0: line -2147483648 | line 2147483648 | line 0 | line 1.5 | line -1 | line 2";
    QTest::newRow("arguments see the parameters already assigned")
        << "function f(a, b) { if (a > 0) return f(b, a - 10); return a * 100 + b; }\n"
           "function g(n) { var k; k = n * 2; if (n > 0) return g(k - n - 1) + k; return k; }\n"
           "output.write(f(5, 3)); output.write(g(4));"
        << "ok 1, value 0: line -717 | line 20";
    QTest::newRow("a break in a called function ends the caller's loop")
        << "var z, w;\nfunction brk() { var q; q = 1; break; q = 2; return q; }\n"
           "w = 0;\nwhile (w < 5) { w = w + 1; z = brk() + 1; output.write(z); }\noutput.write(w);"
        << "ok 1, value 0: line 1";
    QTest::newRow("elements written and read in place")
        << "var a, i, sum;\na = new Array(2);\ni = 0;\nwhile (i < 6) { a[i] = i * 2; i = i + 1; }\n"
           "sum = 0; i = 0;\nwhile (i < a.length) { sum = sum + a[i]; i = i + 1; }\n"
           "a[\"3\"] = \"t\"; output.write(sum); output.write(a[3] + a.length); a.length = 2; "
           "output.write(a[5]);"
        << "ok 1, value 0: line 30 | line t6 | line 0";
    QTest::newRow("element of a number, and beyond the longest array")
        << "var a, b;\na = new Array;\nb = 3;\na[70000] = 1;\nb[1] = 2;"
        << "ok 0, value 0: box Script Error: Line 4 : Out of memory";
    QTest::newRow("element of an integer")
        << "var b, i;\nb = 3; i = 1;\nb[i] = 2;"
        << "ok 0, value 0: box Script Error: Line 3 : Invalid operator for integers";
    QTest::newRow("conditions of for, while and if")
        << "var w, x;\nfor (w = 0.5; w; w = w - 0.5) output.write(w);\nx = 3;\n"
           "while (x - 0.5) { x = x - 1; if (\"b\" < \"a\") output.write(\"no\"); else output.write(x); }"
        << "ok 1, value 0: line 0.5 | line 2 | line 1";
    QTest::newRow("a formula deeper than those computed in place")
        << "var x;\nx = 1;\nx = ((((((((((((((((x + 1) * 2) - 1) + x) * 2) - 1) + 1) * 2) - 1) + x) * 2) - "
           "1) + 1) * 2) - 1) + 1);"
           "\noutput.write(x);"
        << "ok 1, value 0: line 64";
    QTest::newRow("an undeclared name in a formula")
        << "var y;\ny = 1;\ny = y + x * 2;\noutput.write(y);"
        << "ok 0, value 0: box Script Error: Line 3 : Variable \"x\" not found";
    QTest::newRow("a function falls off its end with its last value")
        << "var y;\nfunction f(a) { var x; if (a) x = a * 3; }\ny = f(2) + f(0);\noutput.write(y);\nreturn y;"
        << "ok 1, value 6: line 6";
    QTest::newRow("operands are read when their operator runs")
        << "var g, x;\nfunction f(a) { var b; b = 2; return (b = 5) * (b = 3) + (a = 4) * a; }\n"
           "g = 1;\nx = (g = 5) + g;\noutput.write(x);\noutput.write(f(1));\nx = 5;\n"
           "output.write(x * --x * --x - 5);"
        << "ok 1, value 0: line 10 | line 41 | line 22";
    QTest::newRow("bitwise, logical and shift operators")
        << "var x;\nfunction f(a, b) { var c; c = (a | b) ^ (a & 3); c = c << 2 >> 1;\n"
           "return !c + ~a + (a && b) + (a || 0) * 10; }\nx = 0;\n"
           "while (x < 4) { output.write(f(x, 6)); x = x + 1; }\noutput.write(\"s\" && 1);"
        << "ok 0, value 0: box Script Error: Line 6 : Invalid operator for strings | line -1 | line 9 | line "
           "8 | "
           "line 7";
    QTest::newRow("locals declared later, and a loop as a function's last statement")
        << "var t;\nfunction f(n) { var i, t; i = 0; t = 5; while (i < n) { t = t + i; i++; } }\n"
           "function g(n) { var s = \"\", k = t, m = k + n; while (k < m) s = s + k++; return s + t; }\n"
           "t = 1;\noutput.write(f(4));\noutput.write(g(3));"
        << "ok 1, value 0: line 3 | line 1231";
    // Called from functions, so that the calls run on the bytecode (a call inside a library
    // call's arguments is the walker's).
    QTest::newRow("elements of a function's variables, stored and read in place")
        << "function fill(a, n) { var i, x; i = 0; while (i < n) { x = i * 1.5; a[i] = x; i = i + 1; } "
           "return a; }\n"
           "function total(a, n, k) { var i, s; i = 0; s = 0; while (i < n) { s = s + a[i] * k; i++; } "
           "return s; }\n"
           "function odd(a) { var i, s; a[2] = \"t\"; a[1] = a; i = 5; a[i] = 7; s = a[2] + a[i];\n"
           "a.length = \"4\"; a[3] = 2; s = s + a[3] + a[9]; a[2] = 1; a[i] = -1; return s + a.length; }\n"
           "function main() { var b, r; b = fill(new Array, 6); r = total(b, 6, 2); output.write(r);\n"
           "r = odd(fill(new Array(3), 3)); output.write(r); }\nmain();"
        << "ok 1, value 0: line 45 | line t72010";
    QTest::newRow("an element of a function's variable that cannot be stored or read")
        << "function f(a, i, v) { a[i] = v; return a[i + 1]; }\n"
           "function main() { var b, r; b = new Array; r = f(b, 0, 1); output.write(r);\n"
           "r = f(b, \"x\", 2); output.write(r); r = f(b, -1, 3); output.write(r); r = f(r, 1, 1); }\nmain();"
        << "ok 0, value 0: box Script Error: Line 1 : Invalid operator for integers | line 0 | line 2 | "
           "line 2";
    QTest::newRow("negated literals and constants stored into a function's variables")
        << "function f(x) { var c, d; c = -1; d = -2.5 * x - -3; if (x > -4) c = 0; else c = 1.5;\n"
           "return c + d + f2(-x, -7) * -1; }\nfunction f2(a, b) { var t; t = \"s\"; t = 4; return a - b; }\n"
           "function main() { var r; r = f(2); output.write(r); r = f(-6); output.write(r); }\nmain();"
        << "ok 1, value 0: line -7 | line 6.5";
    QTest::newRow("texts and numbers in a function's variables")
        << "function f(n) { var s, x; s = \"\"; x = 0.5; while (x < n) { s = s + x; x = x + 1; }\n"
           "x = s; x = x + 1; s = 2; s = s * x; return x + s; }\n"
           "function main() { var r; r = f(3); output.write(r); }\nmain();"
        << "ok 1, value 0: line 0.51.52.510";
    QTest::newRow("too few arguments stop the run")
        << "function f(a, b) { return a + b; }\nfunction g(a, b) { return f(b); }\noutput.write(g(1, 2));"
        << "ok 0, value 0: box Script Error: Line 2 : Too few parameters for function call to \"f\"";
}

void TestEngineMatchesReference::scripts()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    const std::string text = script.toStdString();

    const Outcome engine = runEngine(text, 0);
    QCOMPARE(describe(engine), expected);
    QCOMPARE(describe(runReference(text, 0)), expected);

    // Every budget up to the one the script finishes with stops both at the same point.
    for (uint64_t budget = 1; budget < 400; ++budget) {
        const Outcome limited = runEngine(text, budget);
        const Outcome referenceLimited = runReference(text, budget);
        if (!(limited == referenceLimited))
            QFAIL(qPrintable(QStringLiteral("budget %1: engine %2, reference %3")
                                 .arg(budget)
                                 .arg(describe(limited), describe(referenceLimited))));
        if (limited == engine)
            break;
    }
}

void TestEngineMatchesReference::bytecode_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");

    QTest::newRow("integer arithmetic gives floats; the value is truncated")
        << "function f(a, b) { var c; c = a * b - 7 / 2; return c % 5 + -a; }\nf(9, 4.5);"
        << "ok 1, value -6: ";
    QTest::newRow("arguments see the parameters already assigned")
        << "function f(a, b) { if (a > 0) return f(b, a - 10); return a * 100 + b; }\n"
           "function g(n) { var k; k = n * 2; if (n > 0) return g(k - n - 1) + k; return k; }\n"
           "f(5, 3) * 1000 + g(4);"
        << "ok 1, value -716980: ";
    QTest::newRow("loops, steps and a float condition of for")
        << "function s(n) { var i, t; t = 0; for (i = 0.5; i; i = i - 0.25) t = t + i;\n"
           "while (n >= 0) { t = t + n--; if (t > 100) return t; } return t + ++n; }\ns(20);"
        << "ok 1, value 105: ";
    QTest::newRow("the call limit on the call's line")
        << "function f(n)\n{\n    return f(n + 1);\n}\nf(1);"
        << "ok 0, value 0: box Script Error: Line 3 : Stack Overflow";
    QTest::newRow("division by zero on the operator's line")
        << "function g(a, b)\n{\n    var c;\n    c = 1 +\n        a % b;\n    return c;\n}\ng(1, 0);"
        << "ok 0, value 0: box Script Error: Line 5 : Divide by zero";
}

// Programs of the compiled subset: the bytecode engine runs them and agrees with the reference.
void TestEngineMatchesReference::bytecode()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    const std::string text = script.toStdString();

    bool compiled = false, ranOut = false;
    QCOMPARE(describe(runBytecode(text, 0, compiled, ranOut)), expected);
    QVERIFY(compiled);
    QCOMPARE(describe(runReference(text, 0)), expected);
}

// Every script of the differential fuzz corpus that compiles gives the reference's outcome,
// unless a step budget cut either run short.
void TestEngineMatchesReference::bytecodeOverCorpus()
{
#if defined(__SANITIZE_ADDRESS__)
    // There the replay_script_diff tests run the same corpus through the same comparison (and
    // more); doing it twice took half the sanitizer stage and brushed the time limit.
    QSKIP("the sanitizer build compares the corpus in replay_script_diff");
#endif
    const QDir corpus(
        qEnvironmentVariable("VORPANE_SOURCE_DIR") + QStringLiteral("/fuzz/corpus/script_diff"));
    const QStringList files = corpus.entryList(QDir::Files);
    QVERIFY(!files.isEmpty());
    int compared = 0;
    for (const QString& name : files) {
        QFile file(corpus.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const std::string text(bytes.constData(), size_t(bytes.size()));
        constexpr uint64_t kBudget = 200000;
        bool compiled = false, engineOut = false, referenceOut = false;
        const Outcome engine = runBytecode(text, kBudget, compiled, engineOut);
        if (!compiled)
            continue;
        const Outcome reference = runReference(text, kBudget, &referenceOut);
        if (engineOut || referenceOut)
            continue;
        if (!(engine == reference))
            QFAIL(qPrintable(QStringLiteral("%1: bytecode %2, reference %3")
                                 .arg(name, describe(engine), describe(reference))));
        ++compared;
    }
    qInfo("%d of %d corpus scripts compiled and compared", compared, int(files.size()));
    QVERIFY(compared > 0);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    TestEngineMatchesReference test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_engine_matches_reference.moc"
