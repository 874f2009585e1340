#pragma once
// The investigator document type: an investigator with its history, sheet-script name and
// portrait (the core's InvestigatorDocumentModel), read and written as ".inv" files.

#include "docview/document.h"
#include "rules/list_file.h"
#include "sheet/investigator_document_model.h"

#include <optional>

namespace vorpane {

class CInvestigatorDoc final : public Document {
    Q_OBJECT
public:
    explicit CInvestigatorDoc(const CMultiFileMultiDocTemplate& docTemplate);
    ~CInvestigatorDoc() override;

    InvestigatorDocumentModel& model() { return m_model; }
    const InvestigatorDocumentModel& model() const { return m_model; }
    Investigator& investigator() { return m_model.investigator(); }

    bool isModified() const override { return m_model.isModified(); }
    void setModified(bool modified) override { m_model.setModified(modified); }
    bool openDocument(const QString& path) override;
    bool saveDocument(const QString& path) override;
    std::string fileBytes() const override;
    // A file of an older version is saved as a new ".inv" file.
    bool canSaveInPlace() const override { return Document::canSaveInPlace() && !m_readOlderVersion; }
    // A document never saved proposes the investigator's name.
    QString proposedFileName() const override;

    // The suggestion lists of the sheet's fields: the options list of the investigator's rule
    // file, read anew when the rule file changes.
    ListFile& optionLists();

private:
    friend class InvestigatorCommands; // registers the document's menu commands

    InvestigatorDocumentModel m_model;
    int m_subscription;
    bool m_readOlderVersion = false;
    std::optional<ListFile> m_optionLists;
    std::string m_optionListsRuleFile;
};

} // namespace vorpane
