#include "documents/script_edit_doc.h"

#include "docview/desk.h"
#include "docview/doc_template.h"
#include "docview/document_manager.h"
#include "docview/document_view.h"
#include "platform/cp1252.h"
#include "platform/data_files.h"
#include "platform/program_folder.h"
#include "platform/save_file.h"
#include "platform/ui_services.h"
#include "platform/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <Qsci/qsciscintilla.h>

namespace vorpane {

namespace {

// Line ends become "\n" inside the editor; a lone CR stays a character.
QString editorText(const std::string& bytes)
{
    QString text = fromCp1252Exact(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

CScriptEditDoc::CScriptEditDoc(const CMultiFileMultiDocTemplate& docTemplate)
    : Document(docTemplate)
    , m_text(std::make_unique<QsciScintilla>())
{
    m_text->setUtf8(true);
    m_text->setEolMode(QsciScintilla::EolUnix);
    connect(m_text.get(), &QsciScintilla::modificationChanged, this, [this](bool modified) {
        if (!m_markedModified)
            emitModifiedChanged(modified);
    });
}

CScriptEditDoc::~CScriptEditDoc() = default;

void CScriptEditDoc::setText(const QString& text)
{
    replaceText(text);
    m_fileBytes.clear();
}

void CScriptEditDoc::replaceText(const QString& text)
{
    m_text->setText(text);
    m_text->SendScintilla(QsciScintilla::SCI_EMPTYUNDOBUFFER);
    setModified(false);
}

QString CScriptEditDoc::text() const { return m_text->text(); }

bool CScriptEditDoc::isModified() const { return m_markedModified || m_text->isModified(); }

void CScriptEditDoc::setModified(bool modified)
{
    const bool was = isModified();
    m_markedModified = modified;
    if (!modified)
        m_text->setModified(false);
    if (isModified() != was)
        emitModifiedChanged(isModified());
}

bool CScriptEditDoc::openDocument(const QString& path)
{
    std::string bytes;
    const ReadFailure failure = readWholeFile(QFile::encodeName(path).toStdString(), kMaxFileSize, bytes);
    if (failure == ReadFailure::CannotOpen) {
        showMessage(cp1252("No se puede abrir el archivo ") + toCp1252(path), {}, MsgIcon::Error);
        return false;
    }
    // An empty script is a script.
    if (failure != ReadFailure::None && failure != ReadFailure::Empty) {
        showMessage(readFailureMessage(failure, ""), {}, MsgIcon::Error);
        return false;
    }
    m_fileBytes = std::move(bytes);
    m_crlf = m_fileBytes.find("\r\n") != std::string::npos || m_fileBytes.find('\n') == std::string::npos;
    replaceText(editorText(m_fileBytes));
    setPath(path);
    return true;
}

std::optional<std::string> CScriptEditDoc::encodedText(QString* message) const
{
    QString text = m_text->text();
    if (m_crlf)
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    qsizetype bad = -1;
    auto bytes = toCp1252Exact(text, &bad);
    if (!bytes && message) {
        const QString character = text.mid(bad, text[bad].isHighSurrogate() ? 2 : 1);
        *message = tr("El carácter «%1» no se puede guardar: los scripts se escriben en Windows-1252. "
                      "Cámbialo por otro y vuelve a guardar.")
                       .arg(character);
    }
    return bytes;
}

std::string CScriptEditDoc::fileBytes() const
{
    if (!isModified() && !m_fileBytes.empty())
        return m_fileBytes;
    return encodedText().value_or(std::string());
}

bool CScriptEditDoc::saveDocument(const QString& path)
{
    std::string bytes;
    if (!isModified() && !m_fileBytes.empty()) {
        bytes = m_fileBytes;
    } else {
        QString message;
        auto encoded = encodedText(&message);
        if (!encoded) {
            showMessage(toCp1252(message), {}, MsgIcon::Warning);
            return false;
        }
        bytes = std::move(*encoded);
    }
    if (saveFile(QFile::encodeName(path).toStdString(), bytes) != SaveResult::Saved) {
        showMessage(cp1252("No se puede escribir el archivo ") + toCp1252(path), {}, MsgIcon::Error);
        return false;
    }
    m_fileBytes = std::move(bytes);
    setModified(false);
    setPath(path);
    if (isLayoutScript())
        announceSaved(QFileInfo(path).absoluteFilePath());
    return true;
}

QString CScriptEditDoc::proposedFileName() const
{
    const QString proposed = Document::proposedFileName();
    const QFileInfo info(proposed);
    const QFileInfo program(QFile::decodeName(programFolder().c_str()));
    if (!path().isEmpty() && info.absoluteDir() != QDir(program.absoluteFilePath()))
        return proposed;
    const std::string folder = makeUserDataFolder();
    return folder.empty() ? proposed : QFile::decodeName(folder.c_str()) + info.fileName();
}

bool CScriptEditDoc::isLayoutScript() const
{
    const QString type = docTemplate().typeName();
    return type.compare(QLatin1String("SheetScript"), Qt::CaseInsensitive) == 0
        || type.compare(QLatin1String("HandoutScript"), Qt::CaseInsensitive) == 0;
}

void CScriptEditDoc::announceSaved(const QString& path) const
{
    Desk* owner = desk();
    if (!owner)
        return;
    for (Document* document : owner->documents().documents()) {
        const QList<DocumentView*> views = document->views();
        for (DocumentView* view : views)
            view->scriptFileSaved(path);
    }
}

} // namespace vorpane
