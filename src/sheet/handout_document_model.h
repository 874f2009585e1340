#pragma once
// HandoutDocumentModel: the document behind a handout sheet.

#include "sheet/document_model.h"
#include "sheet/handout_doc.h"

#include <string>

namespace vorpane {

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

} // namespace vorpane
