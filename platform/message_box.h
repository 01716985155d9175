// Message boxes and modal questions.
//
// Every message box of the editor and its plug-ins goes through one service.
// The program's service shows a Qt message box; tests install a recorder that
// logs each text and answers from a script, so no test ever waits on a dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/window.h"

extern "C" {

// Buttons (low nibble) and icon (next nibble) of a message box.
enum {
    MB_BTN_OK = 0x0,
    MB_BTN_OKCANCEL = 0x1,
    MB_BTN_YESNOCANCEL = 0x3,
    MB_BTN_YESNO = 0x4,
    MB_BTN_MASK = 0xf,
    MB_ICON_NONE = 0x00,
    MB_ICON_ERROR = 0x10,
    MB_ICON_QUESTION = 0x20,
    MB_ICON_WARNING = 0x30,
    MB_ICON_INFORMATION = 0x40,
    MB_ICON_MASK = 0xf0,
};

// Answers.
enum {
    MB_ANSWER_OK = 1,
    MB_ANSWER_CANCEL = 2,
    MB_ANSWER_YES = 6,
    MB_ANSWER_NO = 7,
};

// Shows a message box; texts are UTF-8. `owner` may be null (no owner).
// Returns one of the MB_ANSWER_* values.
int ShowMessageBox(WinHandle owner, const char* text, const char* caption, unsigned type);

}  // extern "C"

// C++ side of the service.
namespace platform {

struct MessageBoxRequest {
    WinHandle owner = nullptr;
    std::string text;
    std::string caption;
    unsigned type = 0;
};

using MessageBoxService = std::function<int(const MessageBoxRequest&)>;

// Installs a service (an empty function restores the program's own Qt
// message box). Returns the previous one.
MessageBoxService SetMessageBoxService(MessageBoxService service);

}  // namespace platform
