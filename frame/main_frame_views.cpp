// The main frame's services around the active canvas view, and what the
// frame follows of every canvas view.
#include "frame/main_frame.h"
#include "view/pelmark_view.h"

CPelmarkView* CMainFrame::GetActivePelmarkView() const { return dynamic_cast<CPelmarkView*>(GetActiveView()); }

void CMainFrame::FitActiveFrame() {
    if (CPelmarkView* view = GetActivePelmarkView()) view->FitFrameToImage();
}

void CMainFrame::ScrollActiveViewTo(int x, int y) {
    CPelmarkView* view = GetActivePelmarkView();
    if (!view) return;
    view->ScrollTo(x, y);
    view->update();
    RefreshPosPalette();
}

void CMainFrame::StoreActiveViewState() {
    if (CPelmarkView* view = GetActivePelmarkView()) view->StoreViewState();
}

void CMainFrame::DeleteUnusedColorsInActiveView() {
    if (CPelmarkView* view = GetActivePelmarkView()) view->DeleteUnusedColors();
}

void CMainFrame::WatchCanvasView(CPelmarkView* view) {
    if (!view) return;
    // The zoom buttons follow the view's zoom also while a plug-in holds
    // the idle update back.
    connect(view, &CPelmarkView::zoomButtonChecked, this, &CMainFrame::SetZoomButtons, Qt::UniqueConnection);
}
