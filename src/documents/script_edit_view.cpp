#include "documents/script_edit_view.h"

#include "documents/script_completion.h"
#include "documents/script_edit_doc.h"
#include "documents/script_find_bar.h"
#include "documents/script_lexer.h"
#include "documents/script_preview.h"
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
#include "sheet/sheet_script.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QShortcut>
#include <QSplitter>
#include <QToolTip>
#include <QVBoxLayout>
#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

namespace vorpane {

namespace {

const CommandRow kScriptCommands[] = {
    { cmd::RunScript, "&Ejecutar script", "F9", "Ejecuta el script actual", ":/icons/run.png" },
    { cmd::Find, "&Buscar...", "Ctrl+F", "Busca un texto en el script" },
    { cmd::FindNext, "Buscar &siguiente", "F3", "Busca otra vez el último texto buscado" },
    { cmd::Replace, "&Reemplazar...", "Ctrl+H", "Busca un texto y lo cambia por otro" },
    { cmd::GoToLine, "&Ir a la línea...", "Ctrl+G", "Lleva el cursor a una línea del script" },
    { cmd::Complete, "&Completar", "Ctrl+J",
        "Ofrece las palabras reservadas, los objetos y sus miembros que completan lo escrito" },
    { cmd::ScriptPreview, "&Vista previa en vivo", "",
        "Muestra la página que dibuja el script mientras se escribe", "", true },
};

// The line an error was reported on: a light red in the margin and a wavy line under its text.
const QColor kErrorColour(220, 40, 30);
const QColor kCaretLineColour(0xf2, 0xf6, 0xff);
const QColor kDarkCaretLineColour(0x2a, 0x2d, 0x36);
constexpr int kDwellMs = 400;

// Shows every message as the installed services would, and keeps the first one: the editor
// repeats it in the status bar and as the line's tooltip.
class MessageTap final : public UiServices {
public:
    MessageTap()
        : m_inner(installUi(this))
    {
    }
    ~MessageTap() override { installUi(m_inner); }
    MessageTap(const MessageTap&) = delete;
    MessageTap& operator=(const MessageTap&) = delete;

    MsgResult messageBox(
        const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons) override
    {
        if (first.empty())
            first = text;
        return m_inner->messageBox(text, title, icon, buttons);
    }
    std::optional<std::string> prompt(const std::string& label) override { return m_inner->prompt(label); }
    bool hasMainWindow() const override { return m_inner->hasMainWindow(); }
    void quickInfo(const std::string& key, const std::string& text) override
    {
        m_inner->quickInfo(key, text);
    }
    void setStatusText(const std::string& text) override { m_inner->setStatusText(text); }
    void beginWaitCursor() override { m_inner->beginWaitCursor(); }
    void endWaitCursor() override { m_inner->endWaitCursor(); }

    std::string first;

private:
    UiServices* m_inner;
};

// Scripts are plain text, so a paste takes only the clipboard's text: a clipboard left by a
// program that has ended may offer no format at all.
class ScriptTextEdit final : public QsciScintilla {
public:
    using QsciScintilla::QsciScintilla;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override { return source && source->hasText(); }
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override
    {
        rectangular = false;
        return source && source->hasText() ? source->text().toUtf8() : QByteArray();
    }
};

unsigned scopesOf(const Document& document)
{
    const QString type = document.docTemplate().typeName();
    if (type.compare(QLatin1String("Script"), Qt::CaseInsensitive) == 0)
        return ScopeUserScript | ScopeRuleScript;
    return ScopeSheetScript;
}

} // namespace

std::span<const CommandRow> scriptCommands() { return kScriptCommands; }

CScriptEditView::CScriptEditView(CScriptEditDoc& document, QWidget* parent)
    : DocumentView(document, parent)
    , m_splitter(new QSplitter(Qt::Horizontal, this))
    , m_editor(new ScriptTextEdit)
    , m_lexer(new ScriptLexer(m_editor))
    , m_findBar(new ScriptFindBar(*m_editor))
    , m_completion(std::make_unique<ScriptCompletion>(scopesOf(document)))
{
    m_editor->setObjectName(QStringLiteral("ScriptEditor"));
    m_editor->setDocument(document.textStore()->document());
    m_editor->setUtf8(true);
    m_editor->setEolMode(QsciScintilla::EolUnix);
    m_editor->setLexer(m_lexer);
    m_editor->setWrapMode(QsciScintilla::WrapNone);

    // Margins: line numbers, the error symbol, the fold boxes.
    m_editor->setMarginType(0, QsciScintilla::NumberMargin);
    m_editor->setMarginLineNumbers(0, true);
    m_editor->setMarginType(1, QsciScintilla::SymbolMargin);
    m_editor->setMarginWidth(1, 14);
    m_editor->setMarginMarkerMask(1, 1 << kErrorMarker);
    m_editor->setMarginSensitivity(1, true);
    m_editor->markerDefine(QsciScintilla::Circle, kErrorMarker);
    m_editor->setMarkerBackgroundColor(kErrorColour, kErrorMarker);
    m_editor->setMarkerForegroundColor(kErrorColour.darker(), kErrorMarker);
    m_editor->setFolding(QsciScintilla::BoxedTreeFoldStyle, 2);
    m_editor->indicatorDefine(QsciScintilla::SquiggleIndicator, kErrorIndicator);
    m_editor->setIndicatorForegroundColor(kErrorColour, kErrorIndicator);

    m_editor->setCaretLineVisible(true);
    m_editor->setBraceMatching(QsciScintilla::SloppyBraceMatch);
    m_editor->setAutoIndent(true);
    m_lexer->setAutoIndentStyle(
        QsciScintilla::AiMaintain | QsciScintilla::AiOpening | QsciScintilla::AiClosing);
    m_editor->setIndentationsUseTabs(true);
    m_editor->setTabWidth(kTabStopCharacters);
    m_editor->setAutoCompletionSource(QsciScintilla::AcsNone);
    m_editor->setAutoCompletionCaseSensitivity(false);
    m_editor->SendScintilla(QsciScintilla::SCI_AUTOCSETIGNORECASE, 1);
    m_editor->SendScintilla(QsciScintilla::SCI_AUTOCSETORDER, QsciScintilla::SC_ORDER_PERFORMSORT);
    m_editor->SendScintilla(QsciScintilla::SCI_SETMOUSEDWELLTIME, kDwellMs);
    // Ctrl+Space is the break key and Ctrl+J completes: neither may be one of the editor's own keys.
    for (int key : { (Qt::CTRL | Qt::Key_Space).toCombined(), (Qt::CTRL | Qt::Key_J).toCombined() }) {
        if (QsciCommand* bound = m_editor->standardCommands()->boundTo(key)) {
            if (bound->key() == key)
                bound->setKey(0);
            if (bound->alternateKey() == key)
                bound->setAlternateKey(0);
        }
    }

    auto* editorSide = new QWidget(m_splitter);
    auto* column = new QVBoxLayout(editorSide);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_editor->setParent(editorSide);
    m_findBar->setParent(editorSide);
    m_findBar->hide();
    column->addWidget(m_editor, 1);
    column->addWidget(m_findBar);
    m_splitter->addWidget(editorSide);
    if (document.isLayoutScript()) {
        const std::string extension
            = document.docTemplate().typeName().compare(QLatin1String("HandoutScript"), Qt::CaseInsensitive)
                == 0
            ? kHandoutScriptExtension
            : kSheetScriptExtension;
        m_preview = new ScriptPreview(extension, document.desk(), m_splitter);
        m_preview->setTextSource([this] { return scriptDocument().encodedText(); });
        m_splitter->addWidget(m_preview);
        m_splitter->setStretchFactor(0, 3);
        m_splitter->setStretchFactor(1, 2);
        m_previewShown = true;
        connect(m_preview, &ScriptPreview::lineClicked, this, [this](int line) {
            goToLine(line);
            m_editor->setFocus();
        });
        connect(m_preview, &ScriptPreview::ran, this, [this](int line, const QString& message) {
            markErrorLine(line, message);
            if (desk() && m_active)
                desk()->setStatusMessage(message);
        });
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    setFocusProxy(m_editor);
    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    applySettings();
    updateMarginWidth();

    connect(m_editor, &QsciScintilla::cursorPositionChanged, this, &CScriptEditView::showCaretLine);
    connect(m_editor, &QsciScintilla::textChanged, this, &CScriptEditView::textChanged);
    connect(m_editor, &QsciScintilla::SCN_CHARADDED, this, &CScriptEditView::charAdded);
    connect(m_editor, &QsciScintilla::SCN_DWELLSTART, this,
        [this](int position, int x, int y) { showErrorTip(position, QPoint(x, y)); });
    connect(
        m_editor, &QsciScintilla::marginClicked, this, [this](int margin, int line, Qt::KeyboardModifiers) {
            if (margin == 1 && line + 1 == m_errorLine)
                QToolTip::showText(QCursor::pos(), m_errorMessage, m_editor);
        });
    connect(m_findBar, &ScriptFindBar::notFound, this, [](const QString& text) {
        showMessage(toCp1252(tr("No se encuentra «%1».").arg(text)), {}, MsgIcon::Information);
    });
    connect(m_findBar->findEdit(), &QLineEdit::textChanged, this,
        [this](const QString& text) { m_findText = text; });
    addEditCommands();
    if (m_preview)
        m_preview->textChanged();
}

CScriptEditView::~CScriptEditView() = default;

CScriptEditDoc& CScriptEditView::scriptDocument() const { return static_cast<CScriptEditDoc&>(document()); }

void CScriptEditView::addEditCommands()
{
    QsciScintilla* e = m_editor;
    addCommandIf(
        cmd::Undo, [e] { e->undo(); }, [e] { return e->isUndoAvailable(); });
    addCommandIf(
        cmd::Redo, [e] { e->redo(); }, [e] { return e->isRedoAvailable(); });
    addCommandIf(
        cmd::Cut, [e] { e->cut(); }, [e] { return e->hasSelectedText(); });
    addCommandIf(
        cmd::Copy, [e] { e->copy(); }, [e] { return e->hasSelectedText(); });
    addCommandIf(
        cmd::Paste, [e] { e->paste(); }, [e] { return e->SendScintilla(QsciScintilla::SCI_CANPASTE) != 0; });
    addCommand(cmd::SelectAll, [e] { e->selectAll(); });
    addCommandIf(
        cmd::RunScript, [this] { runScript(); }, [this] { return canRun(); });
    addCommand(cmd::Find, [this] { find(false); });
    addCommand(cmd::Replace, [this] { find(true); });
    addCommandIf(
        cmd::FindNext,
        [this] {
            const QString text = m_findBar->findText().isEmpty() ? m_findText : m_findBar->findText();
            findNext(text);
        },
        [this] { return !m_findText.isEmpty() || !m_findBar->findText().isEmpty(); });
    addCommand(cmd::GoToLine, [this] { askGoToLine(); });
    addCommand(cmd::Complete, [this] { showCompletion(); });
    addCommand(
        cmd::ScriptPreview, [this] { setPreviewShown(!(m_preview && m_preview->isVisible())); },
        [this] {
            return CommandState { m_preview != nullptr, m_preview && !m_preview->isHidden() };
        });
    addCommand(cmd::Print, [this] { printWithDialog(); });
    addCommand(cmd::PrintDirect, [this] { printTo(sheetPrinter()); });
    addCommand(cmd::PrintPreview, [this] { showPrintPreview(); });
    addCommand(cmd::PrintSetup, [this] { showSheetPrinterSetup(window()); });
}

void CScriptEditView::setPreviewShown(bool shown)
{
    if (!m_preview)
        return;
    m_previewShown = shown;
    m_preview->setVisible(shown);
    if (shown) {
        m_preview->refreshSources();
        m_preview->redraw();
    }
}

// --- Printing ----------------------------------------------------------------------------------

int CScriptEditView::printTo(QPrinter& printer)
{
    const QString path = document().path();
    ScriptPrintJob job;
    job.text = m_editor->text();
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
    m_font = font;
    // The editor sizes its fonts in points.
    if (font.pointSizeF() <= 0 && font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / std::max(1, logicalDpiY()));
    m_editor->setFont(font);
    m_lexer->setDefaultFont(font);
    m_lexer->setBaseFont(font);
    m_editor->setMarginsFont(font);
    const bool dark = QApplication::palette().color(QPalette::Base).lightness() < 128;
    m_lexer->setDarkBackground(dark);
    m_editor->setCaretLineBackgroundColor(dark ? kDarkCaretLineColour : kCaretLineColour);
    m_editor->setCaretForegroundColor(dark ? Qt::white : Qt::black);
    // Tab stops of 16 dialog units: a quarter of the dialog font's average character width each,
    // as a whole number of the editor font's spaces.
    const QFontMetricsF dialogFont(QApplication::font());
    const QFontMetricsF editorFont(m_font);
    const double space = std::max(1.0, editorFont.horizontalAdvance(QLatin1Char(' ')));
    m_editor->setTabWidth(std::max(1, int(kTabStopCharacters * dialogFont.averageCharWidth() / space + 0.5)));
}

void CScriptEditView::updateMarginWidth()
{
    const int digits = std::max(3, int(QString::number(m_editor->lines()).size()));
    m_editor->setMarginWidth(0, QString(digits + 1, QLatin1Char('9')));
}

void CScriptEditView::settingsChanged()
{
    applySettings();
    m_editor->viewport()->repaint();
}

// --- The caret's line --------------------------------------------------------------------------

int CScriptEditView::caretLine() const
{
    int line = 0;
    int index = 0;
    m_editor->getCursorPosition(&line, &index);
    return line + 1;
}

void CScriptEditView::showCaretLine()
{
    if (!m_active || !document().desk())
        return;
    document().desk()->setPaneText(Desk::Pane::SkillPoints, tr("Line %1").arg(caretLine()));
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
    // Ctrl+Space belongs to the break key: the editor must not type a space for it.
    if (event->type() == QEvent::KeyPress && watched == m_editor) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && (key->modifiers() & Qt::ControlModifier))
            return true;
    }
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

// --- Typing ------------------------------------------------------------------------------------

void CScriptEditView::textChanged()
{
    if (!m_marking)
        markErrorLine(0);
    updateMarginWidth();
    if (m_preview && m_previewShown)
        m_preview->textChanged();
}

void CScriptEditView::indentNewLine()
{
    int line = 0;
    int index = 0;
    m_editor->getCursorPosition(&line, &index);
    if (line == 0)
        return;
    QString previous = m_editor->text(line - 1);
    const qsizetype comment = previous.indexOf(QLatin1String("//"));
    if (comment >= 0)
        previous.truncate(comment);
    int indent = m_editor->indentation(line - 1);
    if (previous.trimmed().endsWith(QLatin1Char('{')))
        indent += m_editor->tabWidth();
    if (indent <= 0)
        return;
    m_editor->setIndentation(line, indent);
    m_editor->setCursorPosition(line,
        m_editor->SendScintilla(QsciScintilla::SCI_GETLINEINDENTPOSITION, line)
            - m_editor->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line));
}

void CScriptEditView::outdentClosingBrace()
{
    int line = 0;
    int index = 0;
    m_editor->getCursorPosition(&line, &index);
    if (m_editor->text(line).left(index).trimmed() != QLatin1String("}") || line == 0)
        return;
    const int indent = std::max(0, m_editor->indentation(line) - m_editor->tabWidth());
    m_editor->setIndentation(line, indent);
    m_editor->setCursorPosition(line, m_editor->text(line).indexOf(QLatin1Char('}')) + 1);
}

void CScriptEditView::charAdded(int character)
{
    if (character == '\n') {
        indentNewLine();
    } else if (character == '}') {
        outdentClosingBrace();
    } else if (character == '.') {
        if (!completionsAtCaret().isEmpty())
            showCompletion();
    } else if (character == '(' || character == ',') {
        showCallTip();
    } else if (character == ')' || character == ';') {
        m_editor->SendScintilla(QsciScintilla::SCI_CALLTIPCANCEL);
    }
}

QStringList CScriptEditView::completionsAtCaret() const
{
    int line = 0;
    int index = 0;
    m_editor->getCursorPosition(&line, &index);
    const QString before = m_editor->text(line).left(index);
    return m_completion->completions(before);
}

bool CScriptEditView::showCompletion()
{
    const QStringList words = completionsAtCaret();
    if (words.isEmpty())
        return false;
    int line = 0;
    int index = 0;
    m_editor->getCursorPosition(&line, &index);
    const QString typed = ScriptCompletion::currentWord(m_editor->text(line).left(index));
    m_editor->SendScintilla(QsciScintilla::SCI_AUTOCSETSEPARATOR, int('\n'));
    m_editor->SendScintilla(QsciScintilla::SCI_AUTOCSHOW, typed.toUtf8().size(),
        words.join(QLatin1Char('\n')).toUtf8().constData());
    return true;
}

void CScriptEditView::showCallTip()
{
    int line = 0;
    int index = 0;
    m_editor->getCursorPosition(&line, &index);
    const QString tip = m_completion->callTip(m_editor->text(line).left(index));
    if (tip.isEmpty())
        return;
    const long position = m_editor->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS);
    m_editor->SendScintilla(QsciScintilla::SCI_CALLTIPSHOW, position, tip.toUtf8().constData());
}

void CScriptEditView::showErrorTip(int position, const QPoint& at)
{
    if (m_errorLine <= 0 || position < 0)
        return;
    const int line = int(m_editor->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, position)) + 1;
    if (line == m_errorLine)
        QToolTip::showText(m_editor->viewport()->mapToGlobal(at), m_errorMessage, m_editor);
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
    MessageTap tap;
    if (document().desk())
        document().desk()->setStatusMessage(
            tr("Ejecutando %1... Ctrl+Espacio lo detiene.").arg(document().title().trimmed()));
    const bool ok = runUserScriptText(*text, document().desk() ? document().desk()->ownerWindow() : nullptr);
    const QString reported = fromCp1252(tap.first);
    if (document().desk())
        document().desk()->setStatusMessage(errors.line() > 0 ? reported : QString());
    if (errors.line() > 0) {
        goToLine(errors.line());
        markErrorLine(errors.line(), reported);
    }
    m_editor->setFocus();
    return ok;
}

// --- Finding -----------------------------------------------------------------------------------

void CScriptEditView::goToLine(int line)
{
    const int count = m_editor->lines();
    if (count <= 0)
        return;
    if (line > count)
        return;
    line = std::max(line, 1);
    m_editor->setCursorPosition(line - 1, 0);
    m_editor->ensureLineVisible(line - 1);
    // Centred, as far as the text allows.
    const int visible = int(m_editor->SendScintilla(QsciScintilla::SCI_LINESONSCREEN));
    m_editor->setFirstVisibleLine(std::max(0, line - 1 - visible / 2));
    showCaretLine();
}

void CScriptEditView::markErrorLine(int line, const QString& message)
{
    if (line == m_errorLine && message == m_errorMessage)
        return;
    m_marking = true;
    m_editor->markerDeleteAll(kErrorMarker);
    m_editor->clearIndicatorRange(0, 0, std::max(0, m_editor->lines() - 1),
        m_editor->lineLength(std::max(0, m_editor->lines() - 1)), kErrorIndicator);
    m_errorLine = line > 0 && line <= m_editor->lines() ? line : 0;
    m_errorMessage = m_errorLine ? message : QString();
    if (m_errorLine) {
        m_editor->markerAdd(m_errorLine - 1, kErrorMarker);
        const QString text = m_editor->text(m_errorLine - 1);
        int length = int(text.size());
        while (length > 0 && (text[length - 1] == u'\n' || text[length - 1] == u'\r'))
            --length;
        m_editor->fillIndicatorRange(
            m_errorLine - 1, 0, m_errorLine - 1, std::max(1, length), kErrorIndicator);
    }
    m_marking = false;
}

bool CScriptEditView::findNext(const QString& text)
{
    if (text.isEmpty())
        return false;
    m_findText = text;
    return m_findBar->findNext(text);
}

void CScriptEditView::find(bool replacing) { m_findBar->open(replacing); }

void CScriptEditView::askGoToLine()
{
    bool ok = false;
    const int count = m_editor->lines();
    const int line = QInputDialog::getInt(this, tr("Ir a la línea"),
        tr("&Número de línea (1 - %1):").arg(count), caretLine(), 1, count, 1, &ok);
    if (ok)
        goToLine(line);
}

} // namespace vorpane
