/* Byte layouts of the editor's picture blocks, shared with the plug-ins.
 *
 * A packed DIB is one memory block: an information header (40 bytes, or the
 * old 12-byte core header, which readers accept and nothing writes), the
 * colour table, then the pixel rows, bottom row first.
 *
 * A layer buffer is one memory block: a LayerHeader (88 bytes) followed by
 * 8-bit palette indices, bottom row first, rows of (width + 3) & ~3 bytes,
 * width and height taken from the header's rectangle.
 *
 * Plain C: no Qt, no C++ types, so that plug-ins can include it as it is.
 * Every struct is packed and checked field by field below.
 */
#ifndef KAVOLT_IMAGING_DIB_LAYOUT_H
#define KAVOLT_IMAGING_DIB_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define KV_LAYOUT_ASSERT(cond, what) static_assert(cond, what)
extern "C" {
#else
#define KV_LAYOUT_ASSERT(cond, what) _Static_assert(cond, what)
#endif

enum {
    DIB_INFO_HEADER_SIZE = 40,
    DIB_CORE_HEADER_SIZE = 12,
    LAYER_HEADER_SIZE = 88,
    LAYER_NAME_SIZE = 64,
    /* Layer draw modes. */
    LAYER_DRAW_NORMAL = 0,      /* every index drawn */
    LAYER_DRAW_INDEX0_CLEAR = 1 /* index 0 is transparent */
};

#pragma pack(push, 1)

/* The 40-byte information header. */
typedef struct DibInfoHeader {
    uint32_t size;          /* 40 */
    int32_t width;          /* pixels */
    int32_t height;         /* pixels, positive: rows bottom-up */
    uint16_t planes;        /* 1 */
    uint16_t bitCount;      /* 1, 4, 8, 16, 24 or 32 */
    uint32_t compression;   /* 0 */
    uint32_t sizeImage;     /* 0 unless a function says otherwise */
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;       /* colour-table entries when nonzero */
    uint32_t clrImportant;
} DibInfoHeader;

/* The old 12-byte core header; its colour table has 3-byte entries. */
typedef struct DibCoreHeader {
    uint32_t size;          /* 12 */
    uint16_t width;
    uint16_t height;
    uint16_t planes;
    uint16_t bitCount;
} DibCoreHeader;

/* One colour-table entry; the fourth byte is the entry's alpha (0..255). */
typedef struct PaletteEntry {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t alpha;
} PaletteEntry;

/* One colour-table entry of a core header. */
typedef struct CoreColorEntry {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
} CoreColorEntry;

/* The 88-byte head of a layer buffer. */
typedef struct LayerHeader {
    uint8_t number;         /* the layer's slot number */
    uint8_t visible;        /* 1 shown, 0 hidden */
    uint8_t drawMode;       /* LAYER_DRAW_NORMAL or LAYER_DRAW_INDEX0_CLEAR */
    uint8_t reserved[5];    /* 0 */
    char name[LAYER_NAME_SIZE]; /* NUL-terminated */
    int32_t left;           /* 0 for a layer of the document */
    int32_t top;            /* 0 */
    int32_t right;          /* width = right - left */
    int32_t bottom;         /* height = bottom - top */
} LayerHeader;

/* A rectangle in image pixels, y counted from the top row; right and bottom
 * are exclusive. Same bytes as the platform's RECT. */
typedef struct DibRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
} DibRect;

#pragma pack(pop)

KV_LAYOUT_ASSERT(sizeof(DibInfoHeader) == 40, "DibInfoHeader size");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, size) == 0, "DibInfoHeader.size");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, width) == 4, "DibInfoHeader.width");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, height) == 8, "DibInfoHeader.height");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, planes) == 12, "DibInfoHeader.planes");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, bitCount) == 14, "DibInfoHeader.bitCount");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, compression) == 16, "DibInfoHeader.compression");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, sizeImage) == 20, "DibInfoHeader.sizeImage");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, xPelsPerMeter) == 24, "DibInfoHeader.xPelsPerMeter");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, yPelsPerMeter) == 28, "DibInfoHeader.yPelsPerMeter");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, clrUsed) == 32, "DibInfoHeader.clrUsed");
KV_LAYOUT_ASSERT(offsetof(DibInfoHeader, clrImportant) == 36, "DibInfoHeader.clrImportant");

KV_LAYOUT_ASSERT(sizeof(DibCoreHeader) == 12, "DibCoreHeader size");
KV_LAYOUT_ASSERT(offsetof(DibCoreHeader, size) == 0, "DibCoreHeader.size");
KV_LAYOUT_ASSERT(offsetof(DibCoreHeader, width) == 4, "DibCoreHeader.width");
KV_LAYOUT_ASSERT(offsetof(DibCoreHeader, height) == 6, "DibCoreHeader.height");
KV_LAYOUT_ASSERT(offsetof(DibCoreHeader, planes) == 8, "DibCoreHeader.planes");
KV_LAYOUT_ASSERT(offsetof(DibCoreHeader, bitCount) == 10, "DibCoreHeader.bitCount");

KV_LAYOUT_ASSERT(sizeof(PaletteEntry) == 4, "PaletteEntry size");
KV_LAYOUT_ASSERT(offsetof(PaletteEntry, blue) == 0, "PaletteEntry.blue");
KV_LAYOUT_ASSERT(offsetof(PaletteEntry, green) == 1, "PaletteEntry.green");
KV_LAYOUT_ASSERT(offsetof(PaletteEntry, red) == 2, "PaletteEntry.red");
KV_LAYOUT_ASSERT(offsetof(PaletteEntry, alpha) == 3, "PaletteEntry.alpha");

KV_LAYOUT_ASSERT(sizeof(CoreColorEntry) == 3, "CoreColorEntry size");
KV_LAYOUT_ASSERT(offsetof(CoreColorEntry, blue) == 0, "CoreColorEntry.blue");
KV_LAYOUT_ASSERT(offsetof(CoreColorEntry, green) == 1, "CoreColorEntry.green");
KV_LAYOUT_ASSERT(offsetof(CoreColorEntry, red) == 2, "CoreColorEntry.red");

KV_LAYOUT_ASSERT(sizeof(LayerHeader) == 88, "LayerHeader size");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, number) == 0, "LayerHeader.number");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, visible) == 1, "LayerHeader.visible");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, drawMode) == 2, "LayerHeader.drawMode");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, reserved) == 3, "LayerHeader.reserved");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, name) == 8, "LayerHeader.name");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, left) == 72, "LayerHeader.left");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, top) == 76, "LayerHeader.top");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, right) == 80, "LayerHeader.right");
KV_LAYOUT_ASSERT(offsetof(LayerHeader, bottom) == 84, "LayerHeader.bottom");

KV_LAYOUT_ASSERT(sizeof(DibRect) == 16, "DibRect size");
KV_LAYOUT_ASSERT(offsetof(DibRect, left) == 0, "DibRect.left");
KV_LAYOUT_ASSERT(offsetof(DibRect, top) == 4, "DibRect.top");
KV_LAYOUT_ASSERT(offsetof(DibRect, right) == 8, "DibRect.right");
KV_LAYOUT_ASSERT(offsetof(DibRect, bottom) == 12, "DibRect.bottom");

#ifdef __cplusplus
}  /* extern "C" */
#endif

#endif /* KAVOLT_IMAGING_DIB_LAYOUT_H */
