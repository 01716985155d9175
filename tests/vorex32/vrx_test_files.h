// Small VRX files and DIBs for the tests, made with the plug-in's own writer.
#pragma once

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plugins/vorex32/vrx_image.h"
#include "plugins/vorex32/vrx_lz.h"

namespace vrxtest {

using Bytes = std::vector<uint8_t>;

// A packed DIB of `bits` (4 or 8) with `colors` palette entries; pixels[y * w + x]
// are indexes, y from the top.
inline Bytes MakeDib(int width, int height, int bits, const std::vector<PaletteEntry>& palette,
                     const Bytes& pixels) {
    const size_t stride = (size_t(width) * bits + 31) / 32 * 4;
    const size_t entries = size_t(1) << bits;
    Bytes dib(DIB_INFO_HEADER_SIZE + entries * 4 + stride * size_t(height));
    DibInfoHeader info{};
    info.size = DIB_INFO_HEADER_SIZE;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitCount = uint16_t(bits);
    std::memcpy(dib.data(), &info, sizeof info);
    std::memcpy(dib.data() + DIB_INFO_HEADER_SIZE, palette.data(), std::min(palette.size(), entries) * 4);
    uint8_t* rows = dib.data() + DIB_INFO_HEADER_SIZE + entries * 4;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rows + size_t(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const uint8_t v = pixels[size_t(y) * width + x];
            if (bits == 8)
                row[x] = v;
            else
                row[x / 2] |= uint8_t(x % 2 ? v & 15 : (v & 15) << 4);
        }
    }
    return dib;
}

inline std::vector<PaletteEntry> Palette(int colors, uint8_t alpha = 0) {
    std::vector<PaletteEntry> p(static_cast<size_t>(colors));
    for (int i = 0; i < colors; ++i)
        p[size_t(i)] = PaletteEntry{uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3 + 1), uint8_t(i % 2 ? alpha : 0)};
    return p;
}

inline Bytes Pattern(int width, int height, int colors) {
    Bytes p(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p[size_t(y) * width + x] = uint8_t((x / 3 + y * 5) % colors);
    return p;
}

inline Bytes WriteVrx(const Bytes& dib, const VrxWriteOptions& options = {}) {
    return VrxWriteImage(dib.data(), dib.size(), options);
}

inline Bytes Random(size_t n, uint32_t seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (uint8_t& v : b) v = uint8_t(rng() % unsigned(alphabet));
    return b;
}

// A direct-colour file (types 2 to 4) of width x height, pixels raw or
// compressed; pixel (x, y) has red x * 8, green y * 8, blue 64.
inline Bytes DirectVrx(uint32_t type, int width, int height, bool compressed) {
    const size_t bpp = type == VRX_PIXELS_16BIT ? 2 : type == VRX_PIXELS_24BIT ? 3 : 4;
    Bytes pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t r = uint8_t(x * 8), g = uint8_t(y * 8), b = 64;
            if (bpp == 2) {
                uint32_t v = uint32_t(r >> 3) | uint32_t(g >> 3) << 5 | uint32_t(b >> 3) << 10;
                pixels.push_back(uint8_t(v));
                pixels.push_back(uint8_t(v >> 8));
            } else {
                pixels.insert(pixels.end(), {r, g, b});
                if (bpp == 4) pixels.push_back(200);
            }
        }
    Bytes data = pixels;
    if (compressed) VrxCompress(pixels.data(), pixels.size(), data);
    VrxFileHeader h{};
    std::memcpy(h.magic, "VRXF", 4);
    h.compressed = compressed ? 1 : 0;
    h.version = kVrxVersion;
    VrxImageBlock im{};
    im.dataOffset = uint32_t(kVrxClutBlockOffset);
    im.vramPos = -1;
    im.type = type;
    im.byteCount = uint32_t(data.size());
    im.width = width;
    im.height = height;
    Bytes file(reinterpret_cast<const uint8_t*>(&h), reinterpret_cast<const uint8_t*>(&h) + sizeof h);
    file.insert(file.end(), reinterpret_cast<const uint8_t*>(&im), reinterpret_cast<const uint8_t*>(&im) + sizeof im);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

template <class T> void Poke(Bytes& file, size_t offset, T value) {
    std::memcpy(file.data() + offset, &value, sizeof value);
}

}  // namespace vrxtest
