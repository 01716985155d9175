// The main frame's colour editor: the colour edit dialog for the colour
// palette bar and the tool palette, and the colour dictionary it shows.
#include <algorithm>

#include "dialogs/color_choice.h"
#include "frame/main_frame.h"
#include "palettes/color_palette_bar.h"
#include "palettes/tool_palette.h"

namespace {

ColorDicEntry toDicEntry(const NamedColor& named) {
    return {named.name, named.color.red, named.color.green, named.color.blue, named.color.alpha};
}

}  // namespace

bool CMainFrame::EditPaletteColor(QWidget* parent, RgbaEntry& entry) {
    ChosenColor color{entry.red, entry.green, entry.blue, entry.alpha};
    if (!ChooseColor(parent, color)) return false;
    auto byte = [](int v) { return uint8_t(std::clamp(v, 0, 255)); };
    entry = {byte(color.red), byte(color.green), byte(color.blue), byte(color.alpha)};
    return true;
}

void CMainFrame::connectColorEditor() {
    // The bar disables the main window while the dialog runs, so the dialog
    // belongs to the bar (a window of its own), not to the frame.
    if (colorPalette_)
        colorPalette_->GetServices().editColor = [this](RgbaEntry& entry) {
            return EditPaletteColor(colorPalette_, entry);
        };
    if (toolPalette_)
        toolPalette_->GetServices().editColor = [this](RgbaEntry& entry) {
            return EditPaletteColor(this, entry);
        };
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
