// The colour reducer's driver inside the editor: reducing a 24-bit picture to
// a new 256-colour image, an 8-bit image in place to 16 colours, and all
// layers of a document together to a colour count or to grey levels.
//
// The reducer locks the images it is bound to until Free (or Release). It
// reports its progress through the status sink (SetColorReduceStatusSink).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "imaging/dib_exchange.h"
#include "imaging/dib_layout.h"
#include "platform/memory.h"

// Status texts of a reduction ("减色中", ...), as UTF-8. An empty sink drops
// them. Returns the previous sink.
using ColorReduceStatusSink = std::function<void(const char* text)>;
ColorReduceStatusSink SetColorReduceStatusSink(ColorReduceStatusSink sink);

class CColorReducer {
public:
    CColorReducer() = default;
    ~CColorReducer();
    CColorReducer(const CColorReducer&) = delete;
    CColorReducer& operator=(const CColorReducer&) = delete;

    // Forgets everything bound (without unlocking).
    void Clear();

    // Binds a 24-bit DIB (rows padded to 4 bytes) and allocates the 8-bit
    // destination (40-byte header, 256 entries, rows of (width + 3) & ~3).
    // 0 when the picture is not a 24-bit DIB holding its rows or the
    // destination cannot be had (nothing stays bound then).
    int PrepareFrom24(MemHandle picture24);
    // Reduces the bound 24-bit picture into the destination with 256 colours
    // and hands the destination over (the caller owns it). Null when the
    // reduction failed (the destination is then freed).
    MemHandle ReduceTo256();

    // Binds an 8-bit DIB with 256 entries in place; 0 when it is not one.
    int PrepareFrom8(MemHandle image8);
    // Reduces the bound 8-bit image in place to 16 colours, together with
    // the given layers (8-bit indices of the image's size through its
    // palette), so that image, layers and palette stay consistent. 1 done;
    // 0 when it failed, in which case nothing was changed.
    int ReduceTo16(std::span<const MemHandle> layers = {});
    // Reduces every layer together to `colors` colours and writes the new
    // palette into the bound image. With `keepReserved` the 20 reserved
    // colours are kept at entries 0..9 and 246..255 and at most colors - 20
    // further colours are placed at 10..245. Layers are always read as
    // 8-bit indices. On failure "内存不足。" is shown and 0 returned; the
    // layers and the palette are then unchanged.
    int ReduceAllLayers(std::span<const MemHandle> layers, int colors, int bitCount, int keepReserved);
    // Turns every layer into grey levels (256, or 2 with `twoLevels`)
    // through the bound image's palette, which becomes the grey palette
    // after the last layer. 0 when a layer is refused (nothing changed).
    int GreyAllLayers(std::span<const MemHandle> layers, int twoLevels);

    // Unlocks everything bound and frees the 24-bit picture given to
    // PrepareFrom24 (an image bound by PrepareFrom8 stays).
    void Free();
    // Unlocks everything bound without freeing anything.
    void Release();

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

private:
    // Locks the layers whose blocks hold the bound image's size; false when one does not.
    bool LockLayers(std::span<const MemHandle> layers, std::vector<uint8_t*>& pixels);
    void UnlockLayers(std::span<const MemHandle> layers, size_t count);
    PaletteEntry* Palette() const;

    MemHandle m_hSource = nullptr;      // bound source (24-bit picture or 8-bit image)
    MemHandle m_hDestination = nullptr; // 8-bit destination of PrepareFrom24
    uint8_t* m_pSource = nullptr;       // locked source block
    uint8_t* m_pDestination = nullptr;  // locked destination block
    uint8_t* m_pSourceBits = nullptr;
    uint8_t* m_pDestinationBits = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    size_t m_nRow24 = 0;
    size_t m_nRow8 = 0;
    MemHandle m_hImage8 = nullptr;      // the image bound by PrepareFrom8
};

// How many palette indices used by any pixel of the layers (8-bit indices of
// the image's size, rows bottom-up) show none of the 20 reserved colours in
// the image's palette. Layers that are null or too small are passed over.
int CountNonSystemColors(MemHandle image8, std::span<const MemHandle> layers);

// Any picture as a new 8-bit image with 256 entries (the caller owns
// *result; the picture stays with the caller): 16-, 24- and 32-bit pictures
// are reduced to 256 colours, 1- and 4-bit ones expanded, an 8-bit one
// copied. NoMemory: the destination could not be had; Failed: the picture
// was refused or the reduction failed.
ColorReduceResult ReducePictureTo256(MemHandle picture, MemHandle* result);

// Installs the engine as the reducer of pictures pasted or exchanged.
void InstallExchangeColorReducer();
