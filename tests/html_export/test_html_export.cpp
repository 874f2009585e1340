// The HTML export: the whole page byte for byte, the cells' special cases, escaping, the
// "V5.5Base" setting and a file that cannot be written.
#include "investigator/derived_values.h"
#include "investigator/html_export.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/recording_ui.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace vorpane;

using Setup = std::function<void(Investigator&)>;
Q_DECLARE_METATYPE(Setup)

class TestHtmlExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_ui.reset(); }
    void wholePage();
    void lines_data();
    void lines();
    void settingAndFile();
    void unwritableFile();

private:
    ScopedRecordingUi m_ui;
    QTemporaryDir m_dir;
};

namespace {

SkillEntry& add(Investigator& inv, std::unique_ptr<SkillDef> def, int current)
{
    SkillEntry& entry = inv.addEntry(std::move(def), false);
    entry.current = current;
    return entry;
}

Investigator sample()
{
    Investigator inv;
    inv.Name = cp1252("Ana <B&B> \"Vidal\""), inv.Occupation = "Anticuaria", inv.Colleges = "Salamanca";
    inv.Birthplace = "Bilbao", inv.Sex = "Mujer", inv.Age = 34;
    inv.FUE = 9, inv.DES = 14, inv.INT = 15, inv.CON = 11, inv.APA = 12, inv.POD = 12, inv.TAM = 10,
    inv.EDU = 17;
    inv.COR = 30;
    add(inv, std::make_unique<Skill>("Nadar", "25", kAllEraFlags), 25);
    add(inv, std::make_unique<Skill>("*Esquivar", "^DES*2", kAllEraFlags), 40);
    add(inv, std::make_unique<Skill>("Zhaldor Mythos", "0", kAllEraFlags), 15);
    auto idioma = std::make_unique<SpecialSkill>("Idioma", "01", kAllEraFlags, 2, true);
    idioma->subSkill(0)->setName(cp1252("Latín"));
    inv.addEntry(std::move(idioma), false);
    add(inv, std::make_unique<Firearm>(cp1252("Revólver .38"), "20", kAllEraFlags, FirearmStats {}), 20);
    add(inv, std::make_unique<Melee>("Cuchillo", "25", kAllEraFlags, MeleeStats {}), 30);
    computeBaseValues(inv);
    return inv;
}

QByteArray page(const Investigator& inv, bool bases55)
{
    return QByteArray::fromStdString(htmlExportText(inv, bases55));
}

} // namespace

void TestHtmlExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    setProfilePath(m_dir.filePath("settings.ini").toStdString());
}

// The sample page was written out by hand from the layout, line for line.
void TestHtmlExport::wholePage()
{
    QFile expected(
        qEnvironmentVariable("VORPANE_SOURCE_DIR") + "/tests/data/investigator_scripts/sample.html");
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(page(sample(), true), expected.readAll());
    QVERIFY(m_ui.boxes.empty());
}

void TestHtmlExport::lines_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("bases55");
    QTest::addColumn<QString>("line"); // a whole line the page must hold

    const QString cell = "            <td width=\"33%\"><font size=\"2\">%1</font></td>";
    // clang-format off
    QTest::newRow("a 0 base without 5.5 bases") << Setup([](Investigator&) {}) << false << cell.arg("<b>Zhaldor Mythos 15%</b>");
    QTest::newRow("no mythos skill") << Setup([](Investigator& inv) { inv.removeEntry(inv.findSkill("Zhaldor Mythos")); }) << true
        << "            <td colspan=\"2\" width=\"50%\">99-Zhaldor Mythos: 99</td>";
    QTest::newRow("markup in a skill name")
        << Setup([](Investigator& inv) { add(inv, std::make_unique<Skill>("<i>Arte & Co", "05", kAllEraFlags), 5).baseValue = 5; })
        << true << cell.arg("&lt;i&gt;Arte &amp; Co 5%");
    // clang-format on
}

void TestHtmlExport::lines()
{
    QFETCH(Setup, setup);
    QFETCH(bool, bases55);
    QFETCH(QString, line);

    Investigator inv = sample();
    setup(inv);
    const QByteArray wanted = "\r\n" + QByteArray::fromStdString(toCp1252(line)) + "\r\n";
    QVERIFY2(page(inv, bases55).contains(wanted), qPrintable(line));
}

void TestHtmlExport::settingAndFile()
{
    Profile::write(profile_keys::kBases55, 0);
    const QString path = m_dir.filePath("ana.html");
    QVERIFY(exportHtml(path.toStdString(), sample()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), page(sample(), false));
    Profile::write(profile_keys::kBases55, 1);
}

void TestHtmlExport::unwritableFile()
{
    QVERIFY(!exportHtml(m_dir.filePath("missing/ana.html").toStdString(), sample()));
    QCOMPARE(m_ui.boxes.size(), size_t(1));
    QCOMPARE(m_ui.boxes.front().text, std::string("Could not open file for output!"));
    QCOMPARE(m_ui.boxes.front().icon, MsgIcon::Error);
}

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "test_html_export.moc"
