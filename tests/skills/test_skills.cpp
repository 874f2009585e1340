#include "rules/skill_def.h"

#include <QTest>

using namespace vorpane;

class TestSkills : public QObject {
    Q_OBJECT
private slots:
    void clonesKeepKindAndTexts_data();
    void clonesKeepKindAndTexts();
    void plainDefinitionClonesEmpty();
    void specialSkillCreatesOwnSubSkills();
    void cloneReparentsSubSkills();
    void handedOverSubSkillsOutliveTheTable();
    void referenceTable();
    void indexOfSubSkill();
    void subSkillCounts_data();
    void subSkillCounts();
    void availableInEra_data();
    void availableInEra();
    void eraWords_data();
    void eraWords();
};

namespace {

std::unique_ptr<SkillDef> makeKind(const QString& kind)
{
    if (kind == "Skill")
        return std::make_unique<Skill>("Nadar", "25", 5);
    if (kind == "AnySkill")
        return std::make_unique<AnySkill>(3);
    if (kind == "Firearm")
        return std::make_unique<Firearm>(
            "Escopeta", "F30", 6, FirearmStats { "4D6", "10", "2", "2", "12", "00" });
    if (kind == "Melee")
        return std::make_unique<Melee>("*Patada", "25", 7, MeleeStats { "1D6+db", "1", "n/a" });
    return std::make_unique<SpecialSkill>("Arte", "05", 1, 2, true);
}

// Every text of a definition, for comparing copies.
QStringList describe(const SkillDef& def)
{
    QStringList texts { skillKindName(def.kind()), def.name().c_str(), def.base().c_str(),
        QString::number(def.eras()) };
    if (def.kind() == SkillKind::Firearm) {
        const FirearmStats& s = static_cast<const Firearm&>(def).stats();
        texts << s.dmg.c_str() << s.range.c_str() << s.shots.c_str() << s.bullets.c_str() << s.pv.c_str()
              << s.mal.c_str();
    } else if (def.kind() == SkillKind::Melee) {
        const MeleeStats& s = static_cast<const Melee&>(def).stats();
        texts << s.dmg.c_str() << s.attacks.c_str() << s.pv.c_str();
    } else if (def.kind() == SkillKind::SpecialSkill) {
        texts << QString::number(static_cast<const SpecialSkill&>(def).subSkillCount());
    }
    return texts;
}

} // namespace

void TestSkills::clonesKeepKindAndTexts_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : { "Skill", "AnySkill", "Firearm", "Melee", "SpecialSkill" })
        QTest::newRow(kind) << kind;
}

void TestSkills::clonesKeepKindAndTexts()
{
    QFETCH(QString, kind);
    const std::unique_ptr<SkillDef> original = makeKind(kind);
    const std::unique_ptr<SkillDef> copy = original->clone();
    QCOMPARE(describe(*copy), describe(*original));
    QCOMPARE(QString(skillKindName(copy->kind())), kind);
}

void TestSkills::plainDefinitionClonesEmpty()
{
    SkillDef plain;
    plain.setName("Algo");
    plain.setBase("10");
    plain.setEras(7);
    const std::unique_ptr<SkillDef> copy = plain.clone();
    QCOMPARE(copy->kind(), SkillKind::Empty);
    QCOMPARE(copy->name(), std::string());
    QCOMPARE(copy->base(), std::string());
    QCOMPARE(copy->eras(), 0);
}

void TestSkills::specialSkillCreatesOwnSubSkills()
{
    SpecialSkill art("Arte", "05", 3, 3, true);
    QCOMPARE(art.subSkillCount(), 3);
    QVERIFY(art.ownsSubSkills());
    for (int i = 0; i < 3; ++i) {
        const SubSkill* sub = art.subSkill(i);
        QVERIFY(sub);
        QCOMPARE(sub->kind(), SkillKind::SubSkill);
        QCOMPARE(sub->name(), std::string());
        QCOMPARE(sub->base(), std::string("05"));
        QCOMPARE(sub->eras(), 3);
        QCOMPARE(sub->parent(), &art);
    }
    QVERIFY(!art.subSkill(3));
    QVERIFY(!art.subSkill(-1));
}

void TestSkills::cloneReparentsSubSkills()
{
    auto original = std::make_unique<SpecialSkill>("Arte", "05", 7, 3, true);
    original->subSkill(1)->setName("Pintura");
    const std::unique_ptr<SkillDef> copy = original->clone();
    auto* art = static_cast<SpecialSkill*>(copy.get());
    QVERIFY(art->ownsSubSkills());
    for (int i = 0; i < 3; ++i) {
        QVERIFY(art->subSkill(i) != original->subSkill(i));
        QCOMPARE(art->subSkill(i)->parent(), art);
    }
    QCOMPARE(art->subSkill(1)->name(), std::string("Pintura"));
    // A subskill's own clone keeps its parent; cloning the parent is what re-parents.
    QCOMPARE(static_cast<SubSkill*>(original->subSkill(0)->clone().get())->parent(), original.get());
    original.reset(); // the clone owns its own subskills (ASan checks the rest)
    QCOMPARE(art->subSkill(2)->base(), std::string("05"));
}

void TestSkills::handedOverSubSkillsOutliveTheTable()
{
    auto art = std::make_unique<SpecialSkill>("Arte", "05", 7, 2, true);
    std::vector<std::unique_ptr<SubSkill>> taken = art->releaseSubSkills();
    QVERIFY(!art->ownsSubSkills());
    QCOMPARE(taken.size(), size_t(2));
    QCOMPARE(art->subSkill(0), taken[0].get()); // the table still refers to them
    QCOMPARE(art->indexOfSubSkill(taken[1].get()), 1);
    QVERIFY(art->releaseSubSkills().empty());
    art.reset();
    QCOMPARE(taken[1]->base(), std::string("05"));
}

void TestSkills::referenceTable()
{
    SpecialSkill owning("Arte", "05", 7, 2, true);
    SubSkill stray(nullptr, "01", 7);
    QVERIFY(!owning.setSubSkill(0, &stray)); // an owning table is not overwritten

    SpecialSkill art("Ciencia", "01", 7, 2, false);
    QVERIFY(!art.ownsSubSkills());
    QVERIFY(!art.subSkill(0));
    SubSkill chemistry(&art, "01", 7);
    QVERIFY(art.setSubSkill(1, &chemistry));
    QVERIFY(!art.setSubSkill(2, &chemistry));
    QCOMPARE(art.indexOfSubSkill(&chemistry), 1);
    // A clone copies the referenced subskills and owns the copies; empty slots stay empty.
    const std::unique_ptr<SkillDef> copy = art.clone();
    auto* science = static_cast<SpecialSkill*>(copy.get());
    QVERIFY(science->ownsSubSkills());
    QVERIFY(!science->subSkill(0));
    QCOMPARE(science->subSkill(1)->parent(), science);
}

void TestSkills::indexOfSubSkill()
{
    SpecialSkill art("Arte", "05", 7, 3, true);
    SpecialSkill other("Ciencia", "01", 7, 3, true);
    SpecialSkill none("Nada", "01", 7, 0, true);
    QCOMPARE(art.indexOfSubSkill(art.subSkill(2)), 2);
    QCOMPARE(art.indexOfSubSkill(other.subSkill(0)), -1);
    QCOMPARE(art.indexOfSubSkill(&art), -1);
    QCOMPARE(art.indexOfSubSkill(nullptr), -1);
    QCOMPARE(none.indexOfSubSkill(art.subSkill(0)), -1);
}

void TestSkills::subSkillCounts_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("negative") << -5 << 0;
    QTest::newRow("at the limit") << kMaxSubSkillCount << kMaxSubSkillCount;
    QTest::newRow("past the limit") << kMaxSubSkillCount + 1 << kMaxSubSkillCount;
}

void TestSkills::subSkillCounts()
{
    QFETCH(int, asked);
    QFETCH(int, count);
    SpecialSkill created("Arte", "05", 7, asked, true);
    QCOMPARE(created.subSkillCount(), count);
    QCOMPARE(static_cast<SpecialSkill*>(created.clone().get())->subSkillCount(), count);
}

void TestSkills::availableInEra_data()
{
    QTest::addColumn<int>("eras");
    QTest::addColumn<int>("era");
    QTest::addColumn<bool>("available");
    QTest::newRow("5 in era 0") << 5 << 0 << true;
    QTest::newRow("5 in era 1") << 5 << 1 << false;
    QTest::newRow("5 in era 2") << 5 << 2 << true;
    QTest::newRow("7 in era 3") << 7 << 3 << false;
    QTest::newRow("7 in era -1") << 7 << -1 << false;
    QTest::newRow("stray bits") << 8 << 3 << false;
}

void TestSkills::availableInEra()
{
    QFETCH(int, eras);
    QFETCH(int, era);
    QFETCH(bool, available);
    QCOMPARE(Skill("Nadar", "25", eras).availableInEra(era), available);
}

void TestSkills::eraWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("eras");
    QTest::addColumn<QString>("written");
    QTest::newRow("all") << "xxx" << 7 << "xxx";
    QTest::newRow("first only") << "x--" << 1 << "x--";
    QTest::newRow("none") << "---" << 0 << "---";
    QTest::newRow("short") << "xx" << 3 << "xx-";
    QTest::newRow("empty") << "" << 0 << "---";
    QTest::newRow("long") << "--x--x" << 4 << "--x";
}

void TestSkills::eraWords()
{
    QFETCH(QString, word);
    QFETCH(int, eras);
    QFETCH(QString, written);
    QCOMPARE(parseEraWord(word.toStdString()), eras);
    QCOMPARE(QString::fromStdString(eraWord(eras)), written);
}

QTEST_GUILESS_MAIN(TestSkills)
#include "test_skills.moc"
