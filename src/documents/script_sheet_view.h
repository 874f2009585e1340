#pragma once
// CScriptSheetView: a document shown as the page its layout script draws. It chooses the script
// (the document's, else the first of its kind in the program folder), runs it into its
// SheetLayout, shows the page through SheetCanvas (cached, zoomable), turns clicks and Tab into
// the click actions and the field editor, offers the style combo box of the toolbar, and prints.
//
// The document's model tells the view what changed: a value (the page is painted again from the
// layout) or the whole document (the script runs again). Derived views bring the field table and
// hooks (makeHost) and the script the document names.

#include "docview/document_view.h"
#include "sheet/document_model.h"
#include "sheet/sheet_layout.h"

#include <QCursor>
#include <QMetaObject>
#include <memory>
#include <string>

class QPrinter;

namespace vorpane {

class FieldEditor;
class PlacedField;
class SheetAccessibility;
class SheetCanvas;
class SheetPictureCache;

class CScriptSheetView : public DocumentView {
    Q_OBJECT
public:
    CScriptSheetView(
        Document& document, DocumentModel& model, const char* extension, QWidget* parent = nullptr);
    ~CScriptSheetView() override;

    SheetLayout& layout() { return m_layout; }
    DocumentModel& model() const { return m_model; }
    const std::string& scriptName() const { return m_scriptName; }
    const std::string& extension() const { return m_extension; }
    SheetCanvas* canvas() const { return m_canvas; }
    FieldEditor* fieldEditor() const { return m_editor; }
    // What a screen reader sees of the page.
    SheetAccessibility& accessibility() const { return *m_accessibility; }
    bool isEditing() const;

    void initialUpdate() override;
    void activated(bool active) override;
    void settingsChanged() override;
    void commitEditing() override;
    void scriptFileSaved(const QString& path) override;

    // F5: the page back to 100 x 100 mm, the script run again, the page painted again.
    void refresh();
    // A style chosen in the toolbar: nothing when it is the one shown; otherwise no current field
    // and that script.
    void chooseStyle(const std::string& name);
    // A left-button click released at a viewport point after a press in the view.
    void click(QPointF viewportPoint);
    // Tab (forward) and Shift+Tab: the next Tab-stop field, edited.
    void moveToNextField(bool forward);
    // A placement's click action as a click on it does it (for screen readers).
    void activatePlacement(int index);
    // The placement under a viewport point (index in the placed list), or -1.
    int placementAt(QPointF viewportPoint) const;
    // The cursor the view shows at a viewport point.
    QCursor cursorAt(QPointF viewportPoint) const;

    // Paints the page on a printer (for the command line's print and the tests).
    bool printTo(QPrinter& printer);

protected:
    // The host that binds the document's fields to the layout (registers the field table).
    virtual std::unique_ptr<SheetHost> makeHost() = 0;
    // The script the document asks for (may be empty or missing).
    virtual std::string initialScriptName() = 0;
    // The script chosen is kept in the document (investigators).
    virtual void recordScriptName(const std::string& name);
    // The status-bar panes while this view is active: filled (investigators) or emptied.
    virtual void refreshStatusPanes();
    // Empties them (when the view stops being the active one).
    void clearStatusPanes();
    // The picture field's file dialog, with the current value proposed.
    virtual QString choosePicture(const std::string& current);
    // The title printed pages and PDF files carry: the document's title.
    virtual QString documentName() const;

    bool isActiveView() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void registerCommands();
    void chooseScript(const std::string& name);
    void runScript();
    void modelChanged(DocumentChange change);
    void clickAction(PlacedField& placement);
    void refreshStyleCombo();
    void connectStyleCombo(bool connect);
    void exportPdf();
    void zoomBy(bool larger);

    SheetLayout m_layout;
    DocumentModel& m_model;
    int m_subscription = 0;
    std::unique_ptr<SheetHost> m_host;
    std::unique_ptr<SheetPictureCache> m_pictures;
    std::string m_extension;
    std::string m_scriptName;
    SheetCanvas* m_canvas;
    FieldEditor* m_editor;
    std::unique_ptr<SheetAccessibility> m_accessibility;
    bool m_mousePressed = false;
    bool m_running = false;
    QMetaObject::Connection m_styleConnection;
};

} // namespace vorpane
