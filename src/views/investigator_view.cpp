#include "views/investigator_view.h"

#include "app/investigator_document.h"
#include "app/main_frame.h"
#include "platform/cp1252.h"
#include "sheet/investigator_defaults.h"
#include "sheet/investigator_sheet.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/sheet_script.h"
#include "views/field_editor.h"
#include "views/sheet_canvas.h"
#include "views/view_commands.h"

#include <QList>

namespace vorpane {

namespace {

QList<CInvestigatorView*>& liveViews()
{
    static QList<CInvestigatorView*> views;
    return views;
}

constexpr DisplayOption kDisplayOptions[] = { DisplayOption::Bases55, DisplayOption::CustomSkillFields,
    DisplayOption::AllPercent, DisplayOption::TrimSkills };

} // namespace

CInvestigatorView::CInvestigatorView(CInvestigatorDoc& document, QWidget* parent)
    : CScriptSheetView(document, document.model(), kSheetScriptExtension, parent)
{
    liveViews().append(this);
    fieldEditor()->setOptionLists([&document] { return &document.optionLists(); });
    for (const DisplayOption option : kDisplayOptions) {
        addCommand(
            displayOptionCommand(option),
            [this, option] {
                commitEditing();
                toggleDisplayOption(option);
                redrawAll();
            },
            [option] {
                return CommandState { true, displayOptions().get(option) };
            });
    }
}

CInvestigatorView::~CInvestigatorView() { liveViews().removeAll(this); }

CInvestigatorDoc& CInvestigatorView::investigatorDocument() const
{
    return static_cast<CInvestigatorDoc&>(document());
}

void CInvestigatorView::redrawAll()
{
    for (CInvestigatorView* view : liveViews())
        view->canvas()->dropPage();
}

std::unique_ptr<SheetHost> CInvestigatorView::makeHost()
{
    return std::make_unique<InvestigatorSheet>(layout(), investigatorDocument().model());
}

std::string CInvestigatorView::initialScriptName()
{
    return investigatorSheetScript(investigatorDocument().model());
}

void CInvestigatorView::recordScriptName(const std::string& name)
{
    investigatorDocument().model().setSheetScript(name);
}

QString CInvestigatorView::documentName() const
{
    const QString name = fromCp1252(investigatorDocument().investigator().Name).trimmed();
    return name.isEmpty() ? CScriptSheetView::documentName() : name;
}

void CInvestigatorView::refreshStatusPanes()
{
    CMainFrame* frame = CMainFrame::instance();
    if (!frame || !isActiveView())
        return;
    const SkillPointStatus status = investigatorDocument().model().pointStatus();
    frame->setPaneText(CMainFrame::Pane::SkillPoints, fromCp1252(status.budgets));
    frame->setPaneText(CMainFrame::Pane::Points, fromCp1252(status.points));
}

} // namespace vorpane
