// The program's colour editor as the palettes ask for it: one place, so that
// every palette edits a colour the same way.
#include <algorithm>

#include "dialogs/color_choice.h"
#include "frame/main_frame.h"
#include "imaging/rgba_entry.h"

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
