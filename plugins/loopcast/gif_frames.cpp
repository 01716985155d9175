#include "plugins/loopcast/gif_frames.h"

#include <algorithm>

bool GifReadGraphicControl(const GifExtension* extension, GifGraphicControl* out) {
    if (extension->label != kGifGraphicControlLabel || GifSubBlockCount(extension) == 0) return false;
    const uint8_t* sub = GifSubBlockAt(extension, 0);
    if (GifBlockSize(sub) < 4) return false;
    out->transparent = sub[0] & 1;
    out->disposal = (sub[0] >> 2) & 7;
    out->transparentIndex = sub[3];
    return true;
}

namespace {

void FillPalette(std::array<uint32_t, 256>& palette, const GifColorTable* table) {
    palette.fill(0);
    if (!table || !table->entries) return;
    uint32_t n = std::min({table->count, GifBlockSize(table->entries) / 4, 256u});
    std::copy(table->entries, table->entries + n, palette.begin());
}

}  // namespace

GifFrameSet GifComposeFrames(const GifFile* file, const GifFrameVisitor& visit) {
    GifFrameSet set;
    const GifScreen* screen = file->screen;
    set.width = screen->width;
    set.height = screen->height;
    set.hasGlobalTable = screen->hasGlobalTable != 0;
    if (set.hasGlobalTable) FillPalette(set.global, screen->table);
    const size_t w = set.width, h = set.height;
    std::vector<uint16_t> canvas(w * h, 0), saved;
    GifGraphicControl control;

    for (uint32_t b = 0; b < GifBlockCount(file); ++b) {
        const GifBlock* block = GifBlockAt(file, b);
        if (block->extension) {
            GifGraphicControl read;
            if (GifReadGraphicControl(block->extension, &read)) control = read;
            continue;
        }
        const GifImage* im = block->image;
        if (!im) continue;
        if (set.palettes.size() == kGifMaxFrames) {
            set.truncated = true;
            break;
        }
        const uint16_t frame = uint16_t(set.palettes.size());
        set.palettes.emplace_back();
        if (im->hasLocalTable) {
            FillPalette(set.palettes.back(), im->table);
            set.anyLocalTable = true;
        } else {
            set.palettes.back() = set.global;
        }

        // The image's rectangle clipped to the screen.
        const size_t x0 = std::min<size_t>(im->left, w), y0 = std::min<size_t>(im->top, h);
        const size_t x1 = std::min<size_t>(size_t(im->left) + im->width, w);
        const size_t y1 = std::min<size_t>(size_t(im->top) + im->height, h);
        if (control.disposal == 3) saved = canvas;
        const bool hasPixels = im->pixels && GifBlockSize(im->pixels) >= size_t(im->width) * im->height;
        if (hasPixels) {
            const uint16_t base = uint16_t(frame << 8);
            for (size_t y = y0; y < y1; ++y) {
                const uint8_t* src = im->pixels + (y - im->top) * size_t(im->width) + (x0 - im->left);
                uint16_t* dst = canvas.data() + y * w;
                for (size_t x = x0; x < x1; ++x, ++src)
                    if (!control.transparent || *src != control.transparentIndex) dst[x] = uint16_t(base | *src);
            }
        }
        visit(frame, set, canvas.data());

        if (control.disposal == 2) {
            for (size_t y = y0; y < y1; ++y) std::fill(canvas.begin() + y * w + x0, canvas.begin() + y * w + x1, 0);
        } else if (control.disposal == 3) {
            canvas.swap(saved);
        }
        control = GifGraphicControl();  // applies to the next image only
    }
    return set;
}
