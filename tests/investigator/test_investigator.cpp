#include "investigator/base_formula.h"
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_history.h"
#include "investigator_fixtures.h"

#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestInvestigator : public QObject {
    Q_OBJECT
private slots:
    void freshInvestigator();
    void characteristicLookup_data();
    void characteristicLookup();
    void baseFormula_data();
    void baseFormula();
    void baseText_data();
    void baseText();
    void damageBonus_data();
    void damageBonus();
    void budgets_data();
    void budgets();
    void hitPointsRoundHalfUp();
    void hugeValuesSaturate();
    void rollingOrderAndAge_data();
    void rollingOrderAndAge();
    void recalculation();
    void skillPointStatus_data();
    void skillPointStatus();
    void lookupIgnoresStars_data();
    void lookupIgnoresStars();
    void addSpecialSkillHandsOverSubSkills();
    void copyRepointsSubSkills();
    void removeSpecialSkillTakesSubSkills();
    void removeSubSkillEmptiesItsSlot();
    void sortOrdersEveryList();
    void historyKeepsFiveDeep();
    void redoMirrorsUndo();
};

void TestInvestigator::freshInvestigator()
{
    const Investigator inv;
    QCOMPARE(inv.Era, 1);
    for (const char* name : { "APA", "CON", "DES", "EDU", "INT", "POD", "TAM", "FUE" })
        QCOMPARE(inv.findCharacteristic(name), std::optional<int>(0));
    QVERIFY(inv.entries().empty() && inv.skills().empty() && inv.firearms().empty() && inv.melee().empty());
}

void TestInvestigator::characteristicLookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::newRow("stored") << "DES" << 14;
    QTest::newRow("lower case") << "tam" << 10;
    QTest::newRow("luck") << "SUER" << 65;
    QTest::newRow("know") << "CONO" << 85;
    QTest::newRow("idea") << "Idea" << 75;
    QTest::newRow("sanity") << "COR" << 60;
    QTest::newRow("hit points PV") << "PV" << 11;
    QTest::newRow("hit points HIT") << "HIT" << 11;
    QTest::newRow("magic") << "MAGIA" << 13;
    QTest::newRow("unknown") << "XYZ" << kFormulaError;
    QTest::newRow("empty") << "" << kFormulaError;
}

void TestInvestigator::characteristicLookup()
{
    QFETCH(QString, name);
    QFETCH(int, value);
    ScopedRecordingUi ui;
    const Investigator inv = sampleInvestigator();
    QCOMPARE(inv.characteristic(name.toStdString()), value);
    const QString expected = value == kFormulaError ? "Unknown character statistic: " + name : QString();
    QCOMPARE(QString::fromLatin1(ui.texts()), expected);
}

void TestInvestigator::baseFormula_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message");
    // DES 14, EDU 17, FUE 9, TAM 10, POD 13; "Buscar Libros" is at 70.
    QTest::newRow("leading zero") << "05" << 5 << "";
    QTest::newRow("times without star") << "^DES2" << 28 << "";
    QTest::newRow("times with star") << "^DES*2" << 28 << "";
    QTest::newRow("times five") << "^EDU*5" << 85 << "";
    QTest::newRow("sum") << "^FUE^TAM" << 19 << "";
    QTest::newRow("blank before factor") << "^POD 3" << 39 << "";
    QTest::newRow("number then characteristic") << "10^DES" << 24 << "";
    QTest::newRow("number replaces before a characteristic") << "10 20" << 20 << "";
    QTest::newRow("skill value") << "%Buscar Libros%" << 70 << "";
    QTest::newRow("skill written with underscores") << "%Buscar_Libros%" << 70 << "";
    QTest::newRow("skill then factor") << "%Buscar Libros%2" << 2 << "";
    QTest::newRow("firearm mark skipped") << "F30" << 30 << "";
    QTest::newRow("empty") << "" << 0 << "";
    QTest::newRow("huge number saturates") << "^POD99999999999999999999" << INT_MAX << "";
    QTest::newRow("unknown characteristic")
        << "^XYZ*2" << kFormulaError << "Unknown character statistic: XYZ";
    QTest::newRow("unknown skill") << "%Volar%" << kFormulaError << "Unknown skill name: Volar";
    QTest::newRow("unclosed skill name") << "%Volar" << kFormulaError << "Unknown skill name: Volar";
}

void TestInvestigator::baseFormula()
{
    QFETCH(QString, base);
    QFETCH(int, value);
    QFETCH(QString, message);
    ScopedRecordingUi ui;
    const Investigator inv = sampleInvestigator();
    QCOMPARE(BaseFormula::value(base.toStdString(), inv), value);
    QCOMPARE(QString::fromLatin1(ui.texts()), message);
}

void TestInvestigator::baseText_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("bases55");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain number") << "05" << false << false << "05";
    QTest::newRow("plain number percent") << "05" << false << true << "05%";
    QTest::newRow("padded") << "5" << false << true << "05%";
    QTest::newRow("many zeros") << "005" << false << false << "05";
    QTest::newRow("two digits") << "25" << false << true << "25%";
    QTest::newRow("factor") << "^DES*2" << false << true << "DESx2";
    QTest::newRow("factor five") << "^EDU*5" << false << false << "EDUx5";
    QTest::newRow("factor one") << "^DES1" << false << false << "DESx";
    QTest::newRow("sum") << "^FUE^TAM" << false << false << "FUE+TAM";
    QTest::newRow("number plus") << "10^DES" << false << true << "10+DES";
    QTest::newRow("skill name") << "%Zhaldor_Mythos%" << false << true << "Zhaldor Mythos";
    QTest::newRow("zero") << "0" << false << true << "00";
    QTest::newRow("zero with both flags") << "0" << true << true << "01%";
    QTest::newRow("zero, 5.5 bases only") << "0" << true << false << "01";
    QTest::newRow("hidden zero") << "*0" << true << true << "00";
    QTest::newRow("firearm mark") << "F20" << false << true << "20%";
    QTest::newRow("other characters") << "1/2" << false << true << "01/x2";
}

void TestInvestigator::baseText()
{
    QFETCH(QString, base);
    QFETCH(bool, bases55);
    QFETCH(bool, percent);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(BaseFormula::text(base.toStdString(), bases55, percent)), text);
}

void TestInvestigator::damageBonus_data()
{
    QTest::addColumn<int>("fue");
    QTest::addColumn<int>("tam");
    QTest::addColumn<QString>("bonus");
    QTest::newRow("12") << 6 << 6 << "-1D6";
    QTest::newRow("13") << 7 << 6 << "-1D4";
    QTest::newRow("16") << 8 << 8 << "-1D4";
    QTest::newRow("17") << 9 << 8 << "nada";
    QTest::newRow("24") << 12 << 12 << "nada";
    QTest::newRow("25") << 13 << 12 << "+1D4";
    QTest::newRow("32") << 16 << 16 << "+1D4";
    QTest::newRow("33") << 17 << 16 << "+1D6";
    QTest::newRow("40") << 20 << 20 << "+1D6";
    QTest::newRow("41") << 20 << 21 << "+2D6";
    QTest::newRow("57") << 30 << 27 << "+3D6";
    QTest::newRow("zero") << 0 << 0 << "-1D6";
    QTest::newRow("negative FUE") << -1 << 20 << "";
    QTest::newRow("negative TAM") << 20 << -1 << "";
    QTest::newRow("no overflow") << INT_MAX << INT_MAX << "+268435455D6";
}

void TestInvestigator::damageBonus()
{
    QFETCH(int, fue);
    QFETCH(int, tam);
    QFETCH(QString, bonus);
    QCOMPARE(QString::fromStdString(vorpane::damageBonus(fue, tam)), bonus);
}

void TestInvestigator::budgets_data()
{
    QTest::addColumn<int>("extraSchooling");
    QTest::addColumn<int>("skillPoints");
    QTest::addColumn<int>("interestPoints");
    QTest::newRow("no extra year") << 0 << 300 << 140;
    QTest::newRow("education roll failed") << 1 << 300 << 140;
    QTest::newRow("education roll succeeded") << 2 << 280 << 150;
}

void TestInvestigator::budgets()
{
    QFETCH(int, extraSchooling);
    QFETCH(int, skillPoints);
    QFETCH(int, interestPoints);
    Investigator inv;
    inv.EDU = 15;
    inv.INT = 14;
    inv.ExtraSchooling = extraSchooling;
    computeBudgets(inv);
    QCOMPARE(inv.SkillPoints, skillPoints);
    QCOMPARE(inv.InterestPoints, interestPoints);
}

void TestInvestigator::hitPointsRoundHalfUp()
{
    Investigator inv;
    inv.TAM = 13, inv.CON = 12, inv.POD = 11;
    computeDerivedValues(inv);
    QCOMPARE(inv.PV, 13);
    QCOMPARE(inv.COR, 55);
    QCOMPARE(inv.Magic, 11);
    inv.TAM = 12;
    computeDerivedValues(inv);
    QCOMPARE(inv.PV, 12);
}

void TestInvestigator::hugeValuesSaturate()
{
    // A file can hold any int; derived values must not overflow.
    Investigator inv;
    inv.EDU = inv.INT = inv.POD = inv.TAM = inv.CON = INT_MAX;
    inv.ExtraSchooling = 2;
    computeBudgets(inv);
    computeDerivedValues(inv);
    QCOMPARE(inv.SkillPoints, INT_MAX);
    QCOMPARE(inv.InterestPoints, INT_MAX);
    QCOMPARE(inv.COR, INT_MAX);
    QCOMPARE(inv.PV, INT_MAX);
    QCOMPARE(inv.characteristic("SUER"), INT_MAX);
    inv.EDU = INT_MIN;
    computeBudgets(inv);
    QCOMPARE(inv.SkillPoints, INT_MIN);
    inv.addEntry(std::make_unique<Skill>("Zhaldor Mythos", "00", kAllEraFlags), false).current = INT_MIN;
    QCOMPARE(maximumSanity(inv), INT_MAX);
}

void TestInvestigator::rollingOrderAndAge_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("expectedAge");
    // With the faces below EDU is 3 x 4 + 6 = 18.
    QTest::newRow("young raised to EDU + 6") << 17 << 24;
    QTest::newRow("older kept") << 30 << 30;
    QTest::newRow("exactly EDU + 6") << 24 << 24;
}

void TestInvestigator::rollingOrderAndAge()
{
    QFETCH(int, age);
    QFETCH(int, expectedAge);
    std::vector<int> faces { 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 1, 1, 4, 4, 4 };
    ScriptedDice dice(faces);
    Investigator inv;
    inv.Age = age;
    inv.addEntry(std::make_unique<Skill>("Esquivar", "^DES2", kAllEraFlags), false).current = 90;
    inv.addEntry(std::make_unique<Skill>("Ocultarse", "^DES5", kAllEraFlags), false).current = 0;
    rollCharacteristics(inv, dice);
    // Drawn in the order FUE, CON, POD, DES, APA (3D6), TAM, INT (2D6+6), EDU (3D6+6).
    QCOMPARE(inv.FUE, 3);
    QCOMPARE(inv.CON, 6);
    QCOMPARE(inv.POD, 9);
    QCOMPARE(inv.DES, 12);
    QCOMPARE(inv.APA, 15);
    QCOMPARE(inv.TAM, 18);
    QCOMPARE(inv.INT, 8);
    QCOMPARE(inv.EDU, 18);
    QCOMPARE(inv.Age, expectedAge);
    QCOMPARE(inv.SkillPoints, 360);
    QCOMPARE(inv.InterestPoints, 80);
    QCOMPARE(inv.COR, 45);
    QCOMPARE(inv.PV, 12);
    QCOMPARE(inv.Magic, 9);
    QCOMPARE(inv.skills()[0]->current, 90); // above its new base: kept
    QCOMPARE(inv.skills()[1]->current, 60); // raised to its new base
    QCOMPARE(inv.skills()[1]->baseValue, 60);
}

void TestInvestigator::recalculation()
{
    ScopedRecordingUi ui;
    Investigator inv = sampleInvestigator();
    SkillEntry* broken = &inv.addEntry(std::make_unique<Skill>("Rota", "^XYZ", kAllEraFlags), false);
    ui.reset();
    broken->current = 12;
    inv.findSkill("Esquivar")->current = 3;
    recalculate(inv);
    QCOMPARE(inv.findSkill("Esquivar")->baseValue, 28);
    QCOMPARE(inv.findSkill("Esquivar")->current, 28);
    QCOMPARE(inv.findSkill("Buscar Libros")->current, 70);
    QCOMPARE(broken->baseValue, kFormulaError);
    QCOMPARE(broken->current, 12);
    QCOMPARE(QString::fromLatin1(ui.texts()), QString("Unknown character statistic: XYZ"));
}

void TestInvestigator::skillPointStatus_data()
{
    QTest::addColumn<int>("skillPoints");
    QTest::addColumn<int>("interestPoints");
    QTest::addColumn<int>("spent");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("budgets");
    QTest::newRow("no budget") << 0 << 0 << 40 << ""
                               << "";
    QTest::newRow("points left") << 300 << 140 << 40 << "400 Points"
                                 << "Skill: 300 Hobby: 140";
    QTest::newRow("all spent") << 300 << 140 << 440 << "0 Points"
                               << "Skill: 300 Hobby: 140";
    QTest::newRow("overspent") << 300 << 140 << 450 << "10 Over"
                               << "Skill: 300 Hobby: 140";
}

void TestInvestigator::skillPointStatus()
{
    QFETCH(int, skillPoints);
    QFETCH(int, interestPoints);
    QFETCH(int, spent);
    QFETCH(QString, points);
    QFETCH(QString, budgets);
    Investigator inv;
    inv.SkillPoints = skillPoints;
    inv.InterestPoints = interestPoints;
    inv.DES = 10;
    inv.addEntry(std::make_unique<Skill>("Esquivar", "^DES2", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Skill>("Nadar", "25", kAllEraFlags), false);
    recalculate(inv);
    inv.skills()[0]->current += spent - 5;
    inv.skills()[1]->current += 5;
    const SkillPointStatus status = vorpane::skillPointStatus(inv);
    QCOMPARE(QString::fromStdString(status.points), points);
    QCOMPARE(QString::fromStdString(status.budgets), budgets);
}

void TestInvestigator::lookupIgnoresStars_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::newRow("star stored") << "*Patada"
                                 << "patada";
    QTest::newRow("star asked") << "Patada"
                                << "**PATADA";
    QTest::newRow("both") << "*Patada"
                          << "*Patada";
}

void TestInvestigator::lookupIgnoresStars()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    Investigator inv;
    inv.addEntry(std::make_unique<Skill>("Nadar", "25", kAllEraFlags), false);
    SkillEntry& entry = inv.addEntry(
        std::make_unique<Melee>(stored.toStdString(), "25", kAllEraFlags, MeleeStats {}), false);
    QCOMPARE(inv.findSkill(asked.toStdString()), &entry);
    QCOMPARE(inv.findSkill("Pata"), nullptr);
}

void TestInvestigator::addSpecialSkillHandsOverSubSkills()
{
    Investigator inv;
    inv.POD = 10;
    auto def = std::make_unique<SpecialSkill>("Ciencia", "^POD", kAllEraFlags, 3, true);
    const SpecialSkill* special = def.get();
    SkillEntry& entry = inv.addEntry(std::move(def), true);
    QCOMPARE(inv.entries().size(), size_t(4));
    QCOMPARE(inv.skills().size(), size_t(4));
    QVERIFY(!special->ownsSubSkills());
    QCOMPARE(entry.current, 10);
    QCOMPARE(entry.baseValue, SkillEntry::kBaseNotComputed);
    for (int i = 1; i <= 3; ++i) {
        const SkillEntry& sub = *inv.entries()[size_t(i)];
        QCOMPARE(sub.parent(), special);
        QCOMPARE(sub.occupational, 1);
        QCOMPARE(sub.current, 10);
        QCOMPARE(special->indexOfSubSkill(sub.definition.get()), i - 1);
    }
}

void TestInvestigator::copyRepointsSubSkills()
{
    auto original = std::make_unique<Investigator>(sampleInvestigator());
    original->entries()[0]->baseValue = 25;
    const Investigator copy(*original);
    original.reset(); // the copy must not point into it

    QCOMPARE(copy.Name, std::string("Ana \"la Roja\" Vidal"));
    QCOMPARE(copy.InterestPoints, 150);
    QCOMPARE(copy.Magic, 13);
    // Firearms, then melee weapons, then skills.
    QStringList order;
    for (const auto& entry : copy.entries())
        order << QString::fromStdString(entry->name());
    QCOMPARE(order,
        QStringList(
            { "Revólver .38", "*Puñetazo", "Buscar Libros", "Esquivar", "Arte", "Pintura", "Canto" }));
    QCOMPARE(copy.firearms().size(), size_t(1));
    QCOMPARE(copy.melee().size(), size_t(1));
    QCOMPARE(copy.skills().size(), size_t(5));
    QCOMPARE(copy.findSkill("Buscar Libros")->baseValue, 25);
    QCOMPARE(copy.findSkill("Buscar Libros")->occupational, 1);
    QCOMPARE(copy.findSkill("Esquivar")->checked, 1);

    const SkillEntry* arte = copy.findSkill("Arte");
    const auto& special = static_cast<const SpecialSkill&>(*arte->definition);
    for (const char* name : { "Pintura", "Canto" }) {
        const SkillEntry* sub = copy.findSkill(name);
        QCOMPARE(sub->parent(), &special);
        QVERIFY(special.indexOfSubSkill(sub->definition.get()) >= 0);
    }
    QCOMPARE(special.subSkillCount(), 2);
}

void TestInvestigator::removeSpecialSkillTakesSubSkills()
{
    Investigator inv = sampleInvestigator();
    QVERIFY(inv.removeEntry(inv.findSkill("Arte")));
    QCOMPARE(inv.entries().size(), size_t(4));
    QCOMPARE(inv.skills().size(), size_t(2));
    QCOMPARE(inv.findSkill("Pintura"), nullptr);
    Investigator other = sampleInvestigator();
    QVERIFY(!inv.removeEntry(other.entries()[0].get()));
    QCOMPARE(inv.entries().size(), size_t(4));
}

void TestInvestigator::removeSubSkillEmptiesItsSlot()
{
    Investigator inv = sampleInvestigator();
    const auto& special = static_cast<const SpecialSkill&>(*inv.findSkill("Arte")->definition);
    QVERIFY(inv.removeEntry(inv.findSkill("Pintura")));
    QCOMPARE(special.subSkill(0), nullptr);
    QCOMPARE(special.subSkill(1), inv.findSkill("Canto")->definition.get());
    const Investigator copy(inv); // an empty slot survives copying
    QCOMPARE(static_cast<const SpecialSkill&>(*copy.findSkill("Arte")->definition).subSkill(0), nullptr);
}

void TestInvestigator::sortOrdersEveryList()
{
    Investigator inv;
    inv.addEntry(std::make_unique<Skill>("nadar", "25", kAllEraFlags), false);
    addSpecial(inv, "Ciencia", { "", "Química", "Biología", "" });
    inv.addEntry(std::make_unique<Firearm>("Rifle", "25", kAllEraFlags, FirearmStats {}), false);
    inv.addEntry(std::make_unique<Skill>("Buscar", "25", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Melee>("*Patada", "25", kAllEraFlags, MeleeStats {}), false);
    inv.addEntry(std::make_unique<Skill>("CIENCIAS OCULTAS", "05", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Firearm>("escopeta", "25", kAllEraFlags, FirearmStats {}), false);
    addSpecial(inv, "Arte", { "Pintura" });
    inv.sort();

    const auto names = [](const auto& list) {
        QStringList out;
        for (const auto& entry : list)
            out << QString::fromStdString(entry->name());
        return out;
    };
    QCOMPARE(names(inv.entries()),
        QStringList({ "*Patada", "Arte", "Pintura", "Buscar", "Ciencia", "Biología", "Química", "", "",
            "CIENCIAS OCULTAS", "escopeta", "nadar", "Rifle" }));
    QCOMPARE(names(inv.skills()),
        QStringList({ "Arte", "Pintura", "Buscar", "Ciencia", "Biología", "Química", "", "",
            "CIENCIAS OCULTAS", "nadar" }));
    QCOMPARE(names(inv.firearms()), QStringList({ "escopeta", "Rifle" }));
    QCOMPARE(names(inv.melee()), QStringList({ "*Patada" }));
}

void TestInvestigator::historyKeepsFiveDeep()
{
    Investigator inv;
    InvestigatorHistory history;
    QVERIFY(!history.undo(inv));
    for (int age = 1; age <= 6; ++age) {
        inv.Age = age - 1;
        history.checkpoint(inv);
        inv.Age = age;
    }
    QCOMPARE(history.undoDepth(), InvestigatorHistory::kMaxDepth);
    QList<int> ages;
    while (history.undo(inv))
        ages << inv.Age;
    QCOMPARE(ages, QList<int>({ 5, 4, 3, 2, 1 })); // the state before the first change is gone
    QCOMPARE(history.redoDepth(), 5);
}

void TestInvestigator::redoMirrorsUndo()
{
    Investigator inv = sampleInvestigator();
    InvestigatorHistory history;
    history.checkpoint(inv);
    inv.removeEntry(inv.findSkill("Arte"));
    QVERIFY(history.undo(inv));
    QVERIFY(inv.findSkill("Canto"));
    QVERIFY(history.redo(inv));
    QCOMPARE(inv.findSkill("Canto"), nullptr);
    QVERIFY(!history.redo(inv));
    QVERIFY(history.undo(inv));
    history.checkpoint(inv); // a new change forgets what could be redone
    QVERIFY(!history.canRedo());
}

QTEST_GUILESS_MAIN(TestInvestigator)
#include "test_investigator.moc"
