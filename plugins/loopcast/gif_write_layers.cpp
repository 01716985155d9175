#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "plugins/kit/kit_dib.h"
#include "plugins/loopcast/gif_io.h"
#include "plugins/loopcast/gif_option_dialog.h"
#include "plugins/loopcast/loopcast_state.h"

namespace {

constexpr int kMaxSide = 2048;
constexpr uint32_t kDelay = 50;  // hundredths of a second

struct TreeDeleter {
    void operator()(GifFile* f) const { GifFreeFile(f); }
};

// The image's colours in palette order, padded with black up to 256. A
// used-colour count of 0 means the colours the bit count gives (never more
// than the image's table holds).
bool FillGlobalTable(GifColorTable* table, const uint8_t* dib, size_t dibSize) {
    if (!GifSetTableSize(table, 256)) return false;
    size_t count = size_t(std::max(DibNumColors(dib, false), 0));
    count = std::min({count, size_t(256), (dibSize - DIB_INFO_HEADER_SIZE) / sizeof(PaletteEntry)});
    const auto* entries = reinterpret_cast<const PaletteEntry*>(dib + DIB_INFO_HEADER_SIZE);
    for (size_t i = 0; i < count; ++i)
        table->entries[i] = uint32_t(entries[i].red) << 16 | uint32_t(entries[i].green) << 8 | entries[i].blue;
    return true;
}

bool AppendLoopExtension(GifFile* file) {
    GifExtension* e = GifNewExtension(kGifApplicationLabel);
    static const uint8_t kForever[3] = {1, 0, 0};
    if (e && GifAppendSubBlock(e, "NETSCAPE2.0", 11) && GifAppendSubBlock(e, kForever, 3) &&
        GifAppendExtension(file, e))
        return true;
    GifFreeExtension(e);
    return false;
}

bool AppendGraphicControl(GifFile* file, bool transparent) {
    GifExtension* e = GifNewExtension(kGifGraphicControlLabel);
    // Disposal 2 (restore to background), the delay, transparent index 0.
    const uint8_t packed[4] = {uint8_t(8 | (transparent ? 1 : 0)), uint8_t(kDelay), uint8_t(kDelay >> 8), 0};
    if (e && GifAppendSubBlock(e, packed, 4) && GifAppendExtension(file, e)) return true;
    GifFreeExtension(e);
    return false;
}

// One full-screen image of the layer's rows, top-down; false when the layer
// block does not hold the picture or memory runs out.
bool AppendLayerImage(GifFile* file, MemHandle layer, uint32_t width, uint32_t height) {
    MemLockGuard lock(layer);
    const size_t stride = (width + 3) & ~size_t(3);
    if (!lock || lock.size() < LAYER_HEADER_SIZE + stride * height) return false;
    GifImage* im = GifNewImage();
    if (!im) return false;
    im->width = width;
    im->height = height;
    im->sizeBits = 8;
    im->pixels = static_cast<uint8_t*>(GifAllocBlock(width * height));
    if (!im->pixels || !GifAppendImage(file, im)) {
        GifFreeImage(im);
        return false;
    }
    const uint8_t* rows = lock.get() + LAYER_HEADER_SIZE;
    for (uint32_t y = 0; y < height; ++y)
        std::memcpy(im->pixels + size_t(y) * width, rows + size_t(height - 1 - y) * stride, width);
    return true;
}

}  // namespace

uint16_t GifWriteLayers(WinHandle host, PluginPathBuffer* path, PluginImage* image, LoopcastState& state) {
    CGifOptionDialog dialog;
    dialog.DoModal();
    if (!dialog.m_done) return PLUGIN_RESULT_CANCELLED;
    return GifWriteLayersFile(host, path->path, image->image, state.layers, dialog.m_transparency == 0);
}

uint16_t GifWriteLayersFile(WinHandle host, const char* path, MemHandle image, const MemHandle* layers,
                            bool transparent) {
    LoopcastStatus(host, PLUGIN_STATUS_WRITING);
    auto fail = [&](uint16_t result) {
        LoopcastStatus(host, PLUGIN_STATUS_CLEAR);
        return result;
    };
    std::unique_ptr<GifFile, TreeDeleter> tree(GifNewFile());
    if (!tree) return fail(PLUGIN_RESULT_NO_MEMORY);
    uint32_t width, height;
    {
        MemLockGuard lock(image);
        if (!lock) return fail(PLUGIN_RESULT_NO_MEMORY);
        if (lock.size() < DIB_INFO_HEADER_SIZE) return fail(PLUGIN_RESULT_BAD_FORMAT);
        const auto* info = lock.as<DibInfoHeader>();
        if (info->size != DIB_INFO_HEADER_SIZE || info->bitCount < 1 || info->bitCount > 8 ||
            info->compression != 0 || info->width <= 0 || info->height <= 0 || info->width > kMaxSide ||
            info->height > kMaxSide)
            return fail(PLUGIN_RESULT_BAD_FORMAT);
        width = uint32_t(info->width);
        height = uint32_t(info->height);
        GifScreen* s = tree->screen;
        s->width = width;
        s->height = height;
        s->hasGlobalTable = 1;
        s->colorResolution = 8;
        s->sizeBits = 8;
        if (!FillGlobalTable(s->table, lock.get(), lock.size())) return fail(PLUGIN_RESULT_NO_MEMORY);
    }
    std::memcpy(tree->signature, "GIF89a", 7);
    if (layers[0] && !AppendLoopExtension(tree.get())) return fail(PLUGIN_RESULT_NO_MEMORY);
    for (int i = 0; i < kLoopcastSlots && layers[i]; ++i) {
        if (!AppendGraphicControl(tree.get(), transparent) ||
            !AppendLayerImage(tree.get(), layers[i], width, height))
            return fail(PLUGIN_RESULT_NO_MEMORY);
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) return fail(PLUGIN_RESULT_CANNOT_OPEN);
    bool written = GifWriteFile(out, tree.get());
    written = std::fclose(out) == 0 && written;
    if (!written) {
        std::remove(path);
        return fail(PLUGIN_RESULT_WRITE_ERROR);
    }
    LoopcastStatus(host, PLUGIN_STATUS_WRITE_DONE);
    return PLUGIN_RESULT_OK;
}
