#include "wizard/new_investigator_wizard.h"

#include "investigator/new_investigator.h"

namespace vorpane {

// Until the wizard's pages exist, the investigator is rolled as without the wizard.
bool runNewInvestigatorWizard(Investigator& investigator, QWidget*)
{
    rollNewInvestigator(investigator);
    return true;
}

} // namespace vorpane
