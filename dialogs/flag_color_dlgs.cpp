#include "dialogs/flag_color_dlgs.h"

#include "dialogs/color_grid.h"

using framework::ControlKind;

namespace {

enum class FlagChange { Set, Clear, Flip };

void changeFlags(CFlagGrid* grid, FlagChange change, FlagButtons which) {
    for (int i = 0; i < 256; ++i) {
        if (which == FlagButtons::EnabledOnly && !grid->Enabled()[size_t(i)]) continue;
        uint8_t& flag = grid->Flags()[size_t(i)];
        flag = change == FlagChange::Set ? 1 : change == FlagChange::Clear ? 0 : uint8_t(!flag);
    }
    grid->update();
}

// A grid's three buttons in a table, by their first id.
void declareButtons(framework::CommandTable& table, int firstId, CFlagGrid* grid, FlagButtons which) {
    table.On(firstId, [=] { changeFlags(grid, FlagChange::Set, which); })
        .On(firstId + 1, [=] { changeFlags(grid, FlagChange::Clear, which); })
        .On(firstId + 2, [=] { changeFlags(grid, FlagChange::Flip, which); });
}

std::vector<framework::ControlTemplate> buttonRow(int firstId, int x, int y) {
    return {
        {firstId, ControlKind::PushButton, QStringLiteral("全选"), {x, y, 76, 26}},
        {firstId + 1, ControlKind::PushButton, QStringLiteral("取消选择"), {x + 82, y, 76, 26}},
        {firstId + 2, ControlKind::PushButton, QStringLiteral("反向选择"), {x + 164, y, 76, 26}},
    };
}

}  // namespace

// ---- CUnusedColorDlg ----

CUnusedColorDlg::CUnusedColorDlg(CPelmarkDoc* doc, QWidget* parent)
    : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("删除未使用的颜色"));
    const int g = CColorGrid::kSize;
    std::vector<framework::ControlTemplate> controls = buttonRow(kSelectAllId, 12, 20 + g);
    controls.push_back({framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {g + 24, 12, 80, 26}});
    controls.push_back({framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {g + 24, 44, 80, 26}});
    CreateControls(controls);
    grid_ = new CFlagGrid(this);
    grid_->move(12, 12);
    grid_->SetDocument(doc);
    RegisterControl(kGridId, grid_);
    setFixedSize(g + 116, g + 58);
}

bool CUnusedColorDlg::OnInitDialog() {
    grid_->Flags() = flags;
    grid_->Enabled() = enabled;
    grid_->update();
    return true;
}

void CUnusedColorDlg::OnOK() {
    flags = grid_->Flags();
    EndDialog(framework::IDOK);
}

void CUnusedColorDlg::DeclareCommands(framework::CommandTable& table) {
    declareButtons(table, kSelectAllId, grid_, FlagButtons::EnabledOnly);
    framework::Dialog::DeclareCommands(table);
}

// ---- CMaskColorDlg ----

CMaskColorDlg::CMaskColorDlg(CPelmarkDoc* doc, QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("遮罩颜色设置"));
    copyEnabled.fill(1);
    pasteEnabled.fill(1);
    const int g = CColorGrid::kSize;
    const int right = 24 + g;
    std::vector<framework::ControlTemplate> controls = {
        {-1, ControlKind::Label, QStringLiteral("复制时去除的颜色"), {12, 8, g, 18}},
        {-1, ControlKind::Label, QStringLiteral("粘贴时保护的颜色"), {right, 8, g, 18}},
    };
    for (const auto& c : buttonRow(kCopyAllId, 12, 36 + g)) controls.push_back(c);
    for (const auto& c : buttonRow(kPasteAllId, right, 36 + g)) controls.push_back(c);
    controls.push_back({framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"),
                        {right + g - 170, 72 + g, 80, 26}});
    controls.push_back({framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"),
                        {right + g - 80, 72 + g, 80, 26}});
    CreateControls(controls);
    copyGrid_ = new CFlagGrid(this);
    copyGrid_->move(12, 28);
    pasteGrid_ = new CFlagGrid(this);
    pasteGrid_->move(right, 28);
    for (CFlagGrid* grid : {copyGrid_, pasteGrid_}) grid->SetDocument(doc);
    RegisterControl(kCopyGridId, copyGrid_);
    RegisterControl(kPasteGridId, pasteGrid_);
    setFixedSize(right + g + 12, 110 + g);
}

bool CMaskColorDlg::OnInitDialog() {
    copyGrid_->Flags() = copyFlags;
    copyGrid_->Enabled() = copyEnabled;
    pasteGrid_->Flags() = pasteFlags;
    pasteGrid_->Enabled() = pasteEnabled;
    copyGrid_->update();
    pasteGrid_->update();
    return true;
}

void CMaskColorDlg::OnOK() {
    copyFlags = copyGrid_->Flags();
    pasteFlags = pasteGrid_->Flags();
    EndDialog(framework::IDOK);
}

void CMaskColorDlg::DeclareCommands(framework::CommandTable& table) {
    declareButtons(table, kCopyAllId, copyGrid_, FlagButtons::All);
    declareButtons(table, kPasteAllId, pasteGrid_, FlagButtons::All);
    framework::Dialog::DeclareCommands(table);
}
