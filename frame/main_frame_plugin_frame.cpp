// The main frame as the plug-in host sees it.
#include <QToolBar>

#include "frame/main_frame.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/guide_palette.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/tool_palette.h"
#include "plugin_api/plugin_messages.h"
#include "view/pelmark_view.h"

WinHandle CMainFrame::PluginParentWindow() { return WindowHandle(); }


bool CMainFrame::CommandLocked(CommandId id) { return locks_.Disables(id); }

void CMainFrame::LockForAnimationMaker() { LockForAnimationPlugin(); }

int CMainFrame::ToolSetting(int index) { return GetToolOption(index); }

int CMainFrame::ActiveViewTone() {
    auto* view = dynamic_cast<CPelmarkView*>(GetActiveView());
    return view ? view->TonePattern() : 0;
}

QWidget* CMainFrame::ColorPaletteWindow() { return ColorPalette(); }

std::vector<QWidget*> CMainFrame::ToolWindows() {
    return {ToolPalette(), MainToolBar(), LinkPalette(), ToneBar(), LayerPalette(), PosPalette(), GuidePalette()};
}

void CMainFrame::PaletteColorsChanged() { SendWindowMessage(WM_PALETTEBAR_UPDATE, PALETTEBAR_REFRESH, 0); }

void CMainFrame::RebuildLayerPalette(CPelmarkDoc* doc) { UpdateLayerPalette(doc); }

void CMainFrame::ShowLayersOf(CPelmarkDoc* doc) { SetLayerPaletteDoc(doc); }

void CMainFrame::ShowPositionOf(CPelmarkDoc* doc) { SetPosPaletteDoc(doc); }
