#pragma once
// DocumentModel: what every document behind a sheet view has, as a core class: path, modified
// mark, undo history, and a change notification that views subscribe to. Every change a sheet
// makes goes through the two hooks: beforeChange() takes the undo snapshot and marks the document
// modified; afterChange() recalculates what depends on the value and tells the views to drop their
// cached page and repaint. Commands that change a document as a whole (undo, redo, a dialog) tell
// the views to run their scripts again. The two kinds: InvestigatorDocumentModel and
// HandoutSheetModel.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vorpane {

class SheetField;

enum class DocumentChange {
    Values, // a value shown on the sheet changed: drop the cached page and repaint
    Content, // the document changed as a whole (undo, redo, a command): run the scripts again
    ModifiedMark, // only the modified mark changed (title bars)
};

class DocumentModel {
public:
    using Listener = std::function<void(DocumentChange)>;

    DocumentModel() = default;
    virtual ~DocumentModel() = default;
    DocumentModel(const DocumentModel&) = delete;
    DocumentModel& operator=(const DocumentModel&) = delete;

    const std::string& path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }
    bool isModified() const { return m_modified; }
    // Notifies ModifiedMark when the mark changes.
    void setModified(bool modified);

    // Returns an id for unsubscribe(). Listeners may unsubscribe while being notified.
    int subscribe(Listener listener);
    void unsubscribe(int id);
    void notify(DocumentChange change);

    // The two hooks around a change that the sheet makes to a field.
    virtual void beforeChange() = 0;
    virtual void afterChange(const SheetField& field) = 0;

    virtual bool undo() = 0;
    virtual bool redo() = 0;
    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;

private:
    std::string m_path;
    bool m_modified = false;
    int m_nextListenerId = 1;
    int m_notifying = 0; // depth of notify() calls in progress
    std::vector<std::pair<int, Listener>> m_listeners;
};

} // namespace vorpane
