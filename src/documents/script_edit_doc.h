#pragma once
// The script document types (".vsc", ".vis", ".vhs"): the file's Windows-1252 bytes as an
// editable text. A file opened and saved without an edit is written back byte for byte; an edited
// one keeps the file's line ends (CR LF when it had any). A character that Windows-1252 cannot
// hold is refused with a message, never written as "?".

#include "docview/document.h"
#include "platform/whole_file.h"

#include <memory>

class QsciScintilla;

namespace vorpane {

class CScriptEditDoc final : public Document {
    Q_OBJECT
public:
    explicit CScriptEditDoc(const CMultiFileMultiDocTemplate& docTemplate);
    ~CScriptEditDoc() override;

    // The editor that holds the text; a view shows the same text through its own editor
    // (QsciScintilla::setDocument), so the two never need to be kept in step. It is never shown.
    QsciScintilla* textStore() const { return m_text.get(); }
    // Replaces the text (a new document's starting text): not a modification.
    void setText(const QString& text);
    QString text() const;

    bool isModified() const override;
    void setModified(bool modified) override;
    bool openDocument(const QString& path) override;
    bool saveDocument(const QString& path) override;
    std::string fileBytes() const override;
    // A new script, or one of the program folder (not the user's to write), is proposed in the
    // user data folder, where the lists find it.
    QString proposedFileName() const override;

    // The bytes for the text, or nothing when a character has no Windows-1252 byte (then
    // `message` says which).
    std::optional<std::string> encodedText(QString* message = nullptr) const;

    // Sheet and handout scripts, which the sheet views run.
    bool isLayoutScript() const;

    // Scripts of this size are far above anything written by hand.
    static constexpr size_t kMaxFileSize = kMaxScriptFileBytes;

private:
    // The whole text, without an undo step, unmodified.
    void replaceText(const QString& text);
    // Tells every view of every open document that a layout script file was saved.
    void announceSaved(const QString& path) const;

    std::unique_ptr<QsciScintilla> m_text;
    bool m_markedModified = false; // the editor knows only "changed since the save point"
    std::string m_fileBytes; // as read or last written; written back while the text is unchanged
    bool m_crlf = true;
};

} // namespace vorpane
