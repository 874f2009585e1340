#pragma once
// SkillPointsPage: what the two skill pages share (page_occupation_skills.h, page_interest_skills.h):
// a list of skills to spend points on, the points left, and the wizard's snapshot taken when the
// page is shown, which "&Undo" goes back to.

#include "investigator/skill_choice.h"
#include "wizard/wizard_page.h"

class QLabel;
class QToolButton;

namespace vorpane {

class SkillPointList;

class SkillPointsPage : public WizardPage {
    Q_OBJECT
public:
    void initialise() override;
    void activate() override;
    int next() override;
    // The counter is kept going back too, so that coming forward again shows what is left.
    void leave() override;

    // "&Undo" (asks first).
    void undo();

    SkillPointList* list() const { return m_list; }
    QToolButton* undoButton() const { return m_undo; }
    int counter() const;

protected:
    struct Texts {
        const char* title;
        const char* intro;
        const char* counterLabel;
        const char* undoQuestion;
        const char* pointsLeftQuestion; // %d: the points
    };
    SkillPointsPage(CWizard_NewInvestigator& wizard, SkillPointMode mode, const Texts& texts);

private:
    int pointsLeft() const;
    void storePointsLeft(int points);

    SkillPointMode m_mode;
    Texts m_texts;
    SkillPointList* m_list;
    QLabel* m_counter;
    QToolButton* m_undo;
};

} // namespace vorpane
