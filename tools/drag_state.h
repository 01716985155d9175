// The program's one mouse drag: which buttons hold it, the capture, the
// Space-key hand and the points tools read back (the last click, the origin
// of the Shift constraints).
#pragma once

#include "imaging/dib_layout.h"
#include "tools/draw_rects.h"
#include "tools/tool_dispatch.h"

namespace tools {

enum DragBits : int {
    kLeftToolDrag = 1,        // a left-button drag of the tool
    kRightDrag = 2,           // a right-button drag
    kShiftClick = 4,          // a Shift-click the tool does not take
    kSelectionDragA = 8,      // set and cleared by the selection tool
    kSelectionMoveDrag = 16,  // the selection tool moving a floating selection
};

struct DragState {
    int bits = 0;
    int capture = 0;     // 1 from a button-down that took the capture until no bit remains
    int rightDown = 0;   // a right button-down started a drag
    int spaceHand = 0;   // the hand tool stands in for the current drag
    int spaceKey = 0;    // Space is held
    int cursorIndex = 0;  // 0..31 into the view's cursor table
    DibRect savedSelection{};
    ImagePoint toolClick;  // image point of the last left button-down
    ImagePoint lastDown;   // origin of the Shift constraints
    ImagePoint rawDown;    // the last left button-down before grid snapping
    int shiftHeld = 0;     // Shift was held at the last dispatched left button or move

    // Left button-down of `tool` (the capture is taken): sets the bits for a
    // plain or a Shift-click. True when the tool's down handler is to run
    // (a plain click, or a Shift-click the tool takes as one).
    bool BeginLeft(int tool, bool shift);
    // Left button-up while the capture is held. Returns true when it ends a
    // tool drag (bit 0 was set; the caller runs the up handler); a Shift-click
    // only loses its bit. The capture flag drops when no bit remains.
    bool EndLeft();
    // Right button-down that starts a drag.
    void BeginRight();
    // Right button-up while the capture is held.
    void EndRight();
    // True when the capture is to be released (no bit remains).
    bool ReleasesCapture() const { return capture == 0; }
};

// The one drag of the program.
DragState& ProgramDragState();

}  // namespace tools
