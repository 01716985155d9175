#include "dialogs/gradient_dlg.h"

CGradientDlg::CGradientDlg() : framework::Dialog(kTemplateId) {
    setWindowTitle(QStringLiteral("制作渐变色"));
    resize(260, 160);
}

bool& CGradientDlg::StartedFromPaletteEditor() {
    static bool started = false;
    return started;
}
