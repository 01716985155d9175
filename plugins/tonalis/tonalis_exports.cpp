// Tonalis.so: colour tone (图像 > 改变色调) and negative (图像 > 反转色调).
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit.h"
#include "plugins/tonalis/negative.h"
#include "plugins/tonalis/tone_dialog.h"

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "色調補正/*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    uint16_t done;
    {
        CToneDialog dialog(mainWindow, record, info);
        dialog.DoModal();
        done = dialog.m_nDone;
    }
    if (record) record->modeless = 0;
    return done;
}

KV_PLUGIN_EXPORT int32_t ImportFL2(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                   const char*) {
    RunNegative(mainWindow, record, info);
    return 0;
}

}  // extern "C"
