// Selection masks: 1-bit maps of the selected pixels.
//
// Layout at the current image width w and height h: row y (0 = top row of
// the image) starts at byte y x ((w + 7) / 8); pixel x is bit 7 - (x mod 8)
// of byte x / 8 of its row (most significant bit = leftmost pixel). The rows
// run top-down, unlike the bottom-up rows of images and layers. The blocks
// are allocated at the maximum image size; only the first h rows of the
// current width are addressed, and the bits of a row past x = w (padding)
// are never read as pixels.
//
// Everything here is pure bit work on a locked block; the document wraps
// it with its handles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"

namespace document {

inline int FloorDiv8(int64_t v) { return int(v >= 0 ? v / 8 : -((-v + 7) / 8)); }
inline size_t MaskRowBytes(int width) { return (size_t(width) + 7) / 8; }

// A locked mask block addressed at an image size.
struct MaskBits {
    uint8_t* data = nullptr;
    size_t size = 0;  // bytes of the block
    int width = 0;
    int height = 0;

    size_t RowBytes() const { return MaskRowBytes(width); }
    // True when the block holds the rows of the image size.
    bool Valid() const {
        return data && width > 0 && height > 0 && RowBytes() * size_t(height) <= size;
    }
    bool Inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t* Row(int y) const { return data + size_t(y) * RowBytes(); }
    // Unchecked: (x, y) must be inside.
    bool Get(int x, int y) const { return (Row(y)[x >> 3] >> (7 - (x & 7))) & 1; }
    void Put(int x, int y) const { Row(y)[x >> 3] |= uint8_t(0x80 >> (x & 7)); }
};

// The bits of the last byte of a row that are pixels (padding clear).
inline uint8_t LastByteMask(int width) {
    int used = width & 7;
    return used ? uint8_t(0xFF << (8 - used)) : uint8_t(0xFF);
}

// Outside the image nothing. Mode 1 ORs the bit into its byte; any other
// mode writes the byte as just that bit.
void SetMaskBit(const MaskBits& mask, int x, int y, int mode);
// 1 when (x, y) is inside the image and its bit is set, else 0.
int TestMaskBit(const MaskBits& mask, int x, int y);

// Sets the bits x in [left, right), y in [top, bottom), cut to the image.
void MaskFillRect(const MaskBits& mask, int left, int top, int right, int bottom);

// Inverts the pixels of the image size; padding bits end clear.
void InvertMaskBits(const MaskBits& mask);

// Bounding box of the set pixels (right and bottom exclusive), x < w only.
// With no pixel set: left = w, top = h, right = 0, bottom = 0 (empty).
DibRect MaskBoundingRect(const MaskBits& mask);
inline bool RectEmpty(const DibRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The byte layout of a mask rectangle: the bytes b0 = left / 8 to
// b1 = (right + 7) / 8 - 1 of each row top .. bottom - 1, packed at
// b1 - b0 bytes a row (division rounding down). The block has one spare row
// and one spare byte a row more than the rows need, left zero.
struct MaskRectLayout {
    int firstByte = 0;  // b0
    int rowBytes = 0;   // b1 - b0
    int rows = 0;       // bottom - top
    size_t BlockSize() const { return size_t(rows + 1) * size_t(rowBytes + 1); }
};
// Empty (rows or rowBytes 0) for an empty rectangle.
MaskRectLayout MaskRectLayoutOf(int left, int top, int right, int bottom);

// Copies the rectangle's mask bytes into `out` (BlockSize() bytes, zeroed by
// the caller). Rows and bytes outside the image, and padding bits, stay 0.
void CopyMaskRectBytes(const MaskBits& mask, int left, int top, int right, int bottom,
                       uint8_t* out, size_t outSize);

// Writes a CopyMaskRectBytes block back into the mask. s = shift mod 8
// (0..7, also for a negative shift). Row r of the block (r = 0 for `top`)
// goes to mask row dy + r; bit p of a block row (p = 0 the most significant
// bit of its first byte, p < 8 x rowBytes) goes to pixel
// 8 x floor(dx / 8) + p - s. Exactly those pixels are replaced (set or
// cleared); rows and pixels outside the image are cut off. A block too
// small for its rows gives only the rows it holds.
void PasteMaskBits(const MaskBits& mask, const uint8_t* block, size_t blockSize, int left,
                   int top, int right, int bottom, int dx, int dy, int shift);

// Sets the 4-connected region of clear pixels that contains (x, y). Nothing
// when the start is outside or set. False when its work memory could not be
// had (nothing filled then).
bool FloodFillMask(const MaskBits& mask, int x, int y);

// Fills the interior of an outline drawn into a byte map (one byte per
// pixel, x + y x w, nonzero on the outline). For each row y: j0 = the first
// x with a nonzero byte (0 when none), j1 = the last x > 0 with one (0 when
// none); for each column x: l = the first row with a nonzero byte (0 when
// none), m = the last row > 0 with one (0 when none). Pixel (x, y) is set
// when j0 <= x < j1 and l < y < m.
void MaskFillSpans(const MaskBits& mask, const uint8_t* byteMap, size_t byteMapSize);

// Every set pixel (x, y) of `source` sets pixel (x + dx, y + dy) of
// `destination` when that lies inside; `destination` is not cleared here.
void ShiftMaskBits(const MaskBits& source, const MaskBits& destination, int dx, int dy);

// Calls plot(x, y) for every point of the Bresenham line from (x0, y0) to
// (x1, y1), both ends included.
template <class Plot>
void ForEachLinePoint(int x0, int y0, int x1, int y1, Plot&& plot) {
    int dx = x1 - x0, dy = y1 - y0;
    int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    if (ax == 0 && ay == 0) {
        plot(x0, y0);
        return;
    }
    int x = x0, y = y0;
    if (ax < ay) {
        int error = ay / 2;
        for (int i = 0; i <= ay; ++i) {
            plot(x, y);
            y += sy;
            error += ax;
            if (error >= ay) {
                x += sx;
                error -= ay;
            }
        }
    } else {
        int error = ax / 2;
        for (int i = 0; i <= ax; ++i) {
            plot(x, y);
            x += sx;
            error += ay;
            if (error >= ax) {
                y += sy;
                error -= ax;
            }
        }
    }
}

// One line of a selection outline in view pixels; the end point is not
// drawn (an inverting two-point polyline).
struct OutlineSegment {
    int x0, y0, x1, y1;
    bool operator==(const OutlineSegment&) const = default;
};
// The outline of the set pixels at a zoom factor and drawing origin.
// Pass 1, row by row: a set pixel whose left neighbour is clear gives a
// vertical line at ox + zoom x from oy + zoom y (+1 when the pixel above is
// clear) to oy + zoom (y + 1) (-1 when the pixel below is clear); one whose
// right neighbour is clear the same at ox + zoom (x + 1) - 1. Pass 2, column
// by column: a set pixel whose upper neighbour is clear gives a horizontal
// line at oy + zoom y, one whose lower neighbour is clear at
// oy + zoom (y + 1) - 1, from ox + zoom x to ox + zoom (x + 1). Neighbours
// outside the image count as clear.
std::vector<OutlineSegment> SelectionOutline(const MaskBits& mask, int zoom, int ox, int oy);

// Nearest-pixel scaling of mask bits: for each offset (u, v) of the
// destination rectangle, destination pixel (dstL + u, dstT + v) is set when
// source pixel (srcL + u x sw / dw, srcT + v x sh / dh) is set. Both
// rectangles are ordered first. Pixels outside either image are skipped.
void ScaleMaskBits(const MaskBits& source, const DibRect& sourceRect,
                   const MaskBits& destination, const DibRect& destinationRect);

// Orders a rectangle: left <= right, top <= bottom.
DibRect OrderedRect(const DibRect& r);

// A filled ellipse as row spans: centre (cx, cy), half axes rx and ry, of
// the rectangle of width x height it is inscribed in (left = cx - rx,
// top = cy - ry). Pixel (x, y) is inside when its centre lies in the ellipse
// that touches the four sides of the rectangle, so the shape is symmetric and
// an odd size has one more column on the right half and one more row on the
// lower half than on the other. A reduced half axis rx - 1 or ry - 1 of 0
// (a width or height of at most 3) gives one vertical or horizontal line
// through the centre.
struct RowSpan {
    int y, x0, x1;  // x0 .. x1 inclusive
    bool operator==(const RowSpan&) const = default;
};
std::vector<RowSpan> EllipseRows(int cx, int cy, int rx, int ry, int width, int height);

// Row `row` (0 = top) of the ellipse of EllipseRows' general rule in a
// width x height box: the first and last column inside, as offsets from the
// box's left side. False when no pixel centre of the row lies inside (thin
// boxes lose their outermost rows or columns so) or the row is outside the
// box. Exact while width x height stays below 2^63.
bool EllipseRowExtent(int64_t width, int64_t height, int64_t row, int64_t* first, int64_t* last);

}  // namespace document
