#include "imaging/layer_buffer.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_geometry.h"

namespace {

MemHandle AllocLayer(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    uint64_t size = LAYER_HEADER_SIZE + uint64_t(dib::LayerRowBytes(width)) * uint64_t(height);
    if (size > SIZE_MAX) return nullptr;
    return MemAlloc(size_t(size));
}

}  // namespace

MemHandle NewLayerBufferFromDib(MemHandle layer, int oldWidth, int oldHeight, int newWidth,
                                int newHeight) {
    if (oldWidth <= 0 || oldHeight <= 0 || newWidth <= 0 || newHeight <= 0) return nullptr;
    MemLockGuard src(layer);
    if (!src || !dib::LayerFits(src.size(), oldWidth, oldHeight)) return nullptr;
    MemHandle out = AllocLayer(newWidth, newHeight);
    MemLockGuard dst(out);
    if (!dst) return nullptr;
    std::memcpy(dst.get(), src.get(), LAYER_HEADER_SIZE);
    auto* head = dst.as<LayerHeader>();
    head->right = newWidth;
    head->bottom = newHeight;
    size_t oldStride = dib::LayerRowBytes(oldWidth), newStride = dib::LayerRowBytes(newWidth);
    const uint8_t* s = src.get() + LAYER_HEADER_SIZE;
    uint8_t* d = dst.get() + LAYER_HEADER_SIZE;
    int rows = std::min(oldHeight, newHeight);
    size_t bytes = size_t(std::min(oldWidth, newWidth));
    for (int r = 0; r < rows; ++r) std::memcpy(d + size_t(r) * newStride, s + size_t(r) * oldStride, bytes);
    return out;
}

MemHandle ResizeLayerBuffer(MemHandle image, MemHandle layer, int oldWidth, int oldHeight,
                            int newWidth, int newHeight) {
    if (!image || !layer) return layer;
    if (oldWidth <= 0 || oldHeight <= 0 || newWidth <= 0 || newHeight <= 0) return layer;
    MemHandle out;
    {
        MemLockGuard src(layer);
        if (!src || !dib::LayerFits(src.size(), oldWidth, oldHeight)) return layer;
        out = AllocLayer(newWidth, newHeight);
        MemLockGuard dst(out);
        if (!dst) return layer;
        std::memcpy(dst.get(), src.get(), LAYER_HEADER_SIZE);
        auto* head = dst.as<LayerHeader>();
        head->right = int32_t(int64_t(head->left) + newWidth);
        head->bottom = int32_t(int64_t(head->top) + newHeight);
        size_t oldStride = dib::LayerRowBytes(oldWidth), newStride = dib::LayerRowBytes(newWidth);
        const uint8_t* s = src.get() + LAYER_HEADER_SIZE;
        uint8_t* d = dst.get() + LAYER_HEADER_SIZE;
        int rows = std::min(oldHeight, newHeight);
        size_t bytes = size_t(std::min(oldWidth, newWidth));
        for (int y = 0; y < rows; ++y)
            std::memcpy(d + size_t(newHeight - 1 - y) * newStride,
                        s + size_t(oldHeight - 1 - y) * oldStride, bytes);
    }
    MemFree(layer);
    return out;
}
