#include "dialogs/weapon_dialogs.h"

#include "dialogs/skill_dialogs.h"
#include "investigator/investigator.h"
#include "investigator/skill_editing.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "rules/rule_set_cache.h"
#include "rules/text_case.h"
#include "widgets/skill_info_window.h"
#include "widgets/skill_picker_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

std::string text(const QLineEdit* edit) { return toCp1252(edit->text()); }

QString currentName(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QLineEdit* statField(QWidget* parent, const char* objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

} // namespace

// --- WeaponListDialog --------------------------------------------------------------------------

WeaponListDialog::WeaponListDialog(Investigator& inv, QWidget* parent)
    : QDialog(parent)
    , m_investigator(inv)
    , m_rules(RuleSetCache::instance().ensureLoaded(ruleFileOrDefault(inv.RuleFile)))
    , m_info(new SkillInfoWindow(inv.RuleFile, this))
    , m_available(new QListWidget(this))
    , m_owned(new QListWidget(this))
    , m_add(new QPushButton(tr("&Añadir"), this))
    , m_remove(new QPushButton(tr("&Quitar"), this))
{
    setObjectName(QStringLiteral("WeaponListDialog"));
    setWindowTitle(tr("Elige armas"));
    m_available->setObjectName(QStringLiteral("Available"));
    m_owned->setObjectName(QStringLiteral("Owned"));
    m_add->setObjectName(QStringLiteral("Add"));
    m_remove->setObjectName(QStringLiteral("Remove"));

    auto* availableLabel = new QLabel(tr("&Armas disponibles:"), this);
    availableLabel->setBuddy(m_available);
    auto* ownedLabel = new QLabel(tr("&Armas del investigador:"), this);
    ownedLabel->setBuddy(m_owned);
    auto* create = new QPushButton(tr("&Nueva..."), this);
    create->setObjectName(QStringLiteral("New"));
    auto* close = new QPushButton(tr("Cerrar"), this);
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* button : { m_add, m_remove, create })
        button->setAutoDefault(false);
    close->setDefault(true);
    QToolButton* info = makeInfoToggle(this, m_info);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addSpacing(fontMetrics().height());
    middle->addWidget(create);
    middle->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(info);
    bottom->addStretch();
    bottom->addWidget(close);
    auto* grid = new QGridLayout(this);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(ownedLabel, 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_owned, 1, 2);
    grid->addLayout(bottom, 2, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    QWidget* order[] = { m_available, m_add, m_remove, create, m_owned, info, close };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_add, &QPushButton::clicked, this, &WeaponListDialog::addSelected);
    connect(m_remove, &QPushButton::clicked, this, &WeaponListDialog::removeSelected);
    connect(create, &QPushButton::clicked, this, &WeaponListDialog::newWeapon);
    connect(close, &QPushButton::clicked, this, &WeaponListDialog::accept);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &WeaponListDialog::addSelected);
    connect(m_owned, &QListWidget::itemDoubleClicked, this, &WeaponListDialog::removeSelected);
    for (QListWidget* list : { m_available, m_owned }) {
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            describe(list);
            updateButtons();
        });
        list->installEventFilter(this);
    }

    const QFontMetrics metrics(font());
    for (QListWidget* list : { m_available, m_owned })
        list->setMinimumSize(metrics.averageCharWidth() * 30, metrics.height() * 16);
    fill();
    if (m_available->count() > 0)
        m_available->setCurrentRow(0);
    m_available->setFocus();
}

WeaponListDialog::~WeaponListDialog() = default;

void WeaponListDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_info->showIfWanted();
}

bool WeaponListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_available || watched == m_owned))
        describe(static_cast<QListWidget*>(watched));
    // Enter buys the selected weapon rather than closing the dialog.
    if (event->type() == QEvent::KeyPress && watched == m_available) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !currentName(m_available).isEmpty()) {
            addSelected();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WeaponListDialog::describe(QListWidget* list)
{
    // The investigator's own weapons are found too, so custom ones are described.
    m_info->showName(currentName(list), &m_investigator);
}

void WeaponListDialog::updateButtons()
{
    m_add->setEnabled(!currentName(m_available).isEmpty());
    m_remove->setEnabled(!currentName(m_owned).isEmpty());
}

void WeaponListDialog::fill()
{
    const WeaponLists lists = weaponLists(m_investigator, m_rules.get());
    m_available->clear();
    m_owned->clear();
    for (const std::string& name : lists.available)
        m_available->addItem(fromCp1252(name));
    for (const std::string& name : lists.owned)
        m_owned->addItem(fromCp1252(name));
    updateButtons();
}

void WeaponListDialog::addSelected()
{
    const QString name = currentName(m_available);
    if (name.isEmpty())
        return;
    const int row = m_available->currentRow();
    if (!m_rules || !addRuleWeapon(m_investigator, *m_rules, toCp1252(name))) {
        showMessage("Error: Unable to locate weapon!", {}, MsgIcon::Error);
        return;
    }
    m_changed = true;
    fill();
    // The next weapon is ready for another purchase.
    if (m_available->count() > 0)
        m_available->setCurrentRow(std::min(row, m_available->count() - 1));
}

void WeaponListDialog::removeSelected()
{
    const QString name = currentName(m_owned);
    if (name.isEmpty())
        return;
    const int row = m_owned->currentRow();
    if (!removeWeapon(m_investigator, toCp1252(name))) {
        showMessage("Error: Could not remove skill", {}, MsgIcon::Error);
        return;
    }
    m_changed = true;
    fill();
    if (m_owned->count() > 0)
        m_owned->setCurrentRow(std::min(row, m_owned->count() - 1));
}

void WeaponListDialog::newWeapon()
{
    CNewWeaponDlg dialog(m_investigator, this);
    const bool created = dialog.exec() == QDialog::Accepted;
    m_changed = m_changed || created;
    fill();
    if (created) {
        const QList<QListWidgetItem*> found = m_owned->findItems(dialog.createdName(), Qt::MatchExactly);
        if (!found.isEmpty())
            m_owned->setCurrentItem(found.front());
    }
}

// --- CNewWeaponDlg -----------------------------------------------------------------------------

CNewWeaponDlgPage1::CNewWeaponDlgPage1(Investigator& inv, QWidget* parent)
    : QWidget(parent)
    , m_investigator(inv)
    , m_name(statField(this, "Name"))
    , m_base(statField(this, "Base"))
    , m_menuButton(new QToolButton(this))
    , m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("CNewWeaponDlgPage1"));
    m_menuButton->setText(QStringLiteral(">"));
    m_menuButton->setObjectName(QStringLiteral("BaseMenuButton"));
    m_menuButton->setToolTip(tr("Base de otra habilidad o multiplicadores"));
    auto* baseRow = new QHBoxLayout;
    baseRow->addWidget(m_base, 1);
    baseRow->addWidget(m_menuButton);
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Nombre:"), m_name);
    auto* baseLabel = new QLabel(tr("&Base:"), this);
    baseLabel->setBuddy(m_base);
    form->addRow(baseLabel, baseRow);
    form->addRow(tr("Daño:"), statField(this, "Dmg"));
    form->addRow(tr("Alcance:"), statField(this, "Range"));
    form->addRow(tr("Disparos:"), statField(this, "Shots"));
    form->addRow(tr("Ptos. resis:"), statField(this, "PV"));
    form->addRow(tr("Balas:"), statField(this, "Bullets"));
    form->addRow(tr("Se encalla:"), statField(this, "MAL"));

    m_menu->addAction(tr("Fijar Base a Habilidad....."), this, &CNewWeaponDlgPage1::pickBaseSkill);
    addMultiplierMenu(m_menu,
        [this](const char* name) { m_base->setText(fromCp1252(prependMultiplier(text(m_base), name))); });
    connect(m_menuButton, &QToolButton::clicked, this,
        [this] { m_menu->exec(m_menuButton->mapToGlobal(m_menuButton->rect().topRight())); });
}

QLineEdit* CNewWeaponDlgPage1::field(const char* objectName) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(objectName));
}

void CNewWeaponDlgPage1::pickBaseSkill()
{
    const SkillEntry* chosen = SkillPickerDialog::pick(m_investigator, SkillPickerMode::Plain,
        tr("Please select a skill to use as this weapon's base"), this);
    if (chosen)
        m_base->setText(QLatin1Char('%') + fromCp1252(skipLeadingStars(chosen->name())) + QLatin1Char('%'));
}

bool CNewWeaponDlgPage1::createWeapon()
{
    const std::string name = text(m_name);
    std::string base = text(m_base);
    if (!checkNameAndBase(m_investigator, name, base, nullptr, true))
        return false;
    m_base->setText(fromCp1252(base));
    const FirearmStats stats { text(field("Dmg")), text(field("Range")), text(field("Shots")),
        text(field("Bullets")), text(field("PV")), text(field("MAL")) };
    return addCustomWeapon(m_investigator, std::make_unique<Firearm>(name, base, kAllEraFlags, stats))
        != nullptr;
}

CNewWeaponDlgPage2::CNewWeaponDlgPage2(Investigator& inv, QWidget* parent)
    : QWidget(parent)
    , m_investigator(inv)
    , m_name(statField(this, "Name"))
    , m_base(statField(this, "Base"))
{
    setObjectName(QStringLiteral("CNewWeaponDlgPage2"));
    auto* form = new QFormLayout(this);
    form->addRow(tr("&Nombre:"), m_name);
    form->addRow(tr("&Base:"), m_base);
    form->addRow(tr("Daño:"), statField(this, "Dmg"));
    form->addRow(tr("Ataque:"), statField(this, "Attacks"));
    form->addRow(tr("Ptos. resis:"), statField(this, "PV"));
}

QLineEdit* CNewWeaponDlgPage2::field(const char* objectName) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(objectName));
}

bool CNewWeaponDlgPage2::createWeapon()
{
    const std::string name = text(m_name);
    std::string base = text(m_base);
    if (!checkNameAndBase(m_investigator, name, base, nullptr, true))
        return false;
    m_base->setText(fromCp1252(base));
    const MeleeStats stats { text(field("Dmg")), text(field("Attacks")), text(field("PV")) };
    return addCustomWeapon(m_investigator, std::make_unique<Melee>(name, base, kAllEraFlags, stats))
        != nullptr;
}

CNewWeaponDlg::CNewWeaponDlg(Investigator& inv, QWidget* parent)
    : QDialog(parent)
    , m_pages(new QTabWidget(this))
    , m_firearm(new CNewWeaponDlgPage1(inv, m_pages))
    , m_melee(new CNewWeaponDlgPage2(inv, m_pages))
{
    setObjectName(QStringLiteral("CNewWeaponDlg"));
    setWindowTitle(tr("Nueva arma"));
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->addTab(m_firearm, tr("Arma de fuego"));
    m_pages->addTab(m_melee, tr("Melee Weapon"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(tr("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewWeaponDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewWeaponDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
    m_firearm->nameEdit()->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    m_firearm->nameEdit()->setFocus();
}

void CNewWeaponDlg::accept()
{
    const bool firearm = m_pages->currentWidget() == m_firearm;
    if (!(firearm ? m_firearm->createWeapon() : m_melee->createWeapon()))
        return;
    m_createdName = (firearm ? m_firearm->nameEdit() : m_melee->nameEdit())->text();
    QDialog::accept();
}

} // namespace vorpane
