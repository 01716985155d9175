#include "plugins/tesserel/mosaic_dialog.h"

#include <algorithm>

#include <QAbstractSlider>
#include <QSlider>
#include <QSpinBox>

#include "platform/window_qt.h"
#include "plugin_api/plugin_messages.h"

using framework::ControlKind;

CMosaicDialog::CMosaicDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info)
    : Dialog(IDD, platform::WinWidget(hostWindow)), m_hHostWnd(hostWindow), m_pRecord(record) {
    setWindowTitle(QStringLiteral("马赛克"));
    resize(250, 112);
    CreateControls({
        {IDC_SIZE, ControlKind::Edit, QString(), {12, 12, 48, 22}},
        {IDC_SIZE_SPIN, ControlKind::SpinBox, QString(), {60, 12, 18, 22}},
        {0, ControlKind::Label, QStringLiteral("像素"), {84, 14, 40, 18}},
        {IDC_SIZE_BAR, ControlKind::Slider, QString(), {12, 44, 226, 28}},
        {IDC_PREVIEW, ControlKind::CheckBox, QStringLiteral("预览"), {12, 82, 80, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {100, 80, 66, 24}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {172, 80, 66, 24}},
    });
    m_pSpin = Item<QSpinBox>(IDC_SIZE_SPIN);
    m_pEngine = std::make_unique<MosaicEngine>(info ? info->image : nullptr, record);
    auto* bar = Item<QSlider>(IDC_SIZE_BAR);
    // The size follows the thumb when it is let go, not while it is dragged.
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar] { TakeCell(bar->sliderPosition()); });
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
        if (action != QAbstractSlider::SliderMove) TakeCell(bar->sliderPosition());
    });
}

CMosaicDialog::~CMosaicDialog() = default;

bool CMosaicDialog::OnInitDialog() {
    auto* bar = Item<QSlider>(IDC_SIZE_BAR);
    m_bSettingControls = true;
    m_pSpin->setRange(1, kMaxCell);
    bar->setRange(1, kMaxCell);
    bar->setPageStep(5);
    bar->setTickInterval(5);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setValue(m_nCell);
    m_pSpin->setValue(m_nCell);
    SetDlgItemInt(IDC_SIZE, m_nCell);
    CheckDlgButton(IDC_PREVIEW, m_bPreview);
    m_bSettingControls = false;
    return true;
}

void CMosaicDialog::TakeCell(int typed) {
    if (m_bSettingControls) return;
    const int value = std::clamp(typed, 1, kMaxCell);
    if (value == m_nCell) {
        // "250" at 100 already: the edit shows 100 again.
        if (typed > kMaxCell) {
            m_bSettingControls = true;
            SetDlgItemInt(IDC_SIZE, value);
            m_bSettingControls = false;
        }
        return;
    }
    m_nCell = value;
    m_bSettingControls = true;
    m_pSpin->setValue(value);
    Item<QSlider>(IDC_SIZE_BAR)->setValue(value);
    if (GetDlgItemText(IDC_SIZE) != QString::number(value)) SetDlgItemInt(IDC_SIZE, value);
    m_bSettingControls = false;
    repaint();
    m_bRecompute = true;
    if (m_bPreview) {
        m_pEngine->Apply(m_nCell);
        m_bRecompute = false;
    }
    Show();
}

void CMosaicDialog::Show() {
    if (m_bPreview)
        m_pEngine->ShowResult();
    else
        m_pEngine->ShowOriginal();
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
}

void CMosaicDialog::OnPreviewClicked() {
    m_bPreview = IsDlgButtonChecked(IDC_PREVIEW) ? 1 : 0;
    if (m_bPreview && m_bRecompute) {
        m_pEngine->Apply(m_nCell);
        m_bRecompute = false;
    }
    Show();
}

void CMosaicDialog::OnOK() {
    if (m_bRecompute) {
        m_pEngine->Apply(m_nCell);
        m_bRecompute = false;
    }
    m_pEngine->ShowResult();
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    if (m_pRecord) m_pRecord->imageChanged = 1;
    EndDialog(framework::IDOK);
}

void CMosaicDialog::OnCancel() {
    m_pEngine->ShowOriginal();
    WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    EndDialog(framework::IDCANCEL);
}

void CMosaicDialog::DeclareCommands(framework::CommandTable& table) {
    table.OnNotify(IDC_SIZE, framework::Notify::Changed,
                   [this] {
                       bool ok = false;
                       const int value = GetDlgItemInt(IDC_SIZE, &ok);
                       TakeCell(ok ? value : 0);
                   })
        .OnNotify(IDC_SIZE_SPIN, framework::Notify::Changed, [this] { TakeCell(m_pSpin->value()); })
        .On(IDC_PREVIEW, [this] { OnPreviewClicked(); });
    Dialog::DeclareCommands(table);
}
