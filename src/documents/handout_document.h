#pragma once
// The handout document type: fifty texts, five pictures and the layout script's name (the core's
// HandoutSheetModel), read and written as ".zho" files.

#include "docview/document.h"
#include "sheet/handout_sheet_model.h"

namespace vorpane {

class CHandoutDoc final : public Document {
    Q_OBJECT
public:
    explicit CHandoutDoc(const CMultiFileMultiDocTemplate& docTemplate);
    ~CHandoutDoc() override;

    HandoutSheetModel& model() { return m_model; }
    const HandoutSheetModel& model() const { return m_model; }

    bool isModified() const override { return m_model.isModified(); }
    void setModified(bool modified) override { m_model.setModified(modified); }
    bool openDocument(const QString& path) override;
    bool saveDocument(const QString& path) override;
    std::string fileBytes() const override;

private:
    HandoutSheetModel m_model;
    int m_subscription;
};

} // namespace vorpane
