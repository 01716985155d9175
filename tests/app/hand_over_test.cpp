// Single instance inside one process: the lock, the socket names and the
// first instance's side of a hand-over (the sender runs on a thread, as a
// second process would).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include "app/single_instance.h"
#include "app_fixture.h"

#include <unistd.h>

namespace apptest {
namespace {

// Runs the event loop until `done` holds or two seconds pass.
template <class F>
bool ProcessUntil(F done) {
    QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}

TEST(SingleInstanceNames, RuntimeDirectoryOrTmpWithUserId) {
    QTemporaryDir dir;
    {
        ScopedEnv env("XDG_RUNTIME_DIR", dir.path().toUtf8());
        SingleInstance instance("kavolt");
        EXPECT_EQ(instance.LockPath(), dir.path() + "/kavolt.lock");
        EXPECT_EQ(instance.SocketPath(), dir.path() + "/kavolt.socket");
    }
    for (const char* value : {"", "relative/dir"}) {
        ScopedEnv env("XDG_RUNTIME_DIR", value);
        SingleInstance instance("kavolt");
        QString uid = QString::number(::getuid());
        EXPECT_EQ(instance.LockPath(), "/tmp/kavolt-" + uid + ".lock");
        EXPECT_EQ(instance.SocketPath(), "/tmp/kavolt-" + uid + ".socket");
    }
}

TEST(SingleInstanceLock, OneHolderAtATimeAndAStaleSocketIsReplaced) {
    QTemporaryDir dir;
    ScopedEnv env("XDG_RUNTIME_DIR", dir.path().toUtf8());
    {
        SingleInstance probe("kvtest");
        // A socket file left by an instance that was killed.
        QFile stale(probe.SocketPath());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    auto first = std::make_unique<SingleInstance>("kvtest");
    ASSERT_TRUE(first->Acquire());
    EXPECT_TRUE(first->IsListening());
    SingleInstance second("kvtest");
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.IsFirst());
    first.reset();  // the lock goes with it
    SingleInstance third("kvtest");
    EXPECT_TRUE(third.Acquire());
    EXPECT_TRUE(third.IsListening());
}

TEST_F(AppTest, HandedOverFilesAreOpenedOneByOne) {
    ASSERT_TRUE(Start({"-e"}));
    app->GetMainFrame()->showMinimized();
    QString a = filesDir.filePath("a b.gif"), b = filesDir.filePath("c\nd.gif");
    QString longName = filesDir.filePath(QString(600, u'x') + ".gif");
    SingleInstance sender(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    ASSERT_EQ(sender.SocketPath(), app->GetSingleInstance()->SocketPath());

    bool delivered = false;
    std::thread client([&] { delivered = sender.HandOver({a, b, longName}); });
    bool arrived = ProcessUntil([&] { return app->opened.size() == 3; });
    client.join();
    EXPECT_TRUE(delivered);
    ASSERT_TRUE(arrived);
    EXPECT_EQ(app->opened, (std::vector<QString>{a, b, longName}));
    EXPECT_FALSE(app->GetMainFrame()->isMinimized());

    // No files: only to the front.
    app->opened.clear();
    app->GetMainFrame()->showMinimized();
    std::thread empty([&] { delivered = sender.HandOver({}); });
    bool restored = ProcessUntil([&] { return !app->GetMainFrame()->isMinimized(); });
    empty.join();
    EXPECT_TRUE(delivered);
    EXPECT_TRUE(restored);
    EXPECT_TRUE(app->opened.empty());
}

TEST_F(AppTest, BadMessagesAreDropped) {
    ASSERT_TRUE(Start({"-e"}));
    QString path = app->GetSingleInstance()->SocketPath();
    const QByteArray messages[] = {
        QByteArray("\xff\xff\xff\xff", 4),            // far too long
        QByteArray("\x00\x00\x00\x03xyz", 7),         // not a string list
    };
    for (const QByteArray& message : messages) {
        std::atomic<bool> finished{false};
        bool dropped = false;
        std::thread client([&] {
            QLocalSocket socket;
            socket.connectToServer(path);
            if (socket.waitForConnected(1000)) {
                socket.write(message);
                socket.waitForBytesWritten(1000);
                // The first instance hangs up without an answer.
                dropped = (socket.state() == QLocalSocket::UnconnectedState ||
                           socket.waitForDisconnected(1500)) &&
                          socket.bytesAvailable() == 0;
            }
            finished = true;
        });
        ProcessUntil([&] { return finished.load(); });
        client.join();
        EXPECT_TRUE(dropped);
    }
    EXPECT_TRUE(app->opened.empty());
}

}  // namespace
}  // namespace apptest
