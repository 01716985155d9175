// The four grid presets (main and sub grid: cell size, line colour and
// snapping) and the grid display flags, as the settings file keeps them:
//
//   [Settings]  Kankyou_Grid=1  Main_Grid_Disp=0  Sub_Grid_Disp=0
//   [Grid]      MainSnap0..3 and SubSnap0..3 = width,height,red,green,blue,snap
//
// A preset value is taken only when its key gives all six numbers; otherwise
// that grid keeps its start values (8 x 8, grey 128, snapping off). Whatever
// is read or typed is brought into range: cells 1..4096 (they divide and
// multiply by the zoom wherever the grid is used), colour components 0..255,
// the current preset 0..3.
#pragma once

#include <array>
#include <optional>

#include <QString>

namespace grid {

inline constexpr int kPresetCount = 4;
inline constexpr int kMaxGridCell = 4096;  // the largest image side

int ClampGridCell(int size);
int ClampGridComponent(int value);
int ClampPresetIndex(int index);

struct GridPreset {
    int mainWidth = 8;
    int mainHeight = 8;
    std::array<int, 3> mainColor{128, 128, 128};
    int subWidth = 8;
    int subHeight = 8;
    std::array<int, 3> subColor{128, 128, 128};
    // Bit 0 snaps to the main grid, bit 1 to the sub grid.
    int enabled = 0;

    bool operator==(const GridPreset&) const = default;
};

using GridPresets = std::array<GridPreset, kPresetCount>;

struct GridSettings {
    GridPresets presets{};
    int current = 1;
    // Bit 0 main grid shown, bit 1 sub grid shown.
    int displayFlags = 0;

    const GridPreset& Current() const { return presets[size_t(current)]; }
};

// The six numbers of a preset value, or nothing unless exactly six parse.
std::optional<std::array<int, 6>> ParseGridPresetValue(const QString& text);
// The six numbers of one grid of a preset (sub: the sub grid), in range.
std::array<int, 6> GridPresetValues(const GridPreset& preset, bool sub);
// The text of the preset menu item `index` (0..3): "1.  8,8  8,8".
QString GridPresetMenuText(int index);

// The program's grid settings (start values until loaded).
GridSettings& GetGridSettings();
// Reads the grid keys from the application's settings file.
void LoadGridSettings();
// Reads them when nothing has read them yet for this application.
void EnsureGridSettingsLoaded();
// Reads MainSnap<index> (or SubSnap<index>) into that grid of the preset;
// false (the grid untouched) unless the key holds six numbers.
bool ReadGridPreset(bool sub, int index);
// Writes MainSnap<index> (or SubSnap<index>) as "%d,%d,%d,%d,%d,%d".
void WriteGridPreset(bool sub, int index, const std::array<int, 6>& values);
// Writes all eight preset values.
void SaveGridPresets();
// The presets and the current one become `presets` and `current` and are
// written with Kankyou_Grid (the settings dialog's OK).
void CommitGridPresets(const GridPresets& presets, int current);
// Writes Main_Grid_Disp and Sub_Grid_Disp from the display flags.
void SaveGridDisplayFlags();
// The display flags become `flags` and are written.
void SetGridDisplayFlags(int flags);
// Bit `bit` of the current preset's snapping flags is flipped and the
// preset's two values are written; returns the new flags.
int ToggleCurrentSnap(int bit);
// The current preset becomes `preset` (0..3) and Kankyou_Grid is written.
void StoreCurrentPreset(int preset);

// The current preset's values.
int GetMainGridWidth();
int GetMainGridHeight();
int GetSubGridWidth();
int GetSubGridHeight();
int GetGridDisplayFlags();
int GetGridEnableFlags();
// Component 0 red, 1 green, 2 blue; any other number is returned as it came.
int GetMainGridColor(int component);
int GetSubGridColor(int component);

}  // namespace grid
