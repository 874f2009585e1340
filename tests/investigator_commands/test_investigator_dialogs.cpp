// The skill, weapon and spell-book dialogs as a user drives them: what they offer, what OK
// refuses and keeps open, and what they leave in the investigator.

#include "desktop_fixture.h"
#include "dialogs/add_skill_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/new_weapon_dlg.h"
#include "dialogs/new_weapon_dlg_page1.h"
#include "dialogs/new_weapon_dlg_page2.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/skill_menus.h"
#include "dialogs/spell_book_dialog.h"
#include "dialogs/weapon_list_dialog.h"
#include "investigator/investigator.h"
#include "investigator/new_investigator.h"
#include "investigator/skill_editing.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "widgets/skill_info_window.h"
#include "widgets/skill_picker_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace vorpane;
using namespace vorpane::test;

namespace {

// An 1890s investigator of the shipped rules, with the hidden melee weapons every one has.
Investigator investigator1890()
{
    Investigator inv;
    createInvestigator(inv, "default.rul", kEraIndex1890s);
    return inv;
}

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

// The action of a menu (or of its submenus) with that text, mnemonics ignored.
QAction* menuAction(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (QString(action->text()).remove('&') == text)
            return action;
        if (action->menu()) {
            if (QAction* found = menuAction(action->menu(), text))
                return found;
        }
    }
    return nullptr;
}

void writeFile(const QString& path, const QString& utf8)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(toCp1252(QString(utf8).replace("\n", "\r\n"))));
}

} // namespace

class TestInvestigatorDialogs : public QObject {
    Q_OBJECT
private slots:
    void addSkillOk_data();
    void addSkillOk();
    void addSkillAdvancedPart();
    void addSkillBaseMenu();
    void editSkill();
    void skillListRows();
    void weaponLists();
    void newWeaponPages();
    void spellBooks();
    void noSpellBooks();
};

void TestInvestigatorDialogs::addSkillOk_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("special");
    QTest::addColumn<int>("answer"); // to the base-"1" question
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("shownBase"); // the base field afterwards

    QTest::newRow("a lone star") << "*"
                                 << "0" << false << 0 << false << "0";
    QTest::newRow("a skill's name") << "Derecho"
                                    << "0" << false << 0 << false << "0";
    QTest::newRow("a special skill with 0 subskills") << "Oficios"
                                                      << "05" << true << 0 << true << "05";
    QTest::newRow("base 1 set back to 0") << "Latín"
                                          << "1" << false << int(MsgResult::Yes) << true << "0";
    QTest::newRow("a formula that fails") << "Latín"
                                          << "^XYZ" << false << 0 << false << "^XYZ";
}

void TestInvestigatorDialogs::addSkillOk()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QFETCH(bool, special);
    QFETCH(int, answer);
    QFETCH(bool, accepted);
    QFETCH(QString, shownBase);
    DesktopFixture fixture;
    Investigator inv = investigator1890();
    const size_t entries = inv.entries().size();
    fixture.ui.answers = { MsgResult(answer) };

    AddSkillDialog dialog(inv);
    dialog.setExpanded(true);
    dialog.nameEdit()->setText(name);
    dialog.baseEdit()->setText(base);
    dialog.specialButton()->setChecked(special);
    dialog.subSkillCount()->setValue(0);
    dialog.accept();
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(dialog.nameEdit()->text(), name);
    QCOMPARE(dialog.baseEdit()->text(), shownBase);
    QCOMPARE(inv.entries().size(), entries + (accepted ? 1 : 0));
    if (accepted) {
        QCOMPARE(dialog.addedEntry()->kind(), special ? SkillKind::SpecialSkill : SkillKind::Skill);
        QCOMPARE(fromCp1252(dialog.addedEntry()->name()), "*" + name);
    } else {
        QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    }
}

void TestInvestigatorDialogs::addSkillAdvancedPart()
{
    DesktopFixture fixture;
    Investigator inv = investigator1890();
    {
        AddSkillDialog dialog(inv);
        QVERIFY(!dialog.isExpanded()); // the default
        QCOMPARE(dialog.expandButton()->text(), QString("&Advanced >>"));
        QVERIFY(dialog.specialButton()->isHidden());
        QTest::mouseClick(dialog.expandButton(), Qt::LeftButton);
        QCOMPARE(dialog.expandButton()->text(), QString("&Advanced <<"));
        QVERIFY(!dialog.specialButton()->isHidden());
        QCOMPARE(Profile::readInt("WindowPos", "AddSkillExpand", 0), 1);
        // The subskill count follows "&Especial".
        QVERIFY(!dialog.subSkillCount()->isEnabled());
        dialog.specialButton()->setChecked(true);
        QVERIFY(dialog.subSkillCount()->isEnabled());
        QCOMPARE(dialog.subSkillCount()->value(), 2);
        QVERIFY(dialog.listedBox()->isChecked());
    }
    AddSkillDialog reopened(inv);
    QVERIFY(reopened.isExpanded());
}

void TestInvestigatorDialogs::addSkillBaseMenu()
{
    DesktopFixture fixture;
    Investigator inv = investigator1890();
    AddSkillDialog dialog(inv);
    QMenu* menu = dialog.baseMenu();
    dialog.baseEdit()->setText("F^EDU5");
    menuAction(menu, "INT")->trigger();
    QCOMPARE(dialog.baseEdit()->text(), QString("F^INT5"));
    menuAction(menu, "Puntos de vida actuales")->trigger();
    QCOMPARE(dialog.baseEdit()->text(), QString("F^PV5"));

    // The radio item of the prefix is marked when the menu opens.
    emit menu->aboutToShow();
    QVERIFY(menuAction(menu, "Es un arma de fuego base (como Arma corta)")->isChecked());
    menuAction(menu, "Porcenaje no modificable")->trigger();
    QCOMPARE(dialog.baseEdit()->text(), QString("*^PV5"));
    menuAction(menu, "Nada")->trigger();
    QCOMPARE(dialog.baseEdit()->text(), QString("^PV5"));
    emit menu->aboutToShow();
    QVERIFY(menuAction(menu, "Nada")->isChecked());
}

void TestInvestigatorDialogs::editSkill()
{
    DesktopFixture fixture;
    Investigator inv = investigator1890();
    SkillEntry& entry = inv.addEntry(std::make_unique<Skill>("*Buscar libros", "20", kAllEraFlags), false);
    EditSkillDialog dialog(inv, entry);
    QCOMPARE(dialog.nameEdit()->text(), QString("Buscar libros"));
    QVERIFY(dialog.listedBox()->isChecked());

    dialog.nameEdit()->setText("Derecho");
    dialog.baseEdit()->setText("35");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(entry.current, 20);
    QCOMPARE(entry.base(), std::string("20"));

    dialog.nameEdit()->setText("Buscar libros");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(entry.current, 35);
    QCOMPARE(entry.name(), std::string("*Buscar libros"));
}

void TestInvestigatorDialogs::skillListRows()
{
    DesktopFixture fixture;
    Profile::writeInt("WindowPos", "SkillInfo", 1);
    Investigator inv = investigator1890();
    SkillListDialog dialog(inv);
    const QStringList rows = texts(dialog.list());
    // Special skills are listed, their subskills are not; no row keeps a leading '*'.
    QVERIFY(rows.contains("Arte"));
    QCOMPARE(rows.size(),
        int(std::count_if(inv.skills().begin(), inv.skills().end(),
            [](const SkillEntry* e) { return e->kind() != SkillKind::SubSkill; })));
    QVERIFY(rows.filter(QRegularExpression("^\\*")).isEmpty());

    dialog.list()->setCurrentRow(int(rows.indexOf("Arte")));
    QCOMPARE(dialog.infoWindow()->lines().value(0), QString("Arte"));
    const size_t entries = inv.entries().size();
    dialog.removeSkill();
    QVERIFY(dialog.changed());
    QVERIFY(!texts(dialog.list()).contains("Arte"));
    QVERIFY(inv.entries().size() < entries - 1); // the subskills went with it
    QVERIFY(!inv.findSkill("Arte"));
}

void TestInvestigatorDialogs::weaponLists()
{
    DesktopFixture fixture;
    Investigator inv = investigator1890();
    inv.addEntry(
        std::make_unique<Melee>("Cadena", "05", kEraFlag1920s | kEraFlag1990s, MeleeStats {}), false);
    inv.addEntry(std::make_unique<Melee>("Hoz", "10", kAllEraFlags, MeleeStats {}), false);
    WeaponListDialog dialog(inv);
    QListWidget* available = dialog.availableList();
    QListWidget* owned = dialog.ownedList();
    QCOMPARE(texts(owned), (QStringList { "Cadena", "Hoz" }));
    QVERIFY(texts(available).contains("Navaja"));
    QVERIFY(!texts(available).contains(QString::fromUtf8("*Puñetazo")));
    QVERIFY(!texts(available).contains("Motosierra")); // the 1990s only
    QVERIFY(!dialog.changed());

    available->setCurrentItem(available->findItems("Navaja", Qt::MatchExactly).front());
    dialog.addSelected();
    QVERIFY(!texts(available).contains("Navaja"));
    QCOMPARE(texts(owned), (QStringList { "Cadena", "Hoz", "Navaja" }));
    QVERIFY(dialog.changed());

    // Removed weapons return only when the rule file has them in the era.
    for (const char* name : { "Navaja", "Cadena", "Hoz" }) {
        owned->setCurrentItem(owned->findItems(name, Qt::MatchExactly).front());
        dialog.removeSelected();
    }
    QVERIFY(owned->count() == 0);
    QVERIFY(texts(available).contains("Navaja"));
    QVERIFY(!texts(available).contains("Cadena"));
    QVERIFY(!texts(available).contains("Hoz"));
    QVERIFY(fixture.ui.boxes.empty());
}

void TestInvestigatorDialogs::newWeaponPages()
{
    DesktopFixture fixture;
    Investigator inv = investigator1890();
    CNewWeaponDlg dialog(inv);
    CNewWeaponDlgPage1* firearm = dialog.firearmPage();
    firearm->baseEdit()->setText("10");
    menuAction(firearm->baseMenu(), "DES")->trigger();
    menuAction(firearm->baseMenu(), "FUE")->trigger();
    QCOMPARE(firearm->baseEdit()->text(), QString("^FUE^DES10"));

    whenModal<SkillPickerDialog>([](SkillPickerDialog& picker) {
        picker.list()->setCurrentItem(picker.list()->findItems("Avistar", Qt::MatchStartsWith).front());
        picker.accept();
    });
    menuAction(firearm->baseMenu(), "Fijar Base a Habilidad.....")->trigger();
    QCOMPARE(firearm->baseEdit()->text(), QString("%Avistar%"));

    // Only the page in front creates its weapon; a refused one keeps the sheet open.
    firearm->nameEdit()->setText("Trabuco");
    dialog.meleePage()->nameEdit()->setText("Derecho");
    dialog.meleePage()->baseEdit()->setText("25");
    dialog.pages()->setCurrentWidget(dialog.meleePage());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(fixture.ui.boxes.size(), size_t(1));
    dialog.meleePage()->nameEdit()->setText("Hoz");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.createdName(), QString("Hoz"));
    QVERIFY(inv.findSkill("Hoz"));
    QCOMPARE(inv.findSkill("Hoz")->kind(), SkillKind::Melee);
    QVERIFY(!inv.findSkill("Trabuco"));
}

void TestInvestigatorDialogs::spellBooks()
{
    DesktopFixture fixture;
    writeFile(fixture.path("a.vsb"),
        "_BEGIN TITLE\nLibro de las mareas\n_END TITLE\n_BEGIN SPELLS\n"
        "\"Suelto\"\n*Protección*\n\"Círculo de sal\"\n_END SPELLS\n");
    writeFile(fixture.path("b.vsb"), "_BEGIN SPELLS\n*Caminos*\n\"Brújula\"\n_END SPELLS\n");
    setProgramFolder(fixture.path("").toStdString());
    SpellBookDialog dialog(cp1252("Velo, Círculo de sal,, Suelto"));
    setProgramFolder({});
    QVERIFY(fixture.ui.boxes.empty());

    QTreeWidget* tree = dialog.tree();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* book = tree->topLevelItem(0);
    QCOMPARE(book->text(0), QString("Libro de las mareas"));
    QVERIFY(book->isExpanded());
    QCOMPARE(book->child(0)->text(0), QString("Suelto")); // before any heading: under the book
    QTreeWidgetItem* heading = book->child(1);
    QCOMPARE(heading->text(0), QString("Protección"));
    QVERIFY(!heading->isExpanded());
    QCOMPARE(tree->topLevelItem(1)->text(0), QString("b")); // no TITLE: the file name
    QCOMPARE(texts(dialog.chosenList()), (QStringList { "Velo", "Círculo de sal", "Suelto" }));

    // A heading adds nothing; a spell added twice is listed and stored twice.
    tree->setCurrentItem(heading);
    dialog.addSelected();
    tree->setCurrentItem(heading->child(0));
    dialog.addSelected();
    dialog.addSelected();
    dialog.chosenList()->setCurrentRow(0);
    dialog.removeSelected();
    QCOMPARE(
        fromCp1252(dialog.spellsText()), QString("Círculo de sal, Suelto, Círculo de sal, Círculo de sal"));
}

void TestInvestigatorDialogs::noSpellBooks()
{
    DesktopFixture fixture;
    setProgramFolder(fixture.path("").toStdString());
    SpellBookDialog dialog("Velo");
    setProgramFolder({});
    QCOMPARE(fixture.ui.texts(), std::string("Could not find any spell books in the Vorpane folder (*.vsb)"));
    QCOMPARE(dialog.tree()->topLevelItemCount(), 0);
    QCOMPARE(dialog.spellsText(), std::string("Velo"));
}

QTEST_MAIN(TestInvestigatorDialogs)
#include "test_investigator_dialogs.moc"
