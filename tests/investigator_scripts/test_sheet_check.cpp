// The sheet check's report, line for line and blank for blank, and the end-of-campaign improvement.
#include "investigator/derived_values.h"
#include "investigator/investigator_file.h"
#include "investigator/investigator_history.h"
#include "investigator/sheet_check.h"
#include "platform/program_folder.h"
#include "test_support.h"

#include <QTest>
#include <functional>

using namespace vorpane;
using namespace vorpane::test;

using Setup = std::function<void(Investigator&)>;
Q_DECLARE_METATYPE(Setup)

class TestSheetCheck : public QObject {
    Q_OBJECT
private slots:
    void init();
    void check_data();
    void check();
    void improve_data();
    void improve();
    void improveAnsweredNo();

private:
    ScopedRecordingUi m_ui;
};

// Checkpoints copy the investigator, and a copy makes sure its rule set is loaded.
void TestSheetCheck::init()
{
    m_ui.reset();
    setProgramFolder(fixtureFolder());
}

namespace {

// Complete, with exactly the budget of 50 spent: Nadar +20, Idioma:Latín +30.
Investigator complete()
{
    Investigator inv;
    inv.Name = "Ana", inv.Occupation = "Anticuaria", inv.Sex = "Mujer";
    inv.APA = inv.CON = inv.DES = inv.INT = inv.TAM = inv.FUE = 10;
    inv.POD = 12, inv.EDU = 14, inv.COR = 60;
    inv.SkillPoints = 30, inv.InterestPoints = 20;
    addSkill(inv, "Nadar", "25", 45);
    addSkill(inv, "*Esquivar", "^DES*2", 20);
    addSpecial(inv, "Idioma", { "Latín", "" });
    inv.findSkill(w("Latín"))->current = 31;
    computeBaseValues(inv);
    return inv;
}

SkillEntry& unnamedSubSkill(Investigator& inv)
{
    for (const auto& entry : inv.entries()) {
        if (entry->kind() == SkillKind::SubSkill && entry->name().empty())
            return *entry;
    }
    return *inv.entries().front();
}

} // namespace

void TestSheetCheck::check_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("report"); // between "Probando Investigador..." and the last line
    QTest::addColumn<int>("errors");

    const QString spent = "50 puntos repartidos";
    // clang-format off
    QTest::newRow("complete") << Setup([](Investigator&) {}) << QStringList{spent} << 0;
    QTest::newRow("nothing assigned") << Setup([](Investigator& inv) {
            inv.Name.clear(), inv.Occupation.clear(), inv.Sex.clear();
            inv.APA = inv.CON = inv.DES = inv.EDU = inv.INT = inv.POD = inv.TAM = inv.FUE = -1;
        })
        << QStringList{"Investigador sin nombre     ", "Investigador sin profesión        ", "Investigador sin sexo...      ",
                       "La APA del investigador no fue asignada", "La CON del investigador no fue asignada",
                       "La DES del investigador no fue asignada", "La EDU del investigador no fue asignada",
                       "La INT del investigador no fue asignada", "El POD del investigador no fue asignado",
                       "El TAM del investigador no fue asignado", "La FUE del investigador no fue asignada"} << 11;
    QTest::newRow("sanity above its starting value") << Setup([](Investigator& inv) { inv.POD = 13, inv.COR = 70; })
        << QStringList{"La COR del investigador es mayor que su valor máximo de COR de 65   "} << 1;
    QTest::newRow("sanity above 99 minus the mythos") << Setup([](Investigator& inv) {
            inv.POD = 16, inv.COR = 70;
            addSkill(inv, "Zhaldor Mythos", "00", 30);
        }) << QStringList{"La COR del investigador es mayor que 99 - los Mitos de Zhaldor      "} << 1;
    QTest::newRow("below the minimum spends nothing") << Setup([](Investigator& inv) { inv.findSkill("Nadar")->current = 20; })
        << QStringList{"\"Nadar\" has been allocated less than its minimum value (25%)", "Quedan 20 puntos por repartir    "} << 2;
    QTest::newRow("the minimum is computed afresh") << Setup([](Investigator& inv) { inv.DES = 15; })
        << QStringList{"\"Esquivar\" has been allocated less than its minimum value (30%)", spent} << 1;
    QTest::newRow("subskills show their parent") << Setup([](Investigator& inv) { inv.findSkill(w("Latín"))->current = 0; })
        << QStringList{"\"Idioma:Latín\" has been allocated less than its minimum value (1%)", "Quedan 30 puntos por repartir    "} << 2;
    QTest::newRow("unnamed subskill with points") << Setup([](Investigator& inv) { unnamedSubSkill(inv).current = 6; })
        << QStringList{"Un sub-item de Idioma tiene asignados puntos, pero no nombre", "Se excedieron en 5 los ptos de asignación  "} << 2;
    QTest::newRow("unnamed subskill with a formula base") << Setup([](Investigator& inv) {
            SkillEntry& sub = unnamedSubSkill(inv);
            sub.definition->setBase("^EDU");
            sub.current = sub.baseValue = 14;
        }) << QStringList{"Un sub-item de Idioma tiene asignados puntos, pero no nombre", spent} << 1;
    // clang-format on
}

void TestSheetCheck::check()
{
    QFETCH(Setup, setup);
    QFETCH(QStringList, report);
    QFETCH(int, errors);

    Investigator inv = complete();
    setup(inv);
    const std::string before = InvestigatorFile::text(inv, {});
    m_ui.output().addLine("old line");

    QCOMPARE(checkSheet(inv), errors);
    const QString last = errors ? QString("El Investigador falló en : %1 errores   ").arg(errors)
                                : QString("Testeo del Investigador finalizado.");
    QCOMPARE(outputLines(m_ui), QStringList { "Probando Investigador..." } + report + QStringList { last });
    QCOMPARE(boxTexts(m_ui), errors ? QStringList() : QStringList { last });
    QCOMPARE(m_ui.output().isVisible(), errors > 0);
    QCOMPARE(InvestigatorFile::text(inv, {}), before);
}

void TestSheetCheck::improve_data()
{
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QList<int>>("faces");
    QTest::addColumn<QStringList>("report"); // between the first line and "..listo"
    QTest::addColumn<QStringList>("after"); // "name value" of the checked entries

    const QString rolling = "Rolling D100 for skill %1, which is currently at %2%...";
    const QString increase = "    Rolling 1D10 to determine point increase...";
    // clang-format off
    QTest::newRow("a roll equal to the value") << QStringList{"Nadar"} << QList<int>{45}
        << QStringList{rolling.arg("Nadar").arg(45), "    Rolled: 45", "    No point increase", ""} << QStringList{"Nadar 45"};
    QTest::newRow("one more, and no ceiling at 99") << QStringList{"Buscar"} << QList<int>{99, 10}
        << QStringList{rolling.arg("Buscar").arg(98), "    Rolled: 99", increase, "    Skill increased by 10 points. Now at 108%", ""}
        << QStringList{"Buscar 108"};
    QTest::newRow("list order and subskill names") << QStringList{"Latín", "", "Nadar"} << QList<int>{40, 3, 1, 31}
        << QStringList{rolling.arg("Nadar").arg(45), "    Rolled: 40", "    No point increase", "",
                       rolling.arg("Idioma unnamed subskill").arg(1), "    Rolled: 3", increase, "    Skill increased by 1 points. Now at 2%", "",
                       rolling.arg("Idioma:Latín").arg(31), "    Rolled: 31", "    No point increase", ""}
        << QStringList{"Latín 31", " 2", "Nadar 45"};
    // clang-format on
}

void TestSheetCheck::improve()
{
    QFETCH(QStringList, checked);
    QFETCH(QList<int>, faces);
    QFETCH(QStringList, report);
    QFETCH(QStringList, after);

    Investigator inv;
    inv.RuleFile = "scripts.rul";
    addSkill(inv, "Nadar", "25", 45);
    addSkill(inv, "Buscar", "25", 98);
    addSpecial(inv, "Idioma", { "", "Latín" });
    inv.findSkill(w("Latín"))->current = 31;
    computeBaseValues(inv);
    std::vector<SkillEntry*> ticked;
    for (const QString& name : checked) {
        SkillEntry* entry = name.isEmpty() ? &unnamedSubSkill(inv) : inv.findSkill(w(name));
        entry->checked = 1;
        ticked.push_back(entry);
    }
    ScriptedDice dice(std::vector<int>(faces.begin(), faces.end()));
    InvestigatorHistory history;

    QVERIFY(improveSkills(inv, history, dice));
    QCOMPARE(boxTexts(m_ui),
        QStringList { "¿Seguro que quieres actualizar las habil. al final de una campaña?  " });
    QCOMPARE(
        outputLines(m_ui), QStringList { "Testando habilidades...  " } + report + QStringList { "..listo" });
    QVERIFY(m_ui.output().isVisible());
    QVERIFY(history.canUndo());
    QStringList values;
    for (const SkillEntry* entry : ticked)
        values << u(entry->name()) + " " + QString::number(entry->current);
    QCOMPARE(values, after);
    for (const auto& entry : inv.entries())
        QCOMPARE(entry->checked, 0);
}

void TestSheetCheck::improveAnsweredNo()
{
    Investigator inv;
    inv.RuleFile = "scripts.rul";
    addSkill(inv, "Nadar", "25", 45).checked = 1;
    m_ui.yesNoAnswers = { false };
    InvestigatorHistory history;
    ScriptedDice dice({ 100, 10 });
    QVERIFY(!improveSkills(inv, history, dice));
    QVERIFY(outputLines(m_ui).isEmpty());
    QVERIFY(!history.canUndo());
    QCOMPARE(inv.findSkill("Nadar")->current, 45);
    QCOMPARE(inv.findSkill("Nadar")->checked, 1);
}

namespace vorpane::test {
int runSheetCheckTests(int argc, char** argv)
{
    TestSheetCheck tests;
    return QTest::qExec(&tests, argc, argv);
}
} // namespace vorpane::test

#include "test_sheet_check.moc"
