// A linear ramp of palette entries: `count` consecutive entries from `start`
// going from one colour to another, and the limits a document's colour mode
// puts on the run.
#pragma once

#include "platform/memory.h"

namespace document {

struct RampColor {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// Why a run of entries cannot take a ramp.
enum class RampLimit {
    Fits,
    BadCount,    // "指定渐变值不正确"
    BadStart,    // "指定生成位置不正确"
    PastTheEnd,  // "指定生成位置、不能生成此数值的渐变。"
};

// The 16-colour mode (1) allows entries 0..15, every other mode 0..255; the
// count is checked first, then the start, then the last entry of the run.
RampLimit CheckRampLimits(int colorMode, int start, int count);
// The message of a limit (empty for Fits).
const char* RampLimitMessage(RampLimit limit);

// The colour of step i of a ramp over `count` entries: each channel is
// from + i x (to - from) / (count - 1), the division truncating toward zero;
// a ramp of one entry is the start colour.
RampColor RampStep(const RampColor& from, const RampColor& to, int i, int count);

// Writes the ramp into entries start .. start + count - 1 of the image's
// table, each entry keeping its alpha. Entries outside the table are left
// out. False without an image.
bool WriteRamp(MemHandle image, int start, int count, const RampColor& from, const RampColor& to);

}  // namespace document
