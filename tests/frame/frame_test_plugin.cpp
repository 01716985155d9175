// A plug-in for the frame tests: talks to the host only through the window
// handle it is given, as the shipped plug-ins do.
#include <cstring>

#include "platform/plugin_export.h"
#include "platform/window.h"
#include "plugin_api/plugin_messages.h"

namespace {

char received[512];

WinResult receive(void*, WinHandle, uint32_t message, WinWParam wparam, WinLParam) {
    if (message == WM_TOOL_SETTINGS && wparam) {
        std::strncpy(received, reinterpret_cast<const char*>(wparam), sizeof received - 1);
        received[sizeof received - 1] = 0;
    }
    return 0;
}

}  // namespace

// A status code with its number, as a codec reports progress.
KV_EXPORT WinResult SendStatus(WinHandle host, int code, int value) {
    return WinSendMessage(host, WM_PLUGIN_STATUS, WinWParam(code), WinLParam(value));
}

// Stores a setting, then reads it back through a window of the plug-in's
// own; copies what the host answered into `out` (up to 511 bytes).
KV_EXPORT void RoundTripSetting(WinHandle host, const char* text, char* out) {
    received[0] = 0;
    WinSendMessage(host, WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(text), PLUGIN_SETTINGS_WRITE_MOJI);
    WinHandle window = WinCreate(receive, nullptr);
    WinSendMessage(host, WM_PLUGIN_SETTINGS, reinterpret_cast<WinWParam>(window), PLUGIN_SETTINGS_READ_MOJI);
    WinDestroy(window);
    std::strcpy(out, received);
}
