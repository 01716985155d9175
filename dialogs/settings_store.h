// The settings dialog's values outside the dialog: the general preferences
// (framework/program_globals.h) and the grid presets (view/grid_presets.h)
// read from the settings file, and the preset menu rebuilt from them.
#pragma once

// Reads both from the settings file and rebuilds the preset menu.
void LoadSettings();
// Removes the four preset menu items and adds them again from the presets.
void RefreshGridPresetMenu();
