#include "plugins/scribeon/text_settings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kBracketWindow = 129;

// Reads an integer or a float at `p` (up to the next comma); false when the
// field is not wholly a number.
bool ReadInt(const char*& p, const char* end, int* out) {
    const char* start = p;
    while (start < end && *start == ' ') ++start;
    auto r = std::from_chars(start, end, *out);
    if (r.ec != std::errc() || r.ptr == start) return false;
    p = r.ptr;
    return true;
}

bool ReadFloat(const char*& p, const char* end, float* out) {
    const char* start = p;
    while (start < end && *start == ' ') ++start;
    if (start < end && *start == '+') ++start;
    auto r = std::from_chars(start, end, *out, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr == start || !std::isfinite(*out)) return false;
    p = r.ptr;
    return true;
}

bool SkipComma(const char*& p, const char* end) {
    if (p >= end || *p != ',') return false;
    ++p;
    return true;
}

}  // namespace

std::string BoundedFaceName(const std::string& face) {
    size_t n = std::min(face.size(), size_t(kFaceBytes - 1));
    if (n < face.size())
        while (n > 0 && (static_cast<unsigned char>(face[n]) & 0xC0) == 0x80) --n;
    std::string out = face.substr(0, n);
    if (auto nul = out.find('\0'); nul != std::string::npos) out.resize(nul);
    return out;
}

bool ParseTextSettings(const std::string& text, TextSettings* s) {
    const size_t close = text.substr(0, kBracketWindow).find(']');
    if (close == std::string::npos) return false;
    const size_t open = text.rfind('[', close);
    if (open == std::string::npos) return false;
    s->face = BoundedFaceName(text.substr(open + 1, close - open - 1));
    const char* p = text.data() + close + 1;
    const char* end = text.data() + text.size();
    auto intField = [&](int* field, int lo, int hi) {
        int v = 0;
        if (!SkipComma(p, end) || !ReadInt(p, end, &v)) return false;
        if (v >= lo && v <= hi) *field = v;
        return true;
    };
    auto floatField = [&](float* field, float lo, float hi) {
        float v = 0;
        if (!SkipComma(p, end) || !ReadFloat(p, end, &v)) return false;
        if (v >= lo && v <= hi) *field = v;
        return true;
    };
    intField(&s->effects, 0, 3) && intField(&s->charset, 0, 255) && intField(&s->alignment, 0, 5) &&
        intField(&s->preview, 0, 1) && intField(&s->antiAlias, 0, 1) && floatField(&s->size, 1, kMaxTextNumber) &&
        floatField(&s->lineSpacing, 0, kMaxTextNumber) && floatField(&s->charSpacing, 0, kMaxTextNumber) &&
        intField(&s->background, 0, 7);
    return true;
}

std::string FormatTextSettings(const TextSettings& s) {
    auto fixed2 = [](float v) {
        char buffer[64];
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
        return std::string(buffer, r.ptr);
    };
    std::string out = "[" + BoundedFaceName(s.face) + "]";
    for (int v : {s.effects, s.charset, s.alignment, s.preview, s.antiAlias}) out += "," + std::to_string(v);
    for (float v : {s.size, s.lineSpacing, s.charSpacing}) out += "," + fixed2(v);
    out += "," + std::to_string(s.background);
    return out;
}

NumberText ParseNumberText(const std::string& text, float max, float* value) {
    long whole = 0;
    int tenth = -1;
    bool point = false;
    for (char c : text) {
        if (c == '.') {
            if (point) return NumberText::Invalid;
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                if (tenth >= 0) return NumberText::Invalid;
                tenth = c - '0';
            } else {
                whole = std::min(whole * 10 + (c - '0'), 100000L);
            }
        } else {
            return NumberText::Invalid;
        }
    }
    const float v = float(whole) + (tenth > 0 ? float(tenth) / 10.0f : 0.0f);
    if (v > max) return NumberText::TooLarge;
    *value = v;
    return NumberText::Ok;
}

std::string FormatTenths(float value) {
    const int whole = int(value);
    const int tenth = int(value * 10.0f + 0.9f) % 10;
    return std::to_string(whole) + "." + std::to_string(tenth);
}
