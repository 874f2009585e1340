// The rules of the skill and weapon dialogs: the ">" menus on base formulas, the checks on OK,
// adding and renaming skills, custom weapons and the rule file's weapon lists.
#include "investigator/skill_editing.h"
#include "investigator_fixtures.h"
#include "platform/cp1252.h"
#include "rules/rule_set.h"

#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestSkillEditing : public QObject {
    Q_OBJECT
private slots:
    void baseMenus_data();
    void baseMenus();
    void checksOnOk_data();
    void checksOnOk();
    void addedSkills_data();
    void addedSkills();
    void failedFormulaAddsNothing();
    void editedSkill_data();
    void editedSkill();
    void weaponLists_data();
    void weaponLists();
    void customWeapon();
};

namespace {

Investigator investigator()
{
    Investigator inv;
    inv.Era = kEraIndex1920s;
    inv.APA = 12, inv.DES = 14, inv.EDU = 17, inv.INT = 15, inv.POD = 13, inv.FUE = 9;
    inv.addEntry(std::make_unique<Skill>("*Esquivar", "^DES2", kAllEraFlags), false);
    inv.addEntry(std::make_unique<Skill>("Buscar Libros", "25", kAllEraFlags), false).current = 20;
    addSpecial(inv, "Arte", { "Pintura", "" });
    inv.addEntry(std::make_unique<Firearm>("Pistola", "20", kAllEraFlags, FirearmStats {}), false);
    inv.addEntry(std::make_unique<Firearm>("Arcabuz", "10", kAllEraFlags, FirearmStats {}), false);
    inv.addEntry(std::make_unique<Firearm>("Escopeta", "30", kEraFlag1890s, FirearmStats {}), false);
    inv.addEntry(std::make_unique<Melee>("*Puñetazo", "50", kAllEraFlags, MeleeStats {}), false);
    return inv;
}

QStringList names(const std::vector<std::string>& list)
{
    QStringList out;
    for (const std::string& name : list)
        out << fromCp1252(name);
    return out;
}

const SkillEntry* entryNamed(const Investigator& inv, const char* name)
{
    return findNamedEntry(inv, name, nullptr, true);
}

} // namespace

void TestSkillEditing::baseMenus_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");

    QTest::newRow("multiplier keeps a firearm prefix and the number") << "replace"
                                                                      << "F^EDU5"
                                                                      << "INT"
                                                                      << "F^INT5";
    QTest::newRow("multiplier replaces the old name") << "replace"
                                                      << "^EDU5"
                                                      << "APA"
                                                      << "^APA5";
    QTest::newRow("multiplier in front of a plain number") << "replace"
                                                           << "05"
                                                           << "APA"
                                                           << "^APA05";
    QTest::newRow("multiplier on an empty base") << "replace"
                                                 << ""
                                                 << "COR"
                                                 << "^COR";
    QTest::newRow("weapon multiplier prepends") << "prepend"
                                                << "10"
                                                << "DES"
                                                << "^DES10";
    QTest::newRow("weapon multiplier twice") << "prepend"
                                             << "^DES10"
                                             << "FUE"
                                             << "^FUE^DES10";
    QTest::newRow("Nada removes a prefix") << "prefix"
                                           << "F^EDU5"
                                           << "none"
                                           << "^EDU5";
    QTest::newRow("fixed replaces a firearm prefix") << "prefix"
                                                     << "f10"
                                                     << "fixed"
                                                     << "*10";
    QTest::newRow("firearm replaces a fixed prefix") << "prefix"
                                                     << "*20"
                                                     << "firearm"
                                                     << "F20";
}

void TestSkillEditing::baseMenus()
{
    QFETCH(QString, operation);
    QFETCH(QString, base);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    const std::string text = base.toStdString();
    std::string result;
    if (operation == "replace") {
        result = replaceMultiplier(text, argument.toStdString());
    } else if (operation == "prepend") {
        result = prependMultiplier(text, argument.toStdString());
    } else {
        const BasePrefix prefix = argument == "fixed" ? BasePrefix::Fixed
            : argument == "firearm"                   ? BasePrefix::Firearm
                                                      : BasePrefix::None;
        result = withBasePrefix(text, prefix);
        QCOMPARE(basePrefix(result), prefix);
    }
    QCOMPARE(QString::fromStdString(result), expected);
}

void TestSkillEditing::checksOnOk_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("weapon"); // weapons may not share a subskill's name
    QTest::addColumn<int>("answer"); // to the base-"1" question: 0 Yes, 1 No, 2 Cancel
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("finalBase");
    QTest::addColumn<QString>("message");

    const QString duplicate
        = "Este investigador ya tiene una hab. llamada  %1\nElige un nombre distinto      ";
    QTest::newRow("empty name") << ""
                                << "0" << false << 0 << false << "0"
                                << "This is not a valid skill name";
    QTest::newRow("a lone star") << "*"
                                 << "0" << false << 0 << false << "0"
                                 << "This is not a valid skill name";
    QTest::newRow("stars and blanks") << "** "
                                      << "0" << true << 0 << false << "0"
                                      << "This is not a valid skill name";
    QTest::newRow("another skill's name, case and star ignored")
        << "esquivar"
        << "0" << false << 0 << false << "0" << duplicate.arg("esquivar");
    QTest::newRow("a subskill's name is free for a skill") << "Pintura"
                                                           << "0" << false << 0 << true << "0"
                                                           << "";
    QTest::newRow("but not for a weapon") << "Pintura"
                                          << "0" << true << 0 << false << "0" << duplicate.arg("Pintura");
    QTest::newRow("base 1, Yes: back to 0") << "Nadar"
                                            << "1" << false << 0 << true << "0"
                                            << "Note:";
    QTest::newRow("base 1, No: kept") << "Nadar"
                                      << "1" << false << 1 << true << "1"
                                      << "Note:";
    QTest::newRow("base 1, Cancel: stays") << "Nadar"
                                           << "1" << false << 2 << false << "1"
                                           << "Note:";
}

void TestSkillEditing::checksOnOk()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QFETCH(bool, weapon);
    QFETCH(int, answer);
    QFETCH(bool, accepted);
    QFETCH(QString, finalBase);
    QFETCH(QString, message);
    ScopedRecordingUi ui;
    ui.answers = { std::array { MsgResult::Yes, MsgResult::No, MsgResult::Cancel }[answer] };
    const Investigator inv = investigator();
    std::string text = base.toStdString();
    const bool ok = checkNameAndBase(inv, toCp1252(name), text, nullptr, weapon);
    QCOMPARE(ok, accepted);
    QCOMPARE(QString::fromStdString(text), finalBase);
    QCOMPARE(int(ui.boxes.size()), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QVERIFY(fromCp1252(ui.boxes[0].text).startsWith(message));
        const bool question = message == "Note:";
        QCOMPARE(ui.boxes[0].icon, question ? MsgIcon::None : MsgIcon::Warning);
        QCOMPARE(ui.boxes[0].buttons, question ? MsgButtons::YesNoCancel : MsgButtons::Ok);
    }
}

void TestSkillEditing::addedSkills_data()
{
    QTest::addColumn<bool>("special");
    QTest::addColumn<int>("subSkills");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<int>("value");

    QTest::newRow("listed normal skill") << false << 0 << true << "^EDU5"
                                         << "*Latín" << 85;
    QTest::newRow("special skill with 0 subskills") << true << 0 << true << "05"
                                                    << "*Latín" << 5;
    QTest::newRow("special skill with 3 subskills") << true << 3 << false << "05"
                                                    << "Latín" << 5;
    QTest::newRow("subskill count held to 5") << true << 9 << false << "05"
                                              << "Latín" << 5;
}

void TestSkillEditing::addedSkills()
{
    QFETCH(bool, special);
    QFETCH(int, subSkills);
    QFETCH(bool, listed);
    QFETCH(QString, base);
    QFETCH(QString, storedName);
    QFETCH(int, value);
    ScopedRecordingUi ui;
    Investigator inv = investigator();
    const size_t before = inv.entries().size();
    const SkillEntry* added
        = addCustomSkill(inv, { cp1252("Latín"), base.toStdString(), special, subSkills, listed });
    QVERIFY(added);
    QVERIFY(ui.boxes.empty());
    QCOMPARE(fromCp1252(added->name()), storedName);
    QCOMPARE(added->kind(), special ? SkillKind::SpecialSkill : SkillKind::Skill);
    QCOMPARE(added->definition->eras(), kAllEraFlags);
    QCOMPARE(added->occupational, 0);
    QCOMPARE(added->current, value);
    QCOMPARE(added->baseValue, value);
    const int subs = special ? std::min(subSkills, kMaxNewSubSkills) : 0;
    QCOMPARE(inv.entries().size(), before + 1 + size_t(subs));
    // The skill list stays sorted by name; a leading '*' sorts first.
    QStringList order;
    for (const SkillEntry* entry : inv.skills()) {
        if (entry->kind() != SkillKind::SubSkill)
            order << fromCp1252(entry->name());
    }
    QStringList expected { "*Esquivar", "Arte", "Buscar Libros" };
    expected.insert(listed ? 1 : 3, storedName);
    QCOMPARE(order, expected);
    for (const SkillEntry* entry : inv.skills()) {
        if (entry->parent() == added->definition.get())
            QCOMPARE(entry->baseValue, value);
    }
}

void TestSkillEditing::failedFormulaAddsNothing()
{
    ScopedRecordingUi ui;
    Investigator inv = investigator();
    const size_t before = inv.entries().size();
    QVERIFY(!addCustomSkill(inv, { "Latín", "^XYZ5", false, 0, true }));
    QCOMPARE(ui.texts(), std::string("Unknown character statistic: XYZ"));
    QVERIFY(!addCustomWeapon(inv, std::make_unique<Melee>("Bastón", "%Nadar%", 0, MeleeStats {})));
    QCOMPARE(inv.entries().size(), before);
}

void TestSkillEditing::editedSkill_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("storedName");
    QTest::addColumn<int>("current");

    QTest::newRow("own name, base raised from 20 to 35") << "Buscar Libros"
                                                         << "35" << false << true << "Buscar Libros" << 35;
    QTest::newRow("own name in other case, listed") << "buscar libros"
                                                    << "10" << true << true << "*buscar libros" << 20;
    QTest::newRow("another skill's name") << "Esquivar"
                                          << "10" << false << false << "Buscar Libros" << 20;
    QTest::newRow("a formula that fails") << "Libros"
                                          << "^XYZ" << false << false << "Buscar Libros" << 20;
}

void TestSkillEditing::editedSkill()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QFETCH(bool, listed);
    QFETCH(bool, accepted);
    QFETCH(QString, storedName);
    QFETCH(int, current);
    ScopedRecordingUi ui;
    Investigator inv = investigator();
    SkillEntry& entry = *const_cast<SkillEntry*>(entryNamed(inv, "Buscar Libros"));
    std::string text = base.toStdString();
    const bool ok = checkNameAndBase(inv, name.toStdString(), text, &entry, false)
        && editSkill(inv, entry, name.toStdString(), text, listed);
    QCOMPARE(ok, accepted);
    QCOMPARE(fromCp1252(entry.name()), storedName);
    QCOMPARE(QString::fromStdString(entry.base()), accepted ? base : QString("25"));
    QCOMPARE(entry.current, current);
    QCOMPARE(ui.boxes.empty(), accepted);
}

void TestSkillEditing::weaponLists_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<bool>("removes");
    QTest::addColumn<QStringList>("available");
    QTest::addColumn<QStringList>("owned");

    // Rule file: melee Cuchillo, *Patada; firearms Pistola, Rifle (1920s only), Escopeta (1890s).
    const QStringList available { "Cuchillo", "Rifle" };
    QTest::newRow("owned and hidden weapons are not offered")
        << "" << false << available << QStringList { "Arcabuz", "Escopeta", "Pistola" };
    QTest::newRow("a rule-file weapon of the era returns")
        << "Pistola" << true << QStringList { "Cuchillo", "Pistola", "Rifle" }
        << QStringList { "Arcabuz", "Escopeta" };
    QTest::newRow("a weapon of another era does not")
        << "escopeta" << true << available << QStringList { "Arcabuz", "Pistola" };
    QTest::newRow("nor a weapon the rule file lacks")
        << "Arcabuz" << true << available << QStringList { "Escopeta", "Pistola" };
    QTest::newRow("a skill is no weapon")
        << "Esquivar" << false << available << QStringList { "Arcabuz", "Escopeta", "Pistola" };
}

void TestSkillEditing::weaponLists()
{
    QFETCH(QString, removed);
    QFETCH(bool, removes);
    QFETCH(QStringList, available);
    QFETCH(QStringList, owned);
    ScopedRecordingUi ui;
    RuleSet rules("armas.rul");
    QVERIFY(rules.loadText(cp1252("_BEGIN FIREARMS\n"
                                  "\"20\" \"1D10\" \"15\" \"1\" \"6\" \"8\" \"00\" \"Pistola\" xxx\n"
                                  "\"25\" \"2D6\" \"50\" \"1\" \"5\" \"8\" \"00\" \"Rifle\" -x-\n"
                                  "\"30\" \"4D6\" \"10\" \"2\" \"2\" \"8\" \"00\" \"Escopeta\" x--\n"
                                  "_END FIREARMS\n_BEGIN MELEE\n"
                                  "\"25\" \"1D4\" \"1\" \"15\" \"Cuchillo\" xxx\n"
                                  "\"25\" \"1D6\" \"1\" \"n/a\" \"*Patada\" xxx\n_END MELEE\n")));
    Investigator inv = investigator();
    inv.sort();
    if (!removed.isEmpty())
        QCOMPARE(removeWeapon(inv, removed.toStdString()), removes);
    inv.sort();
    const WeaponLists lists = vorpane::weaponLists(inv, &rules);
    QCOMPARE(names(lists.available), available);
    QCOMPARE(names(lists.owned), owned);

    // Buying one: a copy of the rule set's definition, gone from the available list.
    const SkillEntry* bought = addRuleWeapon(inv, rules, "Cuchillo");
    QVERIFY(bought);
    QCOMPARE(bought->kind(), SkillKind::Melee);
    QCOMPARE(bought->current, 25);
    QCOMPARE(bought->baseValue, 25);
    QVERIFY(bought->definition.get() != rules.melee().front());
    QVERIFY(!names(vorpane::weaponLists(inv, &rules).available).contains("Cuchillo"));
    QVERIFY(!addRuleWeapon(inv, rules, "Nadar"));
    QVERIFY(ui.boxes.empty());
}

void TestSkillEditing::customWeapon()
{
    ScopedRecordingUi ui;
    Investigator inv = investigator();
    auto weapon = std::make_unique<Firearm>(0);
    weapon->setName("Ballesta");
    weapon->setBase("^DES2");
    weapon->stats().dmg = "1D8";
    const SkillEntry* added = addCustomWeapon(inv, std::move(weapon));
    QVERIFY(added);
    QCOMPARE(added->definition->eras(), kAllEraFlags);
    QCOMPARE(added->current, 28);
    QCOMPARE(added->baseValue, 28);
    QCOMPARE(inv.firearms()[1], added); // sorted: Arcabuz, Ballesta, ...
    QVERIFY(!addCustomWeapon(inv, std::make_unique<Skill>("Nadar", "25", kAllEraFlags)));
}

QTEST_GUILESS_MAIN(TestSkillEditing)
#include "test_skill_editing.moc"
