#include "plugin_host/block_checks.h"

#include "imaging/dib_geometry.h"

namespace plugin_host {

bool DeliveredImageFits(MemHandle image, int* width, int* height) {
    dib::LockedDib dib(image);
    if (!dib || !dib.geo().HoldsRows(dib.geo().PaddedRow())) return false;
    if (width) *width = dib.geo().width;
    if (height) *height = dib.geo().height;
    return true;
}

bool LayerFitsImage(MemHandle layer, int width, int height) {
    MemLockGuard lock(layer);
    if (!lock) return false;
    dib::LayerGeometry g;
    if (!dib::ReadLayerGeometry(lock.get(), lock.size(), &g)) return false;
    const auto* header = lock.as<LayerHeader>();
    return header->left == 0 && header->top == 0 && g.width == width && g.height == height;
}

}  // namespace plugin_host
