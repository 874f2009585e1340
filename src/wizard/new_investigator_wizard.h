#pragma once
// The new-investigator wizard, run over the investigator of a new document whose rule file and
// era are set. True when the user finished it; on any other end the caller drops the document.
//
// CWizard_NewInvestigator: a modal dialog with seven pages (characteristics, occupation, weapons,
// occupation skills, interest skills, personal details, finished) that all work directly on the
// target investigator. Back always shows the page before the current one in this order; Next is
// decided by the page (the short mode jumps from the first page to the personal details).

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace vorpane {

class Desk;
class Investigator;
class InvestigatorInfoWindow;
class WizardPage;

bool runNewInvestigatorWizard(Investigator& investigator, QWidget* parent);

class CWizard_NewInvestigator final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPageCount = 7;
    // Page indexes.
    enum Page {
        Characteristics,
        Occupation,
        Weapons,
        OccupationSkills,
        InterestSkills,
        PersonalDetails,
        Finished
    };
    // The wizard buttons a page asks for when it becomes active.
    enum Button { BackButton = 1, NextButton = 2, FinishButton = 4 };

    // A parent that is the main window's desk shows the points left in its status bar.
    explicit CWizard_NewInvestigator(Investigator& target, QWidget* parent = nullptr);
    ~CWizard_NewInvestigator() override;

    Investigator& target() { return m_target; }
    // The status-bar panes of the owner, or null.
    Desk* desk() const { return m_desk; }

    // The copy that the skill pages' Undo goes back to.
    void takeSnapshot();
    void restoreSnapshot();

    // Points not spent yet; set when the characteristics are committed, updated by the skill pages.
    int skillPointsLeft() const { return m_skillPointsLeft; }
    int interestPointsLeft() const { return m_interestPointsLeft; }
    void setSkillPointsLeft(int points) { m_skillPointsLeft = points; }
    void setInterestPointsLeft(int points) { m_interestPointsLeft = points; }

    InvestigatorInfoWindow& infoWindow() { return *m_info; }

    void setWizardButtons(int buttons);
    int currentIndex() const { return m_current; }
    WizardPage* page(int index) const { return m_pages[size_t(index)]; }
    WizardPage* currentPage() const { return page(m_current); }

    QPushButton* backButton() const { return m_back; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* finishButton() const { return m_finish; }
    QPushButton* cancelButton() const { return m_cancel; }

    // The buttons' actions.
    void back();
    void next();
    void finish();

    // Hides the summary window first, so that its place is remembered.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPage(int index);
    void focusFirstControl();

    Investigator& m_target;
    Desk* m_desk;
    std::unique_ptr<Investigator> m_snapshot;
    int m_skillPointsLeft = 0;
    int m_interestPointsLeft = 0;
    std::array<WizardPage*, kPageCount> m_pages {};
    std::array<bool, kPageCount> m_initialised {};
    int m_current = -1;
    InvestigatorInfoWindow* m_info;
    QStackedWidget* m_stack;
    QLabel* m_title;
    QPushButton* m_back;
    QPushButton* m_next;
    QPushButton* m_finish;
    QPushButton* m_cancel;
};

} // namespace vorpane
