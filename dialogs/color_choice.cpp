#include "dialogs/color_choice.h"

#include "dialogs/color_edit_dlg.h"

namespace {

ColorChooser& Chooser() {
    static ColorChooser chooser;
    return chooser;
}

bool ChooseWithEditDialog(QWidget* parent, ChosenColor& color) {
    CColorEditDlg dlg(parent);
    dlg.SetColor(color);
    if (dlg.DoModal() != framework::IDOK) return false;
    color = dlg.Color();
    return true;
}

}  // namespace

bool ChooseColor(QWidget* parent, ChosenColor& color) {
    if (Chooser()) return Chooser()(parent, color);
    return ChooseWithEditDialog(parent, color);
}

ColorChooser SetColorChooser(ColorChooser chooser) {
    ColorChooser previous = std::move(Chooser());
    Chooser() = std::move(chooser);
    return previous;
}
