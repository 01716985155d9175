// The four grid presets (main and sub grid: cell size, line colour and
// snapping) and the grid display flags, as the settings file keeps them:
//
//   [Settings]  Kankyou_Grid=1  Main_Grid_Disp=0  Sub_Grid_Disp=0
//   [Grid]      MainSnap0..3 and SubSnap0..3 = width,height,red,green,blue,snap
//
// A preset value is taken only when its key gives all six numbers; otherwise
// that grid keeps its start values (8 x 8, grey 128, snapping off). Cell
// sizes below 1 are read as 1: they divide wherever the grid is used.
#pragma once

#include <array>
#include <optional>

#include <QString>

namespace grid {

inline constexpr int kPresetCount = 4;

struct GridPreset {
    int mainWidth = 8;
    int mainHeight = 8;
    std::array<int, 3> mainColor{128, 128, 128};
    int subWidth = 8;
    int subHeight = 8;
    std::array<int, 3> subColor{128, 128, 128};
    // Bit 0 snaps to the main grid, bit 1 to the sub grid.
    int enabled = 0;
};

struct GridSettings {
    std::array<GridPreset, kPresetCount> presets{};
    int current = 1;
    // Bit 0 main grid shown, bit 1 sub grid shown.
    int displayFlags = 0;

    const GridPreset& Current() const { return presets[size_t(current)]; }
};

// The six numbers of a preset value, or nothing unless exactly six parse.
std::optional<std::array<int, 6>> ParseGridPresetValue(const QString& text);

// The program's grid settings (start values until loaded).
GridSettings& GetGridSettings();
// Reads the grid keys from the application's settings file. A current preset
// outside 0..3 is taken as the nearest of them.
void LoadGridSettings();
// Reads them when nothing has read them yet.
void EnsureGridSettingsLoaded();
// The display flags become `flags` and are written (Main_Grid_Disp,
// Sub_Grid_Disp).
void StoreGridDisplayFlags(int flags);
// Bit `bit` of the current preset's snapping flags is flipped and the
// preset's two keys are written; returns the new flags.
int ToggleCurrentSnap(int bit);
// The current preset becomes `preset` (0..3) and Kankyou_Grid is written.
void StoreCurrentPreset(int preset);

}  // namespace grid
