#pragma once
// The handout document type: fifty texts, five pictures and the layout script's name (the core's
// HandoutDocumentModel), read and written as ".zho" files.

#include "docview/document.h"
#include "sheet/handout_document_model.h"

namespace vorpane {

class CHandoutDoc final : public Document {
    Q_OBJECT
public:
    explicit CHandoutDoc(const CMultiFileMultiDocTemplate& docTemplate);
    ~CHandoutDoc() override;

    HandoutDocumentModel& model() { return m_model; }
    const HandoutDocumentModel& model() const { return m_model; }

    bool isModified() const override { return m_model.isModified(); }
    void setModified(bool modified) override { m_model.setModified(modified); }
    bool openDocument(const QString& path) override;
    bool saveDocument(const QString& path) override;
    std::string fileBytes() const override;

private:
    HandoutDocumentModel m_model;
    int m_subscription;
};

} // namespace vorpane
