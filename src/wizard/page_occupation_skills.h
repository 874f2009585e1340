#pragma once
// CWizard_NewInvestigatorPage4, "Habilidades de profesión": spends the occupation points on the
// occupation's skills (and replaces free choices).

#include "wizard/skill_points_page.h"

namespace vorpane {

class CWizard_NewInvestigatorPage4 final : public SkillPointsPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage4(CWizard_NewInvestigator& wizard);
    void activate() override;
};

} // namespace vorpane
