#include "shell/document_types.h"

#include "documents/handout_document.h"
#include "documents/handout_view.h"
#include "documents/investigator_document.h"
#include "documents/investigator_view.h"
#include "documents/script_edit_doc.h"
#include "documents/script_edit_view.h"
#include "docview/desk.h"
#include "docview/doc_template.h"
#include "docview/document_manager.h"
#include "investigator/new_investigator.h"
#include "wizard/new_investigator_wizard.h"

namespace vorpane {

namespace {

template <typename Doc> std::unique_ptr<Document> make(const CMultiFileMultiDocTemplate& docTemplate)
{
    return std::make_unique<Doc>(docTemplate);
}

template <typename View, typename Doc> DocumentView* makeView(Document& document)
{
    return new View(static_cast<Doc&>(document));
}

bool setUpInvestigator(Document& created, const std::string& ruleFile, int era, bool withWizard)
{
    auto& document = static_cast<CInvestigatorDoc&>(created);
    Investigator& investigator = document.investigator();
    if (!withWizard)
        return createInvestigator(investigator, ruleFile, era);
    if (!setRuleFile(investigator, ruleFile))
        return false;
    investigator.Era = era;
    Desk* desk = document.desk();
    if (!runNewInvestigatorWizard(investigator, desk ? desk->ownerWindow() : nullptr))
        return false;
    if (!investigator.Portrait.empty())
        document.model().setPortrait(investigator.Portrait);
    return true;
}

} // namespace

void registerStandardTemplates(DocumentManager& documents)
{
    documents.addTemplate(std::make_unique<CMultiFileMultiDocTemplate>(129,
        QStringLiteral("Vorpane\nInvestigator\nZhaldor Investigator\nZhaldor Investigators (*.inv)\n.inv\n"
                       "Zhaldor.Investigator\nZhaldor Investigator"),
        MenuKind::Investigator, make<CInvestigatorDoc>, makeView<CInvestigatorView, CInvestigatorDoc>));
    documents.addTemplate(std::make_unique<CMultiFileMultiDocTemplate>(131,
        QStringLiteral("Vorpane\nHandout\nZhaldor Handout\nZhaldor Handouts (*.zho)\n.zho\nZhaldor.Handout\n"
                       "Zhaldor Handout"),
        MenuKind::Handout, make<CHandoutDoc>, makeView<CHandoutView, CHandoutDoc>));
    const auto scriptView = makeView<CScriptEditView, CScriptEditDoc>;
    documents.addTemplate(std::make_unique<CMultiFileMultiDocTemplate>(132,
        QStringLiteral(
            "Vorpane\nSheetScript\nVorpane Sheet Script\nInvestigator Sheet Scripts (*.vis)\n.vis\n"
            "Vorpane.SheetScript\nInvestigator Sheet Scripts"),
        MenuKind::Script, make<CScriptEditDoc>, scriptView));
    documents.addTemplate(std::make_unique<CMultiFileMultiDocTemplate>(134,
        QStringLiteral("Vorpane\nHandoutScript\nVorpane Handout Script\nHandout Scripts (*.vhs)\n.vhs\n"
                       "Vorpane.HandoutScript\nHandout Scripts"),
        MenuKind::Script, make<CScriptEditDoc>, scriptView));
    documents.addTemplate(std::make_unique<CMultiFileMultiDocTemplate>(130,
        QStringLiteral("Vorpane\nScript\nVorpane Script\nVorpane Scripts (*.vsc)\n.vsc\nVorpane.Script\n"
                       "Vorpane Script"),
        MenuKind::Script, make<CScriptEditDoc>, scriptView));
    documents.setInvestigatorSetup(setUpInvestigator);
}

} // namespace vorpane
