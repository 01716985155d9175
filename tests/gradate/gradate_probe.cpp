// The gradient engines, reached through a plug-in that carries them and is
// loaded for real.
#include "plugins/gradate/gradient.h"
#include "plugins/kit/kit.h"

#define KV_EXPORT extern "C" __attribute__((visibility("default")))

KV_EXPORT RgbBuffer* ProbeNewRgb(int width, int height) { return NewRgbBuffer(width, height); }
KV_EXPORT void ProbeFreeRgb(RgbBuffer* buffer) { FreeRgbBuffer(buffer); }
KV_EXPORT bool ProbeInitGradParam(GradParam* param, MemHandle image, int startIndex, int endIndex, int sx, int sy,
                                  int ex, int ey) {
    return InitGradParam(param, image, startIndex, endIndex, sx, sy, ex, ey);
}
KV_EXPORT RgbBuffer* ProbeGradientRgb(const RgbBuffer* work, const GradParam* param, int shape,
                                      const uint8_t* selection) {
    return GradientRgbBuffer(work, *param, shape, nullptr, selection, nullptr);
}
KV_EXPORT bool ProbeGradientIndex(MemHandle image, MemHandle layer, MemHandle copy, const GradParam* param,
                                  int shape) {
    return GradientPaletteIndex(image, layer, copy, *param, shape, nullptr, nullptr, nullptr);
}
