// Facts of a packed DIB as the plug-ins read them, painting and palettes.
//
// The fact functions take a locked DIB and look at its header size: 40 is
// an information header, anything else the old 12-byte core header. They
// trust the header; check blocks from elsewhere before calling them.
#pragma once

#include <cstdint>

#include <QRect>

#include "imaging/dib_layout.h"
#include "imaging/logical_palette.h"
#include "platform/memory.h"

class QPainter;

// wantBits false: a 40-byte header's used-colour count when nonzero, else
// the colours the bit count implies (1 -> 2, 4 -> 16, 8 -> 256, else 0).
// wantBits true: the bit count.
int DibNumColors(const void* dib, bool wantBits);
int DibWidth(const void* dib);
int DibHeight(const void* dib);
// Colour-table bytes: DibNumColors x 4 (x 3 for a core header).
int DibPaletteSize(const void* dib);
// dib + header size + DibPaletteSize.
uint8_t* FindDibBits(void* dib);
const uint8_t* FindDibBits(const void* dib);

// Paints the source rectangle (y from the top) of the DIB stretched into the
// destination without smoothing, through `palette` when given. Returns the
// rows painted; 0 for a null handle or a refused DIB.
int PaintDib(QPainter* painter, const QRect& destination, MemHandle dib, const DibRect& source,
             const LogicalPalette* palette = nullptr);

// The palette of the DIB's colour table. 0 for a null handle or a DIB without
// a colour table, else 1.
int CreateDibPalette(MemHandle dib, LogicalPalette* palette);

// A description of a 1-, 4- or 8-bit DIB with a 40-byte header, read once
// when it is made. A block that cannot be locked leaves every field 0.
class PaletteDibInfo {
public:
    explicit PaletteDibInfo(MemHandle dib);
    virtual ~PaletteDibInfo();

    // The bit count when wantBits, else the colours (2, 16, 256 by bit
    // count, else 0; the used-colour count is not consulted).
    int GetColorInfo(bool wantBits) const { return wantBits ? m_bitCount : m_colors; }
    // The row stride when wantStride ((width x bits + 31) / 8 rounded down to
    // a multiple of 4), else the width.
    int GetRowInfo(bool wantStride) const { return wantStride ? m_stride : m_width; }
    int GetHeight() const { return m_height; }

    const PaletteEntry* m_pColorTable = nullptr;  // header + 40
    uint8_t* m_pBits = nullptr;                   // colour table + colours x 4
    uint16_t m_bitCount = 0;
    int m_colors = 0;
    int m_stride = 0;
    int m_height = 0;
    int m_width = 0;
};
