// The dialogs the canvas view's edit commands open, and the layer sheet
// through the active view.
#include "dialogs/alpha_dlg.h"
#include "dialogs/border_line_dlg.h"
#include "dialogs/color_map_dlg.h"
#include "dialogs/edit_mode_dlg.h"
#include "dialogs/flag_color_dlgs.h"
#include "dialogs/image_size_dlg.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/program_globals.h"
#include "view/pelmark_view.h"

void CMainFrame::connectEditDialogs(bool connect) {
    if (!connect) {
        CPelmarkView::EditModeDialog() = {};
        CPelmarkView::AlphaDialog() = {};
        return;
    }
    CPelmarkView::EditModeDialog() = [this](int current) -> std::optional<int> {
        {
            CEditModeDlg dlg(this);
            dlg.m_nMode = current;
            if (dlg.DoModal() != framework::IDOK) return std::nullopt;
        }
        // The dialog leaves its choice when it goes.
        return GetLastEditModeChoice();
    };
    CPelmarkView::AlphaDialog() = [this]() -> std::optional<int> {
        CAlphaDlg dlg(this);
        if (dlg.DoModal() != framework::IDOK) return std::nullopt;
        return dlg.m_nAlpha;
    };
}

bool CMainFrame::AskImageSize(CPelmarkDoc*, int* width, int* height) {
    CImageSizeDlg dlg(this);
    dlg.m_nWidth = unsigned(*width);
    dlg.m_nHeight = unsigned(*height);
    if (dlg.DoModal() != framework::IDOK) return false;
    *width = int(dlg.m_nWidth);
    *height = int(dlg.m_nHeight);
    return true;
}

bool CMainFrame::ResizeActiveCanvas(CPelmarkDoc* doc, int width, int height, int columns, int rows,
                                    bool dropUncovered) {
    CPelmarkView* view = GetActivePelmarkView();
    if (view && view->GetDocument() == doc) return view->ResizeCanvasKeepPalette(width, height, columns, rows, dropUncovered);
    return document::DocumentHost::ResizeActiveCanvas(doc, width, height, columns, rows, dropUncovered);
}

bool CMainFrame::AskColorMap(CPelmarkDoc* doc, ColorFlags* map) {
    CColorMapDlg dlg(doc, this);
    if (dlg.DoModal() != framework::IDOK) return false;
    *map = dlg.map;
    return true;
}

bool CMainFrame::AskUnusedColors(CPelmarkDoc* doc, ColorFlags* remove, const ColorFlags& offered) {
    CUnusedColorDlg dlg(doc, this);
    dlg.flags = *remove;
    dlg.enabled = offered;
    if (dlg.DoModal() != framework::IDOK) return false;
    for (size_t i = 0; i < remove->size(); ++i) (*remove)[i] = offered[i] && dlg.flags[i] ? 1 : 0;
    return true;
}

bool CMainFrame::AskMaskColors(CPelmarkDoc* doc, ColorFlags* copy, ColorFlags* paste) {
    CMaskColorDlg dlg(doc, this);
    dlg.copyFlags = *copy;
    dlg.pasteFlags = *paste;
    if (dlg.DoModal() != framework::IDOK) return false;
    *copy = dlg.copyFlags;
    *paste = dlg.pasteFlags;
    return true;
}

void CMainFrame::RunBorderLineDialog(CPelmarkDoc* doc) {
    CBorderLineDlg dlg(this);
    dlg.SetDocument(doc);
    dlg.DoModal();
}

void CMainFrame::PlotOnActiveView(int x, int y, bool repaint) {
    if (CPelmarkView* view = GetActivePelmarkView()) view->PlotPen(x, y, repaint);
}
