// The skill information window (what it says, where it stands) and the skill picker "Elige
// habilidad" in its two modes.

#include "desktop_fixture.h"
#include "investigator/investigator.h"
#include "investigator/new_investigator.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "widgets/skill_info_window.h"
#include "widgets/skill_picker_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <limits>

using namespace vorpane;
using namespace vorpane::test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

Investigator newInvestigator(int era)
{
    Investigator inv;
    createInvestigator(inv, "default.rul", era);
    return inv;
}

// Presses a button of the modal dialog that opens next, after choosing a row.
void answerPicker(const QString& row, bool ok)
{
    whenModal<SkillPickerDialog>([row, ok](SkillPickerDialog& picker) {
        SkillPickerDialog* dialog = &picker;
        if (!row.isEmpty()) {
            const QList<QListWidgetItem*> items = dialog->list()->findItems(row, Qt::MatchStartsWith);
            QVERIFY(!items.isEmpty());
            dialog->list()->setCurrentItem(items.first());
        }
        ok ? dialog->accept() : dialog->reject();
    });
}

} // namespace

class TestSkillWindows : public QObject {
    Q_OBJECT
private slots:
    void describesDefinitions_data();
    void describesDefinitions();
    void customSkillFromInvestigator();
    void basesFollowSetting();
    void positionRemembered();
    void keyboardStaysWithPlayer_data();
    void keyboardStaysWithPlayer();
    void shownOnlyWhenWanted();
    void pickerRows();
    void pickerOccupationMode_data();
    void pickerOccupationMode();
    void pickerPlainModeChangesNothing();
};

void TestSkillWindows::describesDefinitions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("1890s only") << u("Ametralladora de manivela")
                                << QStringList { u("Ametralladora de manivela"),
                                       u("Disponible en los1890s sólo."), "Base: 15",
                                       "Disparos/Asalto: " + u("ráfaga"), u("Daño:   2D6+3"),
                                       "Punt. resis:16", "Balas en arma:  100", "Alcan.:100 m",
                                       "Encallamiento:      95" };
    QTest::newRow("1920s and 1990s") << u("conducir automóvil")
                                     << QStringList { u("Conducir Automóvil"),
                                            u("Disponible en los1920s y en1990s sólo."), "Base: 20" };
    QTest::newRow("hidden weapon, star dropped")
        << u("Puñetazo")
        << QStringList { u("Puñetazo"), "Disponible en toda era ", "Base: 50", "Ataques por Asalto:1",
               u("Daño:   1D3+bd"), "Punt. resis:--" };
    QTest::newRow("special skill") << "Ciencia"
                                   << QStringList { "Ciencia", "Disponible en toda era ", "Base: 01",
                                          "This skill has 3 subskills" };
    QTest::newRow("unknown") << "Nada de nada" << QStringList();
    QTest::newRow("empty") << "" << QStringList();
}

void TestSkillWindows::describesDefinitions()
{
    QFETCH(QString, name);
    DesktopFixture fixture;
    QWidget owner;
    SkillInfoWindow info("default.rul", &owner);
    info.showName(u("Pistola"));
    info.showName(name);
    QTEST(info.lines(), "lines");
}

void TestSkillWindows::customSkillFromInvestigator()
{
    DesktopFixture fixture;
    Investigator inv = newInvestigator(kEraIndex1920s);
    inv.addEntry(std::make_unique<Skill>(cp1252("*Cetrería"), "10", kEraFlag1890s), false);
    SkillInfoWindow info("default.rul", nullptr);
    info.showName(cp1252("Cetrería"));
    QVERIFY(info.lines().isEmpty());
    info.showName(cp1252("Cetrería"), &inv);
    QCOMPARE(info.lines().mid(0, 2), QStringList({ u("Cetrería"), u("Disponible en los1890s sólo.") }));
    // The window keeps its own text when the entry goes.
    inv.removeEntry(inv.findSkill(cp1252("Cetrería")));
    info.show();
    info.repaint();
    QCOMPARE(info.lines().size(), 3);
}

void TestSkillWindows::basesFollowSetting()
{
    DesktopFixture fixture;
    Investigator inv;
    inv.addEntry(std::make_unique<Skill>("Suerte pura", "0", kAllEraFlags), false);
    SkillInfoWindow info("default.rul", nullptr);
    info.showName("Suerte pura", &inv);
    QCOMPARE(info.lines().last(), "Base: 01");
    Profile::writeInt("Sheet", "V5.5Base", 0);
    info.showName("Suerte pura", &inv);
    QCOMPARE(info.lines().last(), "Base: 00");
}

void TestSkillWindows::positionRemembered()
{
    DesktopFixture fixture;
    Profile::writeInt("WindowPos", "SkillInfoX", 40);
    Profile::writeInt("WindowPos", "SkillInfoY", -30);
    {
        SkillInfoWindow info("default.rul", nullptr);
        QCOMPARE(info.geometry().topLeft(), QPoint(40, 0)); // negative raised to 0
        // Moving while hidden is not stored.
        info.move(100, 120);
        QCOMPARE(Profile::readInt("WindowPos", "SkillInfoX", 0), 40);
        info.showInactive();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        info.setGeometry(QRect(QPoint(70, 80), info.size()));
        QTRY_COMPARE(Profile::readInt("WindowPos", "SkillInfoX", 0), 70);
        QCOMPARE(Profile::readInt("WindowPos", "SkillInfoY", 0), 80);
    }
    SkillInfoWindow again("default.rul", nullptr);
    QCOMPARE(again.geometry().topLeft(), QPoint(70, 80));
    // Far off the screen it is pulled back inside, even from the largest values a damaged
    // settings file can hold.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const int far : { 100000, std::numeric_limits<int>::max(), std::numeric_limits<int>::min() }) {
        Profile::writeInt("WindowPos", "SkillInfoX", far);
        Profile::writeInt("WindowPos", "SkillInfoY", far);
        SkillInfoWindow pulled("default.rul", nullptr);
        QVERIFY2(screen.contains(pulled.geometry()), qPrintable(QString::number(far)));
    }
}

void TestSkillWindows::keyboardStaysWithPlayer_data()
{
    QTest::addColumn<bool>("dialogOpen");
    QTest::newRow("main window") << false;
    QTest::newRow("modal dialog open") << true;
}

// A click on an info window must not leave Escape and Return without a receiver.
void TestSkillWindows::keyboardStaysWithPlayer()
{
    QFETCH(bool, dialogOpen);
    DesktopFixture fixture;
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    QDialog dialog(&owner);
    if (dialogOpen) {
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
    SkillInfoWindow info("default.rul", &owner);
    info.showInactive();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    info.activateWindow();
    QWidget* expected = dialogOpen ? static_cast<QWidget*>(&dialog) : &owner;
    QTRY_COMPARE(QApplication::activeWindow(), expected);
}

void TestSkillWindows::shownOnlyWhenWanted()
{
    DesktopFixture fixture;
    SkillInfoWindow info("default.rul", nullptr);
    info.showIfWanted();
    QVERIFY(!info.isVisible());
    SkillInfoWindow::setWanted(true);
    info.showIfWanted();
    QVERIFY(info.isVisible());
    QVERIFY(!info.isActiveWindow());
    SkillInfoWindow::setWanted(false);
    info.showIfWanted();
    QVERIFY(!info.isVisible());
}

void TestSkillWindows::pickerRows()
{
    DesktopFixture fixture;
    Investigator inv = newInvestigator(kEraIndex1920s);
    inv.findSkill("Avistar")->current = 42;
    SkillPickerDialog dialog(inv, SkillPickerMode::Plain, "Elige");
    QCOMPARE(dialog.windowTitle(), "Elige habilidad");
    const QList<QListWidgetItem*> rows = dialog.list()->findItems("Avistar\t", Qt::MatchStartsWith);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first()->text(), "Avistar\t42%");
    // Hidden-base skills are offered in plain mode, not for the occupation; weapons never.
    QCOMPARE(dialog.list()->findItems("Zhaldor Mythos\t", Qt::MatchStartsWith).size(), 1);
    QVERIFY(dialog.list()->findItems(u("Puñetazo"), Qt::MatchStartsWith).isEmpty());
    SkillPickerDialog occupation(inv, SkillPickerMode::Occupation, "Elige");
    QVERIFY(occupation.list()->findItems("Zhaldor Mythos", Qt::MatchStartsWith).isEmpty());
    QVERIFY(occupation.list()->findItems(u("Informática"), Qt::MatchStartsWith).isEmpty()); // 1990s only
}

void TestSkillWindows::pickerOccupationMode_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("marked"); // occupational entries afterwards
    QTest::newRow("plain skill") << "Avistar" << true << 1;
    QTest::newRow("special skill with its three subskills") << "Ciencia" << true << 4;
    QTest::newRow("cancel") << "Avistar" << false << 0;
}

void TestSkillWindows::pickerOccupationMode()
{
    QFETCH(QString, row);
    QFETCH(bool, ok);
    DesktopFixture fixture;
    Investigator inv = newInvestigator(kEraIndex1920s);
    answerPicker(row, ok);
    SkillEntry* chosen = SkillPickerDialog::pick(inv, SkillPickerMode::Occupation, "Elige", nullptr);
    QCOMPARE(chosen != nullptr, ok);
    int marked = 0;
    for (const auto& entry : inv.entries())
        marked += entry->occupational;
    QTEST(marked, "marked");
    if (chosen)
        QCOMPARE(fromCp1252(chosen->name()), row);
}

void TestSkillWindows::pickerPlainModeChangesNothing()
{
    DesktopFixture fixture;
    Investigator inv = newInvestigator(kEraIndex1920s);
    answerPicker("Historia", true);
    SkillEntry* chosen = SkillPickerDialog::pick(inv, SkillPickerMode::Plain, "Elige", nullptr);
    QVERIFY(chosen);
    QCOMPARE(fromCp1252(chosen->name()), "Historia");
    QVERIFY(!chosen->occupational);
}

QTEST_MAIN(TestSkillWindows)
#include "test_skill_windows.moc"
