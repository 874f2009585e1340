#include "wizard/page_finished.h"

#include "investigator/character_creation.h"
#include "wizard/new_investigator_wizard.h"
#include "wizard/wizard_icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vorpane {

CWizard_NewInvestigatorPage7::CWizard_NewInvestigatorPage7(CWizard_NewInvestigator& wizard)
    : WizardPage(wizard, tr("Finalizado"))
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage7"));
    auto* icon = new QLabel(this);
    icon->setPixmap(readyPicture(64));
    icon->setAlignment(Qt::AlignTop);
    auto* ready = new QLabel(tr("¡Tu investigador está listo!"), this);
    ready->setObjectName(QStringLiteral("Ready"));
    QFont bold = ready->font();
    bold.setBold(true);
    ready->setFont(bold);
    auto* advice
        = new QLabel(tr("Deberías gastar algo de tu tiempo creando un pasado para tu personaje. Esto "
                        "puede ayudar  a darle personalidad propia y lo hace más entretenido a la hora "
                        "de jugar."),
            this);
    advice->setObjectName(QStringLiteral("Advice"));
    advice->setWordWrap(true);
    auto* texts = new QVBoxLayout;
    texts->addWidget(ready);
    texts->addSpacing(8);
    texts->addWidget(advice);
    texts->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 16, 0, 0);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addSpacing(12);
    layout->addLayout(texts, 1);
}

void CWizard_NewInvestigatorPage7::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::BackButton | CWizard_NewInvestigator::FinishButton);
}

bool CWizard_NewInvestigatorPage7::finish()
{
    finishNewInvestigator(investigator());
    return true;
}

} // namespace vorpane
