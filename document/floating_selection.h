// The floating selection of a document: the selected pixels lifted from the
// current layer into the floating image (a layer buffer of the selection
// rectangle) with the floating mask (the selection's mask bytes of that
// rectangle), and their way back into the layer by the paste mode; turning,
// scaling, mirroring and moving them; the pattern taken from them.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/dib_blit.h"
#include "imaging/dib_layout.h"
#include "platform/memory.h"

class CPelmarkDoc;

namespace document {

// How the floating image goes into the layer (program-wide).
enum PasteMode { kPasteOpaque = 0, kPasteBackgroundClear = 1, kPasteMaskColorsClear = 2 };
int GetPasteMode();
void SetPasteMode(int mode);

// The two background-transparency tables of paste mode 1: source indices
// that are copied, destination indices that may be overwritten (nonzero =
// yes). At start every index is copied but the background index 0, and
// every destination index may be overwritten.
struct PasteFlagTables {
    std::array<uint8_t, 256> copiedSource;
    std::array<uint8_t, 256> writableDestination;
};
PasteFlagTables& GetPasteFlagTables();
void ResetPasteFlagTables();

// The pattern taken from a floating selection (program-wide): 48 x 48
// palette indices, a copy of the floating image it came from and that
// image's rectangle.
struct SelectionPattern {
    static constexpr int kSize = 48;
    std::array<uint8_t, kSize * kSize> table{};
    MemHandle image = nullptr;
    DibRect rect{};
};
SelectionPattern& GetSelectionPattern();
// Frees the pattern's image copy.
void ReleaseSelectionPattern();

// The current layer's block, or null.
MemHandle CurrentLayerOf(const CPelmarkDoc& doc);

struct LayerPixels;
// The pixels of a locked layer buffer sized by its header rectangle (the
// floating image), or of one of the image size; false when the block does
// not hold them.
bool LayerPixelsOf(const MemLockGuard& lock, LayerPixels* out);
bool ImageLayerPixels(const CPelmarkDoc& doc, const MemLockGuard& lock, LayerPixels* out);

// Replaces the floating image by the current layer's pixels of the rectangle
// (cut to the image); the selection rectangle becomes the rectangle (as cut).
// An empty rectangle leaves no floating image.
void LiftSelection(CPelmarkDoc& doc, const DibRect& rect);
// Replaces the floating mask by the selection's bytes of the rectangle and
// stores its byte and pixel rectangles.
void LiftFloatingMask(CPelmarkDoc& doc, int left, int top, int right, int bottom);
MemHandle GetFloatingMask(const CPelmarkDoc& doc);
// The floating mask as a blit mask addressed by floating-image pixels; false
// without a floating mask.
bool FloatingBlitMask(const CPelmarkDoc& doc, DibMask* out);
// Frees the floating image and mask.
void FreeFloating(CPelmarkDoc& doc);

// Inverts the selection (pixels of the image size), sets the mask-changed
// flag, drops the floating image and lifts the new selection's bounding
// rectangle (image and mask); the saved layer copy becomes a copy of the
// current layer and the floating target rectangle the selection rectangle.
void InvertMask(CPelmarkDoc& doc);
// The floating mask of the selection rectangle again.
void RestoreSelectionRect(CPelmarkDoc& doc);

// Puts a floating buffer (a layer buffer) into a destination layer of the
// image size at the rectangle by the paste mode: 0 every pixel; 1 only where
// the paste flag tables allow the source and destination index; 2 the same
// with the document's mask-colour tables. 0 when a buffer is missing or the
// mode is not 0..2, else 1.
int CompositeFloating(CPelmarkDoc& doc, MemHandle source, MemHandle destination,
                      const DibRect& rect);
// The same by the caller's mask (addressed by source pixels; null: none),
// with the source's first pixel at (sourceX, sourceY): a rectangle reaching
// left of or above the image is cut there and the source skips as much.
int CompositeFloatingOffset(CPelmarkDoc& doc, MemHandle source, MemHandle destination,
                            const DibRect& rect, const DibMask* mask, int sourceX = 0,
                            int sourceY = 0);

// Moves the floating selection by (dx, dy): the selection rectangle and the
// selection mask follow (the mask cut to the image).
void OffsetFloating(CPelmarkDoc& doc, int dx, int dy);
// Composes the floating image into the current layer at the selection
// rectangle by the paste mode (through the floating mask when it fits the
// rectangle) and ends the floating state: floating image and mask freed,
// selection and floating target rectangles emptied. A selection the layer
// shows scaled or turned (SelectionState::transformed) stays as the layer
// shows it.
void DropFloating(CPelmarkDoc& doc);

// Nearest-pixel scaling. withPixels 0: source and destination are mask
// blocks of the document. withPixels 1: image-size layer buffers; pixels are
// written where the destination's selection bit is set, read at the view's
// paste offset (the selection and second masks must exist).
void TransformFloatingSimple(CPelmarkDoc& doc, const DibRect& source, const DibRect& destination,
                             MemHandle sourceBlock, MemHandle destinationBlock, int withPixels);

// Turning and scaling (floating_selection_transform.h). Modes: 2 stores the
// rotation frame only; 0 and 3 set the destination mask's bits from the
// source floating-mask block (layout of the source rectangle); 1 writes the
// floating image's pixels into the destination layer where the floating mask
// allows it.
void TransformFloating(CPelmarkDoc& doc, const DibRect& source, const DibRect& destination,
                       double angle, MemHandle sourceBlock, MemHandle destinationBlock,
                       double scale, int mode);

// The floating-selection commands of the selection tools: mirror, flip and
// one-pixel moves with wrap-around of the floating image (and its mask) over
// the selection rectangle, written back into the current layer.
enum FloatingCommand {
    kFloatMirror = 563,
    kFloatFlip = 564,
    kFloatUp = 565,
    kFloatLeft = 566,
    kFloatRight = 567,
    kFloatDown = 568,
};
bool IsFloatingCommand(int id);
// False (nothing done) without a floating image or current layer.
bool ApplyFloatingCommand(CPelmarkDoc& doc, int id);

// Whether the pattern may be taken now: the selection tool is current, no
// command lock is set and a floating image exists.
bool CanDefinePattern(const CPelmarkDoc& doc);
// Takes the pattern from the floating image: table row r, column c is the
// floating pixel of buffer row r x h / 48 (buffer rows bottom-up) and column
// c x w / 48 (w, h the selection rectangle's size). False when it cannot.
bool DefinePattern(CPelmarkDoc& doc);

}  // namespace document
