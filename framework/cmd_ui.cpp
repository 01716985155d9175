#include "framework/cmd_ui.h"

#include <QAction>

#include "framework/menu_builder.h"

namespace framework {

void CmdUI::Enable(bool on) {
    enabled_ = on;
    enableChanged_ = true;
}

void CmdUI::SetCheck(int check) { check_ = check; }

void CmdUI::SetRadio(bool on) { radio_ = on; }

void CmdUI::SetText(const QString& text) { text_ = text; }

std::optional<bool> CmdUI::IsChecked() const {
    if (radio_) return *radio_;
    if (check_) return *check_ != 0;
    return std::nullopt;
}

void CmdUI::ApplyTo(QAction& action) const {
    if (action.isEnabled() != enabled_) action.setEnabled(enabled_);
    if (std::optional<bool> checked = IsChecked()) {
        if (!action.isCheckable()) action.setCheckable(true);
        if (action.isChecked() != *checked) action.setChecked(*checked);
    }
    if (text_) {
        QString text = MnemonicText(*text_);
        if (action.text() != text) action.setText(text);
    }
}

}  // namespace framework
