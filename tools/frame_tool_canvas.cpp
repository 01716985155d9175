#include "tools/frame_tool_canvas.h"

#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "plugin_api/plugin_messages.h"

namespace tools {

int FrameToolCanvas::ToolOption(int index) {
    CMainFrame* frame = CMainFrame::Get();
    return frame ? frame->GetToolOption(index) : 0;
}

void FrameToolCanvas::PaletteBarChanged() {
    if (CMainFrame* frame = CMainFrame::Get()) frame->SendWindowMessage(WM_PALETTEBAR_UPDATE, 0, 0);
}

void FrameToolCanvas::RefreshAfterStroke() {
    CPelmarkDoc* doc = Document();
    if (doc) doc->UpdateAllViews(nullptr);
    if (CMainFrame* frame = CMainFrame::Get()) {
        frame->UpdateLayerPalette(doc);
        frame->SyncToolWindows();
    }
}

void FrameToolCanvas::RefreshAfterLine() {
    CPelmarkDoc* doc = Document();
    if (doc) doc->UpdateAllViews(nullptr);
    if (CMainFrame* frame = CMainFrame::Get()) {
        frame->RefreshActiveView();
        frame->SetLayerPaletteDoc(doc);
        frame->SetPositionPaletteDoc(doc);
        frame->SyncToolWindows();
    }
}

}  // namespace tools
