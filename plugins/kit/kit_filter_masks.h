// The two masks a filter works through (selection-mask layout, see
// kit_layer_rgb.h): the selection in use and the protect mask.
#pragma once

#include <cstdint>

#include "platform/memory.h"

// Whether a width x height mask holds a set bit inside the image (its rows'
// padding bits not counted). False for a null mask.
bool MaskHasBitInside(const uint8_t* mask, int width, int height);

class FilterMasks {
public:
    FilterMasks() = default;
    ~FilterMasks();
    FilterMasks(const FilterMasks&) = delete;
    FilterMasks& operator=(const FilterMasks&) = delete;

    // Takes the masks for a width x height image. The selection in use is the
    // host's block, locked and read only, when it holds a set bit inside the
    // image (its first (width + 7) / 8 x height bytes, the padding bits of
    // each row not counted); otherwise (no block, a block too small, nothing
    // selected) an own block of all ones: everything is selected. The host's
    // block is never written. The protect mask is an own zeroed block.
    // False when memory runs out (nothing is held then).
    bool Take(MemHandle hostMask, int width, int height);
    // Unlocks the host's block and frees the own ones.
    void Release();

    // Whether Take found no host block at all.
    bool HostMaskMissing() const { return hostMissing_; }
    // Whether the selection in use is the host's block.
    bool UsesHostMask() const { return host_ != nullptr; }
    const uint8_t* Selection() const { return selection_; }
    const uint8_t* Protect() const { return protect_; }

private:
    MemHandle host_ = nullptr;
    MemHandle ownSelection_ = nullptr;
    MemHandle ownProtect_ = nullptr;
    const uint8_t* selection_ = nullptr;
    uint8_t* protect_ = nullptr;
    bool hostMissing_ = false;
};
