// The lasso point list of a freehand or polygon selection: up to 999 points
// and the bounding rectangle of the points (clamped into the image).
#pragma once

#include <array>
#include <cstdint>

#include "imaging/dib_layout.h"

namespace document {

struct LassoPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const LassoPoint&) const = default;
};

class LassoList {
public:
    // Points the list takes; the array keeps one spare slot.
    static constexpr int kMaxPoints = 999;

    // Count 0, bounding rectangle (maxWidth, maxHeight, 0, 0).
    void Reset(int maxWidth, int maxHeight);
    // Appends a point and extends the bounding rectangle by the point clamped
    // into 0..width-1, 0..height-1 (right and bottom one past the largest).
    // False (nothing added) when the list already holds kMaxPoints.
    bool Add(int x, int y, int width, int height);
    void Offset(int dx, int dy);
    // Subtracts the smallest x and the smallest y (starting from the maximum
    // width and height) from every point.
    void Normalize(int maxWidth, int maxHeight);

    int Count() const { return count_; }
    const DibRect& Bounds() const { return bounds_; }
    const LassoPoint* Points() const { return points_.data(); }

private:
    int32_t count_ = 0;
    DibRect bounds_{};
    std::array<LassoPoint, kMaxPoints + 1> points_{};
};

}  // namespace document
