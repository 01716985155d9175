// Painting packed DIBs with a QPainter.
//
// Pictures are painted without smoothing (QPainter::SmoothPixmapTransform
// off): each image pixel becomes a block of destination pixels. Only the
// source rectangle is converted for painting. Indexed images paint through a
// QImage::Format_Indexed8 whose colours come from the given palette, else
// from the image's own colour table.
#pragma once

#include <QRect>

#include "imaging/dib_layout.h"
#include "imaging/logical_palette.h"
#include "platform/memory.h"

class QPainter;

// The palette of the image's colour table (red, green, blue per entry).
// 0 when the image is null or refused, its table is empty or `palette` is
// null; else 1 and the palette is filled.
int CreatePaletteFromDib(MemHandle image, LogicalPalette* palette);
// The same with each entry grey: red = green = blue = the entry's alpha (a
// core header has no alpha: its colours themselves).
int CreateAlphaPaletteFromDib(MemHandle image, LogicalPalette* palette);

// Paints the source rectangle (left, top, right, bottom, y from the top) of
// the image stretched onto `destination`. The part of the rectangle outside
// the image is not painted (the rest keeps its place in the destination).
// Returns the number of image rows painted: 0 for a null painter, a null or
// refused image, or an empty rectangle.
int PaintDibToDc(QPainter* painter, const QRect& destination, MemHandle image,
                 const DibRect& source, const LogicalPalette* palette = nullptr);

// Paints the 8-bit composite with the underlay showing where no visible layer
// covers a pixel: a pixel is covered when some layer is visible and its draw
// mode is 0 or its index there is nonzero. Covered pixels, and pixels outside
// the underlay (aligned at the top-left corner), show the composite's colour;
// the others the underlay's (24-bit: its pixel; 8-bit: its colour table).
// With no layers the underlay shows everywhere it reaches. Layers are layer
// buffers of the composite's size; null or too small ones cover nothing.
// The palette is not needed here (the composite's own colours are used).
// Returns the rows painted; 0 (the caller then paints with PaintDibToDc) when
// the image is null or refused, or after showing "轮廓合成内存不足" when the
// 24-bit work image cannot be allocated.
int PaintLayersOverUnderlay(QPainter* painter, const QRect& destination, MemHandle image,
                            const DibRect& source, const LogicalPalette* palette,
                            MemHandle underlay, const MemHandle* layers, int layerCount);
