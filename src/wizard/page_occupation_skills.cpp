#include "wizard/page_occupation_skills.h"

#include "wizard/new_investigator_wizard.h"

namespace vorpane {

CWizard_NewInvestigatorPage4::CWizard_NewInvestigatorPage4(CWizard_NewInvestigator& wizard)
    : SkillPointsPage(wizard, SkillPointMode::Occupation,
        { QT_TR_NOOP("Habilidades de profesión"),
            QT_TR_NOOP("Reparte los puntos de profesión entre las habilidades de la profesión (en negrita). "
                       "Haz doble clic en una habilidad, o pulsa Intro, para cambiar su valor."),
            QT_TR_NOOP("Puntos:"), "¿Seguro de deshacer la asiganción de habilidades?   ",
            "¡Te quedan %d puntos por repartir!         \n¡No son transferibles y se perderán! ¿Quieres "
            "continuar?              " })
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage4"));
}

void CWizard_NewInvestigatorPage4::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::NextButton);
    SkillPointsPage::activate();
}

} // namespace vorpane
