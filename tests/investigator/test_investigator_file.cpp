#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_file.h"
#include "investigator/legacy_file.h"
#include "investigator_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace vorpane;
using namespace vorpane::test;

class TestInvestigatorFile : public QObject {
    Q_OBJECT
private slots:
    void writesExactLayout();
    void roundTripIsByteExact_data();
    void roundTripIsByteExact();
    void reader_data();
    void reader();
    void keysInAnyCase();
    void ruleFileKeepsNameOnly_data();
    void ruleFileKeepsNameOnly();
    void subSkillCounts_data();
    void subSkillCounts();
    void budgetsOnLoad_data();
    void budgetsOnLoad();
    void baseValuesAfterLoad();
    void everyPrefixIsSafe();
    void fileErrors();
    void saveReplacesWholeFileOrReports();
    void legacyLayout();
    void legacyVersion2KeepsAndLoses();
    void legacyVersion1RecomputesSanity();
    void legacySubSkills();
    void legacyRoundTripIsStable();
    void legacyBadCounts_data();
    void legacyBadCounts();
    void legacyPrefixesFail();
    void legacyExport();

private:
    QTemporaryDir m_dir;
};

namespace {

// Lines joined with CR LF, each ended by one.
std::string crlf(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

// A test text with LF line ends as a file's CR LF text.
std::string fileText(const QString& text)
{
    QString copy = text;
    return copy.replace("\n", "\r\n").toStdString();
}

struct Loaded {
    bool ok = false;
    Investigator inv;
    std::string script;
};

Loaded readText(std::string_view bytes)
{
    Loaded loaded;
    loaded.ok = InvestigatorFile::read(bytes, loaded.inv, loaded.script);
    return loaded;
}

// Little-endian int32 as the legacy files hold it.
std::string le(int value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += char((uint32_t(value) >> (8 * i)) & 0xFF);
    return bytes;
}

// A version 1 file up to the entry count, with the given count.
std::string legacyHead(int count)
{
    std::string bytes = "INV10\nN\nO\nB\nC\nM\nS\n" + le(30) + le(1) + "P\n";
    for (int c : { 10, 11, 12, 13, 14, 15, 16, 17 })
        bytes += le(c);
    return bytes + le(count);
}

std::string legacySkill(const char* name, int kind, const std::string& tail = {})
{
    return le(40) + le(20) + le(1) + le(kind) + name + "\n" + "20\n" + le(1) + le(2) + le(4) + tail;
}

QStringList entryNames(const Investigator& inv)
{
    QStringList names;
    for (const auto& entry : inv.entries())
        names << QString::fromStdString(entry->name());
    return names;
}

} // namespace

void TestInvestigatorFile::writesExactLayout()
{
    Investigator inv = sampleInvestigator();
    const std::string expected = crlf({
        "INV",
        "Sheet { ",
        "\t\"Script\" \"ficha.vis\"",
        "\t\"Class\" \"Investigator\"",
        "}",
        "",
        "Investigator { ",
        "\t\"Name\" \"Ana 'la Roja' Vidal\"",
        "\t\"Occupation\" \"Anticuaria\"",
        "\t\"Birthplace\" \"\"",
        "\t\"Colleges\" \"\"",
        "\t\"MentalDisorders\" \"\"",
        "\t\"Sex\" \"Mujer\"",
        "\t\"Age\" \"34\"",
        "\t\"Era\" \"1\"",
        "\t\"Portrait\" \"\"",
        "\t\"APA\" \"12\"",
        "\t\"CON\" \"11\"",
        "\t\"DES\" \"14\"",
        "\t\"EDU\" \"17\"",
        "\t\"INT\" \"15\"",
        "\t\"POD\" \"13\"",
        "\t\"TAM\" \"10\"",
        "\t\"FUE\" \"9\"",
        "\t\"Player\" \"Marta\"",
        "\t\"COR\" \"60\"",
        "\t\"PV\" \"11\"",
        "\t\"Magic\" \"13\"",
        "\t\"Affiliation\" \"\"",
        "\t\"CodeName\" \"\"",
        "\t\"CurrentDate\" \"\"",
        "\t\"Insanities\" \"Fobia\"",
        "\t\"ExtraSchooling\" \"0\"",
        "\t\"Income\" \"\"",
        "\t\"Spells\" \"\"",
        "\t\"RuleFile\" \"default.rul\"",
        "\t\"Residence\" \"\"",
        "\t\"PersonalDescription\" \"\"",
        "\t\"Contacts\" \"\"",
        "\t\"Wounds\" \"\"",
        "\t\"Scars\" \"\"",
        "\t\"History\" \"Nacida en {Bilbao}.",
        "Viajó a 'El Cairo'\"",
        "\t\"CashOnHand\" \"\"",
        "\t\"Savings\" \"\"",
        "\t\"PersonalProperty\" \"\"",
        "\t\"RealEstate\" \"\"",
        "\t\"Posessions\" \"\"",
        "\t\"TomesRead\" \"\"",
        "\t\"Artifacts\" \"\"",
        "\t\"EntitiesEncountered\" \"\"",
        "\t\"SkillPoints\" \"340\"",
        "\t\"InterestPoints\" \"150\"",
        "\tSkills {",
        "\t\tSkill { ",
        "\t\t\t\"Name\" \"Buscar Libros\"",
        "\t\t\t\"Base\" \"25\"",
        "\t\t\t\"Current\" \"70\"",
        "\t\t\t\"Occupational\" \"1\"",
        "\t\t\t\"Checked\" \"0\"",
        "\t\t}",
        "",
        "\t\tSkill { ",
        "\t\t\t\"Name\" \"Esquivar\"",
        "\t\t\t\"Base\" \"^DES2\"",
        "\t\t\t\"Current\" \"28\"",
        "\t\t\t\"Occupational\" \"0\"",
        "\t\t\t\"Checked\" \"1\"",
        "\t\t}",
        "",
        "\t\tSpecialSkill { ",
        "\t\t\t\"Name\" \"Arte\"",
        "\t\t\t\"Base\" \"05\"",
        "\t\t\t\"SubSkills\" \"2\"",
        "\t\t\tSubSkill { ",
        "\t\t\t\t\t\"Name\" \"Pintura\"",
        "\t\t\t\t\t\"Base\" \"05\"",
        "\t\t\t\t\t\"Current\" \"5\"",
        "\t\t\t\t\t\"Occupational\" \"1\"",
        "\t\t\t\t\t\"Checked\" \"0\"",
        "\t\t\t}",
        "\t\t\tSubSkill { ",
        "\t\t\t\t\t\"Name\" \"Canto\"",
        "\t\t\t\t\t\"Base\" \"05\"",
        "\t\t\t\t\t\"Current\" \"5\"",
        "\t\t\t\t\t\"Occupational\" \"1\"",
        "\t\t\t\t\t\"Checked\" \"0\"",
        "\t\t\t}",
        "\t\t\t\"Current\" \"5\"",
        "\t\t\t\"Occupational\" \"1\"",
        "\t\t\t\"Checked\" \"0\"",
        "\t\t}",
        "",
        "\t\tFirearm { ",
        "\t\t\t\"Name\" \"Revólver .38\"",
        "\t\t\t\"Base\" \"20\"",
        "\t\t\t\"Bullets\" \"6\"",
        "\t\t\t\"Dmg\" \"1D10\"",
        "\t\t\t\"PV\" \"10\"",
        "\t\t\t\"MAL\" \"00\"",
        "\t\t\t\"Range\" \"15 m\"",
        "\t\t\t\"Shots\" \"2\"",
        "\t\t\t\"Current\" \"20\"",
        "\t\t\t\"Occupational\" \"0\"",
        "\t\t\t\"Checked\" \"0\"",
        "\t\t}",
        "",
        "\t\tMelee { ",
        "\t\t\t\"Name\" \"*Puñetazo\"",
        "\t\t\t\"Base\" \"50\"",
        "\t\t\t\"Attacks\" \"1\"",
        "\t\t\t\"Dmg\" \"1D3+bd\"",
        "\t\t\t\"PV\" \"--\"",
        "\t\t\t\"Current\" \"50\"",
        "\t\t\t\"Occupational\" \"0\"",
        "\t\t\t\"Checked\" \"0\"",
        "\t\t}",
        "",
        "\t}",
        "}",
    });
    // An entry without a kind of its own is not written.
    inv.appendEntry(std::make_unique<SkillEntry>(std::make_unique<AnySkill>(kAllEraFlags)));
    QCOMPARE(
        QString::fromStdString(InvestigatorFile::text(inv, "ficha.vis")), QString::fromStdString(expected));
}

void TestInvestigatorFile::roundTripIsByteExact_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("sample") << QString();
    const QDir examples(qEnvironmentVariable("VORPANE_SOURCE_DIR") + "/data/examples");
    for (const QString& name : examples.entryList({ "*.inv" }, QDir::Files))
        QTest::newRow(qPrintable(name)) << examples.filePath(name);
}

void TestInvestigatorFile::roundTripIsByteExact()
{
    QFETCH(QString, path);
    ScopedRecordingUi ui;
    std::string first;
    if (path.isEmpty()) {
        Investigator inv = sampleInvestigator();
        inv.Portrait = std::string("C:\\retratos\\ana\0.png", 20); // a NUL cannot survive a text file
        inv.Spells = "Contactar // Ghoul, {Voz} de \xC1nima\r\n\xFF";
        first = InvestigatorFile::text(inv, "ficha.vis");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        first = file.readAll().toStdString();
    }
    const Loaded loaded = readText(first);
    QVERIFY(loaded.ok);
    QCOMPARE(
        QString::fromLatin1(InvestigatorFile::text(loaded.inv, loaded.script)), QString::fromLatin1(first));
    QCOMPARE(QString::fromLatin1(ui.texts()), QString());
    for (const auto& entry : loaded.inv.entries())
        QVERIFY2(entry->baseValue != SkillEntry::kBaseNotComputed, entry->name().c_str());
}

void TestInvestigatorFile::reader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<QString>("output");
    const QString invalid = "Invalid file format";
    const QString header = "Unknown file format: unknown file header";
    QTest::newRow("lower-case header") << "inv\nInvestigator { \n\t\"Name\" \"Ana\"\n}\n"
                                       << true << "Ana"
                                       << ""
                                       << "";
    QTest::newRow("header only") << "INV\n"
                                 << true << ""
                                 << ""
                                 << "";
    QTest::newRow("legacy word in lower case") << "inv10\nInvestigator { }\n" << false << "" << header << "";
    QTest::newRow("unknown header") << "INVESTIGATOR\n" << false << "" << header << "";
    QTest::newRow("leading NUL") << QString(QChar(0)) + "INV\n" << false << "" << header << "";
    QTest::newRow("NUL ends the text")
        << "INV\nInvestigator { \"Name\" \"A" + QString(QChar(0)) + "B\" }\n"
        << false << ""
        << "Parse Error:\n{ \"Name\" \"A\nNo closing } to match opening {\n" + invalid << "";
    QTest::newRow("unbalanced brace")
        << "INV\nInvestigator { \n\t\"Name\" \"Ana\"\n"
        << false << ""
        << "Parse Error:\n{ \nNo closing } to match opening {\n" + invalid << "";
    QTest::newRow("section without block") << "INV\nInvestigator\n" << false << "" << invalid << "";
    QTest::newRow("word instead of block")
        << "INV\nInvestigator Skills { }\n"
        << false << ""
        << "Parse Error:\nSkills { }\nExpected opening {\n" + invalid << "";
    QTest::newRow("braces inside a value") << "INV\nInvestigator { \"Name\" \"}{ana}}\" }\n"
                                           << true << "}{ana}}"
                                           << ""
                                           << "";
    QTest::newRow("comment with a quote") << "INV\nInvestigator { // say \"hi\n \"Name\" \"Ana\" }\n"
                                          << true << "Ana"
                                          << ""
                                          << "";
    QTest::newRow("unreadable pair ends the block")
        << "INV\nInvestigator { \"Name\" \"Ana\" Oops \"Name\" \"Eva\" }\n"
        << true << "Ana"
        << "Parse Error:\n\"Name\" \"Eva\" \nExpected opening {"
        << "";
    QTest::newRow("unknown section skipped")
        << "INV\nHandout { \"Name\" \"X\" }\nInvestigator { \"Name\" \"Ana\" }\n"
        << true << "Ana"
        << ""
        << "Skipping Unknown section type in investigator file: Handout";
    QTest::newRow("other class") << "INV\nSheet { \"Class\" \"Handout\" }\n"
                                 << true << ""
                                 << "This file contains a class of Handout.\nThis version of vorpane can "
                                    "only deal with Investigator classes"
                                 << "";
    QTest::newRow("class in any case") << "INV\nSheet { \"Class\" \"investigator\" \"Class\" \"\" }\n"
                                       << true << ""
                                       << ""
                                       << "";
}

void TestInvestigatorFile::reader()
{
    QFETCH(QString, text);
    QFETCH(bool, loads);
    QFETCH(QString, name);
    QFETCH(QString, messages);
    QFETCH(QString, output);
    ScopedRecordingUi ui;
    Investigator inv;
    inv.Name = "before";
    std::string script = "before.vis";
    QCOMPARE(InvestigatorFile::read(fileText(text), inv, script), loads);
    QCOMPARE(QString::fromLatin1(ui.texts()), messages);
    QCOMPARE(QString::fromStdString(inv.Name), loads ? name : QString("before"));
    QCOMPARE(QString::fromStdString(script), QString(loads ? "" : "before.vis"));
    QCOMPARE(QString::fromStdString(ui.output().lines().empty() ? "" : ui.output().lines().back()), output);
}

void TestInvestigatorFile::keysInAnyCase()
{
    ScopedRecordingUi ui;
    const Loaded loaded
        = readText(fileText("inv\nsheet { \"SCRIPT\" \"a.vis\" }\ninvestigator { \"name\" \"Ana\" "
                            "\"AGE\" \"31x\" \"era\" \"zwei\" \"unknown\" \"1\"\n"
                            "skills { skill { \"NAME\" \"Nadar\" \"current\" \"40\" \"checked\" \"1\" }"
                            " melee { \"name\" \"Palo\" \"attacks\" \"2\" }"
                            " Weird { \"Name\" \"X\" } } }\n"));
    QVERIFY(loaded.ok);
    QCOMPARE(loaded.script, std::string("a.vis"));
    QCOMPARE(loaded.inv.Name, std::string("Ana"));
    QCOMPARE(loaded.inv.Age, 31);
    QCOMPARE(loaded.inv.Era, 0); // not a number
    QCOMPARE(entryNames(loaded.inv), QStringList({ "Nadar", "Palo" }));
    QCOMPARE(loaded.inv.skills()[0]->current, 40);
    QCOMPARE(loaded.inv.skills()[0]->checked, 1);
    QCOMPARE(static_cast<const Melee&>(*loaded.inv.melee()[0]->definition).stats().attacks, std::string("2"));
    QCOMPARE(loaded.inv.skills()[0]->definition->eras(), kAllEraFlags);
}

void TestInvestigatorFile::ruleFileKeepsNameOnly_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("kept");
    QTest::newRow("name") << "pulp.rul"
                          << "pulp.rul";
    QTest::newRow("empty") << ""
                           << "";
    // A name with a folder is kept as the file has it, so that saving changes nothing; the
    // program refuses it where it looks the rule file up.
    QTest::newRow("relative path") << "../../dev/stdin"
                                   << "../../dev/stdin";
    QTest::newRow("absolute path") << "/tmp/fifo.rul"
                                   << "/tmp/fifo.rul";
    QTest::newRow("windows path") << "C:\\Juegos\\pulp.rul"
                                  << "C:\\Juegos\\pulp.rul";
}

void TestInvestigatorFile::ruleFileKeepsNameOnly()
{
    QFETCH(QString, stored);
    QFETCH(QString, kept);
    const Loaded loaded = readText(fileText("INV\nInvestigator { \"RuleFile\" \"" + stored + "\" }\n"));
    QVERIFY(loaded.ok);
    QCOMPARE(QString::fromStdString(loaded.inv.RuleFile), kept);
}

void TestInvestigatorFile::subSkillCounts_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("current");
    QTest::newRow("as declared") << "2" << 2 << "" << 3 << 7;
    QTest::newRow("too few") << "3" << 2 << "Warning: Too few subskills defined!" << 4 << 7;
    // The special skill's own pairs after the extra block are ignored with it.
    QTest::newRow("too many") << "1" << 2 << "Warning: Too many subskills for special skill" << 2 << 0;
    QTest::newRow("none") << "0" << 1 << "Warning: Subskill section has no subskills!" << 0 << 0;
    QTest::newRow("missing") << "" << 1 << "Warning: Subskill section has no subskills!" << 0 << 0;
    QTest::newRow("negative") << "-4" << 1 << "Warning: Subskill section has no subskills!" << 0 << 0;
    QTest::newRow("huge count is capped")
        << "2000000000" << 1 << "Warning: Too few subskills defined!" << 1 + kMaxSubSkillCount << 7;
}

void TestInvestigatorFile::subSkillCounts()
{
    QFETCH(QString, declared);
    QFETCH(int, blocks);
    QFETCH(QString, warning);
    QFETCH(int, entries);
    QFETCH(int, current);
    ScopedRecordingUi ui;
    QString text
        = "INV\nInvestigator { \"POD\" \"10\" Skills { SpecialSkill { \"Name\" \"Arte\" \"Base\" \"05\"\n";
    if (!declared.isEmpty())
        text += "\"SubSkills\" \"" + declared + "\"\n";
    for (int i = 0; i < blocks; ++i)
        text += QString("SubSkill { \"Name\" \"Sub%1\" \"Base\" \"^POD\" \"Current\" \"%2\" }\n")
                    .arg(i)
                    .arg(30 + i);
    text += "\"Current\" \"7\" } } }\n";
    const Loaded loaded = readText(fileText(text));
    QVERIFY(loaded.ok);
    QCOMPARE(QString::fromLatin1(ui.texts()), warning);
    QCOMPARE(int(loaded.inv.entries().size()), entries);
    if (entries == 0)
        return;
    const SkillEntry& special = *loaded.inv.entries()[0];
    QCOMPARE(special.current, current);
    const auto& def = static_cast<const SpecialSkill&>(*special.definition);
    for (size_t i = 1; i < loaded.inv.entries().size(); ++i) {
        const SkillEntry& sub = *loaded.inv.entries()[i];
        QCOMPARE(sub.parent(), &def);
        QCOMPARE(def.subSkill(int(i) - 1), sub.definition.get());
        const bool fromFile = int(i) <= blocks;
        QCOMPARE(sub.name(), fromFile ? "Sub" + std::to_string(i - 1) : std::string());
        QCOMPARE(sub.baseValue, fromFile ? 10 : 0);
        QCOMPARE(sub.definition->eras(), kAllEraFlags);
    }
}

void TestInvestigatorFile::budgetsOnLoad_data()
{
    QTest::addColumn<int>("skillPoints");
    QTest::addColumn<int>("interestPoints");
    QTest::addColumn<int>("expectedSkill");
    QTest::addColumn<int>("expectedInterest");
    QTest::newRow("both kept") << 100 << 50 << 100 << 50;
    QTest::newRow("skill points zero") << 0 << 50 << 300 << 140;
    QTest::newRow("interest points negative") << 100 << -1 << 300 << 140;
}

void TestInvestigatorFile::budgetsOnLoad()
{
    QFETCH(int, skillPoints);
    QFETCH(int, interestPoints);
    QFETCH(int, expectedSkill);
    QFETCH(int, expectedInterest);
    const Loaded loaded = readText(fileText(QString("INV\nInvestigator { \"EDU\" \"15\" \"INT\" \"14\" "
                                                    "\"SkillPoints\" \"%1\" \"InterestPoints\" \"%2\" }\n")
                                                .arg(skillPoints)
                                                .arg(interestPoints)));
    QVERIFY(loaded.ok);
    QCOMPARE(loaded.inv.SkillPoints, expectedSkill);
    QCOMPARE(loaded.inv.InterestPoints, expectedInterest);
}

void TestInvestigatorFile::baseValuesAfterLoad()
{
    ScopedRecordingUi ui;
    // A base may name a skill further down the file; current values are not raised on loading.
    const Loaded loaded = readText(
        fileText("INV\nInvestigator { \"DES\" \"12\" Skills {\n"
                 "Skill { \"Name\" \"Escrituras\" \"Base\" \"%Zhaldor Mythos%\" \"Current\" \"0\" }\n"
                 "SpecialSkill { \"Name\" \"Arte\" \"Base\" \"05\" \"SubSkills\" \"1\" SubSkill { \"Base\" "
                 "\"^DES2\" } }\n"
                 "Skill { \"Name\" \"Zhaldor Mythos\" \"Base\" \"00\" \"Current\" \"9\" } } }\n"));
    QVERIFY(loaded.ok);
    QCOMPARE(QString::fromLatin1(ui.texts()), QString());
    const auto& entries = loaded.inv.entries();
    QCOMPARE(entries[0]->baseValue, 9);
    QCOMPARE(entries[0]->current, 0);
    QCOMPARE(entries[1]->baseValue, 5);
    QCOMPARE(entries[2]->baseValue, 24);
}

void TestInvestigatorFile::everyPrefixIsSafe()
{
    ScopedRecordingUi ui;
    const std::string full = InvestigatorFile::text(sampleInvestigator(), "ficha.vis");
    int loaded = 0;
    for (size_t length = 0; length < full.size(); ++length) {
        Investigator inv;
        std::string script;
        loaded += InvestigatorFile::read(std::string_view(full).substr(0, length), inv, script) ? 1 : 0;
        ui.reset();
    }
    // Only a prefix that still holds the header and whole sections can load: the header alone, and
    // the text after the Sheet block.
    QVERIFY(loaded > 0 && loaded < 40);
}

void TestInvestigatorFile::fileErrors()
{
    QVERIFY(m_dir.isValid());
    ScopedRecordingUi ui;
    Investigator inv;
    std::string script;
    QVERIFY(!InvestigatorFile::load(m_dir.filePath("missing.inv").toStdString(), inv, script));
    QFile empty(m_dir.filePath("empty.inv"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QVERIFY(!InvestigatorFile::load(empty.fileName().toStdString(), inv, script));
    // A 50 MB file (sparse, so cheap) is refused before anything is read.
    QFile huge(m_dir.filePath("huge.inv"));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    huge.write("INV\nInvestigator { \"Name\" \"");
    QVERIFY(huge.resize(50 * 1024 * 1024));
    huge.close();
    QVERIFY(!InvestigatorFile::load(huge.fileName().toStdString(), inv, script));
    QVERIFY(!InvestigatorFile::load(m_dir.path().toStdString(), inv, script)); // a folder
    // A pipe nobody writes to would block the read.
    const std::string fifo = m_dir.filePath("pipe.inv").toStdString();
    QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
    QVERIFY(!InvestigatorFile::load(fifo, inv, script));
    QCOMPARE(QString::fromLatin1(ui.texts()),
        QString("Cannot open investigator file\nFile is empty\nCannot allocate buffer\n"
                "Cannot open investigator file\nCannot open investigator file"));
    for (const auto& box : ui.boxes)
        QCOMPARE(box.icon, MsgIcon::Error);
}

void TestInvestigatorFile::saveReplacesWholeFileOrReports()
{
    QVERIFY(m_dir.isValid());
    ScopedRecordingUi ui;
    const QString path = m_dir.filePath("save.inv");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(200000, 'x'));
    old.close();

    const Investigator inv = sampleInvestigator();
    QVERIFY(InvestigatorFile::save(path.toStdString(), inv, "ficha.vis"));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().toStdString(), InvestigatorFile::text(inv, "ficha.vis"));
    QCOMPARE(QString::fromLatin1(ui.texts()), QString());

    QVERIFY(!InvestigatorFile::save(m_dir.filePath("no/such/folder/x.inv").toStdString(), inv, ""));
    QVERIFY(!InvestigatorFile::save(m_dir.path().toStdString(), inv, "")); // a folder stays a folder
    QVERIFY(QFileInfo(m_dir.path()).isDir());
    QCOMPARE(QString::fromLatin1(ui.texts()),
        QString("Cannot write investigator file\nCannot write investigator file"));
}

void TestInvestigatorFile::legacyLayout()
{
    Investigator inv;
    inv.Name = "Ana\r\nVidal";
    inv.Sex = "M\nF";
    inv.Age = 30;
    inv.Era = 2;
    inv.APA = 10, inv.CON = 11, inv.DES = 12, inv.EDU = 13, inv.INT = 14, inv.POD = 15, inv.TAM = 16,
    inv.FUE = 17;
    inv.Player = "Eva";
    inv.COR = 70, inv.PV = -3, inv.Magic = 15;
    inv.Insanities = "Fobia";
    SkillEntry& skill = inv.addEntry(std::make_unique<Skill>("Nadar", "25", 5), true);
    skill.baseValue = 25;
    skill.checked = 1;
    inv.addEntry(
        std::make_unique<Melee>("Palo", "^FUE", kEraFlag1920s, MeleeStats { "1D6", "1", "15" }), false);
    inv.appendEntry(std::make_unique<SkillEntry>(std::make_unique<SkillDef>())); // no kind number: left out

    std::string common = "Ana Vidal\n\n\n\n\nM F\n" + le(30) + le(2) + "\n";
    for (int c : { 10, 11, 12, 13, 14, 15, 16, 17 })
        common += le(c);
    common += le(2);
    common += le(25) + le(25) + le(1) + le(1) + "Nadar\n25\n" + le(1) + le(0) + le(4);
    common += le(17) + le(-1) + le(0) + le(3) + "Palo\n^FUE\n" + le(0) + le(2) + le(0) + "1D6\n1\n15\n";
    common += "Eva\n";
    QCOMPARE(
        QByteArray::fromStdString(LegacyFile::bytes(inv, 1)), QByteArray::fromStdString("INV10\n" + common));
    const std::string tail = le(70) + le(-3) + le(15) + "\n\n\nFobia\n";
    QCOMPARE(QByteArray::fromStdString(LegacyFile::bytes(inv, 2)),
        QByteArray::fromStdString("INV20\n" + common + tail));
}

void TestInvestigatorFile::legacyVersion2KeepsAndLoses()
{
    ScopedRecordingUi ui;
    Investigator original = sampleInvestigator();
    original.Affiliation = "Miskatonic";
    original.CodeName = "Cuervo";
    original.CurrentDate = "1925";
    original.ExtraSchooling = 2;
    original.Income = "3000";
    const Loaded loaded = readText(LegacyFile::bytes(original, 2));
    QVERIFY(loaded.ok);
    const Investigator& inv = loaded.inv;
    for (auto field : { &Investigator::Name, &Investigator::Occupation, &Investigator::Sex,
             &Investigator::Player, &Investigator::Affiliation, &Investigator::CodeName,
             &Investigator::CurrentDate, &Investigator::Insanities })
        QCOMPARE(inv.*field, original.*field);
    for (auto field : { &Investigator::Age, &Investigator::Era, &Investigator::APA, &Investigator::FUE,
             &Investigator::COR, &Investigator::PV, &Investigator::Magic })
        QCOMPARE(inv.*field, original.*field);
    QCOMPARE(entryNames(inv),
        QStringList(
            { "*Puñetazo", "Arte", "Canto", "Pintura", "Buscar Libros", "Esquivar", "Revólver .38" }));
    for (const auto& entry : inv.entries()) {
        const SkillEntry* before = original.findSkill(entry->name());
        QCOMPARE(entry->current, before->current);
        QCOMPARE(entry->occupational, before->occupational);
        QCOMPARE(entry->checked, 0);
    }
    QCOMPARE(static_cast<const Firearm&>(*inv.firearms()[0]->definition).stats().range, std::string("15 m"));
    QCOMPARE(inv.History, std::string());
    QCOMPARE(inv.Income, std::string());
    QCOMPARE(inv.ExtraSchooling, 0);
    QCOMPARE(inv.SkillPoints, 340); // recomputed, as the budgets are not stored
    QCOMPARE(inv.RuleFile, std::string("default.rul"));
    QCOMPARE(loaded.script, std::string());
}

void TestInvestigatorFile::legacyVersion1RecomputesSanity()
{
    Investigator original = sampleInvestigator();
    original.COR = 20;
    original.Affiliation = "Miskatonic";
    const Loaded loaded = readText(LegacyFile::bytes(original, 1));
    QVERIFY(loaded.ok);
    QCOMPARE(loaded.inv.COR, 65);
    QCOMPARE(loaded.inv.PV, 11);
    QCOMPARE(loaded.inv.Magic, 13);
    QCOMPARE(loaded.inv.Affiliation, std::string());
}

void TestInvestigatorFile::legacySubSkills()
{
    ScopedRecordingUi ui;
    std::string bytes = legacyHead(7);
    bytes += legacySkill("Arte", 5, le(3));
    bytes += legacySkill("Pintura", 6, "arte\n");
    bytes += legacySkill("", 6, "Arte\n"); // unnamed: removed
    bytes += legacySkill("Canto", 6, "Nadar\n"); // parent is no special skill: dropped
    bytes += legacySkill("Escultura", 6, "Otra\n"); // no such parent: dropped
    bytes += legacySkill("Nadar", 1);
    bytes += le(0) + le(0) + le(0) + le(4); // a free-choice placeholder: removed
    bytes += "Eva\n";
    const Loaded loaded = readText(bytes);
    QVERIFY(loaded.ok);
    QCOMPARE(entryNames(loaded.inv), QStringList({ "Arte", "Pintura", "Nadar" }));
    const SkillEntry* arte = loaded.inv.findSkill("Arte");
    const auto& special = static_cast<const SpecialSkill&>(*arte->definition);
    QCOMPARE(loaded.inv.findSkill("Pintura")->parent(), &special);
    QCOMPARE(special.subSkillCount(), 3);
    QCOMPARE(special.subSkill(0), loaded.inv.findSkill("Pintura")->definition.get());
    QCOMPARE(special.subSkill(1), nullptr); // the unnamed one left with its entry
    QCOMPARE(loaded.inv.findSkill("Pintura")->definition->eras(), kAllEraFlags);
    QCOMPARE(loaded.inv.Player, std::string("Eva"));
}

void TestInvestigatorFile::legacyRoundTripIsStable()
{
    ScopedRecordingUi ui;
    for (int version : { 1, 2 }) {
        const std::string first
            = LegacyFile::bytes(readText(LegacyFile::bytes(sampleInvestigator(), version)).inv, version);
        const std::string second = LegacyFile::bytes(readText(first).inv, version);
        QCOMPARE(QByteArray::fromStdString(second), QByteArray::fromStdString(first));
    }
}

void TestInvestigatorFile::legacyBadCounts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("four billion entries") << QByteArray::fromStdString(legacyHead(-1) + "Eva\n");
    QTest::newRow("two billion entries") << QByteArray::fromStdString(legacyHead(0x7FFFFFFF) + "Eva\n");
    QTest::newRow("more entries than bytes")
        << QByteArray::fromStdString(legacyHead(2) + legacySkill("A", 1) + "Eva\n");
    QTest::newRow("unknown kind") << QByteArray::fromStdString(legacyHead(1) + legacySkill("A", 7) + "Eva\n");
    QTest::newRow("empty definition kind")
        << QByteArray::fromStdString(legacyHead(1) + legacySkill("A", 0) + "Eva\n");
    QTest::newRow("no line end") << QByteArray("INV20");
}

void TestInvestigatorFile::legacyBadCounts()
{
    QFETCH(QByteArray, bytes);
    ScopedRecordingUi ui;
    Investigator inv;
    inv.Name = "before";
    std::string script;
    QVERIFY(!InvestigatorFile::read(bytes.toStdString(), inv, script));
    QCOMPARE(inv.Name, std::string("before"));
    QCOMPARE(
        QString::fromLatin1(ui.texts()), QString()); // the legacy reader fails without a message of its own
}

void TestInvestigatorFile::legacyPrefixesFail()
{
    ScopedRecordingUi ui;
    for (int version : { 1, 2 }) {
        const std::string full = LegacyFile::bytes(sampleInvestigator(), version);
        QVERIFY(readText(full).ok);
        // Shorter than the header line it is no legacy file any more ("INV" alone is a current one).
        for (size_t length = std::string("INV10\n").size(); length < full.size(); ++length)
            QVERIFY2(
                !readText(std::string_view(full).substr(0, length)).ok, qPrintable(QString::number(length)));
    }
}

void TestInvestigatorFile::legacyExport()
{
    QVERIFY(m_dir.isValid());
    ScopedRecordingUi ui;
    const Investigator inv = sampleInvestigator();
    const QString path = m_dir.filePath("export_20.inv");
    QVERIFY(LegacyFile::exportFile(path.toStdString(), inv, 2));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().toStdString(), LegacyFile::bytes(inv, 2));
    QVERIFY(!LegacyFile::exportFile(m_dir.filePath("no/folder/x.inv").toStdString(), inv, 1));
    QCOMPARE(QString::fromLatin1(ui.texts()), QString("Could not open file for output!"));
    QCOMPARE(LegacyFile::proposedName("", 1), std::string("_10.inv"));
    QCOMPARE(LegacyFile::proposedName("/juego/ana.inv", 2), std::string("/juego/ana.inv_20.inv"));
}

QTEST_GUILESS_MAIN(TestInvestigatorFile)
#include "test_investigator_file.moc"
