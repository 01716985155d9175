// The colour-tone building blocks, reached through a plug-in that carries
// them and is loaded for real.
#include "plugins/kit/kit.h"
#include "plugins/tonalis/dib_palette.h"
#include "plugins/tonalis/hsv_color.h"
#include "plugins/tonalis/tone_adjust.h"

#define KV_EXPORT extern "C" __attribute__((visibility("default")))

// HSV of a packed colour: value, saturation, hue.
KV_EXPORT void ProbeHsv(uint32_t color, int* out) {
    HsvColor c(color);
    out[0] = c.Value();
    out[1] = c.Saturation();
    out[2] = c.Hue();
}

// The packed colour of hue, saturation and value set in that order on black.
KV_EXPORT uint32_t ProbeRgb(int hue, int saturation, int value) {
    HsvColor c(0);
    c.SetValue(value);
    c.SetSaturation(saturation);
    c.SetHue(hue);
    return c.Color();
}

// The field a setter leaves on white: 0 SetHue, 1 SetSaturation, 2 SetValue.
KV_EXPORT int ProbeSet(int which, int v) {
    HsvColor c(0xffffff);
    if (which == 0) c.SetHue(v);
    if (which == 1) c.SetSaturation(v);
    if (which == 2) c.SetValue(v);
    return which == 0 ? c.Hue() : which == 1 ? c.Saturation() : c.Value();
}

KV_EXPORT int ProbeBandWeight(int hue, int band) { return BandWeight(hue, band); }

KV_EXPORT uint32_t ProbeAdjustTone(uint32_t color, int hueShift, int lightness, int saturation, int band) {
    return AdjustTone(color, hueShift, lightness, saturation, band);
}

KV_EXPORT void ProbeAdjustPalette(DibPaletteCopy* palette, int hueShift, int saturation, int lightness, int band) {
    AdjustTonePalette(palette, hueShift, saturation, lightness, band);
}

KV_EXPORT RgbBuffer* ProbeNewRgb(int width, int height) { return NewRgbBuffer(width, height); }
KV_EXPORT void ProbeFreeRgb(RgbBuffer* buffer) { FreeRgbBuffer(buffer); }
KV_EXPORT RgbBuffer* ProbeAdjustBuffer(const RgbBuffer* work, int hueShift, int saturation, int lightness, int band,
                                       const uint8_t* protect, const uint8_t* selection,
                                       const PluginToolRecord* record) {
    return AdjustToneRgbBuffer(work, hueShift, saturation, lightness, band, protect, selection, record);
}

// The way through the work image: the current layer converted (inverted with
// `invert`, else adjusted) and written back over the selection. False when
// a step failed.
KV_EXPORT bool ProbeThroughRgb(MemHandle image, MemHandle* layers, int editLayer, bool invert, int hueShift,
                               int saturation, int lightness, int band, const uint8_t* selection) {
    PluginToolRecord record{};
    record.layers = layers;
    record.editLayer = editLayer;
    RgbBuffer* work = LayerToRgb(image, layers, &record, invert);
    if (!work) return false;
    RgbBuffer* adjusted = invert ? work
                                 : AdjustToneRgbBuffer(work, hueShift, saturation, lightness, band, nullptr, selection, &record);
    bool ok = adjusted && RgbToLayer(image, layers[editLayer], adjusted, nullptr, selection, &record);
    if (adjusted != work) FreeRgbBuffer(adjusted);
    FreeRgbBuffer(work);
    return ok;
}

// 0 get, 1 set, 2 exchange.
KV_EXPORT bool ProbePalette(int which, MemHandle image, DibPaletteCopy* copy) {
    switch (which) {
    case 0: return GetDibPalette(nullptr, image, copy);
    case 1: return SetDibPalette(nullptr, image, *copy);
    default: return ExchangeDibPalette(nullptr, image, copy);
    }
}
