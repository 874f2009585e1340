#include "documents/script_edit_view.h"

#include "documents/script_edit_doc.h"
#include "documents/script_highlighter.h"
#include "documents/script_printing.h"
#include "documents/sheet_printing.h"
#include "documents/user_script.h"
#include "docview/commands.h"
#include "docview/desk.h"
#include "docview/desktop_dialogs.h"
#include "docview/doc_template.h"
#include "docview/settings_font.h"
#include "platform/cp1252.h"
#include "platform/profile_keys.h"
#include "platform/ui_services.h"
#include "script/error_line.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QInputDialog>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace vorpane {

namespace {

const CommandRow kScriptCommands[] = {
    { cmd::RunScript, "&Ejecutar script", "F9", "Ejecuta el script actual", ":/icons/run.png" },
    { cmd::Find, "&Buscar...", "Ctrl+F", "Busca un texto en el script" },
    { cmd::FindNext, "Buscar &siguiente", "F3", "Busca otra vez el último texto buscado" },
    { cmd::GoToLine, "&Ir a la línea...", "Ctrl+G", "Lleva el cursor a una línea del script" },
};

// The background of the line an error was reported on: a light red that any text colour reads on.
const QColor kErrorLineColour(255, 220, 214);

// Scripts are plain text, so a paste takes only the clipboard's text. Qt's own paste also reads
// the first of the clipboard's formats without asking whether there is one, and a clipboard left
// by a program that has ended offers none: pasting then crashed.
class ScriptTextEdit final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override { return source && source->hasText(); }
    void insertFromMimeData(const QMimeData* source) override
    {
        if (!source || !source->hasText())
            return;
        insertPlainText(source->text());
        ensureCursorVisible();
    }
};

} // namespace

std::span<const CommandRow> scriptCommands() { return kScriptCommands; }

CScriptEditView::CScriptEditView(CScriptEditDoc& document, QWidget* parent)
    : DocumentView(document, parent)
    , m_editor(new ScriptTextEdit(this))
    , m_highlighter(new ScriptHighlighter(document.textDocument()))
{
    m_editor->setObjectName(QStringLiteral("ScriptEditor"));
    m_editor->setDocument(document.textDocument());
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);
    applySettings();
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, &CScriptEditView::showCaretLine);
    connect(document.textDocument(), &QTextDocument::contentsChanged, this, [this] { markErrorLine(0); });
    addEditCommands();
}

CScriptEditDoc& CScriptEditView::scriptDocument() const { return static_cast<CScriptEditDoc&>(document()); }

void CScriptEditView::addEditCommands()
{
    QPlainTextEdit* e = m_editor;
    addCommandIf(
        cmd::Undo, [e] { e->undo(); }, [e] { return e->document()->isUndoAvailable(); });
    addCommandIf(
        cmd::Redo, [e] { e->redo(); }, [e] { return e->document()->isRedoAvailable(); });
    addCommandIf(
        cmd::Cut, [e] { e->cut(); }, [e] { return e->textCursor().hasSelection(); });
    addCommandIf(
        cmd::Copy, [e] { e->copy(); }, [e] { return e->textCursor().hasSelection(); });
    addCommandIf(
        cmd::Paste, [e] { e->paste(); }, [e] { return e->canPaste(); });
    addCommand(cmd::SelectAll, [e] { e->selectAll(); });
    addCommandIf(
        cmd::RunScript, [this] { runScript(); }, [this] { return canRun(); });
    addCommand(cmd::Find, [this] { find(); });
    addCommandIf(
        cmd::FindNext, [this] { findNext(m_findText); }, [this] { return !m_findText.isEmpty(); });
    addCommand(cmd::GoToLine, [this] { askGoToLine(); });
    addCommand(cmd::Print, [this] { printWithDialog(); });
    addCommand(cmd::PrintDirect, [this] { printTo(sheetPrinter()); });
    addCommand(cmd::PrintPreview, [this] { showPrintPreview(); });
    addCommand(cmd::PrintSetup, [this] { showSheetPrinterSetup(window()); });
}

// --- Printing ----------------------------------------------------------------------------------

int CScriptEditView::printTo(QPrinter& printer)
{
    const QString path = document().path();
    ScriptPrintJob job;
    job.text = m_editor->toPlainText();
    job.fileName = path.isEmpty() ? document().title().trimmed() : QFileInfo(path).fileName();
    job.font = m_editor->font();
    job.tabCharacters = kTabStopCharacters;
    return printScript(printer, job);
}

void CScriptEditView::printWithDialog()
{
    QPrinter& printer = sheetPrinter();
    QPrintDialog dialog(&printer, window());
    dialog.setWindowTitle(tr("Imprimir"));
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

void CScriptEditView::showPrintPreview()
{
    QPrintPreviewDialog dialog(&sheetPrinter(), window());
    dialog.setWindowTitle(tr("Vista preliminar"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [this](QPrinter* target) { printTo(*target); });
    dialog.exec();
}

// --- Settings ----------------------------------------------------------------------------------

void CScriptEditView::applySettings()
{
    using namespace profile_keys;
    QFont font = readSettingsFont(kEdit, kEditDefaultFace, kEditDefaultHeight);
    font.setStyleHint(QFont::TypeWriter);
    m_editor->setFont(font);
    // Dialog units are a quarter of the dialog font's average character width.
    const QFontMetricsF dialogFont(QApplication::font());
    m_editor->setTabStopDistance(kTabStopCharacters * dialogFont.averageCharWidth());
    m_highlighter->setDarkBackground(m_editor->palette().color(QPalette::Base).lightness() < 128);
}

void CScriptEditView::settingsChanged()
{
    applySettings();
    m_editor->viewport()->repaint();
}

// --- The caret's line --------------------------------------------------------------------------

void CScriptEditView::showCaretLine()
{
    if (!m_active || !document().desk())
        return;
    const int line = m_editor->textCursor().blockNumber() + 1;
    document().desk()->setPaneText(Desk::Pane::SkillPoints, tr("Line %1").arg(line));
}

void CScriptEditView::activated(bool active)
{
    m_active = active;
    if (active) {
        showCaretLine();
    } else if (document().desk()) {
        document().desk()->setPaneText(Desk::Pane::SkillPoints, QString());
        document().desk()->setPaneText(Desk::Pane::Points, QString());
    }
}

bool CScriptEditView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::MouseMove:
        showCaretLine();
        break;
    default:
        break;
    }
    return DocumentView::eventFilter(watched, event);
}

// --- Running -----------------------------------------------------------------------------------

bool CScriptEditView::canRun() const
{
    return document().docTemplate().typeName().compare(QLatin1String("Script"), Qt::CaseInsensitive) == 0;
}

bool CScriptEditView::runScript()
{
    QString message;
    const std::optional<std::string> text = scriptDocument().encodedText(&message);
    if (!text) {
        showMessage(toCp1252(message), {}, MsgIcon::Warning);
        return false;
    }
    script::ErrorLineRecorder errors;
    if (document().desk())
        document().desk()->setStatusMessage(
            tr("Ejecutando %1... Ctrl+Espacio lo detiene.").arg(document().title().trimmed()));
    const bool ok = runUserScriptText(*text, document().desk() ? document().desk()->ownerWindow() : nullptr);
    if (document().desk())
        document().desk()->setStatusMessage(QString());
    if (errors.line() > 0) {
        goToLine(errors.line());
        markErrorLine(errors.line());
    }
    m_editor->setFocus();
    return ok;
}

// --- Finding -----------------------------------------------------------------------------------

void CScriptEditView::goToLine(int line)
{
    const QTextBlock block = m_editor->document()->findBlockByNumber(std::max(0, line - 1));
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    m_editor->setTextCursor(cursor);
    m_editor->centerCursor();
}

void CScriptEditView::markErrorLine(int line)
{
    if (line == m_errorLine)
        return;
    m_errorLine = line;
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = m_editor->document()->findBlockByNumber(line - 1);
    if (line > 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.format.setBackground(kErrorLineColour);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks << mark;
    }
    m_editor->setExtraSelections(marks);
}

bool CScriptEditView::findNext(const QString& text)
{
    if (text.isEmpty())
        return false;
    QTextDocument* document = m_editor->document();
    QTextCursor found = document->find(text, m_editor->textCursor());
    if (found.isNull())
        found = document->find(text, 0);
    if (found.isNull()) {
        showMessage(toCp1252(tr("No se encuentra «%1».").arg(text)), {}, MsgIcon::Information);
        return false;
    }
    m_editor->setTextCursor(found);
    return true;
}

void CScriptEditView::find()
{
    QString initial = m_editor->textCursor().selectedText();
    if (initial.isEmpty() || initial.contains(QChar::ParagraphSeparator))
        initial = m_findText;
    bool ok = false;
    const QString text
        = QInputDialog::getText(this, tr("Buscar"), tr("&Buscar:"), QLineEdit::Normal, initial, &ok);
    if (!ok || text.isEmpty())
        return;
    m_findText = text;
    findNext(text);
}

void CScriptEditView::askGoToLine()
{
    bool ok = false;
    const int count = m_editor->document()->blockCount();
    const int current = m_editor->textCursor().blockNumber() + 1;
    const int line = QInputDialog::getInt(
        this, tr("Ir a la línea"), tr("&Número de línea (1 - %1):").arg(count), current, 1, count, 1, &ok);
    if (ok)
        goToLine(line);
}

} // namespace vorpane
