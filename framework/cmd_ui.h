// The state an update handler gives a command: enabled, checked, radio mark
// and text. The handler only sets what it cares about; whatever it leaves
// alone keeps its previous look (the enabled state then follows whether the
// command has a handler, see CommandTarget::QueryCommandState).
#pragma once

#include <optional>

#include <QString>

#include "framework/command_ids.h"

class QAction;

namespace framework {

class CmdUI {
public:
    explicit CmdUI(CommandId id) : id_(id) {}

    CommandId id() const { return id_; }

    void Enable(bool on = true);
    // 0 unchecked, 1 checked, 2 indeterminate (shown as checked).
    void SetCheck(int check = 1);
    void SetRadio(bool on = true);
    // Menu text with '&' mnemonic and optional "\t" accelerator text.
    void SetText(const QString& text);

    bool IsEnabled() const { return enabled_; }
    bool EnableChanged() const { return enableChanged_; }
    std::optional<int> Check() const { return check_; }
    std::optional<bool> Radio() const { return radio_; }
    const std::optional<QString>& Text() const { return text_; }
    // Checked by SetCheck or SetRadio, when either was called.
    std::optional<bool> IsChecked() const;

    // Shows the state on an action (menu item or toolbar button).
    void ApplyTo(QAction& action) const;

private:
    CommandId id_;
    bool enabled_ = true;
    bool enableChanged_ = false;
    std::optional<int> check_;
    std::optional<bool> radio_;
    std::optional<QString> text_;
};

}  // namespace framework
