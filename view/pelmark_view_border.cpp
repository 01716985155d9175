// The canvas view's border-line command.
#include "document/pelmark_doc.h"
#include "tools/border_trace.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

void CPelmarkView::OnAddBorder() {
    CPelmarkDoc* doc = GetDocument();
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !host) return;
    // The flag goes down however the dialog ends.
    struct Running {
        Running() { tools::BorderDialog().running = true; }
        ~Running() { tools::BorderDialog().running = false; }
    } running;
    host->RunBorderLineDialog(doc);
}
