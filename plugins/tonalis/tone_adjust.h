// The colour-tone adjustment: hue shift, saturation and lightness, limited
// to a hue band or applied as colourisation, on one colour, a work image or
// a palette copy.
#pragma once

#include <cstdint>

#include "imaging/dib_layout.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"

// Bands: -1 colourise, 0 all colours, 1 reds, 2 yellows, 3 greens, 4 cyans,
// 5 blues, 6 magentas.
inline constexpr int kColorizeBand = -1;

// a x d + b x e + c x f.
int RgbWeightedSum(int a, int b, int c, int d, int e, int f);
// The luminance of a packed 0x00BBGGRR colour: RgbWeightedSum with 76, 149,
// 29 (255 x 254 for white).
int Luminance(uint32_t color);

// How much (percent) band `band` takes of hue `hue`: 100 within 15 degrees
// of the band's centre 60 (band - 1), falling linearly to 0 at 45 degrees,
// the distance taken round the circle. 100 for band 0 and colourisation.
int BandWeight(int hue, int band);

// The adjusted packed 0x00BBGGRR colour.
uint32_t AdjustTone(uint32_t color, int hueShift, int lightness, int saturation, int band);

// A new zeroed work image of the input's size in which every pixel inside
// the record's rectangle whose selection bit is set and protect bit clear
// (a null mask: all set, all clear) holds the adjusted colour. With hue
// shift, saturation and lightness 0 and a band other than colourisation it
// is a copy of the whole input. Null for a null input or when memory runs
// out.
RgbBuffer* AdjustToneRgbBuffer(const RgbBuffer* work, int hueShift, int saturation, int lightness, int band,
                               const uint8_t* protectMask, const uint8_t* selectionMask,
                               const PluginToolRecord* record);

// A palette copy: the entry count and the entries.
struct DibPaletteCopy {
    int count = 0;
    PaletteEntry entries[256] = {};
};

// Adjusts every entry of the copy (alpha bytes untouched).
void AdjustTonePalette(DibPaletteCopy* palette, int hueShift, int saturation, int lightness, int band);
