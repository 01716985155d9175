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

namespace {
GeneralSettings g_general;
unsigned g_generalReadFor = 0;  // the settings generation it was read for

const QString kSettings = QStringLiteral("Settings");
const QString kAntiKey = QStringLiteral("AntiCheckBox");
const QString kMoveStepKey = QStringLiteral("PixcelCheckNum");
const QString kWindowSizeKey = QStringLiteral("WindowSizeCheckBox");
const QString kStartFileKey = QStringLiteral("StartFileCheckBox");
}  // namespace

void LoadGeneralSettings() {
    framework::Application* app = framework::Application::Instance();
    g_general = GeneralSettings{};
    g_generalReadFor = app ? framework::Application::SettingsGeneration() : 0;
    if (!app) return;
    g_general.antiAlias = app->GetProfileInt(kSettings, kAntiKey, 1);
    g_general.moveStep = app->GetProfileInt(kSettings, kMoveStepKey, 1);
    g_general.keepWindowSize = app->GetProfileInt(kSettings, kWindowSizeKey, 1);
    g_general.reopenFiles = app->GetProfileInt(kSettings, kStartFileKey, 1);
}

const GeneralSettings& GetGeneralSettings() {
    if (framework::Application::Instance() && g_generalReadFor != framework::Application::SettingsGeneration())
        LoadGeneralSettings();
    return g_general;
}

void SaveGeneralSettings(const GeneralSettings& settings) {
    g_general = settings;
    framework::Application* app = framework::Application::Instance();
    if (!app) return;
    g_generalReadFor = framework::Application::SettingsGeneration();
    app->WriteProfileInt(kSettings, kAntiKey, settings.antiAlias);
    app->WriteProfileInt(kSettings, kMoveStepKey, settings.moveStep);
    app->WriteProfileInt(kSettings, kWindowSizeKey, settings.keepWindowSize);
    app->WriteProfileInt(kSettings, kStartFileKey, settings.reopenFiles);
}

int GetAntiAliasSetting() { return GetGeneralSettings().antiAlias; }

int GetMoveStepSetting() { return std::max(GetGeneralSettings().moveStep, 1); }
