#include "tools/tone.h"

namespace tools {

const std::array<const char*, kToneLevels> kToneMenuTexts = {
    "6.25%",  "12.5%",  "18.25%", "25%",    "31.25%", "37.5%",  "43.75%", "50%",
    "56.25%", "62.5%",  "68.75%", "75%",    "81.25%", "87.5%",  "93.75%", "100%",
};

const char* ToneCommandText(int id) {
    return IsToneCommand(id) ? kToneMenuTexts[size_t(ToneLevelOfCommand(id))] : nullptr;
}

namespace {

// Rows 0..3 of each pattern; row 4k + r equals row r.
constexpr uint16_t kPatternRows[kToneLevels][4] = {
    {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}, {0xFFFF, 0xFFFF, 0xFFFF, 0x7777},
    {0xFFFF, 0xDDDD, 0xFFFF, 0x7777}, {0xFFFF, 0xDDDD, 0xFFFF, 0x5555},
    {0xFFFF, 0x5555, 0xFFFF, 0x5555}, {0xFFFF, 0x5555, 0xBBBB, 0x5555},
    {0xEEEE, 0x5555, 0xBBBB, 0x5555}, {0xEEEE, 0x5555, 0xAAAA, 0x5555},
    {0xAAAA, 0x5555, 0xAAAA, 0x5555}, {0xAAAA, 0x5555, 0xAAAA, 0x1111},
    {0xAAAA, 0x4444, 0xAAAA, 0x1111}, {0xAAAA, 0x4444, 0xAAAA, 0x0000},
    {0xAAAA, 0x0000, 0xAAAA, 0x0000}, {0xAAAA, 0x0000, 0x2222, 0x0000},
    {0x8888, 0x0000, 0x2222, 0x0000}, {0x8888, 0x0000, 0x0000, 0x0000},
};

constexpr std::array<TonePattern, kToneLevels> MakePatterns() {
    std::array<TonePattern, kToneLevels> out{};
    for (int p = 0; p < kToneLevels; ++p)
        for (int r = 0; r < 16; ++r) out[size_t(p)][size_t(r)] = kPatternRows[p][r % 4];
    return out;
}

}  // namespace

const std::array<TonePattern, kToneLevels> TonePatterns = MakePatterns();

const std::array<int, kToneLevels> ToneWeights = {
    10000, 9375, 8750, 8125, 7500, 6875, 6250, 5625, 5000, 4375, 3750, 3125, 2500, 1825, 1250, 625,
};

ToneMask::ToneMask(int pattern, int color) {
    const TonePattern& rows = TonePatterns[size_t(pattern < 0 ? 0 : pattern > 15 ? 15 : pattern)];
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            entries_[size_t(r * 16 + c)] = (rows[size_t(r)] >> (15 - c)) & 1 ? int16_t(color) : int16_t(-1);
}

}  // namespace tools
