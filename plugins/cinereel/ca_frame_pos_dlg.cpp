#include "plugins/cinereel/ca_frame_pos_dlg.h"

#include <QScrollBar>

#include "framework/command_ids.h"

using framework::ControlKind;
using cinereel::PosField;

namespace {

struct Field {
    int edit;
    int spin;  // 0: none
    PosField field;
};
constexpr Field kFields[] = {
    {IDC_POS_DELAY, 0, PosField::Delay},
    {IDC_POS_HEIGHT, IDC_POS_HEIGHT_SPIN, PosField::Height},
    {IDC_POS_Y, IDC_POS_Y_SPIN, PosField::Y},
    {IDC_POS_X, IDC_POS_X_SPIN, PosField::X},
    {IDC_POS_WIDTH, IDC_POS_WIDTH_SPIN, PosField::Width},
};

const Field* FieldOf(int id) {
    for (const Field& f : kFields)
        if (f.edit == id || (f.spin && f.spin == id)) return &f;
    return nullptr;
}

int& ValueOf(cinereel::FramePos& p, PosField field) {
    switch (field) {
    case PosField::Delay: return p.delay;
    case PosField::Height: return p.height;
    case PosField::X: return p.x;
    case PosField::Y: return p.y;
    default: return p.width;
    }
}

}  // namespace

CaFramePosDlg::CaFramePosDlg(QWidget* parent, const SheetFrame& frame, int row, int imageWidth,
                             int imageHeight)
    : Dialog(IDD_FRAME_POS, parent), m_nDelay(frame.delay), m_nHeight(frame.bottom - frame.top),
      m_nY(frame.top), m_nX(frame.left), m_nWidth(frame.right - frame.left), m_nRow(row),
      imageWidth_(imageWidth), imageHeight_(imageHeight) {
    setWindowTitle(QStringLiteral("帧位置"));
    CreateControls({
        {0, ControlKind::Label, "X", {10, 12, 40, 20}},
        {IDC_POS_X, ControlKind::Edit, "", {55, 10, 60, 22}},
        {IDC_POS_X_SPIN, ControlKind::VScrollBar, "", {115, 10, 16, 22}},
        {0, ControlKind::Label, "Y", {145, 12, 40, 20}},
        {IDC_POS_Y, ControlKind::Edit, "", {190, 10, 60, 22}},
        {IDC_POS_Y_SPIN, ControlKind::VScrollBar, "", {250, 10, 16, 22}},
        {0, ControlKind::Label, "宽", {10, 42, 40, 20}},
        {IDC_POS_WIDTH, ControlKind::Edit, "", {55, 40, 60, 22}},
        {IDC_POS_WIDTH_SPIN, ControlKind::VScrollBar, "", {115, 40, 16, 22}},
        {0, ControlKind::Label, "高", {145, 42, 40, 20}},
        {IDC_POS_HEIGHT, ControlKind::Edit, "", {190, 40, 60, 22}},
        {IDC_POS_HEIGHT_SPIN, ControlKind::VScrollBar, "", {250, 40, 16, 22}},
        {0, ControlKind::Label, "时间", {10, 72, 40, 20}},
        {IDC_POS_DELAY, ControlKind::Edit, "", {55, 70, 60, 22}},
        {framework::IDOK, ControlKind::DefPushButton, "OK", {100, 105, 80, 24}},
        {framework::IDCANCEL, ControlKind::PushButton, "取消", {190, 105, 80, 24}},
    });
    setFixedSize(280, 140);
}

void CaFramePosDlg::DeclareCommands(framework::CommandTable& table) {
    for (const Field& f : kFields) {
        table.OnNotify(f.edit, framework::Notify::Changed, [this, id = f.edit] { onEditChanged(id); });
        if (f.spin) table.OnNotify(f.spin, framework::Notify::Scroll, [this, id = f.spin] { onSpin(id); });
    }
    Dialog::DeclareCommands(table);
}

bool CaFramePosDlg::OnInitDialog() {
    for (int spin : {IDC_POS_WIDTH_SPIN, IDC_POS_X_SPIN})
        if (auto* s = Item<QScrollBar>(spin)) s->setRange(0, imageWidth_);
    for (int spin : {IDC_POS_HEIGHT_SPIN, IDC_POS_Y_SPIN})
        if (auto* s = Item<QScrollBar>(spin)) s->setRange(0, imageHeight_);
    writeFields();
    return true;
}

void CaFramePosDlg::writeFields() {
    writing_ = true;
    cinereel::FramePos p = Values();
    for (const Field& f : kFields) {
        SetDlgItemInt(f.edit, ValueOf(p, f.field));
        if (auto* s = f.spin ? Item<QScrollBar>(f.spin) : nullptr) {
            QSignalBlocker quiet(s);
            s->setValue(ValueOf(p, f.field));
        }
    }
    writing_ = false;
}

void CaFramePosDlg::apply(cinereel::FramePos pos, int changedId) {
    const Field* f = FieldOf(changedId);
    if (!f) return;
    pos = cinereel::ClampPosField(pos, f->field, imageWidth_, imageHeight_);
    m_nX = pos.x;
    m_nY = pos.y;
    m_nWidth = pos.width;
    m_nHeight = pos.height;
    m_nDelay = pos.delay;
    writeFields();
}

void CaFramePosDlg::onEditChanged(int id) {
    if (writing_) return;
    // Every field as it reads now (text that is no number reads 0).
    cinereel::FramePos pos;
    for (const Field& f : kFields) ValueOf(pos, f.field) = GetDlgItemInt(f.edit);
    apply(pos, id);
}

void CaFramePosDlg::onSpin(int spinId) {
    auto* spin = Item<QScrollBar>(spinId);
    const Field* f = FieldOf(spinId);
    if (writing_ || !spin || !f) return;
    cinereel::FramePos pos = Values();
    ValueOf(pos, f->field) = spin->value();
    apply(pos, spinId);
}

void CaFramePosDlg::OnOK() {
    m_nResult = 1;
    EndDialog(framework::IDOK);
}

void CaFramePosDlg::OnCancel() {
    m_nResult = -1;
    EndDialog(framework::IDCANCEL);
}
