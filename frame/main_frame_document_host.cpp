// The main frame as the documents' host: every service a document or a
// drawing tool asks for goes to what the frame did for it before.
#include "dialogs/change_layer_dlg.h"
#include "dialogs/copy_layer_dlg.h"
#include "dialogs/gradient_dlg.h"
#include "dialogs/layer_set_dlg.h"
#include "dialogs/merge_layers_dlg.h"
#include "dialogs/new_image_dlg.h"
#include "document/layer_sheet_grid.h"
#include "frame/main_frame.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/pos_palette_dlg.h"
#include "framework/dialog.h"
#include "plugin_api/plugin_messages.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"

bool CMainFrame::HasWorkMemory(int mode) { return CheckWorkMemory(mode) != 0; }

void CMainFrame::ReportWorkMemoryShort() { ShowWorkMemoryError(); }

void CMainFrame::ReportOutOfMemory() { ShowOutOfMemory(); }


void CMainFrame::ReleaseCommandLocks() { ClearCommandLocks(); }

document::NewImageAnswer CMainFrame::AskNewImage(document::NewImageSettings* settings) {
    CNewImageDlg dlg(this);
    if (dlg.DoModal() != framework::IDOK) return document::NewImageAnswer::kCancelled;
    const CNewImageDlg::KeptState& kept = CNewImageDlg::Kept();
    const int source = kept.paletteSource;
    if (source == CNewImageDlg::kPaletteFromFile &&
        (kept.palettePath.isEmpty() || !dlg.LoadPaletteFromFile(nullptr)))
        return document::NewImageAnswer::kAskAgain;
    settings->width = dlg.m_nWidth;
    settings->height = dlg.m_nHeight;
    settings->colorMode = dlg.m_nColorMode;
    settings->bytesPerPixel = dlg.m_nBytesPerPixel;
    settings->fromWorkingPalette =
        source == CNewImageDlg::kPaletteFromFile || source == CNewImageDlg::kPaletteLastUsed;
    settings->background = {dlg.m_BackColor.red, dlg.m_BackColor.green, dlg.m_BackColor.blue,
                            dlg.m_BackColor.alpha};
    settings->layerName = dlg.m_strLayerName;
    return document::NewImageAnswer::kAccepted;
}

bool CMainFrame::RunNewLayerDialog(CPelmarkDoc* doc, int slot) {
    CLayerSetDlg dlg(this);
    dlg.SetLayerIndex(slot);
    dlg.SetDocument(doc);
    if (!dlg.ComputeLayerSize()) return false;
    dlg.DoModal();
    return dlg.GetResult() != 0;
}

bool CMainFrame::RunCopyLayerDialog(CPelmarkDoc* doc) {
    CCopyLayerDlg dlg(this);
    dlg.SetDocument(doc);
    if (!dlg.ComputeLayerSize()) return false;
    dlg.DoModal();
    return dlg.GetResult() != 0;
}

bool CMainFrame::AskLayerSheetGrid(CPelmarkDoc* doc, document::LayerSheetGrid* grid) {
    CMergeLayersDlg dlg(doc, this);
    if (dlg.DoModal() != framework::IDOK) return false;
    *grid = {dlg.m_nColumns, dlg.m_nRows};
    return true;
}

bool CMainFrame::ChangeEditLayer(CPelmarkDoc* doc) {
    CChangeLayerDlg dlg(this);
    dlg.SetDocument(doc);
    dlg.DoModal();
    return dlg.GetResult() != 0;
}

void CMainFrame::DeclarePluginCommands(framework::CommandTable& table, CPelmarkDoc* doc) {
    plugin_host::DeclareToolHostCommands(table, doc);
}

void CMainFrame::DocumentClosing(CPelmarkDoc* doc) {
    plugin_host::ToolHostDocumentGone(doc);
    // The layer palette never keeps a document that is gone.
    if (layerPalette_ && layerPalette_->GetDocument() == doc) {
        layerPalette_->SetDocument(nullptr);
        layerPalette_->SetLayerCount(0);
        layerPalette_->FillList();
    }
    // Nor do the position palette and the gradient dialog.
    if (posPalette_ && posPalette_->GetDocument() == doc) SetPosPaletteDoc(nullptr);
    if (gradientDlg_ && gradientDlg_->Document() == doc) gradientDlg_->SetDocument(nullptr);
}

void CMainFrame::DocumentCreated(CPelmarkDoc*) { ResetToolSelection(); }


void CMainFrame::LayerListChanged(CPelmarkDoc* doc) { SetLayerPaletteDoc(doc); }

void CMainFrame::CurrentLayerChanged(CPelmarkDoc* doc, int row) {
    if (doc != GetLayerPaletteDoc()) SetLayerPaletteDoc(doc);
    SetLayerListSel(row);
}

void CMainFrame::ImageChanged(CPelmarkDoc*) { RefreshActiveView(); }

void CMainFrame::ImageDrawn(CPelmarkDoc*) { SyncToolWindows(); }

void CMainFrame::ImageReplaced(CPelmarkDoc*) { SendImageToPluginWnd(); }

void CMainFrame::PositionChanged(CPelmarkDoc* doc) { SetPosPaletteDoc(doc); }

void CMainFrame::PaletteChanged(CPelmarkDoc*) { SendWindowMessage(WM_PALETTEBAR_UPDATE, 3, 0); }

void CMainFrame::CurrentColorChanged(CPelmarkDoc*) {
    SendWindowMessage(WM_PALETTEBAR_UPDATE, 0, 0);
    RedrawToolPalette();
    RefreshCurrentColor();
}

void CMainFrame::EditStateChanged(CPelmarkDoc*) { UpdateEditButtons(); }

void CMainFrame::ToolChanged(CPelmarkDoc*, int toolIndex) { SelectToolButton(toolIndex); }
