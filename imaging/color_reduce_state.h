// The colour-reduction engine's state, shared by its two halves: collecting
// and mapping pixels (color_reduce.cpp) and merging colours
// (color_reduce_merge.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/memory.h"

namespace reduce {

// Where one distinct colour of the images stands in the merge. Kept to 16
// bytes so that the merge, which visits the colours in no order, finds them
// in cache; what merging it away would lose follows from the distance and
// the weight (MergeCost).
struct NodeState {
    uint64_t weight;    // pixels (and ramp bonuses) it stands for; 0 once merged away
    uint32_t nearest;   // key of its nearest live colour, kNone or kMergedAway
    uint32_t distance;  // weighted squared distance to `nearest`
    bool Merged() const { return nearest == kMergedAway; }
    static constexpr uint32_t kNone = UINT32_MAX - 1, kMergedAway = UINT32_MAX;
};

constexpr uint32_t kNoDistance = UINT32_MAX;
constexpr uint64_t kNoCost = UINT64_MAX;
constexpr int32_t kNoNode = -1;

// A block of the engine, locked from allocation until it is freed (at the
// latest when the block goes).
template <class T>
struct EngineBlock {
    MemHandle handle = nullptr;
    T* data = nullptr;
    size_t count = 0;

    EngineBlock() = default;
    EngineBlock(const EngineBlock&) = delete;
    EngineBlock& operator=(const EngineBlock&) = delete;
    ~EngineBlock() { Release(); }

    bool Allocate(size_t n) {
        Release();
        if (n == 0 || n > SIZE_MAX / sizeof(T)) return false;
        handle = MemAlloc(n * sizeof(T));
        if (!handle) return false;
        data = static_cast<T*>(MemLock(handle));
        if (!data) {
            MemFree(handle);
            handle = nullptr;
            return false;
        }
        count = n;
        return true;
    }
    void Release() {
        if (handle) {
            MemUnlock(handle);
            MemFree(handle);
        }
        handle = nullptr;
        data = nullptr;
        count = 0;
    }
    explicit operator bool() const { return data != nullptr; }
    T& operator[](size_t i) const { return data[i]; }
};

constexpr size_t kColorSpace = size_t(1) << 24;

enum class Stage { Idle, Collecting, Prepared, Merged };

struct EngineState {
    Stage stage = Stage::Idle;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitCount = 0;
    size_t sourceRow = 0;   // row length of the source pixels
    size_t indexRow = 0;    // row length of 8-bit pixels
    size_t pixelCount = 0;
    int32_t target = 0;

    EngineBlock<uint32_t> keys;       // one key per pixel, top row first
    EngineBlock<uint64_t> usedBits;   // 2^24 bits: colour k occurs
    EngineBlock<uint32_t> rank;       // set bits before each word of usedBits
    // The nodes, one per distinct colour, in increasing key order.
    EngineBlock<uint32_t> nodeKeys;
    EngineBlock<NodeState> nodes;
    EngineBlock<uint8_t> positions;   // palette index of each node after the merge
    size_t nodeCount = 0;
    // The survivors after the merge (node indices), by palette index.
    uint32_t survivors[256] = {};
    int gridBits = 0;                 // 6, 7 or 8
    // Index each survivor received from the palette with reserved colours.
    uint8_t reservedMap[256] = {};
    bool reservedMapReady = false;
};

EngineState& Engine();

inline int Red(uint32_t key) { return int((key >> 16) & 0xFF); }
inline int Green(uint32_t key) { return int((key >> 8) & 0xFF); }
inline int Blue(uint32_t key) { return int(key & 0xFF); }

// The engine's distance: blue 1, green 16, red 4 times the squared difference.
inline uint32_t ColorDistance(uint32_t a, uint32_t b) {
    const int db = Blue(a) - Blue(b), dg = Green(a) - Green(b), dr = Red(a) - Red(b);
    return uint32_t(db * db + 16 * dg * dg + 4 * dr * dr);
}

// Set bits of a word. std::popcount is a library call unless the build
// targets processors that count bits themselves.
inline int CountBits(uint64_t w) {
    w = w - ((w >> 1) & 0x5555555555555555ull);
    w = (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
    w = (w + (w >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((w * 0x0101010101010101ull) >> 56);
}

// The node index of a key; kNoNode when the key is not a node. The nodes are
// the set bits of the used colours in key order: a node's index is the
// number of set bits before its own.
inline int32_t FindNode(const EngineState& e, uint32_t key) {
    if (!e.nodes || !e.rank || key >= kColorSpace) return kNoNode;
    const uint64_t word = e.usedBits.data[key >> 6];
    const uint64_t bit = uint64_t(1) << (key & 63);
    if (!(word & bit)) return kNoNode;
    return int32_t(e.rank.data[key >> 6] + uint32_t(CountBits(word & (bit - 1))));
}

// Merges the nodes down to the target and gives every node its palette
// index; false when memory is short.
bool MergeNodes();

}  // namespace reduce
