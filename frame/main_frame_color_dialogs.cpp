// The colour dialogs the canvas view's colour commands open.
#include "dialogs/color_map_dlg.h"
#include "dialogs/flag_color_dlgs.h"
#include "frame/main_frame.h"

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
