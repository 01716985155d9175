#include "tools/border_trace.h"

#include <algorithm>

namespace tools {

BorderDialogState& BorderDialog() {
    static BorderDialogState state;
    return state;
}

int ClampBorderWidth(int width) { return std::clamp(width, kBorderWidthMin, kBorderWidthMax); }

namespace {

// Offsets of the plotted points from the found edge pixel and the distances
// of the partner pixel tested with it.
struct BorderOffsets {
    int h = 0, l = 0, f = 0, g = 0;  // left/top edge: (h, g); right/bottom edge: (l, f)
    int a = 0, b = 0;                // partner distance below/right, above/left
};

BorderOffsets OffsetsFor(int c, int position) {
    const int e = c & 1;
    const int half = c / 2;
    BorderOffsets o;
    if (position == kBorderInside) {
        if (c >= 2) {
            o.h = o.g = half + e;
            o.l = o.f = -(half + e);
        }
        o.a = c;
        o.b = c - 1;
    } else if (position == kBorderOutside) {
        if (c < 2) {
            o.l = o.f = 1;
            o.h = o.g = -1;
        } else {
            o.l = o.f = half;
            o.h = o.g = -half;
        }
    }
    if (c > 1) {
        o.f += e + 1;
        o.l += e + 1;
    }
    return o;
}

}  // namespace

std::vector<BorderPoint> TraceBorder(const document::MaskBits& mask, int width, int position) {
    std::vector<BorderPoint> points;
    if (!mask.Valid()) return points;
    const int c = ClampBorderWidth(width);
    const BorderOffsets o = OffsetsFor(c, position);
    const int w = mask.width, hgt = mask.height;
    auto set = [&](int x, int y) { return document::TestMaskBit(mask, x, y) != 0; };
    auto plot = [&](int x, int y) { points.push_back({x, y}); };

    for (int i = 0; i < hgt; ++i) {
        for (int j = 0; j < w; ++j) {
            if (!set(j, i) || !set(j, i + o.a)) continue;
            plot(j + o.h, i + o.g);
            if (position == kBorderCentre) plot(j + o.h, i + 2 * o.g);
            if (position == kBorderOutside) plot(j + o.h, i + o.g + c + 1);
            break;
        }
        for (int n = w - 1; n >= 1; --n) {
            if (!set(n, i) || !set(n, i - o.b)) continue;
            plot(n + o.l, i + o.f);
            if (position == kBorderCentre) plot(n + o.l, i);
            if (position == kBorderOutside) plot(n + o.l, i + o.f - c - 1);
            break;
        }
    }
    for (int i = 0; i < w; ++i) {
        for (int j = 0; j < hgt; ++j) {
            if (!set(i, j) || !set(i + o.a, j)) continue;
            plot(i + o.h, j + o.g);
            if (position == kBorderCentre) plot(i + 2 * o.h, j + o.g);
            if (position == kBorderOutside) plot(i + o.h + c + 1, j + o.g);
            break;
        }
        for (int n = hgt - 1; n >= 1; --n) {
            if (!set(i, n) || !set(i - o.b, n)) continue;
            plot(i + o.l, n + o.f);
            if (position == kBorderCentre) plot(i, n + o.f);
            if (position == kBorderOutside) plot(i + o.l - c - 1, n + o.f);
            break;
        }
    }
    return points;
}

}  // namespace tools
