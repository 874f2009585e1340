// The rule file's scripts: an occupation's characteristic modifier (with GLOBAL_SCRIPT before it
// and the wizard's questions after a failure), the INCOME script with era and income, the income
// command, and the scripts of the shipped default rule file run against rolled investigators.
#include "investigator/investigator_history.h"
#include "investigator/new_investigator.h"
#include "investigator/occupation_setup.h"
#include "investigator/rule_scripts.h"
#include "platform/program_folder.h"
#include "platform/random.h"
#include "rules/rule_set_cache.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorpane;
using namespace vorpane::test;

class TestRuleScripts : public QObject {
    Q_OBJECT
private slots:
    void init();
    void modifier_data();
    void modifier();
    void income_data();
    void income();
    void incomeCommandShowsTheIncome();
    void defaultRuleFileScripts();

private:
    // Writes income.rul into the temporary program folder; a null text leaves INCOME out.
    void writeIncomeRules(const QString& income);

    ScopedRecordingUi m_ui;
    QTemporaryDir m_dir;
};

Q_DECLARE_METATYPE(IncomeRun)

void TestRuleScripts::init()
{
    m_ui.reset();
    RuleSetCache::instance().clear();
    setProgramFolder(fixtureFolder());
}

void TestRuleScripts::modifier_data()
{
    QTest::addColumn<QString>("occupation");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("outcome"); // ran, parsed, succeeded, went on (1 or 0 each)
    QTest::addColumn<int>("edu");
    QTest::addColumn<int>("cor");
    QTest::addColumn<QStringList>("boxes");

    const QString unparsable = "Unable to use the characteristic modifier script - do you want to continue?";
    const QString failed = "Unable to execute the characteristic modifier script - do you want to continue?\n"
                           "(It's possible that something about the investigator has been modified)";
    // clang-format off
    QTest::newRow("uses a function of GLOBAL_SCRIPT") << "Anticuario" << false << "1111" << 15 << 60 << QStringList();
    QTest::newRow("no script") << "Detective" << false << "0111" << 14 << 60 << QStringList();
    QTest::newRow("unknown occupation") << "Nadie" << false << "0111" << 14 << 60 << QStringList();
    QTest::newRow("does not parse, No") << "Roto" << false << "1000" << 14 << 60 << QStringList{"Line 4 : syntax error\n;", unparsable};
    QTest::newRow("does not parse, Yes") << "Roto" << true << "1001" << 14 << 60 << QStringList{"Line 4 : syntax error\n;", unparsable};
    QTest::newRow("fails after changing sanity") << "Fallido" << false << "1100" << 14 << 1
        << QStringList{"Script Error: Skill Volar was not found", failed};
    // clang-format on
}

void TestRuleScripts::modifier()
{
    QFETCH(QString, occupation);
    QFETCH(bool, answer);
    QFETCH(QString, outcome);
    QFETCH(int, edu);
    QFETCH(int, cor);
    QFETCH(QStringList, boxes);

    QVERIFY(RuleSetCache::instance().ensureLoaded("scripts.rul"));
    Investigator inv;
    inv.RuleFile = "scripts.rul";
    inv.EDU = 14, inv.COR = 60;
    m_ui.yesNoAnswers = { answer };

    const ModifierScriptRun run = runModifierScript(inv, occupation.toStdString());
    const bool goOn = continueAfterModifierScript(run);
    QCOMPARE(QString("%1%2%3%4").arg(run.ran).arg(run.parsed).arg(run.succeeded).arg(goOn), outcome);
    QCOMPARE(inv.EDU, edu);
    QCOMPARE(inv.COR, cor);
    QCOMPARE(boxTexts(m_ui), boxes);
}

void TestRuleScripts::writeIncomeRules(const QString& income)
{
    QString text = "_BEGIN KEYVALUEPAIRS\r\n_END KEYVALUEPAIRS\r\n";
    if (!income.isNull())
        text += "_BEGIN INCOME\r\n" + income + "_END INCOME\r\n";
    QFile file(m_dir.filePath("income.rul"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toLatin1());
    setProgramFolder(m_dir.path().toStdString());
}

void TestRuleScripts::income_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("era");
    QTest::addColumn<IncomeRun>("outcome");
    QTest::addColumn<QString>("income");
    QTest::addColumn<QStringList>("messages"); // output lines, then boxes

    const QString era = "income = era;\r\n";
    // clang-format off
    QTest::newRow("1890s") << era << 0 << IncomeRun::Done << "1890" << QStringList();
    QTest::newRow("1990s") << era << 2 << IncomeRun::Done << "1990" << QStringList();
    QTest::newRow("another era counts as the 1920s") << era << 5 << IncomeRun::Done << "1920" << QStringList();
    QTest::newRow("never assigned gives empty text") << "var x = 1;\r\n" << 1 << IncomeRun::Done << "" << QStringList();
    QTest::newRow("dice, output, a number") << "income = dice.roll(\"2D1\") * 100;\r\noutput.write(\"hecho\");\r\n" << 1
        << IncomeRun::Done << "200" << QStringList{"hecho"};
    QTest::newRow("blank section") << "  \r\n" << 1 << IncomeRun::NoScript << "antes" << QStringList();
    QTest::newRow("no section") << QString() << 1 << IncomeRun::NoScript << "antes" << QStringList();
    QTest::newRow("does not parse") << "income = ;\r\n" << 1 << IncomeRun::Unparsable << "antes" << QStringList{"Line 1 : syntax error\n;"};
    QTest::newRow("fails after assigning") << "income = 5; y = 1;\r\n" << 1 << IncomeRun::Failed << "antes"
        << QStringList{"Line 1 : Variable \"y\" not found", "Unable to execute the income generation script"};
    // clang-format on
}

void TestRuleScripts::income()
{
    QFETCH(QString, script);
    QFETCH(int, era);
    QFETCH(IncomeRun, outcome);
    QFETCH(QString, income);
    QFETCH(QStringList, messages);

    writeIncomeRules(script);
    Investigator inv;
    inv.RuleFile = "income.rul";
    inv.Era = era;
    inv.Income = "antes";
    QCOMPARE(runIncomeScript(inv), outcome);
    QCOMPARE(u(inv.Income), income);
    QCOMPARE(outputLines(m_ui) + boxTexts(m_ui), messages);
}

void TestRuleScripts::incomeCommandShowsTheIncome()
{
    writeIncomeRules("income = \"100 libras\";\r\n");
    Investigator inv;
    inv.RuleFile = "income.rul";
    InvestigatorHistory history;
    QCOMPARE(incomeCommand(inv, history), IncomeRun::Done);
    QVERIFY(history.canUndo());
    QCOMPARE(boxTexts(m_ui), QStringList { "Tu investigador obtiene ingresos de100 libras" });
    QCOMPARE(m_ui.boxes.front().icon, MsgIcon::None);
    QCOMPARE(m_ui.quickInfoKeys, std::vector<std::string> { "RunScript" });
}

// The shipped rule file: every occupation of every era set up, its modifier run, then the income
// script, all without a single message.
void TestRuleScripts::defaultRuleFileScripts()
{
    const QString data = qEnvironmentVariable("VORPANE_DATA");
    if (!QFile::exists(data + "/default.rul"))
        QSKIP("no default.rul in the data folder yet");
    setProgramFolder(data.toStdString());
    seedRandom(7);
    const auto chooseFirst = [](int count, const std::vector<OptionalSkill>& offered) {
        std::vector<size_t> chosen;
        for (size_t i = 0; i < offered.size() && int(i) < count; ++i)
            chosen.push_back(i);
        return std::optional(chosen);
    };
    for (int era = kEraIndex1890s; era <= kEraIndex1990s; ++era) {
        Investigator rolled;
        QVERIFY(createInvestigator(rolled, "default.rul", era));
        const auto rules = RuleSetCache::instance().ensureLoaded("default.rul");
        QVERIFY(rules && rules->occupationCount() > 0);
        for (int i = 0; i < rules->occupationCount(); ++i) {
            const std::string name = rules->occupationName(i);
            Investigator inv = rolled;
            QVERIFY2(setUpOccupationSkills(inv, name, chooseFirst), name.c_str());
            const ModifierScriptRun run = runModifierScript(inv, name);
            QVERIFY2(run.succeeded, name.c_str());
            const IncomeRun income = runIncomeScript(inv);
            QVERIFY2(income == IncomeRun::Done || income == IncomeRun::NoScript, name.c_str());
            QVERIFY2(m_ui.boxes.empty(), qPrintable(u(name) + ": " + boxTexts(m_ui).join(" | ")));
            QVERIFY(inv.POD >= 0 && inv.EDU >= 0 && inv.INT >= 0);
        }
    }
}

namespace vorpane::test {
int runRuleScriptTests(int argc, char** argv)
{
    TestRuleScripts tests;
    return QTest::qExec(&tests, argc, argv);
}
} // namespace vorpane::test

#include "test_rule_scripts.moc"
