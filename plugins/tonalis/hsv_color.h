// A colour in integer HSV (value and saturation 0..100, hue 0..359) beside
// its red, green and blue, kept in step by UpdateHsv and UpdateRgb.
#pragma once

#include <cstdint>

class HsvColor {
public:
    // From a packed 0x00BBGGRR colour (red in the low byte); HSV at once.
    explicit HsvColor(uint32_t color);
    virtual ~HsvColor();

    // HSV from red, green and blue: value = max x 100 / 255, saturation =
    // (max - min) x 100 / max, hue from the 60-degree sector of the largest
    // channel (red wins ties over green and blue, green over blue); a grey
    // has hue 0.
    void UpdateHsv();
    // Red, green, blue and the packed colour from HSV.
    void UpdateRgb();

    // Each sets its field and calls UpdateRgb. The hue is taken modulo 360
    // (a negative remainder plus 360); saturation and value are clamped to
    // 0..100.
    void SetHue(int hue);
    void SetSaturation(int saturation);
    void SetValue(int value);

    int Hue() const { return m_nHue; }
    int Saturation() const { return m_nSaturation; }
    int Value() const { return m_nValue; }
    int Red() const { return m_nRed; }
    int Green() const { return m_nGreen; }
    int Blue() const { return m_nBlue; }
    uint32_t Color() const { return m_nColor; }

private:
    int m_nValue = 0;
    int m_nSaturation = 0;
    int m_nHue = 0;
    int m_nRed = 0;
    int m_nGreen = 0;
    int m_nBlue = 0;
    uint32_t m_nColor = 0;
};

// The packed 0x00BBGGRR colour of red, green and blue.
inline uint32_t PackRgb(int red, int green, int blue) {
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}
