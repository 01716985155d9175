#include "framework/program_recent_list.h"

#include "framework/application.h"

namespace {

const QString kSection = QStringLiteral("cRecent File List");

QString keyOf(int n) { return QStringLiteral("File%1").arg(n); }

framework::Application* app() { return framework::Application::Instance(); }

void write(int n, const QString& path) {
    if (app()) app()->WriteProfileString(kSection, keyOf(n), path);
}

}  // namespace

QString ProgramRecentFile(int n) {
    if (!app() || n < 1 || n > kProgramRecentFiles) return {};
    return app()->GetProfileString(kSection, keyOf(n));
}

void AddProgramRecentFile(const QString& path) {
    if (!app() || path.isEmpty()) return;
    for (int n = 1; n <= kProgramRecentFiles; ++n) {
        QString held = ProgramRecentFile(n);
        if (held.isEmpty()) {
            write(n, path);
            return;
        }
        if (held == path) {
            for (int k = n; k > 1; --k) write(k, ProgramRecentFile(k - 1));
            if (n > 1) write(1, path);
            return;
        }
    }
    for (int k = kProgramRecentFiles; k > 1; --k) write(k, ProgramRecentFile(k - 1));
    write(1, path);
}

QString ProgramRecentMenuText(int n) {
    QString path = ProgramRecentFile(n);
    if (path.isEmpty()) return QStringLiteral("%1.").arg(n);
    QString shown = path;
    shown.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("%1. %2").arg(n).arg(shown);
}
