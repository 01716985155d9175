#include "tools/frame_tool_canvas.h"

#include "document/document_host.h"
#include "document/pelmark_doc.h"

namespace tools {

int FrameToolCanvas::ToolOption(int index) { return document::Host().ToolSetting(index); }

void FrameToolCanvas::PaletteBarChanged() { document::Host().CurrentColorChanged(Document()); }

void FrameToolCanvas::RefreshAfterStroke() {
    CPelmarkDoc* doc = Document();
    if (doc) doc->UpdateAllViews(nullptr);
    document::DocumentHost& host = document::Host();
    host.LayersChanged(doc);
    host.ImageDrawn(doc);
}

void FrameToolCanvas::RefreshAfterLine() {
    CPelmarkDoc* doc = Document();
    if (doc) doc->UpdateAllViews(nullptr);
    document::DocumentHost& host = document::Host();
    host.ImageChanged(doc);
    host.LayerListChanged(doc);
    host.PositionChanged(doc);
    host.ImageDrawn(doc);
}

}  // namespace tools
