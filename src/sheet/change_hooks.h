#pragma once
// The documents behind sheet views, as core classes: path, modified mark, undo history, and a
// change notification that views subscribe to. Every change a sheet makes goes through the two
// hooks: beforeChange() takes the undo snapshot and marks the document modified; afterChange()
// recalculates what depends on the value (investigators: budgets and base values for fields with
// FieldRecalculates) and tells the views to drop their cached page and repaint. Commands that
// change a document as a whole (undo, redo, a dialog) tell the views to run their scripts again.
//
// The click actions of placements that change a value at once (check box, table entry, a stored
// editor text or picture path) are here too, so that views only call them.

#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_history.h"
#include "script/script_value.h"
#include "sheet/handout_doc.h"
#include "image/image.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorpane {

class PlacedField;
class SheetField;
class SheetLayout;
class TableEntry;

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

// An investigator document: the investigator, its history, the name of its sheet script and its
// loaded portrait.
class InvestigatorDocumentModel final : public DocumentModel {
public:
    InvestigatorDocumentModel();
    ~InvestigatorDocumentModel() override;

    Investigator& investigator() { return m_investigator; }
    const Investigator& investigator() const { return m_investigator; }
    InvestigatorHistory& history() { return m_history; }

    // The sheet script the document names (may be empty: the rule file's DefaultScript is used).
    const std::string& sheetScript() const { return m_sheetScript; }
    void setSheetScript(std::string name) { m_sheetScript = std::move(name); }

    // Reads an investigator file; on success the history empties, the portrait is reloaded, the
    // document is unmodified and the views run their scripts again. On failure nothing changes.
    bool open(const std::string& path);
    // Writes the file; on success the path is kept and the document is unmodified.
    bool save(const std::string& path);

    // Changes a generation count whenever entries may have been replaced (undo, redo, open,
    // change()); table bindings made before it are stale.
    uint64_t entriesGeneration() const { return m_entriesGeneration; }

    // The loaded portrait, or null.
    const Image* portraitImage() const { return m_portrait.get(); }
    // Loads inv.Portrait (relative names from the program folder); a picture that does not load
    // leaves no portrait. No status text.
    void reloadPortrait();
    // The portrait field's write: sets Portrait and loads the picture with the wait cursor and
    // the status text "Loading image <path>..."; a picture that does not load leaves the previous
    // one in place. True when it loaded.
    bool setPortrait(const std::string& path);

    // Hooks: a checkpoint and the modified mark; then budgets and base values for fields with
    // FieldRecalculates, and a Values notification.
    void beforeChange() override;
    void afterChange(const SheetField& field) override;

    // A command that changes the investigator: checkpoint, the change, modified, Content.
    void change(const std::function<void(Investigator&)>& command);

    // Undo and redo restore a snapshot, mark the document modified, reload the portrait and
    // notify Content.
    bool undo() override;
    bool redo() override;
    bool canUndo() const override { return m_history.canUndo(); }
    bool canRedo() const override { return m_history.canRedo(); }

    // The two status-bar panes of the skill points.
    SkillPointStatus pointStatus() const { return skillPointStatus(m_investigator); }

private:
    void contentReplaced();

    Investigator m_investigator;
    InvestigatorHistory m_history;
    std::string m_sheetScript;
    std::unique_ptr<Image> m_portrait;
    uint64_t m_entriesGeneration = 0;
};

// A handout document.
class HandoutDocumentModel final : public DocumentModel {
public:
    HandoutDoc& handout() { return m_handout; }
    const HandoutDoc& handout() const { return m_handout; }

    // As for investigators; a failed open changes nothing.
    bool open(const std::string& path);
    bool save(const std::string& path);

    void beforeChange() override;
    void afterChange(const SheetField& field) override;

    // Restore a snapshot, mark the document modified and notify Content.
    bool undo() override;
    bool redo() override;
    bool canUndo() const override { return m_handout.canUndo(); }
    bool canRedo() const override { return m_handout.canRedo(); }

private:
    HandoutDoc m_handout;
};

// --- Click actions that change a value at once -------------------------------------------------
// Each calls the layout host's beforeChange, stores, then afterChange. Nothing happens (false) for
// a disabled placement or a read-only field.

// A check box becomes 1 when its value is 0, else 0.
bool toggleCheckBox(SheetLayout& layout, PlacedField& placement);
// The field takes the entry's value.
bool chooseTableEntry(SheetLayout& layout, TableEntry& entry);
// A committed editor text or a chosen picture path.
bool storeFieldValue(SheetLayout& layout, PlacedField& placement, const script::ScriptValue& value);

} // namespace vorpane
