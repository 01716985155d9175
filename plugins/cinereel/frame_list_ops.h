// How the frame list's operations move frames: removing a frame pulls the
// ones after it up (frame 127 becomes empty), inserting pushes them down
// (frame 127 falls off).
#pragma once

#include <vector>

#include "plugins/cinereel/sheet_frame.h"

namespace cinereel {

// (0, 0, 0, 0) with delay 100.
SheetFrame EmptyFrame();

// Removes the frames of `rows` (ascending), from the highest to the lowest.
void RemoveFrames(SheetFrame* frames, const std::vector<int>& rows);
// Puts `frame` at `row`, moving rows row..126 down by one.
void InsertFrameAt(SheetFrame* frames, int row, const SheetFrame& frame);
// Puts the clip frames in their order from `row` on (those pushed past
// 127 are lost); the rows they now fill.
std::vector<int> InsertClip(SheetFrame* frames, int row, const std::vector<SheetFrame>& clip);

// The popup menu's enabled items by multi-selection state and clip.
struct MenuEnabling {
    bool paste, insert, overwrite;  // delete, copy, cut and cancel always
    bool operator==(const MenuEnabling&) const = default;
};
MenuEnabling MenuEnabled(int multiSel, bool clipEmpty);

// The position dialog's clamps for an image of `width` x `height`.
struct FramePos {
    int x = 0, y = 0, width = 0, height = 0, delay = kDefaultDelay;
    bool operator==(const FramePos&) const = default;
};
enum class PosField { Delay, Height, X, Y, Width };
// `pos` with `field` clamped: delay into 0..9999, height into
// 0..min(1024, image height - y), x into 0..image width - width, y into
// 0..image height - height, width into 0..min(1024, image width - x).
FramePos ClampPosField(FramePos pos, PosField field, int imageWidth, int imageHeight);

}  // namespace cinereel
