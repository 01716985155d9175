// Reading the geometry of picture blocks safely.
//
// Every function of the imaging library that reads a block first reads its
// header here and checks it against the block's size: a header that claims
// more pixels (or a bigger colour table) than the block holds is refused, so
// no function ever reads or writes past a block.
//
// Row rules (one place for all of them):
//   PaddedRowBytes   the platform's rule: bits x width rounded up to 32 bits.
//   LibraryRowBytes  the rule of the copy, fill and crop functions: 16- and
//                    24-bit rows are width x bytes, unpadded; others padded.
//   DisplayRowBytes  the rule of the resampling and painting functions:
//                    padded rows; a 16- or 24-bit block too small for padded
//                    rows but exactly right for unpadded ones (as CreateDib8
//                    sizes them) is read with unpadded rows.
//   LayerRowBytes    (width + 3) & ~3.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/dib_layout.h"
#include "platform/memory.h"

namespace dib {

inline size_t PaddedRowBytes(int64_t width, int bits) {
    return size_t((uint64_t(width) * uint64_t(bits) + 31) / 32 * 4);
}
inline size_t LayerRowBytes(int64_t width) { return (size_t(width) + 3) & ~size_t(3); }

// The fields of a header as written, core or information header, without
// any check against a block (the caller knows the header is all there).
struct HeaderFields {
    bool core = false;
    uint32_t size = 0;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    uint32_t clrUsed = 0;
};
HeaderFields ReadHeaderFields(const void* header);
// Colour-table entries: colours used when nonzero (information header), else
// 2, 16 or 256 for 1, 4 or 8 bits, else 0.
int64_t HeaderEntries(const HeaderFields& f);

struct DibGeometry {
    bool core = false;         // 12-byte core header
    uint32_t headerSize = 0;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int entries = 0;           // colour-table entries
    int entrySize = 4;         // 3 with a core header
    size_t tableBytes = 0;
    size_t bitsOffset = 0;     // header + table
    size_t blockSize = 0;

    bool Indexed() const { return bitCount <= 8; }
    int BytesPerPixel() const { return bitCount / 8; }  // 0 below 8 bits
    size_t PaddedRow() const { return PaddedRowBytes(width, bitCount); }
    size_t LibraryRow() const;
    size_t DisplayRow() const;
    // True when `rowBytes` x height pixel bytes fit after the table.
    bool HoldsRows(size_t rowBytes) const;
};

// Parses the header at `p`, a block of `size` bytes. Refuses (false) a header
// size other than 12 or at least 40, a header or colour table that does not
// fit in the block, a width or height that is not positive and a bit count
// other than 1, 4, 8, 16, 24 or 32. The pixel rows are checked separately
// with HoldsRows, since the row rule depends on the caller.
bool ReadDibGeometry(const void* p, size_t size, DibGeometry* out);

// The colour table as 256 four-byte entries: core entries get alpha 0 and
// entries past the table are zero.
void ReadColorTable(const uint8_t* block, const DibGeometry& g, PaletteEntry out[256]);

// Locks a block and reads its geometry for the length of a scope. ok() is
// false when the handle is invalid or the header is refused.
class LockedDib {
public:
    explicit LockedDib(MemHandle h);
    explicit operator bool() const { return ok_; }
    const DibGeometry& geo() const { return geo_; }
    uint8_t* data() const { return lock_.get(); }
    uint8_t* bits() const { return lock_.get() + geo_.bitsOffset; }
    // Memory row `row` (0 = bottom) with the given row length.
    uint8_t* Row(int row, size_t rowBytes) const { return bits() + size_t(row) * rowBytes; }
    DibInfoHeader* info() const { return reinterpret_cast<DibInfoHeader*>(lock_.get()); }

private:
    MemLockGuard lock_;
    DibGeometry geo_;
    bool ok_ = false;
};

// A layer block: header rectangle sizes and the pixel rows after the header.
struct LayerGeometry {
    int width = 0;
    int height = 0;
    size_t rowBytes = 0;
};
// True when a layer of width x height (positive) fits in a block of `size`.
bool LayerFits(size_t size, int64_t width, int64_t height);
// Reads the header rectangle; false when a size is not positive or the rows
// do not fit in the block.
bool ReadLayerGeometry(const void* p, size_t size, LayerGeometry* out);

// Pixel rows. `row` points at the row's first byte; x0 and n must lie inside
// the row's width.
// Palette indices of a 1-, 4- or 8-bit row.
void ReadRowIndices(const uint8_t* row, int bits, int x0, int n, uint8_t* out);
// Blue, green, red triples of any row; indexed rows through `table`
// (256 entries). 16-bit pixels are 5-5-5.
void ReadRowBgr(const uint8_t* row, int bits, int x0, int n, const PaletteEntry* table, uint8_t* out);

// Clips x, y, width, height to 0..limitW, 0..limitH; false when nothing is left.
bool ClipRect(int64_t& x, int64_t& y, int64_t& w, int64_t& h, int64_t limitW, int64_t limitH);

// A rectangle with its right and bottom cut to the limits and its left and
// top raised to 0; empty() when nothing is left.
struct ClippedRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
ClippedRect ClipToImage(const DibRect& r, int width, int height);

// A new zero-filled block of `blockSize` bytes whose 40-byte header holds
// the size, one plane and the bit count; null when it cannot be had.
MemHandle NewInfoDib(int width, int height, int bits, uint64_t blockSize);

}  // namespace dib
