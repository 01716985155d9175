#include "x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <QWindow>

extern char** environ;

namespace kvtest {

namespace {

XSession* runSession = nullptr;

pid_t spawn(const std::string& path, const std::vector<std::string>& arguments,
            posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), actions, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

void stopProcess(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

std::string find(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name)).toStdString();
}

}  // namespace

XSession& RunXSession() {
    if (!runSession) std::abort();  // only the X test main makes one
    return *runSession;
}

XSession::~XSession() {
    Stop();
    if (runSession == this) runSession = nullptr;
}

bool XSession::Start() {
    runSession = this;
    const std::string xvfb = find("Xvfb"), openbox = find("openbox");
    if (xvfb.empty() || openbox.empty()) {
        why_ = "Xvfb or openbox is not installed (packages xvfb, openbox)";
        return false;
    }
    if (find("xdotool").empty() || find("xprop").empty() || find("xwininfo").empty()) {
        why_ = "xdotool, xprop or xwininfo is not installed (packages xdotool, x11-utils)";
        return false;
    }
    // Xvfb picks a free display and writes its number to descriptor 3.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        why_ = "no pipe for Xvfb";
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    xvfb_ = spawn(xvfb, {"-displayfd", "3", "-screen", "0", "1600x1200x24", "-nolisten", "tcp"},
                  &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string display;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (xvfb_ > 0 && poll(&wait, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        display += c;
    close(fds[0]);
    if (display.empty()) {
        why_ = "Xvfb did not start";
        Stop();
        return false;
    }
    setenv("DISPLAY", (":" + display).c_str(), 1);
    openbox_ = spawn(openbox, {"--sm-disable"}, nullptr);
    if (openbox_ <= 0) {
        why_ = "openbox did not start";
        Stop();
        return false;
    }
    ready_ = true;
    return true;
}

bool XSession::WaitForWindowManager() {
    if (!ready_) return false;
    const bool managed = WaitUntil(
        [] {
            return RunXTool(QStringLiteral("xprop"), {QStringLiteral("-root"),
                                                      QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id"));
        },
        10000);
    // openbox announces itself before it manages windows, and a window
    // mapped in between is left unmapped: a first window of our own is
    // shown (again) until it gets its frame.
    QWidget probe;
    probe.resize(50, 50);
    bool framed = false;
    for (int attempt = 0; managed && !framed && attempt < 20; ++attempt) {
        probe.show();
        framed = WaitUntil([&] { return probe.windowHandle()->frameMargins().top() > 0; }, 500);
        probe.hide();
    }
    if (!framed) {
        ready_ = false;
        why_ = "openbox did not take the screen in time";
    }
    return framed;
}

void XSession::Stop() {
    ready_ = false;
    stopProcess(openbox_);
    stopProcess(xvfb_);
}

namespace {

// The program's own event loop for `ms`: it waits for events as the running
// editor does, so the work done when the loop is about to wait (idle work)
// runs here too, which a bare processEvents() never lets happen.
void TurnEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        TurnEventLoop(10);
    }
    return true;
}

QString RunXTool(const QString& program, const QStringList& arguments, int ms) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(ms)) return {};
    const bool ended = WaitUntil(
        [&] { return process.state() == QProcess::NotRunning || process.waitForFinished(5); }, ms);
    if (!ended) {
        process.kill();  // by its PID
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
        return {};
    }
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return output.isNull() ? QStringLiteral("") : output;  // empty, not null: it ran
}

bool XKeys(const QString& keys) {
    QStringList arguments{QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                          QStringLiteral("--delay"), QStringLiteral("30")};
    arguments += keys.split(u' ', Qt::SkipEmptyParts);
    if (RunXTool(QStringLiteral("xdotool"), arguments).isNull()) return false;
    Settle();
    return true;
}

void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) TurnEventLoop(10);
}

std::vector<unsigned long> StackingOrder() {
    const QString text = RunXTool(QStringLiteral("xprop"),
                                  {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    std::vector<unsigned long> order;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch& match : id.globalMatch(text))
        order.push_back(match.captured().toULong(nullptr, 16));
    return order;
}

unsigned long ActiveXWindow() {
    return RunXTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed().toULong();
}

bool IsViewable(QWidget* widget) {
    if (!widget || !widget->windowHandle()) return false;
    return RunXTool(QStringLiteral("xwininfo"),
                    {QStringLiteral("-id"), QString::number(widget->winId())})
        .contains(QStringLiteral("IsViewable"));
}

}  // namespace kvtest
