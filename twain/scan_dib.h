// Turning the frames a scanner sent into a packed DIB (40-byte header,
// colour table, rows bottom-up and padded to 4 bytes).
//
//   grey, depth 1    1-bit DIB with the table {white, black} (1 is black)
//   grey, depth 8    8-bit DIB with a 256-entry grey table
//   grey, depth 16   as 8, from each sample's high byte (host order)
//   colour 8 and 16  24-bit DIB (blue, green, red), 16-bit samples by their
//                    high byte; colour depth 1 gives 0 or 255 per channel
//
// Colour comes either as one RGB frame or as three frames (red, green, blue
// in any order). Rows are read with the frame's bytes per line; a frame of
// unknown height (lines < 0) has as many rows as whole lines arrived.
#pragma once

#include <cstdint>
#include <vector>

#include <sane/sane.h>

#include "platform/memory.h"

namespace twain {

struct ScanFrame {
    SANE_Parameters parameters{};
    std::vector<uint8_t> data;

    // The rows the frame holds: its lines, or the whole lines that arrived
    // when the height was not known (never more than arrived).
    int Rows() const;
};

// False when the frames make no picture this program takes: no frame, a
// frame without pixels, an unknown format or depth, three-pass frames that
// are not one each of red, green and blue or that differ in size.
bool ScanFramesUsable(const std::vector<ScanFrame>& frames);
// The picture's width and height (0, 0 when not usable).
int ScanWidth(const std::vector<ScanFrame>& frames);
int ScanHeight(const std::vector<ScanFrame>& frames);

// The packed DIB, or null when the frames are not usable or the block cannot
// be had.
MemHandle ScanFramesToDib(const std::vector<ScanFrame>& frames);

}  // namespace twain
