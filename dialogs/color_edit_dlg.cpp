#include "dialogs/color_edit_dlg.h"

#include <algorithm>

#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <QScrollBar>

#include "dialogs/color_swatch.h"
#include "dialogs/dialog_host.h"

using framework::ControlKind;

namespace {

int displayMode = CColorEditDlg::kRgbMode;

constexpr int kEdgeX = 250;
constexpr int kFullWidth = 430;
constexpr int kHeight = 250;

// Clearer than the system colours in RGB mode: each bar in its own colour.
const std::array<QColor, 4> kBarColors = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                                          QColor(128, 128, 128)};

}  // namespace

CColorEditDlg::CColorEditDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("改变调板"));
    std::vector<framework::ControlTemplate> controls;
    for (int i = 0; i < 4; ++i) {
        const int y = 12 + 30 * i;
        controls.push_back({kLabelIds[size_t(i)], ControlKind::Label, {}, {12, y, 20, 20}});
        controls.push_back({kBarIds[size_t(i)], ControlKind::HScrollBar, {}, {34, y + 1, 150, 18}});
        controls.push_back({kEditIds[size_t(i)], ControlKind::Edit, {}, {192, y - 1, 46, 22}});
    }
    controls.insert(controls.end(), {
        {kRgbRadioId, ControlKind::Radio, QStringLiteral("RGB"), {12, 176, 60, 20}, true},
        {kHsvRadioId, ControlKind::Radio, QStringLiteral("HSV"), {76, 176, 60, 20}},
        {kDictionaryCheckId, ControlKind::CheckBox, QStringLiteral("色表"), {150, 176, 88, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {12, 210, 108, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {130, 210, 108, 26}},
        {kDictionaryEdgeId, ControlKind::Label, {}, {kEdgeX, 0, 1, kHeight}},
        {kDictionaryListId, ControlKind::ListBox, {}, {kEdgeX + 8, 12, 160, 186}},
        {kAddEntryId, ControlKind::PushButton, QStringLiteral("登录"), {kEdgeX + 8, 210, 76, 26}},
        {kDeleteEntryId, ControlKind::PushButton, QStringLiteral("删除"), {kEdgeX + 92, 210, 76, 26}},
    });
    CreateControls(controls);
    colorSwatch_ = new ColorSwatch(this);
    colorSwatch_->setGeometry(12, 134, 110, 32);
    alphaSwatch_ = new ColorSwatch(this);
    alphaSwatch_->setGeometry(128, 134, 110, 32);
    RegisterControl(kColorSwatchId, colorSwatch_);
    RegisterControl(kAlphaSwatchId, alphaSwatch_);
    for (int id : kEditIds) Item<QLineEdit>(id)->setMaxLength(11);
    setFixedSize(kFullWidth, kHeight);
}

CColorEditDlg::~CColorEditDlg() = default;

int CColorEditDlg::Mode() { return displayMode; }

void CColorEditDlg::SetMode(int mode) { displayMode = mode ? kRgbMode : kHsvMode; }

void CColorEditDlg::SetColor(const ChosenColor& color) {
    red = color.red;
    green = color.green;
    blue = color.blue;
    alpha = color.alpha;
}

int CColorEditDlg::NarrowWidth() const {
    QWidget* edge = GetDlgItem(kDictionaryEdgeId);
    return edge ? edge->x() : kEdgeX;
}

int CColorEditDlg::FullWidth() const { return kFullWidth; }

int CColorEditDlg::component(int i) const {
    if (i == 3) return alpha;
    if (displayMode == kRgbMode) return i == 0 ? red : i == 1 ? green : blue;
    return i == 0 ? hue : i == 1 ? saturation : value;
}

int CColorEditDlg::rangeMax(int i) const {
    if (displayMode == kRgbMode || i == 3) return 255;
    return i == 0 ? 359 : 100;
}

QScrollBar* CColorEditDlg::bar(int i) const { return Item<QScrollBar>(kBarIds[size_t(i)]); }

bool CColorEditDlg::OnInitDialog() {
    alpha = std::clamp(alpha, 0, 255);
    red = std::clamp(red, 0, 255);
    green = std::clamp(green, 0, 255);
    blue = std::clamp(blue, 0, 255);
    const HsvValues hsv = RgbToHsv(Color());
    hue = hsv.hue;
    saturation = hsv.saturation;
    value = hsv.value;
    showMode();
    repaintSwatches();
    fillDictionary();
    DialogHost* host = DialogHost::Installed();
    const bool shown = host && host->ColorDictionaryMode() != 0;
    CheckDlgButton(kDictionaryCheckId, shown ? 1 : 0);
    showDictionaryPart(shown);
    return true;
}

void CColorEditDlg::showMode() {
    const bool rgb = displayMode == kRgbMode;
    filling_ = true;
    CheckRadioButton(kRgbRadioId, kHsvRadioId, rgb ? kRgbRadioId : kHsvRadioId);
    static const std::array<const char*, 4> rgbLabels = {"R", "G", "B", "A"};
    static const std::array<const char*, 4> hsvLabels = {"H", "S", "V", "A"};
    for (int i = 0; i < 4; ++i) {
        SetDlgItemText(kLabelIds[size_t(i)], QString::fromLatin1((rgb ? rgbLabels : hsvLabels)[size_t(i)]));
        SetDlgItemInt(kEditIds[size_t(i)], component(i));
        QScrollBar* b = bar(i);
        b->setRange(0, rangeMax(i));
        b->setSingleStep(1);
        b->setPageStep(std::max(rangeMax(i) / 10, 1));
        b->setValue(component(i));
    }
    filling_ = false;
    paintBars();
}

void CColorEditDlg::paintBars() {
    for (int i = 0; i < 4; ++i) {
        QPalette palette;
        if (displayMode == kRgbMode)
            for (QPalette::ColorRole role : {QPalette::Button, QPalette::Window, QPalette::Base})
                palette.setColor(role, kBarColors[size_t(i)]);
        bar(i)->setPalette(palette);
    }
}

void CColorEditDlg::setBar(int i, int position) {
    filling_ = true;
    bar(i)->setValue(position);
    filling_ = false;
}

void CColorEditDlg::applyComponent(int i, int v) {
    if (i == 3) {
        alpha = v;
    } else if (displayMode == kRgbMode) {
        (i == 0 ? red : i == 1 ? green : blue) = v;
        const HsvValues hsv = RgbToHsv(Color());
        hue = hsv.hue;
        saturation = hsv.saturation;
        value = hsv.value;
    } else {
        (i == 0 ? hue : i == 1 ? saturation : value) = v;
        ChosenColor rgb = Color();
        HsvToRgb({hue, saturation, value, alpha}, rgb);
        SetColor(rgb);
    }
    filling_ = true;
    SetDlgItemInt(kEditIds[size_t(i)], v);
    filling_ = false;
    repaintSwatches();
    setBar(i, v);
}

void CColorEditDlg::onScroll(int i) {
    if (filling_) return;
    const int position = bar(i)->value();
    if (position == component(i)) return;
    applyComponent(i, position);
}

void CColorEditDlg::onEditDone(int i) {
    const int id = kEditIds[size_t(i)];
    bool ok = false;
    int v = GetDlgItemInt(id, &ok, true);
    if (!ok) {
        // Not a number: the value the box had comes back.
        SetDlgItemInt(id, component(i));
        return;
    }
    const int clamped = std::clamp(v, 0, rangeMax(i));
    if (clamped != v || GetDlgItemText(id) != QString::number(clamped)) SetDlgItemInt(id, clamped);
    if (clamped == component(i)) return;
    setBar(i, clamped);
    applyComponent(i, clamped);
}

void CColorEditDlg::repaintSwatches() {
    colorSwatch_->SetColor(QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255),
                                  std::clamp(blue, 0, 255)));
    const int a = std::clamp(alpha, 0, 255);
    alphaSwatch_->SetColor(QColor(a, a, a));
}

void CColorEditDlg::showDictionaryPart(bool shown) {
    for (int id : {kDictionaryListId, kAddEntryId, kDeleteEntryId}) ShowDlgItem(id, shown);
    setFixedSize(shown ? FullWidth() : NarrowWidth(), kHeight);
    if (DialogHost* host = DialogHost::Installed()) host->SetColorDictionaryMode(shown ? 1 : 0);
}

void CColorEditDlg::fillDictionary() {
    auto* list = Item<QListWidget>(kDictionaryListId);
    filling_ = true;
    list->clear();
    if (DialogHost* host = DialogHost::Installed())
        for (const NamedColor& entry : host->ColorDictionary()) list->addItem(entry.name);
    filling_ = false;
}

void CColorEditDlg::pickEntry(int row) {
    if (filling_ || row < 0) return;
    DialogHost* host = DialogHost::Installed();
    if (!host) return;
    const std::vector<NamedColor> entries = host->ColorDictionary();
    if (size_t(row) >= entries.size()) return;
    SetColor(entries[size_t(row)].color);
    // Both sides stay current: the HSV of the picked colour, in either mode.
    const HsvValues hsv = RgbToHsv(Color());
    hue = hsv.hue;
    saturation = hsv.saturation;
    value = hsv.value;
    showMode();
    repaintSwatches();
}

void CColorEditDlg::addEntry() {
    DialogHost* host = DialogHost::Installed();
    if (host && !host->ProbeWorkMemory(1)) return;
    CColorNameDlg nameDlg(this);
    if (nameDlg.DoModal() != framework::IDOK || nameDlg.name.isEmpty()) return;
    if (!host || !host->AddColorDictionaryEntry({nameDlg.name, Color()})) return;
    fillDictionary();
    auto* list = Item<QListWidget>(kDictionaryListId);
    filling_ = true;
    list->setCurrentRow(list->count() - 1);
    filling_ = false;
}

void CColorEditDlg::deleteEntry() {
    auto* list = Item<QListWidget>(kDictionaryListId);
    const int row = list->currentRow();
    if (row >= 0)
        if (DialogHost* host = DialogHost::Installed()) host->DeleteColorDictionaryEntry(row);
    fillDictionary();
}

void CColorEditDlg::OnOK() {
    QWidget* focus = focusWidget();
    for (int i = 0; i < 4; ++i) {
        if (focus != GetDlgItem(kEditIds[size_t(i)])) continue;
        // Enter in an edit box applies its value; the dialog stays open.
        setFocus(Qt::OtherFocusReason);
        onEditDone(i);
        return;
    }
    if (DialogHost* host = DialogHost::Installed()) {
        host->RefreshToolPalette();
        host->ImageDrawn();
    }
    EndDialog(framework::IDOK);
}

void CColorEditDlg::DeclareCommands(framework::CommandTable& table) {
    for (int i = 0; i < 4; ++i) {
        table.OnNotify(kBarIds[size_t(i)], framework::Notify::Scroll, [this, i] { onScroll(i); });
        table.OnNotify(kEditIds[size_t(i)], framework::Notify::KillFocus, [this, i] {
            if (!filling_) onEditDone(i);
        });
    }
    table.On(kRgbRadioId, [this] {
        SetMode(kRgbMode);
        showMode();
    });
    table.On(kHsvRadioId, [this] {
        SetMode(kHsvMode);
        showMode();
    });
    table.On(kDictionaryCheckId, [this] { showDictionaryPart(IsDlgButtonChecked(kDictionaryCheckId) != 0); });
    table.OnNotify(kDictionaryListId, framework::Notify::SelChange,
                   [this] { pickEntry(Item<QListWidget>(kDictionaryListId)->currentRow()); });
    table.On(kAddEntryId, [this] { addEntry(); });
    table.On(kDeleteEntryId, [this] { deleteEntry(); });
    framework::Dialog::DeclareCommands(table);
}

CColorNameDlg::CColorNameDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("登录色表"));
    CreateControls({
        {kNameId, ControlKind::Edit, {}, {12, 14, 200, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {222, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {222, 44, 78, 26}},
    });
    auto* edit = Item<QLineEdit>(kNameId);
    edit->setMaxLength(kMaxName);
    // A comma or a line break would split the dictionary line.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,\\r\\n]*")), edit));
    setFixedSize(312, 82);
}

void CColorNameDlg::OnOK() {
    const QString text = GetDlgItemText(kNameId);
    if (text.size() > kMaxName || text.contains(u',') || text.contains(u'\r') || text.contains(u'\n'))
        return;
    name = text;
    EndDialog(framework::IDOK);
}
