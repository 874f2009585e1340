#include "platform/random.h"
#include "platform/recording_ui.h"
#include "rules/dice_expression.h"
#include "rules/dice_object.h"
#include "script/script_value.h"

#include <QTest>

using namespace vorpane;

namespace {

// Every die shows its highest face, so sums are exact; the sides asked for are kept.
class HighestFaceDice final : public DiceExpression {
public:
    std::vector<int> sidesRolled;

protected:
    int rollOneDie(int sides) override
    {
        sidesRolled.push_back(sides);
        return sides;
    }
};

const QString kMalformed = QStringLiteral("Malformed Dice Roll Expression: ");

QString invalid(const QString& shown, char symbol)
{
    return kMalformed + shown + "\n\"" + QChar(symbol) + "\" - Invalid Symbol";
}

QString divideByZero(const QString& shown) { return kMalformed + shown + "\nDivide by zero"; }

QString countOutOfRange(const QString& shown, const QString& count)
{
    return kMalformed + shown + "\nDice count " + count + " out of range (0 to 1000)";
}

} // namespace

class TestDice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void evaluate_data();
    void evaluate();
    void boxesHaveNoIconAndTheApplicationTitle();
    void diceTermsRollOncePerDie_data();
    void diceTermsRollOncePerDie();
    void realDiceStayInRange_data();
    void realDiceStayInRange();
    void objectRoll_data();
    void objectRoll();
    void objectFollowsReferences();
    void damageBonus_data();
    void damageBonus();

private:
    ScopedRecordingUi m_ui;
};

void TestDice::init()
{
    m_ui.reset();
    seedRandom(7);
}

void TestDice::evaluate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QStringList>("boxes");

    const QStringList none;
    QTest::newRow("empty") << "" << 0 << none;
    QTest::newRow("only blanks") << " \t " << 0 << none;
    QTest::newRow("number") << "42" << 42 << none;
    QTest::newRow("3D6") << "3D6" << 18 << none;
    QTest::newRow("lower-case d") << "3d6" << 18 << none;
    QTest::newRow("2D6+6") << "2D6+6" << 18 << none;
    QTest::newRow("D100") << "D100" << 100 << none;
    QTest::newRow("no precedence") << "2+3*4" << 20 << none;
    QTest::newRow("left to right") << "10-2-3" << 5 << none;
    QTest::newRow("division truncates") << "10/3" << 3 << none;
    QTest::newRow("negative running result") << "1-5/2" << -2 << none;
    QTest::newRow("blanks between items") << " 2 +\t3 * D4 " << 20 << none;
    QTest::newRow("zero count") << "0D6" << 0 << none;
    QTest::newRow("zero sides") << "4D0" << 0 << none;
    QTest::newRow("sides omitted") << "4D" << 0 << none;
    QTest::newRow("bare D") << "D+5" << 5 << none;
    QTest::newRow("count at the limit") << "1000D1" << 1000 << none;
    QTest::newRow("NUL ends the text") << QString::fromLatin1("5\0+x", 4) << 5 << none;
    QTest::newRow("digit after blanks keeps the operator") << "2*3 4" << 24 << none;
    QTest::newRow("products wrap in 32 bits") << "1000*1000*1000*1000" << -727379968 << none;
    QTest::newRow("huge sides saturate") << "D99999999999999999999999" << 2147483647 << none;
    QTest::newRow("trailing plus") << "2+" << 2 << none;
    QTest::newRow("trailing times") << "2*" << 0 << none;

    QTest::newRow("count over the limit")
        << "1001D1" << 0 << QStringList { countOutOfRange("1001D1", "1001") };
    QTest::newRow("count error keeps the result so far")
        << "3+1001D6" << 3 << QStringList { countOutOfRange("3+1001D6", "1001") };
    QTest::newRow("huge count is named as written")
        << "99999999999999999999D6" << 0
        << QStringList { countOutOfRange("99999999999999999999D6", "99999999999999999999") };
    QTest::newRow("plain number over the limit")
        << "1+2000" << 1 << QStringList { countOutOfRange("1+2000", "2000") };
    QTest::newRow("blank before D") << "3 D6" << 0 << QStringList { invalid("3 D6", 'D') };
    QTest::newRow("symbol after a term") << "2D6+1x" << 0 << QStringList { invalid("2D6+1x", 'x') };
    QTest::newRow("leading minus") << "-1D4" << 0 << QStringList { invalid("-1D4", '-') };
    QTest::newRow("bad term after plus") << "2+x" << 2 << QStringList { invalid("x", 'x') };
    QTest::newRow("bad term after times") << "2*x" << 0 << QStringList { invalid("x", 'x') };
    QTest::newRow("bad term is quoted from its symbol on")
        << "4 - ( 1 )" << 4 << QStringList { invalid("( 1 )", '(') };
    QTest::newRow("bad term after divide")
        << "6/x" << 0 << QStringList { invalid("x", 'x'), divideByZero("6/x") };
    QTest::newRow("divide by zero") << "6/0" << 0 << QStringList { divideByZero("6/0") };
    QTest::newRow("divide by zero dice") << "7+6/0D6+1" << 0 << QStringList { divideByZero("7+6/0D6+1") };
    QTest::newRow("trailing divide") << "6/" << 0 << QStringList { divideByZero("6/") };
}

void TestDice::evaluate()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QFETCH(QStringList, boxes);

    HighestFaceDice dice;
    const QByteArray bytes = text.toLatin1();
    QCOMPARE(dice.evaluate(std::string(bytes.constData(), size_t(bytes.size()))), expected);
    QStringList shown;
    for (const RecordingUi::Box& box : m_ui.boxes)
        shown << QString::fromLatin1(box.text.c_str());
    QCOMPARE(shown, boxes);
    QCOMPARE(dice.failed(), !boxes.isEmpty());
}

void TestDice::boxesHaveNoIconAndTheApplicationTitle()
{
    HighestFaceDice dice;
    dice.evaluate("6/x");
    dice.evaluate("1001");
    QCOMPARE(m_ui.boxes.size(), size_t(3));
    for (const RecordingUi::Box& box : m_ui.boxes) {
        QCOMPARE(box.icon, MsgIcon::None);
        QCOMPARE(box.title, std::string());
        QCOMPARE(box.buttons, MsgButtons::Ok);
    }
}

void TestDice::diceTermsRollOncePerDie_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("sides");
    QTest::newRow("3D6") << "3D6" << QList<int> { 6, 6, 6 };
    QTest::newRow("two terms") << "D4+2d8" << QList<int> { 4, 8, 8 };
    QTest::newRow("no dice in a number") << "12" << QList<int> {};
    QTest::newRow("zero count rolls nothing") << "0D20" << QList<int> {};
    QTest::newRow("refused count rolls nothing") << "1001D6" << QList<int> {};
    QTest::newRow("zero sides still rolls") << "2D" << QList<int> { 0, 0 };
}

void TestDice::diceTermsRollOncePerDie()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, sides);
    HighestFaceDice dice;
    dice.evaluate(text.toStdString());
    QCOMPARE(QList<int>(dice.sidesRolled.begin(), dice.sidesRolled.end()), sides);
}

void TestDice::realDiceStayInRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("D6") << "D6" << 1 << 6;
    QTest::newRow("3D6") << "3D6" << 3 << 18;
    QTest::newRow("2D6+6") << "2D6+6" << 8 << 18;
    QTest::newRow("D100") << "D100" << 1 << 100;
    QTest::newRow("D0") << "D0" << 0 << 0;
}

void TestDice::realDiceStayInRange()
{
    QFETCH(QString, text);
    QFETCH(int, low);
    QFETCH(int, high);
    DiceExpression dice;
    int seenLow = high;
    int seenHigh = low;
    for (int i = 0; i < 5000; ++i) {
        const int value = dice.evaluate(text.toStdString());
        QVERIFY2(value >= low && value <= high, qPrintable(QString::number(value)));
        seenLow = std::min(seenLow, value);
        seenHigh = std::max(seenHigh, value);
    }
    // Both extremes come up, so the die is neither off by one nor short of a face.
    QCOMPARE(seenLow, low);
    QCOMPARE(seenHigh, high);
    QVERIFY(m_ui.boxes.empty());
}

void TestDice::objectRoll_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("boxCount");

    QTest::newRow("Roll") << "Roll" << QVariantList { "2D6" } << int(script::CallOk) << 12 << 0;
    QTest::newRow("lower case") << "roll" << QVariantList { "D8+1" } << int(script::CallOk) << 9 << 0;
    QTest::newRow("upper case") << "ROLL" << QVariantList { "3" } << int(script::CallOk) << 3 << 0;
    QTest::newRow("number as text") << "Roll" << QVariantList { 12 } << int(script::CallOk) << 12 << 0;
    QTest::newRow("float as text") << "Roll" << QVariantList { 2.5 } << int(script::CallOk) << 0 << 1;
    QTest::newRow("malformed text") << "Roll" << QVariantList { "6/0" } << int(script::CallOk) << 0 << 1;
    QTest::newRow("no argument") << "Roll" << QVariantList {} << int(script::CallTooFew) << 0 << 0;
    QTest::newRow("two arguments") << "Roll" << QVariantList { "1", "2" } << int(script::CallTooMany) << 0
                                   << 0;
    QTest::newRow("other name") << "Rolls" << QVariantList { "1" } << int(script::CallNotFound) << 0 << 0;
    QTest::newRow("empty name") << "" << QVariantList {} << int(script::CallNotFound) << 0 << 0;
}

void TestDice::objectRoll()
{
    QFETCH(QString, member);
    QFETCH(QVariantList, args);
    QFETCH(int, status);
    QFETCH(int, result);
    QFETCH(int, boxCount);

    script::ScriptValue object(new DiceObject(std::make_unique<HighestFaceDice>()));
    std::vector<script::ScriptValue> values;
    for (const QVariant& arg : args) {
        if (arg.typeId() == QMetaType::Int)
            values.emplace_back(int32_t(arg.toInt()));
        else if (arg.typeId() == QMetaType::Double)
            values.emplace_back(arg.toDouble());
        else
            values.emplace_back(arg.toString().toStdString());
    }
    script::ScriptValue out;
    QCOMPARE(
        object.object()->callMember(member.toStdString(), values.data(), int(values.size()), out), status);
    QCOMPARE(out.kind(), script::ValueKind::Integer);
    QCOMPARE(out.integerValue(), result);
    QCOMPARE(int(m_ui.boxes.size()), boxCount);
}

void TestDice::objectFollowsReferences()
{
    script::ScriptValue object(new DiceObject(std::make_unique<HighestFaceDice>()));
    script::ScriptValue storage("4D4");
    script::ScriptValue arg = script::ScriptValue::reference(&storage);
    script::ScriptValue out;
    QCOMPARE(object.object()->callMember("roll", &arg, 1, out), int(script::CallOk));
    QCOMPARE(out.integerValue(), 16);
}

void TestDice::damageBonus_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("expanded");
    QTest::addColumn<int>("value"); // every die at its highest face

    QTest::newRow("plus a positive bonus") << "1D4+bd"
                                           << "+1D4"
                                           << "1D4+1D4" << 8;
    QTest::newRow("plus a negative bonus") << "1D4+bd"
                                           << "-1D6"
                                           << "1D4-1D6" << -2;
    QTest::newRow("minus a negative bonus") << "1D4 - BD"
                                            << "-1D4"
                                            << "1D4 +1D4" << 8;
    QTest::newRow("nada drops the term") << "1D3+bd+1"
                                         << "nada"
                                         << "1D3+1" << 4;
    QTest::newRow("no bonus at all") << "1D6+bd"
                                     << ""
                                     << "1D6" << 6;
    QTest::newRow("bonus alone") << "bd"
                                 << "+2D6"
                                 << "2D6" << 12;
    QTest::newRow("negative bonus alone") << "bd"
                                          << "-1D4"
                                          << "0-1D4" << -4;
    QTest::newRow("nada alone") << "bd"
                                << "nada"
                                << "0" << 0;
    QTest::newRow("without bd") << "3D6"
                                << "+1D4"
                                << "3D6" << 18;
}

void TestDice::damageBonus()
{
    QFETCH(QString, expression);
    QFETCH(QString, bonus);
    QFETCH(QString, expanded);
    QFETCH(int, value);
    const std::string text = expandDamageBonus(expression.toStdString(), bonus.toStdString());
    QCOMPARE(QString::fromStdString(text), expanded);
    HighestFaceDice dice;
    QCOMPARE(dice.evaluate(text), value);
    QVERIFY(!dice.failed());
}

QTEST_GUILESS_MAIN(TestDice)
#include "test_dice.moc"
