/* The colour-reduction engine: brings the colours of one or more images down
 * to a target count by merging the least important colour into its nearest
 * neighbour until the target is reached. Every surviving colour is a colour
 * of the images.
 *
 * One reduction runs at a time, program-wide: ReducerInit, then
 * ReducerCollectColors for each image, ReducerPrepareNodes,
 * ReducerWeighPixels for each image (same images, same order),
 * ReducerMerge, ReducerMapPixels for each image, ReducerBuildPalette,
 * optionally ReducerRemapPixels for each image, and ReducerFree. All images
 * collected share the one palette ReducerBuildPalette writes.
 * ReduceImageColors runs the whole sequence for one image.
 *
 * Pixels are rows as stored in a packed DIB (bottom row first); 24-bit rows
 * are padded to 4 bytes, 8-bit rows are (width + 3) & ~3 bytes. Palettes are
 * 256 entries (1024 bytes).
 *
 * Calls out of order, null pointers and sizes the engine refuses do nothing
 * (or give 0); the engine never reads a pixel it was not given.
 *
 * Plain C with C linkage: these functions are lent to file-format plug-ins.
 */
#ifndef KAVOLT_IMAGING_COLOR_REDUCE_H
#define KAVOLT_IMAGING_COLOR_REDUCE_H

#include <stdint.h>

#include "imaging/dib_layout.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
    REDUCE_MAX_COLORS = 256,
    REDUCE_RESERVED_COUNT = 20,      /* entries 0..9 and 246..255 */
    REDUCE_FIRST_FREE_INDEX = 10,
    REDUCE_LAST_FREE_INDEX = 245,
    REDUCE_FREE_ENTRIES = 236        /* 10..245 */
};

/* The whole reduction of one image: `source` (24 or 8 bits, the latter
 * through `palette`) becomes 8-bit `destination` (may be the same block) with
 * at most `colors` colours written to `palette`. With `keepReserved` the
 * reserved colours take entries 0..9 and 246..255 and the image's colours go
 * to 10..245 (at most 236 of them). 1 done, 0 refused or out of memory. */
int32_t ReduceImageColors(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                          PaletteEntry* palette, int32_t colors, int32_t bitCount, int32_t keepReserved);
/* 1, or 0 when colours lie outside 1..256, the bit count is not 24 or 8, a
 * size is not positive, or memory is short. */
int32_t ReducerInit(int32_t width, int32_t height, int32_t colors, int32_t bitCount);
void ReducerCollectColors(const uint8_t* pixels, const PaletteEntry* palette);
/* 1, or 0 when the colour nodes cannot be had (the engine is then freed). */
int32_t ReducerPrepareNodes(void);
void ReducerWeighPixels(const uint8_t* pixels, const PaletteEntry* palette);
/* 1, or 0 when the engine is not prepared or memory is short. */
int32_t ReducerMerge(void);
void ReducerMapPixels(const uint8_t* source, uint8_t* destination, const PaletteEntry* palette);
void ReducerBuildPalette(PaletteEntry* palette, int32_t keepReserved);
void ReducerRemapPixels(uint8_t* pixels, int32_t keepReserved);
void ReducerFree(void);

/* Between Init and Collect: the reserved colours count as used. */
void ReducerMarkSystemColors(void);
/* Between Prepare and Weigh: the reserved colours outweigh anything the
 * pixels of `layerCount` images can add, so they survive the merge. */
void ReducerPinSystemColors(int32_t layerCount);

/* The 20 reserved colours as blue, green, red, 0: entries 0..9 then
 * 246..255. */
extern const PaletteEntry SystemColorTable[REDUCE_RESERVED_COUNT];

/* Grey levels: every pixel (rows of (width + 3) & ~3 bytes) becomes the grey
 * value Y = (76 R + 149 G + 29 B) / 254 of its palette entry, or with
 * `twoLevels` 1 when Y > 128 and 0 otherwise. Unless `paletteLater`, the
 * palette then becomes the grey ramp (or black with entry 1 white); the
 * alpha bytes stay. */
void ConvertToGreyLevels(uint8_t* pixels, int32_t width, int32_t height, PaletteEntry* palette,
                         int32_t twoLevels, int32_t paletteLater);

#ifdef __cplusplus
}
#endif

#endif
