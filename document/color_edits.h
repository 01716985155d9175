// Palette-wide edits of a document: the edit mode (the 256-colour mode 0 or
// a 16-colour mode, read from and written to the palette-row lock word), one
// alpha value for every entry, and remapping the selection's colours.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

class CPelmarkDoc;

namespace document {

// The mode the editor shows for a lock word: 0xFFFE is the 16-colour mode
// 1; a lock word that leaves one other pair of rows free (0xFFF3, 0xFFCF,
// 0xFF3F, 0xFCFF, 0xF3FF, 0xCFFF) is 2; any other word is 0.
int EditModeFromLockWord(uint16_t lockWord);
// The lock word of a mode 0..7 (document/color_modes.h); 0 outside.
uint16_t LockWordOfEditMode(int mode);

// What ChangeEditMode did.
enum class EditModeResult {
    Unchanged,  // the mode was already the choice, or the user cancelled
    Changed,
    TooManyColors,  // "超过 16 色": the image could not become 16 colours
    Failed,         // no step, or the reduction failed: nothing changed
};

// Puts the document into `mode` (0 the 256-colour mode, 1 the 16-colour
// mode) as undo step 690 "改变编辑模式". A 16-colour mode for an image
// whose pixels use entries past 15 first asks `confirm` ("减色开始。",
// OK/Cancel; no answer means OK); on OK every layer is reduced together:
// to 16 colours when more are used, to the used count for 2 to 16, and the
// unused entries are removed when fewer than 2 are used. Then the lock word,
// the document's colour mode and its current colour (the mode's first
// colour) follow the mode. Nothing changes and no step stays on Cancel or
// when the reduction fails.
EditModeResult ChangeEditMode(CPelmarkDoc& doc, int mode, const std::function<bool()>& confirm = {});

// Every palette entry keeps its colour and takes `alpha` (clamped to
// 0..255), as undo step 706 "改变 Alpha 值"; the redo mode is cleared. False
// when the step cannot be opened (nothing changed).
bool SetPaletteAlpha(CPelmarkDoc& doc, int alpha);

// The pixels of the current layer within the selection rectangle (the whole
// image without a floating selection) take map[index], as undo step 237
// "换色"; a floating selection is lifted again from the remapped layer. False
// when there is no current layer or the step cannot be opened.
bool RemapSelectionColors(CPelmarkDoc& doc, const std::array<uint8_t, 256>& map);

}  // namespace document
