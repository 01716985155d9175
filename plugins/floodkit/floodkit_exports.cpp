// Floodkit.so: the fill tool. The host runs it at a click with the fill
// tool; it shows no dialog.
#include <QCursor>
#include <QGuiApplication>

#include "framework/wait_cursor.h"
#include "platform/window.h"
#include "plugin_api/plugin_api.h"
#include "plugins/floodkit/fill_context.h"
#include "plugins/kit/kit.h"

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "塗り潰し/*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    if (!record) return 0;
    record->imageChanged = 0;
    FillContext fill(record, info);
    // Every failure, a region without a pixel to paint included, leaves the
    // layer as it was and tells the host nothing, so that it drops its step.
    if (!fill.Prepare() || !fill.FloodFill() || fill.RegionEmpty() || !fill.SoftenEdges()) return 0;
    {
        framework::WaitCursor wait;
        if (!fill.PaintRegion()) return 0;
    }
    // A fill that changed no pixel (the region had the colour already) is
    // no edit: the host drops its step.
    if (!fill.Painted()) return 0;
    if (mainWindow) WinSendMessage(mainWindow, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    record->imageChanged = 1;
    return 0;
}

}  // extern "C"
