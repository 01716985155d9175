// File-format plug-ins for the tests, built from this one source in several
// variants (see CMakeLists.txt):
//   KVT_TRIVIAL     reads and writes the trivial format below
//   KVT_SCRIPT      reads a text script that says what to hand over
//   KVT_NO_INFO     has no GetInfo
//   KVT_NO_CHECK    has no GetFilterCheck
//   KVT_CANCEL_OUT  its options dialog stops every save
//   KVT_FAIL_WRITE  writes half a file, then reports a write error
//   KVT_STOP_IN     its reading options dialog stops every read
// KVT_INFO is the GetInfo text, KVT_FLAGS the GetFilterCheck bytes.
//
// Trivial format: "KVT1", int32 colours, uint32 image size, the image block,
// int32 layer count, per layer uint32 size and the block, int32 current
// layer, int32 underlay flag.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "plugin_api/plugin_api.h"

namespace {

std::vector<MemHandle> g_layers;        // handed over by GetLayer
std::vector<MemHandle> g_channels;
MemHandle g_underlay = nullptr;
int g_editLayer = -1;
std::vector<std::vector<uint8_t>> g_savedLayers;  // copied in SetLayer
int32_t g_savedEdit = -1;
int32_t g_savedUnderlayFlag = 0;
int g_genshokuCalls = 0;

std::vector<uint8_t> BlockBytes(MemHandle h) {
    MemLockGuard lock(h);
    if (!lock) return {};
    return std::vector<uint8_t>(lock.get(), lock.get() + lock.size());
}

MemHandle BlockFrom(const uint8_t* data, size_t size) {
    MemHandle h = MemAlloc(size);
    MemLockGuard lock(h);
    if (lock) std::memcpy(lock.get(), data, size);
    return h;
}

MemHandle MakeDib(int width, int height, int bits, int fill) {
    int entries = bits <= 8 ? 1 << bits : 0;
    size_t row = size_t((width * bits + 31) / 32 * 4);
    MemHandle h = MemAlloc(40 + size_t(entries) * 4 + row * size_t(height));
    MemLockGuard lock(h);
    auto* info = lock.as<DibInfoHeader>();
    info->size = 40;
    info->width = width;
    info->height = height;
    info->planes = 1;
    info->bitCount = uint16_t(bits);
    auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
    for (int i = 0; i < entries; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(255 - i), 0};
    if (bits == 8) std::memset(lock.get() + 40 + entries * 4, fill, row * size_t(height));
    return h;
}

MemHandle MakeLayer(int width, int height, size_t blockSize, int number) {
    MemHandle h = MemAlloc(blockSize);
    MemLockGuard lock(h);
    auto* header = lock.as<LayerHeader>();
    header->number = uint8_t(number);
    header->visible = 1;
    header->right = width;
    header->bottom = height;
    std::snprintf(header->name, sizeof header->name, "file layer %d", number);
    return h;
}

// One script command per line.
[[maybe_unused]] uint16_t RunScript(const char* path, PluginImage* image) {
    FILE* f = std::fopen(path, "r");
    if (!f) return PLUGIN_RESULT_CANNOT_OPEN;
    char word[32];
    uint16_t result = PLUGIN_RESULT_OK;
    while (std::fscanf(f, "%31s", word) == 1) {
        std::string w = word;
        int a = 0, b = 0, c = 0, d = 0;
        if (w == "code" && std::fscanf(f, "%d", &a) == 1) {
            result = uint16_t(a);
        } else if (w == "image" && std::fscanf(f, "%d %d %d %d", &a, &b, &c, &d) == 4) {
            image->image = MakeDib(a, b, d, 0);
            image->colors = c;
        } else if (w == "pixels" && std::fscanf(f, "%d", &a) == 1) {
            MemLockGuard lock(image->image);
            auto* info = lock.as<DibInfoHeader>();
            std::memset(lock.get() + 40 + 1024, a, size_t((info->width + 3) & ~3) * size_t(info->height));
        } else if (w == "badheader") {
            MemLockGuard lock(image->image);
            lock.as<DibInfoHeader>()->height *= 4;
        } else if (w == "layer" && std::fscanf(f, "%d %d", &a, &b) == 2) {
            int n = int(g_layers.size());
            g_layers.push_back(MakeLayer(a, b, 88 + size_t((a + 3) & ~3) * size_t(b), n));
        } else if (w == "shortlayer" && std::fscanf(f, "%d %d", &a, &b) == 2) {
            g_layers.push_back(MakeLayer(a, b, 88 + 10, int(g_layers.size())));
        } else if (w == "nolayer") {
            g_layers.push_back(nullptr);
        } else if (w == "sameagain") {
            g_layers.push_back(g_layers.back());
        } else if (w == "editlayer" && std::fscanf(f, "%d", &a) == 1) {
            g_editLayer = a;
        } else if (w == "channel" && std::fscanf(f, "%d", &a) == 1) {
            if (int(g_channels.size()) <= a) g_channels.resize(size_t(a) + 1);
            g_channels[size_t(a)] = MemAlloc(16);
        } else if (w == "underlay" && std::fscanf(f, "%d %d", &a, &b) == 2) {
            g_underlay = MakeDib(a, b, 8, 1);
        }
    }
    std::fclose(f);
    return result;
}

[[maybe_unused]] uint16_t ReadTrivial(const char* path, PluginImage* image) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return PLUGIN_RESULT_CANNOT_OPEN;
    auto readInt = [&](uint32_t* v) { return std::fread(v, 4, 1, f) == 1; };
    char magic[4];
    uint32_t colors = 0, size = 0, count = 0, edit = 0, underlayFlag = 0;
    uint16_t code = PLUGIN_RESULT_BAD_FORMAT;
    if (std::fread(magic, 4, 1, f) == 1 && std::memcmp(magic, "KVT1", 4) == 0 && readInt(&colors) &&
        readInt(&size) && size < (64u << 20)) {
        std::vector<uint8_t> bytes(size);
        if (std::fread(bytes.data(), 1, size, f) == size && readInt(&count) && count <= 100) {
            image->image = BlockFrom(bytes.data(), size);
            image->colors = int32_t(colors);
            code = PLUGIN_RESULT_OK;
            for (uint32_t i = 0; i < count && code == PLUGIN_RESULT_OK; ++i) {
                uint32_t n = 0;
                std::vector<uint8_t> layer;
                if (readInt(&n) && n < (64u << 20)) layer.resize(n);
                if (layer.empty() || std::fread(layer.data(), 1, n, f) != n) code = PLUGIN_RESULT_READ_ERROR;
                else g_layers.push_back(BlockFrom(layer.data(), n));
            }
            if (readInt(&edit)) g_editLayer = int(edit);
            if (readInt(&underlayFlag)) (void)underlayFlag;
        }
    }
    std::fclose(f);
    return code;
}

[[maybe_unused]] uint16_t WriteTrivial(const char* path, const PluginImage* image) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return PLUGIN_RESULT_CANNOT_OPEN;
    std::vector<uint8_t> dib = BlockBytes(image->image);
    auto writeInt = [&](uint32_t v) { std::fwrite(&v, 4, 1, f); };
    std::fwrite("KVT1", 4, 1, f);
    writeInt(uint32_t(image->colors));
    writeInt(uint32_t(dib.size()));
    std::fwrite(dib.data(), 1, dib.size(), f);
    writeInt(uint32_t(g_savedLayers.size()));
    for (const auto& layer : g_savedLayers) {
        writeInt(uint32_t(layer.size()));
        std::fwrite(layer.data(), 1, layer.size(), f);
    }
    writeInt(uint32_t(g_savedEdit));
    writeInt(uint32_t(g_savedUnderlayFlag));
    bool ok = std::fclose(f) == 0;
    return ok ? PLUGIN_RESULT_OK : PLUGIN_RESULT_WRITE_ERROR;
}

}  // namespace

#ifndef KVT_NO_INFO
KV_PLUGIN_EXPORT const char* GetInfo(void) { return KVT_INFO; }
#endif

#ifndef KVT_NO_CHECK
KV_PLUGIN_EXPORT const FilterCheckFlags* GetFilterCheck(void) {
    static const FilterCheckFlags flags = {KVT_FLAGS};
    return &flags;
}
#endif

KV_PLUGIN_EXPORT void SetGenshoku(ColorReduceFn function, int32_t index) {
    if (function && index == g_genshokuCalls) ++g_genshokuCalls;
}

KV_PLUGIN_EXPORT uint16_t ImportGR(WinHandle, PluginPathBuffer* path, PluginImage* image, const char*) {
    // The host lends all ten reduction slots, in order, before every read.
    if (g_genshokuCalls != COLOR_REDUCE_SLOTS) return 7;
#ifdef KVT_SCRIPT
    return RunScript(path->path, image);
#else
    return ReadTrivial(path->path, image);
#endif
}

KV_PLUGIN_EXPORT MemHandle GetLayer(int32_t* index) {
    return *index < int32_t(g_layers.size()) ? g_layers[size_t(*index)] : nullptr;
}

KV_PLUGIN_EXPORT int8_t GetEditLayerCheck(int32_t* index) {
    return *index == 99 ? int8_t(g_editLayer < 0 ? 0 : g_editLayer) : int8_t(-1);
}

KV_PLUGIN_EXPORT MemHandle GetChannel(int32_t* index) {
    return *index < int32_t(g_channels.size()) ? g_channels[size_t(*index)] : nullptr;
}

KV_PLUGIN_EXPORT MemHandle GetSitae(int32_t*) { return g_underlay; }
KV_PLUGIN_EXPORT int8_t GetSitaeCheck(int32_t*) { return 1; }

#ifdef KVT_STOP_IN
extern "C" KV_PLUGIN_EXPORT uint16_t ImportDlgIn(WinHandle, PluginPathBuffer*, void*, const char*) { return 1; }
#endif

#ifdef KVT_CANCEL_OUT
KV_PLUGIN_EXPORT uint16_t ImportDlgOut(WinHandle, PluginPathBuffer*, PluginImage*, const char*) {
    return 8;
}
#endif

KV_PLUGIN_EXPORT void SetLayer(const PluginSlot* slot) {
    if (slot->index == int32_t(g_savedLayers.size())) g_savedLayers.push_back(BlockBytes(slot->image));
}
KV_PLUGIN_EXPORT void SetEditLayerCheck(int32_t index) { g_savedEdit = index; }
KV_PLUGIN_EXPORT void SetSitaeCheck(int32_t flag) { g_savedUnderlayFlag = flag; }

KV_PLUGIN_EXPORT uint16_t ImportGW(WinHandle, PluginPathBuffer* path, PluginImage* image, const char*) {
#ifdef KVT_FAIL_WRITE
    FILE* f = std::fopen(path->path, "wb");
    if (f) {
        std::fwrite("KVT1 half", 9, 1, f);
        std::fclose(f);
    }
    return PLUGIN_RESULT_WRITE_ERROR;
#else
    return WriteTrivial(path->path, image);
#endif
}
