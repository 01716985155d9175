// The document's selection values beside its masks, floating handles and
// rectangles: the rotation frame, the lasso list and the view's paste offset.
#pragma once

#include <array>
#include <cstdint>

#include "document/selection_lasso.h"

namespace document {

struct SelectionState {
    // Corners of the turned and scaled floating rectangle for the view.
    std::array<LassoPoint, 4> rotationFrame{};
    LassoList lasso;
    // Offset of the floating pixels from their source that the view keeps
    // while it pastes or inserts an image.
    int32_t pasteOffsetX = 0;
    int32_t pasteOffsetY = 0;
};

}  // namespace document
