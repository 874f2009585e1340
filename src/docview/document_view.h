#pragma once
// The base of every view in a document window. A view shows one document, handles the commands
// of its kind (CommandTarget) and hears from the frame when it is activated and when the
// settings change.

#include "docview/command_target.h"

#include <QWidget>

namespace vorpane {

class Desk;
class Document;

class DocumentView : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    explicit DocumentView(Document& document, QWidget* parent = nullptr);
    ~DocumentView() override;

    Document& document() const { return *m_document; }
    // The window holding the view's document, or null.
    Desk* desk() const;

    // Once, after the window is shown.
    virtual void initialUpdate() { }
    // The view's window became the active one (true) or stopped being it (false).
    virtual void activated(bool active) { }
    // The options changed: reread the settings, run again.
    virtual void settingsChanged() { }
    // End any edit in progress, keeping what was typed.
    virtual void commitEditing() { }
    // A sheet or handout script file was saved (absolute path): a view drawn by it runs it again.
    virtual void scriptFileSaved(const QString& path) { }

private:
    Document* m_document;
};

} // namespace vorpane
