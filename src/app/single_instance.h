#pragma once
// One running program per user and display: the first start listens on a local socket named
// after both; a later start that is given files hands them over and ends, and the running
// program opens them. A socket left behind by a crashed program is taken over.

#include <QObject>
#include <QStringList>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace vorpane {

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    // A hand-over never carries more than this (a few thousand file names).
    static constexpr qint64 kMaxMessage = 1024 * 1024;
    static constexpr int kTimeoutMs = 3000;

    explicit SingleInstance(const QString& name = defaultName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // "vorpane-" + the user's name + the display, characters a socket name cannot hold replaced.
    static QString defaultName();

    const QString& name() const { return m_name; }
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

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace vorpane
