// The main frame between the guide lines of the canvas views and the guide
// palette: the palette reloads when a view moved the guide, the active view
// repaints when the palette changed it.
#include "frame/main_frame.h"
#include "palettes/color_palette_bar.h"
#include "palettes/guide_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/pos_palette_dlg.h"
#include "plugin_api/plugin_messages.h"

void CMainFrame::SendGuidePalette(WinWParam value) {
    if (guidePalette_) guidePalette_->SendWindowMessage(WM_GUIDE_REFRESH, value, 0);
}

void CMainFrame::GuideChanged() {
    SendGuidePalette(1);
    RefreshPosPalette();
}

void CMainFrame::GuideEdited() {
    RefreshActiveView();
    RefreshPosPalette();
}

void CMainFrame::PaletteClosed(QWidget* palette) {
    if (!palette) return;
    if (palette == colorPalette_) colorVisible_ = false;
    if (palette == guidePalette_) guideVisible_ = false;
    if (palette == layerPalette_) layerVisible_ = false;
    if (palette == posPalette_) posVisible_ = false;
}
