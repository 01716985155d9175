#include <algorithm>
#include <cstring>

#include "plugin_api/plugin_api.h"
#include "plugins/vorex32/vrx_clut.h"
#include "plugins/vorex32/vrx_image.h"
#include "plugins/vorex32/vrx_lz.h"

namespace {

bool Indexed(uint32_t type) { return type == VRX_PIXELS_4BIT || type == VRX_PIXELS_8BIT; }

// Bytes of one row of pixel data as the file holds it.
size_t FileRowBytes(uint32_t type, size_t width) {
    switch (type) {
    case VRX_PIXELS_4BIT: return width / 2;
    case VRX_PIXELS_8BIT: return width;
    case VRX_PIXELS_16BIT: return width * 2;
    case VRX_PIXELS_24BIT: return width * 3;
    default: return width * 4;
    }
}

size_t DibStride(uint32_t type, size_t width) {
    size_t bits = type == VRX_PIXELS_4BIT ? 4 : type == VRX_PIXELS_8BIT ? 8 : 24;
    return (width * bits + 31) / 32 * 4;
}

VrxReadFault ReadClut(const uint8_t* data, size_t size, VrxPicture& picture) {
    if (size < kVrxClutDataOffset) return VrxReadFault::BadData;
    std::memcpy(&picture.clut, data + kVrxClutBlockOffset, sizeof picture.clut);
    const VrxClutBlock& c = picture.clut;
    if (c.entryType != VRX_ENTRY_16BIT && c.entryType != VRX_ENTRY_32BIT) return VrxReadFault::BadData;
    if (c.colors != 16 && c.colors != 256) return VrxReadFault::BadData;
    const size_t tableBytes = size_t(c.colors) * VrxEntrySize(c.entryType);
    if (c.count < 1 || c.count > kVrxClutBytes / tableBytes) return VrxReadFault::BadData;
    if (c.byteCount < kVrxStreamHeaderSize) return VrxReadFault::BadData;
    uint8_t table[kVrxClutBytes] = {};
    const size_t n = std::min<size_t>(c.byteCount, size - kVrxClutDataOffset);
    if (!VrxDecompress(data + kVrxClutDataOffset, n, table, tableBytes * c.count)) return VrxReadFault::BadData;
    // The image's palette has 16 or 256 entries whatever the CLUT holds.
    picture.colors = picture.image.type == VRX_PIXELS_4BIT ? 16 : 256;
    const int known = std::min(picture.colors, int(c.colors));
    VrxClutToPalette(table, tableBytes, c.entryType, known, c.colors == 256 && c.order == VRX_ORDER_SWIZZLED,
                     picture.palette);
    return VrxReadFault::None;
}

}  // namespace

VrxReadFault VrxReadImage(const uint8_t* data, size_t size, VrxPicture& picture) {
    picture = VrxPicture{};
    if (size < kVrxClutBlockOffset) return VrxReadFault::BadData;
    std::memcpy(&picture.header, data, sizeof picture.header);
    if (std::memcmp(picture.header.magic, "VRXF", 4) != 0) return VrxReadFault::BadData;
    std::memcpy(&picture.image, data + kVrxImageBlockOffset, sizeof picture.image);
    const VrxImageBlock& im = picture.image;
    if (im.width <= 0 || im.height <= 0) return VrxReadFault::BadData;
    if (im.width > kVrxMaxSide || im.height > kVrxMaxSide || im.type > VRX_PIXELS_32BIT)
        return VrxReadFault::Unsupported;
    if (im.type == VRX_PIXELS_4BIT && im.width % 8) return VrxReadFault::Width4Bit;
    if (im.type == VRX_PIXELS_8BIT && im.width % 4) return VrxReadFault::Width8Bit;
    if (im.type == VRX_PIXELS_16BIT && im.width % 2) return VrxReadFault::Width16Bit;

    size_t offset = kVrxClutBlockOffset;
    if (Indexed(im.type)) {
        if (VrxReadFault fault = ReadClut(data, size, picture); fault != VrxReadFault::None) return fault;
        offset = kVrxClutDataOffset + std::min<size_t>(picture.clut.byteCount, size - kVrxClutDataOffset);
    }
    picture.pixels.assign(FileRowBytes(im.type, size_t(im.width)) * size_t(im.height), 0);
    const size_t m = std::min<size_t>(im.byteCount, size - offset);
    const uint8_t* source = data + offset;
    if (picture.header.compressed == 1) {
        if (!VrxDecompress(source, m, picture.pixels.data(), picture.pixels.size())) return VrxReadFault::BadData;
    } else {
        std::memcpy(picture.pixels.data(), source, std::min(m, picture.pixels.size()));
    }
    return VrxReadFault::None;
}

uint16_t VrxReadFaultResult(VrxReadFault fault) {
    switch (fault) {
    case VrxReadFault::None: return PLUGIN_RESULT_OK;
    case VrxReadFault::Unsupported: return PLUGIN_RESULT_BAD_FORMAT;
    default: return PLUGIN_RESULT_READ_ERROR;
    }
}

const char* VrxReadFaultMessage(VrxReadFault fault) {
    switch (fault) {
    case VrxReadFault::Width4Bit: return "16 色数据的宽度不是 8 的倍数,无法读取。";
    case VrxReadFault::Width8Bit: return "256 色数据的宽度不是 4 的倍数,无法读取。";
    case VrxReadFault::Width16Bit: return "16bit 色数据的宽度不是 2 的倍数,无法读取。";
    default: return nullptr;
    }
}

size_t VrxDibSize(const VrxPicture& picture) {
    const uint32_t type = picture.image.type;
    return DIB_INFO_HEADER_SIZE + size_t(picture.colors) * sizeof(PaletteEntry) +
           DibStride(type, size_t(picture.image.width)) * size_t(picture.image.height);
}

void VrxFillDib(const VrxPicture& picture, uint8_t* dib) {
    DibInfoHeader info{};
    info.size = DIB_INFO_HEADER_SIZE;
    info.width = picture.image.width;
    info.height = picture.image.height;
    info.planes = 1;
    info.bitCount = uint16_t(picture.image.type == VRX_PIXELS_4BIT ? 4 : picture.image.type == VRX_PIXELS_8BIT ? 8 : 24);
    std::memcpy(dib, &info, sizeof info);
    std::memcpy(dib + DIB_INFO_HEADER_SIZE, picture.palette, size_t(picture.colors) * sizeof(PaletteEntry));
    VrxConvertRows(picture, dib + DIB_INFO_HEADER_SIZE + size_t(picture.colors) * sizeof(PaletteEntry),
                   DibStride(picture.image.type, size_t(picture.image.width)));
}

void VrxConvertRows(const VrxPicture& picture, uint8_t* bits, size_t stride) {
    const uint32_t type = picture.image.type;
    const size_t width = size_t(picture.image.width), height = size_t(picture.image.height);
    const size_t rowBytes = FileRowBytes(type, width);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = picture.pixels.data() + y * rowBytes;
        uint8_t* dst = bits + (height - 1 - y) * stride;
        switch (type) {
        case VRX_PIXELS_4BIT:
            for (size_t x = 0; x < rowBytes; ++x) dst[x] = uint8_t(src[x] << 4 | src[x] >> 4);
            break;
        case VRX_PIXELS_8BIT: std::memcpy(dst, src, rowBytes); break;
        case VRX_PIXELS_16BIT:
            for (size_t x = 0; x < width; ++x) {
                const uint32_t v = uint32_t(src[x * 2]) | uint32_t(src[x * 2 + 1]) << 8;
                dst[x * 3] = uint8_t((v >> 10 & 31) << 3);
                dst[x * 3 + 1] = uint8_t((v >> 5 & 31) << 3);
                dst[x * 3 + 2] = uint8_t((v & 31) << 3);
            }
            break;
        default: {
            const size_t step = type == VRX_PIXELS_24BIT ? 3 : 4;
            for (size_t x = 0; x < width; ++x) {
                dst[x * 3] = src[x * step + 2];
                dst[x * 3 + 1] = src[x * step + 1];
                dst[x * 3 + 2] = src[x * step];
            }
            break;
        }
        }
    }
}
