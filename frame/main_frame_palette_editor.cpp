// The palette editor and the gradient dialog it may start.
#include <QWindow>

#include "dialogs/gradient_dlg.h"
#include "dialogs/palette_edit_dlg.h"
#include "document/pelmark_doc.h"
#include "document/working_palette.h"
#include "frame/main_frame.h"
#include "palettes/color_palette_bar.h"

namespace {

// The editor already open comes to the front instead of a second one (the
// colour bar stays usable beside it once 制作渐变 has lent it).
bool frontOpenEditor() {
    CPaletteEditDlg* open = CPaletteEditDlg::OpenEditor();
    if (!open) return false;
    open->raise();
    open->activateWindow();
    return true;
}

}  // namespace

int CMainFrame::RunPaletteEditorDialog() {
    if (frontOpenEditor()) return framework::IDCANCEL;
    CPaletteEditDlg dlg(GetActiveDoc(), this);
    return dlg.DoModal();
}

void CMainFrame::runColorBarPaletteEditor() {
    if (frontOpenEditor()) return;
    if (RunPaletteEditorDialog() == framework::IDOK) return;
    if (CPelmarkDoc* doc = GetActiveDoc()) LoadWorkingPaletteFromDocument(*doc);
}

CGradientDlg* CMainFrame::ShowGradientDialogFor(CPelmarkDoc* doc) {
    if (!gradientDlg_) return nullptr;
    // Beside the palette editor the main window stays enabled: disabling it
    // would disable the editor, which belongs to it.
    gradientDlg_->SetDocument(doc);
    gradientDlg_->SetOwnerDisabled(false);
    gradientDlg_->InitValues();
    gradientDlg_->show();
    gradientDlg_->raise();
    return gradientDlg_;
}

void CMainFrame::LendToolWindows(QWidget* dialog) {
    // A window-modal dialog blocks every window whose transient parents
    // lead to the main window; those of the dialog itself take input.
    QWindow* owner = dialog && dialog->windowHandle() ? dialog->windowHandle() : windowHandle();
    for (QWidget* window : {static_cast<QWidget*>(gradientDlg_), static_cast<QWidget*>(colorPalette_)})
        if (window && window->windowHandle()) window->windowHandle()->setTransientParent(owner);
}
