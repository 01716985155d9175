// The canvas view's palette-wide edits.
#include "document/pelmark_doc.h"
#include "document/unused_colors.h"
#include "frame/main_frame.h"
#include "palettes/color_palette_bar.h"
#include "plugin_api/plugin_messages.h"
#include "view/pelmark_view.h"

void CPelmarkView::DeleteUnusedColors() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hImage) return;
    CMainFrame* frame = CMainFrame::Get();
    if (frame && !frame->CheckWorkMemory(1)) return;
    if (!document::RemoveUnusedColors(*doc)) return;
    doc->UpdateAllViews(nullptr);
    if (!frame) return;
    frame->SendWindowMessage(WM_PALETTEBAR_UPDATE, PALETTEBAR_REFRESH, 0);
    frame->UpdateLayerPalette(doc);
    frame->SyncToolWindows();
}
