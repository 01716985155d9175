// The colour-reduction engine: setting up, collecting and weighing the
// pixels' colours, writing the indices and the palette, freeing.
#include "imaging/color_reduce.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "imaging/color_reduce_state.h"

namespace reduce {

namespace {

uint32_t KeyOf(uint8_t blue, uint8_t green, uint8_t red) {
    return uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
}

uint32_t SystemKey(int i) {
    return KeyOf(SystemColorTable[i].blue, SystemColorTable[i].green, SystemColorTable[i].red);
}

// Palette index of reserved colour i of SystemColorTable.
int SystemIndex(int i) { return i < 10 ? i : 236 + i; }

// Reads the keys of one image into the key array, top row first. False when
// the image cannot be read (no pixels, or an 8-bit image without palette).
bool ReadKeys(EngineState& e, const uint8_t* pixels, const PaletteEntry* entries) {
    const auto* palette = reinterpret_cast<const uint8_t*>(entries);
    if (!pixels || !e.keys || (e.bitCount == 8 && !palette)) return false;
    const size_t w = size_t(e.width);
    uint32_t* out = e.keys.data;
    for (int32_t row = e.height - 1; row >= 0; --row) {
        const uint8_t* p = pixels + size_t(row) * e.sourceRow;
        if (e.bitCount == 24) {
            for (size_t x = 0; x < w; ++x, p += 3) *out++ = KeyOf(p[0], p[1], p[2]);
        } else {
            for (size_t x = 0; x < w; ++x) {
                const uint8_t* entry = palette + size_t(p[x]) * 4;
                *out++ = KeyOf(entry[0], entry[1], entry[2]);
            }
        }
    }
    return true;
}

// Node lookup that remembers the last key (images have long runs of one colour).
class NodeLookup {
public:
    explicit NodeLookup(const EngineState& e) : e_(e) {}
    int32_t operator()(uint32_t key) {
        if (key != lastKey_) lastKey_ = key, last_ = FindNode(e_, key);
        return last_;
    }
private:
    const EngineState& e_;
    uint32_t lastKey_ = UINT32_MAX;
    int32_t last_ = kNoNode;
};

// 1 when `mid` lies on an even ramp between `before` and `after`: the change
// across it is more than twice the change of its slope; else 0. Without
// branches, so that a loop of it runs on vectors.
inline uint32_t OnRamp(uint32_t before, uint32_t mid, uint32_t after) {
    int bend = 0, span = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int b = int((before >> shift) & 0xFF), m = int((mid >> shift) & 0xFF),
                  a = int((after >> shift) & 0xFF);
        bend += std::abs(a - 2 * m + b);
        span += std::abs(a - b);
    }
    return uint32_t(2 * bend < span);
}

}  // namespace

EngineState& Engine() {
    static EngineState state;
    return state;
}

}  // namespace reduce

using namespace reduce;

extern "C" {

const PaletteEntry SystemColorTable[REDUCE_RESERVED_COUNT] = {
    {0x00, 0x00, 0x00, 0}, {0x00, 0x00, 0x80, 0}, {0x00, 0x80, 0x00, 0}, {0x00, 0x80, 0x80, 0},
    {0x80, 0x00, 0x00, 0}, {0x80, 0x00, 0x80, 0}, {0x80, 0x80, 0x00, 0}, {0x80, 0x80, 0x80, 0},
    {0xC0, 0xDC, 0xC0, 0}, {0xF0, 0xCA, 0xA6, 0},
    {0xFE, 0xFE, 0xFF, 0}, {0xBC, 0xB9, 0xB9, 0}, {0x80, 0x80, 0x80, 0}, {0x00, 0x00, 0xFC, 0},
    {0x00, 0xFC, 0x00, 0}, {0x00, 0xFC, 0xFC, 0}, {0xFC, 0x00, 0x00, 0}, {0xFC, 0x00, 0xFC, 0},
    {0xFC, 0xFC, 0x00, 0}, {0xFF, 0xFF, 0xFF, 0},
};

int32_t ReducerInit(int32_t width, int32_t height, int32_t colors, int32_t bitCount) {
    ReducerFree();
    if (colors < 1 || colors > REDUCE_MAX_COLORS) return 0;
    if (bitCount != 24 && bitCount != 8) return 0;
    if (width <= 0 || height <= 0) return 0;
    EngineState& e = Engine();
    e.width = width;
    e.height = height;
    e.bitCount = bitCount;
    e.sourceRow = (size_t(width) * size_t(bitCount) + 31) / 32 * 4;
    e.indexRow = (size_t(width) + 3) & ~size_t(3);
    e.pixelCount = size_t(width) * size_t(height);
    e.target = colors;
    if (!e.usedBits.Allocate(kColorSpace / 64) || !e.keys.Allocate(e.pixelCount)) {
        ReducerFree();
        return 0;
    }
    e.stage = Stage::Collecting;
    return 1;
}

void ReducerCollectColors(const uint8_t* pixels, const PaletteEntry* palette) {
    EngineState& e = Engine();
    if (e.stage != Stage::Collecting || !ReadKeys(e, pixels, palette)) return;
    uint64_t* bits = e.usedBits.data;
    for (size_t i = 0; i < e.pixelCount; ++i) {
        uint32_t k = e.keys[i];
        bits[k >> 6] |= uint64_t(1) << (k & 63);
    }
}

void ReducerMarkSystemColors(void) {
    EngineState& e = Engine();
    if (e.stage != Stage::Collecting) return;
    for (int i = 0; i < REDUCE_RESERVED_COUNT; ++i) {
        uint32_t k = SystemKey(i);
        e.usedBits[k >> 6] |= uint64_t(1) << (k & 63);
    }
}

int32_t ReducerPrepareNodes(void) {
    EngineState& e = Engine();
    if (e.stage != Stage::Collecting) return 0;
    if (!e.rank.Allocate(e.usedBits.count)) {
        ReducerFree();
        return 0;
    }
    size_t n = 0;
    for (size_t i = 0; i < e.usedBits.count; ++i) {
        e.rank[i] = uint32_t(n);
        if (e.usedBits[i]) n += size_t(CountBits(e.usedBits[i]));
    }
    if (n == 0 || !e.nodes.Allocate(n) || !e.nodeKeys.Allocate(n) || !e.positions.Allocate(n)) {
        ReducerFree();
        return 0;
    }
    uint32_t* key = e.nodeKeys.data;
    for (size_t i = 0; i < e.usedBits.count; ++i) {
        for (uint64_t word = e.usedBits[i]; word; word &= word - 1)
            *key++ = uint32_t(i * 64 + size_t(std::countr_zero(word)));
    }
    e.nodeCount = n;
    if (size_t(e.target) > n) e.target = int32_t(n);
    e.stage = Stage::Prepared;
    return 1;
}

void ReducerPinSystemColors(int32_t layerCount) {
    EngineState& e = Engine();
    if (e.stage != Stage::Prepared) return;
    uint64_t weight = uint64_t(e.pixelCount) * uint64_t(std::max(layerCount, 1)) * 256 + 1;
    for (int i = 0; i < REDUCE_RESERVED_COUNT; ++i)
        if (int32_t node = FindNode(e, SystemKey(i)); node != kNoNode) e.nodes[size_t(node)].weight = weight;
}

void ReducerWeighPixels(const uint8_t* pixels, const PaletteEntry* palette) {
    EngineState& e = Engine();
    if (e.stage != Stage::Prepared || !ReadKeys(e, pixels, palette)) return;
    const uint32_t* keys = e.keys.data;
    const size_t n = e.pixelCount, w = size_t(e.width);
    NodeLookup lookup(e);
    NodeState* nodes = e.nodes.data;
    // Each pixel weighs 1, and 1 more for each ramp it lies on across and
    // down; pixels of the first and last row and a pixel beside them count
    // no ramps. The ramps of a stretch of pixels first, then their colours.
    constexpr size_t kStretch = 4096;
    uint8_t add[kStretch];
    const size_t rampsFrom = w + 2, rampsTo = n > w + 1 ? n - w - 1 : 0;
    for (size_t start = 0; start < n; start += kStretch) {
        const size_t end = std::min(n, start + kStretch);
        const size_t lo = std::clamp(rampsFrom, start, end), hi = std::clamp(rampsTo, lo, end);
        std::fill(add, add + (end - start), uint8_t(1));
        for (size_t i = lo; i < hi; ++i)
            add[i - start] = uint8_t(1 + OnRamp(keys[i - 1], keys[i], keys[i + 1]) +
                                     OnRamp(keys[i - w], keys[i], keys[i + w]));
        for (size_t i = start; i < end; ++i) {
            const int32_t node = lookup(keys[i]);
            if (node != kNoNode) nodes[node].weight += add[i - start];
        }
    }
}

int32_t ReducerMerge(void) {
    EngineState& e = Engine();
    if (e.stage != Stage::Prepared) return 0;
    if (!MergeNodes()) return 0;
    e.stage = Stage::Merged;
    return 1;
}

void ReducerMapPixels(const uint8_t* source, uint8_t* destination, const PaletteEntry* palette) {
    EngineState& e = Engine();
    if (e.stage != Stage::Merged || !destination || !ReadKeys(e, source, palette)) return;
    const uint32_t* keys = e.keys.data;
    NodeLookup lookup(e);
    for (int32_t row = e.height - 1; row >= 0; --row) {
        uint8_t* out = destination + size_t(row) * e.indexRow;
        for (int32_t x = 0; x < e.width; ++x) {
            const int32_t node = lookup(*keys++);
            out[x] = node != kNoNode ? e.positions[size_t(node)] : 0;
        }
    }
}

void ReducerBuildPalette(PaletteEntry* entries, int32_t keepReserved) {
    EngineState& e = Engine();
    if (e.stage != Stage::Merged || !entries) return;
    auto* palette = reinterpret_cast<uint8_t*>(entries);
    std::memset(palette, 0, 1024);
    const int survivors = e.target;
    if (!keepReserved) {
        for (int i = 0; i < survivors; ++i) {
            uint32_t key = e.nodeKeys[e.survivors[i]];
            palette[i * 4] = uint8_t(Blue(key));
            palette[i * 4 + 1] = uint8_t(Green(key));
            palette[i * 4 + 2] = uint8_t(Red(key));
        }
        return;
    }
    for (int i = 0; i < REDUCE_RESERVED_COUNT; ++i)
        std::memcpy(palette + SystemIndex(i) * 4, &SystemColorTable[i], 4);
    int next = REDUCE_FIRST_FREE_INDEX;
    int assigned[256];
    bool overflow = false;
    for (int i = 0; i < survivors; ++i) {
        uint32_t key = e.nodeKeys[e.survivors[i]];
        int index = -1;
        for (int r = 0; r < REDUCE_RESERVED_COUNT && index < 0; ++r)
            if (SystemKey(r) == key) index = SystemIndex(r);
        if (index < 0 && next <= REDUCE_LAST_FREE_INDEX) {
            index = next++;
            palette[index * 4] = uint8_t(Blue(key));
            palette[index * 4 + 1] = uint8_t(Green(key));
            palette[index * 4 + 2] = uint8_t(Red(key));
        }
        overflow |= index < 0;
        assigned[i] = index;
    }
    // More colours than free entries: the rest take the nearest entry given out.
    for (int i = 0; i < survivors && overflow; ++i) {
        if (assigned[i] >= 0) continue;
        uint32_t key = e.nodeKeys[e.survivors[i]];
        uint32_t bestDistance = UINT32_MAX;
        for (int index = 0; index < 256; ++index) {
            if (index >= next && index < 246) continue;
            const uint8_t* p = palette + index * 4;
            uint32_t d = ColorDistance(key, KeyOf(p[0], p[1], p[2]));
            if (d < bestDistance) bestDistance = d, assigned[i] = index;
        }
    }
    for (int i = 0; i < survivors; ++i) e.reservedMap[i] = uint8_t(assigned[i]);
    e.reservedMapReady = true;
}

void ReducerRemapPixels(uint8_t* pixels, int32_t keepReserved) {
    EngineState& e = Engine();
    if (!keepReserved || e.stage != Stage::Merged || !e.reservedMapReady || !pixels) return;
    const size_t bytes = e.indexRow * size_t(e.height);
    for (size_t i = 0; i < bytes; ++i) pixels[i] = e.reservedMap[pixels[i]];
}

void ReducerFree(void) {
    EngineState& e = Engine();
    e.keys.Release();
    e.usedBits.Release();
    e.rank.Release();
    e.nodes.Release();
    e.nodeKeys.Release();
    e.positions.Release();
    e.nodeCount = 0;
    e.stage = Stage::Idle;
    std::memset(e.reservedMap, 0, sizeof e.reservedMap);
    std::fill(std::begin(e.survivors), std::end(e.survivors), 0u);
    e.reservedMapReady = false;
}

int32_t ReduceImageColors(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                          PaletteEntry* palette, int32_t colors, int32_t bitCount, int32_t keepReserved) {
    if (!source || !destination || !palette) return 0;
    // With the reserved colours the image's own colours must fit in 10..245.
    if (keepReserved && colors > REDUCE_FREE_ENTRIES) colors = REDUCE_FREE_ENTRIES;
    if (!ReducerInit(width, height, colors, bitCount)) return 0;
    ReducerCollectColors(source, palette);
    if (!ReducerPrepareNodes()) return 0;
    ReducerWeighPixels(source, palette);
    if (!ReducerMerge()) {
        ReducerFree();
        return 0;
    }
    ReducerMapPixels(source, destination, palette);
    ReducerBuildPalette(palette, keepReserved);
    ReducerRemapPixels(destination, keepReserved);
    ReducerFree();
    return 1;
}

}  // extern "C"
