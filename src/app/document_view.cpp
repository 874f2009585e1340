#include "app/document_view.h"

#include "app/document.h"

namespace vorpane {

DocumentView::DocumentView(Document& document, QWidget* parent)
    : QWidget(parent)
    , m_document(&document)
{
    document.addView(this);
}

DocumentView::~DocumentView() { m_document->removeView(this); }

} // namespace vorpane
