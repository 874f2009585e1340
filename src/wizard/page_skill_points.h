#pragma once
// The two skill pages: CWizard_NewInvestigatorPage4, "Habilidades de profesión", spends the
// occupation points on the occupation's skills (and replaces free choices); and
// CWizard_NewInvestigatorPage5, "Habilidades de interés", spends the interest points on any skill.
// Each page takes the wizard's snapshot when shown, which "&Undo" goes back to.

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

class CWizard_NewInvestigatorPage4 final : public SkillPointsPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage4(CWizard_NewInvestigator& wizard);
    void activate() override;
};

class CWizard_NewInvestigatorPage5 final : public SkillPointsPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage5(CWizard_NewInvestigator& wizard);
    void activate() override;
};

} // namespace vorpane
