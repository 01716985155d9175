#include "dialogs/layer_set_dlg.h"

#include <algorithm>

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/dialog_host.h"
#include "dialogs/layer_fields.h"
#include "document/layer_factory.h"
#include "document/layer_operations.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"

using framework::ControlKind;

CLayerSetDlg::CLayerSetDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("新建图层"));
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

bool CLayerSetDlg::ComputeLayerSize() {
    if (!m_pDoc) {
        LayerDialogMessage(*this, QStringLiteral("错误"));
        return false;
    }
    const int width = std::max(m_pDoc->m_nWidth, 0), height = std::max(m_pDoc->m_nHeight, 0);
    m_nLayerSize = LAYER_HEADER_SIZE + dib::LayerRowBytes(width) * size_t(height);
    return true;
}

void CLayerSetDlg::SelectLayerAbove() {
    if (m_pDoc) ++m_pDoc->m_nEditLayer;
}

bool CLayerSetDlg::OnInitDialog() {
    m_strName = document::DefaultLayerName(m_nLayerIndex);
    SetDlgItemText(kNameId, m_strName);
    FillDrawModeCombo(Item<QComboBox>(kDrawModeId), LAYER_DRAW_INDEX0_CLEAR);
    GotoDlgCtrl(kNameId);
    return true;
}

void CLayerSetDlg::OnOK() {
    m_strName = GetDlgItemText(kNameId);
    m_nResult = 0;
    DialogHost* host = DialogHost::Installed();
    if (m_pDoc && (!host || host->ProbeWorkMemory(1))) {
        document::LayerOptions options;
        const QComboBox* combo = Item<QComboBox>(kDrawModeId);
        options.drawMode = combo && combo->currentIndex() == 0 ? LAYER_DRAW_NORMAL : LAYER_DRAW_INDEX0_CLEAR;
        options.name = m_strName;
        options.fromDialog = true;
        m_nResult = document::NewLayer(*m_pDoc, m_nLayerIndex, options) ? 1 : 0;
    }
    EndDialog(framework::IDOK);
}
