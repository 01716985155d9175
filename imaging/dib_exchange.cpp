#include "imaging/dib_exchange.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_clipboard.h"
#include "imaging/dib_convert.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_qimage.h"
#include "imaging/imaging_messages.h"
#include "imaging/mono_expand.h"

namespace {

ExchangeColorReducer& Reducer() {
    static ExchangeColorReducer reducer;
    return reducer;
}

int BitCount(MemHandle h) {
    dib::LockedDib d(h);
    return d ? d.geo().bitCount : 0;
}

// Brings a picture we own to an 8-bit image with 256 entries, or frees it
// and gives null.
MemHandle ToEightBit(MemHandle picture) {
    int bits = BitCount(picture);
    if (bits == 0) {
        MemFree(picture);
        return nullptr;
    }
    if (bits == 1) {
        picture = ExpandMonoDib(picture);
        if (BitCount(picture) != 8) {
            MemFree(picture);
            return nullptr;
        }
        bits = 8;
    }
    if (bits == 16 || bits == 32) {
        MemHandle direct = QImageToDib24(DibToQImage(picture));
        MemFree(picture);
        if (!direct) return nullptr;
        picture = direct;
        bits = 24;
    }
    if (bits == 24) {
        ExchangeColorReducer reduce = Reducer();
        MemHandle reduced = nullptr;
        ColorReduceResult result = reduce ? reduce(picture, &reduced) : ColorReduceResult::Failed;
        MemFree(picture);
        if (result == ColorReduceResult::Done && BitCount(reduced) == 8) {
            picture = reduced;
        } else {
            if (reduced) MemFree(reduced);
            dib::ShowImagingMessage(result == ColorReduceResult::NoMemory ? "减色所需要的内存不足。"
                                                                          : "减色失败。");
            return nullptr;
        }
    }
    bool kept = false;
    MemHandle eight = ExpandDib4To8(picture, &kept);
    if (!eight) {
        if (kept) MemFree(picture);
        return nullptr;
    }
    if (BitCount(eight) != 8) {
        MemFree(eight);
        return nullptr;
    }
    return eight;
}

MemHandle PictureToLayer(MemHandle image, size_t size) {
    if (size < LAYER_HEADER_SIZE) return nullptr;
    int originalBits = BitCount(image);
    if (originalBits == 0) return nullptr;
    MemHandle picture = DuplicateGlobal(image);
    if (!picture) return nullptr;
    picture = ToEightBit(picture);
    if (!picture) return nullptr;

    MemHandle layer = MemAlloc(size);
    {
        dib::LockedDib d(picture);
        MemLockGuard out(layer);
        if (d && out) {
            PaletteEntry table[256];
            dib::ReadColorTable(d.data(), d.geo(), table);
            ExchangePalette& palette = GetExchangePalette();
            int count = originalBits == 4 ? 16 : 256;
            for (int i = 0; i < count; ++i)
                palette[size_t(i)] = {table[i].red, table[i].green, table[i].blue, table[i].alpha};
            std::memcpy(out.get(), &GetExchangeHeader(), LAYER_HEADER_SIZE);
            size_t held = d.geo().blockSize - d.geo().bitsOffset;
            std::memcpy(out.get() + LAYER_HEADER_SIZE, d.bits(),
                        std::min(size - LAYER_HEADER_SIZE, held));
        } else if (layer) {
            MemFree(layer);
            layer = nullptr;
        }
    }
    MemFree(picture);
    return layer;
}

MemHandle LayerToImage(MemHandle layerBlock, MemHandle documentImage) {
    MemLockGuard layer(layerBlock);
    dib::LayerGeometry lg;
    if (!layer || !dib::ReadLayerGeometry(layer.get(), layer.size(), &lg)) return nullptr;
    dib::LockedDib doc(documentImage);
    if (!doc) return nullptr;
    MemHandle image = MemAlloc(layer.size() + 976);
    MemLockGuard out(image);
    if (!out) return nullptr;
    auto* info = out.as<DibInfoHeader>();
    if (!doc.geo().core) std::memcpy(info, doc.data(), DIB_INFO_HEADER_SIZE);
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = lg.width;
    info->height = lg.height;
    info->planes = 1;
    info->bitCount = 8;
    info->compression = 0;
    info->clrUsed = 0;
    info->clrImportant = 0;
    info->sizeImage = uint32_t(lg.rowBytes * size_t(lg.height));
    PaletteEntry table[256];
    dib::ReadColorTable(doc.data(), doc.geo(), table);
    std::memcpy(out.get() + DIB_INFO_HEADER_SIZE, table, sizeof table);
    std::memcpy(out.get() + 1064, layer.get() + LAYER_HEADER_SIZE, layer.size() - LAYER_HEADER_SIZE);
    std::memcpy(&GetExchangeHeader(), layer.get(), LAYER_HEADER_SIZE);
    return image;
}

}  // namespace

ExchangePalette& GetExchangePalette() {
    static ExchangePalette palette{};
    return palette;
}

LayerHeader& GetExchangeHeader() {
    static LayerHeader header{};
    return header;
}

namespace {
bool g_programCopied = false;
bool g_sixteenColorSource = false;
}  // namespace

void NoteProgramClipboardCopy(bool sixteenColorSource) {
    g_programCopied = true;
    g_sixteenColorSource = sixteenColorSource;
}

bool HasProgramClipboardCopy() { return g_programCopied && ClipboardHasOwnDib(); }
bool ProgramClipboardCopyWasSixteenColor() { return g_sixteenColorSource; }

void ResetProgramClipboardCopy() {
    g_programCopied = false;
    g_sixteenColorSource = false;
}

ExchangeColorReducer SetExchangeColorReducer(ExchangeColorReducer reducer) {
    ExchangeColorReducer previous = std::move(Reducer());
    Reducer() = std::move(reducer);
    return previous;
}

MemHandle ConvertDibForExchange(MemHandle image, MemHandle documentImage, size_t size) {
    if (size > 0) return PictureToLayer(image, size);
    if (!documentImage) return nullptr;
    return LayerToImage(image, documentImage);
}
