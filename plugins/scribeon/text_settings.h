// The text tool's stored settings ("[face],effects,charset,alignment,
// preview,anti-alias,size,line spacing,character spacing,background") and
// the number texts of its edits, both in the C locale.
#pragma once

#include <string>

inline constexpr float kMaxTextNumber = 1296.0f;
inline constexpr int kFaceBytes = 32;  // with its terminator

struct TextSettings {
    std::string face;
    int effects = 0;  // 0 regular, 1 bold, 2 italic, 3 bold italic
    int charset = 1;
    int alignment = 0;
    int preview = 1;
    int antiAlias = 0;
    float size = 20.0f;
    float lineSpacing = 20.0f;
    float charSpacing = 0.0f;
    int background = 0;
};

// Reads a stored text over `settings`. Nothing is taken without a "]" in the
// first 129 bytes with a "[" before it. The face is at most 31 bytes (cut at
// a character boundary); the numbers follow "],"; a field that is missing,
// not a number or out of range keeps its value, the fields after one that
// cannot be read too. False when the text was ignored.
bool ParseTextSettings(const std::string& text, TextSettings* settings);
std::string FormatTextSettings(const TextSettings& settings);

// The face cut to at most 31 bytes at a UTF-8 boundary.
std::string BoundedFaceName(const std::string& face);

enum class NumberText { Ok, TooLarge, Invalid };
// Digits with at most one decimal point and one digit after it; empty is 0.
NumberText ParseNumberText(const std::string& text, float max, float* value);
// "%d.%d": the integer part and the tenth, (value x 10 + 0.9) truncated,
// modulo 10.
std::string FormatTenths(float value);
