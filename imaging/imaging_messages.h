// Message boxes shown by the imaging library.
#pragma once

#include "platform/message_box.h"

namespace dib {

inline void ShowImagingMessage(const char* text) {
    ShowMessageBox(nullptr, text, "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

}  // namespace dib
