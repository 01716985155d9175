#include "dialogs/brush_size_dlg.h"

#include <algorithm>

#include <QSlider>

#include "dialogs/brush_preview.h"
#include "dialogs/dialog_fields.h"
#include "platform/message_box.h"
#include "tools/pen_stamps.h"

using framework::ControlKind;

CBrushSizeDlg::CBrushSizeDlg(int penIndex, QWidget* parent)
    : framework::Dialog(kTemplateId, parent), m_nSlot(SlotForPenIndex(penIndex)) {
    setWindowTitle(QStringLiteral("编辑画笔"));
    CreateControls({
        {kSliderId, ControlKind::Slider, QStringLiteral("Slider2"), {12, 14, 200, 24}},
        {kSizeId, ControlKind::Edit, {}, {12, 50, 60, 22}},
        {0, ControlKind::Label, QStringLiteral("像素"), {78, 52, 40, 20}},
        {kRoundId, ControlKind::Radio, QStringLiteral("圆形"), {12, 84, 90, 22}, true},
        {kSquareId, ControlKind::Radio, QStringLiteral("四边形"), {12, 110, 90, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {226, 150, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {226, 182, 78, 26}},
    });
    if (auto* slider = Item<QSlider>(kSliderId)) slider->setObjectName(QStringLiteral("Slider2"));
    preview_ = new CBrushPreview(this);
    preview_->setGeometry(226, 14, kBrushPreviewSide, kBrushPreviewSide);
    RegisterControl(kPreviewId, preview_);
    setFixedSize(340, 222);
}

int CBrushSizeDlg::SlotForPenIndex(int penIndex) {
    return std::clamp(penIndex - kFirstCustomPenIndex, 0, int(tools::CustomPens().size()) - 1);
}

bool CBrushSizeDlg::OnInitDialog() {
    const tools::CustomPen pen = tools::CustomPens()[size_t(m_nSlot)];
    m_nSize = pen.size;
    m_nShape = pen.shape;
    SetDlgItemInt(kSizeId, m_nSize);
    CheckRadioButton(kRoundId, kSquareId, m_nShape == 0 ? kRoundId : kSquareId);
    if (auto* slider = Item<QSlider>(kSliderId)) {
        const QSignalBlocker quiet(slider);
        slider->setRange(kMinSize, kMaxSize);
        slider->setValue(m_nSize);
    }
    preview_->SetPen(m_nSize, m_nShape);
    return true;
}

void CBrushSizeDlg::DeclareCommands(framework::CommandTable& table) {
    table.OnNotify(kSliderId, framework::Notify::Scroll, [this] { sliderMoved(); })
        .OnNotify(kSizeId, framework::Notify::SetFocus, [this] { m_bEditing = true; })
        .OnNotify(kSizeId, framework::Notify::KillFocus, [this] { m_bEditing = false; })
        .On(kRoundId, [this] {
            m_nShape = 0;
            // A size typed but not yet applied stays in the edit.
            if (m_nSize <= 0) {
                m_nSize = 1;
                SetDlgItemInt(kSizeId, m_nSize);
            }
            preview_->SetPen(m_nSize, m_nShape);
            update();
        })
        .On(kSquareId, [this] {
            m_nShape = 1;
            preview_->SetPen(m_nSize, m_nShape);
        });
    Dialog::DeclareCommands(table);
}

void CBrushSizeDlg::sliderMoved() {
    const auto* slider = Item<QSlider>(kSliderId);
    if (!slider || slider->value() == m_nSize) return;
    m_nSize = int16_t(std::max(slider->value(), kMinSize));
    SetDlgItemInt(kSizeId, m_nSize);
    preview_->SetPen(m_nSize, m_nShape);
}

void CBrushSizeDlg::applySize(int size) {
    m_nSize = int16_t(size);
    if (auto* slider = Item<QSlider>(kSliderId)) {
        const QSignalBlocker quiet(slider);
        slider->setValue(size);
    }
    preview_->SetPen(m_nSize, m_nShape);
}

void CBrushSizeDlg::OnOK() {
    bool ok = false;
    const int value = GetDlgItemInt(kSizeId, &ok);
    if (!ok || value < kMinSize || value > kMaxSize) {
        ShowDialogMessage(*this, QStringLiteral("请输入 1～100 的整数值"), MB_BTN_OK | MB_ICON_WARNING);
        GotoDlgCtrl(kSizeId);
        return;
    }
    if (value != m_nSize) {
        applySize(value);
        // Enter in the edit applies the typed size; a second Enter closes.
        // A size typed and then confirmed with the mouse is taken as well.
        if (m_bEditing) return;
    }
    tools::CustomPens()[size_t(m_nSlot)] = {m_nSize, m_nShape};
    EndDialog(framework::IDOK);
}
