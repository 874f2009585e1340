#pragma once
// The script editor: a plain-text editor over the script document's text.

#include "app/document_view.h"

class QPlainTextEdit;

namespace vorpane {

class CScriptEditDoc;

class CScriptEditView final : public DocumentView {
    Q_OBJECT
public:
    explicit CScriptEditView(CScriptEditDoc& document, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return m_editor; }
    CScriptEditDoc& scriptDocument() const;

private:
    void addEditCommands();

    QPlainTextEdit* m_editor;
};

} // namespace vorpane
