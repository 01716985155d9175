// One undo snapshot of a document: the step's action id and text and copies
// of everything an edit may change. The document keeps kUndoSlots of them.
//
// The blocks are snapshot blocks: immutable, shared with the neighbouring
// snapshot where the bytes are the same, null where the document had none.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "document/doc_limits.h"
#include "document/selection_lasso.h"
#include "document/snapshot_block.h"
#include "imaging/dib_layout.h"

namespace document {

// Per palette entry the alpha before (first) and after (second) an alpha
// step.
using AlphaPairs = std::array<std::array<int32_t, 2>, 256>;

struct UndoSlot {
    int32_t actionId = 0;
    std::string label;  // display text of the step, UTF-8
    // The document's modified flag when the step was opened (1 in every slot
    // after a save).
    int32_t modifiedMark = 0;

    SnapshotBlock colorTable;  // the image's colour table (not its pixels)
    std::array<SnapshotBlock, kLayerSlots> layers;
    SnapshotBlock floatImage;
    SnapshotBlock floatPixels;
    SnapshotBlock floatMask;
    SnapshotBlock layerBackup;
    SnapshotBlock mask;   // the selection mask
    SnapshotBlock mask3;  // the third mask

    // Tool state: the tool palette's current tool index and its companion
    // flag, the document's tool ids.
    int32_t toolIndex = 0;
    int32_t toolFlag = 0;
    int32_t toolId = 0;
    int32_t prevToolId = 0;

    // The active view's selection display.
    std::array<int32_t, 4> viewState{};

    // Selection rectangles: the selection, the floating target, and the
    // floating mask's byte and pixel rectangles.
    DibRect rcSelection{};
    DibRect rcFloatTarget{};
    DibRect rcFloatMaskBytes{};
    DibRect rcFloatMaskPixels{};
    // The floating selection's turn and whether the layer shows it scaled
    // or turned.
    int32_t floatAngle = 0;
    int32_t floatTransformed = 0;
    // The selection tools' progress with it: the lasso outline (and a
    // polygon being built), whether the lifted pixels still fill their
    // source, whether it moved and how far.
    LassoList lasso;
    int32_t polygonCount = 0;
    LassoPoint previousVertex;
    LassoPoint firstPoint;
    int32_t firstMovePending = 0;
    int32_t movedSinceLift = 0;
    int32_t floatOffsetX = 0;
    int32_t floatOffsetY = 0;

    // Document values.
    int32_t editLayer = 0;
    int32_t layerCount = 0;
    int32_t maskMode = 0;
    int32_t maskChanged = 0;
    int32_t pasted = 0;
    uint16_t paletteLock = 0;
    int32_t color = 0;
    int32_t colorMode = 0;

    // Of an alpha step (706): the alpha pairs of the step this slot holds
    // the state before; null for other steps.
    std::shared_ptr<const AlphaPairs> alphaPairs;
};

// Empties the slot: no blocks, every value back to its start.
inline void ClearUndoSlot(UndoSlot& slot) { slot = UndoSlot{}; }

}  // namespace document
