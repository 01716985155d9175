// The in-memory tree of a GIF file: screen, colour tables, and the image and
// extension blocks in file order. Every record and every variable part is a
// sized block (gif_block.h); GifFreeFile frees the whole tree.
#pragma once

#include <cstdint>

#include "plugins/loopcast/gif_block.h"

constexpr uint8_t kGifImageKind = 0x2C;
constexpr uint8_t kGifExtensionKind = 0x21;
constexpr uint8_t kGifTrailer = 0x3B;
constexpr uint8_t kGifGraphicControlLabel = 0xF9;
constexpr uint8_t kGifApplicationLabel = 0xFF;

// Images and screens larger than this in either direction are refused.
constexpr uint32_t kGifMaxSide = 4096;

struct GifColorTable {
    uint32_t count;
    uint32_t* entries;  // sized block of count entries, 0x00RRGGBB
};

struct GifScreen {
    uint32_t width;
    uint32_t height;
    uint32_t hasGlobalTable;
    uint32_t colorResolution;  // 1 to 8
    uint32_t sorted;
    uint32_t sizeBits;  // the table has 2^sizeBits entries (1 to 8)
    uint32_t background;
    uint32_t aspect;
    GifColorTable* table;
};

struct GifImage {
    uint32_t left;
    uint32_t top;
    uint32_t width;
    uint32_t height;
    uint32_t hasLocalTable;
    uint32_t interlaced;
    uint32_t sorted;
    uint32_t carried;  // bit 4 of the packed byte, written back as read
    uint32_t sizeBits;
    GifColorTable* table;
    uint8_t* pixels;  // width x height indices, rows top-down; null when the image has none
};

struct GifExtension {
    uint32_t label;
    void* subBlocks;  // list of sized blocks of 1 to 255 bytes
};

struct GifBlock {
    uint32_t kind;  // kGifImageKind or kGifExtensionKind
    GifImage* image;
    GifExtension* extension;
};

struct GifFile {
    char signature[8];
    GifScreen* screen;
    void* blocks;  // list of GifBlock*
};

// A file with signature "GIF87a", a zeroed screen with an empty colour table
// record and no blocks; null when an allocation fails.
GifFile* GifNewFile();
// A zeroed image with an empty colour table record and no pixels.
GifImage* GifNewImage();
GifExtension* GifNewExtension(uint32_t label);
void GifFreeFile(GifFile* file);
void GifFreeImage(GifImage* image);
void GifFreeExtension(GifExtension* extension);

// Replaces the table's entries with count zeroed ones; false on failure.
bool GifSetTableSize(GifColorTable* table, uint32_t count);
// Appends a block holding image or extension (the file takes it over); false
// (nothing taken over) when the list cannot grow.
bool GifAppendImage(GifFile* file, GifImage* image);
bool GifAppendExtension(GifFile* file, GifExtension* extension);
// Appends a copy of n bytes (1 to 255) as one sub-block; false on failure.
bool GifAppendSubBlock(GifExtension* extension, const void* bytes, uint32_t n);

inline uint32_t GifBlockCount(const GifFile* file) { return GifListCount(file->blocks); }
inline GifBlock* GifBlockAt(const GifFile* file, uint32_t i) { return GifListAt<GifBlock>(file->blocks, i); }
inline uint32_t GifSubBlockCount(const GifExtension* e) { return GifListCount(e->subBlocks); }
inline const uint8_t* GifSubBlockAt(const GifExtension* e, uint32_t i) {
    return GifListAt<const uint8_t>(e->subBlocks, i);
}
