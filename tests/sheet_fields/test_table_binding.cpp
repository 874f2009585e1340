// Table binding: which entry each row of the skill, firearm, melee and weapon tables shows after a
// run, with the core-firearm heading, compact sheets and subskill suggestion lists.

#include "sheet/investigator_table_binding.h"
#include "sheet_fields_support.h"

#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

Q_DECLARE_METATYPE(std::string)

namespace {

// One skill-table row: anchor, check, name and percent placements.
struct SkillRow {
    PlacedField* check;
    PlacedField* name;
    PlacedField* percent;
};

std::vector<SkillRow> placeSkillRows(SheetFixture& f, int count)
{
    std::vector<SkillRow> rows;
    for (int i = 0; i < count; ++i) {
        f.place(field_id::kSkill, i);
        rows.push_back({ &f.place(field_id::kSkillCheck, i), &f.place(field_id::kSkillName, i),
            &f.place(field_id::kSkillPercent, i) });
    }
    return rows;
}

// A compact text of what each row shows: the bound name, "#" for the heading, "-" for an empty row.
std::string describeRows(const std::vector<SkillRow>& rows)
{
    std::string out;
    for (const SkillRow& row : rows) {
        if (!out.empty())
            out += ",";
        if (row.name->rowState == RowState::Heading)
            out += "#";
        else if (row.name->boundEntry)
            out += row.name->boundEntry->name();
        else
            out += "-";
    }
    return out;
}

} // namespace

class TestTableBinding : public QObject {
    Q_OBJECT

private slots:
    void skillRows_data();
    void skillRows();
    void headingRowIsInert();
    void specialSkillRows();
    void firearmAndMeleeRows();
    void weaponRows_data();
    void weaponRows();
};

void TestTableBinding::skillRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("ordinary");
    QTest::addColumn<std::string>("firearms"); // bases of the core firearm skills, in list order
    QTest::addColumn<int>("showCore");
    QTest::addColumn<bool>("firearmFirst");
    QTest::addColumn<std::string>("expected");
    QTest::newRow("heading after the ordinary rows that fit")
        << 6 << 5 << std::string("ab") << 1 << false << std::string("s1,s2,s3,#,fa,fb");
    QTest::newRow("empty rows before the heading")
        << 6 << 1 << std::string("ab") << 1 << false << std::string("s1,-,-,#,fa,fb");
    QTest::newRow("firearm first in the list")
        << 4 << 2 << std::string("a") << 1 << true << std::string("s1,s2,#,fa");
    QTest::newRow("no core firearms") << 3 << 5 << std::string() << 1 << false << std::string("s1,s2,s3");
    QTest::newRow("core firearms switched off")
        << 4 << 2 << std::string("ab") << 0 << false << std::string("s1,s2,-,-");
    QTest::newRow("more rows than skills")
        << 7 << 1 << std::string("a") << 1 << false << std::string("s1,-,-,-,-,#,fa");
    QTest::newRow("too few rows for the firearms")
        << 2 << 3 << std::string("abc") << 1 << false << std::string("#,fa");
}

void TestTableBinding::skillRows()
{
    QFETCH(int, rows);
    QFETCH(int, ordinary);
    QFETCH(std::string, firearms);
    QFETCH(int, showCore);
    QFETCH(bool, firearmFirst);
    QFETCH(std::string, expected);
    TestEnvironment env;
    SheetFixture f;
    auto addFirearms = [&] {
        for (char c : firearms)
            addSkill(f.inv(), std::string("f") + c, "F20");
    };
    if (firearmFirst)
        addFirearms();
    for (int i = 1; i <= ordinary; ++i)
        addSkill(f.inv(), "s" + std::to_string(i), "10");
    if (!firearmFirst)
        addFirearms();
    f.setParameter(kShowCoreFirearms, showCore);
    f.setParameter(kShowCoreFirearms, 1); // the first item with the key counts
    const auto placed = placeSkillRows(f, rows);
    f.sheet->bindTables(f.layout);
    QCOMPARE(describeRows(placed), expected);
}

void TestTableBinding::headingRowIsInert()
{
    TestEnvironment env;
    SheetFixture f;
    addSkill(f.inv(), "Pistola", "F20");
    addSkill(f.inv(), "Fusil", "F25");
    addSkill(f.inv(), "Nadar", "25");
    const auto rows = placeSkillRows(f, 20);
    f.sheet->bindTables(f.layout);
    // 20 rows, 2 core firearms: the heading is row 18, the firearms rows 19 and 20.
    const SkillRow& heading = rows[17];
    QCOMPARE(heading.name->rowState, RowState::Heading);
    QCOMPARE(heading.check->rowState, RowState::Empty);
    QCOMPARE(heading.percent->rowState, RowState::Empty);
    QVERIFY(!heading.name->enabled && !heading.check->enabled && !heading.percent->enabled);
    QCOMPARE(rows[18].name->boundEntry->name(), std::string("Pistola"));
    QCOMPARE(rows[19].percent->boundEntry->name(), std::string("Fusil"));
    QVERIFY(rows[19].check->enabled);
    // Rows without a skill stay in the normal state but take no input.
    QCOMPARE(rows[5].name->rowState, RowState::Normal);
    QVERIFY(!rows[5].name->enabled && !rows[5].name->boundEntry);
}

void TestTableBinding::specialSkillRows()
{
    TestEnvironment env;
    SheetFixture f;
    addSpecial(f.inv(), "**Arte  y oficio", "05", { "Pintura", "" });
    addSkill(f.inv(), "*Lengua propia", "*^EDU5");
    const auto rows = placeSkillRows(f, 4);
    f.sheet->bindTables(f.layout);
    QCOMPARE(describeRows(rows), std::string("**Arte  y oficio,Pintura,,*Lengua propia"));
    // A subskill offers the list named after its parent, stars dropped and blanks as '_'.
    QCOMPARE(rows[1].name->optionListName, std::string("Arte__y_oficio"));
    QCOMPARE(rows[0].name->optionListName, std::string());
    // The special skill's row has a name but neither check box nor percentage.
    QCOMPARE(rows[0].check->rowState, RowState::Empty);
    QCOMPARE(rows[0].percent->rowState, RowState::Empty);
    QVERIFY(!rows[0].percent->enabled);
    QCOMPARE(rows[0].percent->boundEntry, rows[0].name->boundEntry);
    // A hidden skill ('*' Base) shows no check box.
    QCOMPARE(rows[3].check->rowState, RowState::Empty);
    QCOMPARE(rows[3].percent->rowState, RowState::Normal);

    // A compact sheet leaves out special skill headers and unnamed subskills.
    f.setParameter(kShortSheet, 1);
    f.sheet->bindTables(f.layout);
    QCOMPARE(describeRows(rows), std::string("Pintura,*Lengua propia,-,-"));
    QCOMPARE(rows[0].name->optionListName, std::string("Arte__y_oficio"));
    QCOMPARE(rows[1].name->optionListName, std::string()); // not left over from the last binding
}

void TestTableBinding::firearmAndMeleeRows()
{
    TestEnvironment env;
    SheetFixture f;
    addFirearm(f.inv(), "Revólver", "20");
    addMelee(f.inv(), "*Puñetazo", "50");
    addMelee(f.inv(), "Cuchillo", "25");
    PlacedField* firearmCells[2];
    PlacedField *meleeNames[3], *meleeDamage[3];
    for (int i = 0; i < 2; ++i) {
        f.place(field_id::kFirearm);
        firearmCells[i] = &f.place(field_id::kFirearmMal);
    }
    for (int i = 0; i < 3; ++i) {
        f.place(field_id::kMelee);
        meleeNames[i] = &f.place(field_id::kMeleeName);
        meleeDamage[i] = &f.place(field_id::kMeleeDamage);
    }
    f.sheet->bindTables(f.layout);
    QCOMPARE(firearmCells[0]->boundEntry->name(), std::string("Revólver"));
    QVERIFY(!firearmCells[1]->boundEntry && !firearmCells[1]->enabled);
    // A '*' melee weapon is shown, its name fixed.
    QCOMPARE(meleeNames[0]->boundEntry->name(), std::string("*Puñetazo"));
    QVERIFY(!meleeNames[0]->enabled && meleeDamage[0]->enabled);
    QVERIFY(meleeNames[1]->enabled);
    QVERIFY(!meleeNames[2]->boundEntry && !meleeNames[2]->enabled);
    QCOMPARE(f.field("melee_damage").value(meleeDamage[1]).toText(), std::string("1D3"));

    f.setParameter(kShortSheet, 1);
    f.sheet->bindTables(f.layout);
    QCOMPARE(meleeNames[0]->boundEntry->name(), std::string("Cuchillo"));
    QVERIFY(meleeNames[0]->enabled);
    QVERIFY(!meleeNames[1]->boundEntry);
}

void TestTableBinding::weaponRows_data()
{
    QTest::addColumn<std::string>("cell");
    QTest::addColumn<std::string>("firearm");
    QTest::addColumn<std::string>("melee");
    QTest::newRow("damage") << std::string("weapon_damage") << std::string("1D10") << std::string("1D3");
    QTest::newRow("bullets") << std::string("weapon_bullets") << std::string("6") << std::string();
    QTest::newRow("attacks") << std::string("weapon_attacks") << std::string("1") << std::string("1");
    QTest::newRow("mal") << std::string("weapon_mal") << std::string("00") << std::string();
    QTest::newRow("name") << std::string("weapon_name") << std::string("Revólver") << std::string("Bastón");
}

void TestTableBinding::weaponRows()
{
    QFETCH(std::string, cell);
    QFETCH(std::string, firearm);
    QFETCH(std::string, melee);
    TestEnvironment env;
    SheetFixture f;
    addMelee(f.inv(), "*Bastón", "25");
    addSkill(f.inv(), "Nadar", "25");
    SkillEntry& gun = addFirearm(f.inv(), "Revólver", "20");
    PlacedField* cells[3];
    for (int i = 0; i < 3; ++i) {
        f.place("weapon");
        cells[i] = &f.place(cell);
    }
    f.sheet->bindTables(f.layout);
    SheetField& field = f.field(cell);
    QCOMPARE(field.value(cells[0]).toText(), melee);
    QCOMPARE(field.value(cells[1]).toText(), firearm);
    QVERIFY(!cells[2]->enabled);
    // Writes reach the statistic the cell shows; a melee weapon has no bullets, range or MAL.
    field.setValue(script::ScriptValue("X"), cells[0]);
    field.setValue(script::ScriptValue("Y"), cells[1]);
    QCOMPARE(field.value(cells[0]).toText(), melee.empty() ? std::string() : std::string("X"));
    QCOMPARE(field.value(cells[1]).toText(), std::string("Y"));
    if (cell == "weapon_attacks")
        QCOMPARE(static_cast<Firearm&>(*gun.definition).stats().shots, std::string("Y"));

    // A compact sheet leaves '*' melee weapons out of the mixed table.
    f.setParameter(kShortSheet, 1);
    f.sheet->bindTables(f.layout);
    QCOMPARE(cells[0]->boundEntry, &gun);
}

int runTableBindingTests(int argc, char** argv)
{
    TestTableBinding tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_table_binding.moc"
