#include "dialogs/new_weapon_dlg.h"

#include "dialogs/add_skill_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/new_weapon_dlg_page1.h"
#include "dialogs/new_weapon_dlg_page2.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/skill_menus.h"
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

QLineEdit* statField(QWidget* parent, const char* objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

} // namespace

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
