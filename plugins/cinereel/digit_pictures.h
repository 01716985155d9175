// The cell-number digits of the sheet view, drawn by code: digit d is a
// block (width + 1) x 8 pixels whose set pixels are inverted.
#pragma once

namespace cinereel {

inline constexpr int kDigitWidths[10] = {4, 3, 4, 5, 6, 4, 4, 6, 4, 4};
inline constexpr int kDigitBlockHeight = 8;

// Whether pixel (x, y) of digit d's block is set (x < width + 1, y < 8).
bool DigitPixel(int digit, int x, int y);

}  // namespace cinereel
