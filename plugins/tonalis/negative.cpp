#include "plugins/tonalis/negative.h"

#include "platform/message_box.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/tonalis/layer_index_map.h"

void RunNegative(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info) {
    if (!record || !record->layers) {
        ShowMessageBox(hostWindow, "Layer is not selected", "error", MB_BTN_OK);
        return;
    }
    ImageColors image;
    if (!info || !ReadImageColors(info->image, &image)) return;
    MemHandle layer = ToolCurrentLayer(record);
    if (!LayerHoldsImage(layer, image.width, image.height)) return;
    if (!record->selectionMask) ShowMessageBox(hostWindow, "選択範囲未対応", "", MB_BTN_OK);
    FilterMasks masks;
    if (!masks.Take(record->selectionMask, image.width, image.height)) {
        ShowMessageBox(hostWindow, "メモリ不足", "error", MB_BTN_OK);
        return;
    }
    uint8_t table[256];
    BuildIndexTable(image, [](uint32_t c) { return c ^ 0xffffffu; }, table);
    MapLayerIndexes(layer, layer, image.width, image.height, table, masks.Protect(), masks.Selection(), record);
    masks.Release();
    WinSendMessage(hostWindow, WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 0);
}
