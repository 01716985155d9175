// The small pictures of the layer palette's rows: a layer sampled straight
// from its bytes through the composite's colour table, and the underlay
// picture in its true colours. Only the thumbnail's own pixels are read, so
// a row costs the same for a layer of any size.
#pragma once

#include <array>
#include <cstdint>

#include <QImage>
#include <QRgb>
#include <QSize>

#include "platform/memory.h"

class CPelmarkDoc;

namespace layer_palette {

// The palette index of pixel (x, y) of layer `layer`, y counted from the top
// row: -1 outside the image, 0 for an empty slot (or a block too small for
// the image).
int GetThumbPixel(int x, int y, const CPelmarkDoc& doc, int layer);

// The composite image's 256 colours (entries past its table black).
std::array<QRgb, 256> CompositeColors(const CPelmarkDoc& doc);

// Thumbnail pixel (i, j) of `size` shows layer pixel (i x width / size
// width, j x height / size height). An 8-bit image with `colors` as its
// table; null for an empty slot, a layer that does not fit the image or an
// empty size.
QImage LayerThumbnail(const CPelmarkDoc& doc, int layer, QSize size,
                      const std::array<QRgb, 256>& colors);

// The underlay picture sampled the same way with its own width, height, bit
// count and row length: 8-bit (through its colour table), 24- and 32-bit
// pictures in true colours; null for any other picture or none.
QImage UnderlayThumbnail(MemHandle underlay, QSize size);

}  // namespace layer_palette
