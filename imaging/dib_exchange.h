// Pictures moving between documents through the clipboard: the program-wide
// exchange palette and exchange header, and the conversion between pasted
// pictures and layer blocks.
//
// A copy stores the copied layer's header as the exchange header; a paste
// stores the pasted picture's colours in the exchange palette; opening the
// clipboard as a new document sizes the new image by the exchange header and
// colours it from the exchange palette.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "imaging/dib_layout.h"
#include "imaging/rgba_entry.h"
#include "platform/memory.h"

// One entry of the exchange palette: red, green, blue, alpha.
using ExchangePaletteEntry = RgbaEntry;
using ExchangePalette = std::array<ExchangePaletteEntry, 256>;

// The program-wide exchange palette (256 entries) and exchange header.
ExchangePalette& GetExchangePalette();
LayerHeader& GetExchangeHeader();

// The program's own copy to the clipboard: the copy records that it was made
// and whether its document was in a 16-colour mode. The copy counts while
// the clipboard still holds the program's own data (ClipboardHasOwnDib): a
// later copy by another program replaces it.
void NoteProgramClipboardCopy(bool sixteenColorSource);
bool HasProgramClipboardCopy();
bool ProgramClipboardCopyWasSixteenColor();
// Forgets the copy (as at start).
void ResetProgramClipboardCopy();

// The colour reducer that brings a 24-bit picture to 256 colours. It gets a
// 24-bit DIB it must not free and, on Done, hands over a new 8-bit DIB with a
// 256-entry table in *result (owned by the caller). NoMemory: the reduction
// could not get its memory; Failed: the reduction failed.
enum class ColorReduceResult { Done, NoMemory, Failed };
using ExchangeColorReducer = std::function<ColorReduceResult(MemHandle picture24, MemHandle* result)>;
// Installs the reducer (an empty function removes it); returns the previous one.
ExchangeColorReducer SetExchangeColorReducer(ExchangeColorReducer reducer);

// size > 0: a pasted picture becomes a new layer block of `size` bytes: the
// picture is duplicated (the caller keeps the original), a 1-bit copy goes to
// 8 bits, a 4-bit one through ExpandDib4To8, a 16-, 24- or 32-bit one is
// reduced to 256 colours by the installed reducer ("减色所需要的内存不足。"
// or "减色失败。" when that fails, also "减色失败。" when none is installed);
// its 16 (4-bit picture) or 256 entries go to the exchange palette, and the
// block receives the exchange header followed by the pixel rows (never more
// bytes than the picture holds, the rest stays 0).
// size 0: `image` is a layer block that becomes a new 8-bit image of
// layer size + 976 bytes: the document image's header and 256-entry table,
// width and height from the layer's rectangle, image size row length x
// height, the layer's pixels; the layer's header becomes the exchange header.
// Null (nothing stored) when a block is null or refused, size is below 88, or
// an allocation or the reduction fails. No input is freed.
MemHandle ConvertDibForExchange(MemHandle image, MemHandle documentImage, size_t size);
