// HandoutSheetModel: the handout document's state and hooks.

#include "sheet/handout_sheet_model.h"

#include "sheet/handout_file.h"

namespace vorpane {

bool HandoutSheetModel::open(const std::string& path)
{
    if (!HandoutFile::load(path, m_handout))
        return false;
    m_handout.clearHistory();
    setPath(path);
    setModified(false);
    notify(DocumentChange::Content);
    return true;
}

bool HandoutSheetModel::save(const std::string& path)
{
    if (!HandoutFile::save(path, m_handout))
        return false;
    setPath(path);
    setModified(false);
    return true;
}

void HandoutSheetModel::beforeChange()
{
    m_handout.checkpoint();
    setModified(true);
}

void HandoutSheetModel::afterChange(const SheetField&) { notify(DocumentChange::Values); }

bool HandoutSheetModel::undo()
{
    if (!m_handout.undo())
        return false;
    setModified(true);
    notify(DocumentChange::Content);
    return true;
}

bool HandoutSheetModel::redo()
{
    if (!m_handout.redo())
        return false;
    setModified(true);
    notify(DocumentChange::Content);
    return true;
}

} // namespace vorpane
