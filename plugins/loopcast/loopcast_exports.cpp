// The exports of Loopcast.FLT, the GIF and animated GIF file format.
#include <QCursor>
#include <QGuiApplication>

#include "framework/wait_cursor.h"
#include "platform/window.h"
#include "plugins/loopcast/loopcast_state.h"

namespace {

LoopcastState g_state;
// Reads, writes and keeps layers.
const FilterCheckFlags g_checkFlags = {3, 3};

bool ValidSlot(const int32_t* index) { return index && *index >= 0 && *index < kLoopcastSlots; }

}  // namespace

void LoopcastStatus(WinHandle host, int code) {
    if (host) WinSendMessage(host, WM_PLUGIN_STATUS, WinWParam(code), 0);
}

extern "C" {

KV_PLUGIN_EXPORT uint16_t ImportGW(WinHandle mainWindow, PluginPathBuffer* path, PluginImage* image,
                                   const char*) {
    if (!path || !image) return PLUGIN_RESULT_NO_MEMORY;
    framework::WaitCursor wait;
    path->status = 0;
    try {
        return GifWriteLayers(mainWindow, path, image, g_state);
    } catch (...) {
        LoopcastStatus(mainWindow, PLUGIN_STATUS_CLEAR);
        return PLUGIN_RESULT_NO_MEMORY;
    }
}

KV_PLUGIN_EXPORT uint16_t ImportGR(WinHandle mainWindow, PluginPathBuffer* path, PluginImage* image,
                                   const char*) {
    if (!path || !image) return PLUGIN_RESULT_NO_MEMORY;
    framework::WaitCursor wait;
    path->status = 0;
    return GifReadLayers(mainWindow, path, image, g_state);
}

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "Gif 文件(*.GIF)/*.gif"; }

KV_PLUGIN_EXPORT MemHandle GetLayer(int32_t* index) {
    return ValidSlot(index) ? g_state.layers[*index] : nullptr;
}

KV_PLUGIN_EXPORT MemHandle GetChannel(int32_t* index) {
    return ValidSlot(index) ? g_state.channels[*index] : nullptr;
}

KV_PLUGIN_EXPORT void SetLayer(const PluginSlot* slot) {
    if (slot && ValidSlot(&slot->index)) g_state.layers[slot->index] = slot->image;
}

KV_PLUGIN_EXPORT void SetChannel(const PluginSlot* slot) {
    if (slot && ValidSlot(&slot->index)) g_state.channels[slot->index] = slot->channel;
}

KV_PLUGIN_EXPORT const FilterCheckFlags* GetFilterCheck(void) { return &g_checkFlags; }

KV_PLUGIN_EXPORT void SetGenshoku(ColorReduceFn function, int32_t index) {
    ColorReduceTableSet(&g_state.reduce, function, index);
}

}  // extern "C"
