// One undo snapshot of a document: the step's action id and text and copies
// of everything an edit may change. The document keeps kUndoSlots of them.
//
// Every handle is a copy the slot owns (null where the document had no
// block); FreeUndoSlotHandles gives them back.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/doc_limits.h"
#include "imaging/dib_layout.h"
#include "platform/memory.h"

namespace document {

struct UndoSlot {
    int32_t actionId = 0;
    std::string label;  // display text of the step, UTF-8
    // The document's modified flag when the step was opened (1 in every slot
    // after a save).
    int32_t modifiedMark = 0;

    // Copies of blocks.
    MemHandle hColorTable = nullptr;  // the image's colour table (not its pixels)
    std::array<MemHandle, kLayerSlots> hLayers{};
    MemHandle hFloatImage = nullptr;
    MemHandle hFloatPixels = nullptr;
    MemHandle hFloatMask = nullptr;
    MemHandle hLayerBackup = nullptr;
    MemHandle hMask = nullptr;   // the selection mask
    MemHandle hMask3 = nullptr;  // the third mask

    // Tool state: the tool palette's current tool index and its companion
    // flag, the document's tool ids.
    int32_t toolIndex = 0;
    int32_t toolFlag = 0;
    int32_t toolId = 0;
    int32_t prevToolId = 0;

    // The active view's selection display.
    std::array<int32_t, 4> viewState{};

    // Selection rectangles.
    DibRect rcSelection{};
    DibRect rcFloatTarget{};
    std::array<DibRect, 2> rcFloatMask{};

    // Document values.
    int32_t editLayer = 0;
    int32_t editLayer2 = 0;
    int32_t layerCount = 0;
    int32_t maskMode = 0;
    std::array<int32_t, 2> maskValues{};
    int32_t pasted = 0;
    uint16_t paletteLock = 0;
    int32_t color = 0;
    int32_t colorMode = 0;
};

// Frees every block the slot holds and clears the handles; the other values
// stay.
void FreeUndoSlotHandles(UndoSlot& slot);

}  // namespace document
