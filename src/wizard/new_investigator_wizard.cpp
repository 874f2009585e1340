#include "wizard/new_investigator_wizard.h"

#include "docview/desk.h"
#include "investigator/investigator.h"
#include "wizard/investigator_info_window.h"
#include "wizard/wizard_pages.h"
#include "wizard/wizard_picture.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace vorpane {

bool runNewInvestigatorWizard(Investigator& investigator, QWidget* parent)
{
    CWizard_NewInvestigator wizard(investigator, parent);
    return wizard.exec() == QDialog::Accepted;
}

namespace {

QFrame* separator(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void clearPointPanes(Desk* desk)
{
    if (desk) {
        desk->setPaneText(Desk::Pane::SkillPoints, {});
        desk->setPaneText(Desk::Pane::Points, {});
    }
}

} // namespace

CWizard_NewInvestigator::CWizard_NewInvestigator(Investigator& target, QWidget* parent)
    : QDialog(parent)
    , m_target(target)
    , m_desk(dynamic_cast<Desk*>(parent))
    , m_snapshot(std::make_unique<Investigator>())
    , m_info(new InvestigatorInfoWindow(this))
    , m_stack(new QStackedWidget(this))
    , m_title(new QLabel(this))
    , m_back(new QPushButton(tr("< A&trás"), this))
    , m_next(new QPushButton(tr("Si&guiente >"), this))
    , m_finish(new QPushButton(tr("&Finalizar"), this))
    , m_cancel(new QPushButton(tr("Cancelar"), this))
{
    setObjectName(QStringLiteral("CWizard_NewInvestigator"));
    setWindowTitle(tr("Nuevo Investigador"));
    setModal(true);

    m_pages = { new CWizard_NewInvestigatorPage1(*this), new CWizard_NewInvestigatorPage2(*this),
        new CWizard_NewInvestigatorPage3(*this), new CWizard_NewInvestigatorPage4(*this),
        new CWizard_NewInvestigatorPage5(*this), new CWizard_NewInvestigatorPage6(*this),
        new CWizard_NewInvestigatorPage7(*this) };
    for (WizardPage* page : m_pages)
        m_stack->addWidget(page);

    m_title->setObjectName(QStringLiteral("PageTitle"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    m_title->setFont(titleFont);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(16, 12, 16, 8);
    content->addWidget(m_title);
    content->addWidget(separator(this));
    content->addWidget(m_stack, 1);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(new WizardPicture(this));
    top->addLayout(content, 1);

    m_back->setObjectName(QStringLiteral("BackButton"));
    m_next->setObjectName(QStringLiteral("NextButton"));
    m_finish->setObjectName(QStringLiteral("FinishButton"));
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton* button : { m_back, m_next, m_finish, m_cancel })
        button->setAutoDefault(false);
    connect(m_back, &QPushButton::clicked, this, &CWizard_NewInvestigator::back);
    connect(m_next, &QPushButton::clicked, this, &CWizard_NewInvestigator::next);
    connect(m_finish, &QPushButton::clicked, this, &CWizard_NewInvestigator::finish);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 8, 12, 12);
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    buttons->addSpacing(12);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top, 1);
    layout->addWidget(separator(this));
    layout->addLayout(buttons);

    setTabOrder(m_stack, m_back);
    setTabOrder(m_back, m_next);
    setTabOrder(m_next, m_finish);
    setTabOrder(m_finish, m_cancel);

    showPage(Characteristics);
}

CWizard_NewInvestigator::~CWizard_NewInvestigator() { clearPointPanes(m_desk); }

void CWizard_NewInvestigator::takeSnapshot() { *m_snapshot = m_target; }

void CWizard_NewInvestigator::restoreSnapshot() { m_target = *m_snapshot; }

void CWizard_NewInvestigator::setWizardButtons(int buttons)
{
    m_back->setEnabled(buttons & BackButton);
    const bool finishing = buttons & FinishButton;
    m_next->setVisible(!finishing);
    m_next->setEnabled(buttons & NextButton);
    m_finish->setVisible(finishing);
    QPushButton* main = finishing ? m_finish : m_next;
    main->setDefault(true);
    (finishing ? m_next : m_finish)->setDefault(false);
}

void CWizard_NewInvestigator::showPage(int index)
{
    if (index < 0 || index >= kPageCount)
        return;
    m_current = index;
    WizardPage* page = m_pages[size_t(index)];
    m_stack->setCurrentWidget(page);
    m_title->setText(page->title());
    if (!m_initialised[size_t(index)]) {
        m_initialised[size_t(index)] = true;
        page->initialise();
    }
    page->activate();
    focusFirstControl();
}

void CWizard_NewInvestigator::focusFirstControl()
{
    WizardPage* page = currentPage();
    if (QWidget* focus = QApplication::focusWidget();
        focus && page->isAncestorOf(focus) && focus->isEnabled())
        return;
    // The first control of the page in Tab order; the whole window's chain is walked once.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled()
            && w->isVisibleTo(page)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    (m_next->isVisible() ? m_next : m_finish)->setFocus(Qt::TabFocusReason);
}

void CWizard_NewInvestigator::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    focusFirstControl();
}

void CWizard_NewInvestigator::done(int result)
{
    if (m_current >= 0)
        currentPage()->leave();
    m_info->hide();
    QDialog::done(result);
}

void CWizard_NewInvestigator::back()
{
    if (!m_back->isEnabled() || m_current <= 0)
        return;
    currentPage()->leave();
    showPage(m_current - 1);
}

void CWizard_NewInvestigator::next()
{
    if (!m_next->isVisible() || !m_next->isEnabled())
        return;
    const int target = currentPage()->next();
    if (target >= 0)
        showPage(target);
}

void CWizard_NewInvestigator::finish()
{
    if (m_finish->isVisible() && currentPage()->finish())
        accept();
}

} // namespace vorpane
