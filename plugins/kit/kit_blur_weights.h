// The weight matrix of the blur filter and of the fill tool's edge
// softening: concentric midpoint circles, heavier toward the centre.
#pragma once

// Fills the size x size matrix (rows[i][j], every row `size` ints) with the
// weights of concentric circles of radius n = size / 2 down to 1 around its
// centre (the centre cell for odd size, the point between the four middle
// cells for even size): the outermost circle weighs 1, each inner one 1 more,
// and the centre cell of an odd matrix n + 1. Cells no circle touches are 0.
// Returns n + 1; 0 (nothing written) for a size below 1.
int BuildBlurWeights(int size, int** rows);
