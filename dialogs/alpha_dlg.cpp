#include "dialogs/alpha_dlg.h"

#include "framework/data_exchange.h"

using framework::ControlKind;

CAlphaDlg::CAlphaDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("设置 alpha 值"));
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("alpha 值"), {12, 16, 70, 20}},
        {kAlphaId, ControlKind::Edit, {}, {86, 14, 90, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {190, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {190, 44, 78, 26}},
    });
    setFixedSize(282, 84);
}

void CAlphaDlg::DoDataExchange(framework::DataExchange& dx) {
    if (!dx.Saving()) {
        SetDlgItemInt(kAlphaId, m_nAlpha);
        return;
    }
    // The value goes into one byte of every palette entry: only 0..255 is
    // taken, and a text that is no number gets the same range message.
    bool ok = false;
    const int value = GetDlgItemInt(kAlphaId, &ok);
    dx.MinMax(kAlphaId, ok ? value : -1, 0, 255);
    if (!dx.Failed()) m_nAlpha = value;
}

void CAlphaDlg::DeclareCommands(framework::CommandTable& table) {
    // Leaving the edit shows the number it holds in its plain form.
    table.OnNotify(kAlphaId, framework::Notify::KillFocus, [this] {
        bool ok = false;
        const int value = GetDlgItemInt(kAlphaId, &ok);
        if (ok && GetDlgItemText(kAlphaId) != QString::number(value)) SetDlgItemInt(kAlphaId, value);
    });
    Dialog::DeclareCommands(table);
}
