// The settings dialog and what follows it: the preset menu and the active
// view taking the new grid preset.
#include "dialogs/settings_dlg.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "view/pelmark_view.h"

void CMainFrame::RunSettingsDialog() {
    CSettingsDlg dlg(this);
    dlg.DoModal();
}

bool CMainFrame::HasActiveView() { return GetActivePelmarkView() != nullptr; }

void CMainFrame::RefreshGridPresetMenu() {
    if (gridMenuRefresher_) gridMenuRefresher_();
}

void CMainFrame::ApplyGridSettingsToActiveView() {
    CPelmarkView* view = GetActivePelmarkView();
    if (!view) return;
    view->LoadGridPreset();
    view->OnActivateView(true, view, view);
    view->update();
    if (CPelmarkDoc* doc = view->GetDocument()) doc->EndEditMode();
    view->SendGridToToolWindows(nullptr);
}
