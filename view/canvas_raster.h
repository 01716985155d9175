// Pixel work of the canvas view on its back buffer, without widgets: the
// zoomed indexed image, the grid lines and the inverting outlines.
//
// The back buffer holds 32-bit pixels 0xffRRGGBB, rows top first. Every
// function writes only inside `clip` (client pixels, right and bottom
// exclusive, cut to the buffer).
//
// Inverting outlines follow the platform's drawing rules, which differ from
// QPainter's: a line leaves out its last point, a polyline leaves out the
// last point of each segment (so a closed polyline touches each corner once),
// and an ellipse lies inside its box, right column and bottom row excluded.
// Every pixel of one outline is inverted exactly once, so drawing the same
// outline twice restores the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"

namespace view {

struct PixelBuffer {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels per row

    uint32_t* Row(int y) const { return bits + ptrdiff_t(y) * stride; }
};

// The 8-bit image the view shows: rows bottom-up, `stride` bytes apart.
struct IndexedImage {
    const uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;

    const uint8_t* Row(int y) const { return bits + size_t(height - 1 - y) * stride; }
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// `clip` cut to the buffer.
DibRect ClipToBuffer(const PixelBuffer& buffer, const DibRect& clip);

// Fills the rectangle with one colour.
void FillRect(const PixelBuffer& buffer, const DibRect& rect, uint32_t color, const DibRect& clip);

// Paints the image enlarged `zoom` times with its top-left corner at client
// point `origin`, each index through `colors` (256 entries), into the part
// of `clip` the image covers.
void StretchIndexed(const PixelBuffer& buffer, const IndexedImage& image, int zoom,
                    ScreenPoint origin, const uint32_t* colors, const DibRect& clip);

// One grid of cell `cellWidth` x `cellHeight` image pixels over `painted`
// (zoomed-image pixels, left and top on whole cells) with the image origin
// at client point `origin`. Rows: each image row r of the painted rectangle
// with r mod cellHeight = cellHeight - 1 gets a one-pixel line across the
// painted rectangle on its last screen row; columns likewise. A direction
// whose cell is not more than 3 screen pixels is left out.
void DrawGridRows(const PixelBuffer& buffer, const DibRect& painted, ScreenPoint origin, int zoom,
                  int cellHeight, uint32_t color, const DibRect& clip);
void DrawGridColumns(const PixelBuffer& buffer, const DibRect& painted, ScreenPoint origin,
                     int zoom, int cellWidth, uint32_t color, const DibRect& clip);

// A solid one-pixel line from a to b without b, in the same pixels as
// InvertLine; only the part inside `clip` is walked, so a line far longer
// than the buffer costs no more than its visible part. Coordinates within
// +-2^29.
void DrawLine(const PixelBuffer& buffer, ScreenPoint a, ScreenPoint b, uint32_t color, const DibRect& clip);

// Inverting outlines (colour bits flipped, the top byte kept).
void InvertRect(const PixelBuffer& buffer, const DibRect& rect, const DibRect& clip);
// The line from a to b without b.
void InvertLine(const PixelBuffer& buffer, ScreenPoint a, ScreenPoint b, const DibRect& clip);
// Segments between successive points, each without its last point.
void InvertPolyline(const PixelBuffer& buffer, const ScreenPoint* points, size_t count,
                    const DibRect& clip);
// The outline of the ellipse inside `box` (right and bottom exclusive): one
// pixel thick, 8-connected, touching all four sides of the box.
void InvertEllipse(const PixelBuffer& buffer, const DibRect& box, const DibRect& clip);
// The frame of a rectangle as four one-pixel strips that do not overlap:
// its top and bottom rows and, between them, its left and right columns.
void InvertFrame(const PixelBuffer& buffer, const DibRect& rect, const DibRect& clip);

}  // namespace view

namespace view {

// The client area around the image: `background` everywhere in `area`,
// and, when the image is centred, `workspace` left of and above it.
void PaintBackground(const PixelBuffer& buffer, const DibRect& area, ScreenPoint origin,
                     bool centred, uint32_t background, uint32_t workspace);

// The two grids of a view, drawn sub rows, sub columns, main rows, main
// columns, so that main lines cover sub lines.
struct GridStyle {
    int displayFlags = 0;  // bit 0 main grid, bit 1 sub grid
    int mainWidth = 8, mainHeight = 8;
    int subWidth = 8, subHeight = 8;
    uint32_t mainColor = 0xff808080u;
    uint32_t subColor = 0xff808080u;
};
void DrawGrids(const PixelBuffer& buffer, const DibRect& painted, ScreenPoint origin, int zoom,
               const GridStyle& grid, const DibRect& clip);

}  // namespace view
