// What the palette windows (colour palette bar, tool palette) ask of the
// window that owns them, the main frame: the active document, the command
// locks and routing, the work-memory probe, the tool settings, the status
// line and font, and the windows that follow a palette edit. A palette
// finds its host in its owner; with an owner that is no host the palette
// works alone: nothing is locked, the probe passes, and the announcements go
// nowhere.
#pragma once

#include "framework/command_action.h"
#include "framework/command_ids.h"
#include "tools/tool_options.h"

class CColorPaletteBar;
class CPelmarkDoc;
struct RgbaEntry;
class QFont;
class QString;
class QWidget;

namespace framework {
class View;
}

class PaletteHost {
public:
    // The host behind a palette's owner window, or null.
    static PaletteHost* Of(QWidget* owner);

    // The active child's document, or null.
    virtual CPelmarkDoc* ActiveDocument() const = 0;
    // True while the colour palette bar's commands are locked.
    virtual bool PaletteBarLocked() const = 0;
    // Sends a command through the main window, as its menus do.
    virtual void SendFrameCommand(framework::CommandId id) = 0;
    // The work-memory probe: 0 when the memory is short (the user was told).
    virtual int ProbeWorkMemory(int mode) = 0;
    // The tool settings the palettes show and edit.
    virtual ToolOptions& ToolSettings() = 0;
    // The font of the palettes' texts (the status bar's).
    virtual const QFont& PaletteFont() const = 0;
    // A text on the message pane of the status bar.
    virtual void ShowStatusMessage(const QString& text) = 0;
    // The main window takes input or not (around a modal colour dialog).
    virtual void EnableMainWindow(bool enabled) = 0;
    // The colour editor on one palette colour, modal to the whole program:
    // true with OK (the entry then holds the new colour), false when the
    // user cancelled or no editor is there (the entry is left as it was).
    // Every palette that edits a colour asks here.
    virtual bool EditPaletteColor(RgbaEntry& entry);
    // The change-layer dialog on the document's edit layer: true with OK
    // (its name and draw mode are then written), false when the user
    // cancelled or no dialog is there.
    virtual bool ChangeEditLayer(CPelmarkDoc* doc);

    // The colour palette bar and the selection-mode palette, or null.
    virtual CColorPaletteBar* ColorBar() const = 0;
    virtual QWidget* SelectModeWindow() const = 0;
    // The selection-mode palette moves to 12 pixels right of and below
    // (x, y) / is shown or hidden with the current mode's button pressed
    // (nothing without a frame).
    virtual void SetRangeBarState(int /*x*/, int /*y*/) {}
    virtual void ShowRangeBar(bool /*show*/) {}
    // The tool palette repaints its window / its current tool and settings.
    virtual void RepaintToolPalette() = 0;
    virtual void RefreshToolPalette() = 0;

    // The gradient dialog shown for the document, the main window disabled
    // while it is open (nothing without a frame).
    virtual void ShowGradientDialog(CPelmarkDoc*) {}
    // The active view scrolls to (x, y) client pixels, and the windows that
    // follow its position with it.
    virtual void ScrollActiveView(int /*x*/, int /*y*/) {}
    // The position palette's values are kept in the document.
    virtual void StorePositionState(CPelmarkDoc*) {}

    // The active view removes the palette entries no layer uses.
    virtual void DeleteUnusedColors() = 0;
    // The colour palette bar reloads the palette.
    virtual void PaletteChanged() = 0;
    // The layer palette takes the document and the composite is rebuilt.
    virtual void LayersChanged(CPelmarkDoc* doc) = 0;
    // The plug-in windows hear that the active image changed.
    virtual void ImageDrawn() = 0;

    // The guide palette changed the guide: the active view repaints and the
    // position palette follows.
    virtual void GuideEdited() {}
    // A palette window's close box hid it: it stays hidden until asked for.
    virtual void PaletteClosed(QWidget*) {}

    // The layer palette's buttons and list are disabled while the layer
    // commands are locked; choosing a layer releases every command lock.
    virtual bool LayerCommandsLocked() const = 0;
    virtual void ReleaseCommandLocks() = 0;
    // The view the user works in (disabled while no layer is visible), or null.
    virtual framework::View* ActiveView() const = 0;
    // A palette's menu of main-window commands posts them to the main
    // window and takes its items' states from its routing, as its menu bar.
    virtual framework::CommandHooks FrameCommandHooks() = 0;

protected:
    ~PaletteHost() = default;
};
