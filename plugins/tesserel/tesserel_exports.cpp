// Tesserel.GLT: the mosaic filter ("马塞克" in the filter menu; its dialog
// says 马赛克).
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit.h"
#include "plugins/tesserel/mosaic_dialog.h"

extern "C" {

KV_PLUGIN_EXPORT const char* GetInfo(void) { return "马塞克  /*.BMP;*.DIB"; }

KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record, PluginToolInfo* info,
                                  const char*) {
    {
        CMosaicDialog dialog(mainWindow, record, info);
        dialog.DoModal();
    }
    if (record) record->modeless = 0;
    return 0;
}

}  // extern "C"
