// The magic wand's benchmark layers, 4096 x 4096 (the map-tool maximum):
// one area the whole layer, a one-pixel serpentine (every row span one
// pixel long but in the joining rows) and a random two-index maze.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace benchwand {

inline constexpr int kSize = 4096;

// Pixels top-down, one byte each, and the point clicked.
struct Scene {
    const char* name;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(kSize) * kSize, 0);
    int x = 0, y = 0;
    uint8_t& At(int px, int py) { return pixels[size_t(py) * kSize + size_t(px)]; }
};

inline Scene WholeLayer() {
    Scene s{"one area"};
    s.x = s.y = 100;
    return s;
}

// Index 1 on every even column, joined at the top and bottom in turn.
inline Scene Serpentine() {
    Scene s{"serpentine"};
    for (int x = 0; x < kSize; x += 2) {
        for (int y = 0; y < kSize; ++y) s.At(x, y) = 1;
        if (x + 2 < kSize) s.At(x + 1, (x / 2) % 2 ? 0 : kSize - 1) = 1;
    }
    return s;
}

// Index 1 at 40 %: index 0 at 60 % percolates, and the seed lies in its one
// large area.
inline Scene RandomMaze() {
    Scene s{"random maze"};
    std::mt19937 rng(552);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) s.At(x, y) = uint8_t(rng() % 100 < 40);
    s.x = s.y = kSize / 2;
    s.At(s.x, s.y) = 0;
    s.At(s.x + 1, s.y) = 0;
    return s;
}

}  // namespace benchwand
