#pragma once
// "Nuevo documento": every new document starts here. Four tabs over one list: investigators from
// each rule file and era (rolled at once, or with the whole wizard), handouts by layout script,
// and scripts (new ones of the three kinds, or an existing one to run). The chosen tab is kept
// for the rest of the run.

#include "rules/rule_file_entries.h"

#include <QDialog>
#include <variant>
#include <vector>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QTabBar;
class QToolBar;
class QToolButton;
class QAction;

namespace vorpane {

class DocumentManager;

class NewDocumentDialog final : public QDialog {
    Q_OBJECT
public:
    enum Tab { InvestigatorTab, FullInvestigatorTab, HandoutTab, ScriptTab, TabCount };
    enum class ViewMode { LargeIcons, SmallIcons, List };

    NewDocumentDialog(DocumentManager& documents, QWidget* parent = nullptr);
    ~NewDocumentDialog() override;

    // Runs the dialog modally and then does what was chosen.
    static void run(DocumentManager& documents, QWidget* parent);
    // The tab a new dialog opens on.
    static int rememberedTab();
    static void setRememberedTab(int tab);

    QTabBar* tabBar() const { return m_tabs; }
    QListWidget* list() const { return m_list; }
    QCheckBox* fullWizardBox() const { return m_fullWizard; }
    QToolBar* toolBar() const { return m_toolBar; }

    void setViewMode(ViewMode mode);
    ViewMode viewMode() const { return m_viewMode; }
    // Of the selected item; empty when nothing is selected.
    QString shortDescription() const;
    QString longDescription() const;
    // "Más Información": the long description in a box.
    void showMoreInformation();

    void accept() override;
    void done(int result) override;
    // After the dialog closed with OK: creates, runs or opens what was chosen.
    void performChoice();

private:
    struct OpenCommand { };
    struct OpenFile {
        QString path;
    };
    struct CreateInvestigator {
        NewDocumentEntry entry;
        bool wizard;
    };
    struct CreateHandout {
        QString scriptName;
    };
    struct RunScript {
        QString name;
    };
    struct CreateScript {
        QString typeName;
        QString title;
        QString text;
    };
    using Choice = std::variant<std::monostate, OpenCommand, OpenFile, CreateInvestigator, CreateHandout,
        RunScript, CreateScript>;

    void createToolBar();
    void fillList(int tab);
    void addItem(const QString& text, const QString& icon, int kind, const QVariant& value);
    void selectionChanged();
    void fillRecentMenu();
    void chooseAndClose(Choice choice);

    DocumentManager& m_documents;
    QTabBar* m_tabs;
    QToolBar* m_toolBar = nullptr;
    QToolButton* m_openButton = nullptr;
    QListWidget* m_list;
    QCheckBox* m_fullWizard;
    std::vector<NewDocumentEntry> m_entries;
    ViewMode m_viewMode = ViewMode::LargeIcons;
    QAction* m_modeActions[3] = {};
    Choice m_choice;
};

} // namespace vorpane
