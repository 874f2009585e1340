#include "shell/single_instance.h"

#include "platform/private_folder.h"
#include "script/interpreter.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace vorpane {

namespace {

constexpr quint32 kMagic = 0x56525031; // "VRP1"
constexpr char kAck = '+';
// How often held files look for the end of a run.
constexpr int kHeldPollMs = 200;

QString placedName(const QString& name)
{
    if (name.contains(QLatin1Char('/')))
        return name;
    const std::string folder = userRuntimeFolder();
    if (folder.empty())
        return {};
    return QFile::decodeName(folder.c_str()) + QLatin1Char('/') + name;
}

// Whether the other end of a connected local socket runs as this user.
bool peerIsThisUser(const QLocalSocket& socket)
{
    ucred peer {};
    socklen_t length = sizeof peer;
    const auto descriptor = int(socket.socketDescriptor());
    return descriptor >= 0 && getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0
        && length == sizeof peer && peer.uid == geteuid();
}

} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent)
    , m_name(placedName(name))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    // A window on another display could not come to the front on this one.
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    QString name = QStringLiteral("vorpane");
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
    if (in.status() != QDataStream::Ok || magic != kMagic || count > quint32(kMaxFiles))
        return std::nullopt;
    // Each name is read only once its announced length is known to lie within the message, so
    // nothing is ever reserved beyond what the message's bytes hold.
    QStringList files;
    for (quint32 i = 0; i < count; ++i) {
        quint32 bytes = 0;
        in >> bytes;
        const qint64 left = message.size() - in.device()->pos();
        if (in.status() != QDataStream::Ok || bytes % 2 != 0 || qint64(bytes) > left)
            return std::nullopt;
        QByteArray raw(qsizetype(bytes), Qt::Uninitialized);
        in.readRawData(raw.data(), int(bytes));
        QString file(qsizetype(bytes / 2), Qt::Uninitialized);
        for (qsizetype k = 0; k < file.size(); ++k)
            file[k] = QChar(char16_t((uchar(raw[2 * k]) << 8) | uchar(raw[2 * k + 1])));
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
    if (m_name.isEmpty() || absolute.size() > kMaxFiles)
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kTimeoutMs) || !peerIsThisUser(socket))
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
    if (m_name.isEmpty())
        return false;
    // Someone answers: a program runs. Nobody: a crashed program may have left its socket.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
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
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            continue;
        }
        // A connection that never completes its message would otherwise stay open for good.
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); });
        idle->start(kTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle] {
            idle->start(kTimeoutMs);
            readFrom(socket);
        });
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
        deliver(*files);
}

// A script run keeps the event loop turning for paints; documents opened in the middle of it
// would change what the run works on, so they wait until it is over.
void SingleInstance::deliver(const QStringList& files)
{
    if (!script::scriptRunInProgress() && m_held.isEmpty()) {
        emit filesReceived(files);
        return;
    }
    m_held += files;
    if (!m_heldTimer) {
        m_heldTimer = new QTimer(this);
        m_heldTimer->setInterval(kHeldPollMs);
        connect(m_heldTimer, &QTimer::timeout, this, &SingleInstance::deliverHeld);
    }
    m_heldTimer->start();
}

void SingleInstance::deliverHeld()
{
    if (script::scriptRunInProgress())
        return;
    m_heldTimer->stop();
    const QStringList files = std::exchange(m_held, {});
    emit filesReceived(files);
}

} // namespace vorpane
