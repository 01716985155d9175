// The program's colour editor as the palettes ask for it (the colour edit
// dialog through ChooseColor): one place, so that every palette edits a
// colour the same way; the colour dictionary the dialog shows; and the
// gradient dialog.
#include <algorithm>

#include "dialogs/color_choice.h"
#include "dialogs/gradient_dlg.h"
#include "frame/main_frame.h"
#include "imaging/rgba_entry.h"
#include "palettes/color_palette_bar.h"

namespace {

ColorDicEntry toDicEntry(const NamedColor& named) {
    return {named.name, named.color.red, named.color.green, named.color.blue, named.color.alpha};
}

}  // namespace

bool CMainFrame::EditPaletteColor(RgbaEntry& entry) {
    ChosenColor color{entry.red, entry.green, entry.blue, entry.alpha};
    // The chooser runs application-modal over the main window: the frame,
    // its palettes and tool windows take no input until it ends. (Disabling
    // the main window instead would disable the chooser with it.)
    if (!ChooseColor(this, color)) return false;
    auto byte = [](int v) { return uint8_t(std::clamp(v, 0, 255)); };
    entry = {byte(color.red), byte(color.green), byte(color.blue), byte(color.alpha)};
    return true;
}

std::vector<NamedColor> CMainFrame::ColorDictionary() {
    std::vector<NamedColor> named;
    for (const ColorDicEntry& e : colorDic_.Entries())
        named.push_back({e.name, {e.red, e.green, e.blue, e.alpha}});
    return named;
}

bool CMainFrame::AddColorDictionaryEntry(const NamedColor& entry) {
    return colorDic_.AddEntry(toDicEntry(entry));
}

bool CMainFrame::DeleteColorDictionaryEntry(int index) { return colorDic_.DeleteEntry(index); }

int CMainFrame::ColorDictionaryMode() { return colorPalette_ ? colorPalette_->DictionaryMode() : 0; }

void CMainFrame::SetColorDictionaryMode(int mode) {
    if (colorPalette_) colorPalette_->SetDictionaryMode(mode);
}

void CMainFrame::ShowGradientDialog(CPelmarkDoc* doc) {
    if (!gradientDlg_) return;
    setEnabled(false);
    gradientDlg_->SetDocument(doc);
    gradientDlg_->SetOwnerDisabled(true);
    gradientDlg_->InitValues();
    gradientDlg_->setEnabled(true);
    if (colorPalette_) colorPalette_->setEnabled(true);
    gradientDlg_->show();
    gradientDlg_->raise();
    gradientDlg_->activateWindow();
}
