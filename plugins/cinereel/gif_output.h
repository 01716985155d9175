// The animated GIF of the editor's frames: the tree the GIF codec writes,
// built from the non-empty frames of layer 0, and the file written from it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugins/cinereel/sheet_frame.h"

struct GifFile;

namespace cinereel {

struct GifOptions {
    bool loop = false;         // 重复
    bool transparent = false;  // 背景色透明
    bool interlace = false;    // 交错
};

// Layer 0 and the image's header with its 256-entry colour table.
struct GifSource {
    const uint8_t* dib = nullptr;  // header and colour table
    size_t dibSize = 0;
    const uint8_t* bits = nullptr;  // layer 0's rows, bottom-up
    int stride = 0;
    int width = 0;
    int height = 0;
};

enum class GifBuild { Ok, NoFrames, NoMemory };

// The tree of the frames with left < right and top < bottom, each placed in
// the screen (the largest of them) by the base position; outside the image a
// frame's pixels are index 0. Every frame's pixel block is taken from the
// memory layer first: any refusal fails the whole tree. Free the result
// with GifFreeFile.
GifBuild BuildAnimGif(const SheetFrame* frames, int basePos, const GifSource& source, const GifOptions& options,
                      GifFile** out);

// Writes the tree to `path`; a write that fails leaves an old file as it was
// and nothing half written.
bool WriteAnimGif(const char* path, const GifFile* tree);

}  // namespace cinereel
