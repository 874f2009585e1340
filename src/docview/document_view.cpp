#include "docview/document_view.h"

#include "docview/document.h"

namespace vorpane {

Desk* DocumentView::desk() const { return m_document->desk(); }

DocumentView::DocumentView(Document& document, QWidget* parent)
    : QWidget(parent)
    , m_document(&document)
{
    document.addView(this);
}

DocumentView::~DocumentView() { m_document->removeView(this); }

} // namespace vorpane
