#include "documents/handout_document.h"

#include "sheet/handout_file.h"

#include <QFile>

namespace vorpane {

CHandoutDoc::CHandoutDoc(const CMultiFileMultiDocTemplate& docTemplate)
    : Document(docTemplate)
{
    m_subscription = m_model.subscribe([this](DocumentChange change) {
        if (change == DocumentChange::ModifiedMark)
            emitModifiedChanged(m_model.isModified());
        else if (change == DocumentChange::Content)
            emit contentChanged();
    });
}

CHandoutDoc::~CHandoutDoc() { m_model.unsubscribe(m_subscription); }

bool CHandoutDoc::openDocument(const QString& path)
{
    if (!m_model.open(QFile::encodeName(path).toStdString()))
        return false;
    setPath(path);
    return true;
}

bool CHandoutDoc::saveDocument(const QString& path)
{
    commitEditing();
    if (!m_model.save(QFile::encodeName(path).toStdString()))
        return false;
    setPath(path);
    return true;
}

std::string CHandoutDoc::fileBytes() const { return HandoutFile::text(m_model.handout()); }

} // namespace vorpane
