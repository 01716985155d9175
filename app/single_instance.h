// One running editor per user.
//
// The first instance takes a per-user lock file and listens on a local
// socket, both named after the executable and kept in $XDG_RUNTIME_DIR (in
// /tmp with the user id in the names when that is not set). A later
// instance finds the lock taken, connects to the socket, hands over its
// arguments and ends; the first instance acknowledges each hand-over and
// passes the arguments to its receiver from the event loop.
//
// The lock is an flock() lock, which the system drops when its process ends
// in any way, so a crashed instance never blocks the next start; the socket
// file it leaves behind is replaced by the next first instance.
//
// Message on the socket: a 4-byte big-endian length, then the argument list
// as a QDataStream-serialised QStringList. The answer is one byte 0x06; the
// sender that got it in time replies with one byte 0x04, and only then does
// the first instance open the arguments. A sender that gave up waiting
// (a stopped or hanging first instance) reports the failure, and its
// arguments are never opened later.
#pragma once

#include <functional>

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `name`: the executable's file name.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR when it is an absolute path, else "/tmp"; no final '/'.
    static QString RuntimeDirectory();
    // "<dir>/<name>.lock" and "<dir>/<name>.socket"; in /tmp the names are
    // "<name>-<uid>.lock" and "<name>-<uid>.socket".
    QString LockPath() const { return lockPath_; }
    QString SocketPath() const { return socketPath_; }

    // Takes the lock. True: this is the first instance (also when the lock
    // file cannot be made at all: the program then runs on its own) and the
    // socket listens when it could be set up. False: another instance runs.
    bool Acquire();
    bool IsFirst() const { return first_; }
    bool IsListening() const;

    // A later instance: connects to the first one (retrying while it is still
    // starting) and hands over the arguments. True when the first instance
    // acknowledged them within the time; false, and the arguments dropped,
    // otherwise.
    bool HandOver(const QStringList& arguments, int timeoutMs = 3000) const;

    // Called from the event loop with each argument list handed over.
    void SetReceiver(std::function<void(const QStringList&)> receiver);

    // Largest message accepted (bytes after the length).
    static constexpr quint32 kMaxMessageBytes = 16u << 20;

private:
    void listen();
    void acceptConnections();
    void readFrom(QLocalSocket* socket);

    QString lockPath_;
    QString socketPath_;
    int lockFd_ = -1;
    bool first_ = false;
    QLocalServer* server_ = nullptr;
    std::function<void(const QStringList&)> receiver_;
};
