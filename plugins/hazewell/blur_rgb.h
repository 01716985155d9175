// The blur of the work image: a weighted average over the selected,
// unprotected neighbours inside the tool rectangle.
#pragma once

#include <cstdint>

#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"

// A new work image of the input's size, zeroed, in which every pixel is the
// average of its neighbours weighted by BuildBlurWeights(radius + 1): the
// kernel reaches from -(radius / 2) to +(radius - radius / 2) in x and in y,
// rows counted bottom-up like the buffer. A neighbour counts when it lies in
// the record's rectangle, its selection bit is set and its protect bit is
// clear (a null mask: all set, all clear); each channel is its weighted sum
// divided by the weights' sum (integer division), 0 where nothing counted.
// Radius 0 gives a copy. Null for a null input, a radius outside
// 0 .. kMaxBlurRadius or when memory runs out.
inline constexpr int kMaxBlurRadius = 100;
RgbBuffer* BlurRgbBuffer(const RgbBuffer* work, int radius, const uint8_t* protectMask,
                         const uint8_t* selectionMask, const PluginToolRecord* record);
