#include "dialogs/edit_mode_dlg.h"

#include "framework/data_exchange.h"
#include "framework/program_globals.h"

using framework::ControlKind;

CEditModeDlg::CEditModeDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("改变编辑模式"));
    CreateControls({
        {k256ColorsId, ControlKind::Radio, QStringLiteral("256 色模式"), {16, 16, 140, 22}, true},
        {k16ColorsId, ControlKind::Radio, QStringLiteral("16 色模式"), {16, 44, 140, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {170, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {170, 44, 78, 26}},
    });
    setFixedSize(262, 82);
}

bool CEditModeDlg::OnInitDialog() {
    m_nRadio = (m_nMode == 0 || m_nMode == 1) ? m_nMode : -1;
    return Dialog::OnInitDialog();
}

void CEditModeDlg::DoDataExchange(framework::DataExchange& dx) { dx.Radio(k256ColorsId, m_nRadio); }

void CEditModeDlg::OnDestroy() {
    UpdateData(true);
    SetLastEditModeChoice(m_nRadio >= 0 ? m_nRadio : m_nMode);
    Dialog::OnDestroy();
}
