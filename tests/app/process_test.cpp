// The editor as real processes: a second instance hands its file to the
// first and ends, and a killed instance does not block the next start.
// Each process runs offscreen and unattended (message boxes to a log).
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include <signal.h>
#include <sys/resource.h>

namespace {

const char* const kUnsupported = "\\n 是不支持的文件格式。";

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* sub : {"run", "config", "work"}) ASSERT_TRUE(QDir(dir.path()).mkdir(sub));
        QFile::setPermissions(dir.filePath("run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        for (auto& process : processes)
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(2000);
            }
    }

    // Starts the editor in the work directory with its own message log; its
    // standard error goes to ours unless the test reads it.
    // `fileSizeLimit`: the most bytes any file it writes may hold (0: none).
    QProcess* Launch(const QStringList& arguments, const QString& logName, bool readErrors = false,
                     rlim_t fileSizeLimit = 0) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("KAVOLT_MESSAGE_LOG", dir.filePath(logName));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(dir.filePath("work"));
        process->setProcessChannelMode(readErrors ? QProcess::SeparateChannels
                                                  : QProcess::ForwardedErrorChannel);
        if (fileSizeLimit)
            process->setChildProcessModifier([fileSizeLimit] {
                rlimit limit{fileSizeLimit, fileSizeLimit};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        process->start(KAVOLT_EXECUTABLE, arguments);
        EXPECT_TRUE(process->waitForStarted(5000));
        processes.push_back(std::move(process));
        return processes.back().get();
    }

    QString SocketPath() const { return dir.filePath("run/kavolt.socket"); }

    // Waits (at most 5 s) until the condition holds.
    template <class F>
    static bool WaitFor(F done) {
        QDeadlineTimer deadline(5000);
        while (!done()) {
            if (deadline.hasExpired()) return false;
            QThread::msleep(10);
        }
        return true;
    }

    QStringList Log(const QString& name) const {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    bool Logged(const QString& name, const QString& path) const {
        return Log(name).contains("Kavolt\t" + path.toUpper() + kUnsupported);
    }

    QString WorkFile(const QString& name) const {
        QString path = dir.filePath("work/" + name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("GIF89a");
        return path;
    }

    QTemporaryDir dir;
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(ProcessTest, SecondInstanceHandsItsFilesToTheFirst) {
    QProcess* first = Launch({"-e"}, "first.log");
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(SocketPath()); }));

    // Without files: the second one only brings the first to the front.
    QProcess* empty = Launch({}, "empty.log");
    ASSERT_TRUE(empty->waitForFinished(5000));
    EXPECT_EQ(empty->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(empty->exitCode(), 0);

    // Relative names are made absolute by the sender; each is one document
    // (of a type no shipped plug-in reads).
    QString a = WorkFile("a b.xyz"), b = WorkFile("c.xyz");
    QProcess* second = Launch({"a b.xyz", "c.xyz"}, "second.log");
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_TRUE(WaitFor([&] { return Logged("first.log", b); }));
    // Hand-overs are handled in order, so the empty one has opened nothing.
    EXPECT_EQ(Log("first.log"),
              QStringList({"Kavolt\t" + a.toUpper() + kUnsupported, "Kavolt\t" + b.toUpper() + kUnsupported}));
    EXPECT_TRUE(Log("second.log").isEmpty());
    EXPECT_TRUE(Log("empty.log").isEmpty());
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(ProcessTest, KilledInstanceDoesNotBlockTheNextStart) {
    QProcess* crashed = Launch({"-e"}, "crashed.log");
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(SocketPath()); }));
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(SocketPath()));  // left behind
    ASSERT_TRUE(QFileInfo::exists(dir.filePath("run/kavolt.lock")));

    QString path = WorkFile("next.xyz");
    QProcess* next = Launch({"next.xyz"}, "next.log");
    ASSERT_TRUE(WaitFor([&] { return Logged("next.log", path); }));
    EXPECT_EQ(next->state(), QProcess::Running);  // it is the first instance now
}

// Under a file size limit (ulimit -f) a write past it fails with an error
// the program handles; it does not end the program.
TEST_F(ProcessTest, AFileSizeLimitDoesNotEndTheProgram) {
    QProcess* first = Launch({"-e"}, "first.log", false, 64);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(SocketPath()); }));
    // Its message about this file is longer than the limit lets the log grow.
    QString name = QString(100, u'x') + ".xyz";
    WorkFile(name);
    QProcess* second = Launch({name}, "second.log");
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitCode(), 0);
    // The next hand-over is answered after that message was written.
    WorkFile("next.xyz");
    QProcess* third = Launch({"next.xyz"}, "third.log");
    ASSERT_TRUE(third->waitForFinished(5000));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(QFileInfo(dir.filePath("first.log")).size(), 64);  // the log was cut at the limit
}

TEST_F(ProcessTest, StoppedFirstInstanceIsReportedAndKeepsNoFiles) {
    QProcess* first = Launch({"-e"}, "first.log");
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(SocketPath()); }));
    ASSERT_EQ(::kill(pid_t(first->processId()), SIGSTOP), 0);

    QString lost = WorkFile("lost.xyz");
    QProcess* second = Launch({"lost.xyz"}, "second.log", true);
    ASSERT_TRUE(second->waitForFinished(5000));  // the wait is bounded
    ::kill(pid_t(first->processId()), SIGCONT);
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second->exitCode(), 0);
    const QStringList told = Log("second.log");
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(lost)) << told[0].toStdString();
    EXPECT_TRUE(QString::fromLocal8Bit(second->readAllStandardError()).contains(lost));

    // Resumed, the first instance does not open what the user was told is
    // not open: the next hand-over is the first it handles.
    QString next = WorkFile("next.xyz");
    QProcess* third = Launch({"next.xyz"}, "third.log");
    ASSERT_TRUE(third->waitForFinished(5000));
    EXPECT_EQ(third->exitCode(), 0);
    ASSERT_TRUE(WaitFor([&] { return Logged("first.log", next); }));
    EXPECT_EQ(Log("first.log"), QStringList({"Kavolt\t" + next.toUpper() + kUnsupported}));
}

}  // namespace
