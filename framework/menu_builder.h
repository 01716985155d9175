// Menus and toolbars built from tables of command ids.
//
//   const std::vector<framework::MenuItem> kMenu = {
//       MenuPopup("视图(V)", {
//           MenuCommand(59392, "工具栏(B)\tCtrl+1"),
//           MenuSeparator(),
//           MenuCommand(34000, "颜色色板(C)\tCtrl+3"),
//       }),
//   };
//
// A text marks its mnemonic with '&'; a text without '&' gets one for a
// "(X)" with a single letter or digit X, so "视图(V)" shows as "视图(&V)".
// The part after '\t' is shown as the accelerator; AcceleratorsOf() turns
// those texts into key sequences for the main frame's accelerator table.
#pragma once

#include <functional>
#include <vector>

#include <QIcon>
#include <QKeySequence>
#include <QString>

#include "framework/command_action.h"
#include "framework/command_ids.h"

class QMenu;
class QMenuBar;
class QPixmap;
class QToolBar;
class QWidget;

namespace framework {

struct MenuItem {
    enum Type { Command, Separator, Popup };
    Type type = Separator;
    CommandId id = 0;
    QString text;
    std::vector<MenuItem> items;  // of a popup
};

MenuItem MenuCommand(CommandId id, const QString& text);
MenuItem MenuSeparator();
MenuItem MenuPopup(const QString& text, std::vector<MenuItem> items);

// One key binding of the main frame.
struct Accelerator {
    QKeySequence keys;
    CommandId id = 0;
};

// "视图(V)" -> "视图(&V)"; a text that has '&' is returned unchanged.
QString MnemonicText(const QString& text);
// The key sequence written after '\t' ("颜色色板(C)\tCtrl+3" -> Ctrl+3); empty
// when there is none or it does not parse.
QKeySequence AcceleratorOf(const QString& text);
// Every command item with an accelerator text, in table order.
std::vector<Accelerator> AcceleratorsOf(const std::vector<MenuItem>& items);

// Appends the items to a menu; popups become submenus owned by the menu.
void AppendMenuItems(QMenu* menu, const std::vector<MenuItem>& items, const CommandHooks& hooks);
// Replaces the bar's menus with the table's top-level popups.
void BuildMenuBar(QMenuBar* bar, const std::vector<MenuItem>& items, const CommandHooks& hooks);
// Appends one command item to a menu (e.g. a filter or preset added at run time).
CommandAction* AddMenuCommand(QMenu* menu, CommandId id, const QString& text,
                              const CommandHooks& hooks);
// Removes and deletes the menu's own items with ids first..last; returns how many.
int RemoveMenuCommands(QMenu* menu, CommandId first, CommandId last);
// The first command action with the id in a menu, menu bar or toolbar,
// submenus included; null when there is none.
CommandAction* FindCommandAction(const QWidget* container, CommandId id);

// Toolbar buttons; id 0 is a separator. `tip` may be "prompt\ntooltip": the
// part after the line break becomes the tooltip.
struct ToolButton {
    CommandId id = 0;
    int image = -1;
    QString tip;
};

using IconSource = std::function<QIcon(int image)>;
// Icons cut from a strip of equally sized images laid side by side.
IconSource IconStrip(const QPixmap& strip, QSize imageSize);

void BuildToolBar(QToolBar* bar, const std::vector<ToolButton>& buttons, const IconSource& icons,
                  const CommandHooks& hooks);

}  // namespace framework
