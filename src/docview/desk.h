#pragma once
// What documents, views, dialogs and wizard pages may use of the window that holds them: the
// status-bar panes, the sheet-style combo box, the owner of their boxes, the documents and the
// commands. The main window implements it; a view reaches it through its document, a dialog or
// page through its constructor, and a test can hand in its own.

#include <QString>

class QComboBox;
class QWidget;

namespace vorpane {

class Document;
class DocumentManager;
class DocumentView;

class Desk {
public:
    // The panes of the status bar after the message pane.
    enum class Pane { SkillPoints, Points };

    virtual ~Desk() = default;

    // The window that owns message boxes and dialogs.
    virtual QWidget* ownerWindow() = 0;
    // The message pane, repainted at once.
    virtual void setStatusMessage(const QString& text) = 0;
    virtual QString statusMessage() const = 0;
    virtual void setPaneText(Pane pane, const QString& text) = 0;
    // The sheet-style combo box of the toolbar; the active sheet view fills it.
    virtual QComboBox* styleCombo() const = 0;
    virtual DocumentView* activeView() const = 0;
    virtual Document* activeDocument() const = 0;
    virtual DocumentManager& documents() const = 0;
    // Runs a command as its menu item would.
    virtual void execute(const QString& id) = 0;
    // Flat toolbar buttons, or raised ones.
    virtual void applyToolbarStyle(bool flat) = 0;
    // The output bar and every view reread their settings (after the options sheet).
    virtual void settingsChanged() = 0;
};

} // namespace vorpane
