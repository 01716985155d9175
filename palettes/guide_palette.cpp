#include "palettes/guide_palette.h"

#include <QApplication>
#include <QComboBox>

#include "dialogs/color_button.h"
#include "dialogs/color_choice.h"
#include "document/display_toggles.h"
#include "framework/view.h"
#include "imaging/rgba_entry.h"
#include "palettes/palette_host.h"
#include "plugin_api/plugin_messages.h"
#include "view/guide_geometry.h"
#include "view/guide_settings.h"

namespace {

using framework::ControlKind;

// The guide edit command of the canvas view ("辅助线设定").
constexpr framework::CommandId kGuideEditCommand = 34037;

guide::ScreenPoint StartOf(const GuideSettings& g) { return {g.startX, g.startY}; }
guide::ScreenPoint EndOf(const GuideSettings& g) { return {g.endX, g.endY}; }

}  // namespace

CGuidePalette::CGuidePalette()
    : PaletteDialog(276, QStringLiteral("辅助线"), QStringLiteral("GaidPalettePos"), 11, QSize(180, 150)) {
    setObjectName(QStringLiteral("GuidePalette"));
    CreateControls({
        {kModeComboId, ControlKind::ComboBox, {}, {8, 8, 164, 24}},
        {kStartTextId, ControlKind::Label, {}, {8, 38, 164, 18}},
        {kEndTextId, ControlKind::Label, {}, {8, 58, 164, 18}},
        {-1, ControlKind::Label, QStringLiteral("长度"), {8, 86, 36, 22}},
        {kLengthEditId, ControlKind::Edit, {}, {46, 86, 60, 22}},
        {-1, ControlKind::Label, QStringLiteral("角度"), {8, 116, 36, 22}},
        {kAngleEditId, ControlKind::Edit, {}, {46, 116, 60, 22}},
    });
    auto* color = new ColorButton(this);
    color->setGeometry(116, 86, 56, 52);
    color->setAutoDefault(false);
    RegisterControl(kColorButtonId, color);
}

// Written here: by the base class's destructor this palette's numbers
// would be gone.
CGuidePalette::~CGuidePalette() { SavePosition(); }

PaletteHost* CGuidePalette::host() const { return PaletteHost::Of(parentWidget()); }

void CGuidePalette::DeclareCommands(framework::CommandTable& table) {
    using framework::Notify;
    table.OnNotify(kModeComboId, Notify::SelChange, [this] { OnModeChange(); })
        .OnNotify(kLengthEditId, Notify::Changed, [this] { if (!loading_) ApplyLength(); })
        .OnNotify(kAngleEditId, Notify::Changed, [this] { if (!loading_) ApplyAngle(); })
        .On(kColorButtonId, [this] { OnLineColor(); });
    PaletteDialog::DeclareCommands(table);
}

// ---- The key -------------------------------------------------------------------

void CGuidePalette::ApplyPosition(const std::vector<int>& numbers) {
    // Never smaller than the template.
    move(numbers[0], numbers[1]);
    resize(std::max(numbers[2], width()), std::max(numbers[3], height()));
    GuideSettings& g = GetGuideSettings();
    g = guide::FromStoredValues(g, {numbers.begin() + 4, numbers.end()});
    // The key keeps no points: a straight guide not yet placed comes back
    // with its length and direction from the start.
    if (g.mode == 0 && g.startX == g.endX && g.startY == g.endY) {
        const guide::ScreenPoint end = guide::EndForAngle(StartOf(g), g.length, g.angle);
        g.endX = end.x;
        g.endY = end.y;
    }
}

std::vector<int> CGuidePalette::PositionNumbers(const QRect& r) const {
    const GuideSettings& g = GetGuideSettings();
    bool lengthOk = false, angleOk = false;
    const int length = GetDlgItemInt(kLengthEditId, &lengthOk);
    const int angle = GetDlgItemInt(kAngleEditId, &angleOk);
    const auto* combo = Item<QComboBox>(kModeComboId);
    const int mode = combo && combo->currentIndex() >= 0 ? combo->currentIndex() : g.mode;
    return {r.left(), r.top(), r.width(), r.height(), g.color[0], g.color[1], g.color[2], g.color[3],
            mode, lengthOk ? guide::ClampLength(length) : g.length, angleOk ? angle : g.angle};
}

// ---- Controls ------------------------------------------------------------------

bool CGuidePalette::OnInitDialog() {
    if (auto* combo = Item<QComboBox>(kModeComboId)) {
        combo->clear();
        combo->addItems({QStringLiteral("直线"), QStringLiteral("放射线")});
    }
    Refresh();
    SetTimer(kFocusTimer, kFocusInterval);
    return true;
}

void CGuidePalette::SetShownInt(int id, int value) {
    const bool was = loading_;
    loading_ = true;
    SetDlgItemInt(id, value);
    loading_ = was;
}

void CGuidePalette::Refresh() {
    const GuideSettings& g = GetGuideSettings();
    if (auto* combo = Item<QComboBox>(kModeComboId)) combo->setCurrentIndex(g.mode == 1 ? 1 : 0);
    if (auto* color = Item<ColorButton>(kColorButtonId))
        color->SetColor({g.color[0], g.color[1], g.color[2], g.color[3]});
    ShowPoints();
    EnableForMode();
    ShowLengthAngle();
}

void CGuidePalette::ShowPoints() {
    const GuideSettings& g = GetGuideSettings();
    if (g.mode == 1) {
        SetDlgItemText(kStartTextId, QString::asprintf("中心点：%5d,%5d", g.startX, g.startY));
        SetDlgItemText(kEndTextId, QString());
    } else {
        SetDlgItemText(kStartTextId, QString::asprintf("始：%5d,%5d", g.startX, g.startY));
        SetDlgItemText(kEndTextId, QString::asprintf("终：%5d,%5d", g.endX, g.endY));
    }
}

void CGuidePalette::EnableForMode() {
    EnableDlgItem(kLengthEditId, GetGuideSettings().mode == 0);
    EnableDlgItem(kAngleEditId, true);
    EnableDlgItem(kColorButtonId, true);
}

void CGuidePalette::ShowLengthAngle() {
    GuideSettings& g = GetGuideSettings();
    if (g.mode == 1) g.angle = guide::RadialAngle(g.angle);
    shownAngle_ = g.mode == 1 ? g.angle : guide::ShownDirection(StartOf(g), EndOf(g));
    SetShownInt(kLengthEditId, g.length);
    SetShownInt(kAngleEditId, shownAngle_);
}

// ---- Edits ---------------------------------------------------------------------

void CGuidePalette::ApplyLength() {
    GuideSettings& g = GetGuideSettings();
    bool ok = false;
    const int typed = GetDlgItemInt(kLengthEditId, &ok);
    if (!ok || g.mode != 0) return;
    const int length = guide::ClampLength(typed);
    if (length != typed) SetShownInt(kLengthEditId, length);
    if (length == g.length) return;
    g.length = length;
    const guide::ScreenPoint end = guide::EndForLength(StartOf(g), EndOf(g), length);
    g.endX = end.x;
    g.endY = end.y;
    GuideEdited();
}

void CGuidePalette::ApplyAngle() {
    GuideSettings& g = GetGuideSettings();
    bool ok = false;
    const int typed = GetDlgItemInt(kAngleEditId, &ok);
    if (!ok || typed == shownAngle_) return;
    if (g.mode == 1) {
        g.angle = guide::RadialAngle(typed);
        if (g.angle != typed) SetShownInt(kAngleEditId, g.angle);
    } else {
        g.angle = std::max(typed, 0);
        if (g.angle != typed) SetShownInt(kAngleEditId, g.angle);
        const guide::ScreenPoint end = guide::EndForAngle(StartOf(g), g.length, g.angle);
        g.endX = end.x;
        g.endY = end.y;
    }
    shownAngle_ = g.angle;
    GuideEdited();
}

void CGuidePalette::ApplyLengthAngle() {
    ApplyLength();
    ApplyAngle();
}

void CGuidePalette::GuideEdited() {
    ShowPoints();
    if (PaletteHost* h = host()) h->GuideEdited();
}

void CGuidePalette::OnModeChange() {
    const auto* combo = Item<QComboBox>(kModeComboId);
    GetGuideSettings().mode = combo && combo->currentIndex() == 1 ? 1 : 0;
    ShowPoints();
    EnableForMode();
    ShowLengthAngle();
    if (PaletteHost* h = host()) h->GuideEdited();
}

void CGuidePalette::OnLineColor() {
    GuideSettings& g = GetGuideSettings();
    RgbaEntry entry{uint8_t(std::clamp(g.color[0], 0, 255)), uint8_t(std::clamp(g.color[1], 0, 255)),
                    uint8_t(std::clamp(g.color[2], 0, 255)), uint8_t(std::clamp(g.color[3], 0, 255))};
    PaletteHost* h = host();
    bool accepted = false;
    if (h) {
        accepted = h->EditPaletteColor(entry);
    } else {
        ChosenColor color{entry.red, entry.green, entry.blue, entry.alpha};
        accepted = ChooseColor(this, color);
        entry = {uint8_t(std::clamp(color.red, 0, 255)), uint8_t(std::clamp(color.green, 0, 255)),
                 uint8_t(std::clamp(color.blue, 0, 255)), uint8_t(std::clamp(color.alpha, 0, 255))};
    }
    if (accepted) {
        g.color = {entry.red, entry.green, entry.blue, entry.alpha};
        if (auto* button = Item<ColorButton>(kColorButtonId))
            button->SetColor({g.color[0], g.color[1], g.color[2], g.color[3]});
    }
    if (h) h->GuideEdited();
}

void CGuidePalette::OnToggleEdit() {
    ApplyLengthAngle();
    PaletteHost* h = host();
    // Without a canvas to take the command the flag would stay flipped.
    if (!h || !h->ActiveView()) return;
    bool& editing = GetViewDisplayToggles().guideEdit;
    editing = !editing;
    h->SendFrameCommand(kGuideEditCommand);
}

void CGuidePalette::OnOK() { OnToggleEdit(); }

void CGuidePalette::OnCancel() { OnClose(); }

void CGuidePalette::OnClose() {
    hide();
    if (PaletteHost* h = host()) h->PaletteClosed(this);
}

// ---- Messages and the timer -------------------------------------------------------

WinResult CGuidePalette::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    if (message == WM_GUIDE_REFRESH) {
        Refresh();
        return 0;
    }
    return PaletteDialog::OnWindowMessage(message, wparam, lparam);
}

void CGuidePalette::OnTimer(int id) {
    if (id != kFocusTimer) return PaletteDialog::OnTimer(id);
    // Only the palette's own window: focus in one of its controls stays, or
    // nothing could be typed into them.
    if (QApplication::focusWidget() != this) return;
    PaletteHost* h = host();
    if (framework::View* view = h ? h->ActiveView() : nullptr) {
        view->window()->activateWindow();
        view->setFocus();
    }
}
