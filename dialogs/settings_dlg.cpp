#include "dialogs/settings_dlg.h"

#include <QTabBar>

#include "dialogs/color_button.h"
#include "dialogs/dialog_host.h"
#include "dialogs/settings_store.h"
#include "framework/program_globals.h"

using framework::ControlKind;

namespace {

ChosenColor AsChosen(const std::array<int, 3>& c) { return {c[0], c[1], c[2], 0}; }
std::array<int, 3> FromChosen(const ChosenColor& c) {
    return {grid::ClampGridComponent(c.red), grid::ClampGridComponent(c.green),
            grid::ClampGridComponent(c.blue)};
}

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("参数设置"));
    CreateControls({
        {kAntiAliasId, ControlKind::CheckBox, QStringLiteral("进行消除锯齿处理"), {16, 12, 300, 22}},
        {0, ControlKind::Label, QStringLiteral("选择移动范围幅度"), {16, 42, 150, 20}},
        {kMoveStepId, ControlKind::Edit, {}, {170, 40, 60, 22}},
        {kKeepWindowSizeId, ControlKind::CheckBox, QStringLiteral("显示尺寸改变时，窗口尺寸不改变"),
         {16, 70, 300, 22}},
        {kReopenFilesId, ControlKind::CheckBox, QStringLiteral("下次启动时打开现在的文件"), {16, 98, 300, 22}},
        {0, ControlKind::GroupBox, QStringLiteral("主网格"), {16, 160, 150, 130}},
        {0, ControlKind::Label, QStringLiteral("横："), {26, 184, 40, 20}},
        {kMainWidthId, ControlKind::Edit, {}, {70, 182, 60, 22}},
        {0, ControlKind::Label, QStringLiteral("竖："), {26, 212, 40, 20}},
        {kMainHeightId, ControlKind::Edit, {}, {70, 210, 60, 22}},
        {0, ControlKind::Label, QStringLiteral("颜色："), {26, 240, 44, 20}},
        {kMainSnapId, ControlKind::CheckBox, QStringLiteral("截图"), {26, 264, 100, 20}},
        {0, ControlKind::GroupBox, QStringLiteral("子网格"), {180, 160, 150, 130}},
        {0, ControlKind::Label, QStringLiteral("横："), {190, 184, 40, 20}},
        {kSubWidthId, ControlKind::Edit, {}, {234, 182, 60, 22}},
        {0, ControlKind::Label, QStringLiteral("竖："), {190, 212, 40, 20}},
        {kSubHeightId, ControlKind::Edit, {}, {234, 210, 60, 22}},
        {0, ControlKind::Label, QStringLiteral("颜色："), {190, 240, 44, 20}},
        {kSubSnapId, ControlKind::CheckBox, QStringLiteral("截图"), {190, 264, 100, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {170, 306, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {254, 306, 78, 26}},
    });
    tabs_ = new QTabBar(this);
    tabs_->setGeometry(16, 130, 314, 28);
    RegisterControl(kTabId, tabs_);
    mainColor_ = new ColorButton(this);
    mainColor_->setGeometry(70, 238, 60, 22);
    RegisterControl(kMainColorId, mainColor_);
    subColor_ = new ColorButton(this);
    subColor_->setGeometry(234, 238, 60, 22);
    RegisterControl(kSubColorId, subColor_);
    setFixedSize(346, 344);
}

void CSettingsDlg::DeclareCommands(framework::CommandTable& table) {
    table.On(kMainColorId, [this] { OnColorButton(false); }).On(kSubColorId, [this] { OnColorButton(true); });
    Dialog::DeclareCommands(table);
}

void CSettingsDlg::LoadSettings(int fill) {
    ::LoadSettings();
    const grid::GridSettings& grids = grid::GetGridSettings();
    presets_ = grids.presets;
    current_ = grid::ClampPresetIndex(grids.current);
    if (!fill) return;
    const GeneralSettings& general = GetGeneralSettings();
    CheckDlgButton(kAntiAliasId, general.antiAlias ? 1 : 0);
    SetDlgItemInt(kMoveStepId, general.moveStep);
    CheckDlgButton(kKeepWindowSizeId, general.keepWindowSize ? 1 : 0);
    CheckDlgButton(kReopenFilesId, general.reopenFiles ? 1 : 0);
    ShowGridControls();
}

bool CSettingsDlg::OnInitDialog() {
    const bool result = Dialog::OnInitDialog();
    LoadSettings(1);
    {
        const QSignalBlocker quiet(tabs_);
        while (tabs_->count() > 0) tabs_->removeTab(0);
        for (int i = 0; i < grid::kPresetCount; ++i) tabs_->addTab(QString::number(i + 1));
        tabs_->setCurrentIndex(current_);
    }
    connect(tabs_, &QTabBar::currentChanged, this, &CSettingsDlg::OnTabChanged, Qt::UniqueConnection);
    return result;
}

int CSettingsDlg::CellField(int id) const {
    bool ok = false;
    const int value = GetDlgItemInt(id, &ok);
    return grid::ClampGridCell(ok ? value : 0);
}

void CSettingsDlg::TakeGridControls() {
    grid::GridPreset& p = presets_[size_t(current_)];
    p.mainWidth = CellField(kMainWidthId);
    p.mainHeight = CellField(kMainHeightId);
    p.subWidth = CellField(kSubWidthId);
    p.subHeight = CellField(kSubHeightId);
    p.enabled = (IsDlgButtonChecked(kMainSnapId) ? 1 : 0) | (IsDlgButtonChecked(kSubSnapId) ? 2 : 0);
}

void CSettingsDlg::ShowGridControls() {
    const grid::GridPreset& p = presets_[size_t(current_)];
    SetDlgItemInt(kMainWidthId, p.mainWidth);
    SetDlgItemInt(kMainHeightId, p.mainHeight);
    SetDlgItemInt(kSubWidthId, p.subWidth);
    SetDlgItemInt(kSubHeightId, p.subHeight);
    CheckDlgButton(kMainSnapId, (p.enabled & 1) ? 1 : 0);
    CheckDlgButton(kSubSnapId, (p.enabled & 2) ? 1 : 0);
    mainColor_->SetColor(AsChosen(p.mainColor));
    subColor_->SetColor(AsChosen(p.subColor));
}

void CSettingsDlg::OnTabChanged(int tab) {
    if (tab < 0 || tab >= grid::kPresetCount || tab == current_) return;
    TakeGridControls();
    current_ = tab;
    ShowGridControls();
    update();
}

void CSettingsDlg::OnColorButton(bool sub) {
    DialogHost* host = DialogHost::Installed();
    if (!host || !host->ProbeWorkMemory(1) || !host->HasActiveView()) return;
    ColorButton* button = sub ? subColor_ : mainColor_;
    ChosenColor color = button->Color();
    if (ChooseColor(this, color)) button->SetColor(color);
    grid::GridPreset& p = presets_[size_t(current_)];
    (sub ? p.subColor : p.mainColor) = FromChosen(button->Color());
}

void CSettingsDlg::OnOK() {
    GeneralSettings general = GetGeneralSettings();
    general.antiAlias = IsDlgButtonChecked(kAntiAliasId) ? 1 : 0;
    bool ok = false;
    const int step = GetDlgItemInt(kMoveStepId, &ok);
    if (ok) general.moveStep = step;
    general.keepWindowSize = IsDlgButtonChecked(kKeepWindowSizeId) ? 1 : 0;
    general.reopenFiles = IsDlgButtonChecked(kReopenFilesId) ? 1 : 0;
    SaveGeneralSettings(general);
    TakeGridControls();
    grid::CommitGridPresets(presets_, current_);
    if (DialogHost* host = DialogHost::Installed()) host->ApplyGridSettingsToActiveView();
    RefreshGridPresetMenu();
    EndDialog(framework::IDOK);
}
