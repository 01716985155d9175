#include "app/open_as_new_file.h"

#include <climits>

#include "imaging/dib_access.h"
#include "imaging/dib_blit.h"
#include "imaging/dib_create.h"
#include "imaging/dib_exchange.h"

namespace {

bool isEightBitWith256Entries(MemHandle picture) {
    MemLockGuard lock(picture);
    if (!lock || lock.size() < DIB_INFO_HEADER_SIZE) return false;
    const auto* header = lock.as<const DibInfoHeader>();
    if (header->size < DIB_INFO_HEADER_SIZE) return false;
    return header->bitCount == 8 && GetDibColorCount(header, 0) == 256;
}

}  // namespace

MemHandle CreateImageFromExchange(bool sixteenColors) {
    const LayerHeader& header = GetExchangeHeader();
    long long width = (long long)header.right - header.left;
    long long height = (long long)header.bottom - header.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX) return nullptr;
    MemHandle image = CreateDib8(int(width), int(height), 0);
    if (!image) return nullptr;
    const ExchangePalette& palette = GetExchangePalette();
    int entries = sixteenColors ? 16 : 256;
    for (int i = 0; i < entries; ++i)
        SetDibPaletteEntry(image, i, palette[size_t(i)].red, palette[size_t(i)].green,
                           palette[size_t(i)].blue, palette[size_t(i)].alpha);
    return image;
}

bool CopyClipboardPixelsToLayer(MemHandle picture, MemHandle image, MemHandle layer) {
    if (!layer || !isEightBitWith256Entries(picture)) return false;
    // The blit cuts the rectangle to the picture and to the image, and
    // refuses a layer block too small for the image.
    return BlitDibRect(image, picture, 0, 0, INT_MAX, INT_MAX, 0, 0, layer);
}
