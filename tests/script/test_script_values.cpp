// Values: conversions, every operator rule by the left operand's kind, in-place changes,
// assignment and the base behaviour of objects.

#include "platform/cp1252.h"
#include "script/script_object.h"
#include "script_test_support.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace vorpane;
using namespace vorpane::script;
using namespace vorpane::script::test;

namespace {

BinaryOp binaryOp(const QString& symbol)
{
    static const QMap<QString, BinaryOp> ops {
        { "+", BinaryOp::Add },
        { "-", BinaryOp::Subtract },
        { "*", BinaryOp::Multiply },
        { "/", BinaryOp::Divide },
        { "%", BinaryOp::Remainder },
        { "&", BinaryOp::BitAnd },
        { "|", BinaryOp::BitOr },
        { "^", BinaryOp::BitXor },
        { "&&", BinaryOp::LogicalAnd },
        { "||", BinaryOp::LogicalOr },
        { "<<", BinaryOp::ShiftLeft },
        { ">>", BinaryOp::ShiftRight },
        { "==", BinaryOp::Equal },
        { "!=", BinaryOp::NotEqual },
        { "<", BinaryOp::Less },
        { "<=", BinaryOp::LessEqual },
        { ">=", BinaryOp::GreaterEqual },
        { ">", BinaryOp::Greater },
    };
    return ops.value(symbol);
}

// An object that only has the base behaviour.
class PlainObject final : public ScriptObject { };

} // namespace

class TestScriptValues : public QObject {
    Q_OBJECT
private slots:
    void conversions_data();
    void conversions();
    void floatConversionsAreDefined_data();
    void floatConversionsAreDefined();
    void binaryOperators_data();
    void binaryOperators();
    void concatenationLooksThroughOneReference();
    void unaryOperators_data();
    void unaryOperators();
    void increments_data();
    void increments();
    void shiftAssignment_data();
    void shiftAssignment();
    void assignmentCopiesTheFinalValue();
    void readOnlyStorageRefusesChanges();
    void stringLengthIsCapped();
    void baseObjectBehaviour_data();
    void baseObjectBehaviour();
    void objectLivesAsLongAsItsValues();
};

void TestScriptValues::conversions_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("integer");
    QTest::addColumn<uint>("unsignedValue");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("null") << "n" << 0 << 0u << 0.0 << "null";
    QTest::newRow("text with leading number") << "s:  -12abc" << -12 << 4294967284u << -12.0 << "  -12abc";
    QTest::newRow("text without number") << "s:abc" << 0 << 0u << 0.0 << "abc";
    QTest::newRow("text with exponent") << "s:3.5e2x" << 3 << 3u << 350.0 << "3.5e2x";
    QTest::newRow("text with plus sign") << "s: +7" << 7 << 7u << 7.0 << " +7";
    QTest::newRow("text too long for integer")
        << "s:99999999999" << 2147483647 << 2147483647u << 99999999999.0 << "99999999999";
    QTest::newRow("text with bare point") << "s:-.5" << 0 << 0u << -0.5 << "-.5";
    QTest::newRow("text with bare exponent") << "s:1e" << 1 << 1u << 1.0 << "1e";
    QTest::newRow("text of infinity is no number") << "s:inf" << 0 << 0u << 0.0 << "inf";
    QTest::newRow("negative integer") << "i:-5" << -5 << 5u << -5.0 << "-5";
    QTest::newRow("lowest integer") << "i:-2147483648" << int(0x80000000) << 2147483648u << -2147483648.0
                                    << "-2147483648";
    QTest::newRow("unsigned keeps its bits")
        << "u:4294967295" << -1 << 4294967295u << 4294967295.0 << "4294967295";
    QTest::newRow("float") << "f:2.5" << 2 << 2u << 2.5 << "2.5";
    QTest::newRow("whole float") << "f:3" << 3 << 3u << 3.0 << "3";
    QTest::newRow("float zero") << "f:0" << 0 << 0u << 0.0 << "0";
    QTest::newRow("sixth decimal") << "f:0.000001" << 0 << 0u << 0.000001 << "0.000001";
    QTest::newRow("seventh decimal") << "f:0.0000001" << 0 << 0u << 0.0000001 << "0";
    QTest::newRow("negative float truncates") << "f:-2.7" << -2 << 4294967294u << -2.7 << "-2.7";
}

void TestScriptValues::conversions()
{
    QFETCH(QString, value);
    const ScriptValue v = makeValue(value);
    QTEST(int(v.toInteger()), "integer");
    QTEST(uint(v.toUnsigned()), "unsignedValue");
    QTEST(v.toFloat(), "number");
    QTEST(fromCp1252(v.toText()), "text");
    // Conversions look through references.
    ScriptValue storage = v;
    QCOMPARE(ScriptValue::reference(&storage).toText(), v.toText());
}

void TestScriptValues::floatConversionsAreDefined_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("integer");
    QTest::addColumn<uint>("unsignedValue");

    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0 << 0u;
    QTest::newRow("infinity") << HUGE_VAL << 2147483647 << 4294967295u;
    QTest::newRow("minus infinity") << -HUGE_VAL << int(0x80000000) << 2147483648u;
    QTest::newRow("above the integers") << 3e9 << 2147483647 << 3000000000u;
    QTest::newRow("far below") << -1e300 << int(0x80000000) << 2147483648u;
    // Around the whole-number index read without a call.
    QTest::newRow("minus zero") << -0.0 << 0 << 0u;
    QTest::newRow("half") << 0.5 << 0 << 0u;
    QTest::newRow("minus half") << -0.5 << 0 << 0u;
    QTest::newRow("just below the top") << 4294967294.5 << 2147483647 << 4294967294u;
    QTest::newRow("the top") << 4294967295.0 << 2147483647 << 4294967295u;
    QTest::newRow("past the top") << 4294967295.5 << 2147483647 << 4294967295u;
}

void TestScriptValues::floatConversionsAreDefined()
{
    QFETCH(double, number);
    const ScriptValue v(number);
    QTEST(int(v.toInteger()), "integer");
    QTEST(uint(v.toUnsigned()), "unsignedValue");
}

void TestScriptValues::binaryOperators_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("expected");

    // Concatenation and arithmetic
    QTest::newRow("text + integer") << "s:a"
                                    << "+"
                                    << "i:1"
                                    << "s:a1";
    QTest::newRow("integer + text") << "i:1"
                                    << "+"
                                    << "s:a"
                                    << "s:1a";
    QTest::newRow("text + float") << "s:x"
                                  << "+"
                                  << "f:2.5"
                                  << "s:x2.5";
    QTest::newRow("null + text") << "n"
                                 << "+"
                                 << "s:a"
                                 << "s:nulla";
    QTest::newRow("integers add to a float") << "i:1"
                                             << "+"
                                             << "i:2"
                                             << "f:3";
    QTest::newRow("integer sum wraps") << "i:2147483647"
                                       << "+"
                                       << "i:1"
                                       << "f:-2147483648";
    QTest::newRow("integer product wraps") << "i:65536"
                                           << "*"
                                           << "i:65536"
                                           << "f:0";
    QTest::newRow("integer division truncates") << "i:7"
                                                << "/"
                                                << "i:2"
                                                << "f:3";
    QTest::newRow("division by a float") << "i:7"
                                         << "/"
                                         << "f:2"
                                         << "f:3.5";
    QTest::newRow("negative division") << "i:-7"
                                       << "/"
                                       << "i:2"
                                       << "f:-3";
    QTest::newRow("lowest over minus one") << "i:-2147483648"
                                           << "/"
                                           << "i:-1"
                                           << "f:-2147483648";
    QTest::newRow("integer remainder") << "i:7"
                                       << "%"
                                       << "i:2"
                                       << "i:1";
    QTest::newRow("lowest remainder minus one") << "i:-2147483648"
                                                << "%"
                                                << "i:-1"
                                                << "i:0";
    QTest::newRow("float remainder") << "f:7.5"
                                     << "%"
                                     << "i:2"
                                     << "f:1.5";
    QTest::newRow("unsigned difference") << "u:5"
                                         << "-"
                                         << "i:7"
                                         << "f:4294967294";
    QTest::newRow("unsigned sum wraps") << "u:4294967295"
                                        << "+"
                                        << "i:1"
                                        << "f:0";
    QTest::newRow("unsigned remainder") << "u:4294967295"
                                        << "%"
                                        << "i:10"
                                        << "u:5";
    QTest::newRow("null minus") << "n"
                                << "-"
                                << "i:5"
                                << "f:-5";
    QTest::newRow("null times") << "n"
                                << "*"
                                << "i:5"
                                << "i:0";
    QTest::newRow("null remainder") << "n"
                                    << "%"
                                    << "i:5"
                                    << "i:0";
    QTest::newRow("text divided") << "s:abc"
                                  << "/"
                                  << "i:2"
                                  << "i:0";
    QTest::newRow("float times integer") << "f:1.5"
                                         << "*"
                                         << "i:2"
                                         << "f:3";
    // Errors
    QTest::newRow("text minus") << "s:abc"
                                << "-"
                                << "i:1"
                                << "e:-4";
    QTest::newRow("text times") << "s:a"
                                << "*"
                                << "i:2"
                                << "e:-4";
    QTest::newRow("text remainder") << "s:a"
                                    << "%"
                                    << "i:2"
                                    << "e:-4";
    QTest::newRow("text and") << "s:a"
                              << "&"
                              << "i:2"
                              << "e:-4";
    QTest::newRow("text shift") << "s:a"
                                << "<<"
                                << "i:2"
                                << "e:-4";
    QTest::newRow("text logical and") << "s:a"
                                      << "&&"
                                      << "i:2"
                                      << "e:-4";
    QTest::newRow("text logical or") << "s:a"
                                     << "||"
                                     << "i:2"
                                     << "e:-4";
    QTest::newRow("divide by zero") << "i:7"
                                    << "/"
                                    << "i:0"
                                    << "e:-9";
    QTest::newRow("remainder by float zero") << "i:7"
                                             << "%"
                                             << "f:0"
                                             << "e:-9";
    QTest::newRow("divide by text below one") << "i:7"
                                              << "/"
                                              << "s:0.5"
                                              << "e:-9";
    QTest::newRow("divide by text without number") << "i:7"
                                                   << "/"
                                                   << "s:x"
                                                   << "e:-9";
    QTest::newRow("null divided by zero") << "n"
                                          << "/"
                                          << "i:0"
                                          << "e:-9";
    QTest::newRow("text divided by zero") << "s:abc"
                                          << "/"
                                          << "i:0"
                                          << "e:-9";
    QTest::newRow("float remainder by zero") << "f:1"
                                             << "%"
                                             << "f:0"
                                             << "e:-9";
    QTest::newRow("unsigned remainder by zero") << "u:1"
                                                << "%"
                                                << "i:0"
                                                << "e:-9";
    // Comparisons
    QTest::newRow("text equals number") << "s:10"
                                        << "=="
                                        << "i:10"
                                        << "i:1";
    QTest::newRow("number equals leading digits") << "i:10"
                                                  << "=="
                                                  << "s:10abc"
                                                  << "i:1";
    QTest::newRow("texts by bytes") << "s:b"
                                    << "<"
                                    << "s:a"
                                    << "i:0";
    QTest::newRow("capitals sort first") << "s:B"
                                         << "<"
                                         << "s:a"
                                         << "i:1";
    QTest::newRow("high bytes sort last") << "s:é"
                                          << ">"
                                          << "s:z"
                                          << "i:1";
    QTest::newRow("integer truncates a float") << "i:1"
                                               << "<"
                                               << "f:1.5"
                                               << "i:0";
    QTest::newRow("float compares as float") << "f:1"
                                             << "<"
                                             << "f:1.5"
                                             << "i:1";
    QTest::newRow("unsigned takes magnitude") << "u:0"
                                              << "<"
                                              << "i:-1"
                                              << "i:1";
    QTest::newRow("null equals null") << "n"
                                      << "=="
                                      << "n"
                                      << "i:1";
    QTest::newRow("null is not zero") << "n"
                                      << "=="
                                      << "i:0"
                                      << "i:0";
    QTest::newRow("null differs from zero") << "n"
                                            << "!="
                                            << "i:0"
                                            << "i:1";
    QTest::newRow("null is never less") << "n"
                                        << "<"
                                        << "i:5"
                                        << "i:0";
    // Logic
    QTest::newRow("integer and float") << "i:1"
                                       << "&&"
                                       << "f:0.5"
                                       << "i:0";
    QTest::newRow("float and float") << "f:1"
                                     << "&&"
                                     << "f:0.5"
                                     << "i:1";
    QTest::newRow("null or gives right") << "n"
                                         << "||"
                                         << "i:5"
                                         << "i:5";
    QTest::newRow("null and") << "n"
                              << "&&"
                              << "i:5"
                              << "i:0";
    QTest::newRow("integer or text") << "i:0"
                                     << "||"
                                     << "s:7"
                                     << "i:1";
    QTest::newRow("unsigned or") << "u:0"
                                 << "||"
                                 << "i:-3"
                                 << "i:1";
    // Bits and shifts
    QTest::newRow("shift uses five bits") << "i:1"
                                          << "<<"
                                          << "i:33"
                                          << "i:2";
    QTest::newRow("shift into the sign") << "i:1"
                                         << "<<"
                                         << "i:31"
                                         << "i:-2147483648";
    QTest::newRow("right shift keeps sign") << "i:-8"
                                            << ">>"
                                            << "i:1"
                                            << "i:-4";
    QTest::newRow("unsigned shifts in zeros") << "u:4294967295"
                                              << ">>"
                                              << "i:28"
                                              << "u:15";
    QTest::newRow("float shifts truncated") << "f:5.7"
                                            << "<<"
                                            << "i:1"
                                            << "i:10";
    QTest::newRow("null or") << "n"
                             << "|"
                             << "i:6"
                             << "i:6";
    QTest::newRow("integer and float bits") << "i:6"
                                            << "&"
                                            << "f:3.9"
                                            << "i:2";
    QTest::newRow("unsigned xor magnitude") << "u:6"
                                            << "^"
                                            << "i:-3"
                                            << "u:5";
    QTest::newRow("huge float clamps") << "f:1e300"
                                       << "&"
                                       << "i:255"
                                       << "i:255";
}

void TestScriptValues::binaryOperators()
{
    QFETCH(QString, left);
    QFETCH(QString, op);
    QFETCH(QString, right);
    const ScriptValue l = makeValue(left);
    const ScriptValue r = makeValue(right);
    QTEST(outcome([&] { return binaryOperation(binaryOp(op), l, r); }), "expected");
}

void TestScriptValues::concatenationLooksThroughOneReference()
{
    // A String reached through two references (a registered reference held in a variable) is
    // not an operand "that is a String", so a left Integer adds its number.
    ScriptValue text("5");
    ScriptValue registered = ScriptValue::reference(&text);
    const ScriptValue one = ScriptValue::reference(&text);
    const ScriptValue two = ScriptValue::reference(&registered);
    QCOMPARE(describe(binaryOperation(BinaryOp::Add, ScriptValue(1), one)), "s:15");
    QCOMPARE(describe(binaryOperation(BinaryOp::Add, ScriptValue(1), two)), "f:6");
    QCOMPARE(describe(binaryOperation(BinaryOp::Add, two, ScriptValue(1))), "s:51");
}

void TestScriptValues::unaryOperators_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("operand");
    QTest::addColumn<QString>("expected");

    const int minus = int(UnaryOp::Negate), bang = int(UnaryOp::LogicalNot), tilde = int(UnaryOp::BitwiseNot);
    QTest::newRow("-null") << minus << "n"
                           << "i:0";
    QTest::newRow("!null") << bang << "n"
                           << "i:1";
    QTest::newRow("~null") << tilde << "n"
                           << "i:-1";
    QTest::newRow("-unsigned") << minus << "u:5"
                               << "i:-5";
    QTest::newRow("-lowest") << minus << "i:-2147483648"
                             << "i:-2147483648";
    QTest::newRow("~unsigned") << tilde << "u:0"
                               << "u:4294967295";
    QTest::newRow("~integer") << tilde << "i:0"
                              << "i:-1";
    QTest::newRow("~float") << tilde << "f:1.5"
                            << "u:4294967294";
    QTest::newRow("!float truncates") << bang << "f:0.5"
                                      << "i:1";
    QTest::newRow("-float") << minus << "f:2.5"
                            << "f:-2.5";
    QTest::newRow("-text") << minus << "s:a"
                           << "e:-4";
    QTest::newRow("!text") << bang << "s:a"
                           << "e:-4";
    QTest::newRow("~text") << tilde << "s:a"
                           << "e:-4";
}

void TestScriptValues::unaryOperators()
{
    QFETCH(int, op);
    QFETCH(QString, operand);
    const ScriptValue v = makeValue(operand);
    QTEST(outcome([&] { return unaryOperation(UnaryOp(op), v); }), "expected");
}

void TestScriptValues::increments_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");

    QTest::newRow("null up") << "n" << true << "i:1";
    QTest::newRow("null down") << "n" << false << "i:-1";
    QTest::newRow("integer wraps") << "i:2147483647" << true << "i:-2147483648";
    QTest::newRow("unsigned wraps") << "u:0" << false << "u:4294967295";
    QTest::newRow("float") << "f:1.5" << true << "f:2.5";
    QTest::newRow("text") << "s:a" << true << "e:-4";
}

void TestScriptValues::increments()
{
    QFETCH(QString, start);
    QFETCH(bool, up);
    ScriptValue storage = makeValue(start);
    ScriptValue ref = ScriptValue::reference(&storage);
    QTEST(outcome([&] {
        up ? incrementValue(ref) : decrementValue(ref);
        return storage;
    }),
        "expected");
}

void TestScriptValues::shiftAssignment_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("expected");

    QTest::newRow("integer left") << "i:3" << true << "i:12";
    QTest::newRow("integer right keeps sign") << "i:-8" << false << "i:-2";
    QTest::newRow("unsigned right") << "u:4294967295" << false << "u:1073741823";
    QTest::newRow("null") << "n" << true << "i:0";
    QTest::newRow("float truncated") << "f:3.9" << true << "i:12";
    QTest::newRow("text") << "s:a" << true << "e:-4";
}

void TestScriptValues::shiftAssignment()
{
    QFETCH(QString, start);
    QFETCH(bool, left);
    ScriptValue storage = makeValue(start);
    QTEST(outcome([&] {
        shiftAssign(storage, ScriptValue(34), left); // 34 counts as 2
        return storage;
    }),
        "expected");
}

void TestScriptValues::assignmentCopiesTheFinalValue()
{
    ScriptValue text("abc");
    ScriptValue registered = ScriptValue::reference(&text);
    ScriptValue target;
    target.assign(ScriptValue::reference(&registered));
    QCOMPARE(target.kind(), ValueKind::String); // never a reference
    text.setString("changed");
    QCOMPARE(target.toText(), std::string("abc"));

    // Through a reference the storage changes, not the reference.
    ScriptValue storage(1);
    ScriptValue ref = ScriptValue::reference(&storage);
    ref.assign(ScriptValue(2.5));
    QCOMPARE(describe(storage), QString("f:2.5"));
    QCOMPARE(ref.kind(), ValueKind::Reference);

    // A reference leading nowhere stores Integer 0.
    ScriptValue nowhere = ScriptValue::reference(nullptr);
    storage.assign(nowhere);
    QCOMPARE(describe(storage), QString("i:0"));
}

void TestScriptValues::readOnlyStorageRefusesChanges()
{
    ScriptValue constant(3.5);
    constant.setReadOnly(true);
    ScriptValue ref = ScriptValue::reference(&constant);
    QCOMPARE(outcome([&] { return ref.assign(ScriptValue(1)); }), "e:-7");
    QCOMPARE(outcome([&] {
        incrementValue(ref);
        return constant;
    }),
        "e:-7");
    QCOMPARE(outcome([&] {
        constant.setInteger(1);
        return constant;
    }),
        "e:-7");
    QCOMPARE(describe(constant), QString("f:3.5"));
    // A copy of a number is free to change.
    ScriptValue copy;
    copy.assign(ref);
    copy.setInteger(1);
    QCOMPARE(describe(copy), QString("i:1"));
}

void TestScriptValues::stringLengthIsCapped()
{
    const std::string longest(kMaxStringLength, 'x');
    ScriptValue value(longest);
    QCOMPARE(outcome([&] { return binaryOperation(BinaryOp::Add, value, ScriptValue("y")); }), "e:-8");
}

void TestScriptValues::baseObjectBehaviour_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<bool>("sameObject");
    QTest::addColumn<QString>("expected");

    QTest::newRow("add gives text") << "+" << false << "s:[object]1";
    QTest::newRow("equals itself") << "==" << true << "i:1";
    QTest::newRow("equals another") << "==" << false << "i:0";
    QTest::newRow("differs from another") << "!=" << false << "i:1";
    QTest::newRow("not different from itself") << "!=" << true << "i:0";
    QTest::newRow("less") << "<" << false << "i:0";
    QTest::newRow("logical or") << "||" << false << "i:0";
    QTest::newRow("subtract") << "-" << false << "f:nan";
    QTest::newRow("remainder") << "%" << false << "f:nan";
    QTest::newRow("shift") << "<<" << false << "e:-5";
}

void TestScriptValues::baseObjectBehaviour()
{
    QFETCH(QString, op);
    QFETCH(bool, sameObject);
    const ScriptValue object(new PlainObject);
    const ScriptValue other(new PlainObject);
    const ScriptValue right = op == "+" ? ScriptValue(1) : sameObject ? object : other;
    QTEST(outcome([&] { return binaryOperation(binaryOp(op), object, right); }), "expected");
}

void TestScriptValues::objectLivesAsLongAsItsValues()
{
    auto* object = new PlainObject;
    ScriptValue first(object);
    QCOMPARE(object->refCount(), 1);
    {
        ScriptValue copy = first;
        ScriptValue storage;
        ScriptValue ref = ScriptValue::reference(&storage, object);
        QCOMPARE(object->refCount(), 3);
    }
    QCOMPARE(object->refCount(), 1);
    QCOMPARE(describe(first), QString("o:[object]"));
    QCOMPARE(outcome([&] {
        ScriptValue ref = ScriptValue::reference(&first);
        incrementValue(ref);
        return first;
    }),
        "e:-5");
    QCOMPARE(outcome([&] { return *object->element(0); }), "e:-5");
    QCOMPARE(describe(unaryOperation(UnaryOp::Negate, first)), QString("f:nan"));
}

#include "test_script_values.moc"

int runScriptValueTests(int argc, char** argv)
{
    TestScriptValues tests;
    return QTest::qExec(&tests, argc, argv);
}
