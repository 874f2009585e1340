// The investigator script object: its members with their messages, and its properties, which
// reach the investigator only on recalculate and when the run ends.
#include "investigator/derived_values.h"
#include "investigator/investigator_object.h"
#include "investigator/sheet_check.h"
#include "script/output_object.h"
#include "script/script_runner.h"
#include "test_support.h"

#include <QTest>

using namespace vorpane;
using namespace vorpane::test;
using script::ScriptValue;

class TestScriptObject : public QObject {
    Q_OBJECT
private slots:
    void init() { m_ui.reset(); }
    void members_data();
    void members();
    void writeBack_data();
    void writeBack();

private:
    ScopedRecordingUi m_ui;
};

namespace {

Investigator sample()
{
    Investigator inv;
    inv.Name = "Ana";
    inv.POD = 12, inv.DES = 10, inv.COR = 60, inv.Magic = 12;
    addSkill(inv, "Nadar", "25", 40);
    addSkill(inv, "*Esquivar", "^DES*2", 20);
    addSpecial(inv, "Idioma", { "Latín", "" });
    computeBaseValues(inv);
    return inv;
}

// Runs text with investigator and output as the rule-file hooks do; true for a successful run.
bool runOn(Investigator& inv, const QString& text)
{
    auto* object = new InvestigatorObject(inv);
    const ScriptValue hold(object);
    bool ok = false;
    {
        script::ScriptRunner runner;
        runner.loadTextInMemory(w(text));
        runner.registerValue("investigator", hold);
        runner.registerValue("output", ScriptValue(new script::OutputObject));
        ok = runner.run() == 1;
    }
    object->detach();
    return ok;
}

// "name current/base", with " occ" for occupational entries.
QStringList describeSkills(const Investigator& inv)
{
    QStringList texts;
    for (const SkillEntry* entry : inv.skills())
        texts << QString("%1 %2/%3%4")
                     .arg(u(checkDisplayName(*entry)))
                     .arg(entry->current)
                     .arg(entry->baseValue)
                     .arg(entry->occupational ? " occ" : "");
    return texts;
}

QString fieldText(Investigator& inv, const QString& key)
{
    if (const std::string* text = inv.textField(key.toStdString()))
        return u(*text);
    return QString::number(*inv.intField(key.toStdString()));
}

} // namespace

void TestScriptObject::members_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("transcript"); // output lines, then "!" and each box, joined by " | "
    QTest::addColumn<QString>("skill"); // a skill as it must be afterwards (describeSkills)

    // clang-format off
    QTest::newRow("lookups ignore case and stars") << "output.write(investigator.hasgotskill('NADAR') + investigator.HasGotSkill('esquivar') + investigator.hasgotskill('**nadar'));"
        << true << "3" << "";
    QTest::newRow("subskills never count") << "output.write(investigator.hasgotskill('Latín')); output.write(investigator.getskillsubsetcount('Latín'));"
        << true << "0 | 0" << "";
    QTest::newRow("get a missing skill") << "output.write(investigator.getskillvalue('Nadar')); investigator.getskillvalue('Volar');"
        << false << "40 | !Script Error: Skill Volar was not found" << "";
    QTest::newRow("set below the base") << "investigator.setskillvalue('nadar', 3);" << true << "" << "Nadar 3/25";
    QTest::newRow("subset counts") << "output.write(investigator.getskillsubsetcount('idioma')); output.write(investigator.getskillsubsetcount('Nadar') + investigator.getskillsubsetcount('Volar'));"
        << true << "2 | 0" << "";
    QTest::newRow("rename and set") << "investigator.setsubskill('idioma', 0, 'Francés', 30);" << true << "" << "Idioma:Francés 30/1";
    QTest::newRow("index equal to the count") << "investigator.setsubskill('Idioma', 2, 'x', 9); output.write('on');"
        << true << "on | !Subskill index out of range" << "Idioma: 1/1";
    QTest::newRow("subskills of a plain skill") << "investigator.setsubskill('Nadar', 0, 'x');"
        << false << "!Script Error: Skill NadarDoes not have any subskills" << "";
    QTest::newRow("add keeps a value under the base") << "investigator.addskill('Volar', '^DES*2', 5);" << true << "" << "Volar 5/20";
    QTest::newRow("add occupational") << "investigator.addOccupationalSkill('Volar', '10', 30);" << true << "" << "Volar 30/10 occ";
    QTest::newRow("add a name taken") << "investigator.addskill('*nadar', '5');"
        << false << "!Script Error: Skill *nadar already defined!" << "Nadar 40/25";
    QTest::newRow("one free choice only") << "investigator.addOccupationalSkill('*'); output.write(investigator.hasgotskill('**')); investigator.addskill('*');"
        << false << "1 | !Script Error: Skill * already defined!" << " 0/0 occ";
    QTest::newRow("properties wait for recalculate") << "investigator.pow = 16; investigator.addskill('Volar', '^POD');" << true << "" << "Volar 0/12";
    QTest::newRow("recalculate writes them") << "investigator.pow = 16; investigator.recalculate(); investigator.addskill('Volar', '^POD');" << true << "" << "Volar 0/16";
    QTest::newRow("argument count") << "investigator.recalculate(1);" << false << "!Line 1 : recalculate() : too many parameters" << "";
    // clang-format on
}

void TestScriptObject::members()
{
    QFETCH(QString, script);
    QFETCH(bool, ok);
    QFETCH(QString, transcript);
    QFETCH(QString, skill);

    Investigator inv = sample();
    QCOMPARE(runOn(inv, QString(script).replace('\'', '"')), ok);
    QStringList all = outputLines(m_ui);
    for (const QString& box : boxTexts(m_ui))
        all << "!" + box;
    QCOMPARE(all.join(" | "), transcript);
    if (!skill.isEmpty())
        QVERIFY2(describeSkills(inv).contains(skill), qPrintable(describeSkills(inv).join(", ")));
}

void TestScriptObject::writeBack_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("fields"); // "Key=value" after the run

    // clang-format off
    QTest::newRow("san without recalculate") << "investigator.san = 42;" << QStringList{"COR=42", "Magic=12"};
    QTest::newRow("pow with recalculate") << "investigator.pow = 16; investigator.recalculate();" << QStringList{"POD=16", "COR=80", "Magic=16"};
    QTest::newRow("recalculate reads back") << "investigator.siz = 13; investigator.con = 12; investigator.recalculate(); investigator.name = investigator.hp;"
        << QStringList{"PV=13", "Name=13"};
    QTest::newRow("conversions") << "investigator.age = '31'; investigator.STR = 12.9; investigator.Possessions = 7;"
        << QStringList{"Age=31", "FUE=12", "Posessions=7"};
    QTest::newRow("a failed run still writes back") << "investigator.name = 'Bea'; investigator.getskillvalue('Volar');" << QStringList{"Name=Bea"};
    QTest::newRow("a property holding the object") << "investigator.name = investigator;" << QStringList{"Name=[object]"};
    // clang-format on
}

void TestScriptObject::writeBack()
{
    QFETCH(QString, script);
    QFETCH(QStringList, fields);

    Investigator inv = sample();
    runOn(inv, QString(script).replace('\'', '"'));
    for (const QString& field : fields) {
        const QString key = field.section('=', 0, 0);
        QCOMPARE(key + "=" + fieldText(inv, key), field);
    }
}

namespace vorpane::test {
int runScriptObjectTests(int argc, char** argv)
{
    TestScriptObject tests;
    return QTest::qExec(&tests, argc, argv);
}
} // namespace vorpane::test

#include "test_script_object.moc"
