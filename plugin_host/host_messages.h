// The message boxes of opening and saving through the plug-ins.
#pragma once

#include <QString>

namespace plugin_host {

// An information box without owner (plug-in result codes, size and
// reduction messages).
void ShowPluginInfo(const QString& text);
// OK and Cancel in an information box without owner; true for OK.
bool AskPluginOkCancel(const QString& text);
// A message box of the framework: owned by the main frame, the program's
// name as caption ("… 是旧格式", "… 是不支持的文件格式。").
void ShowFrameworkMessage(const QString& text);

}  // namespace plugin_host
