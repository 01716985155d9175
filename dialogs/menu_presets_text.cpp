#include "dialogs/menu_presets_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/text_codec.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Splits the text at white space.
class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}
    bool Next(std::string_view& token) {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        if (pos_ == text_.size()) return false;
        size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_])) ++pos_;
        token = text_.substr(start, pos_ - start);
        return true;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Optional sign and the leading digits; 0 without digits; saturates.
int LeadingNumber(std::string_view token) {
    size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    int64_t value = 0;
    for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (token[i] - '0'), int64_t(INT_MAX) + 1);
    if (negative) return int(-value);
    return int(std::min<int64_t>(value, INT_MAX));
}

// The first bytes of a UTF-8 text, not cutting a character.
std::string CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    size_t end = maxBytes;
    while (end > 0 && (uint8_t(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

}  // namespace

std::vector<SizePreset> ParseMenuPresets(std::string_view bytes) {
    const std::string text = platform::DecodeFileText(bytes);
    std::vector<SizePreset> presets;
    Tokens tokens(text);
    std::string_view name, width, height;
    while (int(presets.size()) < kMaxMenuPresets && tokens.Next(name)) {
        if (name.front() == '-') continue;
        if (!tokens.Next(width) || !tokens.Next(height)) break;
        presets.push_back({CutUtf8(name, kMaxPresetNameBytes), LeadingNumber(width), LeadingNumber(height)});
    }
    return presets;
}
