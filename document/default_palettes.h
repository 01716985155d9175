// The palettes a new image starts with.
#pragma once

#include <array>
#include <cstdint>

namespace document {

// 0xRRGGBB per entry; alpha is 0 throughout.
extern const std::array<uint32_t, 16> kDefaultPalette16;
extern const std::array<uint32_t, 256> kDefaultPalette256;

}  // namespace document
