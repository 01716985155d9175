#include "document/palette_gradient.h"

#include <algorithm>
#include <cstdint>

#include "imaging/dib_access.h"

namespace document {

RampLimit CheckRampLimits(int colorMode, int start, int count) {
    const int entries = colorMode == 1 ? 16 : 256;
    if (count < 1 || count > entries) return RampLimit::BadCount;
    if (start < 0 || start > entries - 1) return RampLimit::BadStart;
    if (start + count - 1 > entries - 1) return RampLimit::PastTheEnd;
    return RampLimit::Fits;
}

const char* RampLimitMessage(RampLimit limit) {
    switch (limit) {
    case RampLimit::BadCount: return "指定渐变值不正确";
    case RampLimit::BadStart: return "指定生成位置不正确";
    case RampLimit::PastTheEnd: return "指定生成位置、不能生成此数值的渐变。";
    case RampLimit::Fits: break;
    }
    return "";
}

RampColor RampStep(const RampColor& from, const RampColor& to, int i, int count) {
    if (count <= 1) return from;
    auto channel = [i, count](int a, int b) { return a + i * (b - a) / (count - 1); };
    return {channel(from.red, to.red), channel(from.green, to.green), channel(from.blue, to.blue)};
}

bool WriteRamp(MemHandle image, int start, int count, const RampColor& from, const RampColor& to) {
    if (!image) return false;
    auto byte = [](int v) { return uint8_t(std::clamp(v, 0, 255)); };
    for (int i = 0; i < count; ++i) {
        uint8_t alpha = 0;
        if (!GetDibPaletteEntry(image, start + i, nullptr, nullptr, nullptr, &alpha)) continue;
        const RampColor c = RampStep(from, to, i, count);
        SetDibPaletteEntry(image, start + i, byte(c.red), byte(c.green), byte(c.blue), alpha);
    }
    return true;
}

}  // namespace document
