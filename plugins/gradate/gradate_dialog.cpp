#include "plugins/gradate/gradate_dialog.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QScreen>

#include "framework/wait_cursor.h"
#include "imaging/dib_geometry.h"
#include "platform/message_box.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_messages.h"
#include "plugins/gradate/grad_direction_ctrl.h"
#include "plugins/gradate/gradient.h"
#include "plugins/gradate/palette_swatch.h"
#include "plugins/kit/kit_blocks.h"

using framework::ControlKind;

namespace {

constexpr int kDirectionWidth = 240, kDirectionHeight = 180;
constexpr float kMaxZoomOutScale = 14;

// A point's coordinate as the engines take it: truncated, kept inside int.
int PointCoordinate(double v) { return int(std::clamp(v, -1e9, 1e9)); }

}  // namespace

CGradateDialog::CGradateDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info, bool* done)
    : Dialog(IDD, nullptr), m_pRecord(record), m_pInfo(info), m_hHostWnd(hostWindow), m_pDone(done) {
    SetKitMemoryMessage("内存不足", "error");
    setWindowTitle(QStringLiteral("渐变色"));
    resize(440, 262);
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("开始色"), {12, 10, 60, 18}},
        {0, ControlKind::Label, QStringLiteral(">>"), {76, 34, 24, 18}},
        {0, ControlKind::Label, QStringLiteral("结束色"), {104, 10, 60, 18}},
        {IDC_LINEAR, ControlKind::Radio, QStringLiteral("条"), {12, 70, 150, 20}, true},
        {IDC_CIRCULAR, ControlKind::Radio, QStringLiteral("圆"), {12, 92, 150, 20}},
        {IDC_TWO_COLORS, ControlKind::Radio, QStringLiteral("仅双色"), {12, 124, 170, 20}, true},
        {IDC_PALETTE_COLORS, ControlKind::Radio, QStringLiteral("用调色板内的颜色补充"), {12, 146, 170, 20}},
        {IDC_PREVIEW, ControlKind::CheckBox, QStringLiteral("预览"), {12, 180, 100, 20}},
        {IDC_ZOOM_IN, ControlKind::PushButton, QStringLiteral("+"), {188, 198, 28, 24}},
        {IDC_ZOOM_OUT, ControlKind::PushButton, QStringLiteral("-"), {220, 198, 28, 24}},
        {IDC_ZOOM_TEXT, ControlKind::Label, QString(), {256, 200, 60, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {286, 230, 68, 24}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {360, 230, 68, 24}},
    });
    m_pStart = new CPaletteSwatch(this);
    m_pStart->setGeometry(12, 30, 56, 26);
    RegisterControl(IDC_START_COLOR, m_pStart);
    m_pEnd = new CPaletteSwatch(this);
    m_pEnd->setGeometry(104, 30, 56, 26);
    RegisterControl(IDC_END_COLOR, m_pEnd);
    m_pDirection = new CGradDirectionCtrl(this);
    m_pDirection->setGeometry(188, 12, kDirectionWidth, kDirectionHeight);
    RegisterControl(IDC_DIRECTION, m_pDirection);
    m_pDirection->onDoubleClick = [this] { OnDirection(); };
}

CGradateDialog::~CGradateDialog() { FreeWork(); }

bool CGradateDialog::OnInitDialog() {
    CheckRadioButton(IDC_LINEAR, IDC_CIRCULAR, m_nShape ? IDC_CIRCULAR : IDC_LINEAR);
    CheckRadioButton(IDC_TWO_COLORS, IDC_PALETTE_COLORS, m_nColorMode ? IDC_PALETTE_COLORS : IDC_TWO_COLORS);
    CheckDlgButton(IDC_PREVIEW, m_bPreview);
    if (!m_pRecord || !m_pRecord->layers) {
        Fail("没有选择图层");
        return true;
    }
    MemHandle image = m_pInfo ? m_pInfo->image : nullptr;
    int width = 0, height = 0;
    {
        dib::LockedDib dib(image);
        if (dib) {
            width = dib.geo().width;
            height = dib.geo().height;
        }
    }
    m_hLayer = ToolCurrentLayer(m_pRecord);
    m_hCopy = GlobalDuplicate(m_hLayer);
    if (m_hCopy) m_pWork = LayerToRgb(image, m_pRecord->layers, m_pRecord);
    if (!m_hCopy || !m_pWork || width <= 0 || height <= 0) {
        Fail("内存不足");
        return true;
    }
    if (!m_pRecord->selectionMask) ShowMessageBox(WindowHandle(), "没有选择范围", "", MB_BTN_OK);
    // An empty selection counts as everything selected, in a mask of our own:
    // the host's block is never written.
    if (!m_masks.Take(m_pRecord->selectionMask, width, height)) {
        Fail("内存不足");
        return true;
    }
    m_pStart->Attach(image);
    m_pEnd->Attach(image);
    m_pDirection->Attach(image, WindowHandle());

    m_nStartIndex = 0;
    m_nEndIndex = CurrentColor();
    const int scale = std::max(width / kDirectionWidth, height / kDirectionHeight) + 1;
    m_pDirection->SetView(float(scale), -float(scale * kDirectionWidth - width) / 2,
                          -float(scale * kDirectionHeight - height) / 2);
    m_pDirection->SetPoints(float(width / 4), float(3 * height / 4), float(3 * width / 4), float(height / 4));
    m_bRecompute = true;
    Refresh(true);
    CentreOverHost();
    return true;
}

void CGradateDialog::CentreOverHost() {
    QWidget* host = platform::WinWidget(m_hHostWnd);
    const QRect area = host ? host->window()->frameGeometry()
                            : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                : QRect());
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
}

int CGradateDialog::CurrentColor() const {
    if (!m_pRecord || !m_pRecord->currentColor) return 0;
    return std::clamp(*m_pRecord->currentColor, 0, 255);
}

bool CGradateDialog::Changed() const { return m_bRecompute || m_pDirection->Moved(); }

void CGradateDialog::Fail(const char* text) {
    ShowMessageBox(WindowHandle(), text, "error", MB_BTN_OK);
    FreeWork();
    SetDone();
    DestroyWindow();
}

void CGradateDialog::FreeWork() {
    FreeRgbBuffer(m_pWork);
    m_pWork = nullptr;
    m_masks.Release();
    GlobalFreeSafe(m_hCopy);
    m_hCopy = nullptr;
}

void CGradateDialog::SetDone() {
    m_bEnded = true;
    if (m_pDone) *m_pDone = true;
    if (onDone) onDone();
}

void CGradateDialog::Refresh(bool recompute) {
    m_pStart->SetIndex(m_nStartIndex);
    m_pEnd->SetIndex(m_nEndIndex);
    m_pDirection->SetIndexes(m_nStartIndex, m_nEndIndex);
    if (recompute) {
        if (m_bPreview && Changed()) Compute();
        Show();
    }
    m_pStart->update();
    m_pEnd->update();
    m_pDirection->update();
    m_strZoom = QString::asprintf("%d%%", int(100 / m_pDirection->Scale()));
    SetDlgItemText(IDC_ZOOM_TEXT, m_strZoom);
}

void CGradateDialog::Compute() {
    if (!m_pWork || !m_hCopy) return;
    // The copy must hold the preview again before it is written.
    if (m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = false;
    if (m_bPreviewShown) return;
    framework::WaitCursor wait;
    MemHandle image = m_pInfo->image;
    GradParam param;
    if (!InitGradParam(&param, image, m_nStartIndex, m_nEndIndex, PointCoordinate(m_pDirection->StartX()),
                       PointCoordinate(m_pDirection->StartY()), PointCoordinate(m_pDirection->EndX()),
                       PointCoordinate(m_pDirection->EndY())))
        return;
    if (m_nColorMode == 1) {
        RgbBuffer* gradient =
            GradientRgbBuffer(m_pWork, param, m_nShape, m_masks.Protect(), m_masks.Selection(), m_pRecord);
        if (!gradient) {
            ShowMessageBox(WindowHandle(), "内存不足", "error", MB_BTN_OK);
            return;
        }
        RgbToLayer(image, m_hCopy, gradient, m_masks.Protect(), m_masks.Selection(), m_pRecord);
        FreeRgbBuffer(gradient);
    } else {
        GradientPaletteIndex(image, m_hLayer, m_hCopy, param, m_nShape, m_masks.Protect(), m_masks.Selection(),
                             m_pRecord);
    }
    m_bRecompute = false;
    m_pDirection->ClearMoved();
}

void CGradateDialog::Show() {
    if (!m_hCopy) return;
    if (m_bPreview) {
        if (!m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = true;
    } else if (m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) {
        m_bPreviewShown = false;
    }
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
}

void CGradateDialog::ShowUntouched() {
    if (!m_hCopy) return;
    if (m_bPreviewShown && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = false;
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
}

void CGradateDialog::OnSwatch(bool end) {
    if (m_bEnded) return;
    int& index = end ? m_nEndIndex : m_nStartIndex;
    const int color = CurrentColor();
    if (color != index) {
        index = color;
        m_bRecompute = true;
    }
    Refresh(true);
}

void CGradateDialog::OnZoomIn() {
    float scale = float(m_pDirection->Scale());
    if (scale > 1) {
        scale = std::max(std::trunc(scale) - 1, 1.0f);
    } else {
        const int n = int(std::lround(1 / scale));
        if (n + 1 > 2) return;  // not past 1/2
        scale = 1.0f / float(n + 1);
    }
    m_pDirection->Zoom(scale);
    Refresh(false);
}

void CGradateDialog::OnZoomOut() {
    float scale = float(m_pDirection->Scale());
    if (scale >= kMaxZoomOutScale) return;
    if (scale >= 1) {
        scale = std::trunc(scale) + 1;
    } else {
        const int n = int(std::lround(1 / scale));
        scale = 1.0f / float(n - 1);
    }
    m_pDirection->Zoom(scale);
    Refresh(false);
}

void CGradateDialog::OnShapeOrMode() {
    if (m_bEnded) return;
    const int shape = GetCheckedRadioButton(IDC_LINEAR, IDC_CIRCULAR) == IDC_CIRCULAR ? 1 : 0;
    const int mode = GetCheckedRadioButton(IDC_TWO_COLORS, IDC_PALETTE_COLORS) == IDC_TWO_COLORS ? 0 : 1;
    if (shape == m_nShape && mode == m_nColorMode) return;
    m_nShape = shape;
    m_nColorMode = mode;
    m_bRecompute = true;
    Refresh(true);
}

void CGradateDialog::OnPreviewClicked() {
    if (m_bEnded) return;
    m_bPreview = IsDlgButtonChecked(IDC_PREVIEW) ? 1 : 0;
    Refresh(true);
}

void CGradateDialog::OnDirection() {
    if (m_bEnded) return;
    Refresh(true);
}

void CGradateDialog::OnOK() {
    if (m_bEnded) return;
    // OK keeps the gradient even with the preview off.
    if (Changed()) Compute();
    if (!m_bPreviewShown && m_hCopy && GlobalSwapBlocks(m_hLayer, m_hCopy)) m_bPreviewShown = true;
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    FreeWork();
    WinSendMessage(m_hHostWnd, WM_PLUGIN_MODIFIED, 0, 0);
    if (m_pRecord) m_pRecord->imageChanged = 1;
    SetDone();
    DestroyWindow();
}

void CGradateDialog::OnCancel() {
    if (m_bEnded) return;
    ShowUntouched();
    FreeWork();
    SetDone();
    DestroyWindow();
}

void CGradateDialog::OnDestroy() { WinSendMessage(m_hHostWnd, WM_PLUGIN_CLOSED, 0, 0); }

WinResult CGradateDialog::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    switch (message) {
    case CGradDirectionCtrl::kDirectionMessage:
        if (wparam == 0) OnDirection();
        return 1;
    case kCloseMessage: OnCancel(); return 0;
    case WM_TOOL_DOCCLOSED:
        // The document's blocks go right after this: end without touching them.
        if (m_bEnded) return 1;
        FreeWork();
        SetDone();
        DestroyWindow();
        return 1;
    default: return Dialog::OnWindowMessage(message, wparam, lparam);
    }
}

void CGradateDialog::DeclareCommands(framework::CommandTable& table) {
    table.On(IDC_START_COLOR, [this] { OnSwatch(false); })
        .On(IDC_END_COLOR, [this] { OnSwatch(true); })
        .On(IDC_ZOOM_IN, [this] { OnZoomIn(); })
        .On(IDC_ZOOM_OUT, [this] { OnZoomOut(); })
        .On(IDC_LINEAR, [this] { OnShapeOrMode(); })
        .On(IDC_CIRCULAR, [this] { OnShapeOrMode(); })
        .On(IDC_TWO_COLORS, [this] { OnShapeOrMode(); })
        .On(IDC_PALETTE_COLORS, [this] { OnShapeOrMode(); })
        .On(IDC_PREVIEW, [this] { OnPreviewClicked(); });
    Dialog::DeclareCommands(table);
}
