#include "dialogs/change_layer_dlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "dialogs/layer_fields.h"
#include "document/layer_factory.h"


CChangeLayerDlg::CChangeLayerDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("更改图层"));
    CreateNameAndModeControls(*this, kNameId, kDrawModeId);
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
