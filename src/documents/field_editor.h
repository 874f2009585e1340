#pragma once
// The field editor of a sheet view: an edit laid exactly over the field being edited, in the
// font and colour the field is drawn in at the view's zoom, with an optional list of suggestions
// below it. Enter commits (Shift+Enter breaks the line of a multi-line field), Esc cancels, Tab
// and Shift+Tab move on to the next field; "*" is refused with a beep. A committed change goes
// through the layout's hooks, so it is one undo step of the document; an unchanged text is none.
//
// Focus leaving the editor commits, except to its suggestion list.

#include <QFrame>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextEdit;
class QTimer;

namespace vorpane {

class ListFile;
class PlacedField;
class SheetCanvas;
class SheetLayout;

class FieldEditor final : public QFrame {
    Q_OBJECT
public:
    // The outer width of the framed editor of a turned field.
    static constexpr int kRotatedEditorWidth = 240;
    // The focus rectangle that leads to the editor of a turned field.
    static constexpr int kAnimationSteps = 15;
    static constexpr int kAnimationStepMs = 20;

    FieldEditor(SheetLayout& layout, SheetCanvas& canvas);
    ~FieldEditor() override;

    // The suggestion lists of the document (investigators), asked for at each start of editing;
    // none by default.
    void setOptionLists(std::function<ListFile*()> lists) { m_optionLists = std::move(lists); }

    bool isEditing() const { return m_field != nullptr; }
    PlacedField* field() const { return m_field; }

    // Ends any edit in progress (committing) and opens the editor over the placement.
    void startEditing(PlacedField& placement);
    // Stores the text when `commit` is set and it changed; hides the editor. True when a value
    // was stored.
    bool endEditing(bool commit);

    // The open edit's own undo and clipboard.
    bool canUndo() const;
    void undo();
    bool hasSelectedText() const;
    void cut();
    void copy();
    void paste();

    // The edit that has the keyboard focus while a field is open (a line or a text edit).
    QWidget* editWidget() const;
    // What a screen reader calls the edits while they show the field.
    void setAccessibleLabel(const QString& name, const QString& description);
    QString text() const;
    QListWidget* suggestionList() const { return m_list; }
    QWidget* suggestionPopup() const { return m_popup; }
    bool isAnimating() const;

signals:
    // Tab (forward) or Shift+Tab pressed in the editor.
    void tabPressed(bool forward);
    // Editing ended: `stored` when the value changed (the hooks redraw the page then).
    void editingEnded(bool stored);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setText(const QString& text);
    bool isModified() const;
    void setModified();
    void selectAll();
    void enterPressed();
    void stepSuggestion(int delta);
    void textEdited();
    void suggestionClicked(bool commit);
    void showSuggestions(const std::string& optionListName, const std::string& text);
    void hideSuggestions();
    void focusChanged(QWidget* old, QWidget* now);
    bool ownsWidget(const QWidget* widget) const;
    void animate(const QRect& from, const QRect& to);
    void alignFirstBaseline(double ascent);

    class FocusRectangle;

    SheetLayout& m_layout;
    SheetCanvas& m_canvas;
    std::function<ListFile*()> m_optionLists;
    PlacedField* m_field = nullptr;
    bool m_multiline = false;
    QString m_originalText;
    QLineEdit* m_line;
    QTextEdit* m_text;
    double m_lineHeight = 0; // pixels between the lines of a multi-line field
    Qt::Alignment m_alignment = Qt::AlignLeft;
    QFrame* m_popup;
    QListWidget* m_list;
    std::vector<std::string> m_suggestions;
    FocusRectangle* m_focusRectangle;
};

} // namespace vorpane
