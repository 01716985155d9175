#include "dialogs/change_layer_dlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/layer_fields.h"
#include "document/layer_factory.h"

using framework::ControlKind;

CChangeLayerDlg::CChangeLayerDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("更改图层"));
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("图层名："), {12, 16, 70, 20}},
        {kNameId, ControlKind::Edit, {}, {86, 14, 200, 22}},
        {0, ControlKind::Label, QStringLiteral("绘制方式："), {12, 48, 70, 20}},
        {kDrawModeId, ControlKind::ComboBox, {}, {86, 46, 200, 24}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {300, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {300, 44, 78, 26}},
    });
    setFixedSize(392, 84);
    LimitLayerNameField(Item<QLineEdit>(kNameId));
}

bool CChangeLayerDlg::OnInitDialog() {
    EditLayerHeader header(m_pDoc);
    SetDlgItemText(kNameId, header ? LayerHeaderName(*header) : QString());
    FillDrawModeCombo(Item<QComboBox>(kDrawModeId), header ? int(header->drawMode) : int(LAYER_DRAW_INDEX0_CLEAR));
    GotoDlgCtrl(kNameId);
    return true;
}

void CChangeLayerDlg::OnOK() {
    m_nResult = 0;
    if (EditLayerHeader header(m_pDoc); header) {
        document::SetLayerName(*header, GetDlgItemText(kNameId));
        const QComboBox* combo = Item<QComboBox>(kDrawModeId);
        header->drawMode = uint8_t(combo && combo->currentIndex() == 0 ? LAYER_DRAW_NORMAL : LAYER_DRAW_INDEX0_CLEAR);
        m_nResult = 1;
    }
    EndDialog(framework::IDOK);
}
