// Values the whole program reads, set at start-up and by every open.
#pragma once

#include <QString>
#include <QStringList>

// The directory of the executable, ending in '/'. Plug-ins, "index.html",
// "menu.txt" and "COLOR.DIC" are looked up here. Empty until start-up.
const QString& GetProgramDirectory();
void SetProgramDirectory(const QString& directory);

inline constexpr int kDefaultUndoDepth = 10;
inline constexpr int kMaxUndoDepth = 10;

// The undo depth from the UndoBuf setting: below 1 gives 1, above 10 gives 10.
int ClampUndoDepth(int undoBuf);

// How many undo steps a document keeps (1 to 10; 10 until start-up reads
// UndoBuf).
int GetUndoDepth();
void SetUndoDepth(int depth);

// The path of the document opened last (empty at start).
const QString& GetLastOpenedPath();
void SetLastOpenedPath(const QString& path);

// The paths chosen in one open prompt with several files selected, in the
// order of the selection; the prompt fills it and File Open opens them.
inline constexpr int kMaxOpenedPaths = 512;
const QStringList& GetOpenedPaths();
// Keeps at most kMaxOpenedPaths paths.
void SetOpenedPaths(const QStringList& paths);
void ClearOpenedPaths();

// The edit mode chosen last in the edit-mode dialog (0 "256 色模式",
// 1 "16 色模式"; 0 at start). The dialog writes it when it closes.
int GetLastEditModeChoice();
void SetLastEditModeChoice(int mode);

// The filter chosen last in the filter list: its index (-1: none) and the
// path of its entry (empty: none).
int GetSelectedFilterIndex();
const QString& GetSelectedFilterPath();
void SetSelectedFilter(int index, const QString& path);

// The general preferences of the settings dialog, as the "Settings" section
// keeps them (each 1 when its key is missing). Read once per application and
// settings file; the dialog's OK stores and writes them.
struct GeneralSettings {
    int antiAlias = 1;       // "AntiCheckBox"
    int moveStep = 1;        // "PixcelCheckNum", as typed
    int keepWindowSize = 1;  // "WindowSizeCheckBox"
    int reopenFiles = 1;     // "StartFileCheckBox"
    bool operator==(const GeneralSettings&) const = default;
};
const GeneralSettings& GetGeneralSettings();
// Reads the four keys.
void LoadGeneralSettings();
// Stores `settings` and writes the four keys.
void SaveGeneralSettings(const GeneralSettings& settings);

// The anti-aliasing setting (nonzero = on).
int GetAntiAliasSetting();
// The cursor-key step of the selection (a value below 1 counts as 1).
int GetMoveStepSetting();
