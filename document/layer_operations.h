// Pixel work on a document's layer table: composing the visible layers,
// merging and flattening, draw modes, deleting and copying the current layer,
// the layer sheet, and the colour-index helpers.
//
// Every layer is a layer buffer of the document's image size (rows of
// (width + 3) & ~3 bytes, bottom-up). Empty slots and blocks too small for the
// image are passed over. None of these open an undo step unless it says so;
// the layer commands of the document open the steps.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <QString>

#include "platform/memory.h"

class CPelmarkDoc;

namespace document {

struct LayerOptions;

// The visible layers composed bottom-up into a zeroed buffer of the layers'
// pixel size, by the same rules as the composite image (draw mode 0 copies
// every pixel, draw mode 1 only the pixels that are not 0). Empty when the
// document has no image size.
std::vector<uint8_t> ComposeVisibleLayers(const CPelmarkDoc& doc);

// The current layer takes, where its draw mode is 1 and its pixel is 0, the
// pixel of `layer`. False when either slot is empty.
bool MergeIntoCurrent(CPelmarkDoc& doc, int layer);
// The composition of the visible layers replaces the current layer's pixels.
bool FlattenIntoCurrent(CPelmarkDoc& doc);
// The composition replaces the pixels of the lowest visible layer; false
// (nothing changes) when no layer is visible.
bool FlattenIntoFirstVisible(CPelmarkDoc& doc);
// Every layer's draw mode byte.
void SetAllDrawModes(CPelmarkDoc& doc, int mode);
// One layer's visible byte (nothing for an empty slot).
void SetLayerVisible(CPelmarkDoc& doc, int layer, bool visible);

// Deletes the current layer as undo step 225 "消除层": the block is freed,
// the layers above move down one slot and the count goes down by one; the
// current index stays below the count (0 when no layer is left). False when
// the current slot is empty or the step could not be opened.
bool DeleteCurrentLayer(CPelmarkDoc& doc);
// Makes a visible layer into the empty `slot` (CreateLayer with `options`)
// as undo step 225 "新建层"; when the block cannot be had the work-memory
// message is shown and the step is dropped again. False when nothing was made.
bool NewLayer(CPelmarkDoc& doc, int slot, const LayerOptions& options);
// Copies the current layer, header included, into slot `count` as undo step
// 225 "复制层": the copy is visible and named `name`. False (nothing changes)
// when the current slot is empty, the table is full, the step could not be
// opened or the block could not be had (the work-memory message is shown).
bool CopyCurrentLayer(CPelmarkDoc& doc, const QString& name);

// The layer sheet: a new image of width x height keeps the palette and the
// old pixels at (0, 0); the layers, in order, are laid out left to right
// over `columns` cells of the old size, then the next row, for `rows` rows,
// and become one layer, which is current. A cell that reaches past the sheet
// is cut there. It is one undo step 126 "展开图层" that keeps the old image
// and layers (document/image_resize.h). False, with nothing changed, when a
// size is not positive, the grid has fewer cells than there are layers
// (unless `dropUncovered`: the layers beyond the last cell are then dropped),
// a block cannot be had or the step cannot be opened.
bool LayOutLayerSheet(CPelmarkDoc& doc, int width, int height, int columns, int rows,
                      bool dropUncovered = false);

// The program's used-colour table: 1 for every palette index that occurs in
// the image scanned last.
std::array<uint8_t, 256>& UsedColorTable();

}  // namespace document
