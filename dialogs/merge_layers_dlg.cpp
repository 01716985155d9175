#include "dialogs/merge_layers_dlg.h"

#include "dialogs/layer_fields.h"
#include "document/image_limits.h"
#include "document/layer_sheet_grid.h"
#include "document/pelmark_doc.h"

using framework::ControlKind;

CMergeLayersDlg::CMergeLayersDlg(CPelmarkDoc* doc, QWidget* parent)
    : framework::Dialog(kTemplateId, parent), doc_(doc) {
    setWindowTitle(QStringLiteral("合并图层"));
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("横向个数："), {12, 16, 80, 20}},
        {kColumnsId, ControlKind::Edit, {}, {96, 14, 80, 22}},
        {0, ControlKind::Label, QStringLiteral("纵向个数："), {12, 48, 80, 20}},
        {kRowsId, ControlKind::Edit, {}, {96, 46, 80, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {192, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {192, 44, 78, 26}},
    });
    setFixedSize(284, 84);
    const document::LayerSheetGrid grid = document::ProposeLayerSheetGrid(doc_);
    m_nColumns = grid.columns;
    m_nRows = grid.rows;
}

bool CMergeLayersDlg::OnInitDialog() {
    SetDlgItemInt(kColumnsId, m_nColumns);
    SetDlgItemInt(kRowsId, m_nRows);
    GotoDlgCtrl(kColumnsId);
    return true;
}

void CMergeLayersDlg::OnOK() {
    const int columns = GetDlgItemInt(kColumnsId, nullptr, true);
    const int rows = GetDlgItemInt(kRowsId, nullptr, true);
    if (columns <= 0) {
        LayerDialogMessage(*this, QStringLiteral("横尺寸请输入 1 以上的数值。"));
        GotoDlgCtrl(kColumnsId);
        return;
    }
    if (rows <= 0) {
        LayerDialogMessage(*this, QStringLiteral("纵尺寸请输入 1 以上的数值。"));
        GotoDlgCtrl(kRowsId);
        return;
    }
    const MaxImageSize max = GetMaxImageSize();
    const document::LayerSheetLoss loss =
        doc_ ? document::CheckLayerSheetGrid({columns, rows}, doc_->m_nWidth, doc_->m_nHeight,
                                             doc_->m_nLayerCount, max)
             : document::LayerSheetLoss{};
    // Only OK to every question closes the dialog.
    if (loss.tooWide &&
        !LayerDialogConfirm(*this, QStringLiteral("图像横尺寸超过%1，\n可能有一部分图像会消失\n您确认吗？")
                                       .arg(max.width)))
        return;
    if (loss.tooHigh &&
        !LayerDialogConfirm(*this, QStringLiteral("图像纵尺寸超过%1，\n可能有一部分图像会消失\n您确认吗？")
                                       .arg(max.height)))
        return;
    if (loss.tooFewCells &&
        !LayerDialogConfirm(*this, QStringLiteral("格子数少于图层数，\n多出的图层会消失\n您确认吗？")))
        return;
    m_nColumns = columns;
    m_nRows = rows;
    EndDialog(framework::IDOK);
}
