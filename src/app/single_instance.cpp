#include "app/single_instance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>

namespace vorpane {

namespace {

constexpr quint32 kMagic = 0x56525031; // "VRP1"
constexpr char kAck = '+';

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(name)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QDir::home().dirName();
    // A window on another display could not come to the front on this one.
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    QString name = QStringLiteral("vorpane-") + user;
    if (!display.isEmpty())
        name += QLatin1Char('-') + display;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    return name.replace(unsafe, QStringLiteral("_"));
}

QByteArray SingleInstance::encode(const QStringList& files)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out << kMagic << files;
    QByteArray message;
    QDataStream framed(&message, QIODevice::WriteOnly);
    framed << quint32(body.size());
    return message + body;
}

std::optional<QStringList> SingleInstance::decode(const QByteArray& message)
{
    if (message.size() < 4 || message.size() > kMaxMessage)
        return std::nullopt;
    QDataStream in(message);
    quint32 size = 0;
    in >> size;
    if (qint64(size) != message.size() - 4)
        return std::nullopt;
    quint32 magic = 0;
    quint32 count = 0;
    in >> magic >> count;
    // Each name takes at least its four-byte length, so a count the message cannot hold is
    // refused before anything is reserved for it.
    if (in.status() != QDataStream::Ok || magic != kMagic || qint64(count) > (message.size() - 12) / 4)
        return std::nullopt;
    QStringList files;
    files.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        QString file;
        in >> file;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        files << file;
    }
    if (!in.atEnd())
        return std::nullopt;
    return files;
}

bool SingleInstance::handOver(const QStringList& files) const
{
    QStringList absolute;
    for (const QString& file : files)
        absolute << QFileInfo(file).absoluteFilePath();
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    socket.write(encode(absolute));
    if (!socket.waitForBytesWritten(kTimeoutMs))
        return false;
    // The running program answers once it has the whole message.
    if (!socket.waitForReadyRead(kTimeoutMs))
        return false;
    return socket.read(1) == QByteArray(1, kAck);
}

bool SingleInstance::listen()
{
    if (m_server)
        return m_server->isListening();
    // Someone answers: a program runs. Nobody: a crashed program may have left its socket.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    if (!m_server->listen(m_name)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

bool SingleInstance::isListening() const { return m_server && m_server->isListening(); }

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket)
{
    // The message collects on the socket until its announced size has arrived.
    const QByteArray head = socket->peek(4);
    if (head.size() < 4)
        return;
    QDataStream in(head);
    quint32 size = 0;
    in >> size;
    if (qint64(size) + 4 > kMaxMessage) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(size) + 4)
        return;
    const std::optional<QStringList> files = decode(socket->read(qint64(size) + 4));
    if (!files) {
        socket->abort();
        return;
    }
    socket->write(QByteArray(1, kAck));
    socket->flush();
    // An empty hand-over only asks whether the event loop answers (a liveness probe): nothing
    // opens and the window stays where it is.
    if (!files->isEmpty())
        emit filesReceived(*files);
}

} // namespace vorpane
