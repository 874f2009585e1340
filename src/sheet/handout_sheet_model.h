#pragma once
// HandoutSheetModel: the document behind a handout sheet.

#include "sheet/document_model.h"
#include "sheet/handout_file_data.h"

#include <string>

namespace vorpane {

// A handout document.
class HandoutSheetModel final : public DocumentModel {
public:
    HandoutFileData& handout() { return m_handout; }
    const HandoutFileData& handout() const { return m_handout; }

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
    HandoutFileData m_handout;
};

} // namespace vorpane
