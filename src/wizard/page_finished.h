#pragma once
// CWizard_NewInvestigatorPage7, "Finalizado": the investigator is ready; Finish tidies it up.

#include "wizard/wizard_page.h"

namespace vorpane {

class CWizard_NewInvestigatorPage7 final : public WizardPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage7(CWizard_NewInvestigator& wizard);

    void activate() override;
    bool finish() override;
};

} // namespace vorpane
