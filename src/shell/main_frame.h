#pragma once
// The main window: the document area with its child windows, the menu bar of the active
// document's kind, the toolbar with the sheet-style combo box, the five status-bar panes and the
// output bar. Commands are routed to the active view, its document, then the frame itself.

#include "docview/command_target.h"
#include "docview/commands.h"
#include "docview/desk.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QComboBox;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vorpane {

class Document;
class DocumentManager;
class DocumentView;
class OutputWindow;
class RecoveryManager;
class TipPanel;

class CMainFrame final : public QMainWindow, public CommandTarget, public Desk {
    Q_OBJECT
public:
    using Pane = Desk::Pane;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The frame that exists, or null (only the program's start-up and its Ui services use it;
    // everything below reaches the frame as a Desk).
    static CMainFrame* instance();

    DocumentManager& documents() const override { return *m_documents; }
    // The recovery copies of modified documents.
    RecoveryManager& recovery() const { return *m_recovery; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    OutputWindow* outputWindow() const { return m_output; }
    QDockWidget* outputBar() const { return m_outputBar; }
    // The sheet-style combo box of the toolbar; the active sheet view fills it.
    QComboBox* styleCombo() const override { return m_styleCombo; }

    // The message pane, repainted at once.
    void setStatusMessage(const QString& text) override;
    QString statusMessage() const override;
    void setPaneText(Pane pane, const QString& text) override;
    QString paneText(Pane pane) const;

    DocumentView* activeView() const override;
    Document* activeDocument() const override;

    // The action of a command id (its object name is the id), or null.
    QAction* action(const QString& id) const { return m_actions.value(id); }
    // Runs a command as its menu item would.
    void execute(const QString& id) override;
    // Re-reads the enabled and checked state of every command from the active route.
    void updateCommandStates();
    MenuKind menuKind() const { return m_menuKind; }

    void showOutputBar(bool show);
    // Shows the window as it was left, maximised the first time.
    void showAtStart();

    // The tip of the day on the document area's background.
    TipPanel* tipPanel() const { return m_tipPanel; }
    // Every view of every document rereads its settings (after the options sheet).
    void broadcastSettingsChanged();
    QWidget* ownerWindow() override { return this; }
    // The output bar rereads its font and colours, then every view its settings.
    void settingsChanged() override;
    // Flat toolbar buttons, or raised ones.
    void applyToolbarStyle(bool flat) override;
    // Files handed over by a later start: opened here, the window brought to the front.
    void openFiles(const QStringList& files);
    void bringToFront();
    // The NUM and CAP panes: their texts while the lock is on.
    QString lockPaneText(bool caps) const;
    void updateLockPanes();

    // Opens the guide; over a dialog, at the chapter about it.
    void showHelp(QWidget* over);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createActions();
    void createToolBar();
    void createStatusBar();
    void createOutputBar();
    void addAppCommands();
    void buildMenuBar(MenuKind kind);
    void fillRecentFiles(QMenu* menu);
    void fillWindowList(QMenu* menu);
    void insertTipItem(QMenu* helpMenu);
    void subWindowActivated(QMdiSubWindow* window);
    void scheduleCommandUpdate();
    void updateTitle();
    void focusNextPane(bool forward);
    void restoreWindowState();
    void saveWindowState();

    DocumentManager* m_documents;
    RecoveryManager* m_recovery;
    QMdiArea* m_mdiArea;
    OutputWindow* m_output = nullptr;
    QDockWidget* m_outputBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QComboBox* m_styleCombo = nullptr;
    QLabel* m_messagePane = nullptr;
    QString m_statusMessage;
    QLabel* m_skillPane = nullptr;
    QLabel* m_pointsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_capPane = nullptr;
    TipPanel* m_tipPanel = nullptr;
    QHash<QString, QAction*> m_actions;
    MenuKind m_menuKind = MenuKind::Investigator; // anything but the first one built
    QPointer<DocumentView> m_activeView;
    bool m_updatePending = false;
    QString m_title; // as updateTitle() made it
};

} // namespace vorpane
