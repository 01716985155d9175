#include "dialogs/layer_set_dlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/dialog_host.h"
#include "dialogs/layer_fields.h"
#include "document/layer_factory.h"
#include "document/layer_operations.h"
#include "document/pelmark_doc.h"


CLayerSetDlg::CLayerSetDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("新建图层"));
    CreateNameAndModeControls(*this, kNameId, kDrawModeId);
}

bool CLayerSetDlg::ComputeLayerSize() { return ComputeLayerBlockSize(*this, m_pDoc, &m_nLayerSize); }

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
