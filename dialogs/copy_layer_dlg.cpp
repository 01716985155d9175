#include "dialogs/copy_layer_dlg.h"

#include <algorithm>

#include <QLineEdit>

#include "dialogs/dialog_host.h"
#include "dialogs/layer_fields.h"
#include "document/layer_operations.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_geometry.h"

using framework::ControlKind;

CCopyLayerDlg::CCopyLayerDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("复制图层"));
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("复制源："), {12, 16, 70, 20}},
        {kSourceNameId, ControlKind::Label, {}, {86, 16, 200, 20}},
        {0, ControlKind::Label, QStringLiteral("新图层名："), {12, 48, 70, 20}},
        {kNameId, ControlKind::Edit, {}, {86, 46, 200, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {300, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {300, 44, 78, 26}},
    });
    setFixedSize(392, 84);
    LimitLayerNameField(Item<QLineEdit>(kNameId));
}

bool CCopyLayerDlg::ComputeLayerSize() { return ComputeLayerBlockSize(*this, m_pDoc, &m_nLayerSize); }

void CCopyLayerDlg::SelectLastLayer() {
    if (m_pDoc) m_pDoc->m_nEditLayer = std::max(m_pDoc->m_nLayerCount - 1, 0);
}

int CCopyLayerDlg::DeleteCurrentLayer() {
    m_nResult = m_pDoc && document::DeleteCurrentLayer(*m_pDoc) ? 1 : 0;
    return m_nResult;
}

bool CCopyLayerDlg::OnInitDialog() {
    QString source;
    if (EditLayerHeader header(m_pDoc); header) source = LayerHeaderName(*header);
    m_strName = source + QStringLiteral("复制");
    SetDlgItemText(kNameId, m_strName);
    SetDlgItemText(kSourceNameId, source);
    GotoDlgCtrl(kNameId);
    return true;
}

void CCopyLayerDlg::OnOK() {
    m_strName = GetDlgItemText(kNameId);
    m_nResult = 0;
    DialogHost* host = DialogHost::Installed();
    if (m_pDoc && (!host || host->ProbeWorkMemory(1)) && document::CopyCurrentLayer(*m_pDoc, m_strName)) {
        m_pDoc->SetModifiedFlag(true);
        m_nResult = 1;
    }
    EndDialog(framework::IDOK);
}
