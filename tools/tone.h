// Drawing tone: the 16 tone levels, their commands and menu texts, the
// ordered 16 x 16 dither patterns, the per-operation dither mask and the
// blend weights used for documents without layers.
//
// Level 0..15 (15 = solid); the pattern index is 15 - level (0 = solid).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tools {

inline constexpr int kToneLevels = 16;
inline constexpr int kToneLevelSolid = 15;
// Commands 636..651 choose level id - 636 and pattern 651 - id.
inline constexpr int kToneCommandFirst = 636;
inline constexpr int kToneCommandLast = 651;

inline constexpr bool IsToneCommand(int id) { return id >= kToneCommandFirst && id <= kToneCommandLast; }
inline constexpr int ToneLevelOfCommand(int id) { return id - kToneCommandFirst; }
inline constexpr int TonePatternOfCommand(int id) { return kToneCommandLast - id; }
inline constexpr int TonePatternOfLevel(int level) { return kToneLevelSolid - level; }
inline constexpr int ToneCommandOfLevel(int level) { return kToneCommandFirst + level; }

// A view's tone: level 15 (solid) at construction.
struct ToneState {
    int level = kToneLevelSolid;
    int pattern = 0;

    // A tone command; false (and nothing changed) for another id.
    bool Choose(int id) {
        if (!IsToneCommand(id)) return false;
        level = ToneLevelOfCommand(id);
        pattern = TonePatternOfCommand(id);
        return true;
    }
    // The command whose check mark shows the current level.
    bool Checks(int id) const { return IsToneCommand(id) && ToneLevelOfCommand(id) == level; }
};

// Menu text of each level, UTF-8, level 0 first.
extern const std::array<const char*, kToneLevels> kToneMenuTexts;
// Menu text of a tone command; nullptr for another id.
const char* ToneCommandText(int id);

// Pattern p, row r (0..15): bit 15 is column 0. Pattern p has 256 - 16p set
// bits; every pattern repeats every 4 rows and 4 columns.
using TonePattern = std::array<uint16_t, 16>;
extern const std::array<TonePattern, kToneLevels> TonePatterns;

// Blend weights by pattern index, out of ToneWeights[0].
extern const std::array<int, kToneLevels> ToneWeights;

// The dither mask of one drawing operation: entry row * 16 + column holds the
// drawing colour where the pattern's bit is set and -1 where it is clear.
// Anchored to image coordinates: pixel (x, y) uses entry
// (y mod 16) * 16 + (x mod 16).
class ToneMask {
public:
    ToneMask() { entries_.fill(0); }
    ToneMask(int pattern, int color);

    int16_t At(int x, int y) const { return entries_[size_t((y & 15) * 16 + (x & 15))]; }
    const std::array<int16_t, 256>& entries() const { return entries_; }

private:
    std::array<int16_t, 256> entries_;
};

}  // namespace tools
