#pragma once
// CInvestigatorView: an investigator on its sheet. Adds the investigator's field table and hooks,
// the sheet script the document names (else its rule file's), the suggestion lists of its rule
// file, the four display options as check-marked commands, and the skill-point counters of the
// status bar while it is active.

#include "documents/script_sheet_view.h"

namespace vorpane {

class CInvestigatorDoc;

class CInvestigatorView final : public CScriptSheetView {
    Q_OBJECT
public:
    explicit CInvestigatorView(CInvestigatorDoc& document, QWidget* parent = nullptr);
    ~CInvestigatorView() override;

    CInvestigatorDoc& investigatorDocument() const;
    // The display options changed: every investigator sheet is painted again.
    static void redrawAll();

protected:
    std::unique_ptr<SheetHost> makeHost() override;
    std::string initialScriptName() override;
    void recordScriptName(const std::string& name) override;
    void refreshStatusPanes() override;
    // The investigator's name, which says more than its file's.
    QString documentName() const override;
};

} // namespace vorpane
