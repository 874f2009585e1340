#pragma once
// CWizard_NewInvestigatorPage5, "Habilidades de interés": spends the interest points on any skill.

#include "wizard/skill_points_page.h"

namespace vorpane {

class CWizard_NewInvestigatorPage5 final : public SkillPointsPage {
    Q_OBJECT
public:
    explicit CWizard_NewInvestigatorPage5(CWizard_NewInvestigator& wizard);
    void activate() override;
};

} // namespace vorpane
