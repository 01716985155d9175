// Glyphs from the installed fonts: faces found through fontconfig, bitmaps
// rendered by FreeType (1-bit or 65 grey levels, the platform's font
// settings not consulted).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plugins/scribeon/glyph_writers.h"

// The character set field of the settings: 128 for a face covering
// Japanese, else 1.
inline constexpr int kJapaneseCharset = 128;
inline constexpr int kDefaultCharset = 1;

// What a character is drawn with.
struct FontChoice {
    std::string face;  // family name as stored
    bool bold = false;
    bool italic = false;
    int height = 0;  // cell height in pixels (ascent + descent)
    int charset = kDefaultCharset;
    bool operator<(const FontChoice& o) const;
};

// A rendered glyph: its bitmap, where the box sits against the pen (left =
// pen x + originX, top = pen y - originY) and the advance (absolute cell
// increments).
struct GlyphImage {
    GlyphBitmap bitmap;
    int originX = 0;
    int originY = 0;
    int advanceX = 0;
    int advanceY = 0;
    std::vector<uint8_t> storage;
};

// fontconfig's family names, each once, sorted; names beginning with '@'
// left out.
std::vector<std::string> InstalledFontFamilies();
// kJapaneseCharset when a face of the family covers Japanese, else
// kDefaultCharset.
int CharsetOfFamily(const std::string& family);

class GlyphFonts {
public:
    GlyphFonts();
    ~GlyphFonts();
    GlyphFonts(const GlyphFonts&) = delete;
    GlyphFonts& operator=(const GlyphFonts&) = delete;

    bool Ok() const;
    // The family a character is drawn from: fontconfig's match for the face
    // (with the language of the character set), or, when that face lacks the
    // character, fontconfig's pick for the character. Empty when none.
    std::string FamilyFor(const FontChoice& font, char32_t ch);
    // The advance of a character (absolute cell increments); false when no
    // face can give it.
    bool Measure(const FontChoice& font, char32_t ch, bool horizontal, int* width, int* height);
    // The glyph of a character; false when it cannot be had (nothing to draw).
    // Vertical text: a full-width character stands upright in the cell its
    // turned form takes; any other is turned a quarter clockwise.
    bool Glyph(const FontChoice& font, char32_t ch, bool antiAlias, bool horizontal, GlyphImage* out);

    static bool IsFullWidth(char32_t ch);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
