#include "dialogs/link_text_dlg.h"

#include <algorithm>
#include <cstring>

#include <QPlainTextEdit>

#include "imagemap/area_html.h"

using framework::ControlKind;

CLinkTextDlg::CLinkTextDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("可点选区域的文本"));
    CreateControls({
        {kTextId, ControlKind::MultiLineEdit, {}, {8, 8, 420, 300}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {350, 316, 78, 26}},
    });
    if (auto* edit = Item<QPlainTextEdit>(kTextId)) {
        edit->setReadOnly(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    setFixedSize(436, 350);
}

CLinkTextDlg::~CLinkTextDlg() { FreeAreaHtml(); }

bool CLinkTextDlg::BuildAreaHtml(const imagemap::RegionTable& regions) {
    FreeAreaHtml();
    const std::string text = imagemap::BuildAreaHtml(regions);
    // Zero-filled, so the text keeps its terminator.
    block_ = MemAlloc(std::max(kMinBlockBytes, text.size() + 1));
    if (!block_) return false;
    MemLockGuard lock(block_);
    if (!lock) return false;
    std::memcpy(lock.get(), text.data(), text.size());
    return true;
}

void CLinkTextDlg::FreeAreaHtml() {
    if (block_) MemFree(block_);
    block_ = nullptr;
}

std::string CLinkTextDlg::AreaHtml() const {
    if (!block_) return {};
    MemLockGuard lock(block_);
    if (!lock) return {};
    const char* bytes = lock.as<const char>();
    return std::string(bytes, strnlen(bytes, lock.size()));
}

bool CLinkTextDlg::OnInitDialog() {
    framework::Dialog::OnInitDialog();
    // The edit shows the lines with this system's line ends.
    QString text = QString::fromStdString(AreaHtml());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SetDlgItemText(kTextId, text);
    return true;
}
