#include <algorithm>
#include <cstring>
#include <memory>

#include "plugins/loopcast/gif_io.h"
#include "plugins/loopcast/gif_rows.h"
#include "plugins/loopcast/lzw_encoder.h"

namespace {

// The fixed records and colour tables are gathered here and handed to the
// stream in a few large writes: every stream call takes the stream's lock,
// which byte by byte would cost more than encoding a small image.
class RecordWriter {
public:
    explicit RecordWriter(FILE* stream) : stream_(stream) {}

    FILE* stream() const { return stream_; }
    void Put(uint32_t b) {
        if (count_ == sizeof bytes_) Flush();
        bytes_[count_++] = uint8_t(b);
    }
    void PutWord(uint32_t v) {
        Put(v & 0xFF);
        Put((v >> 8) & 0xFF);
    }
    void PutBytes(const uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i) Put(p[i]);
    }
    // Hands the gathered bytes to the stream, before others write to it.
    void Flush() {
        if (count_) std::fwrite(bytes_, 1, count_, stream_);
        count_ = 0;
    }

private:
    FILE* stream_;
    uint8_t bytes_[1024];
    size_t count_ = 0;
};

void PutTable(RecordWriter& out, const GifColorTable* table) {
    if (!table || !table->entries) return;
    uint32_t count = std::min(table->count, GifBlockSize(table->entries) / 4);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t rgb = table->entries[i];
        out.Put((rgb >> 16) & 0xFF);
        out.Put((rgb >> 8) & 0xFF);
        out.Put(rgb & 0xFF);
    }
}

uint32_t SizeField(uint32_t bits) { return (std::clamp(bits, 1u, 8u) - 1); }

void PutScreen(RecordWriter& out, const GifScreen* s) {
    out.PutWord(s->width);
    out.PutWord(s->height);
    uint32_t resolution = std::clamp(s->colorResolution, 1u, 8u);
    out.Put((s->hasGlobalTable ? 0x80 : 0) | (resolution - 1) << 4 | (s->sorted ? 0x08 : 0) |
            SizeField(s->sizeBits));
    out.Put(s->background & 0xFF);
    out.Put(s->aspect & 0xFF);
    if (s->hasGlobalTable) PutTable(out, s->table);
}

void PutExtension(RecordWriter& out, const GifExtension* e) {
    out.Put(e->label & 0xFF);
    for (uint32_t i = 0; i < GifSubBlockCount(e); ++i) {
        const uint8_t* sub = GifSubBlockAt(e, i);
        uint32_t n = std::min<uint32_t>(GifBlockSize(sub), 255);
        if (n == 0) continue;
        out.Put(n);
        out.PutBytes(sub, n);
    }
    out.Put(0);
}

// enc is shared by the images of one file, so that each image after the first
// empties only the part of the string table the one before it filled.
void PutImage(RecordWriter& out, const GifImage* im, std::unique_ptr<LzwEncoder>& enc) {
    out.PutWord(im->left);
    out.PutWord(im->top);
    out.PutWord(im->width);
    out.PutWord(im->height);
    out.Put((im->hasLocalTable ? 0x80 : 0) | (im->interlaced ? 0x40 : 0) | (im->sorted ? 0x20 : 0) |
            (im->carried ? 0x10 : 0) | SizeField(im->sizeBits));
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
    out.Put(minCodeSize);
    out.Flush();
    if (!enc) enc = std::make_unique_for_overwrite<LzwEncoder>();
    LzwEncoderStart(enc.get(), minCodeSize, out.stream());
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
    RecordWriter out(stream);
    std::unique_ptr<LzwEncoder> enc;
    uint8_t signature[6];
    std::memset(signature, 0, sizeof signature);
    std::memcpy(signature, file->signature, strnlen(file->signature, 6));
    out.PutBytes(signature, 6);
    if (file->screen) PutScreen(out, file->screen);
    for (uint32_t i = 0; i < GifBlockCount(file); ++i) {
        const GifBlock* block = GifBlockAt(file, i);
        out.Put(block->kind & 0xFF);
        if (block->image) PutImage(out, block->image, enc);
        if (block->extension) PutExtension(out, block->extension);
    }
    out.Put(kGifTrailer);
    out.Flush();
    return !std::ferror(stream);
}
