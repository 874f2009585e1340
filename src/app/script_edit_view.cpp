#include "app/script_edit_view.h"

#include "app/commands.h"
#include "app/script_edit_doc.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vorpane {

namespace {

const CommandSpec kScriptCommands[] = {
    { cmd::RunScript, "&Ejecutar script", "F9", "Ejecuta el script actual", ":/icons/run.png" },
};

} // namespace

std::span<const CommandSpec> scriptCommands() { return kScriptCommands; }

CScriptEditView::CScriptEditView(CScriptEditDoc& document, QWidget* parent)
    : DocumentView(document, parent)
    , m_editor(new QPlainTextEdit(this))
{
    m_editor->setDocument(document.textDocument());
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);
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
}

} // namespace vorpane
