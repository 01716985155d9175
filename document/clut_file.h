// Palette files (*.clt): exactly 1024 bytes, no header; for palette index 0
// to 255 in order one byte each of red, green, blue and alpha, the byte
// order of the working palette.
#pragma once

#include <QByteArray>
#include <QString>

#include "document/working_palette.h"

namespace document {

inline constexpr int kClutFileBytes = 1024;
static_assert(sizeof(WorkingPalette) == kClutFileBytes, "a palette file is the working palette");

// The bytes of a palette file for `palette`.
QByteArray ClutFileBytes(const WorkingPalette& palette);
// Puts the first 1024 bytes of `bytes` over `palette`; a shorter file fills
// only the bytes it has and leaves the rest. Returns how many bytes were taken.
int TakeClutFileBytes(const QByteArray& bytes, WorkingPalette& palette);

// Reads a palette file into `palette`; false when it cannot be opened
// (`palette` is then unchanged).
bool ReadClutFile(const QString& path, WorkingPalette& palette);
// Writes `palette` as a palette file. The file is replaced only by a
// complete new one: false when it could not be created, written or closed,
// and the old file stays as it was.
bool WriteClutFile(const QString& path, const WorkingPalette& palette);

}  // namespace document
