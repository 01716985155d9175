// Program-wide editing state that lives outside the documents but belongs to
// each undo step: the tool palette's current tool and the active view's
// selection display. The tool palette and the views keep these values here.
#pragma once

#include <array>
#include <cstdint>

namespace document {

struct ProgramEditState {
    // Current tool index (tool id less 551) and its companion flag; the
    // hand (2) at start.
    int32_t toolIndex = 2;
    int32_t toolFlag = 0;
    // The four values of the active view's selection display.
    std::array<int32_t, 4> selectionDisplay{};
};

ProgramEditState& GetProgramEditState();

}  // namespace document
