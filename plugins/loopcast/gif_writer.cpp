#include <algorithm>
#include <cstring>
#include <memory>

#include "plugins/loopcast/gif_io.h"
#include "plugins/loopcast/gif_rows.h"
#include "plugins/loopcast/lzw_encoder.h"

namespace {

void PutWord(FILE* out, uint32_t v) {
    std::putc(int(v & 0xFF), out);
    std::putc(int((v >> 8) & 0xFF), out);
}

void PutTable(FILE* out, const GifColorTable* table) {
    if (!table || !table->entries) return;
    uint32_t count = std::min(table->count, GifBlockSize(table->entries) / 4);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t rgb = table->entries[i];
        std::putc(int((rgb >> 16) & 0xFF), out);
        std::putc(int((rgb >> 8) & 0xFF), out);
        std::putc(int(rgb & 0xFF), out);
    }
}

uint32_t SizeField(uint32_t bits) { return (std::clamp(bits, 1u, 8u) - 1); }

void PutScreen(FILE* out, const GifScreen* s) {
    PutWord(out, s->width);
    PutWord(out, s->height);
    uint32_t resolution = std::clamp(s->colorResolution, 1u, 8u);
    std::putc(int((s->hasGlobalTable ? 0x80 : 0) | (resolution - 1) << 4 | (s->sorted ? 0x08 : 0) |
                  SizeField(s->sizeBits)),
              out);
    std::putc(int(s->background & 0xFF), out);
    std::putc(int(s->aspect & 0xFF), out);
    if (s->hasGlobalTable) PutTable(out, s->table);
}

void PutExtension(FILE* out, const GifExtension* e) {
    std::putc(int(e->label & 0xFF), out);
    for (uint32_t i = 0; i < GifSubBlockCount(e); ++i) {
        const uint8_t* sub = GifSubBlockAt(e, i);
        uint32_t n = std::min<uint32_t>(GifBlockSize(sub), 255);
        if (n == 0) continue;
        std::putc(int(n), out);
        std::fwrite(sub, 1, n, out);
    }
    std::putc(0, out);
}

void PutImage(FILE* out, const GifImage* im) {
    PutWord(out, im->left);
    PutWord(out, im->top);
    PutWord(out, im->width);
    PutWord(out, im->height);
    std::putc(int((im->hasLocalTable ? 0x80 : 0) | (im->interlaced ? 0x40 : 0) |
                  (im->sorted ? 0x20 : 0) | (im->carried ? 0x10 : 0) | SizeField(im->sizeBits)),
              out);
    if (im->hasLocalTable) PutTable(out, im->table);

    uint32_t w = im->width & 0xFFFF, h = im->height & 0xFFFF;
    size_t area = size_t(w) * h;
    bool hasPixels = im->pixels && GifBlockSize(im->pixels) >= area;
    // The code size follows the table, and grows when some index does not fit
    // it (an image that uses the global table of a file read elsewhere), so
    // that no index is ever taken for a control code.
    uint32_t minCodeSize = std::max(2u, std::clamp(im->sizeBits, 1u, 8u));
    if (hasPixels && area) {
        uint32_t highest = *std::max_element(im->pixels, im->pixels + area);
        while (highest >> minCodeSize) ++minCodeSize;
    }
    std::putc(int(minCodeSize), out);
    auto enc = std::make_unique<LzwEncoder>();
    LzwEncoderStart(enc.get(), minCodeSize, out);
    if (hasPixels) {
        GifForEachRow(h, im->interlaced != 0,
                      [&](uint32_t y) { LzwEncoderFeed(enc.get(), im->pixels + size_t(y) * w, w); });
    } else if (w && h) {
        // A tree without pixels still gives a complete image: all index 0.
        std::unique_ptr<uint8_t[]> zeros(new uint8_t[w]());
        for (uint32_t y = 0; y < h; ++y) LzwEncoderFeed(enc.get(), zeros.get(), w);
    }
    LzwEncoderFinish(enc.get());
}

}  // namespace

bool GifWriteFile(FILE* stream, const GifFile* file) {
    char signature[6];
    std::memset(signature, 0, sizeof signature);
    std::memcpy(signature, file->signature, strnlen(file->signature, 6));
    std::fwrite(signature, 1, 6, stream);
    if (file->screen) PutScreen(stream, file->screen);
    for (uint32_t i = 0; i < GifBlockCount(file); ++i) {
        const GifBlock* block = GifBlockAt(file, i);
        std::putc(int(block->kind & 0xFF), stream);
        if (block->image) PutImage(stream, block->image);
        if (block->extension) PutExtension(stream, block->extension);
    }
    std::putc(kGifTrailer, stream);
    return !std::ferror(stream);
}
