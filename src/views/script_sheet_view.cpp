#include "views/script_sheet_view.h"

#include "app/commands.h"
#include "app/handout_document.h"
#include "app/investigator_document.h"
#include "rules/rule_set_cache.h"
#include "sheet/handout_sheet.h"
#include "sheet/investigator_sheet.h"
#include "sheet/sheet_painter.h"
#include "sheet/sheet_script.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vorpane {

CScriptSheetView::CScriptSheetView(Document& document, const char* extension, QWidget* parent)
    : DocumentView(document, parent)
    , m_extension(extension)
    , m_scroll(new QScrollArea(this))
    , m_page(new QLabel)
{
    m_scroll->setWidget(m_page);
    m_scroll->setBackgroundRole(QPalette::Dark);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    addCommand(cmd::Refresh, [this] { runScript(); });
    connect(&document, &Document::contentChanged, this, &CScriptSheetView::runScript);
}

CScriptSheetView::~CScriptSheetView() = default;

void CScriptSheetView::initialUpdate()
{
    m_host = makeHost();
    m_scriptName = chooseSheetScript(initialScriptName(), m_extension);
    runScript();
}

void CScriptSheetView::runScript()
{
    if (!m_host)
        return;
    runSheetScriptNamed(m_scriptName, m_extension, m_layout);
    const QImage image = renderSheet(m_layout, logicalDpiX());
    m_page->setPixmap(QPixmap::fromImage(image));
    m_page->adjustSize();
}

CInvestigatorView::CInvestigatorView(CInvestigatorDoc& document, QWidget* parent)
    : CScriptSheetView(document, kSheetScriptExtension, parent)
{
}

std::unique_ptr<SheetHost> CInvestigatorView::makeHost()
{
    return std::make_unique<InvestigatorSheet>(layout(), static_cast<CInvestigatorDoc&>(document()).model());
}

std::string CInvestigatorView::initialScriptName()
{
    const InvestigatorDocumentModel& model = static_cast<CInvestigatorDoc&>(document()).model();
    if (!model.sheetScript().empty())
        return model.sheetScript();
    const std::string& named = model.investigator().RuleFile;
    const std::string ruleFile = named.empty() ? RuleSetCache::kDefaultRuleFile : named;
    RuleSetCache& cache = RuleSetCache::instance();
    if (!cache.ensureLoaded(ruleFile))
        return {};
    return cache.keyValue(ruleFile, "DefaultScript", "");
}

CHandoutView::CHandoutView(CHandoutDoc& document, QWidget* parent)
    : CScriptSheetView(document, kHandoutScriptExtension, parent)
{
}

std::unique_ptr<SheetHost> CHandoutView::makeHost()
{
    return std::make_unique<HandoutSheet>(layout(), static_cast<CHandoutDoc&>(document()).model());
}

std::string CHandoutView::initialScriptName()
{
    return static_cast<CHandoutDoc&>(document()).model().handout().templateName;
}

} // namespace vorpane
