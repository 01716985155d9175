// The texts the main frame writes into its status bars for plug-ins
// (WM_PLUGIN_STATUS codes 1-11) and drawing tools (WM_TOOLRECT_STATUS).
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// The pane-0 text of a plug-in status code; empty for code 12 (a refresh)
// and for codes outside 1..12.
std::optional<QString> PluginStatusText(int code, intptr_t value);

struct ToolRectText {
    int pane;  // of status bar 2
    QString text;
};
// The text of a tool value: type 0 position (x, y), 1 size (width, height),
// 2 angle, 3 clears the position. Empty for other types or without values.
std::optional<ToolRectText> ToolRectStatusText(int type, const int32_t* values);
