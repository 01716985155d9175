// What the selection, scale and rotate tools do with the floating selection
// and the spare copy of the current layer (m_hLayerBackup): the copy holds
// the layer without the floating pixels, so that the layer under a moved,
// scaled or turned selection can be put back before it is drawn again.
#pragma once

#include "imaging/dib_layout.h"

class CPelmarkDoc;

namespace document {

// The spare copy becomes a copy of the current layer (none without one).
void RenewSpareCopy(CPelmarkDoc& doc);
// The current layer takes the spare copy's pixels of `rect` (cut to the
// image) / all of them. False without a current layer or a spare copy that
// fits it.
bool RestoreLayerRect(CPelmarkDoc& doc, const DibRect& rect);
bool RestoreWholeLayer(CPelmarkDoc& doc);
// The floating image into the current layer at `rect` (its size) by the
// paste mode, through the floating mask when that fits.
void DrawFloatingAt(CPelmarkDoc& doc, const DibRect& rect);
// The floating selection becomes the pixels and the mask the layer shows
// (after a scale or a turn), lifted at the mask's bounding rectangle, which
// is also the new floating target; no change for a selection that is not
// transformed. False when nothing is selected.
bool SettleTransformedFloating(CPelmarkDoc& doc);
// The floating selection and its outline move by (dx, dy) as the selection
// tool moves it: the layer is put back from the spare copy at the old
// rectangle and drawn at the new one; the selection rectangle, the mask and
// the lasso follow; the floating offsets become the distance from the
// floating target rectangle. Returns the changed area (cut to the image).
DibRect MoveFloatingBy(CPelmarkDoc& doc, int dx, int dy, bool withLasso);
// The first move after a lift: the source area becomes index 0 in the spare
// copy under the mask.
void ClearSourceOnFirstMove(CPelmarkDoc& doc);
// A new floating selection starts at the selection rectangle, unmoved and
// unturned. `liftedFromLayer`: its pixels were taken from the current layer,
// so that the first move clears them there; a pasted block floats above the
// layer and no move clears anything under it (the caller marks it pasted).
void BeginFloatingState(CPelmarkDoc& doc, bool liftedFromLayer);
// Another layer became the current one: the floating selection is lifted
// again from it at the selection, so that no other layer's pixels are put
// down into it; the pixels the old layer shows stay there. Nothing without a
// floating selection or a current layer.
void LiftFloatingFromCurrentLayer(CPelmarkDoc& doc);

}  // namespace document
