#include "dialogs/color_map_dlg.h"

#include "dialogs/color_grid.h"
#include "dialogs/color_swatch.h"
#include "document/pelmark_doc.h"
#include "imaging/dib_access.h"

using framework::ControlKind;

CColorMapDlg::CColorMapDlg(CPelmarkDoc* doc, QWidget* parent)
    : framework::Dialog(kTemplateId, parent), doc_(doc) {
    setWindowTitle(QStringLiteral("改变图像内使用的颜色"));
    const int g = CColorGrid::kSize;
    CreateControls({
        {-1, ControlKind::Label, QStringLiteral("选择颜色"), {12, 8, g, 18}},
        {-1, ControlKind::Label, QStringLiteral("替换位置"), {24 + g, 8, g, 18}},
        {kIndexTextId, ControlKind::Label, {}, {64, 36 + g, 100, 18}},
        {kColorTextId, ControlKind::Label, {}, {64, 56 + g, 200, 18}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {g + 24 + g - 170, 40 + g, 80, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {g + 24 + g - 80, 40 + g, 80, 26}},
    });
    pickGrid_ = new CColorMapGrid(this);
    pickGrid_->move(12, 28);
    pickGrid_->SetPickMode(true);
    mapGrid_ = new CColorMapGrid(this);
    mapGrid_->move(24 + g, 28);
    swatch_ = new ColorSwatch(this, true);
    swatch_->setGeometry(12, 36 + g, 40, 38);
    for (CColorMapGrid* grid : {pickGrid_, mapGrid_}) grid->SetDocument(doc);
    RegisterControl(kPickGridId, pickGrid_);
    RegisterControl(kMapGridId, mapGrid_);
    RegisterControl(kSwatchId, swatch_);
    connect(pickGrid_, &CColorMapGrid::CellTouched, this, &CColorMapDlg::pick);
    connect(mapGrid_, &CColorMapGrid::CellTouched, this, &CColorMapDlg::paint);
    setFixedSize(36 + 2 * g, 90 + g);
}

bool CColorMapDlg::OnInitDialog() {
    pickGrid_->ResetMap();
    mapGrid_->ResetMap();
    // The first entry of the first row the colour mode leaves open, so that
    // a map painted before any pick stays inside the mode.
    picked_ = 0;
    for (int row = 0; row < CColorGrid::kRows; ++row)
        if (!pickGrid_->LockedRow(row * CColorGrid::kColumns)) {
            picked_ = row * CColorGrid::kColumns;
            break;
        }
    pickGrid_->SetPickedCell(picked_);
    showPicked();
    return true;
}

void CColorMapDlg::pick(int cell) {
    if (pickGrid_->LockedRow(cell)) return;
    picked_ = pickGrid_->ShownIndex(cell);
    pickGrid_->SetPickedCell(cell);
    showPicked();
}

void CColorMapDlg::paint(int cell) {
    if (mapGrid_->LockedRow(cell) || mapGrid_->Map()[size_t(cell)] == picked_) return;
    mapGrid_->Map()[size_t(cell)] = uint8_t(picked_);
    mapGrid_->UpdateCell(cell);
}

void CColorMapDlg::showPicked() {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    if (doc_ && doc_->m_hImage) GetDibPaletteEntry(doc_->m_hImage, picked_, &r, &g, &b, &a);
    swatch_->SetColor(pickGrid_->EntryColor(picked_));
    SetDlgItemText(kIndexTextId, QString::asprintf("%03d 号", picked_));
    SetDlgItemText(kColorTextId, QString::asprintf("R:%03d G:%03d B:%03d", r, g, b));
}

void CColorMapDlg::OnOK() {
    map = mapGrid_->Map();
    EndDialog(framework::IDOK);
}
