// The area grow in two steps. First one pass along the rows turns the
// pixels the area may take into bits, eight pixels at a time, straight into
// the region rows and into a plane of 64-bit words. Then that plane is
// walked, taking (clearing) the pixels reached; the region keeps the bits
// that were taken.
//
// The walk starts by sweeps over the rows: pending seeds wait in a second
// plane, and a row's words that hold seeds are taken by whole runs through
// their seeds with a few word operations, without a branch on the picture.
// That takes many short runs at once where the area is a maze. Where a
// sweep takes mostly a single pixel a word (thin lines, long one-pixel
// corridors), the rest goes to a span search: each run of a row is found
// with a few word operations, taken and its rows above and below searched,
// so the stack holds runs, not points, and the branches follow the line.
//
// The plane has a clear word left of every row and a clear row above and
// below the picture, and the bits outside the limits are clear: a run stops
// at the latest at a clear word and a search beyond the picture finds
// nothing, so neither walk checks bounds.
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

// The pixels of the open runs of `open` that hold a pixel of `seeds` (a
// part of `open`), within the word: toward the word's first pixel (higher
// bits) by the carry of an addition, toward its last by doubling shifts.
Word RunsThrough(Word open, Word seeds) {
    const Word before = (((open + seeds) ^ open) | seeds) & open;
    Word after = seeds, pass = open;
    after |= pass & (after >> 1);
    pass &= pass >> 1;
    after |= pass & (after >> 2);
    pass &= pass >> 2;
    after |= pass & (after >> 4);
    pass &= pass >> 4;
    after |= pass & (after >> 8);
    pass &= pass >> 8;
    after |= pass & (after >> 16);
    pass &= pass >> 16;
    after |= pass & (after >> 32);
    return before | after;
}

// The walk by sweeps. Bit k of a row's marks tells that word k of the row
// holds seeds.
class RowSweeps {
public:
    RowSweeps(const OpenPlane& open, const OpenPlane& seeds, int width, int height)
        : m_open(open), m_seeds(seeds), m_nRowWords((width + 63) / 64), m_nMarkWords(size_t(m_nRowWords + 63) / 64),
          m_nHeight(height), m_marks((size_t(height) + 2) * m_nMarkWords), m_rowMarked(size_t(height) + 2) {}

    // Takes the area of the seed pixel. False when the sweeps stopped early
    // for the span search: the seeds left are then on the stack.
    bool Run(int seedX, int seedY, std::vector<Span>& stack) {
        Seed(seedY, seedX >> 6, Word(1) << (63 - (seedX & 63)));
        int top = seedY, bottom = seedY;
        for (bool downward = true; top <= bottom; downward = !downward) {
            int behindTop = INT_MAX, behindBottom = INT_MIN;
            const int step = downward ? 1 : -1;
            for (int y = downward ? top : bottom; downward ? y <= bottom : y >= top; y += step) {
                if (!m_rowMarked[size_t(y) + 1]) continue;
                bool ahead, behind;
                TakeRow(y, step, ahead, behind);
                if (behind) {
                    behindTop = std::min(behindTop, y - step);
                    behindBottom = std::max(behindBottom, y - step);
                }
                if (ahead && downward) bottom = std::max(bottom, y + 1);
                if (ahead && !downward) top = std::min(top, y - 1);
                if (m_nWordsTaken >= kThinWords && 2 * m_nThinWords > m_nWordsTaken) {
                    HandOver(stack);
                    return false;
                }
            }
            top = behindTop;
            bottom = behindBottom;
        }
        return true;
    }

private:
    // Words taken before the sweeps may hand over.
    static constexpr size_t kThinWords = 1024;

    uint64_t* Marks(int y) { return m_marks.data() + size_t(y + 1) * m_nMarkWords; }

    void Seed(int y, int k, Word bits) {
        m_seeds.Row(y)[k] |= bits;
        Marks(y)[size_t(k) >> 6] |= uint64_t(1) << (k & 63);
        m_rowMarked[size_t(y) + 1] = 1;
    }

    // Takes the marked words of row y; tells whether the rows y + step
    // (ahead) and y - step (behind) got seeds.
    void TakeRow(int y, int step, bool& ahead, bool& behind) {
        Word* open = m_open.Row(y);
        Word* seed = m_seeds.Row(y);
        uint64_t* mark = Marks(y);
        Word* openUp = m_open.Row(y - 1);
        Word* openDown = m_open.Row(y + 1);
        Word* seedUp = m_seeds.Row(y - 1);
        Word* seedDown = m_seeds.Row(y + 1);
        uint64_t* markUp = Marks(y - 1);
        uint64_t* markDown = Marks(y + 1);
        const int lastWord = m_nRowWords - 1;
        Word up = 0, down = 0;
        size_t words = 0, thin = 0;
        m_rowMarked[size_t(y) + 1] = 0;
        for (size_t g = 0; g < m_nMarkWords;) {
            const uint64_t bits = mark[g];
            if (!bits) {
                ++g;
                continue;
            }
            mark[g] = bits & (bits - 1);
            int k = int(g * 64) + std::countr_zero(bits);
            Word s = seed[k] & open[k];
            for (;;) {
                const Word o = open[k];
                const Word runs = o == kAll && s ? kAll : RunsThrough(o, s);  // a whole word at once
                seed[k] = 0;
                open[k] = o & ~runs;
                ++words;
                thin += ((runs + (runs & (~runs + 1))) & runs) == 0;  // one run or none
                // A run going on into the word before waits there as a
                // seed (word -1 is clear: nothing for word 0).
                const int before = std::max(k - 1, 0);
                const Word left = (runs >> 63) & open[k - 1];
                seed[k - 1] |= left;
                mark[size_t(before) >> 6] |= uint64_t(left) << (before & 63);
                if (left) g = std::min(g, size_t(before) >> 6);
                const Word u = runs & openUp[k], d = runs & openDown[k];
                seedUp[k] |= u;
                seedDown[k] |= d;
                markUp[size_t(k) >> 6] |= uint64_t(u != 0) << (k & 63);
                markDown[size_t(k) >> 6] |= uint64_t(d != 0) << (k & 63);
                up |= u;
                down |= d;
                // One going on into the word after is taken right away.
                if (k == lastWord || !(runs & 1) || !(open[k + 1] >> 63)) break;
                ++k;
                mark[size_t(k) >> 6] &= ~(uint64_t(1) << (k & 63));
                s = (seed[k] | Word(1) << 63) & open[k];
            }
        }
        m_rowMarked[size_t(y)] |= uint8_t(up != 0);
        m_rowMarked[size_t(y) + 2] |= uint8_t(down != 0);
        ahead = (step > 0 ? down : up) != 0;
        behind = (step > 0 ? up : down) != 0;
        m_nWordsTaken += words;
        m_nThinWords += thin;
    }

    // Every seed left becomes a span of its row searched onwards and one of
    // the row above it: whichever neighbour it came from, both of its rows'
    // sides are searched.
    void HandOver(std::vector<Span>& stack) {
        for (int y = 0; y < m_nHeight; ++y) {
            if (!m_rowMarked[size_t(y) + 1]) continue;
            const uint64_t* mark = Marks(y);
            Word* seed = m_seeds.Row(y);
            for (size_t g = 0; g < m_nMarkWords; ++g)
                for (uint64_t bits = mark[g]; bits; bits &= bits - 1) {
                    const int k = int(g * 64) + std::countr_zero(bits);
                    for (Word s = seed[k] & m_open.Row(y)[k]; s; s &= s - 1) {
                        const int x = k * 64 + 63 - std::countr_zero(s);
                        stack.push_back({y, x, x, 1});
                        stack.push_back({y - 1, x, x, -1});
                    }
                }
        }
    }

    const OpenPlane& m_open;
    const OpenPlane& m_seeds;
    int m_nRowWords;
    size_t m_nMarkWords;
    int m_nHeight;
    std::vector<uint64_t> m_marks;
    std::vector<uint8_t> m_rowMarked;  // rows -1 .. height
    size_t m_nWordsTaken = 0, m_nThinWords = 0;
};

// The span search from the spans on the stack.
void SearchSpans(const OpenPlane& plane, std::vector<Span>& stack) {
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
}

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

    OpenPlane seeds(w, h);
    if (!seeds.Valid()) {
        clearRegion();
        return false;
    }
    try {
        std::vector<Span> stack;
        RowSweeps sweeps(plane, seeds, w, h);
        if (!sweeps.Run(seedX, seedY, stack)) SearchSpans(plane, stack);
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
