// The exports of Vorex32.FLT, the VRX texture file format.
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "framework/wait_cursor.h"
#include "platform/message_box.h"
#include "platform/window_qt.h"
#include "plugins/vorex32/vrx_header_dialog.h"

namespace {

Vorex32State g_state;

// The first 32 bytes of an existing VRX file at `path`.
bool ReadExistingHeader(const char* path, VrxFileHeader& header) {
    FILE* in = std::fopen(path, "rb");
    if (!in) return false;
    const bool read = std::fread(&header, 1, sizeof header, in) == sizeof header;
    std::fclose(in);
    return read && std::memcmp(header.magic, "VRXF", 4) == 0;
}

}  // namespace

Vorex32State& Vorex32() { return g_state; }

void VrxStatus(WinHandle host, int code) {
    if (host) WinSendMessage(host, WM_PLUGIN_STATUS, WinWParam(code), 0);
}

void VrxError(WinHandle owner, const char* text) { ShowMessageBox(owner, text, "エラー", MB_BTN_OK | MB_ICON_ERROR); }

uint16_t VrxHeaderDialog(WinHandle host, const char* path) {
    Vorex32State& state = g_state;
    state.dialogResult = 1;
    state.stop = false;
    std::unique_ptr<CVrxHeaderDialog> dialog;
    try {
        dialog = std::make_unique<CVrxHeaderDialog>(state);
    } catch (const std::bad_alloc&) {
    }
    if (!dialog || !dialog->Create(nullptr, false)) {
        ShowMessageBox(host, "ダイヤログオープンに失敗しました。", "警告", MB_BTN_OK | MB_ICON_WARNING);
        return PLUGIN_RESULT_CANCELLED;
    }
    // Owned by the host window: kept above it, but not its child, so that
    // disabling the host leaves the dialog working.
    QWidget* owner = platform::WinWidget(host);
    if (owner && owner->window()->windowHandle()) {
        dialog->winId();
        if (QWindow* window = dialog->windowHandle()) window->setTransientParent(owner->window()->windowHandle());
    }
    VrxFileHeader header{};
    if (path && ReadExistingHeader(path, header)) VrxApplyPresets(host, header, state.options);
    dialog->Fill();

    const bool wasEnabled = WinIsEnabled(host);
    WinEnable(host, false);
    dialog->RunLoop();
    WinEnable(host, wasEnabled);
    dialog->DestroyWindow();
    dialog.reset();
    return state.dialogResult == 0 ? PLUGIN_RESULT_OK : PLUGIN_RESULT_CANCELLED;
}

extern "C" {

KV_PLUGIN_EXPORT uint16_t ImportGW(WinHandle mainWindow, PluginPathBuffer* path, PluginImage* image,
                                   const char*) {
    if (!path || !image) return PLUGIN_RESULT_NO_MEMORY;
    framework::WaitCursor wait;
    path->status = 0;
    try {
        return VrxWriteFile(mainWindow, path, image);
    } catch (const std::bad_alloc&) {
        VrxStatus(mainWindow, PLUGIN_STATUS_CLEAR);
        return PLUGIN_RESULT_NO_MEMORY;
    }
}

KV_PLUGIN_EXPORT uint16_t ImportGR(WinHandle mainWindow, PluginPathBuffer* path, PluginImage* image,
                                   const char*) {
    if (!path || !image) return PLUGIN_RESULT_NO_MEMORY;
    framework::WaitCursor wait;
    path->status = 0;
    try {
        return VrxReadFile(mainWindow, path, image);
    } catch (const std::bad_alloc&) {
        VrxStatus(mainWindow, PLUGIN_STATUS_CLEAR);
        return PLUGIN_RESULT_NO_MEMORY;
    }
}

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "VRX 文件(*.VRX)/*.VRX"; }

KV_PLUGIN_EXPORT uint16_t ImportDlgIn(WinHandle, PluginPathBuffer*, void*, const char*) { return 0; }

KV_PLUGIN_EXPORT uint16_t ImportDlgOut(WinHandle mainWindow, PluginPathBuffer* path, PluginImage*, const char*) {
    return VrxHeaderDialog(mainWindow, path ? path->path : nullptr);
}

}  // extern "C"
