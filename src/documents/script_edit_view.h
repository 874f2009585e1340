#pragma once
// The script editor: a code editor over the script document's text, in the font of profile
// section "Edit", coloured by the script's tokens, with line numbers, folding of braces, brace
// matching, completion of keywords and host-object members (Ctrl+J, and after a dot) and call
// tips. It shows the caret's line in the status bar, runs a general script (F9) with its output
// in the output bar, marks the line of an error in place, finds and replaces text, and beside a
// sheet or handout script shows the page its text draws.

#include "docview/commands.h"
#include "docview/document_view.h"

class QPrinter;
class QSplitter;
class QsciScintilla;

namespace vorpane {

class CScriptEditDoc;
class ScriptCompletion;
class ScriptFindBar;
class ScriptLexer;
class ScriptPreview;

// The commands of the script editor.
std::span<const CommandRow> scriptCommands();

class CScriptEditView final : public DocumentView {
    Q_OBJECT
public:
    explicit CScriptEditView(CScriptEditDoc& document, QWidget* parent = nullptr);
    ~CScriptEditView() override;

    QsciScintilla* editor() const { return m_editor; }
    ScriptLexer* lexer() const { return m_lexer; }
    // The font of the settings, as read (the editor's own is the same in points).
    const QFont& settingsFont() const { return m_font; }
    ScriptFindBar* findBar() const { return m_findBar; }
    // Only beside sheet and handout scripts; null otherwise.
    ScriptPreview* preview() const { return m_preview; }
    CScriptEditDoc& scriptDocument() const;

    void activated(bool active) override;
    void settingsChanged() override;

    // Whether F9 runs this document: general scripts only; sheet and handout scripts run in the
    // sheets that use them (saving one runs them again).
    bool canRun() const;
    // Runs the text as it stands, saved or not. True when the run succeeded.
    bool runScript();
    // Puts the caret at the start of the line (counted from 1) and shows it.
    void goToLine(int line);
    // The caret's line, counted from 1.
    int caretLine() const;
    // Marks the line of an error (indicator, margin symbol, tooltip) until the text changes; 0
    // takes the mark away.
    void markErrorLine(int line, const QString& message = {});
    int markedErrorLine() const { return m_errorLine; }
    const QString& errorMessage() const { return m_errorMessage; }
    // Selects the next occurrence of the text after the caret, from the top again at the end; false
    // (after a message) when there is none.
    bool findNext(const QString& text);

    // The completion list for the caret (what Ctrl+J shows); empty when nothing fits.
    QStringList completionsAtCaret() const;
    // Shows it; false when there is nothing to offer.
    bool showCompletion();

    // Prints the text as it stands (the print dialog, the preview and --print all come here);
    // the number of pages, 0 when the printer could not be used.
    int printTo(QPrinter& printer);

    // The tab stops: 16 dialog units, four average characters of the dialog font.
    static constexpr int kTabStopCharacters = 4;
    // Margins, marker and indicator numbers.
    static constexpr int kErrorMarker = 1;
    static constexpr int kErrorIndicator = 8;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addEditCommands();
    void applySettings();
    void updateMarginWidth();
    void showCaretLine();
    void textChanged();
    void charAdded(int character);
    void indentNewLine();
    void outdentClosingBrace();
    void showCallTip();
    void showErrorTip(int position, const QPoint& at);
    void find(bool replacing);
    void askGoToLine();
    void printWithDialog();
    void showPrintPreview();
    void setPreviewShown(bool shown);

    QSplitter* m_splitter;
    QsciScintilla* m_editor;
    ScriptLexer* m_lexer;
    ScriptFindBar* m_findBar;
    ScriptPreview* m_preview = nullptr;
    std::unique_ptr<ScriptCompletion> m_completion;
    QFont m_font;
    QString m_findText;
    int m_errorLine = 0;
    QString m_errorMessage;
    bool m_active = false;
    bool m_marking = false;
    bool m_previewShown = false;
};

} // namespace vorpane
