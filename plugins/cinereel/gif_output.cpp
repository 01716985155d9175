#include "plugins/cinereel/gif_output.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/memory.h"
#include "platform/safe_save.h"
#include "plugin_api/plugin_api.h"
#include "plugins/cinereel/preview_play.h"
#include "plugins/loopcast/gif_io.h"

namespace cinereel {

namespace {

struct TreeDeleter {
    void operator()(GifFile* f) const { GifFreeFile(f); }
};

// The image's n used colours (all 256 when the count is 0), read only from
// the table the block holds; the entries past them repeat the last colour.
bool FillTable(GifColorTable* table, const GifSource& source) {
    if (!GifSetTableSize(table, 256) || source.dibSize < DIB_INFO_HEADER_SIZE + 4) return false;
    DibInfoHeader h;
    std::memcpy(&h, source.dib, sizeof h);
    size_t n = h.clrUsed == 0 || h.clrUsed > 256 ? 256 : h.clrUsed;
    n = std::min(n, (source.dibSize - DIB_INFO_HEADER_SIZE) / 4);
    const uint8_t* entries = source.dib + DIB_INFO_HEADER_SIZE;
    for (size_t i = 0; i < 256; ++i) {
        const uint8_t* e = entries + 4 * std::min(i, n - 1);
        table->entries[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
    }
    return true;
}

bool AppendLoop(GifFile* file) {
    static const uint8_t kForever[3] = {1, 0, 0};
    GifExtension* e = GifNewExtension(kGifApplicationLabel);
    if (e && GifAppendSubBlock(e, "NETSCAPE2.0", 11) && GifAppendSubBlock(e, kForever, 3) &&
        GifAppendExtension(file, e))
        return true;
    GifFreeExtension(e);
    return false;
}

bool AppendControl(GifFile* file, int delayMs, bool transparent) {
    const uint32_t delay = uint32_t(std::clamp(delayMs, 0, 655350)) / 10;
    const uint8_t packed[4] = {uint8_t(8 | (transparent ? 1 : 0)), uint8_t(delay), uint8_t(delay >> 8), 0};
    GifExtension* e = GifNewExtension(kGifGraphicControlLabel);
    if (e && GifAppendSubBlock(e, packed, 4) && GifAppendExtension(file, e)) return true;
    GifFreeExtension(e);
    return false;
}

bool AppendFrame(GifFile* file, const SheetFrame& f, Offset at, const GifSource& source, bool interlace) {
    const uint32_t w = uint32_t(f.right - f.left), h = uint32_t(f.bottom - f.top);
    // The frame's pixel block, from the memory layer like every picture block.
    MemHandle block = MemAlloc(size_t(w) * h);
    if (!block) return false;
    GifImage* im = GifNewImage();
    if (im) im->pixels = static_cast<uint8_t*>(GifAllocBlock(w * h));
    bool ok = im && im->pixels;
    if (ok) {
        MemLockGuard lock(block);
        uint8_t* rows = static_cast<uint8_t*>(lock.get());
        CopyFrame(source.bits, source.stride, source.width, source.height, f, rows, int(w), int(w), int(h), 0, 0);
        std::memcpy(im->pixels, rows, size_t(w) * h);
        im->left = uint32_t(at.x);
        im->top = uint32_t(at.y);
        im->width = w;
        im->height = h;
        im->interlaced = interlace ? 1 : 0;
        im->sizeBits = 8;
        ok = GifAppendImage(file, im);
    }
    MemFree(block);
    if (!ok) GifFreeImage(im);
    return ok;
}

}  // namespace

GifBuild BuildAnimGif(const SheetFrame* frames, int basePos, const GifSource& source, const GifOptions& options,
                      GifFile** out) {
    *out = nullptr;
    // The screen is the largest of the frames written, as the preview measures.
    const PlayOrder order = Recount(frames);
    if (order.width <= 0 || order.height <= 0) return GifBuild::NoFrames;
    if (uint32_t(order.width) > kGifMaxSide || uint32_t(order.height) > kGifMaxSide) return GifBuild::NoMemory;
    std::unique_ptr<GifFile, TreeDeleter> tree(GifNewFile());
    if (!tree) return GifBuild::NoMemory;
    std::memcpy(tree->signature, "GIF89a", 7);
    GifScreen* s = tree->screen;
    s->width = uint32_t(order.width);
    s->height = uint32_t(order.height);
    s->hasGlobalTable = 1;
    s->colorResolution = 8;
    s->sorted = 0;
    s->sizeBits = 8;
    s->background = 0;
    s->aspect = 0;
    if (!FillTable(s->table, source)) return GifBuild::NoMemory;
    if (options.loop && !AppendLoop(tree.get())) return GifBuild::NoMemory;
    for (int index : order.frames) {
        const SheetFrame& f = frames[index];
        if (f.left >= f.right || f.top >= f.bottom) continue;
        const Offset at = PlaceFrame(basePos, order.width, order.height, f.right - f.left, f.bottom - f.top);
        if (!AppendControl(tree.get(), f.delay, options.transparent) ||
            !AppendFrame(tree.get(), f, at, source, options.interlace))
            return GifBuild::NoMemory;
    }
    *out = tree.release();
    return GifBuild::Ok;
}

bool WriteAnimGif(const char* path, const GifFile* tree) {
    if (!path) return false;
    // A complete new file replaces an old one; a failed write leaves it.
    platform::SafeSave save(path);
    if (!save) return false;
    FILE* file = std::fopen(save.TemporaryPath().c_str(), "wb");
    if (!file) return false;
    bool written = GifWriteFile(file, tree);
    written = std::fclose(file) == 0 && written;
    return written && save.Commit();
}

}  // namespace cinereel
