#include "tools/drag_state.h"

namespace tools {

bool DragState::BeginLeft(int tool, bool shift) {
    capture = 1;
    ShiftDown rule = ShiftDownRule(tool);
    if (shift && rule != ShiftDown::kIgnored) {
        bits |= kShiftClick;
        if (rule == ShiftDown::kNothing) return false;
        bits = (bits & ~kShiftClick) | kLeftToolDrag;
        return true;
    }
    bits |= kLeftToolDrag;
    return true;
}

bool DragState::EndLeft() {
    bool toolDrag = (bits & kLeftToolDrag) != 0;
    bits &= toolDrag ? ~kLeftToolDrag : ~kShiftClick;
    if (bits == 0) capture = 0;
    return toolDrag;
}

void DragState::BeginRight() {
    rightDown = 1;
    capture = 1;
    bits |= kRightDrag;
}

void DragState::EndRight() {
    rightDown = 0;
    bits &= ~kRightDrag;
    if (bits == 0) capture = 0;
}

DragState& ProgramDragState() {
    static DragState state;
    return state;
}

}  // namespace tools
