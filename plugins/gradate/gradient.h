// The two gradient engines of the gradation filter.
//
// Points are image columns and bottom-up rows. For pixel (x, row y) with
// d = end - start, the gradient runs by
//   linear:   t = ((y - start y) dy + (x - start x) dx) / (dx^2 + dy^2)
//   circular: t = sqrt(((y - start y)^2 + (x - start x)^2) / (dx^2 + dy^2))
// clamped to 0 .. 1, all in double (points dragged far out of the picture
// push the squares past 32 bits). A zero length counts as 0.001 in the
// 24-bit engine and as 1 in the index engine.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"

struct GradParam {
    PaletteEntry startColor;  // blue, green, red, alpha
    PaletteEntry endColor;
    int startX, startY;
    int endX, endY;
    uint8_t startIndex, endIndex;
};

enum GradShape { kGradLinear = 0, kGradCircular = 1 };

// The tone masks of the two-colour engine: mask k has k + 1 of its 16 bits
// set; bit (x mod 4) + 4 (3 - (y' mod 4)) belongs to column x, top-down row y'.
inline constexpr uint16_t kGradToneMasks[16] = {0x0001, 0x0401, 0x0405, 0x0505, 0x0525, 0x8525,
                                                0x85A5, 0xA5A5, 0xA5A7, 0xADA7, 0xADAF, 0xAFAF,
                                                0xAFBF, 0xEFBF, 0xEFFF, 0xFFFF};

// t for one pixel (see above), `zeroLength` standing in for a zero dx^2 + dy^2.
double GradientT(const GradParam& p, int shape, int x, int y, double zeroLength);

// Fills the record from the image's colour table. False (the record as it
// was) for an image that is not a 4- or 8-bit DIB.
bool InitGradParam(GradParam* param, MemHandle image, int startIndex, int endIndex, int startX, int startY,
                   int endX, int endY);

// A new zeroed work image of the input's size in which every selected,
// unprotected pixel inside the record's rectangle holds the gradient colour:
// each channel trunc(t (end - start) + start). A null mask counts as all
// selected or nothing protected. Null when memory runs out.
RgbBuffer* GradientRgbBuffer(const RgbBuffer* work, const GradParam& param, int shape,
                             const uint8_t* protectMask, const uint8_t* selectionMask,
                             const PluginToolRecord* record);

// The two-colour gradient straight into the layer copy: the copy takes the
// layer's pixels, then every selected, unprotected pixel inside the
// rectangle gets the start index, or the end index where bit
// (x mod 4) + 4 (3 - (y' mod 4)) of tone mask k = trunc(16 t - 1) is set
// (k >= 0). False when the image is not a 4- or 8-bit DIB or a layer does
// not hold the image's size.
bool GradientPaletteIndex(MemHandle image, MemHandle layer, MemHandle layerCopy, const GradParam& param,
                          int shape, const uint8_t* protectMask, const uint8_t* selectionMask,
                          const PluginToolRecord* record);
