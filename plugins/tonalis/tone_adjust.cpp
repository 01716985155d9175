#include "plugins/tonalis/tone_adjust.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "plugins/tonalis/hsv_color.h"

namespace {

constexpr int kWhiteLuminance = 255 * (76 + 149 + 29);

// The pure colour of a hue at the given saturation and value.
HsvColor PureHue(int hue, int saturation, int value) {
    HsvColor c(0);
    c.SetValue(value);
    c.SetSaturation(saturation);
    c.SetHue(hue);
    return c;
}

int Red(uint32_t c) { return int(c & 0xff); }
int Green(uint32_t c) { return int(c >> 8 & 0xff); }
int Blue(uint32_t c) { return int(c >> 16 & 0xff); }

uint32_t Colorize(uint32_t color, int hue, int lightness, int saturation) {
    const int o = Luminance(color) * 100 / kWhiteLuminance;
    const HsvColor p = PureHue(hue, saturation, o * (100 + std::min(lightness, 0)) / 100);
    const int up = std::max(lightness, 0);
    auto channel = [up](int pc) { return ((100 - up) * pc + up * 255) / 100; };
    return PackRgb(channel(p.Red()), channel(p.Green()), channel(p.Blue()));
}

}  // namespace

int RgbWeightedSum(int a, int b, int c, int d, int e, int f) { return a * d + b * e + c * f; }

int Luminance(uint32_t color) { return RgbWeightedSum(Red(color), Green(color), Blue(color), 76, 149, 29); }

int BandWeight(int hue, int band) {
    if (band < 1) return 100;
    int d = std::abs(hue - 60 * (band - 1)) % 360;
    d = std::min(d, 360 - d);
    if (d <= 15) return 100;
    if (d < 45) return 100 - (d - 15) * 100 / 30;
    return 0;
}

uint32_t AdjustTone(uint32_t color, int hueShift, int lightness, int saturation, int band) {
    color &= 0xffffff;
    if (hueShift == 0 && lightness == 0 && saturation == 0 && band != kColorizeBand) return color;
    if (band == kColorizeBand) return Colorize(color, hueShift, lightness, saturation);

    HsvColor h(color);
    const int b = BandWeight(h.Hue(), band);
    h.SetHue((hueShift * b / 100 + h.Hue() + 360) % 360);

    const int lh = Luminance(h.Color());
    const int f = lh * 100 / kWhiteLuminance;
    const int c = lh * 100 / Luminance(PureHue(h.Hue(), 100, 100).Color());
    const HsvColor s = c <= 100 || c == f ? PureHue(h.Hue(), 100, c) : PureHue(h.Hue(), (100 - f) * c / (c - f), 100);
    const HsvColor n = PureHue(0, 0, f);

    const int lUp = std::max(lightness, 0) * b / 100;
    const int lDown = std::min(lightness, 0) * b / 100;
    const int sUp = std::max(saturation, 0) * b / 100;
    const int sDown = std::min(saturation, 0) * b / 100;
    const int g = 100 + lDown - lUp;
    auto channel = [&](int hc, int sc, int nc) {
        return (g * (100 + sDown - sUp) * hc + g * sUp * sc - g * sDown * nc + lUp * 100 * 255) / 10000;
    };
    return PackRgb(channel(h.Red(), s.Red(), n.Red()), channel(h.Green(), s.Green(), n.Green()),
                   channel(h.Blue(), s.Blue(), n.Blue()));
}

RgbBuffer* AdjustToneRgbBuffer(const RgbBuffer* work, int hueShift, int saturation, int lightness, int band,
                               const uint8_t* protectMask, const uint8_t* selectionMask,
                               const PluginToolRecord* record) {
    if (!work) return nullptr;
    RgbBuffer* out = NewRgbBuffer(work->width, work->height);
    if (!out) return nullptr;
    const size_t bytes = size_t(work->stride) * size_t(work->height);
    if (hueShift == 0 && saturation == 0 && lightness == 0 && band != kColorizeBand) {
        std::memcpy(out->data, work->data, bytes);
        return out;
    }
    std::memset(out->data, 0, bytes);
    // A pixel's result depends on its colour alone: each colour once.
    std::unordered_map<uint32_t, uint32_t> done;
    const ToolRowSpan span = ToolRowSpanOf(record, work->width, work->height);
    for (int r = span.firstRow; r < span.endRow; ++r) {
        const int topRow = work->height - 1 - r;
        const uint8_t* in = work->data + size_t(r) * size_t(work->stride);
        uint8_t* to = out->data + size_t(r) * size_t(out->stride);
        for (int x = span.left; x < span.right; ++x) {
            if (selectionMask && !MaskBit(selectionMask, x, topRow, work->width)) continue;
            if (protectMask && MaskBit(protectMask, x, topRow, work->width)) continue;
            const uint8_t* p = in + 3 * x;
            const uint32_t key = PackRgb(p[2], p[1], p[0]);
            auto it = done.find(key);
            if (it == done.end()) it = done.emplace(key, AdjustTone(key, hueShift, lightness, saturation, band)).first;
            to[3 * x] = uint8_t(Blue(it->second));
            to[3 * x + 1] = uint8_t(Green(it->second));
            to[3 * x + 2] = uint8_t(Red(it->second));
        }
    }
    return out;
}

void AdjustTonePalette(DibPaletteCopy* palette, int hueShift, int saturation, int lightness, int band) {
    if (!palette) return;
    const int count = std::clamp(palette->count, 0, 256);
    for (int i = 0; i < count; ++i) {
        PaletteEntry& e = palette->entries[i];
        const uint32_t c = AdjustTone(PackRgb(e.red, e.green, e.blue), hueShift, lightness, saturation, band);
        e.red = uint8_t(Red(c));
        e.green = uint8_t(Green(c));
        e.blue = uint8_t(Blue(c));
    }
}
