#pragma once
// CHandoutView: a handout on the page its layout script draws. Its fields are the handout's fifty
// texts and five pictures; the script is the handout's template (the file is not changed when
// another style is shown); the status-bar panes stay empty.

#include "documents/script_sheet_view.h"

namespace vorpane {

class CHandoutDoc;

class CHandoutView final : public CScriptSheetView {
    Q_OBJECT
public:
    explicit CHandoutView(CHandoutDoc& document, QWidget* parent = nullptr);

    CHandoutDoc& handoutDocument() const;

protected:
    std::unique_ptr<SheetHost> makeHost() override;
    std::string initialScriptName() override;
};

} // namespace vorpane
