// What the tool and filter host needs from the rest of the editor: the
// windows it locks around a run, the command locks, the tool settings, the
// pattern, the anti-alias setting, the tone of the active view and the
// floating selection. Whoever owns one installs it; an empty colour palette
// bar, tool windows, tool option, tone or command lock means the plug-in
// frame's (plugin_host/plugin_frame.h), an empty pattern is the floating
// selection's, an empty floating-selection renewal lifts it again, every
// other one left empty does nothing (or answers 0).
//
// Also the window locks around a run (LockHostForFilter, EnablePluginWindows,
// EnableHostWindows).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/dib_layout.h"
#include "platform/memory.h"

class CPelmarkDoc;
class QWidget;

namespace plugin_host {

// The main frame's pattern as tool plug-ins get it.
struct ToolPattern {
    DibRect rect{};             // left, top, right - left, bottom - top go to the record
    MemHandle block = nullptr;
};

struct ToolHostServices {
    // The colour palette bar; it stays enabled whatever else is locked.
    std::function<QWidget*()> colorPaletteBar;
    // The seven tool windows: tool palette, main toolbar, link palette,
    // tone bar, layer palette, position palette, guide palette.
    std::function<std::vector<QWidget*>()> toolWindows;
    // The tool-windows-disabled flag of the command locks.
    std::function<void(bool)> setToolWindowsDisabled;
    // Clears every command lock.
    std::function<void()> clearCommandLocks;
    // The command locks of a running animation maker.
    std::function<void()> lockForAnimationPlugin;
    // A tool setting of the tool palette by index.
    std::function<int(int)> toolOption;
    // Empty: the pattern taken from a floating selection.
    std::function<ToolPattern()> pattern;
    // The anti-alias setting (0 or 1); empty: GetAntiAliasSetting() of
    // framework/program_globals.h.
    std::function<int()> antiAlias;
    // Tone pattern index of the active view, 0 (100%) .. 15; empty: the
    // plug-in frame's active canvas view's.
    std::function<int()> toneIndex;
    // Renews the document's floating selection from its selection
    // rectangle after a plug-in changed the layer under it (empty: lifted
    // again from the current layer).
    std::function<void(CPelmarkDoc&)> renewFloatingSelection;
    // Adds the grid preset items to the menu (done with the filter menu).
    std::function<void()> addGridPresetItems;
};

// The installed services; assign the members to install them.
ToolHostServices& Services();

// The main frame window enabled or disabled; the colour palette bar is
// enabled in both cases. When the bar lies inside the frame, the frame stays
// enabled and its other parts and owned windows are disabled instead (and
// exactly those enabled again).
void LockHostForFilter(bool enable);
// The seven tool windows enabled or disabled, the tool-windows-disabled lock
// set while they are disabled; the colour palette bar always enabled.
void EnablePluginWindows(bool enable);
// WM_PLUGIN_ENABLEHOST: group 0 the main frame, 1 the colour palette bar,
// 2 the tool windows as EnablePluginWindows; other groups do nothing.
void EnableHostWindows(int group, bool enable);
// True while LockHostForFilter holds the frame disabled.
bool IsHostFrameLocked();

}  // namespace plugin_host
