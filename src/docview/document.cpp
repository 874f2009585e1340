#include "docview/document.h"

#include "docview/doc_template.h"
#include "docview/document_view.h"

#include <QFileInfo>

namespace vorpane {

Desk* Document::desk() const { return m_template.desk(); }

Document::Document(const CMultiFileMultiDocTemplate& docTemplate)
    : m_template(docTemplate)
{
    setTitle(docTemplate.field(CMultiFileMultiDocTemplate::NewFileName));
}

Document::~Document() = default;

void Document::setPath(const QString& path)
{
    m_path = path;
    if (!path.isEmpty())
        setTitle(QFileInfo(path).fileName());
}

void Document::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged();
}

QString Document::proposedFileName() const
{
    if (!m_path.isEmpty()) {
        const QFileInfo info(m_path);
        if (m_template.matchesFile(m_path))
            return m_path;
        return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + m_template.extension();
    }
    QString name = m_title.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (name.isEmpty())
        name = m_template.field(CMultiFileMultiDocTemplate::NewFileName);
    return name + m_template.extension();
}

void Document::addView(DocumentView* view)
{
    if (!m_views.contains(view))
        m_views.append(view);
}

void Document::removeView(DocumentView* view) { m_views.removeAll(view); }

void Document::commitEditing()
{
    for (DocumentView* view : m_views)
        view->commitEditing();
}

} // namespace vorpane
