// The area grow in two steps. First one pass along the rows turns the
// pixels the area may take into bits, eight pixels at a time, straight into
// the region rows and into a plane of 64-bit words. Then a span search
// walks that plane: each run of a row is found with a few word operations,
// taken (its bits cleared) and its rows above and below searched, so the
// stack holds runs, not points. The region keeps the bits that were taken.
//
// The plane has a clear word left of every row and a clear row above and
// below the picture, and the bits outside the limits are clear: a run stops
// at the latest at a clear word and a search beyond the picture finds
// nothing, so the search checks no bounds.
#include "imaging/index_region.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "platform/memory.h"

namespace dib {

namespace {

using Word = uint64_t;
constexpr Word kAll = ~Word(0);

// Pixel x of a row lies in word x / 64 at bit 63 - x mod 64: a word is
// eight region bytes read first byte highest.
Word LoadBits(const uint8_t* p) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    return w;
}

void StoreBits(uint8_t* p, Word w) {
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    std::memcpy(p, &w, sizeof w);
}

// The bits of the pixels from x mod 64 to the word's end, and those before.
Word FromPixel(int x) { return kAll >> (x & 63); }
Word BeforePixel(int x) { return ~FromPixel(x); }
// The bits of the word's pixels up to and with x mod 64.
Word ThroughPixel(int x) { return kAll << (63 - (x & 63)); }

// Bit 7 - k set for each byte k of the eight at p that equals the byte
// repeated in `pattern`.
uint8_t EqualBits(const uint8_t* p, Word pattern) {
    Word v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    constexpr Word kLow7 = 0x7f7f7f7f7f7f7f7fULL, kHigh = 0x8080808080808080ULL;
    const Word t = v ^ pattern;
    const Word equal = ~(((t & kLow7) + kLow7) | t) & kHigh;  // the high bit of each equal byte
    // Byte k's high bit, moved to bit 8k, lands on bit 63 - k.
    return uint8_t(((equal >> 7) * 0x8040201008040201ULL) >> 56);
}

// The pixels still open to the area.
class OpenPlane {
public:
    OpenPlane(int width, int height)
        : m_nRowWords(size_t(width + 63) / 64 + 1),
          m_hBlock(MemAlloc((size_t(height) + 2) * m_nRowWords * sizeof(Word) + sizeof(Word))) {  // zeroed
        m_pWords = m_hBlock ? static_cast<Word*>(MemLock(m_hBlock)) : nullptr;
    }
    ~OpenPlane() {
        if (m_pWords) MemUnlock(m_hBlock);
        MemFree(m_hBlock);
    }
    OpenPlane(const OpenPlane&) = delete;
    OpenPlane& operator=(const OpenPlane&) = delete;

    bool Valid() const { return m_pWords != nullptr; }
    // Rows -1 .. height; word -1 of a row is clear, and so is the word after
    // its last.
    Word* Row(int y) const { return m_pWords + size_t(y + 1) * m_nRowWords + 1; }

private:
    size_t m_nRowWords;
    MemHandle m_hBlock;
    Word* m_pWords = nullptr;
};

bool Open(const Word* row, int x) { return (row[x >> 6] >> (63 - (x & 63))) & 1; }

// The run searches below test the next pixel first: on short runs the
// branch is taken as foreseen and the next span's address is known before
// the word has been read.

// The first open pixel from x on; a value beyond `last` when there is none
// up to `last`.
int NextOpen(const Word* row, int x, int last) {
    if (Open(row, x)) return x;
    int k = x >> 6;
    Word v = row[k] & FromPixel(x);
    const int lastWord = last >> 6;
    while (!v) {
        if (++k > lastWord) return INT_MAX;
        v = row[k];
    }
    return k * 64 + std::countl_zero(v);
}

// The first pixel of the open run through the open pixel x.
int RunStart(const Word* row, int x) {
    if (!Open(row, x - 1)) return x;
    int k = x >> 6;
    Word gap = ~row[k] & BeforePixel(x);
    while (!gap) gap = ~row[--k];
    return k * 64 + 64 - std::countr_zero(gap);
}

// One past the last pixel of the open run through the open pixel x.
int RunEnd(const Word* row, int x) {
    if (!Open(row, x + 1)) return x + 1;
    int k = x >> 6;
    Word gap = ~row[k] & FromPixel(x);
    while (!gap) gap = ~row[++k];
    return k * 64 + std::countl_zero(gap);
}

// Clears pixels l .. end - 1.
void Take(Word* row, int l, int end) {
    const int first = l >> 6, last = (end - 1) >> 6;
    const Word head = FromPixel(l), tail = ThroughPixel(end - 1);
    if (first == last) {
        row[first] &= ~(head & tail);
        return;
    }
    row[first] &= ~head;
    for (int k = first + 1; k < last; ++k) row[k] = 0;
    row[last] &= ~tail;
}

// Row y is to be searched over x1 .. x2; row y - dy holds a taken run over
// them.
struct Span {
    int y, x1, x2, dy;
};

}  // namespace

bool GrowIndexRegion(const IndexRows& pixels, int seedX, int seedY, const RegionLimits& limits,
                     const BitRows& region) {
    const int w = pixels.width, h = pixels.height;
    if (!pixels.pixels || !region.bits || w <= 0 || h <= 0) return true;
    const size_t rowBytes = (size_t(w) + 7) / 8;
    auto regionRow = [&](int y) { return region.bits + size_t(y) * region.stride; };
    auto clearRegion = [&] {
        for (int y = 0; y < h; ++y) std::memset(regionRow(y), 0, rowBytes);
    };
    const DibRect r{std::max(limits.rect.left, 0), std::max(limits.rect.top, 0), std::min(limits.rect.right, w),
                    std::min(limits.rect.bottom, h)};
    auto allowed = [&](int x, int y) {
        return !limits.allowed || ((limits.allowed[size_t(y) * limits.allowedStride + size_t(x >> 3)] >> (7 - (x & 7))) & 1);
    };
    if (seedX < r.left || seedX >= r.right || seedY < r.top || seedY >= r.bottom || !allowed(seedX, seedY)) {
        clearRegion();
        return true;
    }
    OpenPlane plane(w, h);
    if (!plane.Valid()) {
        clearRegion();
        return false;
    }

    // The candidates: the seed's index inside the limits.
    const uint8_t index = pixels.Row(seedY)[seedX];
    const Word pattern = Word(index) * 0x0101010101010101ULL;
    const int firstByte = r.left >> 3, lastByte = (r.right - 1) >> 3;
    const int firstWord = firstByte >> 3, lastWord = lastByte >> 3;
    const uint8_t headMask = uint8_t(0xff >> (r.left & 7)), tailMask = uint8_t(0xff << (7 - ((r.right - 1) & 7)));
    const int fullBytes = w / 8;  // bytes whose eight pixels all lie in the row
    for (int y = 0; y < h; ++y) {
        uint8_t* out = regionRow(y);
        std::memset(out, 0, rowBytes);
        if (y < r.top || y >= r.bottom) continue;
        const uint8_t* row = pixels.Row(y);
        int b = firstByte;
        for (const int end = std::min(lastByte + 1, fullBytes); b < end; ++b) out[b] = EqualBits(row + 8 * b, pattern);
        for (; b <= lastByte; ++b) {
            uint8_t bits = 0;
            for (int x = 8 * b; x < w; ++x)
                if (row[x] == index) bits = uint8_t(bits | (0x80 >> (x & 7)));
            out[b] = bits;
        }
        out[firstByte] &= headMask;
        out[lastByte] &= tailMask;
        if (limits.allowed) {
            const uint8_t* mask = limits.allowed + size_t(y) * limits.allowedStride;
            for (b = firstByte; b <= lastByte; ++b) out[b] &= mask[b];
        }
        Word* open = plane.Row(y);
        for (int k = firstWord; k <= lastWord; ++k) {
            if (size_t(k) * 8 + 8 <= rowBytes) {
                open[k] = LoadBits(out + 8 * k);
                continue;
            }
            Word v = 0;
            for (size_t j = 0; size_t(k) * 8 + j < rowBytes; ++j) v |= Word(out[8 * k + j]) << (56 - 8 * j);
            open[k] = v;
        }
    }

    try {
        std::vector<Span> stack;
        stack.reserve(1024);
        stack.push_back({seedY, seedX, seedX, 1});
        stack.push_back({seedY - 1, seedX, seedX, -1});
        while (!stack.empty()) {
            Span s = stack.back();
            stack.pop_back();
            // The last run's row beyond is searched next without a trip
            // through the stack.
            for (bool more = true; more;) {
                more = false;
                Word* row = plane.Row(s.y);
                int x = NextOpen(row, s.x1, s.x2);
                if (x > s.x2) break;
                Span next{};
                int l = x == s.x1 ? RunStart(row, x) : x;
                for (;;) {
                    const int end = RunEnd(row, x);
                    Take(row, l, end);
                    if (more) stack.push_back(next);
                    next = {s.y + s.dy, l, end - 1, s.dy};
                    more = true;
                    if (l < s.x1) stack.push_back({s.y - s.dy, l, s.x1 - 1, -s.dy});  // beyond the left
                    if (end - 1 > s.x2) stack.push_back({s.y - s.dy, s.x2 + 1, end - 1, -s.dy});  // and the right
                    if (end + 1 > s.x2) break;
                    x = l = NextOpen(row, end + 1, s.x2);
                    if (x > s.x2) break;
                }
                s = next;
            }
        }
    } catch (const std::bad_alloc&) {
        clearRegion();
        return false;
    }

    // The area: the candidates taken.
    for (int y = r.top; y < r.bottom; ++y) {
        uint8_t* out = regionRow(y);
        const Word* open = plane.Row(y);
        for (int k = firstWord; k <= lastWord; ++k) {
            if (size_t(k) * 8 + 8 <= rowBytes) {
                StoreBits(out + 8 * k, LoadBits(out + 8 * k) & ~open[k]);
                continue;
            }
            for (size_t j = 0; size_t(k) * 8 + j < rowBytes; ++j) out[8 * k + j] &= uint8_t(~(open[k] >> (56 - 8 * j)));
        }
    }
    return true;
}

}  // namespace dib
