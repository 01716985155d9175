#include "plugins/scribeon/text_render.h"

namespace {

constexpr char32_t kBlank = 0x20;
constexpr char32_t kWideBlank = 0x3000;

}  // namespace

void MeasureGlyphString(GlyphFonts& fonts, const TextChar& c, bool horizontal, bool antiAlias, int* width,
                        int* height) {
    *width = *height = 0;
    if (c.code == 0) return;
    if (c.code == kBlank) {
        *width = *height = c.heightTwips / 40;
        return;
    }
    if (c.code == kWideBlank) {
        *width = *height = c.heightTwips / 20;
        return;
    }
    (void)antiAlias;
    if (!fonts.Measure(c.font, c.code, horizontal, width, height)) *width = *height = 0;
}

void RenderGlyphString(GlyphFonts& fonts, RenderTarget& target, int x, int y, const TextChar& c, bool antiAlias,
                       bool horizontal, int* width, int* height) {
    *width = *height = 0;
    GlyphImage glyph;
    if (!fonts.Glyph(c.font, c.code, antiAlias, horizontal, &glyph)) return;
    const int left = x + glyph.originX, top = y - glyph.originY;
    if (glyph.bitmap.bits) {
        if (antiAlias) BlendGrayGlyph(target, glyph.bitmap, left, top, c.colorIndex);
        else PutMonoGlyph(target, glyph.bitmap, left, top, c.colorIndex);
    }
    *width = glyph.advanceX;
    *height = glyph.advanceY;
}

int LineStart(int alignment, int anchor, int n, int s, int total) {
    if (n <= 0) return anchor;
    switch (alignment) {
    case 1:
    case 4: return anchor - ((n - 1) * s + total) / 2;
    case 2:
    case 5: return anchor - (n - 1) * s - total;
    default: return anchor;
    }
}

void RenderText(GlyphFonts& fonts, const std::vector<TextChar>& text, const TextLayout& layout,
                RenderTarget& target) {
    const bool horizontal = !IsVerticalAlignment(layout.alignment);
    const int s = layout.charSpacing;
    int penX = layout.anchorX, penY = layout.anchorY;
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t end = begin;
        while (end < text.size() && text[end].code != '\n') ++end;
        // Measure pass.
        int totalW = 0, totalH = 0, n = 0;
        for (size_t i = begin; i < end; ++i) {
            int w = 0, h = 0;
            MeasureGlyphString(fonts, text[i], horizontal, layout.antiAlias, &w, &h);
            totalW += w;
            totalH += h;
            ++n;
        }
        int x = penX, y = penY;
        if (horizontal) x = LineStart(layout.alignment, penX, n, s, totalW);
        else y = LineStart(layout.alignment, penY, n, s, totalH);
        // Render pass.
        for (size_t i = begin; i < end; ++i) {
            const TextChar& c = text[i];
            int w = 0, h = 0;
            if (c.code == kBlank || c.code == kWideBlank || c.code == 0) MeasureGlyphString(fonts, c, horizontal, layout.antiAlias, &w, &h);
            else RenderGlyphString(fonts, target, x, y, c, layout.antiAlias, horizontal, &w, &h);
            if (horizontal) x += s + w;
            else y += h + s;
        }
        if (horizontal) penY += layout.lineSpacing;
        else penX -= layout.lineSpacing;
        if (end >= text.size()) break;
        begin = end + 1;
    }
    if (layout.antiAlias) WriteRgbThroughMasks(target);
}
