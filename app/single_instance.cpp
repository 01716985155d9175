#include "app/single_instance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QtEndian>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr char kAck = 0x06;
constexpr char kGo = 0x04;
constexpr int kRetryMs = 25;
constexpr int kGoWriteMs = 500;

QByteArray encode(const QStringList& arguments) {
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << arguments;
    QByteArray message(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), message.data());
    return message + payload;
}

// -1: not complete yet, 0: bad message, 1: complete (`arguments` filled).
int decode(const QByteArray& buffer, QStringList* arguments) {
    if (buffer.size() < 4) return -1;
    quint32 size = qFromBigEndian<quint32>(buffer.constData());
    if (size > SingleInstance::kMaxMessageBytes) return 0;
    if (quint64(buffer.size()) < 4 + quint64(size)) return -1;
    QDataStream in(buffer.mid(4, qsizetype(size)));
    in.setVersion(QDataStream::Qt_6_0);
    in >> *arguments;
    return in.status() == QDataStream::Ok ? 1 : 0;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent) {
    QString dir = RuntimeDirectory();
    QString base = name;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") || dir == QLatin1String("/tmp"))
        base += QStringLiteral("-%1").arg(::getuid());
    lockPath_ = dir + u'/' + base + QStringLiteral(".lock");
    socketPath_ = dir + u'/' + base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
    if (lockFd_ >= 0) ::close(lockFd_);
}

QString SingleInstance::RuntimeDirectory() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir)) return QStringLiteral("/tmp");
    dir = QDir::cleanPath(dir);
    return dir;
}

bool SingleInstance::Acquire() {
    if (first_) return true;
    QByteArray path = QFile::encodeName(lockPath_);
    lockFd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        first_ = true;  // no lock possible: run on our own, without hand-over
        return true;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd_);
        lockFd_ = -1;
        return false;
    }
    first_ = true;
    listen();
    return true;
}

bool SingleInstance::IsListening() const { return server_ && server_->isListening(); }

void SingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file that is there was left by an
    // instance that ended without removing it.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_)) return;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        if (socket->bytesAvailable() > 0) readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket) {
    QByteArray buffer = socket->property("kvBuffer").toByteArray() + socket->readAll();
    if (socket->property("kvAcknowledged").toBool()) {
        // The sender's word that it took the answer: only now are the
        // arguments ours to open. A sender that gave up before it saw the
        // answer never sends it, and its arguments are dropped.
        if (buffer.isEmpty()) return;
        const bool go = buffer.at(0) == kGo;
        const QStringList arguments = socket->property("kvArguments").toStringList();
        socket->setProperty("kvBuffer", QByteArray());
        socket->setProperty("kvAcknowledged", false);
        socket->disconnectFromServer();
        if (!go) return;
        // Handled from the event loop, away from the socket's own signal.
        QPointer<SingleInstance> self(this);
        QMetaObject::invokeMethod(
            this,
            [self, arguments] {
                if (self && self->receiver_) self->receiver_(arguments);
            },
            Qt::QueuedConnection);
        return;
    }
    QStringList arguments;
    int state = decode(buffer, &arguments);
    if (state < 0) {
        socket->setProperty("kvBuffer", buffer);
        return;
    }
    if (state == 0) {
        socket->setProperty("kvBuffer", QByteArray());
        socket->abort();
        return;
    }
    const qsizetype used = 4 + qsizetype(qFromBigEndian<quint32>(buffer.constData()));
    socket->setProperty("kvBuffer", buffer.mid(used));
    socket->setProperty("kvArguments", arguments);
    socket->setProperty("kvAcknowledged", true);
    socket->write(&kAck, 1);
    socket->flush();
    if (buffer.size() > used) readFrom(socket);
}

bool SingleInstance::HandOver(const QStringList& arguments, int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) break;
        socket.abort();
        if (deadline.hasExpired()) return false;
        QThread::msleep(kRetryMs);
    }
    socket.write(encode(arguments));
    while (socket.bytesToWrite() > 0)
        if (deadline.hasExpired() || !socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    while (socket.bytesAvailable() < 1)
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    char answer = 0;
    if (socket.read(&answer, 1) != 1 || answer != kAck) return false;
    // The answer came in time: tell the first instance to go ahead. The one
    // byte goes out at once on a local socket; a byte that cannot be sent is
    // dropped with the socket, and the files with it.
    socket.write(&kGo, 1);
    socket.flush();
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(kGoWriteMs)) return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::SetReceiver(std::function<void(const QStringList&)> receiver) {
    receiver_ = std::move(receiver);
}
