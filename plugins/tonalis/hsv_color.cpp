#include "plugins/tonalis/hsv_color.h"

#include <algorithm>

namespace {

// 60 x (x - min) / (max - min), truncated.
int SectorPart(int x, int min, int range) { return 60 * (x - min) / range; }

// A channel of the colour from its sector weight w (0..60).
int Channel(int value, int saturation, int w) { return value * (6000 - (60 - w) * saturation) * 255 / 600000; }

}  // namespace

HsvColor::HsvColor(uint32_t color)
    : m_nRed(int(color & 0xff)), m_nGreen(int(color >> 8 & 0xff)), m_nBlue(int(color >> 16 & 0xff)),
      m_nColor(color & 0xffffff) {
    UpdateHsv();
}

HsvColor::~HsvColor() = default;

void HsvColor::UpdateHsv() {
    const int r = m_nRed, g = m_nGreen, b = m_nBlue;
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    m_nValue = max * 100 / 255;
    m_nSaturation = max == 0 ? 0 : (max - min) * 100 / max;
    const int range = max - min;
    if (range == 0) {
        m_nHue = 0;
    } else if (r == max) {
        int hue = (SectorPart(g, min, range) - SectorPart(b, min, range)) % 360;
        m_nHue = hue < 0 ? hue + 360 : hue;
    } else if (g == max) {
        m_nHue = 120 + SectorPart(b, min, range) - SectorPart(r, min, range);
    } else {
        m_nHue = 240 + SectorPart(r, min, range) - SectorPart(g, min, range);
    }
}

void HsvColor::UpdateRgb() {
    const int h = m_nHue;
    int wr, wg, wb;
    if (h < 120) {
        wr = h <= 60 ? 60 : 120 - h;
        wg = h <= 60 ? h : 60;
        wb = 0;
    } else if (h < 240) {
        wr = 0;
        wg = h <= 180 ? 60 : 240 - h;
        wb = h <= 180 ? h - 120 : 60;
    } else {
        wr = h <= 300 ? h - 240 : 60;
        wg = 0;
        wb = h <= 300 ? 60 : 360 - h;
    }
    m_nRed = Channel(m_nValue, m_nSaturation, wr);
    m_nGreen = Channel(m_nValue, m_nSaturation, wg);
    m_nBlue = Channel(m_nValue, m_nSaturation, wb);
    m_nColor = PackRgb(m_nRed, m_nGreen, m_nBlue);
}

void HsvColor::SetHue(int hue) {
    hue %= 360;
    m_nHue = hue < 0 ? hue + 360 : hue;
    UpdateRgb();
}

void HsvColor::SetSaturation(int saturation) {
    m_nSaturation = std::clamp(saturation, 0, 100);
    UpdateRgb();
}

void HsvColor::SetValue(int value) {
    m_nValue = std::clamp(value, 0, 100);
    UpdateRgb();
}
