#pragma once
// InvestigatorDocumentModel: the document behind an investigator sheet. Its afterChange()
// recalculates budgets and base values for fields with FieldRecalculates.

#include "image/image.h"
#include "investigator/derived_values.h"
#include "investigator/investigator.h"
#include "investigator/investigator_history.h"
#include "sheet/document_model.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vorpane {

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

} // namespace vorpane
