#pragma once
// A document shown as the page its layout script draws. (A first form: the page is painted as a
// picture; editing in place comes with the field editor.)

#include "app/document_view.h"
#include "sheet/sheet_layout.h"

#include <memory>

class QLabel;
class QScrollArea;

namespace vorpane {

class CScriptSheetView : public DocumentView {
    Q_OBJECT
public:
    CScriptSheetView(Document& document, const char* extension, QWidget* parent = nullptr);
    ~CScriptSheetView() override;

    SheetLayout& layout() { return m_layout; }
    const std::string& scriptName() const { return m_scriptName; }

    void initialUpdate() override;
    void settingsChanged() override { runScript(); }

protected:
    // The host that binds the document's fields to the layout.
    virtual std::unique_ptr<SheetHost> makeHost() = 0;
    virtual std::string initialScriptName() = 0;
    void runScript();

private:
    SheetLayout m_layout;
    std::unique_ptr<SheetHost> m_host;
    std::string m_extension;
    std::string m_scriptName;
    QScrollArea* m_scroll;
    QLabel* m_page;
};

class CInvestigatorDoc;
class CHandoutDoc;

class CInvestigatorView final : public CScriptSheetView {
    Q_OBJECT
public:
    explicit CInvestigatorView(CInvestigatorDoc& document, QWidget* parent = nullptr);

protected:
    std::unique_ptr<SheetHost> makeHost() override;
    std::string initialScriptName() override;
};

class CHandoutView final : public CScriptSheetView {
    Q_OBJECT
public:
    explicit CHandoutView(CHandoutDoc& document, QWidget* parent = nullptr);

protected:
    std::unique_ptr<SheetHost> makeHost() override;
    std::string initialScriptName() override;
};

} // namespace vorpane
