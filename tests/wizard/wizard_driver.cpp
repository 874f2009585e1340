#include "wizard_driver.h"

#include "investigator/new_investigator.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "rules/rule_set_cache.h"
#include "wizard/age_dialog.h"
#include "wizard/drag_swap_edit.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace vorpane::test {

ModalAnswers::ModalAnswers(QWidget* below)
    : m_below(below)
{
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

void ModalAnswers::poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog == m_below || !dialog->isVisible()) {
        m_unanswered = 0;
        return;
    }
    if (m_handlers.empty()) {
        // A dialog nobody answers would hold the test until ctest kills it.
        if (++m_unanswered * m_timer.interval() >= kModalFuseMs) {
            m_unanswered = 0;
            failAndCloseModals(qPrintable("no answer for the dialog " + dialog->objectName()));
        }
        return;
    }
    m_unanswered = 0;
    Handler handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    m_seen << dialog->objectName();
    handler(dialog);
}

WizardDriver::WizardDriver(int era, bool fullWizard, const char* ruleFile, QWidget* parent)
{
    RuleSetCache::instance().clear();
    Profile::writeInt("Wizard", "FullWiz", fullWizard ? 1 : 0);
    setRuleFile(inv, ruleFile);
    inv.Era = era;
    wizard = std::make_unique<CWizard_NewInvestigator>(inv, parent);
    answers = std::make_unique<ModalAnswers>(wizard.get());
    wizard->show();
    wizard->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(wizard.get()));
}

WizardDriver::~WizardDriver()
{
    answers.reset();
    wizard.reset();
}

CWizard_NewInvestigatorPage1& WizardDriver::page1() const
{
    return *static_cast<CWizard_NewInvestigatorPage1*>(
        wizard->page(CWizard_NewInvestigator::Characteristics));
}

CWizard_NewInvestigatorPage2& WizardDriver::page2() const
{
    return *static_cast<CWizard_NewInvestigatorPage2*>(wizard->page(CWizard_NewInvestigator::Occupation));
}

CWizard_NewInvestigatorPage3& WizardDriver::page3() const
{
    return *static_cast<CWizard_NewInvestigatorPage3*>(wizard->page(CWizard_NewInvestigator::Weapons));
}

SkillPointsPage& WizardDriver::skillPage(int index) const
{
    return *static_cast<SkillPointsPage*>(wizard->page(index));
}

CWizard_NewInvestigatorPage6& WizardDriver::page6() const
{
    return *static_cast<CWizard_NewInvestigatorPage6*>(
        wizard->page(CWizard_NewInvestigator::PersonalDetails));
}

void WizardDriver::next() { QTest::mouseClick(wizard->nextButton(), Qt::LeftButton); }

void WizardDriver::back() { QTest::mouseClick(wizard->backButton(), Qt::LeftButton); }

void WizardDriver::setCharacteristics(const RolledCharacteristics& values)
{
    using P = CWizard_NewInvestigatorPage1;
    const int numbers[P::FieldCount]
        = { values.FUE, values.CON, values.POD, values.DES, values.APA, values.TAM, values.INT, values.EDU };
    for (int i = 0; i < P::FieldCount; ++i)
        page1().field(P::Field(i))->setText(QString::number(numbers[i]));
}

void WizardDriver::setAge(int age)
{
    AgeSpinBox* field = page1().ageField();
    field->setFocus();
    field->lineEdit()->setText(QString::number(age));
    wizard->nextButton()->setFocus();
}

void WizardDriver::chooseOccupation(const QString& name)
{
    QComboBox* combo = page2().occupationCombo();
    const int index = combo->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    combo->setCurrentIndex(index);
}

void WizardDriver::goToOccupationSkills(const QString& occupation)
{
    setAge(20);
    next();
    QCOMPARE(page(), int(CWizard_NewInvestigator::Occupation));
    chooseOccupation(occupation);
    next();
    QCOMPARE(page(), int(CWizard_NewInvestigator::Weapons));
    next();
    QCOMPARE(page(), int(CWizard_NewInvestigator::OccupationSkills));
}

void WizardDriver::answerAge(const QString& which)
{
    answers->add([which](QDialog* dialog) {
        auto* age = qobject_cast<AgeDialog*>(dialog);
        QVERIFY(age);
        if (which.isEmpty()) {
            dialog->reject();
            return;
        }
        auto* button = dialog->findChild<QRadioButton*>(which);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        dialog->accept();
    });
}

QString WizardDriver::boxTexts() const { return fromCp1252(fixture.ui.texts()); }

} // namespace vorpane::test
