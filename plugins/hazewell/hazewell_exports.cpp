// Hazewell.GLT: the blur filter ("模糊" in the filter menu).
#include "plugin_api/plugin_api.h"
#include "plugins/hazewell/blur_dialog.h"
#include "plugins/kit/kit.h"

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "模糊  /*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    uint16_t done;
    {
        CBlurDialog dialog(mainWindow, record, info);
        dialog.DoModal();
        done = dialog.m_nDone;
    }
    if (record) record->modeless = 0;
    return done;
}

}  // extern "C"
