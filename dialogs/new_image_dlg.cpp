#include "dialogs/new_image_dlg.h"

#include "document/layer_factory.h"
#include "document/palette_from_image.h"
#include "palettes/working_palette.h"
#include "platform/message_box.h"

namespace {
CNewImageDlg::ModalAnswer& Answer() {
    static CNewImageDlg::ModalAnswer answer;
    return answer;
}
}  // namespace

CNewImageDlg::KeptState& CNewImageDlg::Kept() {
    static KeptState kept;
    return kept;
}

CNewImageDlg::CNewImageDlg(QWidget* parent)
    : framework::Dialog(kTemplateId, parent),
      m_BackColor(Kept().background),
      m_strLayerName(document::DefaultLayerName(0)) {
    setWindowTitle(QStringLiteral("新建"));
}

CNewImageDlg::~CNewImageDlg() = default;

CNewImageDlg::ModalAnswer CNewImageDlg::SetModalAnswer(ModalAnswer answer) {
    ModalAnswer previous = std::move(Answer());
    Answer() = std::move(answer);
    return previous;
}

bool CNewImageDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    // Every dialog opens with no palette file chosen.
    Kept().paletteSource = kPaletteNone;
    Kept().palettePath.clear();
    m_BackColor = Kept().background;
    // No controls yet: the values as they stand are the answer.
    int result = Answer() ? Answer()(*this) : framework::IDOK;
    if (result == framework::IDOK) OnOK();
    else EndDialog(result);
    return true;
}

void CNewImageDlg::OnOK() {
    Kept().background = m_BackColor;
    framework::Dialog::OnOK();
}

bool CNewImageDlg::LoadPaletteFromFile(CPelmarkDoc*) {
    ClearWorkingPalette();
    if (!Kept().palettePath.isEmpty() && document::LoadPaletteFromImageFile(Kept().palettePath))
        return true;
    ShowMessageBox(nullptr, "调色板取出失败", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
    Kept().palettePath.clear();
    return false;
}
