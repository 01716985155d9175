#include <cstring>
#include <memory>

#include "plugins/loopcast/gif_io.h"
#include "plugins/loopcast/gif_rows.h"
#include "plugins/loopcast/lzw_decoder.h"

namespace {

// Past the end of the stream a byte reads as 0.
uint32_t GetByte(FILE* in) {
    int c = std::getc(in);
    return c == EOF ? 0 : uint32_t(c);
}

// A fixed-size record read in one call (every stream call takes the stream's
// lock). Past the end of the stream a byte reads as 0, and so does a word
// whose two bytes are not both there.
template <size_t N> class Record {
public:
    explicit Record(FILE* in) : got_(std::fread(bytes_, 1, N, in)) {}
    uint32_t Byte(size_t i) const { return i < got_ ? bytes_[i] : 0; }
    uint32_t Word(size_t i) const {
        return i + 1 < got_ ? uint32_t(bytes_[i]) | uint32_t(bytes_[i + 1]) << 8 : 0;
    }

private:
    uint8_t bytes_[N];
    size_t got_;
};

bool ReadTable(FILE* in, GifColorTable* table, uint32_t sizeBits) {
    uint32_t count = 1u << sizeBits;
    if (!GifSetTableSize(table, count)) return false;
    uint8_t rgb[256 * 3] = {};
    (void)std::fread(rgb, 3, count, in);
    for (uint32_t i = 0; i < count; ++i)
        table->entries[i] = uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
    return true;
}

bool ReadExtension(FILE* in, GifFile* file) {
    GifExtension* e = GifNewExtension(GetByte(in));
    if (!e) return false;
    uint8_t bytes[255];
    for (;;) {
        int n = std::getc(in);
        if (n <= 0) break;
        size_t got = std::fread(bytes, 1, size_t(n), in);
        if (got < size_t(n)) std::memset(bytes + got, 0, size_t(n) - got);
        if (!GifAppendSubBlock(e, bytes, uint32_t(n))) {
            GifFreeExtension(e);
            return false;
        }
    }
    if (GifAppendExtension(file, e)) return true;
    GifFreeExtension(e);
    return false;
}

// dec is shared by the images of one file, so that each image after the first
// resets only the part of the code table the one before it defined.
void ReadPixels(FILE* in, GifImage* im, uint64_t* budget, std::unique_ptr<LzwDecoder>& dec) {
    uint32_t minCodeSize = GetByte(in);
    uint64_t area = uint64_t(im->width) * im->height;
    if (area == 0 || im->width > kGifMaxSide || im->height > kGifMaxSide || area > *budget ||
        !LzwValidMinCodeSize(minCodeSize)) {
        GifSkipSubBlocks(in);
        return;
    }
    im->pixels = static_cast<uint8_t*>(GifAllocBlock(uint32_t(area)));
    if (!im->pixels) {
        GifSkipSubBlocks(in);
        return;
    }
    *budget -= area;
    if (!dec) dec = std::make_unique_for_overwrite<LzwDecoder>();
    LzwDecoderStart(dec.get(), minCodeSize, in);
    uint32_t w = im->width;
    GifForEachRow(im->height, im->interlaced != 0,
                  [&](uint32_t y) { LzwDecodeRow(dec.get(), im->pixels + size_t(y) * w, w); });
    LzwDecoderSkipRest(dec.get());
}

bool ReadImage(FILE* in, GifFile* file, uint64_t* budget, std::unique_ptr<LzwDecoder>& dec) {
    GifImage* im = GifNewImage();
    if (!im) return false;
    Record<9> descriptor(in);
    im->left = descriptor.Word(0);
    im->top = descriptor.Word(2);
    im->width = descriptor.Word(4);
    im->height = descriptor.Word(6);
    uint32_t packed = descriptor.Byte(8);
    im->hasLocalTable = packed >> 7 & 1;
    im->interlaced = packed >> 6 & 1;
    im->sorted = packed >> 5 & 1;
    im->carried = packed >> 4 & 1;
    im->sizeBits = (packed & 7) + 1;
    if ((im->hasLocalTable && !ReadTable(in, im->table, im->sizeBits))) {
        GifFreeImage(im);
        return false;
    }
    ReadPixels(in, im, budget, dec);
    if (GifAppendImage(file, im)) return true;
    GifFreeImage(im);
    return false;
}

}  // namespace

GifFile* GifReadFile(FILE* in) {
    char signature[6] = {};
    if (std::fread(signature, 1, 6, in) < 3 || std::memcmp(signature, "GIF", 3) != 0) return nullptr;
    GifFile* file = GifNewFile();
    if (!file) return nullptr;
    std::memcpy(file->signature, signature, 6);
    file->signature[6] = 0;

    GifScreen* s = file->screen;
    Record<7> screen(in);
    s->width = screen.Word(0);
    s->height = screen.Word(2);
    uint32_t packed = screen.Byte(4);
    s->hasGlobalTable = packed >> 7 & 1;
    s->colorResolution = (packed >> 4 & 7) + 1;
    s->sorted = packed >> 3 & 1;
    s->sizeBits = (packed & 7) + 1;
    s->background = screen.Byte(5);
    s->aspect = screen.Byte(6);
    if (s->width > kGifMaxSide || s->height > kGifMaxSide ||
        (s->hasGlobalTable && !ReadTable(in, s->table, s->sizeBits))) {
        GifFreeFile(file);
        return nullptr;
    }

    uint64_t budget = kGifPixelBudget;
    std::unique_ptr<LzwDecoder> dec;
    for (uint32_t n = 0; n < kGifMaxBlocks; ++n) {
        int kind = std::getc(in);
        bool ok;
        if (kind == kGifImageKind)
            ok = ReadImage(in, file, &budget, dec);
        else if (kind == kGifExtensionKind)
            ok = ReadExtension(in, file);
        else
            break;
        if (!ok) {
            GifFreeFile(file);
            return nullptr;
        }
    }
    return file;
}
