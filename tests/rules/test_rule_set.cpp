#include "platform/program_folder.h"
#include "rules/rule_file_entries.h"
#include "rules/rule_set.h"
#include "rules/section_file.h"
#include "test_support.h"

#include <QFile>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestRuleSet : public QObject {
    Q_OBJECT
private slots:
    void init() { setProgramFolder(fixtureFolder()); }
    void loadsEveryRowKind();
    void occupationsKeepNotesChoicesAndSubsets();
    void statusTextsFollowTheSections();
    void lookupsIgnoreCaseAndStars_data();
    void lookupsIgnoreCaseAndStars();
    void duplicatesAreSkipped_data();
    void duplicatesAreSkipped();
    void brokenFilesFail_data();
    void brokenFilesFail();
    void everyPrefixEndsCleanly();
    void giveSkillsByEra_data();
    void giveSkillsByEra();
    void newDocumentEntries_data();
    void newDocumentEntries();
    void descriptions();
};

namespace {

// Collects given definitions by name.
class NameSink final : public DefinitionSink {
public:
    void addDefinition(std::unique_ptr<SkillDef> definition, bool occupational) override
    {
        QVERIFY(!occupational);
        names << fromCp1252(definition->name());
        kept.push_back(std::move(definition));
    }
    QStringList names;
    std::vector<std::unique_ptr<SkillDef>> kept;
};

std::string withSections(const QString& skills, const QString& occupations = {})
{
    return fileText("_BEGIN SKILLS\n" + skills
        + "\n_END SKILLS\n_BEGIN FIREARMS\n"
          "\"F20\" \"1D10\" \"15\" \"1\" \"6\" \"8\" \"00\" \"Revólver\" xxx\n_END FIREARMS\n"
          "_BEGIN MELEE\n\"50\" \"1D3\" \"1\" \"n/a\" \"*Puñetazo\" xxx\n_END MELEE\n"
          "_BEGIN OCCUPATIONS\n"
        + occupations + "\n_END OCCUPATIONS\n");
}

} // namespace

void TestRuleSet::loadsEveryRowKind()
{
    ScopedRecordingUi ui;
    RuleSet rules("good.rul");
    QVERIFY(rules.load());
    QCOMPARE(boxTexts(ui).join(" | "), QString());
    QCOMPARE(ui.waitDepth, 0);
    QCOMPARE(rules.definitions().size(), size_t(13));
    QCOMPARE(rules.skills().size(), size_t(8));
    QCOMPARE(rules.firearms().size(), size_t(2));
    QCOMPARE(rules.melee().size(), size_t(3));

    const SkillDef* language = rules.findDefinition("idioma");
    QVERIFY(language);
    QCOMPARE(language->kind(), SkillKind::SpecialSkill);
    const auto* special = static_cast<const SpecialSkill*>(language);
    QCOMPARE(special->subSkillCount(), 2);
    QVERIFY(special->ownsSubSkills());
    QCOMPARE(special->subSkill(1)->base(), std::string("01"));
    QCOMPARE(special->subSkill(1)->parent(), special);

    const auto* rifle = static_cast<const Firearm*>(rules.firearms()[1]);
    QCOMPARE(rifle->name(), std::string("Rifle .30-06"));
    QCOMPARE(rifle->base(), std::string("F25"));
    const FirearmStats& s = rifle->stats();
    QCOMPARE(QStringList({ s.dmg.c_str(), s.range.c_str(), s.shots.c_str(), s.bullets.c_str(), s.pv.c_str(),
                 s.mal.c_str() }),
        QStringList({ "2D6+4", "110", "1/2", "5", "12", "99" }));
    QCOMPARE(rifle->eras(), kEraFlag1920s | kEraFlag1990s);

    const auto* knife = static_cast<const Melee*>(rules.melee()[2]);
    QCOMPARE(knife->stats().dmg, std::string("1D4+2+db"));
    QCOMPARE(knife->stats().attacks, std::string("1"));
    QCOMPARE(knife->stats().pv, std::string("15"));
}

void TestRuleSet::occupationsKeepNotesChoicesAndSubsets()
{
    ScopedRecordingUi ui;
    RuleSet rules("good.rul");
    QVERIFY(rules.load());
    QCOMPARE(rules.occupationCount(), 3);
    const OccupationDef* antiquarian = rules.findOccupation("Anticuario");
    QVERIFY(antiquarian);
    QCOMPARE(antiquarian->skills,
        (std::vector<std::string> { cp1252("Antropología"), cp1252("Idioma$Latín"), "*" }));
    QCOMPARE(antiquarian->subsetCount, 2);
    QCOMPARE(antiquarian->subsetSkills.size(), size_t(3));
    QCOMPARE(antiquarian->modifierScript, std::string("INT = INT + 1;"));
    QCOMPARE(antiquarian->eras, kAllEraFlags);
    QVERIFY(rules.hasModifierScript("Anticuario"));

    // One leading '*' is dropped for display; lookups by display name are exact.
    QCOMPARE(rules.occupationName(1), std::string("Detective"));
    QVERIFY(rules.findOccupation("Detective"));
    QVERIFY(!rules.findOccupation("*Detective"));
    QVERIFY(!rules.findOccupation("detective"));
    QCOMPARE(rules.findOccupation("Detective")->eras, kEraFlag1920s | kEraFlag1990s);
    QVERIFY(!rules.hasModifierScript("Detective"));

    // Without an era word: every era, no script.
    const OccupationDef* journalist = rules.findOccupation("Periodista");
    QCOMPARE(journalist->eras, kAllEraFlags);
    QVERIFY(journalist->modifierScript.empty());
    QCOMPARE(rules.occupationName(3), std::string());
    QCOMPARE(rules.occupationName(-1), std::string());
}

void TestRuleSet::statusTextsFollowTheSections()
{
    ScopedRecordingUi ui;
    RuleSet rules("plain.rul");
    QVERIFY(rules.load());
    QCOMPARE(ui.statusTexts,
        (std::vector<std::string> { "Opening plain.rul...", "Loading skills from plain.rul...",
            "Loading firearms from plain.rul...", "Loading melee weapons from plain.rul...",
            "Loading occupations from plain.rul...", "" }));
}

void TestRuleSet::lookupsIgnoreCaseAndStars_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");
    QTest::newRow("exact") << "Conducir"
                           << "Conducir";
    QTest::newRow("case") << "ANTROPOLOGÍA"
                          << "Antropología";
    QTest::newRow("star in file") << "Esquivar"
                                  << "*Esquivar";
    QTest::newRow("stars asked") << "**esquivar"
                                 << "*Esquivar";
    QTest::newRow("weapon") << "revólver .38"
                            << "Revólver .38";
    QTest::newRow("missing") << "Nadar"
                             << "";
    QTest::newRow("prefix is not enough") << "Idiom"
                                          << "";
}

void TestRuleSet::lookupsIgnoreCaseAndStars()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    ScopedRecordingUi ui;
    RuleSet rules("good.rul");
    QVERIFY(rules.load());
    const SkillDef* def = rules.findDefinition(toCp1252(name));
    QCOMPARE(def ? fromCp1252(def->name()) : QString(), found);
}

void TestRuleSet::duplicatesAreSkipped_data()
{
    QTest::addColumn<QString>("skills");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("messages");
    QTest::newRow("case") << "\"05\" 0 \"Nadar\" xxx\n\"10\" 0 \"NADAR\" xxx" << QStringList { "Nadar" }
                          << "Warning: Duplicate skill \"NADAR\" in t.rul will not be added";
    QTest::newRow("leading star")
        << "\"05\" 0 \"*Nadar\" xxx\n\"10\" 0 \"nadar\" xxx\n\"01\" 0 \"Saltar\" xxx"
        << QStringList { "*Nadar", "Saltar" }
        << "Warning: Duplicate skill \"nadar\" in t.rul will not be added";
    // Skills come first, so the firearm of the same name is the duplicate.
    QTest::newRow("weapon named like a skill")
        << "\"05\" 0 \"Nadar\" xxx\n\"05\" 0 \"revólver\" --x" << QStringList { "Nadar", "revólver" }
        << "Warning: Duplicate skill \"Revólver\" in t.rul will not be added";
}

void TestRuleSet::duplicatesAreSkipped()
{
    QFETCH(QString, skills);
    QFETCH(QStringList, names);
    QFETCH(QString, messages);
    ScopedRecordingUi ui;
    RuleSet rules("t.rul");
    QVERIFY(rules.loadText(withSections(skills)));
    QStringList loaded;
    for (const SkillDef* def : rules.skills())
        loaded << fromCp1252(def->name());
    QCOMPARE(loaded, names);
    QCOMPARE(boxTexts(ui).join(" | "), messages);
    QCOMPARE(ui.boxes.front().icon, MsgIcon::Warning);
    QCOMPARE(rules.findDefinition("nadar")->eras(), kAllEraFlags); // the first one stays
}

void TestRuleSet::brokenFilesFail_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    const auto row
        = [](const char* name, const QString& skills, const QString& occupations, const QString& message) {
              QTest::newRow(name) << QByteArray::fromStdString(withSections(skills, occupations)) << message;
          };
    const QString skills = "\"05\" 0 \"Nadar\" xxx\n\"05\" 0 \"Saltar\" xxx";
    row("unknown skill", skills, "\"Buzo\" (\"Nadar\" \"Bucear\")",
        "Occupation Buzo: Skill Bucear not recognised");
    row("unknown note base", skills, "\"Buzo\" (\"Bucear$mar\")",
        "Occupation Buzo: Skill Bucear not recognised");
    row("unknown in subset", skills, "\"Buzo\" (1 {\"Nadar\" \"Bucear\"})",
        "Occupation Buzo subset: Skill Bucear not recognised");
    row("two subsets", skills, "\"Buzo\" (1 {\"Nadar\"} 1 {\"Saltar\"})",
        "Subsets already defined in occupation Buzo");
    row("digit without block", skills, "\"Buzo\" (2 \"Nadar\")",
        "Unexpected end of subset in occupation Buzo");
    row("digit glued to block", skills, "\"Buzo\" (2{\"Nadar\" \"Saltar\"})",
        "Unexpected end of subset in occupation Buzo");
    row("zero is no subset", skills, "\"Buzo\" (0 {\"Nadar\"})",
        "Unexpected character \"0\" in subset in occupation Buzo");
    row("bare word", skills, "\"Buzo\" (Nadar)", "Unexpected character \"N\" in subset in occupation Buzo");
    row("occupation without list", skills, "\"Buzo\"", "Unexpected end of section 'OCCUPATIONS'");
    row("script over two lines", skills, "\"Buzo\" (\"Nadar\") xxx {INT = 1;\nPOD = 2;}",
        "Parse Error:\n{INT = 1;\nNo closing } to match opening {");
    row("unclosed list", skills, "\"Buzo\" (\"Nadar\"\n",
        "Parse Error:\n(\"Nadar\"\nNo closing ) to match opening (");
    row("unclosed subset block", skills, "\"Buzo\" (1 {\"Nadar\")",
        "Parse Error:\n{\"Nadar\"\nNo closing } to match opening {");
    row("skill row cut short", "\"05\" 0 \"Nadar\"", "", "Unexpected end of section 'SKILLS'");
    row("negative subskill count", "\"05\" -2 \"Arte\" xxx", "", "Unexpected end of section 'SKILLS'");
    row("huge subskill count", "\"05\" 2000000000 \"Arte\" xxx", "", "Unexpected end of section 'SKILLS'");
    row("unclosed name", "\"05\" 0 \"Nadar xxx", "",
        "Parse Error:\n\"Nadar xxx\nNo closing \" to match opening \"");
    QTest::newRow("firearm cut short")
        << QByteArray("_BEGIN FIREARMS\n\"F20\" \"1D10\" \"15\"\n_END FIREARMS\n")
        << "Unexpected end of section 'FIREARMS'";
    QTest::newRow("melee cut short") << QByteArray(
        "_BEGIN MELEE\n\"50\" \"1D3\" \"1\" \"n/a\" \"Palo\"\n_END MELEE\n")
                                     << "Unexpected end of section 'MELEE'";
    QTest::newRow("skills without end") << QByteArray("_BEGIN SKILLS\n\"05\" 0 \"Nadar\" xxx\n")
                                        << "t.rul - Could not find matching _END for section _BEGIN SKILLS";
    QTest::newRow("empty file") << QByteArray("") << "t.rul - File is empty";
}

void TestRuleSet::brokenFilesFail()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    ScopedRecordingUi ui;
    RuleSet rules("t.rul");
    QVERIFY(!rules.loadText(content.toStdString()));
    QCOMPARE(boxTexts(ui).join(" | "), message);
    QCOMPARE(ui.statusTexts.back(), std::string());
    QCOMPARE(ui.waitDepth, 0);
}

// A file cut anywhere either loads without a word or fails with its message.
void TestRuleSet::everyPrefixEndsCleanly()
{
    QFile file(QString::fromStdString(fixtureFolder() + "good.rul"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::string whole = file.readAll().toStdString();
    for (size_t length = 0; length <= whole.size(); ++length) {
        ScopedRecordingUi ui;
        RuleSet rules("cut.rul");
        const bool loaded = rules.loadText(whole.substr(0, length));
        QVERIFY2(loaded == ui.boxes.empty(),
            qPrintable(QString("cut at %1: %2").arg(length).arg(boxTexts(ui).join(" | "))));
    }
}

void TestRuleSet::giveSkillsByEra_data()
{
    QTest::addColumn<int>("era");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("1890s") << 0
                           << QStringList { "Antropología", "Idioma propio", "Idioma", "*Esquivar",
                                  "Zhaldor Mythos", "Equitación", "*Puñetazo" };
    QTest::newRow("1920s") << 1
                           << QStringList { "Antropología", "Idioma propio", "Idioma", "*Esquivar",
                                  "Zhaldor Mythos", "Conducir", "*Puñetazo" };
    QTest::newRow("1990s") << 2
                           << QStringList { "Antropología", "Idioma propio", "Idioma", "*Esquivar",
                                  "Zhaldor Mythos", "Electrónica", "Conducir", "*Puñetazo", "*Patada" };
    QTest::newRow("no such era") << 3 << QStringList {};
}

void TestRuleSet::giveSkillsByEra()
{
    QFETCH(int, era);
    QFETCH(QStringList, names);
    ScopedRecordingUi ui;
    RuleSet rules("good.rul");
    QVERIFY(rules.load());
    NameSink sink;
    rules.giveSkills(era, sink);
    QCOMPARE(sink.names, names);
    // Given definitions are copies: a special skill comes with its own subskills.
    for (const auto& def : sink.kept) {
        QVERIFY(def.get() != rules.findDefinition(def->name()));
        if (def->kind() == SkillKind::SpecialSkill)
            QCOMPARE(static_cast<SpecialSkill*>(def.get())->subSkill(0)->parent(), def.get());
    }
}

void TestRuleSet::newDocumentEntries_data()
{
    QTest::addColumn<QString>("eras"); // null: no ERAS section
    QTest::addColumn<QStringList>("entries"); // "era:text"
    QTest::newRow("no section") << QString() << QStringList { "0:t (1890s)", "1:t (1920s)", "2:t (1990s)" };
    QTest::newRow("first era withheld") << "-\nVeinte\nHoy" << QStringList { "1:Veinte", "2:Hoy" };
    QTest::newRow("blank lines skipped")
        << "\n\nUno\n\n-Dos\n\nTres\nCuatro" << QStringList { "0:Uno", "2:Tres" };
    QTest::newRow("two lines") << "Uno\nDos" << QStringList { "0:Uno", "1:Dos" };
    QTest::newRow("everything withheld") << "-\n-\n-" << QStringList {};
}

void TestRuleSet::newDocumentEntries()
{
    QFETCH(QString, eras);
    QFETCH(QStringList, entries);
    ScopedRecordingUi ui;
    SectionFile file;
    const QString text
        = eras.isNull() ? "_BEGIN SKILLS\n_END SKILLS\n" : "_BEGIN ERAS\n" + eras + "\n_END ERAS\n";
    QVERIFY(file.openText("t.rul", fileText(text)));
    QStringList got;
    for (const NewDocumentEntry& entry : ruleFileEntries(file, "t.rul")) {
        QCOMPARE(entry.ruleFile, std::string("t.rul"));
        got << QString::number(entry.era) + ":" + fromCp1252(entry.text);
    }
    QCOMPARE(got, entries);
}

void TestRuleSet::descriptions()
{
    ScopedRecordingUi ui;
    const std::vector<NewDocumentEntry> entries = ruleFileEntries("good.rul");
    QCOMPARE(entries.size(), size_t(3));
    const EntryDescription good = describeEntry(entries[1]);
    QCOMPARE(fromCp1252(good.shortText), QString("Prueba: Años veinte Investigador para pruebas"));
    QCOMPARE(fromCp1252(good.longText),
        QString("Prueba: Años veinte Investigador para pruebas\r\n\r\n"
                "Reglas de prueba para los tests.\r\nSegunda línea.\r\n"));

    const std::vector<NewDocumentEntry> plain = ruleFileEntries("plain.rul");
    QCOMPARE(plain.size(), size_t(3));
    QCOMPARE(plain[0].text, std::string("plain (1890s)"));
    const EntryDescription bare = describeEntry(plain[2]);
    QCOMPARE(bare.shortText, std::string("plain (1990s) Investigator "));
    QCOMPARE(bare.longText,
        std::string("plain (1990s) Investigator \r\n\r\n"
                    "Vorpane v1.0 or v2.0 rule file\nNo further information available"));
    QCOMPARE(boxTexts(ui).join(" | "), QString());
}

int vorpane::test::runRuleSetTests(int argc, char** argv)
{
    TestRuleSet tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_rule_set.moc"
