// Setting an investigator's skills up for an occupation: the rule set's skills of the era, the
// optional skills, the occupation's marks (notes naming subskills, weapons added, free choices) and
// the sort; and the optional-skills dialog's checks.
#include "investigator/occupation_setup.h"
#include "platform/program_folder.h"
#include "rules/rule_set_cache.h"
#include "test_support.h"

#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestOccupationSetup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void setUp_data();
    void setUp();
    void acceptChoice_data();
    void acceptChoice();

private:
    ScopedRecordingUi m_ui;
};

namespace {

// Entries in list order: "name" or "parent:name", with " occ" when occupational.
QStringList describe(const Investigator& inv)
{
    QStringList texts;
    for (const auto& entry : inv.entries()) {
        QString text = u(entry->name());
        if (const SpecialSkill* parent = entry->parent())
            text = u(parent->name()) + ":" + text;
        texts << text + (entry->occupational ? " occ" : "");
    }
    return texts;
}

} // namespace

void TestOccupationSetup::init()
{
    m_ui.reset();
    RuleSetCache::instance().clear();
    setProgramFolder(fixtureFolder());
}

void TestOccupationSetup::setUp_data()
{
    QTest::addColumn<QString>("occupation");
    QTest::addColumn<int>("era");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("offered"); // what the chooser was shown
    QTest::addColumn<QString>("entries"); // empty: not compared

    // clang-format off
    QTest::newRow("optional skill and two notes") << "Anticuario" << 1 << false << true << "Conducir"
        << "*Esquivar, *Puñetazo, Antropología occ, Conducir occ, Idioma occ, Idioma:Griego occ, Idioma:Latín occ, Idioma: occ, Idioma propio, Zhaldor Mythos";
    QTest::newRow("optional skills of the 1990s") << "Anticuario" << 2 << false << true << "Conducir, Electrónica" << "";
    QTest::newRow("weapon added, star ignored") << "Detective" << 1 << false << true << ""
        << "*Esquivar occ, *Puñetazo, Antropología, Conducir occ, Idioma, Idioma:, Idioma:, Idioma:, Idioma propio, Revólver .38 occ, Zhaldor Mythos";
    QTest::newRow("free choice") << "Periodista" << 1 << false << true << ""
        << " occ, *Esquivar, *Puñetazo, Antropología, Conducir, Idioma, Idioma:, Idioma:, Idioma:, Idioma propio occ, Zhaldor Mythos";
    QTest::newRow("no occupation, 1890s") << "" << 0 << false << true << ""
        << "*Esquivar, *Puñetazo, Antropología, Equitación, Idioma, Idioma:, Idioma:, Idioma:, Idioma propio, Zhaldor Mythos";
    QTest::newRow("unknown occupation") << "Nadie" << 1 << false << false << "" << "Volar";
    QTest::newRow("optional skills cancelled") << "Anticuario" << 1 << true << false << "Conducir" << "Volar";
    // clang-format on
}

void TestOccupationSetup::setUp()
{
    QFETCH(QString, occupation);
    QFETCH(int, era);
    QFETCH(bool, cancel);
    QFETCH(bool, ok);
    QFETCH(QString, offered);
    QFETCH(QString, entries);

    Investigator inv;
    inv.RuleFile = "scripts.rul";
    inv.Era = era;
    inv.EDU = 14;
    addSkill(inv, "Volar", "05", 5);
    QStringList shown;
    const OptionalSkillChooser chooser = [&](int count, const std::vector<OptionalSkill>& skills) {
        for (const OptionalSkill& skill : skills)
            shown << u(skill.name);
        return cancel ? std::nullopt : std::optional(std::vector<size_t> { 0 });
    };

    QCOMPARE(setUpOccupationSkills(inv, w(occupation), chooser), ok);
    QCOMPARE(shown.join(", "), offered);
    if (!entries.isEmpty())
        QCOMPARE(describe(inv).join(", "), entries);
    if (ok)
        QCOMPARE(inv.findSkill("Idioma propio")->baseValue, 70);
    QVERIFY(boxTexts(m_ui).isEmpty());
}

void TestOccupationSetup::acceptChoice_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("boxes");

    const QString none = "¿Seguro que no quieres elegir ninguna de las habilidades? ";
    // clang-format off
    QTest::newRow("too many") << 3 << true << false << QStringList{"Sólo puedes elegir 2 habilidades para esta profesión como máx."};
    QTest::newRow("as many as allowed") << 2 << true << true << QStringList();
    QTest::newRow("none, by mistake") << 0 << false << false << QStringList{none};
    // clang-format on
}

void TestOccupationSetup::acceptChoice()
{
    QFETCH(int, chosen);
    QFETCH(bool, answer);
    QFETCH(bool, accepted);
    QFETCH(QStringList, boxes);

    m_ui.yesNoAnswers = { answer };
    QCOMPARE(acceptOptionalChoice(2, size_t(chosen)), accepted);
    QCOMPARE(boxTexts(m_ui), boxes);
}

namespace vorpane::test {
int runOccupationSetupTests(int argc, char** argv)
{
    TestOccupationSetup tests;
    return QTest::qExec(&tests, argc, argv);
}
} // namespace vorpane::test

#include "test_occupation_setup.moc"
