#include "twain/device_list_dlg.h"

#include <QListWidget>

namespace twain {

using framework::ControlKind;

CDeviceListDlg::CDeviceListDlg(const std::vector<SourceIdentity>& devices, const std::string& current,
                               QWidget* parent)
    : framework::Dialog(kTemplateId, parent), devices_(devices), current_(current) {
    setWindowTitle(QStringLiteral("选择 TWAIN32 源"));
    CreateControls({
        {kListId, ControlKind::ListBox, {}, {12, 12, 360, 160}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {384, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {384, 44, 78, 26}},
    });
    setFixedSize(474, 184);
}

bool CDeviceListDlg::OnInitDialog() {
    auto* list = Item<QListWidget>(kListId);
    int selected = devices_.empty() ? -1 : 0;
    for (size_t i = 0; i < devices_.size(); ++i) {
        const SourceIdentity& d = devices_[i];
        list->addItem(QStringLiteral("%1 %2 (%3)")
                          .arg(QString::fromStdString(d.vendor), QString::fromStdString(d.model),
                               QString::fromStdString(d.name)));
        if (d.name == current_) selected = int(i);
    }
    list->setCurrentRow(selected);
    EnableDlgItem(framework::IDOK, selected >= 0);
    return Dialog::OnInitDialog();
}

void CDeviceListDlg::OnOK() {
    chosen_ = Item<QListWidget>(kListId)->currentRow();
    if (chosen_ < 0 || chosen_ >= int(devices_.size())) chosen_ = -1;
    EndDialog(framework::IDOK);
}

void CDeviceListDlg::DeclareCommands(framework::CommandTable& table) {
    table.OnNotify(kListId, framework::Notify::DblClk, [this] { OnOK(); })
        .OnNotify(kListId, framework::Notify::SelChange, [this] {
            EnableDlgItem(framework::IDOK, Item<QListWidget>(kListId)->currentRow() >= 0);
        });
    Dialog::DeclareCommands(table);
}

}  // namespace twain
