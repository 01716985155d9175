#include "gif_peer.h"

#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "plugins/loopcast/gif_io.h"

namespace gifpeer {

namespace {

struct ReadCursor {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int n) {
    auto* c = static_cast<ReadCursor*>(gif->UserData);
    size_t left = c->bytes->size() - c->pos;
    size_t take = std::min(left, size_t(n));
    std::memcpy(out, c->bytes->data() + c->pos, take);
    c->pos += take;
    return int(take);
}

int WriteToMemory(GifFileType* gif, const GifByteType* in, int n) {
    static_cast<std::vector<uint8_t>*>(gif->UserData)->insert(
        static_cast<std::vector<uint8_t>*>(gif->UserData)->end(), in, in + n);
    return n;
}

std::vector<uint32_t> FromMap(const ColorMapObject* map) {
    std::vector<uint32_t> out;
    if (!map) return out;
    for (int i = 0; i < map->ColorCount; ++i)
        out.push_back(uint32_t(map->Colors[i].Red) << 16 | uint32_t(map->Colors[i].Green) << 8 |
                      map->Colors[i].Blue);
    return out;
}

ColorMapObject* ToMap(const std::vector<uint32_t>& palette) {
    if (palette.empty()) return nullptr;
    int count = 2;
    while (count < int(palette.size())) count *= 2;
    std::vector<GifColorType> colors(size_t(count), GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colors[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8), GifByteType(palette[i])};
    return GifMakeMapObject(count, colors.data());
}

uint32_t SizeBits(size_t count) {
    uint32_t bits = 1;
    while ((size_t(1) << bits) < count) ++bits;
    return bits;
}

void FillTable(GifColorTable* table, const std::vector<uint32_t>& palette) {
    uint32_t count = 1u << SizeBits(palette.size());
    GifSetTableSize(table, count);
    std::copy(palette.begin(), palette.end(), table->entries);
}

}  // namespace

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<Picture> PeerDecode(const std::vector<uint8_t>& bytes) {
    ReadCursor cursor{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&cursor, ReadFromMemory, &error);
    if (!gif) return std::nullopt;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return std::nullopt;
    }
    Picture p;
    p.width = gif->SWidth;
    p.height = gif->SHeight;
    p.palette = FromMap(gif->SColorMap);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& s = gif->SavedImages[i];
        Frame f;
        f.left = s.ImageDesc.Left;
        f.top = s.ImageDesc.Top;
        f.width = s.ImageDesc.Width;
        f.height = s.ImageDesc.Height;
        f.interlaced = s.ImageDesc.Interlace;
        f.palette = FromMap(s.ImageDesc.ColorMap);
        if (s.RasterBits) f.indices.assign(s.RasterBits, s.RasterBits + size_t(f.width) * size_t(f.height));
        p.frames.push_back(std::move(f));
    }
    DGifCloseFile(gif, &error);
    return p;
}

std::vector<uint8_t> PeerEncode(const Picture& picture) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    if (!gif) return {};
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = ToMap(picture.palette);
    bool ok = EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, global) == GIF_OK;
    GifFreeMapObject(global);
    for (const Frame& f : picture.frames) {
        if (!ok) break;
        ColorMapObject* local = ToMap(f.palette);
        ok = EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, local) == GIF_OK;
        GifFreeMapObject(local);
        auto* pixels = const_cast<GifPixelType*>(f.indices.data());
        if (f.interlaced) {
            static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4 && ok; ++pass)
                for (int y = kStart[pass]; y < f.height && ok; y += kStep[pass])
                    ok = EGifPutLine(gif, pixels + size_t(y) * size_t(f.width), f.width) == GIF_OK;
        } else {
            ok = ok && EGifPutLine(gif, pixels, f.width * f.height) == GIF_OK;
        }
    }
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) return {};
    return out;
}

GifFile* CodecRead(const std::vector<uint8_t>& bytes) {
    static const uint8_t kNothing = 0;
    FILE* in = fmemopen(const_cast<uint8_t*>(bytes.empty() ? &kNothing : bytes.data()), bytes.size() ? bytes.size() : 1, "rb");
    if (!in) return nullptr;
    if (bytes.empty()) std::fgetc(in);
    GifFile* file = GifReadFile(in);
    std::fclose(in);
    return file;
}

std::vector<uint8_t> CodecWrite(const GifFile* file) {
    char* data = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&data, &size);
    GifWriteFile(out, file);
    std::fclose(out);
    std::vector<uint8_t> bytes(data, data + size);
    free(data);
    return bytes;
}

Picture FromTree(const GifFile* file) {
    Picture p;
    const GifScreen* s = file->screen;
    p.width = int(s->width);
    p.height = int(s->height);
    if (s->hasGlobalTable) p.palette.assign(s->table->entries, s->table->entries + s->table->count);
    for (uint32_t i = 0; i < GifBlockCount(file); ++i) {
        const GifImage* im = GifBlockAt(file, i)->image;
        if (!im) continue;
        Frame f;
        f.left = int(im->left);
        f.top = int(im->top);
        f.width = int(im->width);
        f.height = int(im->height);
        f.interlaced = im->interlaced;
        if (im->hasLocalTable) f.palette.assign(im->table->entries, im->table->entries + im->table->count);
        if (im->pixels) f.indices.assign(im->pixels, im->pixels + GifBlockSize(im->pixels));
        p.frames.push_back(std::move(f));
    }
    return p;
}

GifFile* ToTree(const Picture& picture) {
    GifFile* file = GifNewFile();
    GifScreen* s = file->screen;
    s->width = uint32_t(picture.width);
    s->height = uint32_t(picture.height);
    s->colorResolution = 8;
    s->sizeBits = SizeBits(picture.palette.size());
    s->hasGlobalTable = !picture.palette.empty();
    if (s->hasGlobalTable) FillTable(s->table, picture.palette);
    for (const Frame& f : picture.frames) {
        GifImage* im = GifNewImage();
        im->left = uint32_t(f.left);
        im->top = uint32_t(f.top);
        im->width = uint32_t(f.width);
        im->height = uint32_t(f.height);
        im->interlaced = f.interlaced;
        im->hasLocalTable = !f.palette.empty();
        im->sizeBits = SizeBits(f.palette.empty() ? picture.palette.size() : f.palette.size());
        if (im->hasLocalTable) FillTable(im->table, f.palette);
        im->pixels = static_cast<uint8_t*>(GifAllocBlock(uint32_t(f.indices.size())));
        std::copy(f.indices.begin(), f.indices.end(), im->pixels);
        GifAppendImage(file, im);
    }
    return file;
}

}  // namespace gifpeer
