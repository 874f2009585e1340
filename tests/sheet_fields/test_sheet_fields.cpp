// The investigator sheet: its field table as scripts name it, the computed fields, percentages
// under the display options, the change hooks, the portrait and how table rows are drawn.

#include "investigator/derived_values.h"
#include "platform/profile.h"
#include "sheet/field_actions.h"
#include "sheet/field_outline.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/investigator_table_binding.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"
#include "sheet_fields_support.h"

#include <QGuiApplication>
#include <QTest>
#include <algorithm>

using namespace vorpane;
using namespace vorpane::test;
using script::ScriptValue;

Q_DECLARE_METATYPE(std::string)

namespace {

std::string textOf(const ScriptValue& value) { return value.toText(); }

// Inked pixels inside a sheet rectangle of a 96 dpi rendering, bluish (user text) or not.
struct Ink {
    int black = 0;
    int blue = 0;
};

Ink inkIn(const QImage& image, const SheetRect& rect)
{
    Ink ink;
    const double scale = 96.0 / 2540.0;
    for (int y = int(-rect.y1 * scale); y < int(-rect.y2 * scale) && y < image.height(); ++y) {
        for (int x = int(rect.x1 * scale); x < int(rect.x2 * scale) && x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::min({ c.red(), c.green(), c.blue() }) > 200)
                continue; // paper
            if (c.blue() > c.red() + 30)
                ++ink.blue;
            else
                ++ink.black;
        }
    }
    return ink;
}

} // namespace

class TestSheetFields : public QObject {
    Q_OBJECT

private slots:
    void fieldTable_data();
    void fieldTable();
    void computedRead_data();
    void computedRead();
    void computedWrites();
    void percentages_data();
    void percentages();
    void scriptReadsButNeverWrites();
    void recalculatingFields_data();
    void recalculatingFields();
    void clicksGoThroughTheHooks();
    void undoLeavesNoStaleBinding();
    void nameKeepsHiddenMark();
    void portrait();
    void percentCells_data();
    void percentCells();
    void rowDrawing_data();
    void rowDrawing();
    void showBasePercentFollowsTheList();
    void abbreviations();
    void outlineLabels_data();
    void outlineLabels();
};

void TestSheetFields::fieldTable_data()
{
    QTest::addColumn<std::string>("name");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("flags");
    QTest::addColumn<std::string>("optionList");
    QTest::newRow("colleges") << std::string("collegesDegrees") << -4 << 10 << std::string("CollegesDegrees");
    QTest::newRow("edu recalculates") << std::string("edu") << -11 << 42 << std::string();
    QTest::newRow("int recalculates") << std::string("int") << -12 << 42 << std::string();
    QTest::newRow("magic") << std::string("magic") << -18 << 10 << std::string();
    QTest::newRow("possessions") << std::string("possessions") << -35 << 10 << std::string();
    QTest::newRow("last text") << std::string("playerName") << -39 << 10 << std::string();
    QTest::newRow("portrait") << std::string("portrait") << 600 << 0x82 << std::string();
    QTest::newRow("era") << std::string("era") << 507 << 2 << std::string();
    QTest::newRow("skill anchor") << std::string("skill") << 100 << 0x11 << std::string();
    QTest::newRow("skill check") << std::string("skill_check") << 101 << 0x40 << std::string();
    QTest::newRow("firearm mal") << std::string("firearm_mal") << 209 << 8 << std::string();
    QTest::newRow("weapon attacks") << std::string("weapon_attacks") << 408 << 8 << std::string();
    QTest::newRow("case ignored") << std::string("ZHALDORMYTHOS") << 501 << 10 << std::string();
}

void TestSheetFields::fieldTable()
{
    QFETCH(std::string, name);
    QFETCH(int, id);
    QFETCH(int, flags);
    QFETCH(std::string, optionList);
    TestEnvironment env;
    SheetFixture f;
    const SheetField& field = f.field(name);
    QCOMPARE(field.id().toInteger(), id);
    QCOMPARE(int(field.flags()), flags);
    QCOMPARE(field.optionListName(), optionList);
    // Every field a sheet script may name, and nothing script-writable.
    QCOMPARE(f.layout.fields().size(), size_t(39 + 40));
    for (const auto& each : f.layout.fields())
        QVERIFY(!each->hasFlag(FieldWritable));
}

void TestSheetFields::computedRead_data()
{
    QTest::addColumn<std::string>("field");
    QTest::addColumn<int>("era");
    QTest::addColumn<int>("mythos"); // -1: no such skill
    QTest::addColumn<std::string>("expected");
    QTest::newRow("maxsan without mythos") << std::string("maxsan") << 1 << -1 << std::string("99");
    QTest::newRow("mythos") << std::string("zhaldorMythos") << 1 << 12 << std::string("12");
    QTest::newRow("mythos absent") << std::string("zhaldorMythos") << 1 << -1 << std::string("0");
    QTest::newRow("era 0") << std::string("era") << 0 << -1 << std::string("1890");
    QTest::newRow("era 2") << std::string("era") << 2 << -1 << std::string("1990");
    QTest::newRow("era out of range") << std::string("era") << 7 << -1 << std::string("1920");
    QTest::newRow("luck") << std::string("luck") << 1 << -1 << std::string("65");
    QTest::newRow("starting san") << std::string("startingSan") << 1 << -1 << std::string("65");
    QTest::newRow("know") << std::string("know") << 1 << -1 << std::string("70");
    QTest::newRow("idea") << std::string("idea") << 1 << -1 << std::string("55");
    QTest::newRow("table cell unbound") << std::string("skill_name") << 1 << -1 << std::string();
}

void TestSheetFields::computedRead()
{
    QFETCH(std::string, field);
    QFETCH(int, era);
    QFETCH(int, mythos);
    QFETCH(std::string, expected);
    TestEnvironment env;
    SheetFixture f;
    f.inv().Era = era;
    f.inv().POD = 13;
    f.inv().EDU = 14;
    f.inv().INT = 11;
    f.inv().FUE = 13;
    f.inv().TAM = 12;
    if (mythos >= 0)
        addSkill(f.inv(), "*Zhaldor Mythos", "00", mythos);
    QCOMPARE(textOf(f.field(field).value(nullptr)), expected);
}

void TestSheetFields::computedWrites()
{
    TestEnvironment env;
    SheetFixture f;
    f.inv().COR = 70;
    SkillEntry& mythos = addSkill(f.inv(), "Zhaldor Mythos", "00", 5);
    f.field("maxsan").setValue(ScriptValue(int32_t(60)), nullptr);
    QCOMPARE(f.inv().COR, 60);
    QCOMPARE(mythos.current, 39);
    f.field("maxsan").setValue(ScriptValue(int32_t(80)), nullptr);
    QCOMPARE(f.inv().COR, 60); // only ever lowered
    QCOMPARE(mythos.current, 19);

    // The era takes exactly one of the three years; read-only fields ignore writes.
    f.field("era").setValue(ScriptValue("1990"), nullptr);
    f.field("era").setValue(ScriptValue("1990 "), nullptr);
    QCOMPARE(f.inv().Era, 2);
    f.field("luck").setValue(ScriptValue(int32_t(99)), nullptr);
    QCOMPARE(f.inv().POD, 0);
}

void TestSheetFields::percentages_data()
{
    QTest::addColumn<bool>("bases55");
    QTest::addColumn<bool>("trim");
    QTest::addColumn<std::string>("base");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("5.5 base 0 shows one more") << true << true << std::string("0") << 0 << 1 << 1 << 0;
    QTest::newRow("5.5 never below 0") << true << false << std::string("0") << 3 << 4 << 0 << 0;
    QTest::newRow("5.5 off") << false << true << std::string("0") << 3 << 3 << 7 << 7;
    QTest::newRow("5.5 other base") << true << true << std::string("05") << 30 << 30 << 40 << 40;
    QTest::newRow("trimmed to base") << true << true << std::string("20") << 20 << 20 << 5 << 20;
    QTest::newRow("not trimmed") << true << false << std::string("20") << 20 << 20 << 5 << 5;
    QTest::newRow("formula base trimmed") << false << true << std::string("^DES2") << 24 << 24 << 10 << 24;
}

void TestSheetFields::percentages()
{
    QFETCH(bool, bases55);
    QFETCH(bool, trim);
    QFETCH(std::string, base);
    QFETCH(int, current);
    QFETCH(int, shown);
    QFETCH(int, typed);
    QFETCH(int, stored);
    TestEnvironment env;
    SheetFixture f;
    displayOptions().bases55 = bases55;
    displayOptions().trimSkills = trim;
    f.inv().DES = 12;
    SkillEntry& entry = addSkill(f.inv(), "Esquivar", base, current);
    PlacedField& anchor = f.place("skill");
    PlacedField& percent = f.place("skill_percent");
    (void)anchor;
    f.sheet->bindTables(f.layout);
    QCOMPARE(percent.boundEntry, &entry);
    QCOMPARE(f.field("skill_percent").value(&percent).toInteger(), shown);
    f.field("skill_percent").setValue(ScriptValue(int32_t(typed)), &percent);
    QCOMPARE(entry.current, stored);
}

void TestSheetFields::scriptReadsButNeverWrites()
{
    TestEnvironment env;
    SheetFixture f;
    f.inv().Name = "Irene Salcedo";
    QVERIFY(runSheetScriptText("var n; n = field.getfieldvalue(field.name);\n"
                               "if (n == \"Irene Salcedo\") sheet.drawtext(1, 1, n, 0);\n",
        f.layout));
    QCOMPARE(f.layout.itemCount(), size_t(1));
    QVERIFY(!runSheetScriptText("field.setfieldvalue(field.name, \"X\");", f.layout));
    QVERIFY(env.ui.texts().find("Field is protected: -1") != std::string::npos);
    QCOMPARE(f.inv().Name, std::string("Irene Salcedo"));
    // The sheet parameters read as properties of sheet.
    QVERIFY(runSheetScriptText("sheet.setsheetparameter(sheet.shortsheet, sheet.showcorefirearms + "
                               "sheet.showbasepercent);",
        f.layout));
    QCOMPARE(f.layout.sheetParameter(kShortSheet, 0), kShowCoreFirearms + kShowBasePercent);
}

void TestSheetFields::recalculatingFields_data()
{
    QTest::addColumn<std::string>("field");
    QTest::addColumn<bool>("recalculates");
    QTest::newRow("edu") << std::string("edu") << true;
    QTest::newRow("int") << std::string("int") << true;
}

void TestSheetFields::recalculatingFields()
{
    QFETCH(std::string, field);
    QFETCH(bool, recalculates);
    TestEnvironment env;
    SheetFixture f;
    f.inv().EDU = 10;
    f.inv().INT = 10;
    f.inv().POD = 10;
    SkillEntry& language = addSkill(f.inv(), "Idioma propio", "^EDU5");
    computeBudgets(f.inv());
    const int budgets = f.inv().SkillPoints + f.inv().InterestPoints;
    std::vector<DocumentChange> changes;
    f.document.subscribe([&](DocumentChange change) {
        if (change == DocumentChange::Values) // the redraw sees the recalculated values
            QCOMPARE(f.inv().SkillPoints + f.inv().InterestPoints == budgets, !recalculates);
        changes.push_back(change);
    });
    PlacedField& placement = f.place(field);
    QVERIFY(storeFieldValue(f.layout, placement, ScriptValue(int32_t(16))));
    QCOMPARE(f.field(field).value(nullptr).toInteger(), 16);
    QCOMPARE(language.current == 80, recalculates && field == "edu");
    QVERIFY(f.document.isModified());
    QCOMPARE(f.document.history().undoDepth(), 1);
    QCOMPARE(changes.back(), DocumentChange::Values);
}

void TestSheetFields::clicksGoThroughTheHooks()
{
    TestEnvironment env;
    SheetFixture f;
    SkillEntry& entry = addSkill(f.inv(), "Buscar libros", "25");
    entry.checked = 2;
    f.place("skill");
    PlacedField& check = f.place("skill_check");
    TableEntry* era = f.layout.placeTableEntry(
        SheetRect { 0, 0, 100, -100 }, ScriptValue(int32_t(field_id::kEra)), ScriptValue("1990"));
    QVERIFY(era);
    f.sheet->bindTables(f.layout);

    QVERIFY(toggleCheckBox(f.layout, check));
    QCOMPARE(entry.checked, 0); // any non-zero value clears
    QVERIFY(toggleCheckBox(f.layout, check));
    QCOMPARE(entry.checked, 1);
    QVERIFY(chooseTableEntry(f.layout, *era));
    QCOMPARE(f.inv().Era, 2);
    QCOMPARE(f.document.history().undoDepth(), 3);

    // Disabled placements and read-only fields take no clicks and leave no undo step.
    check.enabled = 0;
    QVERIFY(!toggleCheckBox(f.layout, check));
    PlacedField& luck = f.place("luck");
    QVERIFY(!storeFieldValue(f.layout, luck, ScriptValue(int32_t(5))));
    QCOMPARE(f.document.history().undoDepth(), 3);

    QVERIFY(f.document.undo());
    QCOMPARE(f.inv().Era, 1);
}

void TestSheetFields::undoLeavesNoStaleBinding()
{
    TestEnvironment env;
    SheetFixture f;
    addSkill(f.inv(), "Ocultarse", "10", 40);
    f.place("skill");
    PlacedField& name = f.place("skill_name");
    f.sheet->bindTables(f.layout);
    QVERIFY(storeFieldValue(f.layout, name, ScriptValue("Ocultarse bien")));
    QVERIFY(f.document.undo());
    // The undo replaced every entry; until the next run the row reads and writes nothing.
    QCOMPARE(textOf(f.field("skill_name").value(&name)), std::string());
    f.field("skill_name").setValue(ScriptValue("X"), &name);
    f.sheet->bindTables(f.layout);
    QCOMPARE(textOf(f.field("skill_name").value(&name)), std::string("Ocultarse"));
}

void TestSheetFields::nameKeepsHiddenMark()
{
    TestEnvironment env;
    SheetFixture f;
    SkillEntry& fist = addMelee(f.inv(), "**Puñetazo", "50");
    f.place("melee");
    PlacedField& name = f.place("melee_name");
    f.sheet->bindTables(f.layout);
    QCOMPARE(textOf(f.field("melee_name").value(&name)), std::string("Puñetazo"));
    f.field("melee_name").setValue(ScriptValue("Codazo"), &name);
    QCOMPARE(fist.name(), std::string("**Codazo"));
}

void TestSheetFields::portrait()
{
    TestEnvironment env;
    SheetFixture f;
    SheetField& portrait = f.field("portrait");
    portrait.setValue(ScriptValue("retrato.png"), nullptr);
    QVERIFY(f.document.portraitImage());
    QVERIFY(env.ui.statusText.empty());
    const Image* loaded = f.document.portraitImage();
    portrait.setValue(ScriptValue("no-such-picture.png"), nullptr);
    QCOMPARE(f.inv().Portrait, std::string("no-such-picture.png"));
    QCOMPARE(f.document.portraitImage(), loaded); // the previous picture stays
    QCOMPARE(textOf(portrait.value(nullptr)), std::string("no-such-picture.png"));
}

void TestSheetFields::percentCells_data()
{
    QTest::addColumn<bool>("allPercent");
    QTest::addColumn<bool>("bases55");
    QTest::addColumn<std::string>("base");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("blank");
    QTest::newRow("at base") << false << false << std::string("20") << 20 << true;
    QTest::newRow("above base") << false << false << std::string("20") << 25 << false;
    QTest::newRow("all percent") << true << false << std::string("20") << 20 << false;
    QTest::newRow("formula") << false << false << std::string("^DES2") << 24 << false;
    QTest::newRow("F formula") << false << false << std::string("F^DES") << 12 << false;
    QTest::newRow("F number") << false << false << std::string("F20") << 20 << true;
    QTest::newRow("5.5 zero, one point") << false << true << std::string("0") << 1 << true;
    QTest::newRow("5.5 zero, two points") << false << true << std::string("0") << 2 << false;
    QTest::newRow("5.5 hidden zero") << false << true << std::string("*0") << 1 << false;
    QTest::newRow("zero without 5.5") << false << false << std::string("0") << 1 << false;
}

void TestSheetFields::percentCells()
{
    QFETCH(bool, allPercent);
    QFETCH(bool, bases55);
    QFETCH(std::string, base);
    QFETCH(int, current);
    QFETCH(bool, blank);
    TestEnvironment env;
    SheetFixture f;
    displayOptions().allPercent = allPercent;
    displayOptions().bases55 = bases55;
    f.inv().DES = 12;
    SkillEntry& entry = addSkill(f.inv(), "Saltar", base, current);
    QCOMPARE(InvestigatorSheet::percentCellBlank(entry), blank);
}

// What a one-row skill table draws for each kind: nothing, black text or user-text ink.
void TestSheetFields::rowDrawing_data()
{
    QTest::addColumn<std::string>("kind");
    QTest::addColumn<bool>("shortSheet");
    QTest::addColumn<int>("nameInk"); // 0 none, 1 black, 2 blue
    QTest::addColumn<bool>("checkBox");
    QTest::newRow("custom skill") << std::string("skill") << false << 2 << true;
    QTest::newRow("rule skill") << std::string("*skill") << false << 1 << true;
    QTest::newRow("special skill") << std::string("special") << false << 1 << false;
    QTest::newRow("subskill") << std::string("subskill") << false << 2 << true;
    QTest::newRow("subskill compact") << std::string("subskill") << true << 1 << true;
    QTest::newRow("heading") << std::string("heading") << false << 1 << false;
}

void TestSheetFields::rowDrawing()
{
    QFETCH(std::string, kind);
    QFETCH(bool, shortSheet);
    QFETCH(int, nameInk);
    QFETCH(bool, checkBox);
    TestEnvironment env;
    SheetFixture f;
    f.setParameter(kShortSheet, shortSheet ? 1 : 0);
    std::string target = "Pilotar";
    if (kind == "skill") {
        addSkill(f.inv(), "Pilotar", "01");
    } else if (kind == "*skill") {
        addSkill(f.inv(), "*Pilotar", "01");
    } else if (kind == "special" || kind == "subskill") {
        addSpecial(f.inv(), "Arte", "05", { "Pintura" });
        target = kind == "special" ? "Arte" : "Pintura";
    } else {
        addSkill(f.inv(), "Pistola", "F20"); // two rows, one core firearm: the first row is the heading
    }
    f.layout.append(
        std::make_unique<SheetFontItem>(SheetItemKind::Font, "Liberation Sans", 300, FontNormal, 0));
    std::vector<PlacedField*> checks, names;
    for (int row = 0; row < 2; ++row) {
        const int32_t top = -1000 - 1500 * row;
        f.place("skill");
        checks.push_back(&f.place("skill_check"));
        checks.back()->rect = SheetRect { 0, top, 500, top - 500 };
        names.push_back(&f.place("skill_name"));
        names.back()->rect = SheetRect { 1000, top, 9000, top - 1000 };
    }
    f.sheet->bindTables(f.layout);
    int row = 0;
    while (row < 2
        && !(kind == "heading" ? names[row]->rowState == RowState::Heading
                               : names[row]->boundEntry && names[row]->boundEntry->name().ends_with(target)))
        ++row;
    QVERIFY(row < 2);
    const QImage page = renderSheet(f.layout, 96, UserTextLook());
    const Ink ink = inkIn(page, names[row]->rect);
    QCOMPARE(ink.blue > 20 ? 2 : ink.black > 20 ? 1 : 0, nameInk);
    QCOMPARE(inkIn(page, checks[row]->rect).black > 0, checkBox);
}

void TestSheetFields::showBasePercentFollowsTheList()
{
    TestEnvironment env;
    SheetFixture f;
    addSkill(f.inv(), "Nadar", "25");
    f.setParameter(kShowBasePercent, 0);
    f.place("skill");
    f.sheet->bindTables(f.layout);
    QVERIFY(f.sheet->showBasePercent()); // reset after every run
    const QImage page = renderSheet(f.layout, 96, UserTextLook());
    QVERIFY(!page.isNull());
    QVERIFY(!f.sheet->showBasePercent()); // the parameter item switched it during the replay
    renderSheet(f.layout, 96, UserTextLook());
    QVERIFY(!f.sheet->showBasePercent()); // each replay starts again from 1
}

void TestSheetFields::abbreviations()
{
    TestEnvironment env;
    Abbreviations table;
    table.loadFromText("options.lst",
        "_BEGIN Abbreviations\r\n\"Buscar libros\" \"B. libros\"\r\n// comment\r\n"
        "\"buscar LIBROS\" \"second\"\r\n\"Mecánica\" \"Mec.\"\r\n\"Broken\" \"no close\r\n"
        "\"After\" \"never\"\r\n_END Abbreviations\r\n");
    QCOMPARE(table.size(), size_t(3));
    QCOMPARE(table.of("BUSCAR LIBROS"), std::string("B. libros"));
    QCOMPARE(table.of("Mecánica"), std::string("Mec."));
    QCOMPARE(table.of("After"), std::string("After"));
    QCOMPARE(env.ui.boxes.size(), size_t(1)); // the reader's one "Parse Error:" box
}

int runSheetFieldTests(int argc, char** argv)
{
    TestSheetFields tests;
    return QTest::qExec(&tests, argc, argv);
}

int runTableBindingTests(int argc, char** argv);

// The font library keeps a cache it never frees; leak checking is about our code.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

// The name a screen reader gives a field: the text drawn beside it on its line, the text inside a
// table entry, else the field's own name made readable.
void TestSheetFields::outlineLabels_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    const QString name = "sheet.addfield(30, 10, 80, 15, field.name);";
    QTest::newRow("the text to its left") << "sheet.drawtext(5, 11, \"Nombre\", 0);" + name << "name"
                                          << "Nombre";
    QTest::newRow("the nearer of two on the line")
        << "sheet.drawtext(5, 11, \"Investigador\", 0); sheet.drawtext(60, 11, \"Jugador\", 0);"
           "sheet.addfield(80, 10, 120, 15, field.playerName);"
        << "playerName"
        << "Jugador";
    QTest::newRow("a text to its right is not its label")
        << "sheet.drawtext(90, 11, \"Edad\", 0);" + name << "name"
        << "name";
    QTest::newRow("a text on another line is not its label")
        << "sheet.drawtext(5, 30, \"Otra\", 0);" + name << "name"
        << "name";
    QTest::newRow("a heading just above a block")
        << "sheet.drawtext(30, 5, \"Posesiones\", 0); sheet.addfield(30, 10, 80, 40, field.possessions);"
        << "possessions"
        << "Posesiones";
    QTest::newRow("a text beside a lower line of a tall field is not its label")
        << "sheet.drawtext(5, 30, \"Edad\", 0); sheet.addfield(30, 10, 80, 40, field.possessions);"
        << "possessions"
        << "possessions";
    QTest::newRow("a text inside another field is not its label")
        << "sheet.drawtextbox(30, 1, 45, 6, \"1990s\", 2); sheet.addtableentry(30, 1, 45, 6, field.era, "
           "\"1990\");"
           "sheet.addfield(30, 10, 80, 40, field.possessions);"
        << "possessions"
        << "possessions";
    QTest::newRow("a blank text is not a label") << "sheet.drawtext(5, 11, \"  \", 0);" + name << "name"
                                                 << "name";
    QTest::newRow("the text inside a table entry")
        << "sheet.drawtext(5, 11, \"EPOCA\", 0); sheet.drawtextbox(30, 10, 45, 15, \"1920s\", 2);"
           "sheet.addtableentry(30, 10, 45, 15, field.era, \"1920\");"
        << "era"
        << "1920s";
    QTest::newRow("no text: the name made readable") << "sheet.addfield(30, 10, 80, 15, field.playerName);"
                                                     << "playerName"
                                                     << "player name";
}

void TestSheetFields::outlineLabels()
{
    QFETCH(QString, script);
    QFETCH(QString, field);
    QFETCH(QString, label);
    TestEnvironment env;
    SheetFixture f;
    QVERIFY(runSheetScriptText("sheet.sheetsize(210, 297);" + script.toStdString(), f.layout));
    const FieldOutline outline(f.layout);
    const auto it
        = std::find_if(outline.fields().begin(), outline.fields().end(), [&](const OutlineField& entry) {
              return f.layout.placed()[size_t(entry.placement)]->field->name() == field.toStdString();
          });
    QVERIFY(it != outline.fields().end());
    QCOMPARE(QString::fromStdString(it->label), label);
}

int main(int argc, char** argv)
{
    qputenv("QTEST_DISABLE_STACK_DUMP", "1");
    QGuiApplication app(argc, argv);
    int failures = runSheetFieldTests(argc, argv);
    failures += runTableBindingTests(argc, argv);
    return failures;
}

#include "test_sheet_fields.moc"
