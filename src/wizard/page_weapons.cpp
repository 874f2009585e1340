#include "wizard/page_weapons.h"

#include "docview/accessible_name.h"
#include "investigator/base_formula.h"
#include "investigator/investigator.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/rule_set_cache.h"
#include "widgets/skill_info_window.h"
#include "wizard/new_investigator_wizard.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

constexpr const char* kCannotFind = "Error: Unable to locate weapon!";
constexpr const char* kCannotRemove = "Error: Could not remove skill";
constexpr const char* kRemoveOccupational
    = "¿Seguro que quieres quitar esta arma?       \nEs una arma de profesión. Si vuelves a añadirla después "
      "de "
      "quitarla, no podrás asignarle puntos de habilidades de profesión.        ";

bool isWeapon(const SkillDef& def)
{
    return def.kind() == SkillKind::Firearm || def.kind() == SkillKind::Melee;
}

// The row holding exactly this text, or -1.
int rowOf(const QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text)
            return i;
    }
    return -1;
}

QString selectedText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

} // namespace

CWizard_NewInvestigatorPage3::CWizard_NewInvestigatorPage3(CWizard_NewInvestigator& wizard)
    : WizardPage(wizard, tr("Armas"))
    , m_available(new QListWidget(this))
    , m_owned(new QListWidget(this))
    , m_add(new QPushButton(tr("&Añadir"), this))
    , m_remove(new QPushButton(tr("&Quitar"), this))
    , m_info(new QToolButton(this))
{
    setObjectName(QStringLiteral("CWizard_NewInvestigatorPage3"));
    m_available->setObjectName(QStringLiteral("AvailableWeapons"));
    m_owned->setObjectName(QStringLiteral("InvestigatorWeapons"));
    m_add->setObjectName(QStringLiteral("AddWeapon"));
    m_remove->setObjectName(QStringLiteral("RemoveWeapon"));
    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setText(tr("&Info"));
    m_info->setIcon(QIcon(FloatingInfoWindow::infoIcon(20)));
    m_info->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_info->setCheckable(true);
    m_info->setToolTip(tr("Mostrar u ocultar la descripción del arma elegida"));
    m_info->setChecked(SkillInfoWindow::wanted());

    auto* availableLabel = new QLabel(tr("Armas &disponibles:"), this);
    nameAfterLabel(m_available, availableLabel);
    auto* ownedLabel = new QLabel(tr("&Armas del investigador:"), this);
    nameAfterLabel(m_owned, ownedLabel);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    buttons->addWidget(m_info);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 8, 0, 0);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(m_available, 1, 0);
    grid->addWidget(ownedLabel, 2, 0);
    grid->addWidget(m_owned, 3, 0);
    grid->addLayout(buttons, 1, 1, 3, 1);
    grid->setRowStretch(1, 3);
    grid->setRowStretch(3, 2);

    setTabOrder(m_available, m_add);
    setTabOrder(m_add, m_remove);
    setTabOrder(m_remove, m_owned);
    setTabOrder(m_owned, m_info);

    connect(m_add, &QPushButton::clicked, this, &CWizard_NewInvestigatorPage3::addSelected);
    connect(m_remove, &QPushButton::clicked, this, &CWizard_NewInvestigatorPage3::removeSelected);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &CWizard_NewInvestigatorPage3::addSelected);
    connect(m_owned, &QListWidget::itemDoubleClicked, this, &CWizard_NewInvestigatorPage3::removeSelected);
    for (QListWidget* list : { m_available, m_owned }) {
        list->installEventFilter(this);
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            showSelected(list);
            updateButtons();
        });
    }
    connect(m_info, &QToolButton::toggled, this, [this](bool on) {
        SkillInfoWindow::setWanted(on);
        if (m_infoWindow)
            m_infoWindow->showIfWanted();
    });
}

void CWizard_NewInvestigatorPage3::initialise()
{
    const Investigator& inv = investigator();
    const std::shared_ptr<const RuleSet> rules
        = RuleSetCache::instance().ensureLoaded(ruleFileOrDefault(inv.RuleFile));
    if (rules) {
        for (const auto* weapons : { &rules->melee(), &rules->firearms() }) {
            for (const SkillDef* weapon : *weapons) {
                if (!weapon->availableInEra(inv.Era) || weapon->name().empty()
                    || weapon->name().front() == '*')
                    continue;
                QListWidget* list = inv.findSkill(weapon->name()) ? m_owned : m_available;
                list->addItem(fromCp1252(weapon->name()));
            }
        }
    }
    m_infoWindow = new SkillInfoWindow(inv.RuleFile, &wizard());
    m_infoWindow->showIfWanted();
    if (m_available->count() > 0)
        m_available->setCurrentRow(0);
    updateButtons();
}

void CWizard_NewInvestigatorPage3::activate()
{
    wizard().setWizardButtons(CWizard_NewInvestigator::NextButton);
    if (m_infoWindow)
        m_infoWindow->showIfWanted();
}

int CWizard_NewInvestigatorPage3::next()
{
    if (m_infoWindow)
        m_infoWindow->hide();
    // Added weapons come last in the entry list; the skill pages show them in name order.
    investigator().sort();
    return WizardPage::next();
}

bool CWizard_NewInvestigatorPage3::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_available || watched == m_owned))
        showSelected(static_cast<QListWidget*>(watched));
    return WizardPage::eventFilter(watched, event);
}

void CWizard_NewInvestigatorPage3::showSelected(QListWidget* list)
{
    if (m_infoWindow)
        m_infoWindow->showName(selectedText(list), &investigator());
}

void CWizard_NewInvestigatorPage3::updateButtons()
{
    m_add->setEnabled(!selectedText(m_available).isEmpty());
    m_remove->setEnabled(!selectedText(m_owned).isEmpty());
}

void CWizard_NewInvestigatorPage3::addSelected()
{
    const QString name = selectedText(m_available);
    if (name.isEmpty())
        return;
    const int row = rowOf(m_available, name);
    if (row < 0) {
        showMessage(kCannotFind, {}, MsgIcon::Error);
        return;
    }
    delete m_available->takeItem(row);
    Investigator& inv = investigator();
    const std::shared_ptr<const SkillDef> def
        = RuleSetCache::instance().findDefinition(ruleFileOrDefault(inv.RuleFile), toCp1252(name));
    if (def && isWeapon(*def)) {
        SkillEntry& entry = inv.addEntry(def->clone(), false);
        entry.baseValue = BaseFormula::value(entry.base(), inv);
        m_owned->addItem(name);
        m_owned->setCurrentRow(m_owned->count() - 1);
    }
    updateButtons();
}

void CWizard_NewInvestigatorPage3::removeSelected()
{
    const QString name = selectedText(m_owned);
    if (name.isEmpty())
        return;
    Investigator& inv = investigator();
    const std::string cpName = toCp1252(name);
    SkillEntry* entry = inv.findSkill(cpName);
    if (entry && entry->occupational && !askYesNo(cp1252(kRemoveOccupational)))
        return;
    const int row = rowOf(m_owned, name);
    if (row < 0)
        showMessage(kCannotFind, {}, MsgIcon::Error);
    else
        delete m_owned->takeItem(row);
    if (entry && inv.removeEntry(entry)) {
        m_available->addItem(name);
        m_available->setCurrentRow(m_available->count() - 1);
    } else {
        showMessage(kCannotRemove, {}, MsgIcon::Error);
    }
    // The window may describe the entry that just went.
    showSelected(m_owned);
    updateButtons();
}

} // namespace vorpane
