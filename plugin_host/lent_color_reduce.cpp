#include "plugin_host/lent_color_reduce.h"

namespace plugin_host {
namespace {

int32_t NoReduceImage(const uint8_t*, uint8_t*, int32_t, int32_t, PaletteEntry*, int32_t, int32_t,
                      int32_t) {
    return 0;
}
int32_t NoInit(int32_t, int32_t, int32_t, int32_t) { return 0; }
void NoCollect(const uint8_t*, const PaletteEntry*) {}
int32_t NoPrepare() { return 0; }
void NoWeigh(const uint8_t*, const PaletteEntry*) {}
int32_t NoMerge() { return 0; }
void NoMap(const uint8_t*, uint8_t*, const PaletteEntry*) {}
void NoPalette(PaletteEntry*, int32_t) {}
void NoRemap(uint8_t*, int32_t) {}
void NoFree() {}

const ColorReduceTable kTable = {NoReduceImage, NoInit, NoCollect, NoPrepare, NoWeigh,
                                 NoMerge,       NoMap,  NoPalette, NoRemap,   NoFree};

}  // namespace

const ColorReduceTable& LentColorReduceTable() { return kTable; }

ReduceOutcome ReduceOpenedImageTo256(MemHandle, MemHandle* result) {
    if (result) *result = nullptr;
    return ReduceOutcome::Failed;
}

}  // namespace plugin_host
