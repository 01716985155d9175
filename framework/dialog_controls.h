// A dialog's controls described as a table, as a dialog template would:
//
//   dlg.CreateControls({
//       {1000, ControlKind::Edit, "", {10, 10, 80, 22}},
//       {1001, ControlKind::Radio, "直线", {10, 40, 80, 20}, true},   // starts a group
//       {1002, ControlKind::Radio, "放射线", {10, 60, 80, 20}},
//       {IDOK, ControlKind::DefPushButton, "确定", {10, 90, 70, 24}},
//       {IDCANCEL, ControlKind::PushButton, "取消", {90, 90, 70, 24}},
//   });
//
// Geometry is in pixels relative to the dialog. Controls with id 0 or -1
// (static texts) are made but not registered.
#pragma once

#include <QRect>
#include <QString>

namespace framework {

enum class ControlKind {
    Label,
    Edit,
    MultiLineEdit,
    PushButton,
    DefPushButton,
    CheckBox,
    TriStateCheckBox,
    Radio,
    GroupBox,
    ComboBox,      // drop-down list
    EditComboBox,  // drop-down with an edit field
    ListBox,
    Slider,        // horizontal trackbar
    SpinBox,
    HScrollBar,
    VScrollBar,
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    QString text;
    QRect rect;
    // A radio button that starts a new group; radio buttons that follow
    // (without it) join the group.
    bool group = false;
    bool disabled = false;
    bool hidden = false;
};

}  // namespace framework
