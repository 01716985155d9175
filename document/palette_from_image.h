// Taking just the palette of an image file.
#pragma once

#include <QString>

namespace document {

// Reads the image file through the file-format plug-ins and, for a 16- or
// 256-colour image, fills the working palette with its colour table (the
// entries past the image's colours become 0). 1 when the working palette
// was filled, else 0 and the working palette is unchanged.
// The plug-in host is not part of the program yet: no file gives a palette,
// the result is always 0.
int LoadPaletteFromImageFile(const QString& path);

}  // namespace document
