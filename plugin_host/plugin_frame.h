// What the plug-in host needs from the window around the documents: the
// parent window of plug-in dialogs, the work-memory probe, the command locks
// a run sets and clears, the tool settings and tone of the active canvas,
// the palettes that follow a document and the tool windows a run disables.
//
// The main frame implements it and installs itself while it exists. With
// none installed, Get() answers as a program without a main frame would: no
// parent window, memory always there, no command locked, tool setting and
// tone 0, no palette windows, and every notification does nothing.
#pragma once

#include <vector>

#include "framework/command_ids.h"
#include "platform/window.h"

class CPelmarkDoc;
class QWidget;

namespace plugin_host {

class PluginFrame {
public:
    virtual ~PluginFrame() = default;

    // The frame installed last and not yet uninstalled; else the one without
    // a frame described above.
    static PluginFrame& Get();
    // True while a frame is installed.
    static bool IsInstalled();
    // A frame installs itself when it is made and uninstalls itself when it
    // goes; uninstalling one that is not the latest leaves the latest.
    static void Install(PluginFrame* frame);
    static void Uninstall(PluginFrame* frame);

    // The window plug-ins get as the parent of their dialogs.
    virtual WinHandle PluginParentWindow() = 0;
    // The work-memory probe (mode as the frame's): 1 when there is enough,
    // 0 after the frame told the user that memory is short.
    virtual int ProbeWorkMemory(int mode) = 0;
    // True while the command's lock is set.
    virtual bool CommandLocked(framework::CommandId id) = 0;
    // Every command lock cleared after a run.
    virtual void ClearCommandLocks() = 0;
    // The locks held while the animation maker runs.
    virtual void LockForAnimationMaker() = 0;
    // The flag that disables the palette commands and recent files while the
    // tool windows are disabled.
    virtual void SetToolWindowsDisabled(bool disabled) = 0;
    // While the animation maker or the hex tool runs its own loop, the
    // canvas view's keys go to the frame's shortcut translation.
    virtual void SetPluginLoopRunning(bool running) = 0;
    // A tool setting of the tool palette by index (0 for unknown ones).
    virtual int ToolSetting(int index) = 0;
    // The tone pattern of the active canvas view, 0 (solid) .. 15.
    virtual int ActiveViewTone() = 0;
    // The colour palette bar, which stays enabled whatever else is locked.
    virtual QWidget* ColorPaletteWindow() = 0;
    // The seven tool windows: tool palette, main toolbar, link palette, tone
    // bar, layer palette, position palette, guide palette (null for those
    // not made).
    virtual std::vector<QWidget*> ToolWindows() = 0;
    // The document's colours changed: the colour palette bar redraws them.
    virtual void PaletteColorsChanged() = 0;
    // The layer palette takes the document, rebuilds its list and the
    // document recomposes its image from the layers.
    virtual void RebuildLayerPalette(CPelmarkDoc* doc) = 0;
    // The same without recomposition.
    virtual void ShowLayersOf(CPelmarkDoc* doc) = 0;
    // The position palette shows the document.
    virtual void ShowPositionOf(CPelmarkDoc* doc) = 0;
};

}  // namespace plugin_host
