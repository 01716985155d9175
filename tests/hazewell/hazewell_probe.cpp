// The blur's building blocks, reached through a plug-in that carries them and
// is loaded for real.
#include <cstring>

#include "plugins/hazewell/blur_rgb.h"
#include "plugins/kit/kit.h"

#define KV_EXPORT extern "C" __attribute__((visibility("default")))

KV_EXPORT int ProbeBlurWeights(int size, int* cells) {
    int* rows[128];
    if (size > 128) return -1;
    for (int i = 0; i < size; ++i) rows[i] = cells + i * size;
    return BuildBlurWeights(size, rows);
}

KV_EXPORT RgbBuffer* ProbeNewRgb(int width, int height) { return NewRgbBuffer(width, height); }
KV_EXPORT void ProbeFreeRgb(RgbBuffer* buffer) { FreeRgbBuffer(buffer); }
KV_EXPORT RgbBuffer* ProbeBlur(const RgbBuffer* work, int radius, const uint8_t* protect,
                               const uint8_t* selection, const PluginToolRecord* record) {
    return BlurRgbBuffer(work, radius, protect, selection, record);
}

// FilterMasks::Take for a width x height image; the masks in use are copied
// out ((width + 7) / 8 x height bytes each). flags: 1 the host's block is in
// use, 2 there was no host block. -1 when memory ran out.
KV_EXPORT int ProbeFilterMasks(MemHandle host, int width, int height, uint8_t* selection, uint8_t* protect) {
    FilterMasks masks;
    if (!masks.Take(host, width, height)) return -1;
    size_t bytes = size_t(width + 7) / 8 * size_t(height);
    std::memcpy(selection, masks.Selection(), bytes);
    std::memcpy(protect, masks.Protect(), bytes);
    return (masks.UsesHostMask() ? 1 : 0) | (masks.HostMaskMissing() ? 2 : 0);
}
