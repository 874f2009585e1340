// The built-in library: math's members and argument counts, the Array class and its growth,
// sorting, and the dialogs alert, confirm and prompt.

#include "platform/random.h"
#include "script/array_object.h"
#include "script/math_object.h"
#include "script_test_support.h"

#include <QRandomGenerator>
#include <QTest>

using namespace vorpane;
using namespace vorpane::script;
using namespace vorpane::script::test;

namespace {

// Calls a member with arguments written as value texts; "status N" when it does not succeed.
QString callMember(ScriptObject& object, const std::string& name, const QStringList& arguments)
{
    std::vector<ScriptValue> args;
    for (const QString& argument : arguments)
        args.push_back(makeValue(argument));
    return outcome([&] {
        ScriptValue result;
        int status = object.callMember(name, args.data(), int(args.size()), result);
        return status == CallOk ? result : ScriptValue(std::string_view("status " + std::to_string(status)));
    });
}

QString elements(ArrayObject& array)
{
    QStringList texts;
    for (uint32_t i = 0; i < array.bufferLength(); ++i)
        texts << describe(*array.element(i));
    return texts.join(' ');
}

ScriptValue newArray(const QStringList& arguments)
{
    std::vector<ScriptValue> args;
    for (const QString& argument : arguments)
        args.push_back(makeValue(argument));
    ScriptValue result;
    ArrayObject::create(args.data(), int(args.size()), result);
    return result;
}

ArrayObject& arrayOf(const ScriptValue& value) { return *static_cast<ArrayObject*>(value.objectValue()); }

} // namespace

class TestScriptLibrary : public QObject {
    Q_OBJECT
private slots:
    void mathMembers_data();
    void mathMembers();
    void mathConstantsAreReadOnly();
    void mathRandomUsesTheProcessGenerator();
    void arrayConstruction_data();
    void arrayConstruction();
    void arrayGrowsOnAccessUpToTheLimit();
    void arrayFollowsItsLength();
    void arrayAppendsOneByOne();
    void sortMatchesExchangeSort_data();
    void sortMatchesExchangeSort();
    void arrayMemberStatuses();
    void arrayCyclesAreFreedAfterTheRun_data();
    void arrayCyclesAreFreedAfterTheRun();
    void arrayCycleHeldFromOutsideIsKept();
    void dialogs_data();
    void dialogs();
    void promptNeedsAMainWindow();
};

void TestScriptLibrary::mathMembers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("round truncates") << "round" << QStringList { "f:-2.7" } << "i:-2";
    QTest::newRow("abs of negative integer is float") << "abs" << QStringList { "i:-3" } << "f:3";
    QTest::newRow("abs keeps a positive kind") << "abs" << QStringList { "u:3" } << "u:3";
    QTest::newRow("abs of text unchanged") << "abs" << QStringList { "s:-x" } << "s:-x";
    QTest::newRow("abs of null unchanged") << "abs" << QStringList { "n" } << "n:null";
    QTest::newRow("max takes the greater") << "max" << QStringList { "i:2", "f:2.5" } << "f:2.5";
    QTest::newRow("max of texts") << "max" << QStringList { "s:b", "s:a" } << "s:b";
    QTest::newRow("min of equals is the second") << "min" << QStringList { "i:1", "f:1" } << "f:1";
    QTest::newRow("min by the left kind") << "min" << QStringList { "i:1", "f:1.5" } << "f:1.5";
    QTest::newRow("pow") << "pow" << QStringList { "i:2", "i:10" } << "f:1024";
    QTest::newRow("atan is atan2 with 1") << "atan" << QStringList { "s:0" } << "f:0";
    QTest::newRow("sqrt of text") << "sqrt" << QStringList { "s:16" } << "f:4";
    QTest::newRow("names ignore case") << "SQRT" << QStringList { "i:9" } << "f:3";
    QTest::newRow("too few") << "pow" << QStringList { "i:2" } << "s:status 3";
    QTest::newRow("too many") << "random" << QStringList { "i:2" } << "s:status 4";
    QTest::newRow("none for one") << "floor" << QStringList {} << "s:status 3";
    QTest::newRow("unknown") << "cube" << QStringList { "i:2" } << "s:status 2";
}

void TestScriptLibrary::mathMembers()
{
    QFETCH(QString, name);
    QFETCH(QStringList, arguments);
    ScriptValue math(new MathObject);
    QTEST(callMember(*math.objectValue(), name.toStdString(), arguments), "expected");
}

void TestScriptLibrary::mathConstantsAreReadOnly()
{
    ScriptValue math(new MathObject);
    ScriptValue* pi = math.objectValue()->findMember("pi");
    QVERIFY(pi);
    QCOMPARE(pi->toFloat(), 3.141592653589793);
    QCOMPARE(outcome([&] { return ScriptValue::reference(pi).assign(ScriptValue(3)); }), "e:-7");
    QCOMPARE(math.objectValue()->findMember("E")->toText(), std::string("2.718282"));
    QVERIFY(!math.objectValue()->findMember("tau"));
}

void TestScriptLibrary::mathRandomUsesTheProcessGenerator()
{
    ScriptValue math(new MathObject);
    seedRandom(77);
    const int first = nextRandom();
    seedRandom(77);
    ScriptValue result;
    QCOMPARE(math.objectValue()->callMember("random", nullptr, 0, result), int(CallOk));
    QCOMPARE(result.toFloat(), double(first) / 32767);
}

void TestScriptLibrary::arrayConstruction_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("elements");

    QTest::newRow("empty") << QStringList {} << "i:0"
                           << "";
    QTest::newRow("count") << QStringList { "i:3" } << "u:3"
                           << "i:0 i:0 i:0";
    QTest::newRow("negative count") << QStringList { "i:-2" } << "u:2"
                                    << "i:0 i:0";
    QTest::newRow("float count") << QStringList { "f:2.9" } << "u:2"
                                 << "i:0 i:0";
    QTest::newRow("one text") << QStringList { "s:3" } << "u:1"
                              << "s:3";
    QTest::newRow("two numbers") << QStringList { "i:1", "i:2" } << "u:2"
                                 << "i:1 i:2";
    QTest::newRow("largest count") << QStringList { "i:65535" } << "u:65535"
                                   << "";
    QTest::newRow("count too large") << QStringList { "i:65536" } << "e:-8"
                                     << "";
}

void TestScriptLibrary::arrayConstruction()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, elements);
    ScriptValue array;
    const QString length = outcome([&] {
        array = newArray(arguments);
        return *array.objectValue()->findMember("LENGTH");
    });
    QTEST(length, "length");
    if (array.isObject() && arrayOf(array).bufferLength() < 10)
        QCOMPARE(::elements(arrayOf(array)), elements);
}

void TestScriptLibrary::arrayGrowsOnAccessUpToTheLimit()
{
    ScriptValue array = newArray({});
    ArrayObject& a = arrayOf(array);
    a.element(4)->setInteger(1);
    QCOMPARE(describe(*a.findMember("length")), QString("u:5"));
    QCOMPARE(elements(a), QString("i:0 i:0 i:0 i:0 i:1"));
    // Reading grows too.
    QCOMPARE(describe(*a.element(9)), QString("i:0"));
    QCOMPARE(a.bufferLength(), 10u);
    QCOMPARE(outcome([&] { return *a.element(ArrayObject::kMaxGrownLength - 1); }), "i:0");
    QCOMPARE(outcome([&] { return *a.element(ArrayObject::kMaxGrownLength); }), "e:-8");
    QCOMPARE(a.bufferLength(), ArrayObject::kMaxGrownLength);
}

void TestScriptLibrary::arrayFollowsItsLength()
{
    ScriptValue array = newArray({ "i:1", "i:2", "i:3" });
    ArrayObject& a = arrayOf(array);
    ScriptValue* length = a.findMember("length");
    length->assign(ScriptValue(-1)); // magnitude 1
    QCOMPARE(a.bufferLength(), 3u); // not before the next access
    QCOMPARE(describe(*a.element(0)), QString("i:1"));
    QCOMPARE(a.bufferLength(), 1u);
    QCOMPARE(describe(*length), QString("i:-1")); // stays as assigned
    length->assign(ScriptValue("3"));
    QCOMPARE(describe(*a.element(2)), QString("i:0")); // dropped elements come back fresh
    length->assign(ScriptValue(70000));
    QCOMPARE(outcome([&] { return *a.element(0); }), "e:-8");
}

void TestScriptLibrary::arrayAppendsOneByOne()
{
    ScriptValue array = newArray({});
    ArrayObject& a = arrayOf(array);
    for (int i = 0; i < 40; ++i) { // across the chunks of 16 and 32
        ScriptValue* added = a.element(uint32_t(i));
        QCOMPARE(describe(*added), QString("i:0"));
        added->setInteger(i + 1);
        QCOMPARE(describe(*a.findMember("length")), QString("u:%1").arg(i + 1));
    }
    QCOMPARE(describe(*a.element(15)), QString("i:16"));
    QCOMPARE(describe(*a.element(16)), QString("i:17"));
    // What a stale reference wrote beyond the length is gone when the element is added again.
    ScriptValue* stale = a.element(39);
    a.findMember("length")->assign(ScriptValue(39));
    QCOMPARE(describe(*a.element(0)), QString("i:1"));
    stale->setInteger(7);
    QCOMPARE(describe(*a.element(39)), QString("i:0"));
    QCOMPARE(describe(*a.findMember("length")), QString("u:40"));
}

void TestScriptLibrary::sortMatchesExchangeSort_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("sorted");

    QTest::newRow("integers") << QStringList { "i:3", "i:1", "i:2" } << "i:1 i:2 i:3";
    QTest::newRow("texts") << QStringList { "s:pear", "s:Apple", "s:fig" } << "s:Apple s:fig s:pear";
    // Mixed kinds compare by the left element's rules ("b" > 10 as texts, 10 > "a" as numbers),
    // which is no order: the result is what the exchange passes leave.
    QTest::newRow("mixed kinds") << QStringList { "s:b", "i:10", "s:a" } << "s:a i:10 s:b";
    QTest::newRow("equal numbers of two kinds keep their order")
        << QStringList { "f:2", "i:2", "i:1" } << "i:1 f:2 i:2";
    QTest::newRow("floats with nan") << QStringList { "f:2", "f:nan", "f:1" } << "f:2 f:nan f:1";
}

void TestScriptLibrary::sortMatchesExchangeSort()
{
    QFETCH(QStringList, values);
    ScriptValue array = newArray(values);
    ScriptValue result;
    QCOMPARE(array.objectValue()->callMember("sort", nullptr, 0, result), int(CallOk));
    QTEST(elements(arrayOf(array)), "sorted");
}

void TestScriptLibrary::arrayCyclesAreFreedAfterTheRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("holds itself") << "var a; a = new Array; a[0] = a;";
    QTest::newRow("two hold each other") << "var a, b; a = new Array; b = new Array(a, 1); a[3] = b;";
    QTest::newRow("through its length") << "var a; a = new Array; a.length = a; a = 0;";
    QTest::newRow("beyond its length")
        << "var a, r; a = new Array; a[5] = 1; a.length = 2; a[4] = a; a.length = 1;";
    QTest::newRow("cycles in a function's locals")
        << "function f() { var a, b; a = new Array; b = new Array(a); a[0] = b; return 1; } f(); f();";
}

void TestScriptLibrary::arrayCyclesAreFreedAfterTheRun()
{
    QFETCH(QString, script);
    const size_t before = ArrayObject::liveCount();
    const RunResult result = runScript(script.toStdString());
    QCOMPARE(result.boxes, QStringList {});
    QCOMPARE(ArrayObject::liveCount(), before);
}

void TestScriptLibrary::arrayCycleHeldFromOutsideIsKept()
{
    const size_t before = ArrayObject::liveCount();
    ScriptValue outer, inner;
    QCOMPARE(ArrayObject::create(nullptr, 0, outer), int(CallOk));
    QCOMPARE(ArrayObject::create(nullptr, 0, inner), int(CallOk));
    auto* outerArray = static_cast<ArrayObject*>(outer.objectValue());
    auto* innerArray = static_cast<ArrayObject*>(inner.objectValue());
    *outerArray->element(0) = inner;
    *innerArray->element(0) = outer;
    inner = ScriptValue();

    // Held by this test: both stay, intact.
    ArrayObject::collectCycles();
    QCOMPARE(ArrayObject::liveCount(), before + 2);
    QCOMPARE(outerArray->element(0)->objectValue(), innerArray);
    QCOMPARE(innerArray->element(0)->objectValue(), outerArray);

    outer = ScriptValue();
    ArrayObject::collectCycles();
    QCOMPARE(ArrayObject::liveCount(), before);
}

void TestScriptLibrary::arrayMemberStatuses()
{
    ScriptValue array = newArray({ "i:1", "i:2" });
    QCOMPARE(callMember(*array.objectValue(), "Reverse", {}), "i:0");
    QCOMPARE(elements(arrayOf(array)), "i:2 i:1");
    QCOMPARE(callMember(*array.objectValue(), "sort", { "i:1" }), "s:status 4");
    QCOMPARE(callMember(*array.objectValue(), "push", {}), "s:status 2");
    QCOMPARE(array.toText(), std::string("Array"));
}

void TestScriptLibrary::dialogs_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("alerts");

    QTest::newRow("alert") << "alert(alert(2.5));"
                           << "Message" << int(MsgButtons::Ok) << "2.5|0";
    QTest::newRow("confirm yes") << "alert(confirm(\"Sure?\"));"
                                 << "Confirm" << int(MsgButtons::YesNo) << "Sure?|1";
    QTest::newRow("confirm two arguments")
        << "confirm(1, 2);"
        << "Script Error" << int(MsgButtons::Ok) << "Line 1 : confirm() takes one parameter";
    QTest::newRow("prompt ok") << "alert(prompt(\"Name\") + \"!\");"
                               << "Message" << int(MsgButtons::Ok) << "Bo!";
    QTest::newRow("prompt cancel") << "prompt(\"Name\"); alert(prompt(\"Name\"));"
                                   << "Message" << int(MsgButtons::Ok) << "null";
}

void TestScriptLibrary::dialogs()
{
    QFETCH(QString, script);
    ScopedRecordingUi ui;
    ui.promptAnswers = { std::string("Bo") };
    const RunResult result = runScript(script.toStdString(), ui);
    QTEST(result.boxes.join('|'), "alerts");
    QTEST(QString::fromStdString(ui.boxes.front().title), "title");
    QTEST(int(ui.boxes.front().buttons), "buttons");
    QCOMPARE(ui.boxes.front().icon, MsgIcon::Warning);
}

void TestScriptLibrary::promptNeedsAMainWindow()
{
    ScopedRecordingUi ui;
    ui.m_hasMainWindow = false;
    const RunResult result = runScript("prompt(\"Name\");", ui);
    QCOMPARE(result.boxes, QStringList { "Line 1 : Function \"prompt\" has not been declared!" });
    QVERIFY(ui.prompts.empty());
}

int runScriptLibraryTests(int argc, char** argv)
{
    TestScriptLibrary tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_script_library.moc"
