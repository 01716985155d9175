// Locked pixel rows of an image or of a layer addressed with an image's
// geometry: the common ground of the copy, fill and remap functions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/dib_blit.h"
#include "imaging/dib_geometry.h"

namespace dib {

struct Surface {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;
    int bitCount = 0;  // 1, 4, 8, 16, 24 or 32 (layers: 8)

    int BytesPerPixel() const { return bitCount / 8; }
    // Row of image y (0 = top).
    uint8_t* RowFromTop(int64_t y) const { return bits + size_t(height - 1 - y) * stride; }
};

// The image's own pixels with the library row rule; false when refused.
bool ImageSurface(const LockedDib& image, Surface* out);
// A layer's pixels with the image's width and height; false when the layer
// block does not hold them.
bool LayerSurfaceForImage(const MemLockGuard& layer, const DibGeometry& image, Surface* out);
// A layer's pixels sized by its header rectangle.
bool LayerSurface(const MemLockGuard& layer, Surface* out);

// Reads mask bits for a run of pixels.
class MaskReader {
public:
    MaskReader(const DibMask& mask, const MemLockGuard& lock)
        : bytes_(lock.get()), size_(lock.size()), rowBytes_(mask.rowBytes),
          firstRow_(mask.firstRow), firstBit_(mask.firstBit) {}
    bool Bit(int64_t x, int64_t y) const {
        int64_t row = firstRow_ + y, bit = firstBit_ + x;
        if (!bytes_ || row < 0 || bit < 0 || rowBytes_ <= 0 || bit / 8 >= rowBytes_) return false;
        uint64_t at = uint64_t(row) * uint64_t(rowBytes_) + uint64_t(bit / 8);
        if (at >= size_) return false;
        return (bytes_[at] >> (7 - (bit & 7))) & 1;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
    int64_t rowBytes_, firstRow_, firstBit_;
};

}  // namespace dib
