// TrimRange (see sheet_frame.h).
#pragma once

#include <algorithm>

namespace cinereel {

template <class Pixel>
RangeFields TrimRange(RangeFields r, int imageWidth, int imageHeight, Pixel pixel) {
    int left = std::clamp(r.x, 0, std::max(imageWidth, 0));
    int top = std::clamp(r.y, 0, std::max(imageHeight, 0));
    int right = std::clamp(r.x + r.width, left, std::max(imageWidth, 0));
    int bottom = std::clamp(r.y + r.height, top, std::max(imageHeight, 0));
    auto rowClear = [&](int y) {
        for (int x = left; x < right; ++x)
            if (pixel(x, y)) return false;
        return true;
    };
    auto columnClear = [&](int x) {
        for (int y = top; y < bottom; ++y)
            if (pixel(x, y)) return false;
        return true;
    };
    bool moved = true;
    while (moved && left < right && top < bottom) {
        moved = false;
        if (top < bottom && rowClear(top)) { ++top; moved = true; }
        if (top < bottom && rowClear(bottom - 1)) { --bottom; moved = true; }
        if (left < right && top < bottom && columnClear(left)) { ++left; moved = true; }
        if (left < right && top < bottom && columnClear(right - 1)) { --right; moved = true; }
    }
    if (left >= right || top >= bottom) return {left, top, 0, 0};
    return {left, top, right - left, bottom - top};
}

}  // namespace cinereel
