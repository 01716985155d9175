#include "plugins/kit/kit_filter_masks.h"

#include <cstring>

bool MaskHasBitInside(const uint8_t* mask, int width, int height) {
    if (!mask || width <= 0 || height <= 0) return false;
    const size_t rowBytes = size_t(width + 7) / 8;
    const size_t whole = size_t(width) / 8;
    const uint8_t lastBits = uint8_t(0xff << (8 - width % 8));  // width % 8 != 0 only
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask + size_t(y) * rowBytes;
        for (size_t i = 0; i < whole; ++i)
            if (row[i]) return true;
        if (width % 8 && (row[whole] & lastBits)) return true;
    }
    return false;
}

FilterMasks::~FilterMasks() { Release(); }

bool FilterMasks::Take(MemHandle hostMask, int width, int height) {
    Release();
    if (width <= 0 || height <= 0) return false;
    const size_t rowBytes = size_t(width + 7) / 8;
    const size_t bytes = rowBytes * size_t(height);
    hostMissing_ = hostMask == nullptr;
    if (hostMask && MemSize(hostMask) >= bytes) {
        if (auto* bits = static_cast<const uint8_t*>(MemLock(hostMask))) {
            if (MaskHasBitInside(bits, width, height)) {
                host_ = hostMask;
                selection_ = bits;
            } else {
                MemUnlock(hostMask);
            }
        }
    }
    if (!selection_) {
        ownSelection_ = MemAlloc(bytes);
        auto* bits = ownSelection_ ? static_cast<uint8_t*>(MemLock(ownSelection_)) : nullptr;
        if (!bits) {
            Release();
            return false;
        }
        std::memset(bits, 0xff, bytes);
        selection_ = bits;
    }
    ownProtect_ = MemAlloc(bytes);  // blocks come zero-filled
    protect_ = ownProtect_ ? static_cast<uint8_t*>(MemLock(ownProtect_)) : nullptr;
    if (!protect_) {
        Release();
        return false;
    }
    return true;
}

void FilterMasks::Release() {
    if (host_) MemUnlock(host_);
    if (ownSelection_) {
        if (selection_) MemUnlock(ownSelection_);
        MemFree(ownSelection_);
    }
    if (ownProtect_) {
        if (protect_) MemUnlock(ownProtect_);
        MemFree(ownProtect_);
    }
    host_ = ownSelection_ = ownProtect_ = nullptr;
    selection_ = nullptr;
    protect_ = nullptr;
}
