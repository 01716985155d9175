#include "imaging/dib_surface.h"

namespace dib {

bool ImageSurface(const LockedDib& image, Surface* out) {
    if (!image) return false;
    const DibGeometry& g = image.geo();
    size_t stride = g.LibraryRow();
    if (!g.HoldsRows(stride)) return false;
    out->bits = image.bits();
    out->width = g.width;
    out->height = g.height;
    out->stride = stride;
    out->bitCount = g.bitCount;
    return true;
}

bool LayerSurfaceForImage(const MemLockGuard& layer, const DibGeometry& image, Surface* out) {
    if (!layer || !LayerFits(layer.size(), image.width, image.height)) return false;
    out->bits = layer.get() + LAYER_HEADER_SIZE;
    out->width = image.width;
    out->height = image.height;
    out->stride = LayerRowBytes(image.width);
    out->bitCount = 8;
    return true;
}

bool LayerSurface(const MemLockGuard& layer, Surface* out) {
    LayerGeometry lg;
    if (!layer || !ReadLayerGeometry(layer.get(), layer.size(), &lg)) return false;
    out->bits = layer.get() + LAYER_HEADER_SIZE;
    out->width = lg.width;
    out->height = lg.height;
    out->stride = lg.rowBytes;
    out->bitCount = 8;
    return true;
}

}  // namespace dib
