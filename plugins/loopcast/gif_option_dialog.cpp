#include "plugins/loopcast/gif_option_dialog.h"

#include "framework/data_exchange.h"

using framework::ControlKind;

CGifOptionDialog::CGifOptionDialog() : Dialog(IDD) {
    setWindowTitle(QStringLiteral("GIF 透明设置"));
    resize(260, 130);
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("以 GIF 形式保存的话"), {12, 10, 236, 18}},
        {0, ControlKind::Label, QStringLiteral("调色板的 0 号色要作为透明色吗?"), {12, 30, 236, 18}},
        {IDC_TRANSPARENT_YES, ControlKind::Radio, QStringLiteral("要"), {24, 56, 80, 20}, true},
        {IDC_TRANSPARENT_NO, ControlKind::Radio, QStringLiteral("不要"), {120, 56, 80, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {48, 92, 76, 24}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {136, 92, 76, 24}},
    });
}

void CGifOptionDialog::DoDataExchange(framework::DataExchange& dx) {
    dx.Radio(IDC_TRANSPARENT_YES, m_transparency);
}

void CGifOptionDialog::OnOK() {
    m_done = 1;
    Dialog::OnOK();
}
