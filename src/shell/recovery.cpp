#include "shell/recovery.h"

#include "documents/script_edit_doc.h"
#include "docview/doc_template.h"
#include "docview/document.h"
#include "docview/document_manager.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "platform/save_file.h"
#include "platform/ui_services.h"
#include "platform/whole_file.h"
#include "script/interpreter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <algorithm>

namespace vorpane {

namespace {

constexpr const char* kIndexName = "index.json";
constexpr const char* kLockName = "lock";
// A copy due while a script runs waits this long and tries again.
constexpr std::chrono::seconds kRetryWhileRunning { 5 };
// An index names at most this many documents in at most this many bytes; a longer one is not ours.
constexpr int kMaxEntries = 1000;
constexpr size_t kMaxIndexBytes = 1024 * 1024;
constexpr int kMaxSessionTries = 100;
// Longer intervals are taken as a day, which a timer can still count.
constexpr int kMaxIntervalMinutes = 24 * 60;

// Copies of the user's documents are readable by the user alone.
constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QString g_rootFolder;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    return saveFile(QFile::encodeName(path).toStdString(),
               std::string_view(bytes.constData(), size_t(bytes.size())))
        == SaveResult::Saved;
}

QList<RecoveryManager::Entry> readIndex(const QString& folder)
{
    QList<RecoveryManager::Entry> entries;
    std::string bytes;
    const std::string index
        = QFile::encodeName(QDir(folder).filePath(QLatin1String(kIndexName))).toStdString();
    if (readWholeFile(index, kMaxIndexBytes, bytes) != ReadFailure::None)
        return entries;
    const QJsonArray documents
        = QJsonDocument::fromJson(QByteArray::fromStdString(bytes)).object().value("documents").toArray();
    for (const QJsonValue& value : documents) {
        if (entries.size() >= kMaxEntries)
            break;
        const QJsonObject object = value.toObject();
        const QString name = QFileInfo(object.value("file").toString()).fileName();
        RecoveryManager::Entry entry { QDir(folder).filePath(name), object.value("path").toString(),
            object.value("type").toString(), object.value("title").toString() };
        if (!name.isEmpty() && QFileInfo(entry.copy).isFile())
            entries << entry;
    }
    return entries;
}

QString question(const QList<RecoveryManager::Entry>& entries)
{
    QString list;
    for (const RecoveryManager::Entry& entry : entries) {
        list += QStringLiteral("\n    ") + entry.title.trimmed();
        if (!entry.path.isEmpty())
            list += QStringLiteral("  (") + QDir::toNativeSeparators(entry.path) + QLatin1Char(')');
    }
    return QCoreApplication::translate("RecoveryManager",
        "Vorpane se cerró sin guardar los cambios de estos documentos:\n%1\n\n"
        "¿Recuperarlos? Se abrirán como estaban, sin guardar. Si contestas No, las copias se borrarán.")
        .arg(list);
}

} // namespace

RecoveryManager::RecoveryManager(DocumentManager& documents, QObject* parent)
    : QObject(parent)
    , m_documents(documents)
{
    connect(&m_timer, &QTimer::timeout, this, &RecoveryManager::timerFired);
    connect(&documents, &DocumentManager::documentAdded, this, &RecoveryManager::watch);
    connect(&documents, &DocumentManager::documentRemoved, this, &RecoveryManager::dropCopy);
    for (Document* document : documents.documents())
        watch(document);
    reloadSettings();
}

RecoveryManager::~RecoveryManager() { abandonSession(); }

void RecoveryManager::setRootFolder(const QString& folder) { g_rootFolder = folder; }

QString RecoveryManager::rootFolder()
{
    if (!g_rootFolder.isEmpty())
        return g_rootFolder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

void RecoveryManager::reloadSettings()
{
    const int minutes = Profile::read(profile_keys::kAutosaveMinutes);
    setInterval(std::chrono::minutes(std::clamp(minutes, 0, kMaxIntervalMinutes)));
}

void RecoveryManager::setInterval(std::chrono::milliseconds interval)
{
    m_timer.stop();
    if (interval.count() > 0 && !m_closed) {
        m_timer.setInterval(interval);
        m_timer.start();
    }
}

std::chrono::milliseconds RecoveryManager::interval() const
{
    return m_timer.isActive() ? m_timer.intervalAsDuration() : std::chrono::milliseconds(0);
}

void RecoveryManager::watch(Document* document)
{
    // A document saved (or reverted) needs no copy any more.
    connect(document, &Document::modifiedChanged, this, [this, document](bool modified) {
        if (!modified)
            dropCopy(document);
    });
}

void RecoveryManager::timerFired()
{
    // A run's documents may be half-changed; copy them once it is over.
    if (script::scriptRunInProgress()) {
        QTimer::singleShot(kRetryWhileRunning, this, &RecoveryManager::saveCopies);
        return;
    }
    saveCopies();
}

void RecoveryManager::saveCopies()
{
    if (m_closed || script::scriptRunInProgress())
        return;
    bool changed = false;
    bool written = true;
    for (Document* document : m_documents.documents()) {
        if (document->isModified()) {
            written = writeCopy(*document) && written;
            changed = true;
        } else if (m_copies.contains(document)) {
            dropCopy(document);
        }
    }
    if (changed)
        written = writeIndex() && written;
    if (!written)
        reportFailure();
}

// Said once per session: the copies go on being tried at every interval, and a full disk that
// fills up again should not repeat the news every two minutes.
void RecoveryManager::reportFailure()
{
    if (m_failureReported)
        return;
    m_failureReported = true;
    const QString where = m_folder.isEmpty() ? rootFolder() : m_folder;
    const std::string text = toCp1252(tr("No se pudo escribir la copia de recuperación en %1; "
                                         "se seguirá intentando. Guarde sus documentos.")
                                          .arg(QDir::toNativeSeparators(where)));
    ui().setStatusText(text);
    ui().output().addLine(text);
    ui().output().show();
}

bool RecoveryManager::ensureSessionFolder()
{
    if (!m_folder.isEmpty())
        return true;
    const QDir root(rootFolder());
    if (!root.mkpath(QStringLiteral(".")) || !QFile::setPermissions(root.path(), kPrivate))
        return false;
    // A folder of its own, even beside one this process left a moment ago.
    const QString stem = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-"))
        + QString::number(QCoreApplication::applicationPid());
    QString folder;
    for (int n = 1; folder.isEmpty() && n <= kMaxSessionTries; ++n) {
        const QString name = n == 1 ? stem : stem + QLatin1Char('-') + QString::number(n);
        if (root.mkdir(name, kPrivate))
            folder = root.filePath(name);
    }
    if (folder.isEmpty())
        return false;
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QLatin1String(kLockName)));
    // Only a lock whose process is gone is stale, however long the program runs.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    m_folder = folder;
    return true;
}

bool RecoveryManager::writeCopy(Document& document)
{
    std::string bytes;
    if (auto* script = qobject_cast<CScriptEditDoc*>(&document)) {
        // A character the file cannot hold leaves the last copy as it was.
        std::optional<std::string> encoded = script->encodedText();
        if (!encoded)
            return true;
        bytes = std::move(*encoded);
    } else {
        bytes = document.fileBytes();
    }
    if (!ensureSessionFolder())
        return false;
    auto it = m_copies.find(&document);
    if (it == m_copies.end()) {
        const QString extension = document.docTemplate().extension();
        it = m_copies.insert(&document, Copy { QString::number(m_nextCopy++) + extension, extension });
    }
    return writeFile(QDir(m_folder).filePath(it->file), QByteArray::fromStdString(bytes));
}

void RecoveryManager::dropCopy(Document* document)
{
    if (m_closed)
        return;
    const auto it = m_copies.find(document);
    if (it == m_copies.end())
        return;
    QFile::remove(QDir(m_folder).filePath(it->file));
    m_copies.erase(it);
    if (m_copies.isEmpty())
        removeSessionFolder();
    else
        writeIndex();
}

bool RecoveryManager::writeIndex()
{
    if (m_folder.isEmpty())
        return true;
    QJsonArray documents;
    for (Document* document : m_documents.documents()) {
        const auto it = m_copies.constFind(document);
        if (it == m_copies.constEnd())
            continue;
        QJsonObject entry;
        entry.insert(QLatin1String("file"), it->file);
        entry.insert(QLatin1String("path"), document->path());
        entry.insert(QLatin1String("type"), document->docTemplate().typeName());
        entry.insert(QLatin1String("title"), document->title());
        documents.append(entry);
    }
    return writeFile(QDir(m_folder).filePath(QLatin1String(kIndexName)),
        QJsonDocument(QJsonObject { { QLatin1String("documents"), documents } }).toJson());
}

void RecoveryManager::removeSessionFolder()
{
    if (m_folder.isEmpty())
        return;
    m_lock.reset();
    QDir(m_folder).removeRecursively();
    m_folder.clear();
}

void RecoveryManager::endSession()
{
    if (m_closed)
        return;
    m_copies.clear();
    removeSessionFolder();
    m_closed = true;
    m_timer.stop();
}

void RecoveryManager::abandonSession()
{
    m_closed = true;
    m_timer.stop();
}

QList<RecoveryManager::Entry> RecoveryManager::leftovers()
{
    QList<Entry> entries;
    const QDir root(rootFolder());
    for (const QFileInfo& info : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = info.absoluteFilePath();
        if (folder == QFileInfo(m_folder).absoluteFilePath() || m_leftoverFolders.contains(folder))
            continue;
        auto lock = std::make_shared<QLockFile>(QDir(folder).filePath(QLatin1String(kLockName)));
        lock->setStaleLockTime(0);
        // A program that still runs holds its lock.
        if (!lock->tryLock(0))
            continue;
        const QList<Entry> found = readIndex(folder);
        if (found.isEmpty()) {
            lock.reset();
            QDir(folder).removeRecursively();
            continue;
        }
        m_leftoverLocks << lock;
        m_leftoverFolders << folder;
        entries << found;
    }
    return entries;
}

int RecoveryManager::offerRecovery()
{
    const QList<Entry> entries = leftovers();
    int restored = 0;
    if (!entries.isEmpty()
        && ui().messageBox(toCp1252(question(entries)), {}, MsgIcon::Question, MsgButtons::YesNo)
            == MsgResult::Yes) {
        for (const Entry& entry : entries) {
            if (m_documents.restoreDocument(entry.type, entry.copy, entry.path, entry.title))
                ++restored;
        }
    }
    m_leftoverLocks.clear();
    for (const QString& folder : std::as_const(m_leftoverFolders))
        QDir(folder).removeRecursively();
    m_leftoverFolders.clear();
    // What was restored is copied again, into this session's folder.
    if (restored > 0)
        saveCopies();
    return restored;
}

} // namespace vorpane
