#include "dialogs/add_skill_dialog.h"
#include "dialogs/edit_skill_dialog.h"
#include "dialogs/skill_list_dialog.h"
#include "dialogs/skill_menus.h"
#include "investigator/formula_names.h"
#include "investigator/investigator.h"
#include "investigator/skill_editing.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "rules/text_case.h"
#include "widgets/skill_info_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

constexpr int kDefaultSubSkills = 2;

QString translated(const char* text) { return QCoreApplication::translate("SkillDialogs", text); }

std::string text(const QLineEdit* edit) { return toCp1252(edit->text()); }

QToolButton* menuButton(QWidget* parent, QLineEdit* buddy)
{
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral(">"));
    button->setObjectName(QStringLiteral("BaseMenuButton"));
    button->setToolTip(translated("Opciones y multiplicadores de la base"));
    button->setFixedHeight(buddy->sizeHint().height());
    return button;
}

// The popup opens at the button's top-right corner.
void popUpBeside(QMenu* menu, QToolButton* button)
{
    menu->exec(button->mapToGlobal(button->rect().topRight()));
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLabel* noteLabel(QWidget* parent)
{
    auto* note = new QLabel(
        translated("Nota: este sistema sólo soporta comandos muy simples, como ^EDU5 por 5 x EDU."), parent);
    note->setWordWrap(true);
    note->setEnabled(false);
    return note;
}

// Keeps the named entry selected after a refill.
void selectEntry(QListWidget* list, const std::vector<SkillEntry*>& rows, const SkillEntry* entry)
{
    for (size_t row = 0; row < rows.size(); ++row) {
        if (rows[row] == entry) {
            list->setCurrentRow(int(row));
            return;
        }
    }
}

} // namespace

QMenu* addMultiplierMenu(QMenu* menu, const std::function<void(const char*)>& pick)
{
    QMenu* sub = menu->addMenu(translated("Multiplicar por"));
    for (const FormulaName& item : formulaNames()) {
        if (!item.label)
            continue;
        const char* name = item.name;
        sub->addAction(translated(item.label), menu, [pick, name] { pick(name); });
    }
    return sub;
}

QToolButton* makeInfoToggle(QWidget* parent, SkillInfoWindow* info)
{
    auto* toggle = new QToolButton(parent);
    toggle->setObjectName(QStringLiteral("InfoToggle"));
    toggle->setText(translated("&Info"));
    toggle->setIcon(parent->style()->standardIcon(QStyle::SP_MessageBoxInformation));
    toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggle->setCheckable(true);
    toggle->setChecked(SkillInfoWindow::wanted());
    toggle->setToolTip(translated("Muestra u oculta la descripción de la habilidad elegida"));
    QObject::connect(toggle, &QToolButton::toggled, info, [info](bool on) {
        SkillInfoWindow::setWanted(on);
        info->showIfWanted();
    });
    return toggle;
}

// --- AddSkillDialog ----------------------------------------------------------------------------

AddSkillDialog::AddSkillDialog(Investigator& inv, QWidget* parent)
    : QDialog(parent)
    , m_investigator(inv)
    , m_name(new QLineEdit(this))
    , m_base(new QLineEdit(QStringLiteral("0"), this))
    , m_normal(new QRadioButton(tr("&Normal"), this))
    , m_special(new QRadioButton(tr("&Especial"), this))
    , m_count(new QSpinBox(this))
    , m_listed(new QCheckBox(tr("&Listar con las habilidades principales"), this))
    , m_expand(new QPushButton(this))
    , m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("AddSkillDialog"));
    setWindowTitle(tr("Añadir habilidad"));
    m_name->setObjectName(QStringLiteral("Name"));
    m_base->setObjectName(QStringLiteral("Base"));
    m_special->setObjectName(QStringLiteral("Special"));
    m_count->setObjectName(QStringLiteral("SubSkillCount"));
    m_listed->setObjectName(QStringLiteral("Listed"));
    m_expand->setObjectName(QStringLiteral("Expand"));

    m_menuButton = menuButton(this, m_base);
    m_normal->setChecked(true);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(m_normal);
    kinds->addButton(m_special);
    m_count->setRange(0, kMaxNewSubSkills);
    m_count->setValue(kDefaultSubSkills);
    m_count->setEnabled(false);
    m_listed->setChecked(true);
    connect(m_special, &QRadioButton::toggled, m_count, &QSpinBox::setEnabled);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* kindLabel = buddyLabel(tr("&Tipo:"), m_normal, this);
    auto* countLabel = buddyLabel(tr("Número de subhabilidades:"), m_count, this);
    QLabel* note = noteLabel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(tr("&Nombre:"), m_name, this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(buddyLabel(tr("&Base:"), m_base, this), 1, 0);
    grid->addWidget(m_base, 1, 1, 1, 2);
    grid->addWidget(m_menuButton, 1, 3);
    // The advanced part: the ">" button and everything below the separator.
    grid->addWidget(line, 2, 0, 1, 4);
    grid->addWidget(kindLabel, 3, 0);
    grid->addWidget(m_normal, 3, 1);
    grid->addWidget(m_special, 3, 2, 1, 2);
    grid->addWidget(countLabel, 4, 0);
    grid->addWidget(m_count, 4, 1);
    grid->addWidget(m_listed, 5, 0, 1, 4);
    grid->addWidget(note, 6, 0, 1, 4);
    grid->setColumnStretch(2, 1);
    m_advancedWidgets
        = { m_menuButton, line, kindLabel, m_normal, m_special, countLabel, m_count, m_listed, note };

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancelar"), this);
    m_expand->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &AddSkillDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &AddSkillDialog::reject);
    connect(m_expand, &QPushButton::clicked, this, [this] { setExpanded(!m_expanded); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_expand);
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(fontMetrics().averageCharWidth());
    layout->addLayout(buttons);
    // The dialog shrinks to just above the separator when the advanced part folds away.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_name->setMinimumWidth(fontMetrics().averageCharWidth() * 32);

    // The ">" menu.
    QMenu* options = m_menu->addMenu(tr("&Opciones"));
    auto* group = new QActionGroup(options);
    const std::pair<const char*, BasePrefix> prefixes[] = {
        { QT_TR_NOOP("Nada"), BasePrefix::None },
        { QT_TR_NOOP("Porcenaje no modificable"), BasePrefix::Fixed },
        { QT_TR_NOOP("Es un arma de fuego base (como Arma corta)"), BasePrefix::Firearm },
    };
    for (const auto& [label, prefix] : prefixes) {
        QAction* action = options->addAction(tr(label));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
            [this, prefix = prefix] { m_base->setText(fromCp1252(withBasePrefix(text(m_base), prefix))); });
        m_prefixActions.push_back(action);
    }
    addMultiplierMenu(m_menu,
        [this](const char* name) { m_base->setText(fromCp1252(replaceMultiplier(text(m_base), name))); });
    connect(m_menu, &QMenu::aboutToShow, this, &AddSkillDialog::markPrefix);
    connect(m_menuButton, &QToolButton::clicked, this, [this] { popUpBeside(m_menu, m_menuButton); });

    setExpanded(Profile::read(profile_keys::kAddSkillExpand) != 0);
    QWidget* order[]
        = { m_name, m_base, m_menuButton, m_normal, m_special, m_count, m_listed, ok, cancel, m_expand };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_name->setFocus();
}

void AddSkillDialog::markPrefix() { m_prefixActions[size_t(basePrefix(text(m_base)))]->setChecked(true); }

void AddSkillDialog::setExpanded(bool expanded)
{
    m_expanded = expanded;
    for (QWidget* widget : m_advancedWidgets)
        widget->setVisible(expanded);
    m_expand->setText(expanded ? tr("&Advanced <<") : tr("&Advanced >>"));
    Profile::write(profile_keys::kAddSkillExpand, expanded ? 1 : 0);
}

void AddSkillDialog::accept()
{
    const std::string name = text(m_name);
    std::string base = text(m_base);
    if (!checkNameAndBase(m_investigator, name, base, nullptr, false))
        return;
    m_base->setText(fromCp1252(base));
    m_added = addCustomSkill(
        m_investigator, { name, base, m_special->isChecked(), m_count->value(), m_listed->isChecked() });
    if (m_added)
        QDialog::accept();
}

// --- EditSkillDialog ---------------------------------------------------------------------------

EditSkillDialog::EditSkillDialog(Investigator& inv, SkillEntry& entry, QWidget* parent)
    : QDialog(parent)
    , m_investigator(inv)
    , m_entry(entry)
    , m_name(new QLineEdit(this))
    , m_base(new QLineEdit(fromCp1252(entry.base()), this))
    , m_listed(new QCheckBox(tr("&Listar con las habilidades principales"), this))
{
    setObjectName(QStringLiteral("EditSkillDialog"));
    setWindowTitle(tr("Editar habilidad"));
    m_name->setObjectName(QStringLiteral("Name"));
    m_base->setObjectName(QStringLiteral("Base"));
    m_listed->setObjectName(QStringLiteral("Listed"));

    const std::string& name = entry.name();
    const bool listed = name.starts_with('*');
    m_name->setText(fromCp1252(listed ? name.substr(1) : name));
    m_listed->setChecked(listed);
    m_name->setMinimumWidth(fontMetrics().averageCharWidth() * 32);

    auto* form = new QFormLayout;
    form->addRow(tr("&Nombre:"), m_name);
    form->addRow(tr("&Base:"), m_base);
    form->addRow(QString(), m_listed);
    form->addRow(QString(), noteLabel(this));
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancelar"), this);
    connect(ok, &QPushButton::clicked, this, &EditSkillDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &EditSkillDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addSpacing(fontMetrics().averageCharWidth());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_name->setFocus();
    m_name->selectAll();
}

void EditSkillDialog::accept()
{
    const std::string name = text(m_name);
    std::string base = text(m_base);
    if (!checkNameAndBase(m_investigator, name, base, &m_entry, false))
        return;
    m_base->setText(fromCp1252(base));
    if (vorpane::editSkill(m_investigator, m_entry, name, base, m_listed->isChecked()))
        QDialog::accept();
}

// --- SkillListDialog ---------------------------------------------------------------------------

SkillListDialog::SkillListDialog(Investigator& inv, QWidget* parent)
    : QDialog(parent)
    , m_investigator(inv)
    , m_info(new SkillInfoWindow(inv.RuleFile, this))
    , m_list(new QListWidget(this))
    , m_edit(new QPushButton(tr("&Editar"), this))
    , m_remove(new QPushButton(tr("&Quitar"), this))
{
    setObjectName(QStringLiteral("SkillListDialog"));
    setWindowTitle(tr("Habilidades"));
    m_list->setObjectName(QStringLiteral("SkillList"));
    m_list->setAccessibleName(tr("Habilidades del investigador"));
    m_edit->setObjectName(QStringLiteral("Edit"));
    m_remove->setObjectName(QStringLiteral("Remove"));

    auto* add = new QPushButton(tr("&Añadir"), this);
    add->setObjectName(QStringLiteral("Add"));
    auto* close = new QPushButton(tr("&Cerrar"), this);
    close->setObjectName(QStringLiteral("Close"));
    for (QPushButton* button : { add, m_edit, m_remove })
        button->setAutoDefault(false);
    close->setDefault(true);
    QToolButton* info = makeInfoToggle(this, m_info);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(m_edit);
    side->addWidget(m_remove);
    side->addStretch();
    side->addWidget(info);
    side->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(side);

    QWidget* order[] = { m_list, add, m_edit, m_remove, info, close };
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(add, &QPushButton::clicked, this, &SkillListDialog::addSkill);
    connect(m_edit, &QPushButton::clicked, this, &SkillListDialog::editSkill);
    connect(m_remove, &QPushButton::clicked, this, &SkillListDialog::removeSkill);
    connect(close, &QPushButton::clicked, this, &SkillListDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &SkillListDialog::editSkill);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &SkillListDialog::selectionChanged);
    m_list->installEventFilter(this);

    fill();
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    const QFontMetrics metrics(font());
    m_list->setMinimumSize(metrics.averageCharWidth() * 36, metrics.height() * 20);
    m_list->setFocus();
}

SkillListDialog::~SkillListDialog() = default;

// Enter edits the selected skill rather than closing the dialog.
bool SkillListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && selectedEntry()) {
            editSkill();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SkillListDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_info->showIfWanted();
}

void SkillListDialog::fill()
{
    m_list->clear();
    m_rows.clear();
    for (SkillEntry* entry : m_investigator.skills()) {
        const SkillKind kind = entry->kind();
        if (kind == SkillKind::SubSkill || kind == SkillKind::AnySkill || kind == SkillKind::Empty)
            continue;
        std::string_view name = entry->name();
        if (name.starts_with('*'))
            name.remove_prefix(1);
        m_list->addItem(fromCp1252(name));
        m_rows.push_back(entry);
    }
    m_info->showName(std::string());
    selectionChanged();
}

SkillEntry* SkillListDialog::selectedEntry() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= int(m_rows.size()) || !m_list->item(row)->isSelected())
        return nullptr;
    return m_rows[size_t(row)];
}

void SkillListDialog::selectionChanged()
{
    SkillEntry* entry = selectedEntry();
    m_edit->setEnabled(entry != nullptr);
    m_remove->setEnabled(entry != nullptr);
    if (entry)
        m_info->showName(entry->name(), &m_investigator);
}

void SkillListDialog::addSkill()
{
    AddSkillDialog dialog(m_investigator, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_changed = true;
    fill();
    selectEntry(m_list, m_rows, dialog.addedEntry());
}

void SkillListDialog::editSkill()
{
    SkillEntry* entry = selectedEntry();
    if (!entry)
        return;
    EditSkillDialog dialog(m_investigator, *entry, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_changed = true;
    m_investigator.sort(); // a new name has a new place
    fill();
    selectEntry(m_list, m_rows, entry);
}

void SkillListDialog::removeSkill()
{
    SkillEntry* entry = selectedEntry();
    if (!entry)
        return;
    const int row = m_list->currentRow();
    if (!m_investigator.removeEntry(entry))
        return;
    m_changed = true;
    fill();
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::min(row, m_list->count() - 1));
}

} // namespace vorpane
