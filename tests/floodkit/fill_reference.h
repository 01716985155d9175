// The fill tool's rules written out point by point, as the tests' yardstick:
// the point-stack flood fill, the tone and pattern paint and the edge
// weights read from every kernel cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace floodtest {

// A picture top-down, one byte a pixel.
struct Scene {
    int width = 0, height = 0;
    std::vector<uint8_t> layer;  // palette indices
    std::vector<uint8_t> mask;   // 1 selected; empty: no selection mask
    int seedX = 0, seedY = 0;
    int density = 0;             // tone pattern index 0 (solid) .. 15
    int color = 0;
    int edge = 0;                // feather width
    uint8_t pixel(int x, int y) const { return layer[size_t(y * width + x)]; }
};

// The work plane of the point-stack fill (1 filled or marked).
std::vector<uint8_t> ReferenceFill(const Scene& s);
// The edge weights of the filled pixels (others 0); a filled pixel keeps at
// least the weight of h = 1.
std::vector<int> ReferenceWeights(const Scene& s, const std::vector<uint8_t>& work);
// The layer after the fill without a pattern, through a grey palette
// (entry i is i, i, i), where the blend of two greys is itself an index.
std::vector<uint8_t> ReferencePaint(const Scene& s);

}  // namespace floodtest
