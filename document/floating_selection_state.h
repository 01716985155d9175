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

    // The selection tools' progress with the floating selection.
    int32_t dragStarted = 0;       // a new selection is being dragged
    int32_t moving = 0;            // the floating selection is being dragged
    int32_t movedSinceLift = 0;    // a Shift-click starts a new selection
    int32_t firstMovePending = 0;  // the lifted pixels still fill their source
    int32_t adding = 0;            // the selection being dragged joins the old one
    int32_t polygonCount = 0;      // vertices of the polygon being built
    LassoPoint previousVertex;
    LassoPoint firstPoint;         // of the freehand outline
    // The floating selection's distance from the floating target rectangle.
    int32_t floatOffsetX = 0;
    int32_t floatOffsetY = 0;
    // Degrees 0..359: the turn shown, and the turn when the drag began.
    int32_t angle = 0;
    int32_t dragStartAngle = 0;
    // The scale and rotate tools opened their step since the tool was chosen.
    int32_t scaleStarted = 0;
    int32_t rotateStarted = 0;
    // The current layer shows the floating selection scaled or turned: the
    // layer holds what is to be kept, the floating image what was lifted.
    int32_t transformed = 0;
};

}  // namespace document
