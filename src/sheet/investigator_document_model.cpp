// InvestigatorDocumentModel: the investigator document's state and hooks.

#include "sheet/investigator_document_model.h"

#include "investigator/investigator_file.h"
#include "platform/cp1252.h"
#include "platform/ui_services.h"
#include "sheet/image_picture.h"
#include "sheet/sheet_field.h"

namespace vorpane {

namespace {

std::unique_ptr<Image> loadPicture(const std::string& fileName)
{
    if (fileName.empty())
        return nullptr;
    auto image = std::make_unique<Image>();
    if (!image->load(picturePath(fileName)))
        return nullptr;
    return image;
}

} // namespace

InvestigatorDocumentModel::InvestigatorDocumentModel() = default;

InvestigatorDocumentModel::~InvestigatorDocumentModel() = default;

bool InvestigatorDocumentModel::open(const std::string& path)
{
    Investigator loaded;
    std::string sheetScript;
    if (!InvestigatorFile::load(path, loaded, sheetScript))
        return false;
    m_investigator = std::move(loaded);
    m_sheetScript = std::move(sheetScript);
    m_history.clear();
    setPath(path);
    contentReplaced();
    setModified(false);
    notify(DocumentChange::Content);
    return true;
}

bool InvestigatorDocumentModel::save(const std::string& path)
{
    if (!InvestigatorFile::save(path, m_investigator, m_sheetScript))
        return false;
    setPath(path);
    setModified(false);
    return true;
}

void InvestigatorDocumentModel::reloadPortrait() { m_portrait = loadPicture(m_investigator.Portrait); }

bool InvestigatorDocumentModel::setPortrait(const std::string& path)
{
    m_investigator.Portrait = path;
    ui().beginWaitCursor();
    ui().setStatusText("Loading image " + path + "...");
    std::unique_ptr<Image> image = loadPicture(path);
    // Cleared also after a failure, so no stale "Loading" text stays behind.
    ui().setStatusText({});
    ui().endWaitCursor();
    if (!image)
        return false;
    m_portrait = std::move(image);
    return true;
}

void InvestigatorDocumentModel::beforeChange()
{
    m_history.checkpoint(m_investigator);
    setModified(true);
}

void InvestigatorDocumentModel::afterChange(const SheetField& field)
{
    if (field.hasFlag(FieldRecalculates)) {
        computeBudgets(m_investigator);
        recalculate(m_investigator);
    }
    notify(DocumentChange::Values);
}

void InvestigatorDocumentModel::change(const std::function<void(Investigator&)>& command)
{
    m_history.checkpoint(m_investigator);
    if (command)
        command(m_investigator);
    ++m_entriesGeneration;
    setModified(true);
    notify(DocumentChange::Content);
}

bool InvestigatorDocumentModel::undo()
{
    if (!m_history.undo(m_investigator))
        return false;
    contentReplaced();
    setModified(true);
    notify(DocumentChange::Content);
    return true;
}

bool InvestigatorDocumentModel::redo()
{
    if (!m_history.redo(m_investigator))
        return false;
    contentReplaced();
    setModified(true);
    notify(DocumentChange::Content);
    return true;
}

void InvestigatorDocumentModel::contentReplaced()
{
    ++m_entriesGeneration;
    reloadPortrait();
}

} // namespace vorpane
