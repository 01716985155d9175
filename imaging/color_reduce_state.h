// The colour-reduction engine's state, shared by its two halves: collecting
// and mapping pixels (color_reduce.cpp) and merging colours
// (color_reduce_merge.cpp).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/memory.h"

namespace reduce {

// One distinct colour of the images.
struct ColorNode {
    uint32_t key;          // blue | green << 8 | red << 16
    bool merged;           // merged away into another node
    ColorNode* nearest;    // nearest live colour; null when there is none
    int32_t position;      // place in the cost order; after the merge, the palette index
    uint32_t distance;     // weighted squared distance to `nearest`
    uint64_t weight;       // pixels (and ramp bonuses) it stands for; 0 once merged away
    uint64_t cost;         // what merging it away would lose
};

// A block of the engine, locked from allocation until it is freed.
template <class T>
struct EngineBlock {
    MemHandle handle = nullptr;
    T* data = nullptr;
    size_t count = 0;

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
    EngineBlock<ColorNode> nodes;     // increasing key order
    size_t nodeCount = 0;
    EngineBlock<uint32_t> grid;       // the merge's grid of colour cells
    // The survivors after the merge, by palette index.
    ColorNode* survivors[256] = {};
    int gridBits = 0;                 // 6, 7 or 8
    // Index each survivor received from the palette with reserved colours.
    uint8_t reservedMap[256] = {};
    bool reservedMapReady = false;
};

EngineState& Engine();

// Squared differences from -256..255, looked up as table[d + 256].
constexpr std::array<int32_t, 512> MakeSquares() {
    std::array<int32_t, 512> t{};
    for (int d = -256; d < 256; ++d) t[size_t(d + 256)] = d * d;
    return t;
}
inline constexpr std::array<int32_t, 512> kSquares = MakeSquares();

inline int Red(uint32_t key) { return int((key >> 16) & 0xFF); }
inline int Green(uint32_t key) { return int((key >> 8) & 0xFF); }
inline int Blue(uint32_t key) { return int(key & 0xFF); }

// The engine's distance: blue 1, green 16, red 4 times the squared difference.
inline uint32_t ColorDistance(uint32_t a, uint32_t b) {
    return uint32_t(kSquares[size_t(Blue(a) - Blue(b) + 256)] +
                    16 * kSquares[size_t(Green(a) - Green(b) + 256)] +
                    4 * kSquares[size_t(Red(a) - Red(b) + 256)]);
}

// The node of a key; null when the key is not a node.
ColorNode* FindNode(uint32_t key);
// Merges the nodes down to the target and gives every node its palette
// index; false when the grid cannot be had.
bool MergeNodes();

}  // namespace reduce
