#include "documents/handout_view.h"

#include "documents/handout_document.h"
#include "sheet/handout_sheet.h"
#include "sheet/sheet_script.h"

namespace vorpane {

CHandoutView::CHandoutView(CHandoutDoc& document, QWidget* parent)
    : CScriptSheetView(document, document.model(), kHandoutScriptExtension, parent)
{
}

CHandoutDoc& CHandoutView::handoutDocument() const { return static_cast<CHandoutDoc&>(document()); }

std::unique_ptr<SheetHost> CHandoutView::makeHost()
{
    return std::make_unique<HandoutSheet>(layout(), handoutDocument().model());
}

std::string CHandoutView::initialScriptName() { return handoutDocument().model().handout().templateName; }

} // namespace vorpane
