#include "view/canvas_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace view {

namespace {

DibRect Intersect(const DibRect& a, const DibRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}
bool Empty(const DibRect& r) { return r.right <= r.left || r.bottom <= r.top; }

constexpr uint32_t kInvertBits = 0x00ffffffu;

void InvertSpan(const PixelBuffer& buffer, int y, int x0, int x1, const DibRect& c) {
    if (y < c.top || y >= c.bottom) return;
    x0 = std::max(x0, c.left);
    x1 = std::min(x1, c.right);
    uint32_t* row = buffer.Row(y);
    for (int x = x0; x < x1; ++x) row[x] ^= kInvertBits;
}

void InvertPoint(const PixelBuffer& buffer, int x, int y, const DibRect& c) {
    if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) buffer.Row(y)[x] ^= kInvertBits;
}

}  // namespace

DibRect ClipToBuffer(const PixelBuffer& buffer, const DibRect& clip) {
    DibRect r = Intersect(clip, {0, 0, buffer.width, buffer.height});
    if (Empty(r) || !buffer.bits) return {0, 0, 0, 0};
    return r;
}

void FillRect(const PixelBuffer& buffer, const DibRect& rect, uint32_t color, const DibRect& clip) {
    DibRect r = Intersect(rect, ClipToBuffer(buffer, clip));
    if (Empty(r)) return;
    for (int y = r.top; y < r.bottom; ++y) std::fill(buffer.Row(y) + r.left, buffer.Row(y) + r.right, color);
}

void StretchIndexed(const PixelBuffer& buffer, const IndexedImage& image, int zoom,
                    ScreenPoint origin, const uint32_t* colors, const DibRect& clip) {
    if (zoom < 1 || !image.bits) return;
    DibRect area{origin.x, origin.y, origin.x + image.width * zoom, origin.y + image.height * zoom};
    DibRect r = Intersect(area, ClipToBuffer(buffer, clip));
    if (Empty(r)) return;
    const int firstCol = (r.left - origin.x) / zoom;
    const int lastCol = (r.right - 1 - origin.x) / zoom;
    const size_t width = size_t(r.right - r.left);
    int y = r.top;
    while (y < r.bottom) {
        const int imageRow = (y - origin.y) / zoom;
        const int rowEnd = std::min(r.bottom, origin.y + (imageRow + 1) * zoom);
        const uint8_t* src = image.Row(imageRow);
        uint32_t* dst = buffer.Row(y) + r.left;
        if (zoom == 1) {
            for (size_t i = 0; i < width; ++i) dst[i] = colors[src[size_t(firstCol) + i]];
        } else {
            uint32_t* out = dst;
            for (int col = firstCol; col <= lastCol; ++col) {
                int x0 = std::max(r.left, origin.x + col * zoom);
                int x1 = std::min(r.right, origin.x + (col + 1) * zoom);
                uint32_t c = colors[src[col]];
                for (int x = x0; x < x1; ++x) *out++ = c;
            }
        }
        for (int yy = y + 1; yy < rowEnd; ++yy)
            std::memcpy(buffer.Row(yy) + r.left, dst, width * sizeof(uint32_t));
        y = rowEnd;
    }
}

void DrawGridRows(const PixelBuffer& buffer, const DibRect& painted, ScreenPoint origin, int zoom,
                  int cellHeight, uint32_t color, const DibRect& clip) {
    if (zoom < 1 || cellHeight < 1 || int64_t(zoom) * cellHeight <= 3) return;
    const DibRect c = ClipToBuffer(buffer, clip);
    const int firstRow = painted.top / zoom;
    // The first image row at or after firstRow that ends a cell.
    int row = firstRow + ((cellHeight - 1 - firstRow % cellHeight) + cellHeight) % cellHeight;
    for (; row * zoom < painted.bottom; row += cellHeight) {
        int y = origin.y + row * zoom + zoom - 1;
        if (y < c.top || y >= c.bottom) continue;
        int x0 = std::max(c.left, origin.x + painted.left);
        int x1 = std::min(c.right, origin.x + painted.right);
        if (x0 < x1) std::fill(buffer.Row(y) + x0, buffer.Row(y) + x1, color);
    }
}

void DrawGridColumns(const PixelBuffer& buffer, const DibRect& painted, ScreenPoint origin,
                     int zoom, int cellWidth, uint32_t color, const DibRect& clip) {
    if (zoom < 1 || cellWidth < 1 || int64_t(zoom) * cellWidth <= 3) return;
    const DibRect c = ClipToBuffer(buffer, clip);
    const int y0 = std::max(c.top, origin.y + painted.top);
    const int y1 = std::min(c.bottom, origin.y + painted.bottom);
    if (y0 >= y1) return;
    const int firstCol = painted.left / zoom;
    int col = firstCol + ((cellWidth - 1 - firstCol % cellWidth) + cellWidth) % cellWidth;
    // The screen columns first, then row by row.
    int xs[64];
    for (; col * zoom < painted.right;) {
        int n = 0;
        for (; n < 64 && col * zoom < painted.right; col += cellWidth) {
            int x = origin.x + col * zoom + zoom - 1;
            if (x >= c.left && x < c.right) xs[n++] = x;
        }
        for (int y = y0; y < y1; ++y) {
            uint32_t* row = buffer.Row(y);
            for (int i = 0; i < n; ++i) row[xs[i]] = color;
        }
    }
}

void InvertRect(const PixelBuffer& buffer, const DibRect& rect, const DibRect& clip) {
    DibRect r = Intersect(rect, ClipToBuffer(buffer, clip));
    if (Empty(r)) return;
    for (int y = r.top; y < r.bottom; ++y) InvertSpan(buffer, y, r.left, r.right, r);
}

void InvertLine(const PixelBuffer& buffer, ScreenPoint a, ScreenPoint b, const DibRect& clip) {
    const DibRect c = ClipToBuffer(buffer, clip);
    if (Empty(c) || a == b) return;
    if (a.y == b.y) {
        // Without b: a..b-1 going right, b+1..a going left.
        if (a.x < b.x) InvertSpan(buffer, a.y, a.x, b.x, c);
        else InvertSpan(buffer, a.y, b.x + 1, a.x + 1, c);
        return;
    }
    if (a.x == b.x) {
        int y0 = a.y < b.y ? a.y : b.y + 1;
        int y1 = a.y < b.y ? b.y : a.y + 1;
        if (a.x < c.left || a.x >= c.right) return;
        y0 = std::max(y0, c.top);
        y1 = std::min(y1, c.bottom);
        for (int y = y0; y < y1; ++y) buffer.Row(y)[a.x] ^= kInvertBits;
        return;
    }
    // Bresenham, stepping along the longer axis; the last point left out.
    const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
    const int sx = b.x > a.x ? 1 : -1, sy = b.y > a.y ? 1 : -1;
    int x = a.x, y = a.y;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < dx; ++i) {
            InvertPoint(buffer, x, y, c);
            if (err > 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < dy; ++i) {
            InvertPoint(buffer, x, y, c);
            if (err > 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
}

void DrawLine(const PixelBuffer& buffer, ScreenPoint a, ScreenPoint b, uint32_t color, const DibRect& clip) {
    const DibRect c = ClipToBuffer(buffer, clip);
    if (Empty(c) || a == b) return;
    // Walked along the longer axis ("major"); the shorter one ("minor")
    // steps as InvertLine's Bresenham does: after k major steps it has moved
    // floor((2k * dMinor + dMajor - 1) / (2 * dMajor)).
    const bool xMajor = std::abs(int64_t(b.x) - a.x) >= std::abs(int64_t(b.y) - a.y);
    const int64_t major0 = xMajor ? a.x : a.y, minor0 = xMajor ? a.y : a.x;
    const int64_t dMajor = std::abs(int64_t(xMajor ? b.x - a.x : b.y - a.y));
    const int64_t dMinor = std::abs(int64_t(xMajor ? b.y - a.y : b.x - a.x));
    const int sMajor = (xMajor ? b.x > a.x : b.y > a.y) ? 1 : -1;
    const int sMinor = (xMajor ? b.y > a.y : b.x > a.x) ? 1 : -1;
    const int64_t lo = xMajor ? c.left : c.top, hi = (xMajor ? c.right : c.bottom) - 1;
    const int64_t minorLo = xMajor ? c.top : c.left, minorHi = (xMajor ? c.bottom : c.right) - 1;
    // Steps k whose major coordinate lies inside the clip.
    int64_t k0 = sMajor > 0 ? lo - major0 : major0 - hi;
    int64_t k1 = sMajor > 0 ? hi - major0 : major0 - lo;
    k0 = std::max<int64_t>(k0, 0);
    k1 = std::min<int64_t>(k1, dMajor - 1);
    if (k0 > k1) return;
    int64_t m = (2 * k0 * dMinor + dMajor - 1) / (2 * dMajor);
    int64_t err = 2 * dMinor - dMajor + 2 * k0 * dMinor - 2 * dMajor * m;
    for (int64_t k = k0; k <= k1; ++k) {
        const int64_t minor = minor0 + sMinor * m;
        if (minor >= minorLo && minor <= minorHi) {
            const int64_t major = major0 + sMajor * k;
            if (xMajor) buffer.Row(int(minor))[major] = color;
            else buffer.Row(int(major))[minor] = color;
        } else if ((sMinor > 0) == (minor > minorHi)) {
            break;  // past the clip for good
        }
        if (err > 0) {
            ++m;
            err -= 2 * dMajor;
        }
        err += 2 * dMinor;
    }
}

void InvertPolyline(const PixelBuffer& buffer, const ScreenPoint* points, size_t count,
                    const DibRect& clip) {
    for (size_t i = 1; i < count; ++i) InvertLine(buffer, points[i - 1], points[i], clip);
}

void InvertEllipse(const PixelBuffer& buffer, const DibRect& box, const DibRect& clip) {
    const DibRect c = ClipToBuffer(buffer, clip);
    // The pixels the ellipse may touch.
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (Empty(c) || w < 1 || h < 1) return;
    // Pixel centres inside the ellipse inscribed in the w x h pixels; the
    // first and last rows keep at least their middle pixels.
    const double a = w / 2.0, bAxis = h / 2.0;
    auto span = [&](int row, int* x0, int* x1) {
        *x0 = 1;
        *x1 = 0;
        if (row < 0 || row >= h) return;
        double t = (row + 0.5 - bAxis) / bAxis;
        double s = 1.0 - t * t;
        double half = s > 0 ? a * std::sqrt(s) : 0.0;
        *x0 = int(std::ceil(a - half - 0.5 - 1e-9));
        *x1 = int(std::floor(a + half - 0.5 + 1e-9));
        if (*x0 > *x1) {
            *x0 = (w - 1) / 2;
            *x1 = w / 2;
        }
    };
    const int rowFrom = std::max(0, c.top - box.top);
    const int rowTo = std::min(h - 1, c.bottom - 1 - box.top);
    for (int row = rowFrom; row <= rowTo; ++row) {
        int x0, x1, u0, u1, d0, d1;
        span(row, &x0, &x1);
        span(row - 1, &u0, &u1);
        span(row + 1, &d0, &d1);
        // Interior: both horizontal and both vertical neighbours inside.
        int i0 = std::max({x0 + 1, u0, d0}), i1 = std::min({x1 - 1, u1, d1});
        int y = box.top + row;
        if (i0 > i1) {
            InvertSpan(buffer, y, box.left + x0, box.left + x1 + 1, c);
        } else {
            InvertSpan(buffer, y, box.left + x0, box.left + i0, c);
            InvertSpan(buffer, y, box.left + i1 + 1, box.left + x1 + 1, c);
        }
    }
}

void InvertFrame(const PixelBuffer& buffer, const DibRect& rect, const DibRect& clip) {
    if (Empty(rect)) return;
    const DibRect c = ClipToBuffer(buffer, clip);
    InvertSpan(buffer, rect.top, rect.left, rect.right, c);
    if (rect.bottom - 1 > rect.top) InvertSpan(buffer, rect.bottom - 1, rect.left, rect.right, c);
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        if (y < c.top || y >= c.bottom) continue;
        InvertPoint(buffer, rect.left, y, c);
        if (rect.right - 1 > rect.left) InvertPoint(buffer, rect.right - 1, y, c);
    }
}

}  // namespace view

namespace view {

void PaintBackground(const PixelBuffer& buffer, const DibRect& area, ScreenPoint origin,
                     bool centred, uint32_t background, uint32_t workspace) {
    FillRect(buffer, area, background, area);
    if (!centred) return;
    FillRect(buffer, {0, 0, origin.x, buffer.height}, workspace, area);
    FillRect(buffer, {0, 0, buffer.width, origin.y}, workspace, area);
}

void DrawGrids(const PixelBuffer& buffer, const DibRect& painted, ScreenPoint origin, int zoom,
               const GridStyle& grid, const DibRect& clip) {
    if (grid.displayFlags & 2) {
        DrawGridRows(buffer, painted, origin, zoom, grid.subHeight, grid.subColor, clip);
        DrawGridColumns(buffer, painted, origin, zoom, grid.subWidth, grid.subColor, clip);
    }
    if (grid.displayFlags & 1) {
        DrawGridRows(buffer, painted, origin, zoom, grid.mainHeight, grid.mainColor, clip);
        DrawGridColumns(buffer, painted, origin, zoom, grid.mainWidth, grid.mainColor, clip);
    }
}

}  // namespace view
