#pragma once
// One running program per user and display: the first start listens on a local socket named
// after the display, in a folder only the user may enter; a later start that is given files
// hands them over and ends, and the running program opens them. Both ends check that the other
// is the same user. A socket left behind by a crashed program is taken over.

#include <QObject>
#include <QStringList>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace vorpane {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // A hand-over never carries more than this (256 long file names fit).
    static constexpr qint64 kMaxMessage = 1024 * 1024;
    // More files than anyone drops on a program at once.
    static constexpr int kMaxFiles = 256;
    // A connection that has not delivered its message by then is dropped.
    static constexpr int kTimeoutMs = 3000;

    // A name without a folder is placed in the user's private runtime folder.
    explicit SingleInstance(const QString& name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // "vorpane-" + the display, characters a socket name cannot hold replaced.
    static QString defaultName();

    // The socket's path; empty when no private folder could be had (then no hand-over happens
    // and nothing listens).
    const QString& name() const { return m_name; }

    // Files received while a script runs wait for the run to end (held()).
    const QStringList& held() const { return m_held; }
    // Gives the files (made absolute) to a running program; true when it took them. No files is
    // a probe: true when the running program's event loop answered.
    bool handOver(const QStringList& files) const;
    // Starts taking files from later starts; false when another program already listens.
    bool listen();
    bool isListening() const;

    // The message a hand-over writes, and its reading (nothing for a malformed message).
    static QByteArray encode(const QStringList& files);
    static std::optional<QStringList> decode(const QByteArray& message);

signals:
    void filesReceived(const QStringList& files);

private:
    void acceptConnections();
    void readFrom(QLocalSocket* socket);
    void deliver(const QStringList& files);
    void deliverHeld();

    QString m_name;
    QLocalServer* m_server = nullptr;
    QStringList m_held;
    QTimer* m_heldTimer = nullptr;
};

} // namespace vorpane
