#include "documents/investigator_view.h"

#include "documents/field_editor.h"
#include "documents/investigator_document.h"
#include "documents/sheet_canvas.h"
#include "documents/view_commands.h"
#include "docview/desk.h"
#include "platform/cp1252.h"
#include "sheet/investigator_defaults.h"
#include "sheet/investigator_sheet.h"
#include "sheet/investigator_sheet_options.h"
#include "sheet/sheet_script.h"

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
    Desk* owner = desk();
    if (!owner || !isActiveView())
        return;
    const SkillPointStatus status = investigatorDocument().model().pointStatus();
    owner->setPaneText(Desk::Pane::SkillPoints, fromCp1252(status.budgets));
    owner->setPaneText(Desk::Pane::Points, fromCp1252(status.points));
}

} // namespace vorpane
