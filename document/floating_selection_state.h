// The document's selection values beside its mask and floating handles:
// the layout of the floating mask, the mask-changed flag, the rotation frame,
// the lasso list and the view's paste offset.
#pragma once

#include <array>
#include <cstdint>

#include "document/selection_lasso.h"
#include "imaging/dib_layout.h"

namespace document {

struct SelectionState {
    // The floating mask's rectangle in bytes (left / 8, top, (right + 7) / 8,
    // bottom) and in pixels.
    DibRect floatMaskBytes{};
    DibRect floatMaskPixels{};
    // Set to 1 when the selection is inverted.
    int32_t maskChanged = 0;
    // Corners of the turned and scaled floating rectangle for the view.
    std::array<LassoPoint, 4> rotationFrame{};
    LassoList lasso;
    // Offset of the floating pixels from their source that the view keeps
    // while it pastes or inserts an image.
    int32_t pasteOffsetX = 0;
    int32_t pasteOffsetY = 0;
};

}  // namespace document
