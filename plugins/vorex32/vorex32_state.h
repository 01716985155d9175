// What Vorex32.FLT keeps between the calls of a save: the header options the
// dialog chose, its result and the flag that ends its loop. Everything starts
// from these values at each load.
#pragma once

#include "platform/window.h"
#include "plugin_api/plugin_api.h"
#include "plugins/vorex32/vrx_image.h"

struct Vorex32State {
    VrxWriteOptions options;
    int dialogResult = 1;  // 0 go on, 1 stop
    bool stop = false;
};

Vorex32State& Vorex32();

// Status texts to the host (WM_PLUGIN_STATUS).
void VrxStatus(WinHandle host, int code);

// The messages of the plug-in: caption "エラー".
void VrxError(WinHandle owner, const char* text);

// The header dialog for a save to `path`: 0 go on, PLUGIN_RESULT_CANCELLED
// when the user cancelled or the dialog could not be made.
uint16_t VrxHeaderDialog(WinHandle host, const char* path);

// Reads the VRX file at path->path into image (a PluginResultCode).
uint16_t VrxReadFile(WinHandle host, PluginPathBuffer* path, PluginImage* image);
// Writes image->image as a VRX file at path->path with the state's options.
uint16_t VrxWriteFile(WinHandle host, PluginPathBuffer* path, PluginImage* image);
