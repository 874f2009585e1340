#include "docview/child_frame.h"

#include "docview/document.h"
#include "docview/document_manager.h"
#include "docview/document_view.h"

#include <QCloseEvent>

namespace vorpane {

CChildFrame::CChildFrame(DocumentManager& manager, DocumentView* view)
    : m_manager(manager)
    , m_view(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    Document& document = view->document();
    connect(&document, &Document::titleChanged, this, &CChildFrame::updateTitle);
    connect(&document, &Document::modifiedChanged, this, &CChildFrame::updateTitle);
    updateTitle();
}

void CChildFrame::updateTitle()
{
    const Document& document = m_view->document();
    setWindowTitle(document.title() + QStringLiteral("[*]"));
    setWindowModified(document.isModified());
}

void CChildFrame::closeWithoutAsking()
{
    m_asked = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    m_view->commitEditing();
    Document& document = m_view->document();
    if (!m_asked && document.views().size() == 1 && !m_manager.saveModified(document)) {
        event->ignore();
        return;
    }
    m_closed = true;
    QMdiSubWindow::closeEvent(event);
    event->accept();
}

} // namespace vorpane
