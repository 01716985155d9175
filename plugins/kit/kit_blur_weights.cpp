#include "plugins/kit/kit_blur_weights.h"

namespace {

// The eight mirror images of an octant point (x, y) around the centre: for
// an odd matrix (centre n) the cells n +- x, n +- y; for an even one the
// cells n - x and n - 1 + x (half a cell either side of the middle point).
void PlotOctants(int** rows, int size, int x, int y, int weight) {
    const int n = size / 2;
    const bool odd = size % 2 != 0;
    const int up = odd ? n : n - 1;
    const int xs[2] = {n - x, up + x};
    const int ys[2] = {n - y, up + y};
    for (int i : xs)
        for (int j : ys) {
            rows[i][j] = weight;
            rows[j][i] = weight;
        }
}

}  // namespace

int BuildBlurWeights(int size, int** rows) {
    if (size < 1) return 0;
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j) rows[i][j] = 0;
    const int n = size / 2;
    const bool odd = size % 2 != 0;
    for (int m = n; m >= 1; --m) {
        const int weight = n - m + 1;
        int x = m, y = 0, f = m;
        while (x >= y) {
            if (odd || y != 0) PlotOctants(rows, size, x, y, weight);
            if (f - 2 * y - 1 < 0) {
                f = f - 2 * y - 1 + 2 * (x - 1);
                --x;
            } else {
                f = f - 2 * y - 1;
            }
            ++y;
        }
    }
    if (odd) rows[n][n] = n + 1;
    return n + 1;
}
