#include "dialogs/weapon_list_dialog.h"

#include "dialogs/add_skill_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/new_weapon_dlg.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/skill_menus.h"
#include "docview/accessible_name.h"
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

QString currentName(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
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
    nameAfterLabel(m_available, availableLabel);
    auto* ownedLabel = new QLabel(tr("&Armas del investigador:"), this);
    nameAfterLabel(m_owned, ownedLabel);
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

} // namespace vorpane
