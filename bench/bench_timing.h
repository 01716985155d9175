// Timing for the comparison programs: the best of a few runs, and
// ImageMagick's convert run as the peer.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace benchtiming {

// The shortest of `runs` runs of `run` in seconds, `before` run untimed
// ahead of each; -1 when a run fails.
inline double BestOf(int runs, const std::function<void()>& before, const std::function<bool()>& run) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        if (before) before();
        QElapsedTimer t;
        t.start();
        if (!run()) return -1;
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

inline double BestOf(int runs, const std::function<bool()>& run) { return BestOf(runs, {}, run); }

// Runs convert with these arguments; true when it ended normally with 0.
inline bool RunConvert(const QString& convert, const QStringList& args) {
    QProcess p;
    p.start(convert, args);
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace benchtiming
