// The main frame's services around the position palette: the document it
// shows, its size and the values each document keeps.
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "palettes/pos_palette_dlg.h"

void CMainFrame::SetPosPaletteDoc(CPelmarkDoc* doc) {
    if (!posPalette_) return;
    // The palette follows the active canvas: a document in the background
    // (a view resized behind the active one) does not take it over.
    if (CPelmarkDoc* active = GetActiveDoc(); doc && active && doc != active) return;
    if (doc != posPalette_->GetDocument()) LoadPosPaletteState(doc);
    posPalette_->SetDocument(doc);
    posPalette_->FitToImage(doc ? doc->m_nWidth : 1, doc ? doc->m_nHeight : 1, false);
    posPalette_->UpdateViewRect(0, 0, true);
    posPalette_->update();
}

void CMainFrame::SetPosPaletteSize(int width, int height) {
    if (posPalette_) posPalette_->FitToImage(width, height, false);
}

void CMainFrame::LoadPosPaletteState(CPelmarkDoc* doc) {
    if (posPalette_ && doc) posPalette_->LoadState(doc->m_PosPaletteState);
}

void CMainFrame::StorePosPaletteState(CPelmarkDoc* doc) {
    if (posPalette_ && doc) doc->m_PosPaletteState = posPalette_->State();
}

void CMainFrame::RefreshPosPalette() {
    if (!posPalette_) return;
    posPalette_->UpdateViewRect(0, 0, true);
    posPalette_->update();
}
