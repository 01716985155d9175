// What the canvas view asks of the program's main window: the command locks
// and routing, the work-memory probe and the tool settings, and the bars and
// palettes that follow the view (tool, edit, guide, animation and tone
// buttons; layer, position and colour palettes; the plug-in windows). The
// main frame implements it and installs itself while it exists; without an
// installed host the view works alone: nothing is locked, the probe passes,
// the settings are 0 (the rulers off) and the announcements go nowhere.
#pragma once

#include <array>
#include <cstdint>

#include <QFont>
#include <Qt>

#include "framework/command_ids.h"
#include "platform/window.h"

class CPelmarkDoc;
class CPelmarkView;
class QWidget;

namespace framework {
class View;
}

namespace view {

class ViewHost {
public:
    // The host the views talk to, or null.
    static ViewHost* Installed();
    static void Install(ViewHost* host);
    // Clears the installed host when it is `host` (a later one stays).
    static void Uninstall(ViewHost* host);

    // True while any command lock is set / while the zoom is locked.
    virtual bool CommandsLocked() const = 0;
    virtual bool ZoomLocked() const = 0;
    // The view the program's commands reach now, or null.
    virtual framework::View* ActiveView() const = 0;
    // Sends a command through the main window, as its menus do.
    virtual void SendFrameCommand(framework::CommandId id) = 0;
    // The window the view's pop-up menus belong to.
    virtual QWidget* MenuOwner() = 0;
    // The window told of the pointer's image position (WM_TOOLRECT_STATUS).
    virtual WinHandle FrameWindow() = 0;
    // The work-memory probe: 0 when the memory is short (the user was told).
    virtual int ProbeWorkMemory(int mode) = 0;
    // The tool setting of an index.
    virtual int ToolOption(int index) = 0;

    // A view made ready or activated: undo, redo and the edit buttons follow
    // the active document; the tool palette presses a tool index; the zoom
    // buttons follow this view.
    virtual void EditStateChanged() = 0;
    virtual void ShowCurrentTool(int toolIndex) = 0;
    virtual void FollowZoomOf(CPelmarkView* view) = 0;
    // No canvas is active any more: back to the hand tool without a selection.
    virtual void ResetTool() = 0;
    // The colour, layer, position and guide palettes: hidden while no canvas
    // is active; shown again (those the user wants) and refreshed for the
    // activated document.
    virtual void HideDocumentWindows() = 0;
    virtual void ShowDocumentWindows() = 0;
    // Button states of the activated view's guide and animation.
    virtual void ShowGuideState(bool shown, bool editing) = 0;
    virtual void ShowAnimationState(bool editorOpen, bool previewShown) = 0;
    // The tone button of a tone command.
    virtual void ShowTone(framework::CommandId tone) = 0;
    // The paste-mode buttons show this mode command pressed.
    virtual void ShowPasteMode(framework::CommandId) {}
    // The snap and grid buttons by bit 0 (main) and bit 1 (sub) of the
    // active view's flags.
    virtual void ShowGridState(int /*snapFlags*/, int /*gridFlags*/) {}

    // The guide's points or length changed in a view: the guide palette
    // reloads and the position palette follows.
    virtual void GuideChanged() {}

    // The position palette shows this document's visible part.
    virtual void FollowPosition(CPelmarkDoc* doc) = 0;
    // The layer palette takes the document and the composite is rebuilt.
    virtual void LayersChanged(CPelmarkDoc* doc) = 0;
    // The colour palette bar reloads the palette.
    virtual void PaletteChanged() = 0;
    // The plug-in windows hear that the active image changed.
    virtual void ImageDrawn() = 0;
    // The tool palette repaints the current tool and its settings.
    virtual void RefreshToolPalette() = 0;
    // The fill plug-in on the active document (its undo step "着色"); the
    // run's result.
    virtual int RunFillPlugin() = 0;

    // A key the view got while a plug-in runs its own loop, for the
    // accelerators.
    virtual void PassShortcutKey(int key, Qt::KeyboardModifiers modifiers) = 0;
    // The text tool's plug-in on the active document.
    virtual void StartTextTool() = 0;

    // The colour dialogs of the colour commands; each answers false on
    // Cancel (and without a frame). The colour map gives the index table,
    // the unused-colour dialog the entries to delete among those offered,
    // the mask-colour dialog the colours removed when copying and protected
    // when pasting.
    using ColorFlags = std::array<uint8_t, 256>;
    virtual bool AskColorMap(CPelmarkDoc*, ColorFlags*) { return false; }
    virtual bool AskUnusedColors(CPelmarkDoc*, ColorFlags* /*remove*/, const ColorFlags& /*offered*/) {
        return false;
    }
    virtual bool AskMaskColors(CPelmarkDoc*, ColorFlags* /*copy*/, ColorFlags* /*paste*/) { return false; }

    // The image-size dialog, opened with the current size; false on Cancel.
    virtual bool AskImageSize(CPelmarkDoc*, int* /*width*/, int* /*height*/) { return false; }
    // The palette editor on the active document (nothing without a frame).
    virtual void RunPaletteEditor() {}
    // The border-line dialog on the document (nothing without a frame).
    virtual void RunBorderLineDialog(CPelmarkDoc*) {}
    // The settings dialog, modal.
    virtual void RunSettingsDialog() {}
    // The gradient dialog shown for the document, the main window disabled
    // while it is open (nothing without a frame).
    virtual void ShowGradientDialog(CPelmarkDoc*) {}
    // The shown states of the bars and palettes go to the settings.
    virtual void SaveDisplaySettings() {}
    // The URL dialog on an image-map region's link, opened with `url`;
    // false on Cancel (and without a frame).
    virtual bool AskRegionUrl(QString* /*url*/) { return false; }
    // True while the link palette is shown (without a frame: true, so that
    // the regions stay).
    virtual bool LinkPaletteShown() const { return true; }

    // The rulers setting of the document windows (without a host: off).
    virtual bool RulersWanted() const = 0;
    // The CJK font of the program's interface texts.
    virtual QFont InterfaceFont() const = 0;

protected:
    ~ViewHost() = default;
};

}  // namespace view
