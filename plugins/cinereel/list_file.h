// The editor's frame list files (*.can): the lines it writes and the strict
// reader it loads them with.
#pragma once

#include <string>
#include <string_view>

#include "plugins/cinereel/sheet_frame.h"

namespace cinereel {

// The lines of the non-empty frames in index order: x, y, width, height and
// delay, each line ended by CR LF. Empty when no frame is in use.
std::string ListFileBytes(const SheetFrame* frames);
bool AnyFrameInUse(const SheetFrame* frames);

// Reads a list file into the 128 frames: line i fills frame i, a frame
// without a line is empty with delay 100. Numbers above 9999 end at 9999;
// a line ended by CR LF holds five numbers or none. False on any error,
// with the frames as they were; the layer fields are not touched.
bool ReadListFile(std::string_view bytes, SheetFrame* frames);

}  // namespace cinereel
