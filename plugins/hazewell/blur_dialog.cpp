#include "plugins/hazewell/blur_dialog.h"

#include <QAbstractSlider>
#include <QGuiApplication>
#include <QSlider>
#include <QSpinBox>

#include "framework/wait_cursor.h"
#include "platform/message_box.h"
#include "platform/window_qt.h"
#include "plugins/hazewell/blur_rgb.h"
#include "plugins/kit/kit_blocks.h"

using framework::ControlKind;

namespace {

// The image's size; false when it is not a DIB with an information header.
bool ImageSize(MemHandle image, int* width, int* height) {
    MemLockGuard lock(image);
    if (!lock || lock.size() < sizeof(DibInfoHeader)) return false;
    const auto* info = lock.as<DibInfoHeader>();
    *width = info->width;
    *height = info->height < 0 ? -info->height : info->height;
    return *width > 0 && *height > 0;
}

// A radius text: decimal digits only, empty is 0. -1 for anything else,
// kMaxRadius + 1 for any larger number.
int ParseRadius(const QString& text) {
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return -1;
        value = std::min(value * 10 + (c.unicode() - u'0'), CBlurDialog::kMaxRadius + 1);
    }
    return value;
}

}  // namespace

CBlurDialog::CBlurDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info)
    : Dialog(IDD, platform::WinWidget(hostWindow)), m_pRecord(record), m_hHostWnd(hostWindow), m_pInfo(info) {
    SetKitMemoryMessage("内存错误", "错误");
    setWindowTitle(QStringLiteral("模糊"));
    resize(250, 112);
    CreateControls({
        {IDC_RADIUS, ControlKind::Edit, QString(), {12, 12, 48, 22}},
        {IDC_RADIUS_SPIN, ControlKind::SpinBox, QString(), {60, 12, 18, 22}},
        {0, ControlKind::Label, QStringLiteral("像素"), {84, 14, 40, 18}},
        {IDC_RADIUS_BAR, ControlKind::Slider, QString(), {12, 44, 226, 24}},
        {IDC_PREVIEW, ControlKind::CheckBox, QStringLiteral("预览"), {12, 78, 80, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {100, 76, 66, 24}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {172, 76, 66, 24}},
    });
    auto* bar = Item<QSlider>(IDC_RADIUS_BAR);
    // The radius follows the thumb when it is let go, not while it is dragged.
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar] { OnRadiusPicked(bar->sliderPosition()); });
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
        if (action != QAbstractSlider::SliderMove) OnRadiusPicked(bar->sliderPosition());
    });
}

CBlurDialog::~CBlurDialog() { FreeWork(); }

bool CBlurDialog::OnInitDialog() {
    auto* bar = Item<QSlider>(IDC_RADIUS_BAR);
    auto* spin = Item<QSpinBox>(IDC_RADIUS_SPIN);
    m_bSettingControls = true;
    bar->setRange(1, kMaxRadius);
    bar->setPageStep(1);
    spin->setRange(1, kMaxRadius);
    bar->setValue(m_nRadius);
    spin->setValue(m_nRadius);
    CheckDlgButton(IDC_PREVIEW, m_bPreview);
    m_bSettingControls = false;

    if (!m_pRecord || !m_pRecord->layers) {
        Fail("没选择图层", "错误");
        return true;
    }
    int width = 0, height = 0;
    m_hLayer = ToolCurrentLayer(m_pRecord);
    m_hCopy = GlobalDuplicate(m_hLayer);
    if (m_hCopy) m_pWork = LayerToRgb(m_pInfo ? m_pInfo->image : nullptr, m_pRecord->layers, m_pRecord);
    if (!m_hCopy || !m_pWork || !ImageSize(m_pInfo->image, &width, &height)) {
        Fail("内存不足", "错误");
        return true;
    }
    if (!m_pRecord->selectionMask) ShowMessageBox(WindowHandle(), "没选择范围", "", MB_BTN_OK);
    if (!m_masks.Take(m_pRecord->selectionMask, width, height)) {
        Fail("内存不足", "错误");
        return true;
    }
    m_nRadius = 1;
    SetRadiusText(QStringLiteral("1"));
    m_strOldRadius = m_strRadius;
    MoveRadiusControls();
    show();
    repaint();
    m_bRecompute = true;
    Compute();
    Show();
    return true;
}

void CBlurDialog::Fail(const char* text, const char* caption) {
    ShowMessageBox(WindowHandle(), text, caption, MB_BTN_OK);
    FreeWork();
    m_nDone = 1;
    EndDialog(framework::IDCANCEL);
}

void CBlurDialog::FreeWork() {
    FreeRgbBuffer(m_pWork);
    m_pWork = nullptr;
    m_masks.Release();
    GlobalFreeSafe(m_hCopy);
    m_hCopy = nullptr;
}

void CBlurDialog::Compute() {
    if (!m_pWork || !m_hCopy) return;
    // The copy must hold the preview again before it is written.
    if (m_bPreviewShown) {
        if (!GlobalSwapBlocks(m_hLayer, m_hCopy)) return;
        m_bPreviewShown = false;
    }
    framework::WaitCursor wait;
    RgbBuffer* blurred = BlurRgbBuffer(m_pWork, m_nRadius, m_masks.Protect(), m_masks.Selection(), m_pRecord);
    if (!blurred) {
        ShowMessageBox(WindowHandle(), "内存不足", "错误", MB_BTN_OK);
        return;
    }
    RgbToLayer(m_pInfo->image, m_hCopy, blurred, m_masks.Protect(), m_masks.Selection(), m_pRecord);
    FreeRgbBuffer(blurred);
    m_bRecompute = false;
}

void CBlurDialog::Show() {
    if (!m_hCopy) return;
    if (m_bPreview && m_nRadius > 0) {
        if (!m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = true;
    } else if (m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) {
        m_bPreviewShown = false;
    }
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
}

void CBlurDialog::ShowUntouched() {
    if (!m_hCopy) return;
    if (m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = false;
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
}

void CBlurDialog::SetRadiusText(const QString& text) {
    m_strRadius = text;
    if (GetDlgItemText(IDC_RADIUS) == text) return;
    m_bSettingControls = true;
    SetDlgItemText(IDC_RADIUS, text);
    m_bSettingControls = false;
}

void CBlurDialog::MoveRadiusControls() {
    m_bSettingControls = true;
    // Both controls stop at 1: radius 0 leaves them at their low end.
    Item<QSlider>(IDC_RADIUS_BAR)->setValue(m_nRadius);
    Item<QSpinBox>(IDC_RADIUS_SPIN)->setValue(m_nRadius);
    m_bSettingControls = false;
}

void CBlurDialog::OnRadiusEdited() {
    if (m_bSettingControls) return;
    const QString text = GetDlgItemText(IDC_RADIUS);
    const int value = ParseRadius(text);
    if (value > kMaxRadius) {
        const QString message = QStringLiteral(" 请输入 0～%1 的整数").arg(kMaxRadius);
        ShowMessageBox(WindowHandle(), message.toUtf8().constData(), "数值太大", MB_BTN_OK);
    }
    if (value < 0 || value > kMaxRadius) {
        // Refused: the last accepted text and radius come back.
        m_bSettingControls = true;
        SetDlgItemText(IDC_RADIUS, m_strRadius);
        m_bSettingControls = false;
        return;
    }
    m_strOldRadius = m_strRadius;
    m_strRadius = text;
    m_nRadius = value;
    MoveRadiusControls();
    if (m_nRadius > 0) {
        m_bRecompute = true;
        if (m_bPreview) Compute();
        Show();
    } else {
        ShowUntouched();
    }
}

void CBlurDialog::OnRadiusPicked(int radius) {
    if (m_bSettingControls) return;
    radius = std::clamp(radius, 1, kMaxRadius);
    const QString text = QString::number(radius);
    const bool changed = text != m_strRadius;
    m_nRadius = radius;
    m_strOldRadius = m_strRadius;
    SetRadiusText(text);
    MoveRadiusControls();
    if (!changed) return;
    m_bRecompute = true;
    if (m_bPreview) Compute();
    Show();
}

void CBlurDialog::OnPreviewClicked() {
    m_bPreview = IsDlgButtonChecked(IDC_PREVIEW) ? 1 : 0;
    if (m_bPreview && m_bRecompute && m_nRadius > 0) Compute();
    Show();
}

void CBlurDialog::OnOK() {
    if (m_nRadius > 0) {
        if (m_bRecompute) Compute();
        if (!m_bPreviewShown && m_hCopy && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = true;
        WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    } else {
        ShowUntouched();
    }
    FreeWork();
    if (m_pRecord) m_pRecord->imageChanged = 1;
    m_nDone = 1;
    EndDialog(framework::IDOK);
}

void CBlurDialog::OnCancel() {
    ShowUntouched();
    FreeWork();
    m_nDone = 0;
    EndDialog(framework::IDCANCEL);
}

void CBlurDialog::DeclareCommands(framework::CommandTable& table) {
    table.OnNotify(IDC_RADIUS, framework::Notify::Changed, [this] { OnRadiusEdited(); })
        .OnNotify(IDC_RADIUS_SPIN, framework::Notify::Changed,
                  [this] { OnRadiusPicked(Item<QSpinBox>(IDC_RADIUS_SPIN)->value()); })
        .On(IDC_PREVIEW, [this] { OnPreviewClicked(); });
    Dialog::DeclareCommands(table);
}
