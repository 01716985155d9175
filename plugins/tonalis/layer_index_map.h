// Colour changes of an indexed layer worked out once per palette entry.
//
// A change whose result depends only on a pixel's colour gives, through the
// layer's colour table, one new index per old index. Looking the indexes up
// in that table gives exactly what converting the layer to a work image,
// changing every pixel and writing it back with RgbToLayer would, at a
// fraction of the cost.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"

// The facts of a 4- or 8-bit image: size, its colour table as LayerToRgb
// reads it (256 entries, zero past the table) and the colour count
// RgbToLayer searches.
struct ImageColors {
    int width = 0;
    int height = 0;
    int count = 0;
    PaletteEntry table[256] = {};
};
// False when the image is not a 4- or 8-bit DIB.
bool ReadImageColors(MemHandle image, ImageColors* out);

// Whether the layer block holds width x height pixels.
bool LayerHoldsImage(MemHandle layer, int width, int height);

// For every index, the nearest entry (NearestPaletteIndex) to change(colour
// of the index), the colour packed 0x00BBGGRR.
template <class Change>
void BuildIndexTable(const ImageColors& image, Change change, uint8_t out[256]);

// Every pixel inside the record's rectangle whose selection bit is set and
// protect bit clear (a null mask: all set, all clear) becomes, in `target`,
// table[its index in `source`]; other pixels of `target` stay. Source and
// target may be one block. False when a layer does not hold width x height.
bool MapLayerIndexes(MemHandle source, MemHandle target, int width, int height, const uint8_t table[256],
                     const uint8_t* protectMask, const uint8_t* selectionMask, const PluginToolRecord* record);

template <class Change>
void BuildIndexTable(const ImageColors& image, Change change, uint8_t out[256]) {
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = image.table[i];
        const uint32_t c = change(uint32_t(e.red) | uint32_t(e.green) << 8 | uint32_t(e.blue) << 16);
        out[i] = uint8_t(NearestPaletteIndex(image.table, image.count, uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)));
    }
}
