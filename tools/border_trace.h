// The points of a border line along the edge of a selection: on its inside,
// centred on it or on its outside, `width` pixels apart from it. Pure mask
// work; the caller plots each point with the border stamp of that width.
#pragma once

#include <vector>

#include "document/selection_mask.h"

namespace tools {

enum BorderPosition { kBorderInside = 0, kBorderCentre = 1, kBorderOutside = 2 };

inline constexpr int kBorderWidthMin = 1;
inline constexpr int kBorderWidthMax = 100;
int ClampBorderWidth(int width);

// The border-line dialog's program-wide state: while it runs every pen stamp
// is the border stamp of the width it keeps (the last width it drew with).
struct BorderDialogState {
    bool running = false;
    int width = 1;
};
BorderDialogState& BorderDialog();

struct BorderPoint {
    int x, y;
    bool operator==(const BorderPoint&) const = default;
};

// The points to plot, in plotting order: each row from the left and from the
// right (down to column 1), then each column from the top and from the
// bottom (down to row 1), at the first pixel set in the mask whose partner
// pixel across the line's width is set too. Every mask test outside the
// image counts as clear. The width is clamped to 1..100; no points without
// a valid mask.
std::vector<BorderPoint> TraceBorder(const document::MaskBits& mask, int width, int position);

}  // namespace tools
