// The main window's menu bar and accelerator table (resource 128).
//
// The filter menu is the fifth top-level menu (its placeholder item is
// replaced by the filters found at the first paint) and the grid presets
// are appended to the sixth.
#pragma once

#include <vector>

#include "framework/menu_builder.h"

std::vector<framework::MenuItem> MainMenu();
// Key bindings that no menu item shows (Ctrl+Insert, Shift+Delete, F1, ...).
std::vector<framework::Accelerator> ExtraAccelerators();

// The command the accelerator table gives a key (0 for none): the menu's
// accelerators first, then the extra ones. With Shift down, the shifted
// digits of a US keyboard count as their digits.
framework::CommandId ShortcutCommand(int key, Qt::KeyboardModifiers modifiers);
