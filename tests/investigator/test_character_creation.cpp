// The rules behind creating an investigator step by step: the texts of the two information
// windows, which skills the picker and the skill-point lists offer, paying for typed values, age
// and education, and what finishing leaves behind.

#include "investigator/character_creation.h"
#include "investigator/investigator_summary.h"
#include "investigator/skill_choice.h"
#include "investigator/skill_info_text.h"
#include "investigator_fixtures.h"
#include "platform/cp1252.h"

#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

namespace {

QString u(const std::string& text) { return fromCp1252(text); }

QStringList names(const std::vector<SkillEntry*>& entries)
{
    QStringList list;
    for (const SkillEntry* entry : entries) {
        const SpecialSkill* parent = entry->parent();
        list << (parent ? u(parent->name()) + ":" : QString()) + u(entry->name());
    }
    return list;
}

// Skills of every kind the lists must sort out, in the 1920s.
Investigator listingInvestigator()
{
    Investigator inv;
    inv.Era = kEraIndex1920s;
    inv.DES = 10;
    inv.addEntry(std::make_unique<Skill>("Buscar", "25", kAllEraFlags), true);
    inv.addEntry(std::make_unique<Skill>("Mythos", "*0", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Skill>("Informática", "01", kEraFlag1990s), false);
    inv.addEntry(std::make_unique<Skill>("Esquivar", "^DES2", kAllEraFlags), false);
    auto art = std::make_unique<SpecialSkill>("Arte", "05", kAllEraFlags, 2, true);
    art->subSkill(0)->setName("Pintura");
    inv.addEntry(std::move(art), true);
    inv.addEntry(std::make_unique<SpecialSkill>("Ciencia", "01", kAllEraFlags, 1, true), false);
    inv.appendEntry(std::make_unique<SkillEntry>(std::make_unique<AnySkill>(kAllEraFlags), 0, 1));
    inv.addEntry(std::make_unique<Firearm>("Revolver", "20", kAllEraFlags, FirearmStats {}), true);
    inv.addEntry(std::make_unique<Melee>("*Puno", "50", kAllEraFlags, MeleeStats {}), false);
    return inv;
}

} // namespace

class TestCharacterCreation : public QObject {
    Q_OBJECT
private slots:
    void eraText_data();
    void eraText();
    void skillInfoByKind_data();
    void skillInfoByKind();
    void summary_data();
    void summary();
    void pickerOffers();
    void occupationalChoiceTakesSubskills();
    void skillPointRows();
    void spendPoints_data();
    void spendPoints();
    void ageAndEducation_data();
    void ageAndEducation();
    void agePoints_data();
    void agePoints();
    void educationRoll_data();
    void educationRoll();
    void finishRemovesPlaceholders();
};

void TestCharacterCreation::eraText_data()
{
    QTest::addColumn<int>("eras");
    QTest::addColumn<QString>("text");
    QTest::newRow("all") << 7 << "Disponible en toda era ";
    QTest::newRow("none") << 0 << "No disponible.           ";
    QTest::newRow("1890s, no blank after los") << 1 << "Disponible en los1890s sólo.";
    QTest::newRow("1990s") << 4 << "Disponible en los1990s sólo.";
    QTest::newRow("two eras, lowest first") << 6 << "Disponible en los1920s y en1990s sólo.";
    QTest::newRow("1890s and 1990s") << 5 << "Disponible en los1890s y en1990s sólo.";
}

void TestCharacterCreation::eraText()
{
    QFETCH(int, eras);
    QFETCH(QString, text);
    QCOMPARE(u(eraAvailabilityText(eras)), text);
}

void TestCharacterCreation::skillInfoByKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("skill") << 1 << QStringList { "Base: 05" };
    QTest::newRow("firearm") << 2
                             << QStringList { "Base: 20", "Disparos/Asalto: 2", "Daño:   1D10",
                                    "Punt. resis:10", "Balas en arma:  6", "Alcan.:15 m",
                                    "Encallamiento:      100" };
    QTest::newRow("melee") << 3
                           << QStringList { "Base: 25", "Ataques por Asalto:1", "Daño:   1D6+bd",
                                  "Punt. resis:15" };
    QTest::newRow("any skill") << 4 << QStringList { "This represents any skill" };
    QTest::newRow("special") << 5 << QStringList { "Base: 05", "This skill has 3 subskills" };
    QTest::newRow("subskill names its parent")
        << 6 << QStringList { "Base: 05", "This skill is a subskill of Arte" };
}

void TestCharacterCreation::skillInfoByKind()
{
    QFETCH(int, kind);
    QFETCH(QStringList, lines);
    SpecialSkill special("*Arte", "05", kAllEraFlags, 3, true);
    special.subSkill(0)->setName("Pintura");
    std::unique_ptr<SkillDef> def;
    switch (SkillKind(kind)) {
    case SkillKind::Skill:
        def = std::make_unique<Skill>("*Buscar", "05", kEraFlag1890s);
        break;
    case SkillKind::Firearm:
        def = std::make_unique<Firearm>(
            "Revólver", "20", kAllEraFlags, FirearmStats { "1D10", "15 m", "2", "6", "10", "100" });
        break;
    case SkillKind::Melee:
        def = std::make_unique<Melee>(
            "Cuchillo", "25", kAllEraFlags, MeleeStats { cp1252("1D6+bd"), "1", "15" });
        break;
    case SkillKind::AnySkill:
        def = std::make_unique<AnySkill>(kAllEraFlags);
        break;
    case SkillKind::SpecialSkill:
        def = special.clone();
        break;
    default:
        def = special.subSkill(0)->clone();
        break;
    }
    const SkillInfoText info = skillInfoText(*def, false);
    QStringList got;
    for (const std::string& line : info.details)
        got << u(line);
    QCOMPARE(got, lines);
    QVERIFY(!info.name.empty() || kind == 4);
    QVERIFY(!u(info.name).startsWith('*'));
}

void TestCharacterCreation::summary_data()
{
    QTest::addColumn<int>("era");
    QTest::addColumn<QString>("occupation");
    QTest::addColumn<int>("schooling");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("schoolingText");
    QTest::newRow("custom occupation") << 1 << "(CUSTOM)" << 0 << "Investigador 1920s"
                                       << "";
    QTest::newRow("no occupation") << 2 << "" << 1 << "Investigador 1990s"
                                   << "(Tirada de Estudios fallada) ";
    QTest::newRow("occupation") << 0 << "Abogado" << 2 << "1890s Abogado"
                                << "(Tirada de Estudios superada)   ";
    QTest::newRow("bad era") << 7 << "Abogado" << 0 << "INTERNAL ERRORs Abogado"
                             << "";
}

void TestCharacterCreation::summary()
{
    QFETCH(int, era);
    QFETCH(QString, occupation);
    QFETCH(int, schooling);
    Investigator inv;
    inv.Era = era;
    inv.Occupation = toCp1252(occupation);
    inv.ExtraSchooling = schooling;
    inv.PV = 12, inv.FUE = 10, inv.TAM = 12, inv.Magic = 9;
    const InvestigatorSummary s = investigatorSummary(inv);
    QTEST(u(s.title), "title");
    QTEST(u(s.schooling), "schoolingText");
    QCOMPARE(u(s.rows[3][0]), "PV: 12");
    QCOMPARE(u(s.rows[3][1]), "BD: nada");
    QCOMPARE(u(s.rows[3][2]), "Magia: 9");
}

void TestCharacterCreation::pickerOffers()
{
    Investigator inv = listingInvestigator();
    // Occupation mode: plain and special skills of the era, not occupational, Base not fixed.
    QCOMPARE(names(pickerEntries(inv, SkillPickerMode::Occupation)), QStringList({ "Esquivar", "Ciencia" }));
    // Plain mode: every skill and named subskill of the era; no weapons, no placeholder.
    QCOMPARE(names(pickerEntries(inv, SkillPickerMode::Plain)),
        QStringList({ "Buscar", "Mythos", "Esquivar", "Arte", "Arte:Pintura", "Ciencia" }));
}

void TestCharacterCreation::occupationalChoiceTakesSubskills()
{
    Investigator inv = listingInvestigator();
    SkillEntry* science = inv.findSkill("Ciencia");
    markOccupationalChoice(inv, *science);
    QVERIFY(science->occupational);
    int marked = 0;
    for (const auto& entry : inv.entries())
        marked += entry->parent() == science->definition.get() && entry->occupational;
    QCOMPARE(marked, 1);
    QVERIFY(!inv.findSkill("Esquivar")->occupational);
}

void TestCharacterCreation::skillPointRows()
{
    Investigator inv = listingInvestigator();
    QCOMPARE(names(skillPointEntries(inv, SkillPointMode::Occupation)),
        QStringList({ "Buscar", "Arte:Pintura", "Arte:", "", "Revolver" }));
    QCOMPARE(names(skillPointEntries(inv, SkillPointMode::Interest)),
        QStringList({ "Buscar", "Esquivar", "Arte:Pintura", "Arte:", "Ciencia:", "Revolver", "*Puno" }));
}

void TestCharacterCreation::spendPoints_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("floor");
    QTest::addColumn<int>("old");
    QTest::addColumn<int>("counter");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("beep");
    QTest::newRow("more than the points") << 80 << 5 << 5 << 50 << 55 << 0 << true;
    QTest::newRow("below the base") << 2 << 5 << 20 << 10 << 5 << 25 << true;
    QTest::newRow("within the points") << 30 << 5 << 5 << 50 << 30 << 25 << false;
    QTest::newRow("exactly everything") << 55 << 5 << 5 << 50 << 55 << 0 << false;
    QTest::newRow("lowered to the base") << 5 << 5 << 40 << 0 << 5 << 35 << false;
    QTest::newRow("huge numbers do not overflow")
        << INT_MAX << 0 << INT_MAX << INT_MAX << INT_MAX << INT_MAX << false;
}

void TestCharacterCreation::spendPoints()
{
    QFETCH(int, typed);
    QFETCH(int, floor);
    QFETCH(int, old);
    QFETCH(int, counter);
    const PointSpend spend = vorpane::spendPoints(typed, floor, old, counter);
    QTEST(spend.value, "value");
    QTEST(spend.counter, "left");
    QTEST(spend.beep, "beep");
}

void TestCharacterCreation::ageAndEducation_data()
{
    QTest::addColumn<int>("baseEdu");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("clamped");
    QTest::addColumn<int>("edu");
    QTest::newRow("youngest") << 10 << 16 << 16 << 10;
    QTest::newRow("nine years on") << 10 << 25 << 25 << 10;
    QTest::newRow("ten years on") << 10 << 26 << 26 << 11;
    QTest::newRow("too young") << 10 << 5 << 16 << 10;
    QTest::newRow("too old") << 10 << 150 << 111 << 19;
    QTest::newRow("education past the oldest age") << 200 << 50 << 206 << 200;
}

void TestCharacterCreation::ageAndEducation()
{
    QFETCH(int, baseEdu);
    QFETCH(int, age);
    QFETCH(int, clamped);
    QCOMPARE(clampAge(baseEdu, age), clamped);
    QTEST(educationForAge(baseEdu, clamped), "edu");
}

void TestCharacterCreation::agePoints_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("points");
    QTest::newRow("40") << 40 << 0;
    QTest::newRow("41") << 41 << 1;
    QTest::newRow("49") << 49 << 1;
    QTest::newRow("50") << 50 << 2;
    QTest::newRow("111") << 111 << 8;
}

void TestCharacterCreation::agePoints()
{
    QFETCH(int, age);
    QTEST(agePointsToLose(age), "points");
    RolledCharacteristics weak { 1, 1, 10, 1, 1, 10, 10, 10 };
    QVERIFY(tooWeakForAge(weak, 4));
    QVERIFY(!tooWeakForAge(weak, 3));
    QCOMPARE(checkAgePoint(1), AgePointCheck::NowZero);
    QCOMPARE(checkAgePoint(0), AgePointCheck::Refused);
    QCOMPARE(checkAgePoint(5), AgePointCheck::Taken);
    QCOMPARE(u(agePointMessage(AgeCharacteristic::DES, AgePointCheck::NowZero)), "Aviso: DES es ahora 0");
    QCOMPARE(
        u(agePointMessage(AgeCharacteristic::DES, AgePointCheck::Refused)), "Invalid Selection: DES is at 0");
}

void TestCharacterCreation::educationRoll_data()
{
    QTest::addColumn<bool>("studies");
    QTest::addColumn<int>("roll");
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("edu");
    QTest::addColumn<int>("schooling");
    QTest::addColumn<int>("skillPoints");
    QTest::addColumn<int>("interestPoints");
    QTest::newRow("no studies") << false << 1 << 40 << 12 << 0 << 240 << 140;
    QTest::newRow("roll passed") << true << 70 << 41 << 13 << 2 << 240 << 150;
    QTest::newRow("roll failed") << true << 71 << 41 << 12 << 1 << 240 << 140;
}

void TestCharacterCreation::educationRoll()
{
    QFETCH(bool, studies);
    QFETCH(int, roll);
    ScriptedDice dice({ roll });
    Investigator inv;
    const RolledCharacteristics values { 10, 11, 12, 13, 14, 15, 14, 12 };
    commitCharacteristics(inv, values, 40, studies, dice);
    QTEST(inv.Age, "age");
    QTEST(inv.EDU, "edu");
    QTEST(inv.ExtraSchooling, "schooling");
    QTEST(inv.SkillPoints, "skillPoints");
    QTEST(inv.InterestPoints, "interestPoints");
    QCOMPARE(inv.COR, 60);
    QCOMPARE(inv.PV, 13); // (11 + 15) / 2
    QCOMPARE(inv.Magic, 12);
}

void TestCharacterCreation::finishRemovesPlaceholders()
{
    Investigator inv = listingInvestigator();
    inv.addEntry(std::make_unique<Skill>("**", "0", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Skill>(cp1252("Antropología"), "01", kAllEraFlags), false);
    finishNewInvestigator(inv);
    for (const auto& entry : inv.entries()) {
        QVERIFY(entry->kind() != SkillKind::AnySkill);
        QVERIFY(entry->kind() == SkillKind::SubSkill || !entry->name().empty());
    }
    // Unnamed subskills stay for the sheet; the lists are sorted.
    QCOMPARE(names(inv.skills()).first(), u(cp1252("Antropología")));
    QVERIFY(names(inv.skills()).contains("Arte:"));
    QVERIFY(names(inv.skills()).contains("Ciencia:"));
}

QTEST_GUILESS_MAIN(TestCharacterCreation)
#include "test_character_creation.moc"
