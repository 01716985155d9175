// Composes the images of a GIF tree into one full-screen frame each, the way
// a viewer shows them: graphic control extensions give transparency and the
// disposal of each image (0/1 leave it, 2 clear its rectangle to pixel 0,
// 3 bring back what was there before). A pixel is kept as a colour id,
// frame * 256 + index, so that pixels carried over from an earlier frame keep
// that frame's colour when frames have palettes of their own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "plugins/loopcast/gif_tree.h"

constexpr uint32_t kGifMaxFrames = 100;

struct GifFrameSet {
    uint32_t width = 0;
    uint32_t height = 0;
    bool hasGlobalTable = false;
    bool anyLocalTable = false;
    bool truncated = false;                            // more images than kGifMaxFrames
    std::array<uint32_t, 256> global{};                // the screen's table, 0 when none
    std::vector<std::array<uint32_t, 256>> palettes;  // per frame so far, 0x00RRGGBB

    uint32_t Color(uint16_t id) const { return palettes[id >> 8][id & 0xFF]; }
};

// The graphic control state one extension gives the next image; false when
// the extension is not a usable graphic control (its first sub-block must
// exist and hold 4 bytes).
struct GifGraphicControl {
    bool transparent = false;
    uint8_t transparentIndex = 0;
    uint8_t disposal = 0;
};
bool GifReadGraphicControl(const GifExtension* extension, GifGraphicControl* out);

// Walks the images in order (at most kGifMaxFrames) and calls visit with
// each frame's composition, width x height ids, rows top-down. Only one
// screen of ids is held at a time, so a walk may be repeated cheaply.
// Throws std::bad_alloc when memory runs out.
using GifFrameVisitor = std::function<void(int frame, const GifFrameSet& set, const uint16_t* ids)>;
GifFrameSet GifComposeFrames(const GifFile* file, const GifFrameVisitor& visit);
