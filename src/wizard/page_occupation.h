#pragma once
// CWizard_NewInvestigatorPage2, "Profesión": the occupation (one drawn at random to start with)
// and whether its characteristic modifier script runs. Next gives the investigator the rule
// file's skills, marks the occupation's, and runs the script.

#include "wizard/wizard_page.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;

namespace vorpane {

class RuleSet;

class CWizard_NewInvestigatorPage2 final : public WizardPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage2(CWizard_NewInvestigator& wizard);
    ~CWizard_NewInvestigatorPage2() override;

    void initialise() override;
    void activate() override;
    int next() override;

    QComboBox* occupationCombo() const { return m_combo; }
    QCheckBox* statModsBox() const { return m_statMods; }

private:
    void occupationChanged();

    std::shared_ptr<const RuleSet> m_rules;
    QComboBox* m_combo;
    QCheckBox* m_statMods;
    QLabel* m_skills;
};

} // namespace vorpane
