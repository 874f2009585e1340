#include "docview/doc_template.h"

#include "docview/document.h"

namespace vorpane {

CMultiFileMultiDocTemplate::CMultiFileMultiDocTemplate(int resourceId, const QString& templateString,
    MenuKind menu, DocumentFactory makeDocument, ViewFactory makeView)
    : m_resourceId(resourceId)
    , m_fields(templateString.split(QLatin1Char('\n')))
    , m_menu(menu)
    , m_makeDocument(std::move(makeDocument))
    , m_makeView(std::move(makeView))
{
}

bool CMultiFileMultiDocTemplate::matchesFile(const QString& path) const
{
    const QString ext = extension();
    return !ext.isEmpty() && path.endsWith(ext, Qt::CaseInsensitive);
}

} // namespace vorpane
