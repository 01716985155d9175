#include "twain/source_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "twain/twain_event.h"
#include "twain/twain_source.h"

namespace twain {

using framework::ControlKind;

namespace {

struct OptionRow {
    int id;
    const char* name;
};

// The options shown, in order, by the library's standard names.
constexpr OptionRow kRows[] = {
    {CSourceDialog::kModeId, "mode"},
    {CSourceDialog::kDepthId, "depth"},
    {CSourceDialog::kResolutionId, "resolution"},
    {CSourceDialog::kTopLeftXId, "tl-x"},
    {CSourceDialog::kTopLeftYId, "tl-y"},
    {CSourceDialog::kBottomRightXId, "br-x"},
    {CSourceDialog::kBottomRightYId, "br-y"},
};

constexpr int kRowHeight = 30;
constexpr int kTitleIdBase = 1100;

QString Unit(SANE_Unit unit) {
    switch (unit) {
    case SANE_UNIT_MM: return QStringLiteral(" mm");
    case SANE_UNIT_DPI: return QStringLiteral(" dpi");
    case SANE_UNIT_BIT: return QStringLiteral(" bit");
    default: return {};
    }
}

}  // namespace

const char* CSourceDialog::OptionName(int id) {
    for (const OptionRow& row : kRows)
        if (row.id == id) return row.name;
    return nullptr;
}

CSourceDialog::CSourceDialog(CTwainSource& source, QWidget* owner)
    : framework::Dialog(kTemplateId, nullptr), source_(source), owner_(owner) {
    const SourceIdentity& identity = source.Identity();
    setWindowTitle(QString::fromStdString(identity.vendor + " " + identity.model + " (" +
                                          identity.name + ")"));
    std::vector<framework::ControlTemplate> controls;
    int y = 12;
    for (const OptionRow& row : kRows) {
        std::optional<SourceOption> option = source.FindOption(row.name);
        bool list = option && (!option->strings.empty() || !option->words.empty());
        QString title = option ? QString::fromStdString(option->title) + Unit(option->unit)
                               : QString::fromLatin1(row.name);
        controls.push_back({kTitleIdBase + row.id, ControlKind::Label, title, {12, y + 3, 170, 20}});
        controls.push_back({row.id, list ? ControlKind::ComboBox : ControlKind::Edit, {},
                            {190, y, 150, 24}, false, !option || !option->Active(), false});
        y += kRowHeight;
    }
    controls.push_back({kLinesReadId, ControlKind::Label, {}, {12, y + 3, 328, 20}});
    y += kRowHeight;
    controls.push_back({kScanId, ControlKind::DefPushButton, QStringLiteral("扫描"), {176, y, 78, 26}});
    controls.push_back({framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"),
                        {262, y, 78, 26}});
    CreateControls(controls);
    setFixedSize(352, y + 38);
}

bool CSourceDialog::OnInitDialog() {
    for (const OptionRow& row : kRows) {
        auto* combo = Item<QComboBox>(row.id);
        std::optional<SourceOption> option = source_.FindOption(row.name);
        if (!combo || !option) continue;
        for (const std::string& s : option->strings) combo->addItem(QString::fromStdString(s));
        for (double w : option->words) combo->addItem(QString::number(w));
    }
    Refresh();
    return true;
}

void CSourceDialog::Refresh() {
    for (const OptionRow& row : kRows) {
        std::optional<SourceOption> option = source_.FindOption(row.name);
        bool active = option && option->Active();
        EnableDlgItem(row.id, active && !source_.IsTransferring());
        QString text = active ? QString::fromStdString(source_.OptionText(*option)) : QString();
        if (auto* combo = Item<QComboBox>(row.id))
            combo->setCurrentIndex(combo->findText(text));
        else
            SetDlgItemText(row.id, text);
    }
}

void CSourceDialog::applyChoice(int id) {
    if (const char* name = OptionName(id)) {
        source_.SetOptionText(name, GetDlgItemText(id).toStdString());
        Refresh();
    }
}

void CSourceDialog::applyTypedValues() {
    for (const OptionRow& row : kRows) {
        if (Item<QComboBox>(row.id) || !GetDlgItem(row.id) || !GetDlgItem(row.id)->isEnabled())
            continue;
        std::optional<SourceOption> option = source_.FindOption(row.name);
        if (!option || !option->Active()) continue;
        std::string typed = GetDlgItemText(row.id).trimmed().toStdString();
        if (!typed.empty() && typed != source_.OptionText(*option)) source_.SetOptionText(row.name, typed);
    }
    Refresh();
}

void CSourceDialog::TransferStarted() {
    for (const OptionRow& row : kRows) EnableDlgItem(row.id, false);
    EnableDlgItem(kScanId, false);
    ShowLinesRead(0);
}

void CSourceDialog::TransferEnded() {
    EnableDlgItem(kScanId, true);
    Refresh();
}

void CSourceDialog::ShowLinesRead(int lines) {
    SetDlgItemText(kLinesReadId, QStringLiteral("已读取 %1 行").arg(lines));
}

void CSourceDialog::post(int message) {
    QObject* target = owner_ ? static_cast<QObject*>(owner_.data()) : static_cast<QObject*>(this);
    QCoreApplication::postEvent(target, new TwainEvent(message));
}

void CSourceDialog::OnOK() {
    if (source_.IsTransferring()) return;
    applyTypedValues();
    post(MSG_XFERREADY);
}

void CSourceDialog::OnCancel() {
    if (source_.IsTransferring())
        source_.CancelTransfer();
    else
        post(MSG_CLOSEDSREQ);
}

void CSourceDialog::DeclareCommands(framework::CommandTable& table) {
    for (const OptionRow& row : kRows)
        table.OnNotify(row.id, framework::Notify::SelChange, [this, id = row.id] { applyChoice(id); });
    Dialog::DeclareCommands(table);
}

}  // namespace twain
