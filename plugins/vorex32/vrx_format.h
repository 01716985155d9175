// The byte layout of a VRX texture file: a 32-byte header, a 48-byte image
// block and, for the indexed types, a 48-byte CLUT block, then the CLUT data
// (always an LZ stream) and the pixel data. Every number is little-endian;
// the structs are the bytes themselves on this little-endian platform.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "VRX blocks are read as they lie in memory");

constexpr uint32_t kVrxVersion = 170;        // version x 100 written
constexpr uint32_t kVrxFlagsVersion = 140;   // from this version on, flag bit 5 is always set
constexpr int kVrxMaxSide = 4096;            // larger images are refused
constexpr size_t kVrxClutBytes = 1024;       // what a CLUT may decode into

enum VrxPixelType : uint32_t {
    VRX_PIXELS_4BIT = 0,
    VRX_PIXELS_8BIT = 1,
    VRX_PIXELS_16BIT = 2,
    VRX_PIXELS_24BIT = 3,
    VRX_PIXELS_32BIT = 4,
};

enum VrxEntryType : uint32_t {
    VRX_ENTRY_16BIT = 1,
    VRX_ENTRY_32BIT = 2,
};

enum VrxStorageOrder : uint32_t {
    VRX_ORDER_SWIZZLED = 0,
    VRX_ORDER_LINEAR = 1,
};

// Rendering flag bits.
enum : uint32_t {
    VRX_FLAG_RESERVE = 1u << 0,
    VRX_FLAG_EVERY_FRAME = 1u << 1,
    VRX_FLAG_CLUT_TRANSFER = 1u << 2,
    VRX_FLAG_TIME_SHIFT = 3,  // two bits: 0 morning, 1 day, 2 evening, 3 night
    VRX_FLAG_TIME_MASK = 3u << 3,
    VRX_FLAG_NEW_VERSION = 1u << 5,
    VRX_FLAG_POINT_SAMPLING = 1u << 6,
    VRX_FLAG_Z_ONLY = 1u << 7,
    VRX_FLAG_NO_ALPHA_CORRECTION = 1u << 8,
    VRX_FLAG_DIST_ALPHA0 = 1u << 9,
};

#pragma pack(push, 1)

struct VrxFileHeader {
    char magic[4];        // "VRXF"
    uint32_t compressed;  // 1: the pixel data are an LZ stream, 0: raw
    uint32_t version;     // version x 100
    uint32_t flags;       // rendering flags
    uint8_t lodMode;      // 0 formula, 1 fixed value
    uint8_t lodL;         // 0..3
    uint16_t lodK;        // 0..4095
    uint16_t height;      // 0..10000
    uint16_t secondK;     // 0..4095
    uint8_t zero[8];
};

struct VrxImageBlock {
    uint32_t dataOffset;  // file offset of the pixel data
    int32_t vramPos;      // -1: none
    uint32_t type;        // VrxPixelType
    uint32_t format;      // 2 for 4-bit, 4 for 8-bit
    uint32_t byteCount;   // pixel data bytes as stored
    int32_t width;
    int32_t height;
    uint8_t zero[20];
};

struct VrxClutBlock {
    uint32_t dataOffset;  // file offset of the CLUT data (128)
    int32_t vramPos;      // -1: none
    uint32_t entryType;   // VrxEntryType
    uint32_t order;       // VrxStorageOrder
    uint32_t byteCount;   // CLUT stream bytes, its 4-byte header included
    uint32_t colors;      // 16 or 256
    uint32_t count;       // CLUTs: 1, or 16 (multi-CLUT)
    uint8_t zero[20];
};

#pragma pack(pop)

static_assert(sizeof(VrxFileHeader) == 32);
static_assert(offsetof(VrxFileHeader, compressed) == 4);
static_assert(offsetof(VrxFileHeader, version) == 8);
static_assert(offsetof(VrxFileHeader, flags) == 12);
static_assert(offsetof(VrxFileHeader, lodMode) == 16);
static_assert(offsetof(VrxFileHeader, lodL) == 17);
static_assert(offsetof(VrxFileHeader, lodK) == 18);
static_assert(offsetof(VrxFileHeader, height) == 20);
static_assert(offsetof(VrxFileHeader, secondK) == 22);
static_assert(offsetof(VrxFileHeader, zero) == 24);

static_assert(sizeof(VrxImageBlock) == 48);
static_assert(offsetof(VrxImageBlock, vramPos) == 4);
static_assert(offsetof(VrxImageBlock, type) == 8);
static_assert(offsetof(VrxImageBlock, format) == 12);
static_assert(offsetof(VrxImageBlock, byteCount) == 16);
static_assert(offsetof(VrxImageBlock, width) == 20);
static_assert(offsetof(VrxImageBlock, height) == 24);
static_assert(offsetof(VrxImageBlock, zero) == 28);

static_assert(sizeof(VrxClutBlock) == 48);
static_assert(offsetof(VrxClutBlock, vramPos) == 4);
static_assert(offsetof(VrxClutBlock, entryType) == 8);
static_assert(offsetof(VrxClutBlock, order) == 12);
static_assert(offsetof(VrxClutBlock, byteCount) == 16);
static_assert(offsetof(VrxClutBlock, colors) == 20);
static_assert(offsetof(VrxClutBlock, count) == 24);
static_assert(offsetof(VrxClutBlock, zero) == 28);

constexpr size_t kVrxImageBlockOffset = sizeof(VrxFileHeader);                        // 32
constexpr size_t kVrxClutBlockOffset = kVrxImageBlockOffset + sizeof(VrxImageBlock);  // 80
constexpr size_t kVrxClutDataOffset = kVrxClutBlockOffset + sizeof(VrxClutBlock);     // 128
