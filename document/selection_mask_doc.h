// The document's mask operations: the selection mask (m_hMask), the work
// mask (m_hMask2, left alone here but for the second-mask operations), the
// second mask (m_hMask3) and the byte map (m_hPixelFlags), addressed at the
// document's current width and height.
//
// Each operation locks what it needs for its own length and returns at once
// (0, false or nothing) when a handle it needs is null.
#pragma once

#include <vector>

#include "document/selection_lasso.h"
#include "document/selection_mask.h"
#include "platform/memory.h"

class CPelmarkDoc;

namespace document {

// A mask block locked for a scope and addressed at the document's size.
class LockedMask {
public:
    LockedMask(MemHandle mask, int width, int height);
    LockedMask(const CPelmarkDoc& doc, MemHandle mask);
    explicit operator bool() const { return bits_.Valid(); }
    const MaskBits& bits() const { return bits_; }

private:
    MemLockGuard lock_;
    MaskBits bits_;
};

// The second mask: a saved or shifted copy of the selection.
MemHandle SecondMask(const CPelmarkDoc& doc);

// Whole maximum-size blocks.
void ClearMask(CPelmarkDoc& doc);
void FillMask(CPelmarkDoc& doc);
void ClearSecondMask(CPelmarkDoc& doc);
void CopyMask(MemHandle destination, MemHandle source);
// destination |= source.
void CombineMasks(MemHandle destination, MemHandle source);
// 0: second mask := selection; 1: exchange the two; 2: selection := second.
void ExchangeSecondMask(CPelmarkDoc& doc, int direction);

// The selection keeps only its pixels inside the current image.
void ClipSelectionToImage(CPelmarkDoc& doc);
// The second mask becomes the selection moved by (dx, dy), cut to the image.
void ShiftMaskIntoSecond(CPelmarkDoc& doc, int dx, int dy);

// On any mask block of the document (mode as SetMaskBit of selection_mask.h).
void SetMaskBit(const CPelmarkDoc& doc, MemHandle mask, int x, int y, int mode);
int TestMaskBit(const CPelmarkDoc& doc, MemHandle mask, int x, int y);

void MaskFillRect(CPelmarkDoc& doc, int left, int top, int right, int bottom);
// Bounding rectangle of the selection, also into *out when given; empty
// (left = w, top = h, right = 0, bottom = 0) without a set pixel or mask.
DibRect MaskBoundingRect(const CPelmarkDoc& doc, DibRect* out = nullptr);
// A new block with the selection's bytes of the rectangle (layout in
// selection_mask.h); null for an empty rectangle or when it cannot be had.
MemHandle CopyMaskRect(const CPelmarkDoc& doc, int left, int top, int right, int bottom);
void PasteMaskBits(CPelmarkDoc& doc, MemHandle block, int left, int top, int right, int bottom,
                   int dx, int dy, int shift);

// Index 0 into every pixel whose selection bit is set: of the current layer
// (mode 0) or of the saved layer copy (mode 1, only while a current layer
// exists); then the active view and the layer palette are refreshed.
void ClearMaskedPixels(CPelmarkDoc& doc, int mode);
// `color` into every pixel of an image-size layer whose selection bit is set.
void FillMaskedPixels(CPelmarkDoc& doc, MemHandle layer, int color);

// Sets the 4-connected region of clear selection bits around the start;
// false when its work memory could not be had.
bool FloodFillMask(CPelmarkDoc& doc, int x, int y);
// Fills the lasso interior from the outline in the byte map.
void MaskFillSpans(CPelmarkDoc& doc);

enum MaskTarget { kTargetSelection = 0, kTargetByteMap = 1 };
// The point clamped into the image; byte map: ORs 1 into its byte;
// selection: sets its bit.
void PlotMaskPoint(CPelmarkDoc& doc, int x, int y, int target);
void PlotMaskLine(CPelmarkDoc& doc, int x0, int y0, int x1, int y1, int target);
// A filled ellipse (EllipseRows of selection_mask.h) into the selection mask
// or the byte map; every point through PlotMaskPoint.
void RasterizeEllipse(CPelmarkDoc& doc, int cx, int cy, int rx, int ry, int width, int height,
                      int target);
// Bit 0: zero the selection mask; bit 1: zero the byte map (whole blocks).
void BeginMaskEdit(CPelmarkDoc& doc, int flags);

// The lasso list of the document.
void ResetLasso(CPelmarkDoc& doc);
// "无法继续选择。" when the list already holds 999 points (the point is not
// counted); false then.
bool AddLassoPoint(CPelmarkDoc& doc, int x, int y);
// The points copied into one program-wide array.
const std::vector<LassoPoint>& GetLassoPoints(const CPelmarkDoc& doc);
void OffsetLasso(CPelmarkDoc& doc, int dx, int dy);
void NormalizeLasso(CPelmarkDoc& doc);

// The outline of the selection (whichMask 0) or of the second mask (1) as
// lines for the view to draw with an inverting pen.
std::vector<OutlineSegment> SelectionOutlineSegments(const CPelmarkDoc& doc, int zoom, int ox,
                                                     int oy, int whichMask);

}  // namespace document
