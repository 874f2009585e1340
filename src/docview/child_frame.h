#pragma once
// The window of one document view inside the document area: shown maximised, titled with the
// document's title and modified mark; closing the last window of a modified document asks whether
// to save it first.

#include <QMdiSubWindow>

namespace vorpane {

class DocumentManager;
class DocumentView;

class CChildFrame final : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(DocumentManager& manager, DocumentView* view);

    DocumentView* view() const { return m_view; }
    // Closes after the save question was already answered for the whole document.
    void closeWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void updateTitle();

    DocumentManager& m_manager;
    DocumentView* m_view;
    bool m_asked = false;
    bool m_closed = false;
};

} // namespace vorpane
