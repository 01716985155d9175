#include "plugin_host/offered_blocks.h"

#include "document/doc_limits.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"

namespace plugin_host {
namespace {

void FreeIfLive(MemHandle h) {
    if (h && MemIsValid(h)) MemFree(h);
}

void FreeSlots(const platform::Module& library, const char* name, int slots) {
    auto get = library.symbol<PluginGetBlockFn>(name);
    if (!get) return;
    for (int32_t i = 0; i < slots; ++i) {
        int32_t index = i;
        FreeIfLive(get(&index));
    }
}

}  // namespace

void FreeOfferedBlocks(const platform::Module& library) {
    if (!library) return;
    FreeSlots(library, "GetLayer", document::kLayerSlots);
    FreeSlots(library, "GetChannel", document::kChannelSlots);
    if (auto getSitae = library.symbol<PluginGetBlockFn>("GetSitae")) {
        int32_t arg = 99;
        FreeIfLive(getSitae(&arg));
    }
}

}  // namespace plugin_host
