/* The contract between the editor and its plug-in libraries.
 *
 * The editor and a plug-in share no code: the host loads the library, looks
 * its exports up by name, calls them with the records below and frees the
 * library when the operation ends. A plug-in keeps nothing of the host's
 * after its call returns.
 *
 * Conventions of every export:
 *   - C linkage, the platform's one calling convention, no C++ types.
 *   - 16-bit results (ImportDlgIn, ImportGR, ImportDlgOut, ImportGW) are
 *     uint16_t; the host reads nothing beyond them.
 *   - Pointers and handles have their natural 64-bit size.
 *   - Strings are NUL-terminated UTF-8.
 *   - Every image, layer, channel and underlay block is a movable memory
 *     block (platform/memory.h) laid out as in imaging/dib_layout.h.
 *   - The own-path argument is the full path the host loaded the library
 *     from; the main window is the host's main frame, where plug-ins send the
 *     messages of plugin_messages.h.
 *
 * Records without pointers keep their byte layout exactly; records with
 * pointers or handles keep their field order with natural 64-bit sizes. Every
 * size and offset is fixed by the assertions at the end of this file and
 * written beside each field.
 *
 * Plain C: plug-ins include it as it is.
 */
#ifndef KAVOLT_PLUGIN_API_PLUGIN_API_H
#define KAVOLT_PLUGIN_API_PLUGIN_API_H

#include <stddef.h>
#include <stdint.h>

#include "imaging/dib_layout.h"
#include "plugin_api/plugin_messages.h"

#ifdef __cplusplus
#define KV_PLUGIN_ASSERT(cond, what) static_assert(cond, what)
#define KV_PLUGIN_INLINE inline
extern "C" {
#else
#define KV_PLUGIN_ASSERT(cond, what) _Static_assert(cond, what)
#define KV_PLUGIN_INLINE static inline
#endif

/* Handles as platform/memory.h and platform/window.h declare them. */
typedef struct KvMemBlock* MemHandle;
typedef struct KvWindow* WinHandle;

/* ------------------------------------------------------------------------
 * Result codes of ImportGR, ImportGW and a nonzero ImportDlgOut.
 * The host shows the code's text in an information box without owner; the
 * plug-in shows no message of its own for these codes.
 */
typedef enum PluginResultCode {
    PLUGIN_RESULT_OK = 0,
    PLUGIN_RESULT_CANNOT_OPEN = 1,   /* "文件无法打开。" */
    PLUGIN_RESULT_READ_ERROR = 2,    /* "文件读取失败。" */
    PLUGIN_RESULT_WRITE_ERROR = 3,   /* "文件写入失败。" */
    PLUGIN_RESULT_NO_MEMORY = 4,     /* "内存不足。" */
    PLUGIN_RESULT_BAD_FORMAT = 5,    /* "文件格式不正确。" */
    PLUGIN_RESULT_CANCELLED = 6      /* the user cancelled: no message, nothing changes */
    /* any other code: "文件无法读取。" when opening, "文件不能保存。" when saving */
} PluginResultCode;

/* The message of a result code; null for 0 and for a cancel. `saving` picks
 * the text of the codes above 6. */
KV_PLUGIN_INLINE const char* PluginResultMessage(unsigned code, int saving) {
    switch (code) {
    case PLUGIN_RESULT_OK: return 0;
    case PLUGIN_RESULT_CANCELLED: return 0;
    case PLUGIN_RESULT_CANNOT_OPEN: return "文件无法打开。";
    case PLUGIN_RESULT_READ_ERROR: return "文件读取失败。";
    case PLUGIN_RESULT_WRITE_ERROR: return "文件写入失败。";
    case PLUGIN_RESULT_NO_MEMORY: return "内存不足。";
    case PLUGIN_RESULT_BAD_FORMAT: return "文件格式不正确。";
    default: return saving ? "文件不能保存。" : "文件无法读取。";
    }
}

/* ------------------------------------------------------------------------
 * FilterCheckFlags (2 bytes), returned by GetFilterCheck.
 *   read/write (byte 0): bit 0 can read files (joins the open list),
 *                        bit 1 can write files (joins the save list);
 *   layers (byte 1):     bit 0 keeps layers and underlay: may be offered for a
 *                        document with more than one layer or an underlay.
 * A format plug-in without GetFilterCheck counts as read, write, no layers.
 */
enum {
    FILTER_CHECK_READ = 0x01,    /* in readWrite */
    FILTER_CHECK_WRITE = 0x02,   /* in readWrite */
    FILTER_CHECK_LAYERS = 0x01   /* in layers */
};
typedef struct FilterCheckFlags {
    uint8_t readWrite;  /* offset 0 */
    uint8_t layers;     /* offset 1 */
} FilterCheckFlags;

/* ------------------------------------------------------------------------
 * PluginImage (16 bytes): the image of an open or a save.
 *   image  offset 0: open: 0 in, the packed DIB the plug-in read out (the
 *                    host takes ownership); save: the host's copy of the
 *                    document image (the host frees it after ImportGW).
 *   colors offset 8: open: set by the plug-in: 2, 16, 256, or another value
 *                    for an image that needs colour reduction; save: 16 for
 *                    a 4-bit copy, else 256.
 */
typedef struct PluginImage {
    MemHandle image;
    int32_t colors;
} PluginImage;

/* ------------------------------------------------------------------------
 * PluginPathBuffer (4112 bytes): the document's full path, NUL-terminated,
 * in a buffer of PLUGIN_PATH_MAX bytes (the platform's PATH_MAX), then a
 * 16-bit status word a plug-in may write (1: it could not open the file) and
 * that the host does not read. A path that does not fit is never passed.
 */
#define PLUGIN_PATH_MAX 4096
typedef struct PluginPathBuffer {
    char path[PLUGIN_PATH_MAX];  /* offset 0 */
    uint16_t status;             /* offset 4096 */
    uint8_t reserved[14];        /* offset 4098, 0 */
} PluginPathBuffer;

/* Zeroes the buffer and copies `path` in; 0 (buffer empty) when the path
 * does not fit. */
KV_PLUGIN_INLINE int PluginPathBufferSet(PluginPathBuffer* buffer, const char* path) {
    size_t i = 0, n = 0;
    for (i = 0; i < sizeof(PluginPathBuffer); ++i) ((unsigned char*)buffer)[i] = 0;
    while (path[n]) ++n;
    if (n >= PLUGIN_PATH_MAX) return 0;
    for (i = 0; i < n; ++i) buffer->path[i] = path[i];
    return 1;
}

/* ------------------------------------------------------------------------
 * PluginSlot (24 bytes), the argument of SetLayer, SetChannel and SetSitae.
 * Each call reads only its own fields. The host keeps ownership of every
 * handle: the plug-in neither frees it nor holds it past the call.
 *   index  offset 0:  layer or channel index
 *   image  offset 8:  SetLayer: the layer; SetSitae: the underlay
 *   channel offset 16: SetChannel: the channel
 */
typedef struct PluginSlot {
    int32_t index;
    MemHandle image;
    MemHandle channel;
} PluginSlot;

/* ------------------------------------------------------------------------
 * PluginToolInfo (272 bytes): the document's composite image (8 bit, 256
 * entries) for a tool or filter, then bytes the host does not use. The
 * plug-in writes pixels in place through this image or the record's layers.
 */
typedef struct PluginToolInfo {
    MemHandle image;         /* offset 0 */
    uint8_t reserved[260];   /* offset 8 */
} PluginToolInfo;

/* ------------------------------------------------------------------------
 * PackedAnimTable (1024 bytes): the animation frame table, eight arrays of
 * 128 bytes (a[0] .. a[7]); entry i of each array belongs to frame i.
 *   a[0] bits 0-7  x bits 0-7
 *   a[1] bits 0-3  x bits 8-11,  bits 4-7 y bits 8-11
 *   a[2] bits 0-7  y bits 0-7
 *   a[3] bits 0-7  width bits 0-7
 *   a[4] bits 0-3  width bits 8-11, bits 4-7 height bits 8-11
 *   a[5] bits 0-7  height bits 0-7
 *   a[6] bits 0-7  delay bits 0-7
 *   a[7] bits 0-5  delay bits 8-13; bit 6 in entry 0 only: the table is
 *                  valid; bit 7 0
 * A frame's rectangle is x, y, x + width, y + height in image pixels, y from
 * the top. x, y, width and height are 12-bit values (0..4095), the delay 14
 * bits (0..16383). A table whose valid bit is clear reads as 128 empty frames
 * with delay 100.
 */
enum {
    PACKED_ANIM_FRAMES = 128,
    PACKED_ANIM_BYTES = 1024,
    PACKED_ANIM_VALID_BIT = 0x40,
    PACKED_ANIM_DEFAULT_DELAY = 100,
    PACKED_ANIM_MAX_COORD = 4095,
    PACKED_ANIM_MAX_DELAY = 16383
};
typedef struct PackedAnimTable {
    uint8_t a[8][PACKED_ANIM_FRAMES];
} PackedAnimTable;

/* One frame of the table. */
typedef struct PackedAnimFrame {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t delay;
} PackedAnimFrame;

KV_PLUGIN_INLINE int PackedAnimIsValid(const PackedAnimTable* t) {
    return (t->a[7][0] & PACKED_ANIM_VALID_BIT) != 0;
}

KV_PLUGIN_INLINE void PackedAnimSetValid(PackedAnimTable* t, int valid) {
    if (valid) t->a[7][0] = (uint8_t)(t->a[7][0] | PACKED_ANIM_VALID_BIT);
    else t->a[7][0] = (uint8_t)(t->a[7][0] & ~PACKED_ANIM_VALID_BIT);
}

/* Frame i (0..127) as stored, 12-bit coordinates and 14-bit delay, whatever
 * the valid bit says. */
KV_PLUGIN_INLINE PackedAnimFrame PackedAnimReadRaw(const PackedAnimTable* t, int i) {
    PackedAnimFrame f;
    f.x = t->a[0][i] | (t->a[1][i] & 0x0f) << 8;
    f.y = t->a[2][i] | (t->a[1][i] & 0xf0) << 4;
    f.width = t->a[3][i] | (t->a[4][i] & 0x0f) << 8;
    f.height = t->a[5][i] | (t->a[4][i] & 0xf0) << 4;
    f.delay = t->a[6][i] | (t->a[7][i] & 0x3f) << 8;
    return f;
}

/* Frame i as a reader sees it: an invalid table gives an empty frame with
 * delay 100. */
KV_PLUGIN_INLINE PackedAnimFrame PackedAnimRead(const PackedAnimTable* t, int i) {
    if (!PackedAnimIsValid(t)) {
        PackedAnimFrame empty = {0, 0, 0, 0, PACKED_ANIM_DEFAULT_DELAY};
        return empty;
    }
    return PackedAnimReadRaw(t, i);
}

/* Stores frame i: x, y, width and height clamped to 0..4095, the delay to
 * 0..16383. Entry 0's valid bit is kept; set it with PackedAnimSetValid. */
KV_PLUGIN_INLINE int32_t PackedAnimClamp(int32_t v, int32_t hi) {
    return v < 0 ? 0 : (v > hi ? hi : v);
}
KV_PLUGIN_INLINE void PackedAnimWrite(PackedAnimTable* t, int i, const PackedAnimFrame* f) {
    int32_t x = PackedAnimClamp(f->x, PACKED_ANIM_MAX_COORD);
    int32_t y = PackedAnimClamp(f->y, PACKED_ANIM_MAX_COORD);
    int32_t w = PackedAnimClamp(f->width, PACKED_ANIM_MAX_COORD);
    int32_t h = PackedAnimClamp(f->height, PACKED_ANIM_MAX_COORD);
    int32_t d = PackedAnimClamp(f->delay, PACKED_ANIM_MAX_DELAY);
    t->a[0][i] = (uint8_t)x;
    t->a[1][i] = (uint8_t)((x >> 8) | (y >> 8) << 4);
    t->a[2][i] = (uint8_t)y;
    t->a[3][i] = (uint8_t)w;
    t->a[4][i] = (uint8_t)((w >> 8) | (h >> 8) << 4);
    t->a[5][i] = (uint8_t)h;
    t->a[6][i] = (uint8_t)d;
    t->a[7][i] = (uint8_t)((t->a[7][i] & PACKED_ANIM_VALID_BIT) | (d >> 8));
}

/* ------------------------------------------------------------------------
 * PluginToolRecord (1192 bytes): the work record of a tool or filter run,
 * zero-filled by the host before each run. "out" fields are written by the
 * plug-in. Offsets as written beside the fields.
 */
typedef struct PluginToolRecord {
    /*    0 */ DibRect rect;            /* rectangle to work on; the host passes 0, 0, 0, 0 (whole
                                           image); rows height - bottom <= y < height - top */
    /*   16 */ int32_t selectionWidth;  /* width of the document's selection rectangle */
    /*   20 */ int32_t selectionHeight;
    /*   24 */ int32_t* currentColor;   /* the document's current colour index */
    /*   32 */ int32_t* clickX;         /* x of the last click in the canvas, image pixels */
    /*   40 */ int32_t* clickY;
    /*   48 */ WinHandle window;        /* out: the plug-in's main window while it stays open */
    /*   56 */ MemHandle selectionMask; /* the document's selection mask */
    /*   64 */ int32_t antiAlias;       /* 0 or 1 */
    /*   68 */ int32_t reserved68;      /* 0 */
    /*   72 */ MemHandle* layers;       /* the document's layer table, 100 handles */
    /*   80 */ int32_t editLayer;       /* current layer index */
    /*   88 */ uint8_t* usedColors;     /* 256 bytes: 1 where the index occurs in the composite */
    /*   96 */ int32_t toolOption;      /* tool option 2 when tool option 1 is 1, else 0 */
    /*  100 */ int32_t patternLeft;     /* 0; pattern fields set only when tool option 0 is 1 */
    /*  104 */ int32_t patternTop;      /* 0 */
    /*  108 */ int32_t patternWidth;
    /*  112 */ int32_t patternHeight;
    /*  120 */ MemHandle pattern;       /* the main frame's pattern block */
    /*  128 */ int32_t modeless;        /* out: 1 while the plug-in keeps a modeless window */
    /*  136 */ char* path;              /* 1024-byte text: the document's path (or title) */
    /*  144 */ int32_t imageChanged;    /* out: 1 when the plug-in changed the image */
    /*  152 */ WinHandle window2;       /* out: a second plug-in window (the animation preview) */
    /*  160 */ int32_t toneIndex;       /* tone pattern of the active view, 0 (100%) .. 15 */
    /*  164 */ PackedAnimTable animTable; /* a copy of the document's frame table */
    /* 1188 */ uint8_t animStartMode;   /* 0 open the animation editor, 1 preview and finish */
    /* 1189 */ uint8_t reserved1189[3]; /* 0 */
} PluginToolRecord;

/* ------------------------------------------------------------------------
 * ColorReduceTable: the ten colour-reduction functions the host lends a
 * file-format plug-in through SetGenshoku during a document open (for any
 * other open the table stays empty and must not be called). Palettes are 256
 * four-byte entries; pixel rows as stored, bottom-up.
 *
 * To reduce several frames to one palette: 1 once; 2 and 4 for every frame;
 * 3 and 5 once; 6 for every frame; then 7 and 9.
 */
enum {
    COLOR_REDUCE_IMAGE = 0,
    COLOR_REDUCE_INIT = 1,
    COLOR_REDUCE_COLLECT = 2,
    COLOR_REDUCE_PREPARE = 3,
    COLOR_REDUCE_WEIGH = 4,
    COLOR_REDUCE_MERGE = 5,
    COLOR_REDUCE_MAP = 6,
    COLOR_REDUCE_PALETTE = 7,
    COLOR_REDUCE_REMAP = 8,
    COLOR_REDUCE_FREE = 9,
    COLOR_REDUCE_SLOTS = 10
};

/* 0: source bits, destination bits, width, height, palette (written), colours
 * (<= 256), bit count (24 or 8), keep-reserved flag; 1 done, 0 failed. */
typedef int32_t (*ReduceImageColorsFn)(const uint8_t* source, uint8_t* destination, int32_t width,
                                       int32_t height, PaletteEntry* palette, int32_t colors,
                                       int32_t bitCount, int32_t keepReserved);
/* 1: width, height, colours, bit count; 1, or 0 when colours > 256 or memory. */
typedef int32_t (*ReducerInitFn)(int32_t width, int32_t height, int32_t colors, int32_t bitCount);
/* 2: pixels, palette (8-bit sources only). */
typedef void (*ReducerCollectColorsFn)(const uint8_t* pixels, const PaletteEntry* palette);
/* 3: 1, or 0 when the nodes cannot be allocated. */
typedef int32_t (*ReducerPrepareNodesFn)(void);
/* 4: pixels, palette. */
typedef void (*ReducerWeighPixelsFn)(const uint8_t* pixels, const PaletteEntry* palette);
/* 5: 1, or 0 on failure. */
typedef int32_t (*ReducerMergeFn)(void);
/* 6: source pixels, destination 8-bit pixels (may be the same), palette. */
typedef void (*ReducerMapPixelsFn)(const uint8_t* source, uint8_t* destination,
                                   const PaletteEntry* palette);
/* 7: palette (written), keep-reserved flag. */
typedef void (*ReducerBuildPaletteFn)(PaletteEntry* palette, int32_t keepReserved);
/* 8: 8-bit pixels, keep-reserved flag. */
typedef void (*ReducerRemapPixelsFn)(uint8_t* pixels, int32_t keepReserved);
/* 9: frees the engine's buffers. */
typedef void (*ReducerFreeFn)(void);

/* The type SetGenshoku passes each function as. */
typedef void (*ColorReduceFn)(void);

typedef struct ColorReduceTable {
    ReduceImageColorsFn reduceImageColors;      /* 0 */
    ReducerInitFn init;                         /* 1 */
    ReducerCollectColorsFn collectColors;       /* 2 */
    ReducerPrepareNodesFn prepareNodes;         /* 3 */
    ReducerWeighPixelsFn weighPixels;           /* 4 */
    ReducerMergeFn merge;                       /* 5 */
    ReducerMapPixelsFn mapPixels;               /* 6 */
    ReducerBuildPaletteFn buildPalette;         /* 7 */
    ReducerRemapPixelsFn remapPixels;           /* 8 */
    ReducerFreeFn freeBuffers;                  /* 9 */
} ColorReduceTable;

/* Slot `index` as SetGenshoku passes it; null for an index outside 0..9. */
KV_PLUGIN_INLINE ColorReduceFn ColorReduceTableGet(const ColorReduceTable* t, int32_t index) {
    switch (index) {
    case COLOR_REDUCE_IMAGE: return (ColorReduceFn)t->reduceImageColors;
    case COLOR_REDUCE_INIT: return (ColorReduceFn)t->init;
    case COLOR_REDUCE_COLLECT: return (ColorReduceFn)t->collectColors;
    case COLOR_REDUCE_PREPARE: return (ColorReduceFn)t->prepareNodes;
    case COLOR_REDUCE_WEIGH: return (ColorReduceFn)t->weighPixels;
    case COLOR_REDUCE_MERGE: return (ColorReduceFn)t->merge;
    case COLOR_REDUCE_MAP: return (ColorReduceFn)t->mapPixels;
    case COLOR_REDUCE_PALETTE: return (ColorReduceFn)t->buildPalette;
    case COLOR_REDUCE_REMAP: return (ColorReduceFn)t->remapPixels;
    case COLOR_REDUCE_FREE: return (ColorReduceFn)t->freeBuffers;
    default: return 0;
    }
}

/* Stores what SetGenshoku received into its slot (a plug-in's SetGenshoku is
 * this call); an index outside 0..9 is ignored. */
KV_PLUGIN_INLINE void ColorReduceTableSet(ColorReduceTable* t, ColorReduceFn fn, int32_t index) {
    switch (index) {
    case COLOR_REDUCE_IMAGE: t->reduceImageColors = (ReduceImageColorsFn)fn; break;
    case COLOR_REDUCE_INIT: t->init = (ReducerInitFn)fn; break;
    case COLOR_REDUCE_COLLECT: t->collectColors = (ReducerCollectColorsFn)fn; break;
    case COLOR_REDUCE_PREPARE: t->prepareNodes = (ReducerPrepareNodesFn)fn; break;
    case COLOR_REDUCE_WEIGH: t->weighPixels = (ReducerWeighPixelsFn)fn; break;
    case COLOR_REDUCE_MERGE: t->merge = (ReducerMergeFn)fn; break;
    case COLOR_REDUCE_MAP: t->mapPixels = (ReducerMapPixelsFn)fn; break;
    case COLOR_REDUCE_PALETTE: t->buildPalette = (ReducerBuildPaletteFn)fn; break;
    case COLOR_REDUCE_REMAP: t->remapPixels = (ReducerRemapPixelsFn)fn; break;
    case COLOR_REDUCE_FREE: t->freeBuffers = (ReducerFreeFn)fn; break;
    default: break;
    }
}

/* ------------------------------------------------------------------------
 * Exports. A plug-in defines those of its kind (KV_PLUGIN_EXPORT marks the
 * definition); the host binds each by name and treats a missing one as
 * written beside it.
 */
#define KV_PLUGIN_EXPORT __attribute__((visibility("default")))

/* File format: description with the patterns in parentheses, '/', the
 * patterns again ("Gif 文件(*.GIF)" "/" "*.gif"). Filter: the menu text up to '/'.
 * Missing: a format library is reported as "%s\n 是旧格式" and skipped. */
KV_PLUGIN_EXPORT const char* GetInfo(void);
/* File format. Missing: can read, can write, does not keep layers. */
KV_PLUGIN_EXPORT const FilterCheckFlags* GetFilterCheck(void);
/* Any kind, first call of an open and of a tool or filter run; `image` is the
 * PluginImage (open) or the PluginToolInfo (tool, filter). Nonzero: stop
 * without a message. Missing: the run goes on. */
KV_PLUGIN_EXPORT uint16_t ImportDlgIn(WinHandle mainWindow, PluginPathBuffer* path, void* image,
                                      const char* ownPath);
/* File format: lends slot `index` of the ColorReduceTable; called for 0..9
 * in order before ImportGR of a document open. */
KV_PLUGIN_EXPORT void SetGenshoku(ColorReduceFn function, int32_t index);
/* File format: reads the file into `image`; a PluginResultCode. Missing: the
 * open fails with "文件无法读取。". */
KV_PLUGIN_EXPORT uint16_t ImportGR(WinHandle mainWindow, PluginPathBuffer* path, PluginImage* image,
                                   const char* ownPath);
/* File format, after a successful ImportGR, for index 0..99: the layer (the
 * host takes it) or 0. */
KV_PLUGIN_EXPORT MemHandle GetLayer(int32_t* index);
/* File format, only with GetLayer; the argument holds 99: the current layer. */
KV_PLUGIN_EXPORT int8_t GetEditLayerCheck(int32_t* index);
/* File format, index 0..99: the channel (the host takes it) or 0. */
KV_PLUGIN_EXPORT MemHandle GetChannel(int32_t* index);
/* File format; the argument holds 99: the underlay picture or 0. */
KV_PLUGIN_EXPORT MemHandle GetSitae(int32_t* index);
/* File format, only after an underlay was taken; the argument holds 99. */
KV_PLUGIN_EXPORT int8_t GetSitaeCheck(int32_t* index);
/* File format, first call of a save (an options dialog): 0 continue, else a
 * PluginResultCode. Missing: the save goes on. */
KV_PLUGIN_EXPORT uint16_t ImportDlgOut(WinHandle mainWindow, PluginPathBuffer* path,
                                       PluginImage* image, const char* ownPath);
/* File format, once per existing layer, index 0 up to the count - 1. */
KV_PLUGIN_EXPORT void SetLayer(const PluginSlot* slot);
/* File format, only with SetLayer: the current layer index. */
KV_PLUGIN_EXPORT void SetEditLayerCheck(int32_t index);
/* File format, once per existing channel, index 0..99. */
KV_PLUGIN_EXPORT void SetChannel(const PluginSlot* slot);
/* File format, every save: the underlay flag. */
KV_PLUGIN_EXPORT void SetSitaeCheck(int32_t flag);
/* File format, when the document has an underlay. */
KV_PLUGIN_EXPORT void SetSitaeSize(int32_t width, int32_t height);
KV_PLUGIN_EXPORT void SetSitae(const PluginSlot* slot);
/* File format: writes the file, last call of a save; a PluginResultCode.
 * Missing: the save fails with "文件不能保存。". */
KV_PLUGIN_EXPORT uint16_t ImportGW(WinHandle mainWindow, PluginPathBuffer* path, PluginImage* image,
                                   const char* ownPath);
/* Tool, filter: runs it; the result is ignored. A plug-in with a window of
 * its own runs that window's loop inside this call; the record, the info and
 * every pointer in them stay valid until it returns. */
KV_PLUGIN_EXPORT int32_t ImportFL(WinHandle mainWindow, PluginToolRecord* record,
                                  PluginToolInfo* info, const char* ownPath);
/* Tool: the library's second command; as ImportFL. */
KV_PLUGIN_EXPORT int32_t ImportFL2(WinHandle mainWindow, PluginToolRecord* record,
                                   PluginToolInfo* info, const char* ownPath);

/* Pointer types of the exports, for the host's look-up by name. */
typedef const char* (*PluginGetInfoFn)(void);
typedef const FilterCheckFlags* (*PluginGetFilterCheckFn)(void);
typedef uint16_t (*PluginImportDlgInFn)(WinHandle, PluginPathBuffer*, void*, const char*);
typedef void (*PluginSetGenshokuFn)(ColorReduceFn, int32_t);
typedef uint16_t (*PluginImportFn)(WinHandle, PluginPathBuffer*, PluginImage*, const char*);
typedef MemHandle (*PluginGetBlockFn)(int32_t*);
typedef int8_t (*PluginGetCheckFn)(int32_t*);
typedef void (*PluginSetSlotFn)(const PluginSlot*);
typedef void (*PluginSetIntFn)(int32_t);
typedef void (*PluginSetSizeFn)(int32_t, int32_t);
typedef int32_t (*PluginImportFLFn)(WinHandle, PluginToolRecord*, PluginToolInfo*, const char*);

/* ------------------------------------------------------------------------
 * Layouts. */
KV_PLUGIN_ASSERT(sizeof(FilterCheckFlags) == 2, "FilterCheckFlags size");
KV_PLUGIN_ASSERT(offsetof(FilterCheckFlags, layers) == 1, "FilterCheckFlags.layers");

KV_PLUGIN_ASSERT(sizeof(PluginImage) == 16, "PluginImage size");
KV_PLUGIN_ASSERT(offsetof(PluginImage, image) == 0, "PluginImage.image");
KV_PLUGIN_ASSERT(offsetof(PluginImage, colors) == 8, "PluginImage.colors");

KV_PLUGIN_ASSERT(sizeof(PluginPathBuffer) == 4112, "PluginPathBuffer size");
KV_PLUGIN_ASSERT(offsetof(PluginPathBuffer, status) == 4096, "PluginPathBuffer.status");

KV_PLUGIN_ASSERT(sizeof(PluginSlot) == 24, "PluginSlot size");
KV_PLUGIN_ASSERT(offsetof(PluginSlot, index) == 0, "PluginSlot.index");
KV_PLUGIN_ASSERT(offsetof(PluginSlot, image) == 8, "PluginSlot.image");
KV_PLUGIN_ASSERT(offsetof(PluginSlot, channel) == 16, "PluginSlot.channel");

KV_PLUGIN_ASSERT(sizeof(PluginToolInfo) == 272, "PluginToolInfo size");
KV_PLUGIN_ASSERT(offsetof(PluginToolInfo, reserved) == 8, "PluginToolInfo.reserved");

KV_PLUGIN_ASSERT(sizeof(PackedAnimTable) == PACKED_ANIM_BYTES, "PackedAnimTable size");

KV_PLUGIN_ASSERT(sizeof(PluginToolRecord) == 1192, "PluginToolRecord size");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, selectionWidth) == 16, "PluginToolRecord.selectionWidth");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, currentColor) == 24, "PluginToolRecord.currentColor");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, clickX) == 32, "PluginToolRecord.clickX");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, clickY) == 40, "PluginToolRecord.clickY");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, window) == 48, "PluginToolRecord.window");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, selectionMask) == 56, "PluginToolRecord.selectionMask");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, antiAlias) == 64, "PluginToolRecord.antiAlias");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, layers) == 72, "PluginToolRecord.layers");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, editLayer) == 80, "PluginToolRecord.editLayer");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, usedColors) == 88, "PluginToolRecord.usedColors");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, toolOption) == 96, "PluginToolRecord.toolOption");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, patternLeft) == 100, "PluginToolRecord.patternLeft");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, patternHeight) == 112, "PluginToolRecord.patternHeight");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, pattern) == 120, "PluginToolRecord.pattern");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, modeless) == 128, "PluginToolRecord.modeless");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, path) == 136, "PluginToolRecord.path");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, imageChanged) == 144, "PluginToolRecord.imageChanged");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, window2) == 152, "PluginToolRecord.window2");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, toneIndex) == 160, "PluginToolRecord.toneIndex");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, animTable) == 164, "PluginToolRecord.animTable");
KV_PLUGIN_ASSERT(offsetof(PluginToolRecord, animStartMode) == 1188, "PluginToolRecord.animStartMode");

KV_PLUGIN_ASSERT(sizeof(ColorReduceTable) == COLOR_REDUCE_SLOTS * sizeof(void*),
                 "ColorReduceTable size");

#ifdef __cplusplus
}  /* extern "C" */
#endif

#endif /* KAVOLT_PLUGIN_API_PLUGIN_API_H */
