// The editor's frame list files (*.can): the lines it writes and how it
// loads them, through the program's one *.can reader.
#pragma once

#include <string>
#include <string_view>

#include "plugins/cinereel/sheet_frame.h"

namespace cinereel {

// The lines of the non-empty frames in index order: x, y, width, height and
// delay, each line ended by CR LF. Empty when no frame is in use.
std::string ListFileBytes(const SheetFrame* frames);
bool AnyFrameInUse(const SheetFrame* frames);

// Reads a list file into the 128 frames with the rules of can_file::
// ParseTable (lines may end in CR LF, LF or CR): the n-th frame line fills
// frame n, each value held to 0..9999; the frames after the last line are
// empty with delay 100. False for a malformed frame line, with the frames as
// they were; the layer fields are not touched.
bool ReadListFile(std::string_view bytes, SheetFrame* frames);

}  // namespace cinereel
