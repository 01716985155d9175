// The size presets of the new-image dialog, read from "menu.txt" in the
// program directory (its text: menu_presets_text.h).
#pragma once

#include <vector>

#include <QString>

#include "dialogs/menu_presets_text.h"

// Reads `directory` + "menu.txt" into `presets` and returns their count.
// When the file cannot be read: "not file", the table emptied, 0.
int ReadMenuTxt(const QString& directory, std::vector<SizePreset>& presets);
