#include "wizard/skill_points_page.h"

#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "wizard/investigator_info_window.h"
#include "wizard/new_investigator_wizard.h"
#include "wizard/skill_point_list.h"
#include "wizard/wizard_icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

SkillPointsPage::SkillPointsPage(CWizard_NewInvestigator& wizard, SkillPointMode mode, const Texts& texts)
    : WizardPage(wizard, tr(texts.title))
    , m_mode(mode)
    , m_texts(texts)
    , m_list(new SkillPointList(this))
    , m_counter(new QLabel(this))
    , m_undo(new QToolButton(this))
{
    auto* intro = new QLabel(tr(texts.intro), this);
    intro->setWordWrap(true);
    m_list->setAccessibleName(tr(texts.title));
    m_list->setAccessibleDescription(intro->text());
    auto* counterLabel = new QLabel(tr(texts.counterLabel), this);
    m_counter->setObjectName(QStringLiteral("Counter"));
    QFont bold = m_counter->font();
    bold.setBold(true);
    m_counter->setFont(bold);
    m_counter->setMinimumWidth(m_counter->fontMetrics().horizontalAdvance(QStringLiteral("99999")));
    m_undo->setObjectName(QStringLiteral("Undo"));
    m_undo->setText(tr("&Undo"));
    m_undo->setIcon(undoIcon());
    m_undo->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_undo->setToolTip(tr("Deshacer lo repartido desde que se entró en esta página"));
    connect(m_undo, &QToolButton::clicked, this, &SkillPointsPage::undo);
    connect(m_list, &SkillPointList::counterChanged, this,
        [this](int points) { m_counter->setText(QString::number(points)); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(counterLabel);
    bottom->addWidget(m_counter);
    bottom->addStretch(1);
    bottom->addWidget(m_undo);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);
}

int SkillPointsPage::counter() const { return m_list->counter(); }

int SkillPointsPage::pointsLeft() const
{
    return m_mode == SkillPointMode::Occupation ? wizard().skillPointsLeft() : wizard().interestPointsLeft();
}

void SkillPointsPage::storePointsLeft(int points)
{
    if (m_mode == SkillPointMode::Occupation)
        wizard().setSkillPointsLeft(points);
    else
        wizard().setInterestPointsLeft(points);
}

void SkillPointsPage::initialise() { m_list->setUp(investigator(), m_mode); }

void SkillPointsPage::activate()
{
    m_list->setCounter(pointsLeft());
    wizard().takeSnapshot();
    m_list->refill();
}

void SkillPointsPage::undo()
{
    if (!askYesNo(cp1252(m_texts.undoQuestion)))
        return;
    m_list->cancelEditing();
    wizard().restoreSnapshot();
    // The copy orders its entries by kind; the list shows them by name as before.
    investigator().sort();
    m_list->setCounter(pointsLeft());
    m_list->refill();
}

int SkillPointsPage::next()
{
    m_list->commitEditing();
    const int points = m_list->counter();
    if (points > 0) {
        std::string question = cp1252(m_texts.pointsLeftQuestion);
        const size_t mark = question.find("%d");
        if (mark != std::string::npos)
            question.replace(mark, 2, std::to_string(points));
        if (ui().messageBox(question, {}, MsgIcon::Warning, MsgButtons::YesNoDefaultNo) != MsgResult::Yes)
            return -1;
    }
    storePointsLeft(points);
    wizard().infoWindow().refresh();
    return WizardPage::next();
}

void SkillPointsPage::leave()
{
    m_list->commitEditing();
    storePointsLeft(m_list->counter());
}

} // namespace vorpane
