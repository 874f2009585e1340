#include "docview/document_manager.h"

#include "docview/child_frame.h"
#include "docview/desktop_dialogs.h"
#include "docview/doc_template.h"
#include "docview/document.h"
#include "docview/document_view.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/ui_services.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>

namespace vorpane {

namespace {

// The title of an investigator made by the new-document dialog.
constexpr const char* kNewInvestigatorTitle = "Nueva Ficha PJ  ";

QString absolute(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

std::string recentKey(int index) { return "File" + std::to_string(index + 1); }

} // namespace

DocumentManager::DocumentManager(QMdiArea* area, Desk* desk, QObject* parent)
    : QObject(parent)
    , m_area(area)
    , m_desk(desk)
{
}

DocumentManager::~DocumentManager()
{
    // Windows first: their views refer to the documents.
    for (QMdiSubWindow* window : m_area->subWindowList())
        delete window;
}

void DocumentManager::addTemplate(std::unique_ptr<CMultiFileMultiDocTemplate> docTemplate)
{
    docTemplate->setDesk(m_desk);
    m_templates.push_back(std::move(docTemplate));
}

CMultiFileMultiDocTemplate* DocumentManager::findTemplate(const QString& typeName) const
{
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->typeName().compare(typeName, Qt::CaseInsensitive) == 0)
            return docTemplate.get();
    }
    return nullptr;
}

CMultiFileMultiDocTemplate* DocumentManager::templateForFile(const QString& path) const
{
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->matchesFile(path))
            return docTemplate.get();
    }
    // Files exported under other names: an investigator of any version starts with "INV", a
    // handout with its section word.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray head = file.read(16).trimmed();
    if (head.left(3).compare("INV", Qt::CaseInsensitive) == 0)
        return findTemplate(QStringLiteral("Investigator"));
    if (head.left(7).compare("Handout", Qt::CaseInsensitive) == 0)
        return findTemplate(QStringLiteral("Handout"));
    return nullptr;
}

QString DocumentManager::openFilter() const
{
    QStringList patterns;
    QStringList filters;
    for (const auto& docTemplate : m_templates) {
        patterns << QLatin1Char('*') + docTemplate->extension();
        filters << docTemplate->filter();
    }
    return (QStringList { tr("Documentos de Vorpane (%1)").arg(patterns.join(QLatin1Char(' '))) } + filters
        + QStringList { tr("Todos los archivos (*)") })
        .join(QStringLiteral(";;"));
}

Document* DocumentManager::openDocumentFile(const QString& path)
{
    const QString file = absolute(path);
    if (Document* open = documentForPath(file)) {
        if (CChildFrame* frame = frameOf(*open))
            m_area->setActiveSubWindow(frame);
        return open;
    }
    CMultiFileMultiDocTemplate* docTemplate = templateForFile(file);
    if (!docTemplate) {
        if (!QFileInfo(file).isFile())
            showMessage(cp1252("No se puede abrir el archivo ") + toCp1252(file), {}, MsgIcon::Error);
        else
            showMessage(
                cp1252("Vorpane no reconoce el tipo del archivo ") + toCp1252(file), {}, MsgIcon::Warning);
        return nullptr;
    }
    std::unique_ptr<Document> document = docTemplate->createDocument();
    if (!document->openDocument(file))
        return nullptr;
    Document* opened = adopt(std::move(document));
    createFrame(*opened);
    addRecentFile(file);
    return opened;
}

Document* DocumentManager::newDocument(
    const QString& typeName, const QString& title, const std::function<void(Document&)>& prepare)
{
    CMultiFileMultiDocTemplate* docTemplate = findTemplate(typeName);
    if (!docTemplate)
        return nullptr;
    std::unique_ptr<Document> created = docTemplate->createDocument();
    if (prepare)
        prepare(*created);
    Document* document = adopt(std::move(created));
    createFrame(*document);
    if (!title.isEmpty())
        document->setTitle(title);
    return document;
}

Document* DocumentManager::createInvestigator(const std::string& ruleFile, int era, bool withWizard)
{
    CMultiFileMultiDocTemplate* docTemplate = findTemplate(QStringLiteral("Investigator"));
    if (!docTemplate || !m_investigatorSetup)
        return nullptr;
    std::unique_ptr<Document> created = docTemplate->createDocument();
    Document& document = *created;
    if (!m_investigatorSetup(document, ruleFile, era, withWizard))
        return nullptr;
    adopt(std::move(created));
    createFrame(document);
    if (withWizard)
        document.setModified(true);
    document.setTitle(fromCp1252(cp1252(kNewInvestigatorTitle)));
    return &document;
}

Document* DocumentManager::restoreDocument(
    const QString& typeName, const QString& copy, const QString& originalPath, const QString& title)
{
    CMultiFileMultiDocTemplate* docTemplate = findTemplate(typeName);
    if (!docTemplate)
        return nullptr;
    std::unique_ptr<Document> document = docTemplate->createDocument();
    if (!document->openDocument(copy))
        return nullptr;
    document->setPath(originalPath);
    document->setTitle(title);
    document->setModified(true);
    Document* restored = adopt(std::move(document));
    createFrame(*restored);
    return restored;
}

Document* DocumentManager::adopt(std::unique_ptr<Document> document)
{
    Document* adopted = document.get();
    m_documents.push_back(std::move(document));
    emit documentAdded(adopted);
    return adopted;
}

CChildFrame* DocumentManager::createFrame(Document& document)
{
    DocumentView* view = document.docTemplate().createView(document);
    auto* frame = new CChildFrame(*this, view);
    // The view's own destruction has taken it off the document by the time it is destroyed; the
    // frame's destroyed() comes before its children go, when the view is still there.
    connect(view, &QObject::destroyed, this, [this, doc = &document] {
        if (!doc->views().isEmpty())
            return;
        for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
            if (it->get() == doc) {
                std::unique_ptr<Document> gone = std::move(*it);
                m_documents.erase(it);
                emit documentRemoved(doc);
                break;
            }
        }
    });
    m_area->addSubWindow(frame);
    frame->showMaximized();
    m_area->setActiveSubWindow(frame);
    view->initialUpdate();
    view->setFocus();
    return frame;
}

bool DocumentManager::saveDocument(Document& document)
{
    if (!document.canSaveInPlace())
        return saveDocumentAs(document);
    document.commitEditing();
    if (!document.saveDocument(document.path()))
        return false;
    addRecentFile(document.path());
    return true;
}

bool DocumentManager::saveDocumentAs(Document& document)
{
    document.commitEditing();
    const CMultiFileMultiDocTemplate& docTemplate = document.docTemplate();
    const QString filter = docTemplate.filter() + QStringLiteral(";;") + tr("Todos los archivos (*)");
    const QString path = dialogs().saveFileName(m_area->window(), tr("Guardar como"),
        document.proposedFileName(), filter, docTemplate.extension().mid(1));
    if (path.isEmpty())
        return false;
    if (!document.saveDocument(path))
        return false;
    addRecentFile(document.path());
    return true;
}

bool DocumentManager::saveModified(Document& document)
{
    document.commitEditing();
    if (!document.isModified())
        return true;
    const std::string question
        = cp1252("¿Desea guardar los cambios en ") + toCp1252(document.title().trimmed()) + "?";
    switch (ui().messageBox(question, {}, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgResult::Yes:
        return saveDocument(document);
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

bool DocumentManager::closeDocument(Document& document)
{
    if (!saveModified(document))
        return false;
    for (CChildFrame* frame : frames()) {
        if (&frame->view()->document() == &document)
            frame->closeWithoutAsking();
    }
    return true;
}

bool DocumentManager::closeAll()
{
    for (Document* document : documents()) {
        if (!saveModified(*document))
            return false;
    }
    for (CChildFrame* frame : frames())
        frame->closeWithoutAsking();
    return true;
}

QList<Document*> DocumentManager::documents() const
{
    QList<Document*> result;
    for (const auto& document : m_documents)
        result.append(document.get());
    return result;
}

Document* DocumentManager::documentForPath(const QString& path) const
{
    const QString wanted = absolute(path);
    for (const auto& document : m_documents) {
        if (!document->path().isEmpty() && absolute(document->path()) == wanted)
            return document.get();
    }
    return nullptr;
}

DocumentView* DocumentManager::activeView() const
{
    // A window being destroyed is no longer a CChildFrame.
    auto* frame = qobject_cast<CChildFrame*>(m_area->currentSubWindow());
    return frame ? frame->view() : nullptr;
}

Document* DocumentManager::activeDocument() const
{
    DocumentView* view = activeView();
    return view ? &view->document() : nullptr;
}

CChildFrame* DocumentManager::frameOf(const Document& document) const
{
    for (CChildFrame* frame : frames()) {
        if (&frame->view()->document() == &document)
            return frame;
    }
    return nullptr;
}

QList<CChildFrame*> DocumentManager::frames() const
{
    // A window being destroyed is no longer a CChildFrame.
    QList<CChildFrame*> result;
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(window))
            result.append(frame);
    }
    return result;
}

QStringList DocumentManager::recentFiles() const
{
    QStringList files;
    for (int i = 0; i < kRecentFileCount; ++i) {
        const std::string file = Profile::readString(profile_keys::kRecentFileList, recentKey(i), "");
        if (!file.empty())
            files << fromCp1252(file);
    }
    return files;
}

void DocumentManager::addRecentFile(const QString& path)
{
    const QString file = absolute(path);
    // A name that Windows-1252 cannot hold could not be read back.
    if (!toCp1252Exact(file))
        return;
    QStringList files = recentFiles();
    files.removeAll(file);
    files.prepend(file);
    writeRecentFiles(files.mid(0, kRecentFileCount));
}

void DocumentManager::removeRecentFile(const QString& path)
{
    QStringList files = recentFiles();
    if (files.removeAll(absolute(path)) + files.removeAll(path) > 0)
        writeRecentFiles(files);
}

void DocumentManager::writeRecentFiles(const QStringList& files)
{
    for (int i = 0; i < kRecentFileCount; ++i)
        Profile::writeString(profile_keys::kRecentFileList, recentKey(i),
            i < files.size() ? toCp1252(files[i]) : std::string());
    emit recentFilesChanged();
}

} // namespace vorpane
