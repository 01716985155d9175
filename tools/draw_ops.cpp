#include "tools/draw_ops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "tools/blend.h"
#include "tools/line_walk.h"

namespace tools {

void DrawTarget::SetTone(int pattern, bool toneFlag, int drawColor, int secondColor) {
    tonePattern = std::clamp(pattern, 0, kToneLevels - 1);
    directWrite = tonePattern == 0 && toneFlag;
    color = drawColor;
    color2 = tonePattern == 0 ? secondColor : 0;
    mask = ToneMask(tonePattern, color);
}

namespace {

// The value a pixel at (x, y) takes from the colour or the mask; -1 leaves it.
inline int ToneValue(const DrawTarget& t, int x, int y) {
    return t.directWrite ? (t.color & 0xFF) : t.mask.At(x, y);
}

void WriteToneRun(const DrawTarget& t, uint8_t* row, int x, int y, int count) {
    if (t.directWrite) {
        std::memset(row + x, t.color & 0xFF, size_t(count));
        return;
    }
    // The mask row repeats every 16 pixels; walk it from the run's column.
    const int16_t* maskRow = t.mask.entries().data() + (y & 15) * 16;
    for (int i = 0; i < count; ++i) {
        int16_t v = maskRow[(x + i) & 15];
        if (v >= 0) row[x + i] = uint8_t(v);
    }
}

void BlendRun(const DrawTarget& t, uint8_t* row, int count) {
    std::array<int16_t, 256> resolved;
    resolved.fill(-1);
    for (int i = 0; i < count; ++i) {
        uint8_t old = row[i];
        if (resolved[old] < 0)
            resolved[old] =
                int16_t(ResolveDrawColor(t.colors, t.paletteEntries, t.tonePattern, old, t.color & 0xFF));
        row[i] = uint8_t(resolved[old]);
    }
}

}  // namespace

void WritePixel(const DrawTarget& t, int x, int y) {
    const LayerStack& s = t.stack;
    if (t.guideEditing || !s.composite || !s.Inside(x, y)) return;
    if (!s.hasLayers) {
        int v = ToneValue(t, x, y);
        if (v >= 0) s.CompositeRow(y)[x] = uint8_t(v);
        return;
    }
    const LayerPlane* layer = s.WritableLayer();
    if (!layer) return;
    int v = ToneValue(t, x, y);
    if (v >= 0) s.LayerRow(*layer, y)[x] = uint8_t(v);
    ComposeRun(s, x, y, 1);
}

void FillSpan(const DrawTarget& t, int x, int y, int count) {
    const LayerStack& s = t.stack;
    if (t.guideEditing || !s.composite || y < 0 || y >= s.height || count <= 0) return;
    if (x < 0) {
        if (count <= -x) return;
        count += x;
        x = 0;
    }
    if (x >= s.width) return;
    count = std::min(count, s.width - x);
    if (!s.hasLayers) {
        uint8_t* row = s.CompositeRow(y);
        if (t.tonePattern != 0)
            BlendRun(t, row + x, count);
        else
            std::memset(row + x, t.color & 0xFF, size_t(count));
        return;
    }
    const LayerPlane* layer = s.WritableLayer();
    if (!layer) return;
    WriteToneRun(t, s.LayerRow(*layer, y), x, y, count);
    ComposeRun(s, x, y, count);
}

void StampPenShape(const DrawTarget& t, int x, int y, int size, bool round) {
    if (size <= 0) return;
    StampBox box = CustomStampBox(x, y, size);
    int64_t radius2 = int64_t(size) * size;
    for (int row = box.top; row < box.bottom; ++row) {
        if (!round) {
            FillSpan(t, box.left, row, size);
            continue;
        }
        // Doubled distances from the box centre, so that odd and even sizes
        // are both exact: pixel i of a row lies at 2i + 1 - size.
        int64_t dy = 2 * int64_t(row - box.top) + 1 - size;
        int skip = 0;
        while (skip < size) {
            int64_t dx = 2 * int64_t(skip) + 1 - size;
            if (dx * dx + dy * dy <= radius2) break;
            ++skip;
        }
        if (size - 2 * skip > 0) FillSpan(t, box.left + skip, row, size - 2 * skip);
    }
}

void StampTurnedRect(const DrawTarget& t, int x, int y, int width, int height, double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    if (std::min(width, height) < 2) {
        // Too thin to cover pixel centres reliably: a one-pixel line along
        // the longer side.
        int length = std::max({width, height, 1});
        double ux = width >= height ? c : -s, uy = width >= height ? s : c;
        double half = (length - 1) / 2.0;
        WalkLine(int(std::lround(x - half * ux)), int(std::lround(y - half * uy)),
                 int(std::lround(x + half * ux)), int(std::lround(y + half * uy)),
                 [&](int px, int py) { FillSpan(t, px, py, 1); });
        return;
    }
    // Pixel centres inside the turned rectangle centred on the pixel's centre,
    // left and top edges included; kEdge keeps rounding in sin and cos from
    // moving a centre that lies on an edge across it.
    constexpr double kEdge = 1e-9;
    double hw = width / 2.0, hh = height / 2.0;
    double ex = std::abs(hw * c) + std::abs(hh * s), ey = std::abs(hw * s) + std::abs(hh * c);
    double cx = x + 0.5, cy = y + 0.5;
    int left = int(std::floor(cx - ex)) - 1, right = int(std::ceil(cx + ex)) + 1;
    for (int py = int(std::floor(cy - ey)) - 1; py <= int(std::ceil(cy + ey)); ++py) {
        int first = 0, count = 0;
        for (int px = left; px <= right; ++px) {
            double X = px + 0.5 - cx, Y = py + 0.5 - cy;
            double u = X * c + Y * s, v = -X * s + Y * c;
            if (u >= -hw - kEdge && u < hw - kEdge && v >= -hh - kEdge && v < hh - kEdge) {
                if (count == 0) first = px;
                ++count;
            } else if (count) {
                break;
            }
        }
        if (count) FillSpan(t, first, py, count);
    }
}

void StampPen(const DrawTarget& t, const PenStamp& stamp, int x, int y, bool repaint) {
    if (t.guideEditing) return;
    switch (stamp.kind) {
    case StampKind::Single:
        WritePixel(t, x, y);
        break;
    case StampKind::Runs: {
        for (const PenRun& run : PenRuns(stamp.penId)) FillSpan(t, x + run.dx, y + run.dy, run.length);
        if (repaint && t.sink) {
            int m = PenRepaintMargin(stamp.penId);
            t.sink->RepaintImageRect({x - m, y - m, x + m + 1, y + m + 1}, true);
        }
        break;
    }
    case StampKind::Box:
    case StampKind::Ellipse:
        StampPenShape(t, x, y, stamp.size, stamp.kind == StampKind::Ellipse);
        if (stamp.repaintBox && t.sink) {
            StampBox b = CustomStampBox(x, y, stamp.size);
            t.sink->RepaintImageRect({b.left, b.top, b.right, b.bottom}, true);
        }
        break;
    case StampKind::Turned:
        StampTurnedRect(t, x, y, stamp.width, stamp.height, stamp.angle);
        break;
    }
}

void StampPenLine(const DrawTarget& t, const PenStamp& stamp, int x0, int y0, int x1, int y1,
                  bool repaint, int skip) {
    if (x0 == x1 && y0 == y1) {
        StampPen(t, stamp, x0, y0, repaint);
        return;
    }
    int wait = 0;
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        if (wait > 0) {
            --wait;
            return;
        }
        StampPen(t, stamp, x, y, repaint);
        wait = std::max(skip, 0);
    });
}

}  // namespace tools
