// The main frame as the canvas views' host, and the services it shares with
// the palettes and dialogs.
#include <array>

#include "frame/main_frame.h"
#include "palettes/color_palette_bar.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "plugin_api/plugin_messages.h"
#include "view/pelmark_view.h"

namespace {

// The colour, layer, position and guide palettes, in that order.
std::array<QWidget*, 4> DocumentToolWindows(CMainFrame& frame) {
    return {frame.ColorPalette(), frame.LayerPalette(), frame.PosPalette(), frame.GuidePalette()};
}

}  // namespace

int CMainFrame::ProbeWorkMemory(int mode) { return CheckWorkMemory(mode); }

void CMainFrame::SendFrameCommand(CommandId id) { SendCommand(id); }

void CMainFrame::DeleteUnusedColors() { DeleteUnusedColorsInActiveView(); }

void CMainFrame::PaletteChanged() { SendWindowMessage(WM_PALETTEBAR_UPDATE, PALETTEBAR_REFRESH, 0); }

void CMainFrame::LayersChanged(CPelmarkDoc* doc) { UpdateLayerPalette(doc); }

void CMainFrame::ImageDrawn() { SyncToolWindows(); }

void CMainFrame::RefreshToolPalette() { RefreshCurrentTool(); }

bool CMainFrame::CommandsLocked() const { return IsCommandLocked(); }

bool CMainFrame::ZoomLocked() const { return locks_.IsSet(CommandLockTable::kZoom); }

framework::View* CMainFrame::ActiveView() const { return GetActiveView(); }

QWidget* CMainFrame::MenuOwner() { return this; }

WinHandle CMainFrame::FrameWindow() { return WindowHandle(); }

int CMainFrame::ToolOption(int index) { return GetToolOption(index); }

void CMainFrame::EditStateChanged() { UpdateEditButtons(); }

void CMainFrame::ShowCurrentTool(int toolIndex) { SelectToolButton(toolIndex); }

void CMainFrame::FollowZoomOf(CPelmarkView* view) { WatchCanvasView(view); }

void CMainFrame::ResetTool() { ResetToolSelection(); }

void CMainFrame::HideDocumentWindows() {
    for (QWidget* w : DocumentToolWindows(*this))
        if (w) w->hide();
}

void CMainFrame::ShowDocumentWindows() {
    const bool wanted[] = {ColorPaletteFlag(), LayerPaletteFlag(), PosPaletteFlag(), GuidePaletteFlag()};
    // What the frame is told about each shown window: the layer, position
    // and guide palettes keep their captions active, the colour palette
    // follows the document.
    const uint32_t messages[] = {WM_PALETTEBAR_UPDATE, WM_KEEP_LAYER_CAPTION, WM_KEEP_POS_CAPTION,
                                 WM_GUIDE_REFRESH};
    std::array<QWidget*, 4> windows = DocumentToolWindows(*this);
    for (size_t i : {1u, 2u, 3u, 0u}) {
        if (!windows[i]) continue;
        if (wanted[i] && windows[i]->isHidden()) windows[i]->show();
        if (!windows[i]->isHidden())
            SendWindowMessage(messages[i], i == 0 ? WinWParam(PALETTEBAR_DOCUMENT) : 1, 0);
    }
}

void CMainFrame::ShowPasteMode(CommandId mode) { SetPasteModeButton(mode); }

void CMainFrame::ShowGridState(int snapFlags, int gridFlags) { SetGridButtons(snapFlags, gridFlags); }

void CMainFrame::ShowGuideState(bool shown, bool editing) { SetGuideButtons(shown, editing); }

void CMainFrame::ShowAnimationState(bool editorOpen, bool previewShown) {
    SetAnimationButtons(editorOpen, previewShown);
}

void CMainFrame::ShowTone(CommandId tone) { SetToneButton(tone); }

void CMainFrame::FollowPosition(CPelmarkDoc* doc) { SetPosPaletteDoc(doc); }

void CMainFrame::PassShortcutKey(int key, Qt::KeyboardModifiers modifiers) {
    TranslateShortcutKey(key, modifiers);
}

void CMainFrame::StartTextTool() { RunTextTool(); }
