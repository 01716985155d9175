#include "plugins/cinereel/digit_pictures.h"

#include <cstring>

namespace cinereel {
namespace {

// Seven rows per digit, as wide as the digit; row 7 and the last column of
// each block stay clear.
constexpr const char* kGlyphs[10][7] = {
    {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."},
    {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"},
    {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"},
    {"####.", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#..", "..##..", ".#.#..", "#..#..", "######", "...#..", "...#.."},
    {"####", "#...", "###.", "...#", "...#", "#..#", ".##."},
    {".##.", "#...", "###.", "#..#", "#..#", "#..#", ".##."},
    {"######", ".....#", "....#.", "...#..", "..#...", "..#...", "..#..."},
    {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."},
    {".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."},
};

}  // namespace

bool DigitPixel(int digit, int x, int y) {
    if (digit < 0 || digit > 9 || y < 0 || y >= 7 || x < 0 || x >= kDigitWidths[digit]) return false;
    return kGlyphs[digit][y][x] == '#';
}

}  // namespace cinereel
