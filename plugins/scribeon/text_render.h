// Drawing a text glyph by glyph into a render target: lines, alignment,
// spacing, horizontal rows or vertical columns.
#pragma once

#include <cstdint>
#include <vector>

#include "plugins/scribeon/glyph_fonts.h"
#include "plugins/scribeon/glyph_writers.h"

// One character of the text with its format; '\n' ends a line.
struct TextChar {
    char32_t code = 0;
    FontChoice font;          // font.height = heightTwips / 20
    int heightTwips = 0;
    uint8_t colorIndex = 0;  // the palette index chosen for it
};

struct TextLayout {
    int anchorX = 0;
    int anchorY = 0;
    int alignment = 0;  // 0..2 horizontal left, centre, right; 3..5 vertical top, centre, bottom
    int charSpacing = 0;
    int lineSpacing = 0;  // the whole distance between line origins
    bool antiAlias = false;
};

inline bool IsVerticalAlignment(int alignment) { return alignment >= 3 && alignment <= 5; }

// The advance of one character: a blank half the size, the full-width blank
// the size (both ways), code 0 nothing, any other what the font gives.
void MeasureGlyphString(GlyphFonts& fonts, const TextChar& c, bool horizontal, bool antiAlias, int* width,
                        int* height);

// Draws one character with its pen at (x, y) (on the base line) and returns
// its advance: a grey glyph blended into the composite, a mono one put into
// the layer. Nothing is drawn when its glyph cannot be had.
void RenderGlyphString(GlyphFonts& fonts, RenderTarget& target, int x, int y, const TextChar& c, bool antiAlias,
                       bool horizontal, int* width, int* height);

// The line's first pen coordinate along the line: n characters of total
// advance `total` with spacing s.
int LineStart(int alignment, int anchor, int n, int s, int total);

// Every line of the text, then (anti-aliased) the write-back into the layer.
void RenderText(GlyphFonts& fonts, const std::vector<TextChar>& text, const TextLayout& layout,
                RenderTarget& target);
