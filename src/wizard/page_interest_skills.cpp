#include "wizard/page_interest_skills.h"

#include "wizard/new_investigator_wizard.h"

namespace vorpane {

CWizard_NewInvestigatorPage5::CWizard_NewInvestigatorPage5(CWizard_NewInvestigator& wizard)
    : SkillPointsPage(wizard, SkillPointMode::Interest,
        { QT_TR_NOOP("Habilidades de interés"),
            QT_TR_NOOP("Reparte los puntos de interés personal entre cualquier habilidad. Haz doble clic en "
                       "una habilidad, o pulsa Intro, para cambiar su valor."),
            QT_TR_NOOP("Ptos Hobby:"),
            "¿Seguro que quieres deshacer la asiganción de puntos de interés?      ",
            "¡Te quedan %d puntos  por repartir!               \n¡No son transferibles y se perderán! "
            "¿Quieres continuar?              " })
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage5"));
}

void CWizard_NewInvestigatorPage5::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::BackButton | CWizard_NewInvestigator::NextButton);
    SkillPointsPage::activate();
}

} // namespace vorpane
