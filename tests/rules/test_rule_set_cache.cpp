#include "platform/program_folder.h"
#include "rules/rule_set_cache.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestRuleSetCache : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { RuleSetCache::instance().clear(); }
    void emptyNameIsDefault();
    void namesIgnoreCase();
    void leastRecentlyUsedIsEvicted();
    void failedLoadLeavesNothing();
    void uncachedQueriesAnswerDefaults();
    void keyValueRereadsTheFile();
    void ruleFileToUse_data();
    void ruleFileToUse();

private:
    QTemporaryDir m_dir;
};

namespace {

void writeRuleFile(const QString& path, const QString& skill)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(fileText("_BEGIN KEYVALUEPAIRS\n\"ShortInfo\" \"" + skill
        + "\"\n_END KEYVALUEPAIRS\n_BEGIN SKILLS\n\"05\" 0 \"" + skill + "\" xxx\n_END SKILLS\n")));
}

} // namespace

void TestRuleSetCache::init()
{
    QVERIFY(m_dir.isValid());
    setProgramFolder(m_dir.path().toStdString());
    RuleSetCache::instance().clear();
    for (int i = 0; i <= RuleSetCache::kSlotCount; ++i)
        writeRuleFile(m_dir.filePath(QString("r%1.rul").arg(i)), QString("Skill%1").arg(i));
    writeRuleFile(m_dir.filePath("default.rul"), "Defecto");
    QFile::remove(m_dir.filePath("broken.rul"));
}

void TestRuleSetCache::emptyNameIsDefault()
{
    ScopedRecordingUi ui;
    RuleSetCache& cache = RuleSetCache::instance();
    const auto rules = cache.ensureLoaded("");
    QVERIFY(rules);
    QCOMPARE(rules->fileName(), std::string("default.rul"));
    QCOMPARE(cache.find("default.rul"), rules);
    QCOMPARE(cache.find(""), rules);
}

void TestRuleSetCache::namesIgnoreCase()
{
    ScopedRecordingUi ui;
    RuleSetCache& cache = RuleSetCache::instance();
    const auto rules = cache.ensureLoaded("r1.rul");
    ui.reset();
    QCOMPARE(cache.ensureLoaded("R1.RUL"), rules);
    QVERIFY(ui.statusTexts.empty()); // a hit reads nothing
}

void TestRuleSetCache::leastRecentlyUsedIsEvicted()
{
    ScopedRecordingUi ui;
    RuleSetCache& cache = RuleSetCache::instance();
    for (int i = 0; i < RuleSetCache::kSlotCount; ++i)
        QVERIFY(cache.ensureLoaded(QString("r%1.rul").arg(i).toStdString()));
    const auto held = cache.findDefinition("r1.rul", "skill1");
    QVERIFY(cache.ensureLoaded("r0.rul")); // r1 is now the least recently used
    QVERIFY(cache.ensureLoaded("r10.rul"));
    QVERIFY(cache.find("r0.rul"));
    QVERIFY(!cache.find("r1.rul"));
    for (int i = 2; i <= RuleSetCache::kSlotCount; ++i)
        QVERIFY(cache.find(QString("r%1.rul").arg(i).toStdString()));
    QCOMPARE(held->name(), std::string("Skill1")); // a holder keeps an evicted rule set alive
}

void TestRuleSetCache::failedLoadLeavesNothing()
{
    ScopedRecordingUi ui;
    RuleSetCache& cache = RuleSetCache::instance();
    QVERIFY(!cache.ensureLoaded("broken.rul"));
    QCOMPARE(boxTexts(ui).join(" | "), m_dir.filePath("broken.rul") + " - Cannot open file");
    QVERIFY(!cache.find("broken.rul"));
    // Every slot is still free for good files.
    for (int i = 0; i < RuleSetCache::kSlotCount; ++i)
        QVERIFY(cache.ensureLoaded(QString("r%1.rul").arg(i).toStdString()));
    for (int i = 0; i < RuleSetCache::kSlotCount; ++i)
        QVERIFY(cache.find(QString("r%1.rul").arg(i).toStdString()));
}

void TestRuleSetCache::uncachedQueriesAnswerDefaults()
{
    ScopedRecordingUi ui;
    const RuleSetCache& cache = RuleSetCache::instance();
    struct Sink final : DefinitionSink {
        void addDefinition(std::unique_ptr<SkillDef>, bool) override { ++count; }
        int count = 0;
    } sink;
    QVERIFY(!cache.findDefinition("r1.rul", "Skill1"));
    QVERIFY(!cache.findOccupation("r1.rul", "X"));
    QCOMPARE(cache.occupationCount("r1.rul"), 0);
    QCOMPARE(cache.occupationName("r1.rul", 0), std::string());
    QVERIFY(!cache.hasModifierScript("r1.rul", "X"));
    QVERIFY(!cache.giveSkills("r1.rul", 1, sink));
    QCOMPARE(cache.keyValue("r1.rul", "ShortInfo", "def"), std::string("def"));
    QCOMPARE(sink.count, 0);
    QVERIFY(ui.statusTexts.empty());
    QVERIFY(ui.boxes.empty());
    QVERIFY(!cache.find("r1.rul"));
}

void TestRuleSetCache::keyValueRereadsTheFile()
{
    ScopedRecordingUi ui;
    RuleSetCache& cache = RuleSetCache::instance();
    QVERIFY(cache.ensureLoaded("r2.rul"));
    QCOMPARE(cache.keyValue("r2.rul", "shortinfo", "def"), std::string("Skill2"));
    QCOMPARE(cache.keyValue("r2.rul", "Options", "options.lst"), std::string("options.lst"));
    writeRuleFile(m_dir.filePath("r2.rul"), "Cambiado");
    QCOMPARE(cache.keyValue("r2.rul", "ShortInfo", "def"), std::string("Cambiado"));
}

void TestRuleSetCache::ruleFileToUse_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("haveDefault");
    QTest::addColumn<QString>("used"); // null: fails
    QTest::newRow("loads") << "r3.rul" << true << "r3.rul";
    QTest::newRow("falls back") << "missing.rul" << true << "default.rul";
    QTest::newRow("nothing loads") << "missing.rul" << false << QString();
}

void TestRuleSetCache::ruleFileToUse()
{
    QFETCH(QString, asked);
    QFETCH(bool, haveDefault);
    QFETCH(QString, used);
    if (!haveDefault)
        QFile::remove(m_dir.filePath("default.rul"));
    ScopedRecordingUi ui;
    const std::optional<std::string> result = RuleSetCache::instance().ruleFileToUse(asked.toStdString());
    QCOMPARE(result.has_value(), !used.isNull());
    if (result)
        QCOMPARE(QString::fromStdString(*result), used);
}

int vorpane::test::runRuleSetCacheTests(int argc, char** argv)
{
    TestRuleSetCache tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_rule_set_cache.moc"
