#pragma once
// Nothing lost to a crash. Every few minutes (profile "Autosave" of section "Display", minutes,
// default 2, 0 = off) the bytes a save would write of every modified document go to this session's
// recovery folder, beside an index naming each document's file, type and title; the user's own
// files are never touched. A document closed cleanly takes its copy away, a clean exit the whole
// folder. A folder whose program is gone (its lock is stale or missing) is what a crash left: the
// next start offers to restore its documents, which open modified, titled as before and with
// their original path, so that saving them writes the user's file.

#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>

class QLockFile;

namespace vorpane {

class Document;
class DocumentManager;

class RecoveryManager final : public QObject {
    Q_OBJECT
public:
    explicit RecoveryManager(DocumentManager& documents, QObject* parent = nullptr);
    ~RecoveryManager() override;

    // Where the sessions' folders live: QStandardPaths::AppDataLocation + "/recovery" unless set
    // (tests point it at a temporary folder; empty restores the standard one).
    static void setRootFolder(const QString& folder);
    static QString rootFolder();

    // Rereads "Autosave" and restarts the timer.
    void reloadSettings();
    // Zero stops the copies.
    void setInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds interval() const;

    // Writes the copies of the modified documents now and drops those of the others.
    void saveCopies();
    // This session's folder; empty while it holds no copies.
    QString sessionFolder() const { return m_folder; }

    // A clean exit: the copies and the folder go.
    void endSession();
    // The frame goes without a clean exit: the copies stay for the next start.
    void abandonSession();

    // One document of a session that did not end cleanly.
    struct Entry {
        QString copy; // the copy's file
        QString path; // the user's file, empty for a document never saved
        QString type; // the document type's name
        QString title;
    };
    // The documents that sessions which did not end cleanly left; empty folders are removed.
    QList<Entry> leftovers();
    // Asks whether to restore the leftovers and does; then their folders go. Returns the number
    // of documents restored.
    int offerRecovery();

private:
    struct Copy {
        QString file; // inside the session folder
        QString extension;
    };

    bool ensureSessionFolder();
    bool writeCopy(Document& document);
    void dropCopy(Document* document);
    bool writeIndex();
    void reportFailure();
    void removeSessionFolder();
    void watch(Document* document);
    void timerFired();

    DocumentManager& m_documents;
    QTimer m_timer;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QHash<const Document*, Copy> m_copies;
    int m_nextCopy = 1;
    bool m_closed = false; // ended or abandoned
    bool m_failureReported = false;
    // Held while the leftovers are offered, so that a second start does not offer them too.
    QList<std::shared_ptr<QLockFile>> m_leftoverLocks;
    QStringList m_leftoverFolders;
};

} // namespace vorpane
