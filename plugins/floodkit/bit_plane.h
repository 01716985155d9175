// A raster of 1, 4, 8, 24 or 32 bits per pixel over borrowed memory or a
// block of its own. Pixel (x, y) lies in row y; 1-bit pixels are bit
// 7 - (x mod 8) of byte x / 8 and rows are (width + 7) / 8 bytes (the
// selection-mask layout); 4-bit pixels are the high nibble for even x and
// the low nibble for odd x; rows of 4 bits and more are 4-byte aligned.
// Reads and writes outside 0 <= x < width, 0 <= y < height fail and change
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/dib_layout.h"
#include "platform/memory.h"

class BitPlane {
public:
    // Over `data` when given (not owned), else over an own zeroed block of
    // height x stride bytes (Valid() is false when it cannot be had). A
    // bit count other than 1, 4, 8, 24 or 32 is stored as 0: such a plane
    // has no pixels. `palette` (4-byte entries, not owned) may be null.
    BitPlane(int width, int height, int bitsPerPixel, uint8_t* data, const PaletteEntry* palette);
    virtual ~BitPlane();
    BitPlane(const BitPlane&) = delete;
    BitPlane& operator=(const BitPlane&) = delete;

    // The row stride a plane of this width and depth has (0 for a bad depth).
    static size_t StrideOf(int width, int bitsPerPixel);

    bool Valid() const { return m_pData != nullptr && m_nBits != 0; }
    // The pixel value; -1 outside the plane and for 24 and 32 bits.
    int GetPixel(int x, int y) const;
    // Sets the pixel: 1 bit 0 or 1, 4 bits 0 to 15, 8 bits 0 to 255; other
    // depths and values are refused. True when written.
    bool SetPixel(int x, int y, int value);
    // The pixel's colour: 4 and 8 bits through the palette, 24 and 32 bits
    // from the bytes (blue, green, red). False outside, without a palette or
    // for 1 bit.
    bool GetColor(int x, int y, PaletteEntry* out) const;
    // Every byte 0.
    void Clear();
    // Palette entry `index` (0 to 15 for 4 bits, else 0 to 255); false
    // without a palette or outside the colours.
    bool PaletteColor(int index, PaletteEntry* out) const;
    // The stride when wantStride, else the width.
    int GetRowInfo(bool wantStride) const { return wantStride ? m_nStride : m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetColorInfo() const { return m_nColors; }
    int GetBitCount() const { return m_nBits; }

    uint8_t* Row(int y) const { return m_pData + size_t(y) * size_t(m_nStride); }
    uint8_t* Data() const { return m_pData; }
    const PaletteEntry* Palette() const { return m_pPalette; }

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }

    int m_nColors = 0;  // 2, 16, 256 or 0
    int m_nStride = 0;
    int m_nHeight = 0;
    int m_nWidth = 0;
    int m_nBits = 0;
    const PaletteEntry* m_pPalette = nullptr;
    uint8_t* m_pData = nullptr;
    bool m_bOwnsData = false;
    MemHandle m_hOwn = nullptr;
};
