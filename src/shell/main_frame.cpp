#include "shell/main_frame.h"

#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "documents/sheet_printing.h"
#include "docview/child_frame.h"
#include "docview/desktop_dialogs.h"
#include "docview/doc_template.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "docview/document_view.h"
#include "docview/resources.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/ui_services.h"
#include "shell/break_key_filter.h"
#include "shell/document_types.h"
#include "shell/lock_keys.h"
#include "shell/menu_layout.h"
#include "shell/new_document_dialog.h"
#include "shell/new_style_command.h"
#include "shell/output_window.h"
#include "shell/recovery.h"
#include "shell/tip_panel.h"
#include "shell/toolbar_style.h"
#include "widgets/floating_info_window.h"
#include "widgets/help_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace vorpane {

namespace {

CMainFrame* g_frame = nullptr;

// The dock state and geometry live under the framework's dock-state prefix.
constexpr int kStyleComboWidth = 240;
constexpr int kStyleComboDrop = 200;
constexpr int kOutputWidth = 250;
constexpr int kOutputHeight = 75;

QString translated(const char* text) { return QCoreApplication::translate("Commands", text); }

QByteArray readBytes(const TextKey& key)
{
    return QByteArray::fromBase64(QByteArray::fromStdString(Profile::read(key)));
}

void writeBytes(const TextKey& key, const QByteArray& bytes)
{
    Profile::write(key, bytes.toBase64().toStdString());
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
    , m_mdiArea(new QMdiArea(this))
{
    g_frame = this;
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("Vorpane"));
    setAcceptDrops(true);
    resize(1024, 768);

    m_mdiArea->setObjectName(QStringLiteral("DocumentArea"));
    setCentralWidget(m_mdiArea);
    m_documents = new DocumentManager(m_mdiArea, this, this);
    registerStandardTemplates(*m_documents);
    // Floating windows open by the document area's corner.
    FloatingInfoWindow::setPlacementArea([this]() -> QRect {
        if (g_frame != this || !isVisible())
            return {};
        return QRect(m_mdiArea->mapToGlobal(QPoint(0, 0)), m_mdiArea->size());
    });
    m_recovery = new RecoveryManager(*m_documents, this);
    new BreakKeyFilter(this);
    m_tipPanel = new TipPanel(m_mdiArea);

    createActions();
    createToolBar();
    createStatusBar();
    createOutputBar();
    addAppCommands();
    buildMenuBar(MenuKind::NoDocument);
    restoreWindowState();

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::subWindowActivated);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::scheduleCommandUpdate);
    connect(m_documents, &DocumentManager::documentAdded, this, [this](Document* document) {
        connect(document, &Document::modifiedChanged, this, &CMainFrame::scheduleCommandUpdate);
        connect(document, &Document::titleChanged, this, &CMainFrame::updateTitle);
        connect(document, &Document::modifiedChanged, this, &CMainFrame::updateTitle);
        connect(document, &Document::contentChanged, this, &CMainFrame::scheduleCommandUpdate);
    });
    updateCommandStates();
    // Lock keys change with key presses anywhere in the program.
    qApp->installEventFilter(this);
    updateLockPanes();
}

CMainFrame::~CMainFrame()
{
    // Hiding the window moves the focus and hides the output bar, and their signals come here: so
    // it is hidden now, while this is still a whole frame, not later by QWidget's destructor.
    hide();
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // Without a clean exit the recovery copies stay for the next start.
    m_recovery->abandonSession();
    // The windows go before the documents they show.
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        delete window;
    if (g_frame == this) {
        g_frame = nullptr;
        FloatingInfoWindow::setPlacementArea({});
    }
}

CMainFrame* CMainFrame::instance() { return g_frame; }

// --- Commands ----------------------------------------------------------------------------------

void CMainFrame::createActions()
{
    for (std::span<const CommandRow> table : commandTables()) {
        for (const CommandRow& row : table) {
            const QString id = QString::fromLatin1(row.id);
            auto* action = new QAction(translated(row.text), this);
            action->setObjectName(id);
            if (*row.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            // A status text may carry the button's tip after a line feed.
            const QStringList tips = translated(row.statusTip).split(QLatin1Char('\n'));
            if (!tips.front().isEmpty())
                action->setStatusTip(tips.front());
            if (tips.size() > 1)
                action->setToolTip(tips.at(1));
            if (*row.icon)
                action->setIcon(resourceIcon(QString::fromLatin1(row.icon)));
            action->setCheckable(row.checkable);
            // Shortcuts work whatever menu bar is shown.
            addAction(action);
            connect(action, &QAction::triggered, this, [this, id] { execute(id); });
            m_actions.insert(id, action);
        }
    }
}

void CMainFrame::execute(const QString& id)
{
    // A checkable action flips its mark on trigger; the command's own state decides it.
    DocumentView* view = activeView();
    if (view && view->runCommand(id)) {
    } else if (view && view->document().runCommand(id)) {
    } else {
        runCommand(id);
    }
    updateCommandStates();
}

void CMainFrame::updateCommandStates()
{
    m_updatePending = false;
    DocumentView* view = activeView();
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it) {
        CommandState state;
        const bool known
            = (view
                  && (view->commandState(it.key(), state) || view->document().commandState(it.key(), state)))
            || commandState(it.key(), state);
        QAction* action = it.value();
        action->setEnabled(known && state.enabled);
        if (action->isCheckable())
            action->setChecked(known && state.checked);
    }
}

void CMainFrame::scheduleCommandUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QTimer::singleShot(0, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::addAppCommands()
{
    addCommand(cmd::New, [this] { NewDocumentDialog::run(*m_documents, this); });
    addCommand(cmd::NewFromStyle, [this] { NewStyleCommand::run(*m_documents, this); });
    addCommand(cmd::Options, [this] { COptionsDlg::run(this); });
    addCommand(cmd::HelpContents, [this] { showHelp(this); });
    addCommand(cmd::About, [this] {
        CAboutDlg about(this);
        about.exec();
    });
    addCommandIf(
        cmd::TipOfTheDay, [this] { m_tipPanel->showNextTip(); }, [this] { return m_tipPanel->isEnabled(); });
    // F4 in the sheet windows: the style list, open.
    addCommandIf(
        cmd::SheetStyle,
        [this] {
            m_styleCombo->setFocus(Qt::ShortcutFocusReason);
            m_styleCombo->showPopup();
        },
        [this] {
            return (m_menuKind == MenuKind::Investigator || m_menuKind == MenuKind::Handout)
                && m_styleCombo->isEnabled() && m_styleCombo->count() > 0;
        });
    addCommand(cmd::Open, [this] {
        const QStringList files
            = dialogs().openFileNames(this, tr("Abrir"), QString(), m_documents->openFilter());
        for (const QString& file : files)
            m_documents->openDocumentFile(file);
    });
    addCommand(cmd::Exit, [this] { close(); });
    addCommand(cmd::PrintSetup, [this] { showSheetPrinterSetup(this); });
    const auto hasDocument = [this] { return activeDocument() != nullptr; };
    addCommandIf(
        cmd::Close,
        [this] {
            if (Document* document = activeDocument())
                m_documents->closeDocument(*document);
        },
        hasDocument);
    addCommandIf(
        cmd::Save,
        [this] {
            if (Document* document = activeDocument())
                m_documents->saveDocument(*document);
        },
        hasDocument);
    addCommandIf(
        cmd::SaveAs,
        [this] {
            if (Document* document = activeDocument())
                m_documents->saveDocumentAs(*document);
        },
        hasDocument);

    addCommand(
        cmd::ToolBar, [this] { m_toolBar->setVisible(m_toolBar->isHidden()); },
        [this] {
            return CommandState { true, !m_toolBar->isHidden() };
        });
    addCommand(
        cmd::StatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); },
        [this] {
            return CommandState { true, !statusBar()->isHidden() };
        });
    addCommand(
        cmd::OutputBar, [this] { showOutputBar(m_outputBar->isHidden()); },
        [this] {
            return CommandState { true, !m_outputBar->isHidden() };
        });
    // Enabled only while the bar shows, so that Esc reaches the views otherwise.
    addCommandIf(
        cmd::HideOutput, [this] { showOutputBar(false); }, [this] { return !m_outputBar->isHidden(); });
    addCommand(cmd::NextPane, [this] { focusNextPane(true); });
    addCommand(cmd::PreviousPane, [this] { focusNextPane(false); });
    addCommandIf(
        cmd::Cascade, [this] { m_mdiArea->cascadeSubWindows(); }, hasDocument);
    addCommandIf(
        cmd::Tile, [this] { m_mdiArea->tileSubWindows(); }, hasDocument);
}

// --- Menus -------------------------------------------------------------------------------------

void CMainFrame::buildMenuBar(MenuKind kind)
{
    if (kind == m_menuKind)
        return;
    m_menuKind = kind;
    QMenuBar* bar = menuBar();
    for (QAction* old : bar->actions()) {
        bar->removeAction(old);
        if (QMenu* menu = old->menu())
            menu->deleteLater();
    }
    for (const MenuRow& row : menuLayout(kind)) {
        QMenu* const top = bar->addMenu(translated(row.title));
        QMenu* menu = top;
        for (auto it = row.items.begin(); it != row.items.end(); ++it) {
            const char* item = *it;
            if (qstrcmp(item, kSubmenuStart) == 0 && it + 1 != row.items.end()) {
                menu = top->addMenu(translated(*++it));
                connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
            } else if (qstrcmp(item, kSubmenuEnd) == 0) {
                menu = top;
            } else if (qstrcmp(item, "-") == 0) {
                menu->addSeparator();
            } else if (qstrcmp(item, kRecentFilesSlot) == 0) {
                QAction* anchor = menu->addSeparator();
                anchor->setVisible(false);
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillRecentFiles(menu); });
                anchor->setObjectName(QString::fromLatin1(kRecentFilesSlot));
            } else if (qstrcmp(item, kWindowListSlot) == 0) {
                QAction* anchor = menu->addSeparator();
                anchor->setVisible(false);
                anchor->setObjectName(QString::fromLatin1(kWindowListSlot));
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { fillWindowList(menu); });
            } else if (QAction* action = m_actions.value(QString::fromLatin1(item))) {
                menu->addAction(action);
            } else {
                qWarning("menu item %s has no command", item);
            }
        }
        connect(top, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
        if (qstrcmp(row.title, "Ay&uda") == 0)
            connect(top, &QMenu::aboutToShow, this, [this, top] { insertTipItem(top); });
    }
}

void CMainFrame::insertTipItem(QMenu* helpMenu)
{
    QAction* tip = m_actions.value(QString::fromLatin1(cmd::TipOfTheDay));
    if (!tip || !m_tipPanel->isEnabled())
        return;
    const QList<QAction*> items = helpMenu->actions();
    if (!items.isEmpty() && items.front() == tip)
        return;
    QAction* first = items.isEmpty() ? nullptr : items.front();
    helpMenu->insertAction(first, tip);
    helpMenu->insertSeparator(first);
}

// Dynamic items stand right after their slot's hidden anchor, carrying the slot's name as data.
namespace {

void removeDynamicItems(QMenu* menu, const QString& slot)
{
    for (QAction* action : menu->actions()) {
        if (action->data().toString() == slot)
            delete action;
    }
}

QAction* anchorOf(QMenu* menu, const QString& slot)
{
    for (QAction* action : menu->actions()) {
        if (action->objectName() == slot)
            return action;
    }
    return nullptr;
}

QAction* actionAfter(QMenu* menu, QAction* anchor)
{
    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(anchor);
    return at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr;
}

} // namespace

void CMainFrame::fillRecentFiles(QMenu* menu)
{
    const QString slot = QString::fromLatin1(kRecentFilesSlot);
    removeDynamicItems(menu, slot);
    QAction* anchor = anchorOf(menu, slot);
    if (!anchor)
        return;
    QAction* before = actionAfter(menu, anchor);
    const QStringList files = m_documents->recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString shown = QDir::current().relativeFilePath(files[i]);
        auto* item = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(shown.startsWith(QLatin1String("..")) ? files[i] : shown),
            menu);
        item->setData(slot);
        connect(item, &QAction::triggered, this, [this, file = files[i]] {
            if (!m_documents->openDocumentFile(file) && !QFileInfo::exists(file))
                m_documents->removeRecentFile(file);
        });
        menu->insertAction(before, item);
    }
}

void CMainFrame::fillWindowList(QMenu* menu)
{
    const QString slot = QString::fromLatin1(kWindowListSlot);
    removeDynamicItems(menu, slot);
    QAction* anchor = anchorOf(menu, slot);
    if (!anchor)
        return;
    QAction* before = actionAfter(menu, anchor);
    const QList<CChildFrame*> windows = m_documents->frames();
    for (int i = 0; i < windows.size(); ++i) {
        CChildFrame* window = windows[i];
        const Document& document = window->view()->document();
        auto* item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(document.title()), menu);
        item->setData(slot);
        item->setCheckable(true);
        item->setChecked(window == m_mdiArea->currentSubWindow());
        connect(item, &QAction::triggered, this, [this, window] { m_mdiArea->setActiveSubWindow(window); });
        menu->insertAction(before, item);
    }
}

// --- Bars --------------------------------------------------------------------------------------

void CMainFrame::createToolBar()
{
    m_toolBar = addToolBar(tr("Barra de herramientas"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    for (const char* id : { cmd::New, cmd::Open, cmd::Save, "-", cmd::Cut, cmd::Copy, cmd::Paste, "-",
             cmd::Print, "-", cmd::Undo, cmd::Redo, "-", cmd::SheetStyle, "-", cmd::OutputBar, cmd::About }) {
        if (qstrcmp(id, "-") == 0) {
            m_toolBar->addSeparator();
        } else if (qstrcmp(id, cmd::SheetStyle) == 0) {
            m_styleCombo = new QComboBox(m_toolBar);
            m_styleCombo->setObjectName(QStringLiteral("SheetStyle"));
            m_styleCombo->setFixedWidth(kStyleComboWidth);
            m_styleCombo->setMaxVisibleItems(kStyleComboDrop / qMax(1, m_styleCombo->fontMetrics().height()));
            m_styleCombo->setToolTip(tr("Estilo de ficha"));
            m_styleCombo->setEnabled(false);
            m_toolBar->addWidget(m_styleCombo);
        } else if (QAction* action = m_actions.value(QString::fromLatin1(id))) {
            m_toolBar->addAction(action);
        }
    }
    vorpane::applyToolbarStyle(m_toolBar, flatToolbarsWanted());
}

void CMainFrame::applyToolbarStyle(bool flat) { vorpane::applyToolbarStyle(m_toolBar, flat); }

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(bar);
    m_messagePane->setObjectName(QStringLiteral("MessagePane"));
    bar->addWidget(m_messagePane, 1);
    const auto pane = [bar](const char* name, const QString& sizedBy) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(sizedBy) + 8);
        bar->addPermanentWidget(label);
        return label;
    };
    m_skillPane = pane("SkillPointsPane", QStringLiteral("Habil.: 9999 Hobby: 9999"));
    m_pointsPane = pane("PointsPane", QStringLiteral("9999 Points"));
    m_numPane = pane("NumPane", QStringLiteral("NUM"));
    m_capPane = pane("CapPane", QStringLiteral("CAP"));
}

QString CMainFrame::lockPaneText(bool caps) const { return (caps ? m_capPane : m_numPane)->text(); }

void CMainFrame::updateLockPanes()
{
    const LockKeys keys = readLockKeys();
    m_numPane->setText(keys.numLock ? QStringLiteral("NUM") : QString());
    m_capPane->setText(keys.capsLock ? QStringLiteral("CAP") : QString());
}

namespace {

// The chapter that F1 opens over a dialog: the one that tells about it.
QString chapterFor(const QWidget* window)
{
    static const std::pair<const char*, const char*> kChapters[] = {
        { "CWizard_NewInvestigator", "02-asistente.html" },
        { "AgeDialog", "02-asistente.html" },
        { "OptionalSkillsDialog", "02-asistente.html" },
        { "NewDocumentDialog", "01-primeros-pasos.html" },
        { "COptionsDlg", "07-opciones.html" },
        { "DiceRollerDialog", "05-dados-y-herramientas.html" },
        { "AddSkillDialog", "03-la-ficha.html" },
        { "EditSkillDialog", "03-la-ficha.html" },
        { "SkillListDialog", "03-la-ficha.html" },
        { "WeaponListDialog", "03-la-ficha.html" },
        { "CNewWeaponDlg", "03-la-ficha.html" },
        { "SpellBookDialog", "03-la-ficha.html" },
    };
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        for (const auto& [name, chapter] : kChapters) {
            if (w->objectName() == QLatin1String(name))
                return QLatin1String(chapter);
        }
    }
    return {};
}

} // namespace

void CMainFrame::showHelp(QWidget* over)
{
    // A modal dialog blocks every window that is not its own: the guide then opens as its child.
    QWidget* modal = QApplication::activeModalWidget();
    HelpWindow* help
        = HelpWindow::showGuide(modal ? modal : this, over && over != this ? chapterFor(over) : QString());
    // When the dialog ends the guide stays open, over the main window.
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        connect(dialog, &QDialog::finished, help, [this, help] { help->moveTo(this); });
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    // F1 from dialogs and the wizard, where the menu's shortcut does not reach.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier && widget
            && widget->window() != this && widget->window() != HelpWindow::current()) {
            showHelp(widget->window());
            return true;
        }
    }
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::ApplicationActivate) {
        const auto* key = event->type() == QEvent::KeyRelease ? static_cast<QKeyEvent*>(event) : nullptr;
        if (!key || key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock)
            updateLockPanes();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::createOutputBar()
{
    m_outputBar = new QDockWidget(QStringLiteral("Output"), this);
    m_outputBar->setObjectName(QStringLiteral("OutputBar"));
    m_outputBar->setAllowedAreas(Qt::AllDockWidgetAreas);
    m_output = new OutputWindow(ui().output(), m_outputBar);
    m_output->resize(kOutputWidth, kOutputHeight);
    m_outputBar->setWidget(m_output);
    addDockWidget(Qt::BottomDockWidgetArea, m_outputBar);
    m_outputBar->hide();
    connect(m_output, &OutputWindow::visibilityRequested, this, &CMainFrame::showOutputBar);
    connect(m_outputBar, &QDockWidget::visibilityChanged, this, &CMainFrame::scheduleCommandUpdate);
}

void CMainFrame::showOutputBar(bool show)
{
    m_outputBar->setVisible(show);
    scheduleCommandUpdate();
}

void CMainFrame::setStatusMessage(const QString& text)
{
    m_statusMessage = text;
    // One line in the pane: a script error's second line would make the status bar grow.
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_messagePane->setText(line.replace(QLatin1Char('\r'), QLatin1Char(' ')));
    m_messagePane->repaint();
}

QString CMainFrame::statusMessage() const { return m_statusMessage; }

void CMainFrame::setPaneText(Pane pane, const QString& text)
{
    QLabel* label = pane == Pane::SkillPoints ? m_skillPane : m_pointsPane;
    label->setText(text);
}

QString CMainFrame::paneText(Pane pane) const
{
    return (pane == Pane::SkillPoints ? m_skillPane : m_pointsPane)->text();
}

// --- Windows -----------------------------------------------------------------------------------

DocumentView* CMainFrame::activeView() const { return m_documents->activeView(); }

Document* CMainFrame::activeDocument() const { return m_documents->activeDocument(); }

void CMainFrame::subWindowActivated(QMdiSubWindow* window)
{
    auto* frame = qobject_cast<CChildFrame*>(window);
    DocumentView* view = frame ? frame->view() : nullptr;
    if (view != m_activeView) {
        if (m_activeView)
            m_activeView->activated(false);
        m_activeView = view;
        if (view)
            view->activated(true);
    }
    buildMenuBar(view ? view->document().docTemplate().menuKind() : MenuKind::NoDocument);
    updateTitle();
    updateCommandStates();
}

void CMainFrame::updateTitle()
{
    const Document* document = activeDocument();
    m_title = document ? QStringLiteral("Vorpane - ") + document->title() + QStringLiteral("[*]")
                       : QStringLiteral("Vorpane");
    setWindowTitle(m_title);
    setWindowModified(document && document->isModified());
}

void CMainFrame::changeEvent(QEvent* event)
{
    // A maximised document window appends " - [its title]" to ours; the title names it already.
    if (event->type() == QEvent::WindowTitleChange && !m_title.isEmpty() && windowTitle() != m_title)
        setWindowTitle(m_title);
    QMainWindow::changeEvent(event);
}

void CMainFrame::focusNextPane(bool forward)
{
    QWidget* panes[] = { activeView(), m_outputBar->isHidden() ? nullptr : m_output };
    QWidget* focus = QApplication::focusWidget();
    const bool inOutput = focus && m_output->isAncestorOf(focus);
    QWidget* next = inOutput == forward ? panes[0] : panes[1];
    if (!next)
        next = panes[0] ? panes[0] : panes[1];
    if (next)
        next->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::restoreWindowState()
{
    restoreState(readBytes(profile_keys::kFrameState));
    statusBar()->setVisible(Profile::read(profile_keys::kStatusBarShown) != 0);
}

void CMainFrame::saveWindowState()
{
    writeBytes(profile_keys::kFrameState, saveState());
    Profile::write(profile_keys::kStatusBarShown, statusBar()->isHidden() ? 0 : 1);
    writeBytes(profile_keys::kFrameGeometry, saveGeometry());
}

void CMainFrame::showAtStart()
{
    if (restoreGeometry(readBytes(profile_keys::kFrameGeometry)))
        show();
    else
        showMaximized();
}

void CMainFrame::settingsChanged()
{
    m_output->reloadSettings();
    broadcastSettingsChanged();
}

void CMainFrame::broadcastSettingsChanged()
{
    for (Document* document : m_documents->documents()) {
        for (DocumentView* view : document->views())
            view->settingsChanged();
    }
}

void CMainFrame::openFiles(const QStringList& files)
{
    bringToFront();
    for (const QString& file : files)
        m_documents->openDocumentFile(file);
}

void CMainFrame::bringToFront()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_documents->closeAll()) {
        event->ignore();
        return;
    }
    saveWindowState();
    m_recovery->endSession();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            m_documents->openDocumentFile(url.toLocalFile());
    }
    event->acceptProposedAction();
}

} // namespace vorpane
