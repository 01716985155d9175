// Reading a VRX file's bytes into a picture and writing an indexed packed DIB
// as a VRX file's bytes. No files, windows or messages here: the faults come
// back as values, each with the text the plug-in shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/dib_layout.h"
#include "plugins/vorex32/vrx_format.h"

// ---- reading

enum class VrxReadFault {
    None,
    BadData,      // bad header, counts or stream: result 2, no message
    Unsupported,  // type above 4, or larger than kVrxMaxSide: result 5
    Width4Bit,    // the width messages: result 2 after the message
    Width8Bit,
    Width16Bit,
};

// The file as read: its blocks, the palette of an indexed type (16 or 256
// colours, 0 for the direct types) and the pixel data as the file lays them
// out, rows top-down, every byte the file lacks 0.
struct VrxPicture {
    VrxFileHeader header{};
    VrxImageBlock image{};
    VrxClutBlock clut{};
    int colors = 0;
    PaletteEntry palette[256]{};
    std::vector<uint8_t> pixels;
};

// Every count is checked against the file and the image: the CLUT decodes
// into at most kVrxClutBytes, the pixels only into the image's buffer, and
// counts past the end of the data are cut to it.
VrxReadFault VrxReadImage(const uint8_t* data, size_t size, VrxPicture& picture);
// The PluginResultCode of a fault, and its message (null for none).
uint16_t VrxReadFaultResult(VrxReadFault fault);
const char* VrxReadFaultMessage(VrxReadFault fault);

// The packed DIB of a picture read: 4-bit with 16 entries, 8-bit with 256, or
// 24-bit without palette for the direct types.
size_t VrxDibSize(const VrxPicture& picture);
// Fills a zeroed block of VrxDibSize bytes: the header, the palette and the
// rows (VrxConvertRows).
void VrxFillDib(const VrxPicture& picture, uint8_t* dib);
// The pixel data as DIB rows: bottom-up, padded to 4 bytes; 4-bit bytes with
// their nibbles exchanged; direct pixels as blue, green, red.
void VrxConvertRows(const VrxPicture& picture, uint8_t* bits, size_t stride);

// ---- writing

// The header options of a save.
struct VrxWriteOptions {
    uint32_t version = kVrxVersion;
    uint32_t flags = 1;
    bool compressed = true;
    uint8_t lodMode = 0;
    uint8_t lodL = 0;
    uint16_t lodK = 3934;
    uint16_t height = 0;
    uint16_t secondK = 3934;
    int32_t pixelPos = -1;
    int32_t clutPos = -1;
    uint32_t entryType = VRX_ENTRY_32BIT;
    bool multiClut = false;
};

enum class VrxWriteFault {
    None,
    Unsupported,     // not a 40-byte header, compressed, not 4 or 8 bits, sizes: result 5, no message
    Width16Colors,   // the width and multi-CLUT messages: result 2 after the message
    Width256Colors,
    MultiClutColors,
    MultiClutWidth,
};

// The checks before anything is written.
VrxWriteFault VrxCheckImage(const uint8_t* dib, size_t size, const VrxWriteOptions& options);
const char* VrxWriteFaultMessage(VrxWriteFault fault);

// The bytes of the file for an image VrxCheckImage accepted. The pixels go
// raw (and the header says so) when their compressed body would not fit the
// stream header.
std::vector<uint8_t> VrxWriteImage(const uint8_t* dib, size_t size, const VrxWriteOptions& options);
