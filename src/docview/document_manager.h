#pragma once
// The documents of the desktop: the registered document types, the open documents with their
// child windows, opening, creating, saving and closing them (with the save question), and the
// recent-file list of section "Recent File List".

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace vorpane {

class CChildFrame;
class CMultiFileMultiDocTemplate;
class Desk;
class Document;
class DocumentView;

class DocumentManager final : public QObject {
    Q_OBJECT
public:
    static constexpr int kRecentFileCount = 8;

    // Fills a new investigator from the rule file and era, with the wizard or rolled at once; false
    // when the rule file does not load or the wizard was cancelled. The program hands it in with the
    // document types, which live above this layer.
    using InvestigatorSetup
        = std::function<bool(Document& document, const std::string& ruleFile, int era, bool withWizard)>;

    explicit DocumentManager(QMdiArea* area, Desk* desk = nullptr, QObject* parent = nullptr);
    ~DocumentManager() override;

    Desk* desk() const { return m_desk; }
    void setInvestigatorSetup(InvestigatorSetup setup) { m_investigatorSetup = std::move(setup); }
    void addTemplate(std::unique_ptr<CMultiFileMultiDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CMultiFileMultiDocTemplate>>& templates() const { return m_templates; }
    // By type name, case ignored; null when there is none.
    CMultiFileMultiDocTemplate* findTemplate(const QString& typeName) const;
    // By the file's extension, else by its first bytes; null when none fits.
    CMultiFileMultiDocTemplate* templateForFile(const QString& path) const;
    // The filters of the open dialog: every type, each type, all files.
    QString openFilter() const;

    // Opens a file in a new window, or activates the window that already shows it. Null when the
    // file could not be read (the reader showed why) or has no document type.
    Document* openDocumentFile(const QString& path);
    // A new, empty document of the type in a new window, with the title given (the type's
    // new-file name when empty). `prepare` sets the document up before its view first shows it
    // (a handout's layout script). Null when the type is unknown.
    Document* newDocument(const QString& typeName, const QString& title = {},
        const std::function<void(Document&)>& prepare = {});
    // An investigator from the rule file and era, with the wizard or rolled at once. Null when
    // the rule file does not load or the wizard was cancelled.
    Document* createInvestigator(const std::string& ruleFile, int era, bool withWizard);

    // A document read from a recovery copy: it opens modified, with the path of the user's file
    // (empty for one never saved) and the title it had. Null when the type is unknown or the copy
    // cannot be read (the reader showed why).
    Document* restoreDocument(
        const QString& typeName, const QString& copy, const QString& originalPath, const QString& title);

    // Save: to the document's file, or through the save dialog when it has none.
    bool saveDocument(Document& document);
    bool saveDocumentAs(Document& document);
    // Asks whether to save a modified document. False when the user cancelled or the save failed.
    bool saveModified(Document& document);
    // Closes every window of the document after saveModified(); false when it stays open.
    bool closeDocument(Document& document);
    // Closes every document, asking for each; false (and nothing more is closed) on Cancel.
    bool closeAll();

    QList<Document*> documents() const;
    Document* documentForPath(const QString& path) const;
    DocumentView* activeView() const;
    Document* activeDocument() const;
    CChildFrame* frameOf(const Document& document) const;
    // The document windows, in the document area's order.
    QList<CChildFrame*> frames() const;

    QStringList recentFiles() const;
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

signals:
    void documentAdded(vorpane::Document* document);
    void documentRemoved(vorpane::Document* document);
    void recentFilesChanged();

private:
    // Makes the window of a new document, shows it maximised and runs the initial update.
    CChildFrame* createFrame(Document& document);
    Document* adopt(std::unique_ptr<Document> document);
    void writeRecentFiles(const QStringList& files);

    QMdiArea* m_area;
    Desk* m_desk;
    InvestigatorSetup m_investigatorSetup;
    std::vector<std::unique_ptr<CMultiFileMultiDocTemplate>> m_templates;
    std::vector<std::unique_ptr<Document>> m_documents;
};

} // namespace vorpane
