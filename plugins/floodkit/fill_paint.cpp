// Painting the region: the fill colour or the pattern tiled from the seed,
// through the tone mask, blended by the edge weights when there are any.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>

#include "plugins/floodkit/fill_context.h"
#include "plugins/kit/kit_palette_search.h"

namespace {

// The first tile's origin: `seed` reduced by whole tiles to 0 or below.
int TileOrigin(int seed, int tile) { return seed > 0 ? seed - (seed + tile - 1) / tile * tile : seed; }

// (value - origin) mod tile for value >= origin.
int InTile(int value, int origin, int tile) { return (value - origin) % tile; }

// For each byte of work bits, the eight pixel bytes it covers (pixel k of
// the byte is bit 7 - k) as lanes of 0xff in eight bytes read from memory.
constexpr std::array<uint64_t, 256> MakeByteLanes() {
    std::array<uint64_t, 256> lanes{};
    for (unsigned bits = 0; bits < 256; ++bits)
        for (int k = 0; k < 8; ++k)
            if ((bits >> (7 - k)) & 1)
                lanes[bits] |= uint64_t(0xff) << (std::endian::native == std::endian::little ? 8 * k : 56 - 8 * k);
    return lanes;
}
constexpr std::array<uint64_t, 256> kByteLanes = MakeByteLanes();

}  // namespace

bool FillContext::PaintRegion() {
    if (!m_bFilled || !m_pLayer) return true;
    const PaletteEntry* palette = m_pLayer->Palette();
    const bool soft = m_nEdgeWidth > 0 && m_pWeights;
    const int tileW = m_pPattern ? m_pPattern->GetRowInfo(false) : m_nWidth;
    const int tileH = m_pPattern ? m_pPattern->GetHeight() : m_nHeight;
    if (tileW <= 0 || tileH <= 0) return true;
    const int originX = TileOrigin(m_nSeedX, tileW);
    const int originY = TileOrigin(m_nSeedY, tileH);

    std::unique_ptr<PaletteSearch> search;
    if (soft) {
        try {
            search = std::make_unique<PaletteSearch>(palette, 256);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    const PaletteEntry fill = palette[m_nFillColor];
    auto paint = [this](uint8_t& pixel, uint8_t value) {
        if (pixel != value) m_bPainted = true;
        pixel = value;
    };
    const uint64_t color8 = uint64_t(uint8_t(m_nFillColor)) * 0x0101010101010101ULL;
    const int first = m_rcFill.left, last = m_rcFill.right - 1;
    for (int y = m_rcFill.top; y < m_rcFill.bottom; ++y) {
        const uint8_t* work = m_pWork->Row(y);
        const uint8_t* mask = m_bMaskInUse ? m_pMask->Row(y) : nullptr;
        uint8_t* out = m_pLayer->Row(m_nHeight - 1 - y);
        const uint8_t* pattern =
            m_pPattern ? m_pPattern->Row(tileH - 1 - InTile(y, originY, tileH)) : nullptr;
        const uint8_t* weights = soft ? m_pWeights->Row(y) : nullptr;
        // The tone bits of x mod 4 = 0 .. 3, twice: pixel x of a byte is
        // bit 7 - (x mod 8).
        const unsigned tone = (unsigned(m_wToneMask) >> (4 * (y & 3))) & 0xf;
        uint8_t toneByte = 0;
        for (int k = 0; k < 8; ++k)
            if ((tone >> (k & 3)) & 1) toneByte = uint8_t(toneByte | (0x80 >> k));
        for (int b = first >> 3; b <= last >> 3; ++b) {
            uint8_t bits = uint8_t(work[b] & toneByte);
            if (mask) bits &= mask[b];
            if (b == first >> 3) bits &= uint8_t(0xff >> (first & 7));
            if (b == last >> 3) bits &= uint8_t(0xff << (7 - (last & 7)));
            if (!bits) continue;
            const int x0 = b << 3;
            if (!pattern && !soft) {
                // The colour where a bit is set, eight pixels at once where
                // the row holds all eight (its padding may end before the
                // byte's last bit).
                if (x0 + 8 <= m_nWidth) {
                    const uint64_t on = kByteLanes[bits];
                    uint64_t eight;
                    std::memcpy(&eight, out + x0, 8);
                    const uint64_t painted = (eight & ~on) | (color8 & on);
                    if (painted != eight) m_bPainted = true;
                    std::memcpy(out + x0, &painted, 8);
                    continue;
                }
                const uint8_t color = uint8_t(m_nFillColor);
                for (int k = 0; x0 + k < m_nWidth; ++k) {
                    const uint8_t on = uint8_t(-((bits >> (7 - k)) & 1));
                    paint(out[x0 + k], uint8_t((out[x0 + k] & ~on) | (color & on)));
                }
                continue;
            }
            for (int k = 0; k < 8; ++k) {
                if (!((bits >> (7 - k)) & 1)) continue;
                const int x = x0 + k;
                const int source = pattern ? pattern[InTile(x, originX, tileW)] : m_nFillColor;
                if (!soft) {
                    paint(out[x], uint8_t(source));
                    continue;
                }
                const unsigned w = weights[x];
                const PaletteEntry& s = pattern ? palette[source] : fill;
                const PaletteEntry& o = palette[out[x]];
                paint(out[x], uint8_t(search->Find(uint8_t((o.blue * (255 - w) + s.blue * w) / 255),
                                                   uint8_t((o.green * (255 - w) + s.green * w) / 255),
                                                   uint8_t((o.red * (255 - w) + s.red * w) / 255))));
            }
        }
    }
    return true;
}
