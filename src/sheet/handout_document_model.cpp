// HandoutDocumentModel: the handout document's state and hooks.

#include "sheet/handout_document_model.h"

#include "sheet/handout_file.h"

namespace vorpane {

bool HandoutDocumentModel::open(const std::string& path)
{
    if (!HandoutFile::load(path, m_handout))
        return false;
    m_handout.clearHistory();
    setPath(path);
    setModified(false);
    notify(DocumentChange::Content);
    return true;
}

bool HandoutDocumentModel::save(const std::string& path)
{
    if (!HandoutFile::save(path, m_handout))
        return false;
    setPath(path);
    setModified(false);
    return true;
}

void HandoutDocumentModel::beforeChange()
{
    m_handout.checkpoint();
    setModified(true);
}

void HandoutDocumentModel::afterChange(const SheetField&) { notify(DocumentChange::Values); }

bool HandoutDocumentModel::undo()
{
    if (!m_handout.undo())
        return false;
    setModified(true);
    notify(DocumentChange::Content);
    return true;
}

bool HandoutDocumentModel::redo()
{
    if (!m_handout.redo())
        return false;
    setModified(true);
    notify(DocumentChange::Content);
    return true;
}

} // namespace vorpane
