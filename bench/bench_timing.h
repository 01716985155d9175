// Timing for the comparison programs: CPU time beside wall time (the
// machines they run on are shared), the best of a few runs, and ImageMagick's
// own convert program run as the peer.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace benchtiming {

// Seconds; negative when the run failed.
struct Times {
    double wall = -1;
    double cpu = -1;
    bool ok() const { return wall >= 0; }
};

inline double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// One run of `run` in this process.
inline Times Measure(const std::function<bool()>& run) {
    QElapsedTimer wall;
    const double cpu = ProcessCpuSeconds();
    wall.start();
    if (!run()) return {};
    return {wall.nsecsElapsed() / 1e9, ProcessCpuSeconds() - cpu};
}

// The shortest wall and the shortest CPU time of `runs` runs, `before` run
// untimed ahead of each; failed when a run fails.
inline Times BestTimes(int runs, const std::function<void()>& before, const std::function<Times()>& run) {
    Times best{1e9, 1e9};
    for (int i = 0; i < runs; ++i) {
        if (before) before();
        Times t = run();
        if (!t.ok()) return {};
        best.wall = std::min(best.wall, t.wall);
        best.cpu = std::min(best.cpu, t.cpu);
    }
    return best;
}

// The same for a run in this process.
inline Times BestOfTimes(int runs, const std::function<void()>& before, const std::function<bool()>& run) {
    return BestTimes(runs, before, [&] { return Measure(run); });
}
inline Times BestOfTimes(int runs, const std::function<bool()>& run) { return BestOfTimes(runs, {}, run); }

// The shortest wall time of `runs` runs of `run` in seconds, `before` run
// untimed ahead of each; -1 when a run fails.
inline double BestOf(int runs, const std::function<void()>& before, const std::function<bool()>& run) {
    return BestOfTimes(runs, before, run).wall;
}

inline double BestOf(int runs, const std::function<bool()>& run) { return BestOf(runs, {}, run); }

// Runs a program with these arguments, its output thrown away: its wall
// time and the CPU time it used (user and system); failed unless it ended
// normally with 0.
inline Times RunProgram(const QString& program, const QStringList& args) {
    std::vector<std::string> words{program.toStdString()};
    for (const QString& a : args) words.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer wall;
    wall.start();
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) return {};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return {};
    const double seconds = wall.nsecsElapsed() / 1e9;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
    auto secondsOf = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds, secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime)};
}

// ImageMagick's own convert program, not whatever "convert" comes first on
// the path (a wrapper or another program); empty when it is not installed.
inline QString ImageMagickConvert() {
    for (const char* path : {"/usr/bin/convert-im6.q16", "/usr/bin/convert-im6.q16hdri", "/usr/bin/magick"})
        if (QFileInfo(QString::fromLatin1(path)).isExecutable()) return QString::fromLatin1(path);
    return {};
}

// What `a` takes beyond `b` (a peer's work beyond its file work); failed
// when either failed.
inline Times Beyond(const Times& a, const Times& b) {
    if (!a.ok() || !b.ok()) return {};
    return {a.wall - b.wall, a.cpu - b.cpu};
}

// The shortest wall and the shortest CPU time of `runs` runs of a program.
inline Times BestRun(int runs, const QString& program, const QStringList& args) {
    return BestTimes(runs, {}, [&] { return RunProgram(program, args); });
}

// Runs convert with these arguments; true when it ended normally with 0.
inline bool RunConvert(const QString& convert, const QStringList& args) {
    return RunProgram(convert, args).ok();
}

// "0.123 s (CPU 0.100 s)", in milliseconds "123.40 ms (CPU 100.00 ms)", or
// "failed".
inline QString Cell(const Times& t, bool milliseconds = false) {
    if (!t.ok()) return QStringLiteral("failed");
    const double scale = milliseconds ? 1000 : 1;
    const QString unit = milliseconds ? QStringLiteral("ms") : QStringLiteral("s");
    return QStringLiteral("%1 %3 (CPU %2 %3)")
        .arg(t.wall * scale, 0, 'f', milliseconds ? 2 : 3)
        .arg(t.cpu * scale, 0, 'f', milliseconds ? 2 : 3)
        .arg(unit);
}

}  // namespace benchtiming
