// Unattended mode: message boxes written to a log instead of shown.
//
// When the environment variable KAVOLT_MESSAGE_LOG names a file, the program
// shows no message box. Each box is appended to that file as one line,
//
//     <caption>\t<text>\n
//
// with a backslash, tab, carriage return and line break inside the caption
// or text written as \\, \t, \r and \n, and answered with its first button
// (OK, or Yes for a question). The file is opened for each record, so the
// lines are there even when the program is killed. Scripts and the process
// tests run the editor this way.
#pragma once

#include <string>

#include <QString>

#include "platform/message_box.h"

inline constexpr const char* kMessageLogVariable = "KAVOLT_MESSAGE_LOG";

// One record of the log, without the line break.
std::string MessageLogRecord(const platform::MessageBoxRequest& request);

// Installs the logging service writing to `path`; returns the service it
// replaces.
platform::MessageBoxService InstallMessageLog(const QString& path);

// Installs it when KAVOLT_MESSAGE_LOG is set and not empty; true then.
bool InstallMessageLogFromEnvironment();
