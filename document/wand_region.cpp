#include "document/wand_region.h"

#include <bit>
#include <cstring>

#include "imaging/index_region.h"

namespace document {

namespace {

bool g_refused = false;

// Eight mask bytes as one word, the first byte highest.
uint64_t LoadBytes(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    return w;
}

void StoreBytes(uint8_t* p, uint64_t w) {
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    std::memcpy(p, &w, sizeof w);
}

}  // namespace

void SetWandMemoryRefusedForTest(bool refused) { g_refused = refused; }

bool GrowWandRegion(const MaskBits& mask, const WandLayer& layer, int x, int y) {
    if (!mask.Valid() || !layer.pixels || layer.width != mask.width || layer.height != mask.height ||
        !mask.Inside(x, y))
        return true;
    if (g_refused) {
        std::memset(mask.data, 0, mask.RowBytes() * size_t(mask.height));
        return false;
    }
    const dib::IndexRows pixels{layer.pixels, layer.stride, layer.width, layer.height, true};
    const dib::RegionLimits whole{{0, 0, mask.width, mask.height}};
    return dib::GrowIndexRegion(pixels, x, y, whole, {mask.data, mask.RowBytes()});
}

void MarkRegionEdges(const MaskBits& selection, const MaskBits& edges) {
    if (!selection.Valid() || !edges.Valid() || selection.width != edges.width ||
        selection.height != edges.height)
        return;
    const size_t rowBytes = selection.RowBytes();
    const uint8_t last = LastByteMask(selection.width);
    for (int y = 0; y < selection.height; ++y) {
        const uint8_t* row = selection.Row(y);
        const uint8_t* above = y > 0 ? selection.Row(y - 1) : nullptr;
        uint8_t* out = edges.Row(y);
        unsigned carry = 0;  // the pixel left of this byte, selected
        size_t i = 0;
        // Eight bytes at a time, the last byte left to the bytes below.
        for (; i + 8 < rowBytes; i += 8) {
            const uint64_t b = LoadBytes(row + i), up = above ? LoadBytes(above + i) : 0;
            if (b == 0 && carry == 0 && up == 0) continue;
            const uint64_t left = (b >> 1) | (uint64_t(carry) << 63);
            StoreBytes(out + i, LoadBytes(out + i) | (b ^ left) | (b ^ up));
            carry = unsigned(b & 1);
        }
        for (; i < rowBytes; ++i) {
            const uint8_t b = i + 1 == rowBytes ? uint8_t(row[i] & last) : row[i];
            const uint8_t up = above ? (i + 1 == rowBytes ? uint8_t(above[i] & last) : above[i]) : 0;
            if (b == 0 && carry == 0 && up == 0) continue;
            const uint8_t left = uint8_t((b >> 1) | (carry << 7));
            uint8_t e = uint8_t((b & ~left) | (~b & left));  // run starts, first pixels after runs
            e |= uint8_t((b & ~up) | (~b & up));             // the same down the columns
            if (i + 1 == rowBytes) e &= last;
            out[i] |= e;
            carry = b & 1;
        }
        // The pixel after a run that ends at the bottom row lies outside.
    }
}

}  // namespace document
