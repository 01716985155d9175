// The mosaic of the current layer: square cells of one colour each, the
// nearest palette colour to the average of the cell's selected pixels.
//
// The engine works on two pixel buffers of the layer's size: the layer's own
// pixels and a heap copy. The result is written into the copy; the two are
// exchanged in place to show it, and exchanged again to bring the untouched
// pixels back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_dib.h"
#include "plugins/kit/kit_palette_search.h"

class MosaicEngine {
public:
    // The image's description, the record's selection mask and current layer
    // (both locked until the engine goes) and a copy of the layer's pixels.
    MosaicEngine(MemHandle image, const PluginToolRecord* record);
    virtual ~MosaicEngine();
    MosaicEngine(const MosaicEngine&) = delete;
    MosaicEngine& operator=(const MosaicEngine&) = delete;

    // Shows the untouched pixels, then makes the copy the mosaic of cells of
    // n x n pixels anchored at the top-left corner (n <= 1: the copy equals
    // the layer). Only counted pixels change: the selected ones, or all when
    // the mask holds no set bit. Nothing happens without a mask, a layer or
    // the copy.
    void Apply(int n);
    // Layer and copy exchanged so that the layer shows the mosaic, or the
    // untouched pixels again.
    void ShowResult();
    void ShowOriginal();
    // As NearestPaletteIndex among the image's colours.
    uint8_t NearestIndex(uint8_t red, uint8_t green, uint8_t blue);
    // Exchanges two buffers of `length` bytes in place.
    static void SwapBuffers(uint8_t* a, uint8_t* b, size_t length);

    bool Ready() const { return m_hMask && m_pLayerBits && m_pCopy; }
    bool UntouchedShown() const { return m_bUntouchedShown; }

private:
    PaletteDibInfo m_info;
    MemHandle m_hMask = nullptr;
    const uint8_t* m_pMaskBits = nullptr;
    bool m_bMaskInUse = false;  // a set bit inside the image; else every pixel counts
    MemHandle m_hLayer = nullptr;
    uint8_t* m_pLayerBits = nullptr;  // after the layer's 88-byte header
    std::unique_ptr<uint8_t[]> m_pCopy;
    bool m_bUntouchedShown = true;

    size_t m_nRowBytes = 0;
    size_t m_nPixelBytes = 0;
    PaletteEntry m_table[256] = {};
    std::unique_ptr<PaletteSearch> m_pSearch;
};
