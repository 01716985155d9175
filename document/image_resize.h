// Replacing a document's image by one of another size as one undoable step:
// the image size command and the layer sheet.
//
// The step (126) keeps the old image with its layers, layer count and
// current layer beside the document; undoing it exchanges them back, redoing
// exchanges them again. The history before the step is forgotten (its steps
// are of the old size), and any other edit after it starts a new history.
#pragma once

#include <array>

#include <QString>

#include "document/doc_limits.h"
#include "platform/memory.h"

class CPelmarkDoc;

namespace document {

using LayerBlocks = std::array<MemHandle, kLayerSlots>;

// Makes `image` (an 8-bit DIB with 256 entries) and `layers` (blocks of its
// size, the first `layerCount` slots used) the document's, with `editLayer`
// current, as undo step 126 named `text`: the floating selection is freed and
// the selection emptied first. Takes the blocks in every case: when the step
// cannot be opened they are freed and false is returned with the document
// as it was.
bool ReplaceImageAsStep(CPelmarkDoc& doc, MemHandle image, const LayerBlocks& layers, int layerCount,
                        int editLayer, const QString& text);

// The image size: a new image of width x height takes the old palette (all
// 256 entries) and the old pixels at (0, 0), cut or padded with index 0, and
// every layer the same, as step 126 "改变图象尺寸". False, with nothing
// changed, for a size that is not positive or the same, or when a block
// cannot be had (the work-memory message is shown).
bool ResizeImage(CPelmarkDoc& doc, int width, int height);

}  // namespace document
