// Taking just the palette of an image file.
#pragma once

#include <QString>

#include "platform/memory.h"

namespace document {

// Reads the image file through the file-format plug-ins and, for a 16- or
// 256-colour image, fills the working palette with its colour table (the
// entries past the image's colours become 0). 1 when the working palette
// was filled, else 0 after the message ("指定的图象是 256 色以上的图象" for
// any other colour count) and the working palette is unchanged.
// The reading lives with the plug-in host (plugin_host/image_file_read.cpp).
int LoadPaletteFromImageFile(const QString& path);

// Entries 0 .. colors - 1 of the working palette take red, green, blue and
// alpha of the picture's colour table (where the table has them, else 0);
// the others become 0. `colors` is clamped to 0 .. 256.
void FillWorkingPaletteFromDib(MemHandle picture, int colors);

}  // namespace document
