#include "plugins/tonalis/tone_dialog.h"

#include <algorithm>
#include <cstdlib>

#include <QGuiApplication>
#include <QSlider>
#include <QSpinBox>

#include "framework/wait_cursor.h"
#include "platform/message_box.h"
#include "platform/window_qt.h"
#include "plugins/kit/kit_blocks.h"
#include "plugins/tonalis/dib_palette.h"
#include "plugins/tonalis/layer_index_map.h"

using framework::ControlKind;

namespace {

constexpr int kEdits[] = {CToneDialog::IDC_HUE, CToneDialog::IDC_SATURATION, CToneDialog::IDC_LIGHTNESS};
constexpr int kSpins[] = {CToneDialog::IDC_HUE_SPIN, CToneDialog::IDC_SATURATION_SPIN, CToneDialog::IDC_LIGHTNESS_SPIN};
constexpr int kBars[] = {CToneDialog::IDC_HUE_BAR, CToneDialog::IDC_SATURATION_BAR, CToneDialog::IDC_LIGHTNESS_BAR};

constexpr std::array<CToneDialog::Range, 3> kNormalRanges{{{-180, 180}, {-100, 100}, {-100, 100}}};
constexpr std::array<CToneDialog::Range, 3> kColorizeRanges{{{0, 360}, {0, 100}, {-100, 100}}};

// An optional minus sign and decimal digits (none is 0). False for anything
// else; the magnitude stops growing past `limit`.
bool ParseValue(const QString& text, int limit, int* value) {
    int i = 0, magnitude = 0;
    const bool negative = text.startsWith(u'-');
    if (negative) ++i;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < u'0' || c > u'9') return false;
        magnitude = std::min(magnitude * 10 + (c.unicode() - u'0'), limit + 1);
    }
    *value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

CToneDialog::CToneDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info)
    : Dialog(IDD, platform::WinWidget(hostWindow)), m_pRecord(record), m_pInfo(info), m_hHostWnd(hostWindow) {
    SetKitMemoryMessage("メモリ不足", "error");
    setWindowTitle(QStringLiteral("色調変更"));
    resize(404, 280);
    std::vector<framework::ControlTemplate> controls = {
        {0, ControlKind::GroupBox, QString(), {8, 4, 112, 200}},
        {IDC_MASTER, ControlKind::Radio, QStringLiteral("マスター"), {16, 14, 100, 20}, true},
        {11001, ControlKind::Radio, QStringLiteral("赤系"), {16, 37, 100, 20}},
        {11002, ControlKind::Radio, QStringLiteral("黄色系"), {16, 60, 100, 20}},
        {11003, ControlKind::Radio, QStringLiteral("緑系"), {16, 83, 100, 20}},
        {11004, ControlKind::Radio, QStringLiteral("シアン系"), {16, 106, 100, 20}},
        {11005, ControlKind::Radio, QStringLiteral("青系"), {16, 129, 100, 20}},
        {11006, ControlKind::Radio, QStringLiteral("マゼンタ系"), {16, 152, 100, 20}},
        {IDC_COLORIZE, ControlKind::Radio, QStringLiteral("色彩統一"), {16, 175, 100, 20}},
    };
    const char* labels[] = {"色相", "彩度", "明度"};
    for (int row = 0; row < kRows; ++row) {
        const int y = 10 + row * 58;
        controls.push_back({0, ControlKind::Label, QString::fromUtf8(labels[row]), {132, y + 2, 44, 18}});
        controls.push_back({kEdits[row], ControlKind::Edit, QString(), {180, y, 56, 22}});
        controls.push_back({kSpins[row], ControlKind::SpinBox, QString(), {236, y, 18, 22}});
        controls.push_back({kBars[row], ControlKind::Slider, QString(), {132, y + 26, 262, 24}});
    }
    controls.push_back({IDC_PALETTE_MODE, ControlKind::CheckBox, QStringLiteral("カラーパレットごと変更する"), {132, 184, 262, 20}});
    controls.push_back({IDC_PREVIEW, ControlKind::CheckBox, QStringLiteral("プレビュー"), {12, 214, 104, 20}});
    controls.push_back({framework::IDOK, ControlKind::DefPushButton, QStringLiteral("OK"), {232, 242, 76, 26}});
    controls.push_back({framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("キャンセル"), {316, 242, 80, 26}});
    CreateControls(controls);
}

CToneDialog::~CToneDialog() { FreeWork(); }

int& CToneDialog::Param(int row) {
    ToneParams& p = Params();
    return row == kHue ? p.hue : row == kSaturation ? p.saturation : p.lightness;
}

bool CToneDialog::Active() {
    const ToneParams& p = Params();
    return Colorizing() || p.hue != 0 || p.saturation != 0 || p.lightness != 0;
}

bool CToneDialog::OnInitDialog() {
    LoadControls();
    CheckRadioButton(IDC_MASTER, IDC_COLORIZE, IDC_MASTER);
    CheckDlgButton(IDC_PALETTE_MODE, m_bPaletteMode);
    CheckDlgButton(IDC_PREVIEW, m_bPreview);

    MemHandle image = m_pInfo ? m_pInfo->image : nullptr;
    m_pPalette = std::make_unique<DibPaletteCopy>();
    if (!GetDibPalette(WindowHandle(), image, m_pPalette.get())) {
        FreeWork();
        m_nDone = 1;
        EndDialog(framework::IDCANCEL);
        return true;
    }
    if (!m_pRecord || !m_pRecord->layers) {
        Fail("Layer is not selected", "error");
        return true;
    }
    ImageColors colors;
    m_hLayer = ToolCurrentLayer(m_pRecord);
    if (!ReadImageColors(image, &colors) || !LayerHoldsImage(m_hLayer, colors.width, colors.height)) {
        Fail("Layer is not selected", "error");
        return true;
    }
    m_hCopy = GlobalDuplicate(m_hLayer);
    if (!m_hCopy) {
        Fail("メモリ不足", "error");
        return true;
    }
    if (!m_pRecord->selectionMask) ShowMessageBox(WindowHandle(), "選択範囲未対応", "", MB_BTN_OK);
    if (!m_masks.Take(m_pRecord->selectionMask, colors.width, colors.height)) {
        Fail("メモリ不足", "error");
        return true;
    }
    m_bRecompute = true;
    return true;
}

void CToneDialog::Fail(const char* text, const char* caption) {
    ShowMessageBox(WindowHandle(), text, caption, MB_BTN_OK);
    FreeWork();
    m_nDone = 1;
    EndDialog(framework::IDCANCEL);
}

void CToneDialog::FreeWork() {
    m_masks.Release();
    GlobalFreeSafe(m_hCopy);
    m_hCopy = nullptr;
    m_pPalette.reset();
}

void CToneDialog::Compute() {
    if (!m_hCopy || !m_pPalette || !Unshow()) return;
    const ToneParams p = Params();
    const int band = Colorizing() ? kColorizeBand : m_nBand;
    framework::WaitCursor wait;
    MemHandle image = m_pInfo->image;
    if (m_bPaletteMode) {
        if (!GetDibPalette(WindowHandle(), image, m_pPalette.get())) return;
        AdjustTonePalette(m_pPalette.get(), p.hue, p.saturation, p.lightness, band);
    } else {
        ImageColors colors;
        if (!ReadImageColors(image, &colors)) return;
        uint8_t table[256];
        BuildIndexTable(
            colors, [&](uint32_t c) { return AdjustTone(c, p.hue, p.lightness, p.saturation, band); }, table);
        if (!MapLayerIndexes(m_hLayer, m_hCopy, colors.width, colors.height, table, m_masks.Protect(),
                             m_masks.Selection(), m_pRecord))
            return;
    }
    m_bRecompute = false;
}

bool CToneDialog::Exchange(bool palette) {
    if (palette ? ExchangeDibPalette(WindowHandle(), m_pInfo->image, m_pPalette.get())
                : GlobalSwapBlocks(m_hLayer, m_hCopy)) {
        m_bPreviewShown = !m_bPreviewShown;
        m_bShowingPalette = palette;
        return true;
    }
    return false;
}

bool CToneDialog::Unshow() { return !m_bPreviewShown || Exchange(m_bShowingPalette); }

void CToneDialog::Show(bool force) {
    if (!m_hCopy || !m_pPalette) return;
    const bool wanted = (force || m_bPreview) && Active() && !m_bRecompute;
    if (m_bPreviewShown && (!wanted || m_bShowingPalette != bool(m_bPaletteMode))) Unshow();
    if (wanted && !m_bPreviewShown) Exchange(m_bPaletteMode);
    Refresh();
}

void CToneDialog::Refresh() { WinSendMessage(m_hHostWnd, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 0); }

void CToneDialog::Changed() {
    m_bRecompute = true;
    if (m_bPreview && Active()) Compute();
    Show();
}

void CToneDialog::LoadControls() {
    m_ranges = Colorizing() ? kColorizeRanges : kNormalRanges;
    for (int row = 0; row < kRows; ++row) {
        m_bSettingControls = true;
        Item<QSlider>(kBars[row])->setRange(m_ranges[row].min, m_ranges[row].max);
        Item<QSlider>(kBars[row])->setPageStep(10);
        Item<QSpinBox>(kSpins[row])->setRange(m_ranges[row].min, m_ranges[row].max);
        m_bSettingControls = false;
        MoveRowControls(row);
        SetRowText(row, QString::number(Param(row)));
        m_strOldText[row] = m_strText[row];
    }
}

void CToneDialog::MoveRowControls(int row) {
    m_bSettingControls = true;
    Item<QSlider>(kBars[row])->setValue(Param(row));
    Item<QSpinBox>(kSpins[row])->setValue(Param(row));
    m_bSettingControls = false;
}

void CToneDialog::SetRowText(int row, const QString& text) {
    m_strText[row] = text;
    if (GetDlgItemText(kEdits[row]) == text) return;
    m_bSettingControls = true;
    SetDlgItemText(kEdits[row], text);
    m_bSettingControls = false;
}

void CToneDialog::OnEdited(int row) {
    if (m_bSettingControls) return;
    const QString text = GetDlgItemText(kEdits[row]);
    const Range range = m_ranges[size_t(row)];
    int value = 0;
    const bool number = ParseValue(text, std::max(std::abs(range.min), std::abs(range.max)), &value);
    const bool inRange = number && std::abs(value) <= range.max && value >= range.min;
    if (number && !inRange) {
        const QString message = QStringLiteral(" %1～%2 の整数を入力して下さい").arg(range.min).arg(range.max);
        ShowMessageBox(WindowHandle(), message.toUtf8().constData(), "値が範囲を超えています", MB_BTN_OK);
    }
    if (!inRange) {
        // Refused: the last accepted text and value come back.
        m_bSettingControls = true;
        SetDlgItemText(kEdits[row], m_strText[row]);
        m_bSettingControls = false;
        return;
    }
    m_strOldText[row] = m_strText[row];
    m_strText[row] = text;
    const bool changed = value != Param(row);
    Param(row) = value;
    MoveRowControls(row);
    if (changed) Changed();
}

void CToneDialog::OnPicked(int row, int value) {
    if (m_bSettingControls) return;
    value = std::clamp(value, m_ranges[size_t(row)].min, m_ranges[size_t(row)].max);
    const bool changed = value != Param(row);
    Param(row) = value;
    m_strOldText[row] = m_strText[row];
    SetRowText(row, QString::number(value));
    MoveRowControls(row);
    if (changed) Changed();
}

void CToneDialog::OnBand(int band) {
    const bool leaving = Colorizing();
    m_nBand = band;
    m_nColorize = -1;
    if (leaving) LoadControls();
    Changed();
}

void CToneDialog::OnColorize() {
    const bool entering = !Colorizing();
    m_nBand = kColorizeBand;
    m_nColorize = 0;
    if (entering) LoadControls();
    Changed();
}

void CToneDialog::OnPaletteMode() {
    m_bPaletteMode = IsDlgButtonChecked(IDC_PALETTE_MODE) ? 1 : 0;
    Changed();
}

void CToneDialog::OnPreview() {
    m_bPreview = IsDlgButtonChecked(IDC_PREVIEW) ? 1 : 0;
    if (m_bPreview && m_bRecompute && Active()) Compute();
    Show();
}

void CToneDialog::OnOK() {
    if (Active()) {
        if (m_bRecompute) Compute();
        Show(true);
    } else {
        Show();
    }
    FreeWork();
    if (m_pRecord) m_pRecord->imageChanged = 1;
    m_nDone = 1;
    EndDialog(framework::IDOK);
}

void CToneDialog::OnCancel() {
    if (m_bPreviewShown) Unshow();
    Refresh();
    FreeWork();
    EndDialog(framework::IDCANCEL);
}

void CToneDialog::DeclareCommands(framework::CommandTable& table) {
    for (int row = 0; row < kRows; ++row) {
        table.OnNotify(kEdits[row], framework::Notify::Changed, [this, row] { OnEdited(row); })
            .OnNotify(kSpins[row], framework::Notify::Changed,
                      [this, row] { OnPicked(row, Item<QSpinBox>(kSpins[row])->value()); })
            .OnNotify(kBars[row], framework::Notify::Scroll,
                      [this, row] { OnPicked(row, Item<QSlider>(kBars[row])->value()); });
    }
    for (int band = 0; band <= 6; ++band) table.On(IDC_MASTER + band, [this, band] { OnBand(band); });
    table.On(IDC_COLORIZE, [this] { OnColorize(); })
        .On(IDC_PALETTE_MODE, [this] { OnPaletteMode(); })
        .On(IDC_PREVIEW, [this] { OnPreview(); });
    Dialog::DeclareCommands(table);
}
