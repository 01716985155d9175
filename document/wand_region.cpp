#include "document/wand_region.h"

#include <cstring>
#include <new>
#include <vector>

namespace document {

namespace {

bool g_refused = false;

void SetRun(uint8_t* row, int l, int r) {
    // Bits l .. r - 1, whole bytes in the middle.
    while (l < r && (l & 7)) {
        row[l >> 3] |= uint8_t(0x80 >> (l & 7));
        ++l;
    }
    if (r - l >= 8) {
        std::memset(row + (l >> 3), 0xFF, size_t((r - l) >> 3));
        l += (r - l) & ~7;
    }
    for (; l < r; ++l) row[l >> 3] |= uint8_t(0x80 >> (l & 7));
}

bool Bit(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

}  // namespace

void SetWandMemoryRefusedForTest(bool refused) { g_refused = refused; }

bool GrowWandRegion(const MaskBits& mask, const WandLayer& layer, int x, int y) {
    if (!mask.Valid() || !layer.pixels || layer.width != mask.width || layer.height != mask.height ||
        !mask.Inside(x, y))
        return true;
    const int w = mask.width, h = mask.height;
    const uint8_t c = layer.Row(y)[x];
    // A seed remembers the run of the row it was found from (pl .. pr - 1
    // at row py): that part of the row back is already selected.
    struct Seed {
        int x, y, py, pl, pr;
    };
    std::vector<Seed> stack;
    try {
        if (g_refused) throw std::bad_alloc();
        stack.reserve(256);
        stack.push_back({x, y, -1, 0, 0});
        while (!stack.empty()) {
            const Seed seed = stack.back();
            stack.pop_back();
            uint8_t* row = mask.Row(seed.y);
            if (Bit(row, seed.x)) continue;
            const uint8_t* pixels = layer.Row(seed.y);
            int l = seed.x, r = seed.x + 1;
            while (l > 0 && pixels[l - 1] == c && !Bit(row, l - 1)) --l;
            while (r < w && pixels[r] == c && !Bit(row, r)) ++r;
            SetRun(row, l, r);
            for (int ny : {seed.y - 1, seed.y + 1}) {
                if (ny < 0 || ny >= h) continue;
                const uint8_t* next = layer.Row(ny);
                const uint8_t* nextMask = mask.Row(ny);
                for (int u = l; u < r; ++u) {
                    if (ny == seed.py && u >= seed.pl && u < seed.pr) {
                        u = seed.pr - 1;
                        continue;
                    }
                    if (next[u] != c || Bit(nextMask, u)) continue;
                    stack.push_back({u, ny, seed.y, l, r});
                    while (u + 1 < r && next[u + 1] == c) ++u;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        std::memset(mask.data, 0, mask.RowBytes() * size_t(h));
        return false;
    }
    return true;
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
        for (size_t i = 0; i < rowBytes; ++i) {
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
