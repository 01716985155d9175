#include <algorithm>
#include <cstring>

#include "plugins/vorex32/vrx_clut.h"
#include "plugins/vorex32/vrx_image.h"
#include "plugins/vorex32/vrx_lz.h"

namespace {

const DibInfoHeader& Info(const uint8_t* dib) { return *reinterpret_cast<const DibInfoHeader*>(dib); }

size_t Stride(const DibInfoHeader& info) { return (size_t(info.width) * info.bitCount + 31) / 32 * 4; }

int PaletteCount(const DibInfoHeader& info) {
    const uint32_t full = 1u << info.bitCount;
    return int(info.clrUsed && info.clrUsed < full ? info.clrUsed : full);
}

template <class T> void Append(std::vector<uint8_t>& out, const T& block) {
    const auto* p = reinterpret_cast<const uint8_t*>(&block);
    out.insert(out.end(), p, p + sizeof block);
}

// The pixel data, rows top-down: 4-bit bytes with the first pixel in the low
// nibble; a multi-CLUT image as 4 bits of each index.
std::vector<uint8_t> FilePixels(const uint8_t* bits, const DibInfoHeader& info, bool multiClut) {
    const size_t width = size_t(info.width), height = size_t(info.height), stride = Stride(info);
    const size_t rowBytes = info.bitCount == 4 || multiClut ? width / 2 : width;
    std::vector<uint8_t> out(rowBytes * height);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = bits + (height - 1 - y) * stride;
        uint8_t* dst = out.data() + y * rowBytes;
        if (multiClut) {
            for (size_t x = 0; x < rowBytes; ++x) dst[x] = uint8_t((src[x * 2] & 15) | (src[x * 2 + 1] & 15) << 4);
        } else if (info.bitCount == 4) {
            for (size_t x = 0; x < rowBytes; ++x) dst[x] = uint8_t(src[x] << 4 | src[x] >> 4);
        } else {
            std::memcpy(dst, src, rowBytes);
        }
    }
    return out;
}

}  // namespace

VrxWriteFault VrxCheckImage(const uint8_t* dib, size_t size, const VrxWriteOptions& options) {
    if (size < DIB_INFO_HEADER_SIZE) return VrxWriteFault::Unsupported;
    const DibInfoHeader& info = Info(dib);
    if (info.size != DIB_INFO_HEADER_SIZE || info.compression != 0) return VrxWriteFault::Unsupported;
    if ((info.bitCount != 4 && info.bitCount != 8) || info.width <= 0 || info.height <= 0 ||
        info.width > kVrxMaxSide || info.height > kVrxMaxSide)
        return VrxWriteFault::Unsupported;
    const size_t needed = DIB_INFO_HEADER_SIZE + size_t(PaletteCount(info)) * sizeof(PaletteEntry) +
                          Stride(info) * size_t(info.height);
    if (size < needed) return VrxWriteFault::Unsupported;
    if (info.bitCount == 4 && info.width % 8) return VrxWriteFault::Width16Colors;
    if (info.bitCount != 4 && info.width % 4) return VrxWriteFault::Width256Colors;
    if (options.multiClut && info.bitCount != 8) return VrxWriteFault::MultiClutColors;
    if (options.multiClut && info.width % 8) return VrxWriteFault::MultiClutWidth;
    return VrxWriteFault::None;
}

const char* VrxWriteFaultMessage(VrxWriteFault fault) {
    switch (fault) {
    case VrxWriteFault::Width16Colors: return "不能写入宽度不是 8 的倍数的 16 色数据到 vrx 中。";
    case VrxWriteFault::Width256Colors: return "不能写入宽度不是 4 的倍数的 256 色数据到 vrx 中。";
    case VrxWriteFault::MultiClutColors: return "maruchikuratto 只能以 256 色数据输出。";
    case VrxWriteFault::MultiClutWidth: return "不能写入 maruchikuratto 的宽度不是 8 的倍数的 vrx。";
    default: return nullptr;
    }
}

std::vector<uint8_t> VrxWriteImage(const uint8_t* dib, size_t size, const VrxWriteOptions& options) {
    const DibInfoHeader& info = Info(dib);
    const bool fourBit = info.bitCount == 4 || options.multiClut;
    const int paletteCount = PaletteCount(info);
    PaletteEntry palette[256] = {};
    std::memcpy(palette, dib + DIB_INFO_HEADER_SIZE, size_t(paletteCount) * sizeof(PaletteEntry));

    // CLUT: 16 colours linear, 256 swizzled; multi-CLUT all 256 linearly as
    // sixteen CLUTs of 16.
    const int clutEntries = info.bitCount == 4 ? 16 : 256;
    std::vector<uint8_t> clut(size_t(clutEntries) * VrxEntrySize(options.entryType));
    VrxPaletteToClut(palette, clutEntries, options.entryType, clutEntries == 256 && !options.multiClut,
                     clut.data());
    std::vector<uint8_t> clutStream;
    VrxCompress(clut.data(), clut.size(), clutStream);

    std::vector<uint8_t> pixels =
        FilePixels(dib + DIB_INFO_HEADER_SIZE + size_t(paletteCount) * sizeof(PaletteEntry), info,
                   options.multiClut);
    std::vector<uint8_t> pixelStream;
    const bool compressed = options.compressed && VrxCompress(pixels.data(), pixels.size(), pixelStream);
    const std::vector<uint8_t>& pixelData = compressed ? pixelStream : pixels;

    VrxFileHeader header{};
    std::memcpy(header.magic, "VRXF", 4);
    header.compressed = compressed ? 1 : 0;
    header.version = options.version;
    header.flags = options.flags;
    header.lodMode = options.lodMode;
    header.lodL = options.lodL;
    header.lodK = options.lodK;
    header.height = options.height;
    header.secondK = options.secondK;

    VrxImageBlock image{};
    image.dataOffset = uint32_t(kVrxClutDataOffset + clutStream.size());
    image.vramPos = options.pixelPos;
    image.type = fourBit ? VRX_PIXELS_4BIT : VRX_PIXELS_8BIT;
    image.format = fourBit ? 2 : 4;
    image.byteCount = uint32_t(pixelData.size());
    image.width = info.width;
    image.height = info.height;

    VrxClutBlock block{};
    block.dataOffset = uint32_t(kVrxClutDataOffset);
    block.vramPos = options.clutPos;
    block.entryType = options.entryType;
    block.order = VRX_ORDER_SWIZZLED;
    block.byteCount = uint32_t(clutStream.size());
    block.colors = fourBit ? 16 : 256;
    block.count = options.multiClut ? 16 : 1;

    std::vector<uint8_t> file;
    file.reserve(kVrxClutDataOffset + clutStream.size() + pixelData.size());
    Append(file, header);
    Append(file, image);
    Append(file, block);
    file.insert(file.end(), clutStream.begin(), clutStream.end());
    file.insert(file.end(), pixelData.begin(), pixelData.end());
    return file;
}
