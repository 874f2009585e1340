#include "shell/new_document_dialog.h"

#include "documents/handout_document.h"
#include "documents/script_edit_doc.h"
#include "documents/user_script.h"
#include "docview/commands.h"
#include "docview/document_manager.h"
#include "docview/resources.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/profile.h"
#include "platform/ui_services.h"
#include "sheet/sheet_script.h"
#include "shell/main_frame.h"
#include "shell/toolbar_style.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vorpane {

namespace {

int g_rememberedTab = NewDocumentDialog::InvestigatorTab;
NewDocumentDialog::ViewMode g_viewMode = NewDocumentDialog::ViewMode::LargeIcons;

constexpr int kKindRole = Qt::UserRole;
constexpr int kValueRole = Qt::UserRole + 1;

enum Kind { RuleEntry, HandoutScriptItem, ExistingScript, NewScript, NewSheetScript, NewHandoutScript };

constexpr const char* kNoRuleFiles
    = "¡No hay archivos de reglas en el directorio de Vorpane! Vorpane no puede "
      "continuar sin que haya al menos un archivo .rul.   ";
constexpr const char* kScriptText
    = "//new vorpane script\r\n\r\noutput.show();\r\noutput.write( \"executing new "
      "vorpane script...\" );\r\n";
constexpr const char* kSheetScriptText
    = "//new vorpane sheet script\r\n\r\nsheet.sheetsize( 188.0, 215.0 ); //normal page size\r\n";

// The list keeps its items in alphabetical order of their texts, case ignored.
class SortedItem final : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override
    {
        return QString::compare(text(), other.text(), Qt::CaseInsensitive) < 0;
    }
};

QString fromRaw(const std::string& bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

} // namespace

NewDocumentDialog::NewDocumentDialog(DocumentManager& documents, QWidget* parent)
    : QDialog(parent)
    , m_documents(documents)
    , m_tabs(new QTabBar(this))
    , m_list(new QListWidget(this))
    , m_fullWizard(new QCheckBox(tr("&Mostrar Investigador completo"), this))
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName(QStringLiteral("NewDocumentDialog"));
    setWindowTitle(tr("Nuevo documento"));
    m_fullWizard->setObjectName(QStringLiteral("FullWizard"));
    m_fullWizard->setChecked(Profile::read(profile_keys::kFullWizard) != 0);
    connect(m_fullWizard, &QCheckBox::clicked, this,
        [](bool checked) { Profile::write(profile_keys::kFullWizard, checked ? 1 : 0); });

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture"));
    picture->setPixmap(resourcePixmap(QStringLiteral(":/pictures/new_document.svg")));
    picture->setAlignment(Qt::AlignTop);

    createToolBar();
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    static const char* const captions[] = { QT_TR_NOOP("Investigador "), QT_TR_NOOP("Investigador Entero "),
        QT_TR_NOOP(" Ayudas "), QT_TR_NOOP("Scripts") };
    for (const char* caption : captions)
        m_tabs->addTab(tr(caption));

    m_list->setObjectName(QStringLiteral("Items"));
    m_list->setAccessibleName(tr("Documentos que se pueden crear"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(true);
    m_list->setMinimumSize(440, 260);
    m_list->setUniformItemSizes(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &NewDocumentDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(m_tabs);
    right->addWidget(m_toolBar);
    right->addWidget(m_list, 1);
    right->addWidget(m_fullWizard);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);

    // Ctrl+Tab and Ctrl+PgDown step through the tabs, as in a tabbed dialog.
    const auto step
        = [this](int by) { m_tabs->setCurrentIndex((m_tabs->currentIndex() + by + TabCount) % TabCount); };
    for (const QKeySequence& keys :
        { QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown) })
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(1); });
    for (const QKeySequence& keys :
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp) })
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [step] { step(-1); });

    setTabOrder(m_list, m_fullWizard);
    setTabOrder(m_fullWizard, buttons);

    m_entries = allRuleFileEntries();
    if (m_entries.empty())
        showMessage(cp1252(kNoRuleFiles), {}, MsgIcon::Warning);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &NewDocumentDialog::selectionChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &NewDocumentDialog::accept);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        g_rememberedTab = tab;
        fillList(tab);
    });
    setViewMode(g_viewMode);
    const int tab = std::clamp(g_rememberedTab, 0, int(TabCount) - 1);
    if (m_tabs->currentIndex() == tab)
        fillList(tab);
    else
        m_tabs->setCurrentIndex(tab);
    m_list->setFocus();
    QApplication::restoreOverrideCursor();
}

NewDocumentDialog::~NewDocumentDialog() = default;

void NewDocumentDialog::done(int result)
{
    // The description belongs to the dialog's list.
    if (CMainFrame* frame = CMainFrame::instance())
        frame->setStatusMessage({});
    QDialog::done(result);
}

int NewDocumentDialog::rememberedTab() { return g_rememberedTab; }

void NewDocumentDialog::setRememberedTab(int tab) { g_rememberedTab = tab; }

void NewDocumentDialog::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    auto* open = new QAction(resourceIcon(QStringLiteral(":/icons/open.svg")), tr("Abrir"), this);
    open->setObjectName(QStringLiteral("Open"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open->setToolTip(tr("Abrir (Ctrl+O)"));
    connect(open, &QAction::triggered, this, [this] { chooseAndClose(OpenCommand {}); });
    auto* recent = new QMenu(this);
    recent->setObjectName(QStringLiteral("RecentFiles"));
    connect(recent, &QMenu::aboutToShow, this, &NewDocumentDialog::fillRecentMenu);
    m_openButton = new QToolButton(m_toolBar);
    m_openButton->setObjectName(QStringLiteral("OpenButton"));
    m_openButton->setDefaultAction(open);
    m_openButton->setMenu(recent);
    m_openButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_toolBar->addWidget(m_openButton);
    m_toolBar->addSeparator();

    auto* modes = new QActionGroup(this);
    const struct {
        const char* name;
        const char* text;
        const char* icon;
        ViewMode mode;
    } rows[] = {
        { "LargeIcons", QT_TR_NOOP("Iconos grandes"), ":/icons/view_large.svg", ViewMode::LargeIcons },
        { "SmallIcons", QT_TR_NOOP("Iconos pequeños"), ":/icons/view_small.svg", ViewMode::SmallIcons },
        { "ListMode", QT_TR_NOOP("Lista"), ":/icons/view_list.svg", ViewMode::List },
    };
    int key = Qt::Key_1;
    for (const auto& row : rows) {
        auto* action = new QAction(resourceIcon(QString::fromLatin1(row.icon)), tr(row.text), modes);
        action->setObjectName(QString::fromLatin1(row.name));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        action->setToolTip(
            tr("%1 (%2)").arg(tr(row.text), action->shortcut().toString(QKeySequence::NativeText)));
        connect(action, &QAction::triggered, this, [this, mode = row.mode] { setViewMode(mode); });
        m_modeActions[int(row.mode)] = action;
        m_toolBar->addAction(action);
        ++key;
    }
    m_toolBar->addSeparator();
    auto* more
        = new QAction(resourceIcon(QStringLiteral(":/icons/more_info.svg")), tr("Más Información"), this);
    more->setObjectName(QStringLiteral("MoreInformation"));
    more->setShortcut(QKeySequence(Qt::Key_F1));
    more->setToolTip(tr("Más Información (F1)"));
    connect(more, &QAction::triggered, this, &NewDocumentDialog::showMoreInformation);
    m_toolBar->addAction(more);
    // The shortcuts of the bar's actions work from anywhere in the dialog.
    addActions({ open, more });
    addActions(modes->actions());
    applyToolbarStyle(m_toolBar, flatToolbarsWanted());
}

void NewDocumentDialog::setViewMode(ViewMode mode)
{
    m_viewMode = g_viewMode = mode;
    if (QAction* action = m_modeActions[int(mode)])
        action->setChecked(true);
    const bool large = mode == ViewMode::LargeIcons;
    m_list->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    m_list->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    m_list->setFlow(mode == ViewMode::List ? QListView::TopToBottom : QListView::LeftToRight);
    m_list->setWrapping(true);
    m_list->setWordWrap(large);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMovement(QListView::Static);
    m_list->setSpacing(large ? 6 : 2);
    m_list->setGridSize(large ? QSize(136, 84) : QSize());
    if (QListWidgetItem* item = m_list->currentItem())
        m_list->scrollToItem(item);
}

void NewDocumentDialog::addItem(const QString& text, const QString& icon, int kind, const QVariant& value)
{
    auto* item = new SortedItem(resourceIcon(icon), text);
    item->setData(kKindRole, kind);
    item->setData(kValueRole, value);
    item->setToolTip(text.trimmed());
    m_list->addItem(item);
}

void NewDocumentDialog::fillList(int tab)
{
    m_list->clear();
    switch (tab) {
    case InvestigatorTab:
    case FullInvestigatorTab:
        for (size_t i = 0; i < m_entries.size(); ++i)
            addItem(
                fromCp1252(m_entries[i].text), QStringLiteral(":/icons/investigator.svg"), RuleEntry, int(i));
        break;
    case HandoutTab:
        for (const std::string& name : sheetScriptNames(kHandoutScriptExtension)) {
            const QString shown = QFile::decodeName(name.c_str());
            addItem(shown, QStringLiteral(":/icons/handout.svg"), HandoutScriptItem, shown);
        }
        break;
    case ScriptTab: {
        addItem(
            tr("Nueva Ficha Investig. "), QStringLiteral(":/icons/new_sheet_script.svg"), NewSheetScript, {});
        addItem(tr("Nueva Ayuda         "), QStringLiteral(":/icons/new_handout_script.svg"),
            NewHandoutScript, {});
        addItem(tr(" N. Script"), QStringLiteral(":/icons/new_script.svg"), NewScript, {});
        for (const std::string& path : dataFiles({ QStringLiteral("*.vsc") }, QDir::Files | QDir::Hidden)) {
            const QString name = QFileInfo(QFile::decodeName(path.c_str())).fileName().chopped(4);
            addItem(name, QStringLiteral(":/icons/script.svg"), ExistingScript, name);
        }
        break;
    }
    default:
        break;
    }
    m_fullWizard->setEnabled(tab == FullInvestigatorTab);
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
        m_list->item(0)->setSelected(true);
    }
    selectionChanged();
}

QString NewDocumentDialog::shortDescription() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return {};
    const QListWidgetItem* item = selected.front();
    switch (item->data(kKindRole).toInt()) {
    case RuleEntry:
        return fromRaw(describeEntry(m_entries[size_t(item->data(kValueRole).toInt())]).shortText);
    case HandoutScriptItem:
        return item->text();
    case ExistingScript:
        return tr("Inicia script  ");
    case NewScript:
        return tr("Crea un nuevo Vorpane script");
    case NewSheetScript:
        return tr("Crea un nuevo script de Investigador   ");
    case NewHandoutScript:
        return tr("Crea una nueva ayuda          ");
    }
    return {};
}

QString NewDocumentDialog::longDescription() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return {};
    const QListWidgetItem* item = selected.front();
    switch (item->data(kKindRole).toInt()) {
    case RuleEntry:
        return fromRaw(describeEntry(m_entries[size_t(item->data(kValueRole).toInt())]).longText);
    case HandoutScriptItem:
        return tr("Con esto creará un ") + item->text() + tr("-ayuda.  ");
    case ExistingScript:
        return tr(
            "Los scripts son usados para activar varias funciones de Vorpane. Cada uno es un archivo .vsc "
            "distinto.         ");
    case NewScript:
        return shortDescription()
            + tr(".\r\n\r\nEsto es un simple script de Vorpane. Una vez creado, aparecerá en la lista.       "
                 "  ");
    case NewSheetScript:
        return shortDescription()
            + tr(".\r\n\r\nEstos scripts se usan para definir el trazado de las ayudas de una ficha de "
                 "investig. "
                 "Carga o crea un nuevo invest. y selecciona el archivo en la barra de herramientas para "
                 "verlo. ");
    case NewHandoutScript:
        return shortDescription()
            + tr(".\r\n\r\nEstos scripts se usan para definir el trazado de las ayudas. Carga o crea una "
                 "ayuda y "
                 "seleccionala en la barra de herramientas en la ficha para verla.         ");
    }
    return {};
}

void NewDocumentDialog::selectionChanged()
{
    if (CMainFrame* frame = CMainFrame::instance())
        frame->setStatusMessage(shortDescription());
}

void NewDocumentDialog::showMoreInformation()
{
    const QString text = longDescription();
    if (!text.isEmpty())
        showMessage(toCp1252(text), {}, MsgIcon::Information);
}

void NewDocumentDialog::fillRecentMenu()
{
    QMenu* menu = m_openButton->menu();
    menu->clear();
    const QStringList files = m_documents.recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString relative = QDir::current().relativeFilePath(files[i]);
        const QString shown = relative.startsWith(QLatin1String("..")) ? files[i] : relative;
        QAction* action = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(action, &QAction::triggered, this,
            [this, file = files[i]] { chooseAndClose(OpenFile { file }); });
    }
    if (files.isEmpty())
        menu->addAction(tr("(ningún archivo reciente)"))->setEnabled(false);
}

void NewDocumentDialog::chooseAndClose(Choice choice)
{
    m_choice = std::move(choice);
    QDialog::accept();
}

void NewDocumentDialog::accept()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        showMessage("You must select an item", {}, MsgIcon::Warning);
        return;
    }
    const QListWidgetItem* item = selected.front();
    const QString value = item->data(kValueRole).toString();
    switch (item->data(kKindRole).toInt()) {
    case RuleEntry:
        chooseAndClose(CreateInvestigator { m_entries[size_t(item->data(kValueRole).toInt())],
            m_tabs->currentIndex() == FullInvestigatorTab });
        return;
    case HandoutScriptItem:
        chooseAndClose(CreateHandout { value });
        return;
    case ExistingScript:
        if (value.isEmpty()) {
            showMessage("Error: Script has no name!", {}, MsgIcon::Warning);
            return;
        }
        chooseAndClose(RunScript { value });
        return;
    case NewScript:
        chooseAndClose(
            CreateScript { QStringLiteral("Script"), tr(" N. Script"), QString::fromLatin1(kScriptText) });
        return;
    case NewSheetScript:
        chooseAndClose(CreateScript { QStringLiteral("SheetScript"), tr("Nueva Ficha Investig. "),
            QString::fromLatin1(kSheetScriptText) });
        return;
    case NewHandoutScript:
        chooseAndClose(CreateScript {
            QStringLiteral("HandoutScript"), tr("New Handout"), QString::fromLatin1(kSheetScriptText) });
        return;
    }
}

void NewDocumentDialog::performChoice()
{
    if (std::holds_alternative<OpenCommand>(m_choice)) {
        if (CMainFrame* frame = CMainFrame::instance())
            frame->execute(QString::fromLatin1(cmd::Open));
    } else if (const auto* open = std::get_if<OpenFile>(&m_choice)) {
        m_documents.openDocumentFile(open->path);
    } else if (const auto* create = std::get_if<CreateInvestigator>(&m_choice)) {
        m_documents.createInvestigator(create->entry.ruleFile, create->entry.era, create->wizard);
    } else if (const auto* handout = std::get_if<CreateHandout>(&m_choice)) {
        const std::string name = QFile::encodeName(handout->scriptName).toStdString();
        m_documents.newDocument(QStringLiteral("Handout"), QStringLiteral("New ") + handout->scriptName,
            [&name](Document& document) {
                static_cast<CHandoutDoc&>(document).model().handout().templateName = name;
            });
    } else if (const auto* script = std::get_if<RunScript>(&m_choice)) {
        runUserScript(
            dataFilePath(QFile::encodeName(script->name).toStdString() + ".vsc"), CMainFrame::instance());
    } else if (const auto* created = std::get_if<CreateScript>(&m_choice)) {
        if (Document* document = m_documents.newDocument(created->typeName, created->title)) {
            QString text = created->text;
            static_cast<CScriptEditDoc*>(document)->setText(
                text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
    }
    m_choice = {};
}

void NewDocumentDialog::run(DocumentManager& documents, QWidget* parent)
{
    NewDocumentDialog dialog(documents, parent);
    if (dialog.exec() == QDialog::Accepted)
        dialog.performChoice();
}

} // namespace vorpane
