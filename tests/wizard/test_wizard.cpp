// The new-investigator wizard driven as a user would: its flow (modes, Back, Next, Finish, Cancel,
// the snapshot), the characteristics page (age, education, drag to swap), the occupation, weapons
// and skill pages, personal details, and a whole run checked by the sheet check.

#include "documents/investigator_document.h"
#include "docview/desk.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "investigator/investigator_file.h"
#include "investigator/sheet_check.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/random.h"
#include "shell/main_frame.h"
#include "widgets/skill_picker_dialog.h"
#include "wizard/drag_swap_edit.h"
#include "wizard/investigator_info_window.h"
#include "wizard/optional_skills_dialog.h"
#include "wizard/skill_point_list.h"
#include "wizard_driver.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace vorpane;
using namespace vorpane::test;

namespace {

using P = CWizard_NewInvestigatorPage1;
using W = CWizard_NewInvestigator;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

int occupationalCount(const Investigator& inv)
{
    int count = 0;
    for (const auto& entry : inv.entries())
        count += entry->occupational;
    return count;
}

// The row of the skill-point list whose text starts with name.
int rowStarting(SkillPointList* list, const QString& name)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().startsWith(name))
            return i;
    }
    return -1;
}

// Points spent above the bases, over all entries.
int pointsAboveBase(const Investigator& inv)
{
    int sum = 0;
    for (const auto& entry : inv.entries()) {
        if (entry->kind() != SkillKind::AnySkill && entry->kind() != SkillKind::SpecialSkill)
            sum += entry->current - std::max(entry->baseValue, 0);
    }
    return sum;
}

// Opens the value editor on a row and types a value, committed with Enter.
void typeValue(SkillPointList* list, int row, int value)
{
    QVERIFY(row >= 0);
    QVERIFY(list->openValueEditor(row));
    list->valueEditor()->selectAll();
    QTest::keyClicks(list->valueEditor(), QString::number(value));
    QTest::keyClick(list->valueEditor(), Qt::Key_Return);
}

constexpr RolledCharacteristics kSturdy { 12, 12, 12, 12, 12, 12, 12, 12 };

// A desk of its own: the wizard works with no main window at all.
class FakeDesk final : public QWidget, public Desk {
public:
    QWidget* ownerWindow() override { return this; }
    void setStatusMessage(const QString& text) override { m_message = text; }
    QString statusMessage() const override { return m_message; }
    void setPaneText(Pane pane, const QString& text) override { panes[pane] = text; }
    QComboBox* styleCombo() const override { return nullptr; }
    DocumentView* activeView() const override { return nullptr; }
    Document* activeDocument() const override { return nullptr; }
    DocumentManager& documents() const override { return m_documents; }
    void execute(const QString&) override { }
    void applyToolbarStyle(bool) override { }
    void settingsChanged() override { }

    QMap<Pane, QString> panes;

private:
    QString m_message;
    QMdiArea m_area;
    mutable DocumentManager m_documents { &m_area, this };
};

} // namespace

class TestWizard : public QObject {
    Q_OBJECT
private slots:
    // Flow
    void shortModeLandsOnPersonalDetails();
    void buttonsFollowPageOrder();
    void cancelOrFinishThroughDocumentManager_data();
    void cancelOrFinishThroughDocumentManager();
    void pageOneCommittedOnce();
    void pointPanesOnTheDesk();
    void snapshotRetakenOnReturn();
    void infoWindowAndHint();
    // Characteristics
    void ageCosts_data();
    void ageCosts();
    void tooWeakForAge_data();
    void tooWeakForAge();
    void ageSelectionsAtZero();
    void cancelledAgeDialogKeepsPage();
    void educationAndAgeRules();
    void badCharacteristicRefused_data();
    void badCharacteristicRefused();
    void dragSwaps_data();
    void dragSwaps();
    void passedEducationRollPoints();
    // Occupation, weapons, skill points
    void noOccupations();
    void optionalSkillsLimit();
    void occupationalWeaponRemovedAndAdded();
    void valueEditorRules_data();
    void valueEditorRules();
    void valueEditorKeys();
    void lowerOnInterestPage();
    void budgetsAddUpWalkingBackAndNext();
    void valueEditorCommitsOnLeaving_data();
    void valueEditorCommitsOnLeaving();
    void pointsLeftQuestion_data();
    void pointsLeftQuestion();
    void subskillNamedBeforePoints();
    void freeChoiceReplaced();
    // Details and finish
    void sexMessage_data();
    void sexMessage();
    void detailsShownAgainAfterBack();
    void detailsKeptGoingBack();
    void starEntriesGoneAfterFinish();
    void wholeRunPassesSheetCheck_data();
    void wholeRunPassesSheetCheck();
    void everyControlHasAName();
};

// --- Flow ----------------------------------------------------------------------------------------

void TestWizard::shortModeLandsOnPersonalDetails()
{
    WizardDriver d(kEraIndex1990s, false);
    d.next();
    QCOMPARE(d.page(), int(W::PersonalDetails));
    QCOMPARE(fromCp1252(d.inv.Occupation), "Investigator");
    QCOMPARE(occupationalCount(d.inv), 0);
    // Every skill of the era, at its base.
    QVERIFY(d.inv.findSkill(cp1252("Informática")));
    QVERIFY(!d.inv.findSkill(cp1252("Conducir Carruaje")));
    for (const auto& entry : d.inv.entries())
        QCOMPARE(entry->current, std::max(entry->baseValue, 0));
    QCOMPARE(d.page6().occupationEdit()->text(), "Investigator");
    // Back follows the page order, not the pages seen.
    d.back();
    QCOMPARE(d.page(), int(W::InterestSkills));
}

void TestWizard::buttonsFollowPageOrder()
{
    WizardDriver d;
    const auto buttons = [&d] {
        return QString("%1%2%3")
            .arg(d.wizard->backButton()->isEnabled() ? "B" : "-")
            .arg(d.wizard->nextButton()->isVisible() ? "N" : "-")
            .arg(d.wizard->finishButton()->isVisible() ? "F" : "-");
    };
    QStringList seen;
    d.setAge(20);
    for (int i = 0; i < W::kPageCount; ++i) {
        seen << buttons();
        if (i < W::kPageCount - 1) {
            d.fixture.ui.yesNoAnswers = { true, true, true };
            if (i == 1)
                d.chooseOccupation("Abogado");
            d.next();
        }
    }
    QCOMPARE(seen, QStringList({ "-N-", "BN-", "-N-", "-N-", "BN-", "BN-", "B-F" }));
    QCOMPARE(d.wizard->windowTitle(), "Nuevo Investigador");
}

void TestWizard::cancelOrFinishThroughDocumentManager_data()
{
    QTest::addColumn<bool>("finish");
    QTest::newRow("cancel on the last page") << false;
    QTest::newRow("finish") << true;
}

void TestWizard::cancelOrFinishThroughDocumentManager()
{
    QFETCH(bool, finish);
    DesktopFixture fixture;
    Profile::writeInt("Wizard", "FullWiz", 0);
    fixture.ui.yesNoAnswers = { true, true, true, true };
    CMainFrame frame;
    bool reached = false;
    whenModal<CWizard_NewInvestigator>([&](CWizard_NewInvestigator& wizard) {
        wizard.next(); // short mode: personal details
        wizard.next();
        reached = wizard.currentIndex() == W::Finished;
        finish ? wizard.finish() : wizard.reject();
    });
    Document* document = frame.documents().createInvestigator("default.rul", kEraIndex1920s, true);
    QVERIFY(reached);
    QCOMPARE(document != nullptr, finish);
    QCOMPARE(frame.mdiArea()->subWindowList().size(), finish ? 1 : 0);
    if (document) {
        QCOMPARE(document->title(), "Nueva Ficha PJ  ");
        QVERIFY(document->isModified());
    }
    // The wizard's panes are emptied when it goes; a new investigator's sheet then shows its own.
    const QString panes = document
        ? fromCp1252(static_cast<CInvestigatorDoc*>(document)->model().pointStatus().budgets)
        : QString();
    QCOMPARE(frame.paneText(CMainFrame::Pane::SkillPoints), panes);
}

void TestWizard::pageOneCommittedOnce()
{
    WizardDriver d;
    d.setCharacteristics(kSturdy);
    d.setAge(50);
    d.answerAge("APA");
    d.answerAge("FUE");
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.inv.APA, 11);
    QCOMPARE(d.inv.FUE, 11);
    QVERIFY(d.wizard->infoWindow().isVisible());
    QCOMPARE(d.wizard->infoWindow().lines().first(), "Investigador 1920s");
    d.back();
    QCOMPARE(d.page(), int(W::Characteristics));
    QVERIFY(!d.page1().field(P::APA)->isEnabled());
    QVERIFY(!d.page1().ageField()->isEnabled());
    QVERIFY(!d.page1().rerollButton()->isEnabled());
    QCOMPARE(d.page1().field(P::APA)->text(), "11");
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.answers->seen().size(), 2); // no further age dialog
    QCOMPARE(d.inv.APA, 11);
    QCOMPARE(d.inv.Age, 50);
}

void TestWizard::pointPanesOnTheDesk()
{
    FakeDesk desk;
    {
        WizardDriver d(kEraIndex1920s, true, "default.rul", &desk);
        d.setCharacteristics(kSturdy);
        d.setAge(20);
        d.next();
        QCOMPARE(d.page(), int(W::Occupation));
        QCOMPARE(desk.panes.value(Desk::Pane::SkillPoints),
            QStringLiteral("Skill: %1 Hobby: %2").arg(d.inv.SkillPoints).arg(d.inv.InterestPoints));
    }
    // Closed, the wizard leaves no points on the desk.
    QCOMPARE(desk.panes.value(Desk::Pane::SkillPoints), QString());
}

void TestWizard::snapshotRetakenOnReturn()
{
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    SkillPointList* list4 = d.skillPage(W::OccupationSkills).list();
    const int law = rowStarting(list4, "Derecho");
    typeValue(list4, law, 40);
    QCOMPARE(d.inv.findSkill("Derecho")->current, 40);
    d.fixture.ui.yesNoAnswers = { true };
    d.next();
    QCOMPARE(d.page(), int(W::InterestSkills));
    d.back();
    QCOMPARE(d.page(), int(W::OccupationSkills));
    const int points = d.skillPage(W::OccupationSkills).counter();
    typeValue(list4, rowStarting(list4, "Derecho"), 50);
    QCOMPARE(d.inv.findSkill("Derecho")->current, 50);
    d.fixture.ui.yesNoAnswers = { true };
    QTest::mouseClick(d.skillPage(W::OccupationSkills).undoButton(), Qt::LeftButton);
    QCOMPARE(d.inv.findSkill("Derecho")->current, 40);
    QCOMPARE(d.skillPage(W::OccupationSkills).counter(), points);
    QVERIFY(d.boxTexts().contains(u("¿Seguro de deshacer la asiganción de habilidades?   ")));
}

void TestWizard::infoWindowAndHint()
{
    WizardDriver d;
    // The drag hint is offered once, when the wizard is on the screen.
    QTRY_COMPARE(d.fixture.ui.quickInfoKeys, std::vector<std::string>({ "WizDragSwap" }));
    InvestigatorInfoWindow& info = d.wizard->infoWindow();
    QVERIFY(!info.isVisible());
    d.setAge(20);
    d.next();
    QVERIFY(info.isVisible());
    QVERIFY(d.wizard->isActiveWindow()); // shown without taking the focus
    info.setGeometry(QRect(QPoint(30, 40), info.size()));
    QTRY_COMPARE(Profile::readInt("WindowPos", "InvestigatorInfoX", 0), 30);
    info.hide();
    info.move(200, 200); // moved while hidden: not stored
    QCOMPARE(Profile::readInt("WindowPos", "InvestigatorInfoY", 0), 40);
    InvestigatorInfoWindow again(nullptr);
    QCOMPARE(again.geometry().topLeft(), QPoint(30, 40));
    d.back();
    d.next();
    const auto& keys = d.fixture.ui.quickInfoKeys;
    QCOMPARE(std::count(keys.begin(), keys.end(), "WizDragSwap"), 1);
}

// --- Characteristics -----------------------------------------------------------------------------

void TestWizard::ageCosts_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<bool>("studies");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("storedAge");
    QTest::newRow("40 with extra studies") << 40 << true << 1 << 41;
    QTest::newRow("40") << 40 << false << 0 << 40;
    QTest::newRow("49") << 49 << false << 1 << 49;
    QTest::newRow("50") << 50 << false << 2 << 50;
    QTest::newRow("111") << 111 << false << 8 << 111;
}

void TestWizard::ageCosts()
{
    QFETCH(int, age);
    QFETCH(bool, studies);
    QFETCH(int, points);
    WizardDriver d;
    d.setCharacteristics(kSturdy);
    d.setAge(age);
    d.page1().extraStudiesBox()->setChecked(studies);
    for (int i = 0; i < points; ++i)
        d.answerAge(i % 2 ? "CON" : "DES");
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.answers->seen().size(), points);
    QTEST(d.inv.Age, "storedAge");
    QCOMPARE(d.inv.DES, 12 - (points + 1) / 2);
    QCOMPARE(d.inv.CON, 12 - points / 2);
    QCOMPARE(d.inv.APA + d.inv.FUE, 24);
}

void TestWizard::tooWeakForAge_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("70: four points, too weak") << 70 << 0;
    QTest::newRow("60: three points") << 60 << 3;
}

void TestWizard::tooWeakForAge()
{
    QFETCH(int, age);
    QFETCH(int, dialogs);
    WizardDriver d;
    d.setCharacteristics({ 1, 1, 12, 1, 1, 12, 12, 12 });
    d.setAge(age);
    for (const char* which : { "APA", "CON", "DES" })
        d.answerAge(which);
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.answers->seen().size(), dialogs);
    if (dialogs == 0) {
        QVERIFY(d.boxTexts().startsWith(u("Aviso: ¡Has elegido un personaje tan débil")));
        QCOMPARE(d.inv.APA + d.inv.CON + d.inv.DES + d.inv.FUE, 4);
    } else {
        QCOMPARE(d.inv.APA + d.inv.CON + d.inv.DES + d.inv.FUE, 1);
        QCOMPARE(d.inv.FUE, 1);
    }
}

void TestWizard::ageSelectionsAtZero()
{
    WizardDriver d;
    d.setCharacteristics({ 12, 12, 12, 1, 12, 12, 12, 12 });
    d.setAge(50);
    d.answerAge("DES"); // 1 -> 0, with a notice
    d.answerAge("DES"); // refused, asked again
    d.answerAge("CON");
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.answers->seen().size(), 3);
    QCOMPARE(d.inv.DES, 0);
    QCOMPARE(d.inv.CON, 11);
    const auto& boxes = d.fixture.ui.boxes;
    QCOMPARE(boxes.size(), size_t(2));
    QCOMPARE(fromCp1252(boxes[0].text), "Aviso: DES es ahora 0");
    QCOMPARE(boxes[0].icon, MsgIcon::Information);
    QCOMPARE(fromCp1252(boxes[1].text), "Invalid Selection: DES is at 0");
    QCOMPARE(boxes[1].icon, MsgIcon::Warning);
}

void TestWizard::cancelledAgeDialogKeepsPage()
{
    WizardDriver d;
    d.setCharacteristics(kSturdy);
    d.setAge(60);
    d.answerAge("APA");
    d.answerAge("");
    d.next();
    QCOMPARE(d.page(), int(W::Characteristics));
    QVERIFY(!d.page1().isCommitted());
    QCOMPARE(d.page1().field(P::APA)->text(), "12");
    // The user may try again; the point taken before Cancel is forgotten.
    d.setAge(30);
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.inv.APA, 12);
}

void TestWizard::educationAndAgeRules()
{
    WizardDriver d;
    P& page = d.page1();
    page.canEditBox()->setChecked(true);
    // Turning editing on puts the caret in FUE and stores the choice.
    QCOMPARE(Profile::readInt("Wizard", "Can Edit", 0), 1);
    QCOMPARE(QApplication::focusWidget(), page.field(P::FUE));
    QVERIFY(!page.field(P::FUE)->isReadOnly());
    QLineEdit* edu = page.field(P::EDU);
    edu->selectAll();
    QTest::keyClicks(edu, "10");
    QCOMPARE(page.baseEducation(), 10);
    QCOMPARE(page.ageField()->value(), 16);
    QCOMPARE(page.ageField()->minimum(), 16);
    QCOMPARE(page.ageField()->maximum(), 111);
    QCOMPARE(page.derivedText("Conoc."), "50");
    QCOMPARE(page.derivedText("Habil"), "200");
    // Stepping ten years raises EDU by one; the base stays.
    page.ageField()->setFocus();
    page.ageField()->stepBy(9);
    QCOMPARE(edu->text(), "10");
    page.ageField()->stepBy(1);
    QCOMPARE(edu->text(), "11");
    d.wizard->nextButton()->setFocus();
    QCOMPARE(page.ageField()->value(), 26);
    QCOMPARE(edu->text(), "11");
    QCOMPARE(page.baseEducation(), 10);
    // Too young: back to the youngest age, EDU back to its base.
    d.setAge(5);
    QCOMPARE(page.ageField()->value(), 16);
    QCOMPARE(edu->text(), "10");
    // Enter in the age field commits the EDU of that age.
    page.ageField()->setFocus();
    page.ageField()->lineEdit()->setText("36");
    d.wizard->next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.inv.Age, 36);
    QCOMPARE(d.inv.EDU, 12);
    QCOMPARE(d.inv.SkillPoints, 240);
}

void TestWizard::badCharacteristicRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("100") << "100";
    QTest::newRow("negative") << "-1";
    QTest::newRow("not a number") << "doce";
    QTest::newRow("empty") << "";
}

void TestWizard::badCharacteristicRefused()
{
    QFETCH(QString, text);
    WizardDriver d;
    d.setCharacteristics(kSturdy);
    d.page1().field(P::POD)->setText(text);
    d.next();
    QCOMPARE(d.page(), int(W::Characteristics));
    QVERIFY(!d.page1().isCommitted());
    QVERIFY(d.boxTexts().contains("0 y 99"));
    QCOMPARE(d.inv.POD, 0);
}

void TestWizard::dragSwaps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to"); // -1: the age field
    QTest::newRow("TAM onto INT") << int(P::TAM) << int(P::INT);
    QTest::newRow("FUE onto the age") << int(P::FUE) << -1;
    QTest::newRow("CON onto EDU") << int(P::CON) << int(P::EDU);
}

void TestWizard::dragSwaps()
{
    QFETCH(int, from);
    QFETCH(int, to);
    WizardDriver d;
    d.setCharacteristics({ 10, 11, 12, 13, 14, 15, 16, 17 });
    P& page = d.page1();
    DragSwapEdit* source = page.field(P::Field(from));
    QLineEdit* target = to < 0 ? page.ageField()->lineEdit() : page.field(P::Field(to));
    const QString sourceText = source->text();
    const QString targetText = target->text();
    QTest::mousePress(source, Qt::LeftButton, {}, source->rect().center());
    QTRY_VERIFY(source->isDragging());
    const QPoint over = source->mapFromGlobal(target->mapToGlobal(target->rect().center()));
    QTest::mouseMove(source, over);
    QTest::mouseRelease(source, Qt::LeftButton, {}, over);
    QVERIFY(!source->isDragging());
    QCOMPARE(source->text(), targetText);
    QCOMPARE(target->text(), sourceText);
    QCOMPARE(QApplication::focusWidget(), to < 0 ? static_cast<QWidget*>(page.ageField()) : target);
    // A screen reader hears which two were swapped, on the field the focus lands on.
    const QString sourceName = QAccessible::queryAccessibleInterface(source)->text(QAccessible::Name);
    QVERIFY(!sourceName.isEmpty());
    QVERIFY2(QApplication::focusWidget()->accessibleDescription().contains(sourceName),
        qPrintable(QApplication::focusWidget()->accessibleDescription()));
    if (to == P::EDU) {
        // A swapped-in EDU is the new base.
        QCOMPARE(page.baseEducation(), 11);
        QCOMPARE(page.ageField()->value(), 17);
    }
    if (to == P::INT)
        QCOMPARE(page.derivedText("Idea"), "75");
}

void TestWizard::passedEducationRollPoints()
{
    WizardDriver d;
    // INT 20: a D100 never beats INT x 5.
    d.setCharacteristics({ 12, 12, 12, 12, 12, 12, 20, 12 });
    d.setAge(18);
    d.page1().extraStudiesBox()->setChecked(true);
    d.next();
    QCOMPARE(d.page(), int(W::Occupation));
    QCOMPARE(d.inv.EDU, 13);
    QCOMPARE(d.inv.ExtraSchooling, 2);
    QCOMPARE(d.inv.SkillPoints, 240);
    QCOMPARE(d.inv.InterestPoints, 210);
    QCOMPARE(d.wizard->skillPointsLeft(), 240);
    QCOMPARE(d.wizard->interestPointsLeft(), 210);
    QCOMPARE(d.wizard->infoWindow().lines().last(), "(Tirada de Estudios superada)   ");
}

// --- Occupation, weapons, skill points -----------------------------------------------------------

void TestWizard::noOccupations()
{
    setProgramFolder(toCp1252(qEnvironmentVariable("VORPANE_TEST_DATA") + "/rules"));
    {
        WizardDriver d(kEraIndex1920s, true, "plain.rul");
        d.next();
        QCOMPARE(d.page(), int(W::Occupation));
        QCOMPARE(d.boxTexts(), "Rule File Error: No Occupations!");
        QCOMPARE(d.page2().occupationCombo()->count(), 0);
        QVERIFY(!d.page2().statModsBox()->isEnabled());
        d.next();
        QCOMPARE(d.page(), int(W::Occupation));
    }
    setProgramFolder(toCp1252(qEnvironmentVariable("VORPANE_DATA")));
}

void TestWizard::optionalSkillsLimit()
{
    WizardDriver d;
    d.setAge(20);
    d.next();
    d.chooseOccupation("Artista"); // two of four
    int stays = 0;
    d.answers->add([&stays](QDialog* dialog) {
        auto* optional = qobject_cast<OptionalSkillsDialog*>(dialog);
        QVERIFY(optional);
        QCOMPARE(optional->windowTitle(), "Habilidades opcionales");
        for (int i = 0; i < 3; ++i)
            optional->list()->item(i)->setSelected(true);
        optional->accept();
        stays += optional->isVisible();
        optional->list()->item(0)->setSelected(false);
        optional->accept();
    });
    d.next();
    QCOMPARE(stays, 1);
    QCOMPARE(d.page(), int(W::Weapons));
    QCOMPARE(d.boxTexts(), u("Sólo puedes elegir 2 habilidades para esta profesión como máx."));
    QCOMPARE(d.fixture.ui.boxes[0].icon, MsgIcon::Warning);
    QVERIFY(d.inv.findSkill("Ocultismo")->occupational);
    QVERIFY(!d.inv.findSkill(cp1252("Fotografía"))->occupational);
}

void TestWizard::occupationalWeaponRemovedAndAdded()
{
    WizardDriver d;
    d.setAge(20);
    d.next();
    QCOMPARE(d.page2().occupationCombo()->findText("Cochero"), -1); // 1890s only
    d.chooseOccupation("Agente de policía");
    d.answers->add([](QDialog* dialog) { // one of three
        qobject_cast<OptionalSkillsDialog*>(dialog)->list()->item(0)->setSelected(true);
        dialog->accept();
    });
    d.next();
    QCOMPARE(d.page(), int(W::Weapons));
    CWizard_NewInvestigatorPage3& page = d.page3();
    QListWidget* owned = page.ownedList();
    QCOMPARE(owned->count(), 1);
    QCOMPARE(owned->item(0)->text(), "Porra");
    QVERIFY(page.availableList()->findItems("Porra", Qt::MatchExactly).isEmpty());

    // No keeps it; Yes removes it; added back it is no longer the occupation's.
    owned->setCurrentRow(0);
    d.fixture.ui.yesNoAnswers = { false };
    page.removeSelected();
    QCOMPARE(owned->count(), 1);
    d.fixture.ui.yesNoAnswers = { true };
    page.removeSelected();
    QCOMPARE(owned->count(), 0);
    QVERIFY(!d.inv.findSkill("Porra"));
    QVERIFY(d.boxTexts().contains(u("Es una arma de profesión.")));
    QListWidget* available = page.availableList();
    available->setCurrentItem(available->findItems("Porra", Qt::MatchExactly).first());
    page.addSelected();
    QVERIFY(d.inv.findSkill("Porra"));
    QVERIFY(!d.inv.findSkill("Porra")->occupational);
    QCOMPARE(d.inv.findSkill("Porra")->current, 25);

    d.next();
    SkillPointList* list = d.skillPage(W::OccupationSkills).list();
    QCOMPARE(rowStarting(list, "Porra"), -1);
    QVERIFY(rowStarting(list, "Pistola") >= 0);
}

void TestWizard::valueEditorRules_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("counter");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("beeps");
    // Derecho has base 5.
    QTest::newRow("more than the points") << 5 << 50 << 80 << 55 << 0 << 1;
    QTest::newRow("below the base") << 20 << 10 << 2 << 5 << 25 << 1;
    QTest::newRow("within the points") << 5 << 50 << 30 << 30 << 25 << 0;
}

void TestWizard::valueEditorRules()
{
    QFETCH(int, current);
    QFETCH(int, counter);
    QFETCH(int, typed);
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    SkillPointList* list = d.skillPage(W::OccupationSkills).list();
    SkillEntry* law = d.inv.findSkill("Derecho");
    QCOMPARE(law->baseValue, 5);
    law->current = current;
    list->setCounter(counter);
    typeValue(list, rowStarting(list, "Derecho"), typed);
    QTEST(law->current, "value");
    QTEST(list->counter(), "left");
    QTEST(d.fixture.dialogs.beeps, "beeps");
    QTEST(d.skillPage(W::OccupationSkills).counter(), "left");
}

void TestWizard::valueEditorKeys()
{
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    SkillPointList* list = d.skillPage(W::OccupationSkills).list();
    QCOMPARE(QApplication::focusWidget(), list); // the page opens with the list in hand
    const int first = 0;
    QVERIFY(list->openValueEditor(first));
    QTest::keyClick(list->valueEditor(), Qt::Key_Up);
    QCOMPARE(d.fixture.dialogs.beeps, 1); // no row above
    QCOMPARE(list->editedRow(), first);
    QTest::keyClick(list->valueEditor(), Qt::Key_Down);
    QCOMPARE(list->editedRow(), first + 1);
    QCOMPARE(list->currentRow(), first + 1);
    // Esc closes without taking the typed value.
    const int before = list->entryAt(first + 1)->current;
    list->valueEditor()->selectAll();
    QTest::keyClicks(list->valueEditor(), "77");
    QTest::keyClick(list->valueEditor(), Qt::Key_Escape);
    QCOMPARE(list->editedRow(), -1);
    QCOMPARE(list->entryAt(first + 1)->current, before);
    // The list keeps the keyboard: Enter opens the editor again.
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(list->editedRow(), first + 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(d.page(), int(W::OccupationSkills)); // Esc did not cancel the wizard
    QVERIFY(d.wizard->isVisible());
    // Enter on the last row commits and closes.
    const int last = list->count() - 1;
    QVERIFY(list->openValueEditor(last));
    list->valueEditor()->selectAll();
    QTest::keyClicks(list->valueEditor(), QString::number(list->entryAt(last)->current + 1));
    QTest::keyClick(list->valueEditor(), Qt::Key_Return);
    QCOMPARE(list->editedRow(), -1);
    QCOMPARE(d.page(), int(W::OccupationSkills)); // Enter did not press Next
}

void TestWizard::lowerOnInterestPage()
{
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    SkillPointList* list4 = d.skillPage(W::OccupationSkills).list();
    typeValue(list4, rowStarting(list4, "Derecho"), 45);
    d.fixture.ui.yesNoAnswers = { true };
    d.next();
    QCOMPARE(d.page(), int(W::InterestSkills));
    SkillPointList* list5 = d.skillPage(W::InterestSkills).list();
    const int interest = list5->counter();
    QCOMPARE(interest, d.inv.InterestPoints);
    typeValue(list5, rowStarting(list5, "Derecho"), 5);
    QCOMPARE(d.inv.findSkill("Derecho")->current, 5);
    QCOMPARE(list5->counter(), interest + 40);
    QCOMPARE(d.fixture.dialogs.beeps, 0);
}

void TestWizard::budgetsAddUpWalkingBackAndNext()
{
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    const int before = pointsAboveBase(d.inv);
    const int occupation = d.inv.SkillPoints;
    const int interest = d.inv.InterestPoints;
    SkillPointsPage& page4 = d.skillPage(W::OccupationSkills);
    SkillPointsPage& page5 = d.skillPage(W::InterestSkills);
    typeValue(page4.list(), rowStarting(page4.list(), "Derecho"), 45);
    d.fixture.ui.yesNoAnswers = { true };
    d.next();
    QCOMPARE(page5.counter(), interest);
    typeValue(page5.list(), rowStarting(page5.list(), "Derecho"), 65);
    const int other = rowStarting(page5.list(), "Contabilidad");
    const int otherValue = page5.list()->entryAt(other)->current;
    typeValue(page5.list(), other, otherValue + 10);
    QCOMPARE(page5.counter(), interest - 30);

    d.back();
    QCOMPARE(page4.counter(), occupation - 40);
    // The interest points on Derecho stay: page 4 goes down only to 5 + 20.
    typeValue(page4.list(), rowStarting(page4.list(), "Derecho"), 5);
    QCOMPARE(d.inv.findSkill("Derecho")->current, 25);
    QCOMPARE(page4.counter(), occupation);
    QCOMPARE(d.fixture.dialogs.beeps, 1);
    // Undo goes back to the return, with page 5's points.
    d.fixture.ui.yesNoAnswers = { true };
    QTest::mouseClick(page4.undoButton(), Qt::LeftButton);
    QCOMPARE(d.inv.findSkill("Derecho")->current, 65);
    QCOMPARE(page4.counter(), occupation - 40);
    d.fixture.ui.yesNoAnswers = { true };
    d.next();
    QCOMPARE(d.page(), int(W::InterestSkills));
    QCOMPARE(page5.counter(), interest - 30);

    // Everything left goes on one skill; more than that is refused.
    const int row = rowStarting(page5.list(), "Contabilidad");
    typeValue(page5.list(), row, 999);
    QCOMPARE(page5.counter(), 0);
    QCOMPARE(page5.list()->entryAt(row)->current, otherValue + 10 + interest - 30);
    d.next();
    QCOMPARE(d.page(), int(W::PersonalDetails));
    QCOMPARE(d.wizard->skillPointsLeft(), occupation - 40);
    QCOMPARE(d.wizard->interestPointsLeft(), 0);
    QCOMPARE(pointsAboveBase(d.inv) - before, 40 + interest);
}

void TestWizard::valueEditorCommitsOnLeaving_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : { "Enter", "Tab", "Shift+Tab", "click on another row", "Next", "Back", "close" })
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestWizard::valueEditorCommitsOnLeaving()
{
    QFETCH(QString, how);
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    d.next();
    QCOMPARE(d.page(), int(W::InterestSkills));
    SkillPointsPage& page = d.skillPage(W::InterestSkills);
    SkillPointList* list = page.list();
    const int interest = page.counter();
    const int row = rowStarting(list, "Derecho");
    typeValue(list, row, 25);
    QCOMPARE(page.counter(), interest - 20);
    // Below the base of 5: floored, the 20 points back, a beep.
    QVERIFY(list->openValueEditor(row));
    list->valueEditor()->selectAll();
    QTest::keyClicks(list->valueEditor(), "2");
    QSpinBox* editor = list->valueEditor();
    d.fixture.ui.yesNoAnswers = { true }; // Next: yes, the points left may go
    if (how == "Enter")
        QTest::keyClick(editor, Qt::Key_Return);
    else if (how == "Tab")
        QTest::keyClick(editor, Qt::Key_Tab);
    else if (how == "Shift+Tab")
        QTest::keyClick(editor, Qt::Key_Tab, Qt::ShiftModifier);
    else if (how == "click on another row")
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row + 1)).center());
    else if (how == "Next")
        d.next();
    else if (how == "Back")
        d.back();
    else
        d.wizard->close();
    QCOMPARE(d.inv.findSkill("Derecho")->current, 5);
    QVERIFY(list->editedRow() != row); // Enter goes on to the next row
    QCOMPARE(d.fixture.dialogs.beeps, 1);
    if (how == "Next" || how == "Back" || how == "close")
        QCOMPARE(d.wizard->interestPointsLeft(), interest);
    else
        QCOMPARE(page.counter(), interest);
}

void TestWizard::pointsLeftQuestion_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("answer");
    QTest::newRow("nothing left asks nothing") << 0 << false;
    QTest::newRow("12 left, No stays") << 12 << false;
    QTest::newRow("12 left, Yes goes on") << 12 << true;
}

void TestWizard::pointsLeftQuestion()
{
    QFETCH(int, left);
    QFETCH(bool, answer);
    WizardDriver d;
    d.goToOccupationSkills("Abogado");
    d.skillPage(W::OccupationSkills).list()->setCounter(left);
    d.fixture.ui.yesNoAnswers = { answer };
    d.next();
    const bool asked = left > 0;
    QCOMPARE(int(d.fixture.ui.boxes.size()), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(d.boxTexts(),
            u("¡Te quedan 12 puntos por repartir!         \n¡No son transferibles y se perderán! ¿Quieres "
              "continuar?              "));
        QCOMPARE(d.fixture.ui.boxes[0].buttons, MsgButtons::YesNoDefaultNo);
    }
    const bool goesOn = !asked || answer;
    QCOMPARE(d.page(), int(goesOn ? W::InterestSkills : W::OccupationSkills));
    if (goesOn)
        QCOMPARE(d.wizard->skillPointsLeft(), left);
    // The totals stay those of the first page.
    QCOMPARE(d.inv.SkillPoints, d.inv.EDU * 20);
}

void TestWizard::subskillNamedBeforePoints()
{
    WizardDriver d;
    d.goToOccupationSkills("Archivero"); // "Lengua Extranjera" without a note
    SkillPointList* list = d.skillPage(W::OccupationSkills).list();
    const int row = rowStarting(list, "Lengua Extranjera: \t");
    QVERIFY(row >= 0);
    QVERIFY(!list->openValueEditor(row));
    // Even a click on the value opens the name editor.
    list->editRow(row, list->viewport()->width() - 5);
    QCOMPARE(list->editedRow(), row);
    QVERIFY(list->nameEditor()->isVisible());
    QVERIFY(!list->valueEditor()->isVisible());
    QVERIFY(list->nameEditor()->findText(u("Francés")) >= 0); // from the options list
    list->nameEditor()->setEditText(u("Francés"));
    QTest::keyClick(list->nameEditor(), Qt::Key_Return);
    QCOMPARE(list->editedRow(),
        row + 1 < list->count() && list->entryAt(row + 1)->kind() == SkillKind::SubSkill ? row + 1 : -1);
    list->cancelEditing();
    QCOMPARE(fromCp1252(list->entryAt(row)->name()), u("Francés"));
    QVERIFY(list->openValueEditor(row));
    list->cancelEditing();
}

void TestWizard::freeChoiceReplaced()
{
    WizardDriver d;
    d.goToOccupationSkills("Archivero"); // ends with a free choice
    SkillPointList* list = d.skillPage(W::OccupationSkills).list();
    const int row = rowStarting(list, "(free choice)");
    QVERIFY(row >= 0);
    QVERIFY(!list->openValueEditor(row));
    d.answers->add([](QDialog* dialog) {
        auto* picker = qobject_cast<SkillPickerDialog*>(dialog);
        QVERIFY(picker);
        const auto rows = picker->list()->findItems("Buceo\t", Qt::MatchStartsWith);
        QCOMPARE(rows.size(), 1);
        picker->list()->setCurrentItem(rows.first());
        picker->accept();
    });
    list->editRow(row);
    QCOMPARE(rowStarting(list, "(free choice)"), -1);
    QVERIFY(rowStarting(list, "Buceo") >= 0);
    QVERIFY(d.inv.findSkill("Buceo")->occupational);
}

// --- Details and finish --------------------------------------------------------------------------

void TestWizard::sexMessage_data()
{
    QTest::addColumn<QString>("sex");
    QTest::addColumn<bool>("message");
    QTest::newRow("Yes") << "Yes" << true;
    QTest::newRow("yeti") << "yeti" << true;
    QTest::newRow("M") << "M" << false;
    QTest::newRow("empty") << "" << false;
}

void TestWizard::sexMessage()
{
    QFETCH(QString, sex);
    QFETCH(bool, message);
    WizardDriver d(kEraIndex1920s, false);
    d.next();
    QCOMPARE(d.page(), int(W::PersonalDetails));
    d.page6().sexEdit()->setText(sex);
    d.next();
    QCOMPARE(d.page(), int(W::Finished));
    QCOMPARE(fromCp1252(d.inv.Sex), sex);
    QCOMPARE(d.fixture.ui.boxes.size(), size_t(message ? 1 : 0));
    if (message) {
        QCOMPARE(d.boxTexts(), "\"" + sex + "\" for sex - you couldn't resist it, could you?\n\n:-)");
        QCOMPARE(d.fixture.ui.boxes[0].icon, MsgIcon::None);
    }
}

void TestWizard::detailsShownAgainAfterBack()
{
    WizardDriver d(kEraIndex1920s, false);
    d.next();
    CWizard_NewInvestigatorPage6& page = d.page6();
    QTest::mouseClick(page.randomNameButton(), Qt::LeftButton);
    QVERIFY(!page.nameEdit()->text().isEmpty());
    QVERIFY(page.sexEdit()->text() == "M" || page.sexEdit()->text() == "F");
    page.occupationEdit()->setText(u("Cazador de reliquias"));
    page.birthplaceCombo()->setEditText("Cuenca");
    QVERIFY(page.birthplaceCombo()->count() > 0); // suggestions from the options list
    d.fixture.dialogs.openFiles = { { d.fixture.path("retrato.png") } };
    QTest::mouseClick(page.findChild<QPushButton*>("Browse"), Qt::LeftButton);
    QCOMPARE(page.portraitEdit()->text(), d.fixture.path("retrato.png"));
    QVERIFY(d.fixture.dialogs.captions.size() == 1);
    const QString name = page.nameEdit()->text();
    d.next();
    QVERIFY(d.fixture.ui.boxes.empty());
    page.nameEdit()->setText("Otro");
    d.back();
    QCOMPARE(page.nameEdit()->text(), name);
    QCOMPARE(page.occupationEdit()->text(), u("Cazador de reliquias"));
    QCOMPARE(page.birthplaceCombo()->currentText(), "Cuenca");
    QCOMPARE(fromCp1252(d.inv.Portrait), d.fixture.path("retrato.png"));
}

void TestWizard::detailsKeptGoingBack()
{
    WizardDriver d(kEraIndex1920s, false);
    d.next();
    CWizard_NewInvestigatorPage6& page = d.page6();
    page.nameEdit()->setText(u("Hortensia Vidal"));
    page.birthplaceCombo()->setEditText("Cuenca");
    d.fixture.dialogs.openFiles = { { d.fixture.path("retrato.png") } };
    QTest::mouseClick(page.findChild<QPushButton*>("Browse"), Qt::LeftButton);
    QVERIFY(page.clearPortraitButton()->isEnabled());
    d.back();
    QCOMPARE(d.page(), int(W::InterestSkills));
    d.next();
    QCOMPARE(page.nameEdit()->text(), u("Hortensia Vidal"));
    QCOMPARE(page.birthplaceCombo()->currentText(), "Cuenca");
    QCOMPARE(page.portraitEdit()->text(), d.fixture.path("retrato.png"));
    QTest::mouseClick(page.clearPortraitButton(), Qt::LeftButton);
    QVERIFY(!page.clearPortraitButton()->isEnabled());
    d.next();
    QVERIFY(d.inv.Portrait.empty());
}

void TestWizard::starEntriesGoneAfterFinish()
{
    WizardDriver d;
    d.answers->add([](QDialog* dialog) {
        qobject_cast<OptionalSkillsDialog*>(dialog)->list()->item(1)->setSelected(true);
        dialog->accept();
    });
    d.goToOccupationSkills("Estudiante universitario"); // two free choices and a subset
    QVERIFY(d.inv.findSkill("*"));
    d.inv.addEntry(std::make_unique<Skill>("*", "0", kAllEraFlags), false);
    d.fixture.ui.yesNoAnswers = { true, true };
    d.next();
    d.next();
    d.next();
    QCOMPARE(d.page(), int(W::Finished));
    QTest::mouseClick(d.wizard->finishButton(), Qt::LeftButton);
    QCOMPARE(d.wizard->result(), int(QDialog::Accepted));
    const auto names = [&d] {
        QStringList list;
        for (const SkillEntry* entry : d.inv.skills())
            list << fromCp1252(entry->name());
        return list;
    };
    for (const auto& entry : d.inv.entries()) {
        QVERIFY(entry->kind() != SkillKind::AnySkill);
        QVERIFY(entry->kind() == SkillKind::SubSkill || (!entry->name().empty() && entry->name() != "*"));
    }
    // Already sorted: sorting again changes nothing.
    const QStringList finished = names();
    d.inv.sort();
    QCOMPARE(names(), finished);
}

void TestWizard::wholeRunPassesSheetCheck_data()
{
    QTest::addColumn<QString>("ruleFile");
    QTest::addColumn<int>("era");
    QTest::addColumn<QString>("occupation"); // empty: the combo's random first choice
    QTest::newRow("1890s") << "default.rul" << kEraIndex1890s << "";
    QTest::newRow("1920s, a journalist") << "default.rul" << kEraIndex1920s << "Periodista";
    QTest::newRow("1990s") << "default.rul" << kEraIndex1990s << "";
    QTest::newRow("expeditions, 1890s") << "expediciones.rul" << kEraIndex1890s << "";
    QTest::newRow("expeditions, 1920s") << "expediciones.rul" << kEraIndex1920s << "";
}

void TestWizard::wholeRunPassesSheetCheck()
{
    QFETCH(QString, ruleFile);
    QFETCH(int, era);
    QFETCH(QString, occupation);
    seedRandom(1920 + era);
    const QByteArray rules = ruleFile.toLatin1();
    WizardDriver d(era, true, rules.constData());
    d.setAge(25);
    d.next();
    if (!occupation.isEmpty())
        d.chooseOccupation(occupation);
    const QString chosen = d.page2().occupationCombo()->currentText();
    // Whatever the occupation asks: the first optional skills, yes to its questions.
    d.fixture.ui.yesNoAnswers = { true, true, true, true };
    d.answers->add([](QDialog* dialog) {
        if (auto* optional = qobject_cast<OptionalSkillsDialog*>(dialog))
            optional->list()->item(0)->setSelected(true);
        dialog->accept();
    });
    d.next();
    QCOMPARE(d.page(), int(W::Weapons));
    d.page3().availableList()->setCurrentRow(0);
    d.page3().addSelected();
    d.next();

    // Spend every point: each row gets what is left until the counter is empty.
    for (int index : { int(W::OccupationSkills), int(W::InterestSkills) }) {
        QCOMPARE(d.page(), index);
        SkillPointList* list = d.skillPage(index).list();
        for (int row = 0; row < list->count() && list->counter() > 0; ++row) {
            SkillEntry* entry = list->entryAt(row);
            if (entry->kind() == SkillKind::AnySkill
                || (entry->kind() == SkillKind::SubSkill && entry->name().empty()))
                continue;
            typeValue(list, row, std::min(entry->current + list->counter(), 90));
        }
        QCOMPARE(list->counter(), 0);
        d.next();
    }
    QCOMPARE(d.page(), int(W::PersonalDetails));
    QTest::mouseClick(d.page6().randomNameButton(), Qt::LeftButton);
    d.next();
    QTest::mouseClick(d.wizard->finishButton(), Qt::LeftButton);
    QCOMPARE(d.wizard->result(), int(QDialog::Accepted));

    const std::string path = toCp1252(d.fixture.path("finished.inv"));
    QVERIFY(InvestigatorFile::save(path, d.inv, {}));
    Investigator saved;
    std::string script;
    QVERIFY(InvestigatorFile::load(path, saved, script));
    d.fixture.ui.reset();
    QCOMPARE(checkSheet(saved), 0);
    QCOMPARE(fromCp1252(saved.Occupation), chosen);
    QCOMPARE(saved.Era, era);
    QVERIFY(!saved.Name.empty());
}

// What a screen reader says on each control of each page, the point editors of the skill pages
// and the swapped characteristics included.
void TestWizard::everyControlHasAName()
{
    WizardDriver d;
    d.setAge(20);
    for (int i = 0; i < W::kPageCount; ++i) {
        QCOMPARE(d.page(), i);
        QStringList unnamed = unnamedControls(d.wizard.get());
        if (i == W::OccupationSkills || i == W::InterestSkills) {
            SkillPointList* list = d.skillPage(i).list();
            QVERIFY(list->openValueEditor(rowStarting(list, "Derecho")));
            unnamed += unnamedControls(d.wizard.get());
            QTest::keyClick(list->valueEditor(), Qt::Key_Escape);
        }
        unnamed.removeDuplicates();
        QVERIFY2(unnamed.isEmpty(), qPrintable(QString("page %1: %2").arg(i).arg(unnamed.join(", "))));
        if (i < W::kPageCount - 1) {
            d.fixture.ui.yesNoAnswers = { true, true, true };
            if (i == W::Occupation)
                d.chooseOccupation("Abogado");
            d.next();
        }
    }
}

QTEST_MAIN(TestWizard)
#include "test_wizard.moc"
