// Converting between packed DIBs and QImage.
//
// DIB to QImage: 1-, 4- and 8-bit images become QImage::Format_Indexed8 with
// a 256-colour opaque table (the image's own table, or a palette's colours
// when one is given; indices past the table show black); 16-bit (5-5-5),
// 24- and 32-bit images become QImage::Format_RGB32. Core headers are read
// too. Rows are read with the display rule (padded; a 16- or 24-bit block
// sized for unpadded rows, as CreateDib8 makes them, is read unpadded).
//
// QImage to DIB: an indexed QImage of at most 256 colours becomes an 8-bit
// DIB with a 256-entry table (alpha bytes 0), anything else a 24-bit DIB with
// padded rows; both with a 40-byte header.
#pragma once

#include <QImage>

#include "imaging/dib_layout.h"
#include "imaging/logical_palette.h"
#include "platform/memory.h"

// The pixels of `rect` (the whole image when null), cut to the image; a null
// QImage for a null or refused block or an empty rectangle.
QImage DibToQImage(MemHandle image, const DibRect* rect = nullptr,
                   const LogicalPalette* palette = nullptr);

// A new block owned by the caller; null for a null QImage or when the
// allocation fails.
MemHandle QImageToDib(const QImage& image);
MemHandle QImageToDib8(const QImage& indexed);  // Indexed8/Mono with <= 256 colours
MemHandle QImageToDib24(const QImage& image);
