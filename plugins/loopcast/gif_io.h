// Reading and writing a GIF tree on a stream the caller opened in binary mode
// (the codec neither opens nor closes it).
#pragma once

#include <cstdio>

#include "plugins/loopcast/gif_tree.h"

// The signature (6 characters), the screen, every block in list order and the
// trailer. False when the stream reports a write error.
bool GifWriteFile(FILE* stream, const GifFile* file);

// A new tree, or null when the stream does not start with "GIF", when the
// logical screen is larger than kGifMaxSide in either direction, or when a
// record cannot be allocated. Corrupt or truncated data never stops reading:
// affected pixels stay 0 or as far as decoded. At most 1001 blocks are read.
// An image larger than kGifMaxSide, without pixels (zero width or height),
// with a minimum code size that would let codes pass 4095, or past the pixel
// budget of the file keeps no pixels (or zero pixels) and its data is skipped.
GifFile* GifReadFile(FILE* stream);

constexpr uint32_t kGifMaxBlocks = 1001;
// Pixels a single file may hold over all its images.
constexpr uint64_t kGifPixelBudget = uint64_t(1) << 28;
