// The canvas view's palette-wide edits.
#include "document/pelmark_doc.h"
#include "document/unused_colors.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

void CPelmarkView::DeleteUnusedColors() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hImage) return;
    view::ViewHost* host = view::ViewHost::Installed();
    if (host && !host->ProbeWorkMemory(1)) return;
    if (!document::RemoveUnusedColors(*doc)) return;
    doc->UpdateAllViews(nullptr);
    if (!host) return;
    host->PaletteChanged();
    host->LayersChanged(doc);
    host->ImageDrawn();
}
