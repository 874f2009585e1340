#pragma once
// The script editor: a plain-text editor over the script document's text, in the font of profile
// section "Edit", coloured by the script's tokens. It shows the caret's line in the status bar,
// runs a general script (F9) with its output in the output bar and puts the caret on the line of
// the first error, and finds text and lines.

#include "docview/commands.h"
#include "docview/document_view.h"

class QPlainTextEdit;
class QPrinter;

namespace vorpane {

class CScriptEditDoc;
class ScriptHighlighter;

// The commands of the script editor.
std::span<const CommandRow> scriptCommands();

class CScriptEditView final : public DocumentView {
    Q_OBJECT
public:
    explicit CScriptEditView(CScriptEditDoc& document, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return m_editor; }
    ScriptHighlighter* highlighter() const { return m_highlighter; }
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
    // Marks the line of an error until the text changes; 0 takes the mark away.
    void markErrorLine(int line);
    int markedErrorLine() const { return m_errorLine; }
    // Selects the next occurrence of the text after the caret, from the top again at the end; false
    // when there is none.
    bool findNext(const QString& text);

    // Prints the text as it stands (the print dialog, the preview and --print all come here);
    // the number of pages, 0 when the printer could not be used.
    int printTo(QPrinter& printer);

    // The tab stops: 16 dialog units, four average characters of the dialog font.
    static constexpr int kTabStopCharacters = 4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addEditCommands();
    void applySettings();
    void showCaretLine();
    void find();
    void askGoToLine();
    void printWithDialog();
    void showPrintPreview();

    QPlainTextEdit* m_editor;
    ScriptHighlighter* m_highlighter;
    QString m_findText;
    int m_errorLine = 0;
    bool m_active = false;
};

} // namespace vorpane
