#include "framework/program_globals.h"

#include <algorithm>

#include "framework/application.h"

namespace {

QString g_programDirectory;
int g_undoDepth = kDefaultUndoDepth;
QString g_lastOpenedPath;
QStringList g_openedPaths;
int g_lastEditModeChoice = 0;
int g_selectedFilterIndex = -1;
QString g_selectedFilterPath;

}  // namespace

int ClampUndoDepth(int undoBuf) {
    if (undoBuf < 1) return 1;
    if (undoBuf > kMaxUndoDepth) return kMaxUndoDepth;
    return undoBuf;
}

const QString& GetProgramDirectory() { return g_programDirectory; }
void SetProgramDirectory(const QString& directory) { g_programDirectory = directory; }

int GetUndoDepth() { return g_undoDepth; }
void SetUndoDepth(int depth) { g_undoDepth = ClampUndoDepth(depth); }

const QString& GetLastOpenedPath() { return g_lastOpenedPath; }
void SetLastOpenedPath(const QString& path) { g_lastOpenedPath = path; }

int GetLastEditModeChoice() { return g_lastEditModeChoice; }
void SetLastEditModeChoice(int mode) { g_lastEditModeChoice = mode; }

int GetSelectedFilterIndex() { return g_selectedFilterIndex; }
const QString& GetSelectedFilterPath() { return g_selectedFilterPath; }
void SetSelectedFilter(int index, const QString& path) {
    g_selectedFilterIndex = index;
    g_selectedFilterPath = path;
}

const QStringList& GetOpenedPaths() { return g_openedPaths; }
void SetOpenedPaths(const QStringList& paths) { g_openedPaths = paths.mid(0, kMaxOpenedPaths); }
void ClearOpenedPaths() { g_openedPaths.clear(); }

int GetAntiAliasSetting() {
    framework::Application* app = framework::Application::Instance();
    return app ? app->GetProfileInt(QStringLiteral("Settings"), QStringLiteral("AntiCheckBox"), 1) : 1;
}

int GetMoveStepSetting() {
    framework::Application* app = framework::Application::Instance();
    const int step = app ? app->GetProfileInt(QStringLiteral("Settings"), QStringLiteral("PixcelCheckNum"), 1) : 1;
    return std::max(step, 1);
}
