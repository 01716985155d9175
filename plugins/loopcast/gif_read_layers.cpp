#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/message_box.h"
#include "platform/window.h"
#include "plugins/loopcast/gif_frames.h"
#include "plugins/loopcast/gif_io.h"
#include "plugins/loopcast/loopcast_state.h"

namespace {

constexpr const char* kCaption = "载入 GIF";

struct TreeDeleter {
    void operator()(GifFile* f) const { GifFreeFile(f); }
};

uint32_t RowBytes(uint32_t width) { return (width + 3) & ~3u; }

// Every frame becomes a layer of the whole screen. The most a file may make:
// 100 frames at the editor's usual largest image (2048 x 2048). A tiny file
// that declares a big screen and many small images would otherwise take
// gigabytes and many seconds before the editor could refuse its size.
constexpr uint64_t kLayerBytesBudget = uint64_t(kGifMaxFrames) * 2048 * 2048;

// The bytes of the layers the tree would open as.
uint64_t LayerBytes(const GifFile* file) {
    uint64_t frames = 0;
    for (uint32_t b = 0; b < GifBlockCount(file) && frames < kGifMaxFrames; ++b)
        if (GifBlockAt(file, b)->image) ++frames;
    const uint64_t layer = LAYER_HEADER_SIZE + uint64_t(RowBytes(file->screen->width)) * file->screen->height;
    return std::max<uint64_t>(frames, 1) * layer;
}

PaletteEntry Entry(uint32_t rgb) {
    return PaletteEntry{uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 0};
}

MemHandle NewImage(const GifFrameSet& set) {
    MemHandle h = MemAlloc(DIB_INFO_HEADER_SIZE + 256 * sizeof(PaletteEntry) +
                           size_t(RowBytes(set.width)) * set.height);
    MemLockGuard lock(h);
    if (!lock) return nullptr;
    auto* info = lock.as<DibInfoHeader>();
    info->size = DIB_INFO_HEADER_SIZE;
    info->width = int32_t(set.width);
    info->height = int32_t(set.height);
    info->planes = 1;
    info->bitCount = 8;
    return h;
}

void SetImagePalette(MemHandle image, const PaletteEntry* palette) {
    MemLockGuard lock(image);
    std::memcpy(lock.get() + DIB_INFO_HEADER_SIZE, palette, 256 * sizeof(PaletteEntry));
}

void ToEntries(const std::array<uint32_t, 256>& rgb, PaletteEntry* out) {
    for (int i = 0; i < 256; ++i) out[i] = Entry(rgb[size_t(i)]);
}

MemHandle NewLayer(const GifFrameSet& set, int frame, const uint16_t* ids) {
    uint32_t stride = RowBytes(set.width);
    MemHandle h = MemAlloc(LAYER_HEADER_SIZE + size_t(stride) * set.height);
    MemLockGuard lock(h);
    if (!lock) return nullptr;
    auto* head = lock.as<LayerHeader>();
    head->number = uint8_t(frame);
    head->visible = 1;
    head->drawMode = LAYER_DRAW_NORMAL;
    std::snprintf(head->name, sizeof head->name, "图层 %d    ", frame);
    head->right = int32_t(set.width);
    head->bottom = int32_t(set.height);
    // Each pixel's index in its own frame's palette, rows bottom-up.
    for (uint32_t y = 0; y < set.height; ++y) {
        uint8_t* row = lock.get() + LAYER_HEADER_SIZE + size_t(set.height - 1 - y) * stride;
        const uint16_t* src = ids + size_t(y) * set.width;
        for (uint32_t x = 0; x < set.width; ++x) row[x] = uint8_t(src[x]);
    }
    return h;
}

// The frame's colours as a 24-bit picture, rows bottom-up as stored.
void ExpandFrame(const GifFrameSet& set, const uint16_t* ids, uint8_t* rgb) {
    uint32_t stride = (set.width * 3 + 3) & ~3u;
    for (uint32_t y = 0; y < set.height; ++y) {
        uint8_t* row = rgb + size_t(set.height - 1 - y) * stride;
        const uint16_t* src = ids + size_t(y) * set.width;
        for (uint32_t x = 0; x < set.width; ++x) {
            uint32_t c = set.Color(src[x]);
            row[x * 3] = uint8_t(c);
            row[x * 3 + 1] = uint8_t(c >> 8);
            row[x * 3 + 2] = uint8_t(c >> 16);
        }
    }
}

// Reduces the frames, composed again in 24 bits so that every pixel keeps
// the colour of the frame it came from, to one palette through the host's
// engine; the layers receive the new indices. False on any failure.
bool MergePalettes(const ColorReduceTable& r, const GifFile* file, const GifFrameSet& set,
                   const MemHandle* layers, PaletteEntry* merged) {
    if (!r.init || !r.collectColors || !r.prepareNodes || !r.weighPixels || !r.merge || !r.mapPixels ||
        !r.buildPalette || !r.freeBuffers)
        return false;
    std::vector<uint8_t> rgb(size_t((set.width * 3 + 3) & ~3u) * set.height);
    PaletteEntry unused[256] = {};
    auto pass = [&](auto step) {
        GifComposeFrames(file, [&](int frame, const GifFrameSet& s, const uint16_t* ids) {
            ExpandFrame(s, ids, rgb.data());
            step(frame);
        });
    };
    if (!r.init(int32_t(set.width), int32_t(set.height), 256, 24)) {
        r.freeBuffers();
        return false;
    }
    pass([&](int) { r.collectColors(rgb.data(), unused); });
    bool ok = r.prepareNodes() != 0;
    if (ok) {
        pass([&](int) { r.weighPixels(rgb.data(), unused); });
        ok = r.merge() != 0;
    }
    if (ok) {
        pass([&](int frame) {
            MemLockGuard lock(layers[frame]);
            r.mapPixels(rgb.data(), lock.get() + LAYER_HEADER_SIZE, unused);
        });
        r.buildPalette(merged, 0);
    }
    r.freeBuffers();
    return ok;
}

void FreeEverything(PluginImage* image, LoopcastState& state) {
    for (MemHandle& layer : state.layers) {
        if (layer) MemFree(layer);
        layer = nullptr;
    }
    if (image->image) MemFree(image->image);
    image->image = nullptr;
}

enum class Outcome { Done, Failed, Cancelled };

// The images of the file in order. When none has a colour table of its own,
// the frames are composed only once, and each image's pixels can go as soon
// as its frame is in its layer: the file's pixels and the layers are then
// never all held at once.
std::vector<GifImage*> ImagesToRelease(const GifFile* file) {
    std::vector<GifImage*> images;
    for (uint32_t b = 0; b < GifBlockCount(file); ++b) {
        GifImage* im = GifBlockAt(file, b)->image;
        if (!im) continue;
        if (im->hasLocalTable) return {};
        images.push_back(im);
    }
    return images;
}

Outcome BuildDocument(WinHandle host, GifFile* file, PluginImage* image, LoopcastState& state) {
    GifFrameSet header;
    header.width = file->screen->width;
    header.height = file->screen->height;
    image->image = NewImage(header);
    image->colors = 256;
    if (!image->image) return Outcome::Failed;
    bool allocated = true;
    const std::vector<GifImage*> release = ImagesToRelease(file);
    GifFrameSet set = GifComposeFrames(file, [&](int frame, const GifFrameSet& s, const uint16_t* ids) {
        if (allocated) allocated = (state.layers[frame] = NewLayer(s, frame, ids)) != nullptr;
        if (size_t(frame) < release.size()) {
            GifFreeBlock(release[size_t(frame)]->pixels);
            release[size_t(frame)]->pixels = nullptr;
        }
    });
    if (!allocated) return Outcome::Failed;
    if (set.palettes.empty()) {
        // A file without images opens as one empty frame.
        std::vector<uint16_t> blank(size_t(set.width) * set.height, 0);
        set.palettes.push_back(set.global);
        if (!(state.layers[0] = NewLayer(set, 0, blank.data()))) return Outcome::Failed;
    }
    PaletteEntry palette[256];
    ToEntries(set.global, palette);
    SetImagePalette(image->image, palette);
    if (set.truncated) ShowMessageBox(host, "无法载入帧数是 100 以上的帧", kCaption, MB_BTN_OK);
    if (!set.anyLocalTable) return Outcome::Done;

    int answer =
        ShowMessageBox(host, "每帧存在独立的调色板。\n要对单个调色板进行减色吗?", kCaption, MB_BTN_YESNOCANCEL);
    if (answer == MB_ANSWER_YES) {
        PaletteEntry merged[256] = {};
        if (!MergePalettes(state.reduce, file, set, state.layers, merged)) return Outcome::Failed;
        SetImagePalette(image->image, merged);
    } else if (answer == MB_ANSWER_NO) {
        if (set.hasGlobalTable) {
            ShowMessageBox(host, "使用 Global 调色板。\n\n※图像有可能无法正确显示。", kCaption, MB_BTN_OK);
        } else {
            ShowMessageBox(host, "Global调色板不存在。\n使用1号的Local调色板。\n\n※图像有可能无法正确显示。",
                                     kCaption, MB_BTN_OK);
            ToEntries(set.palettes[0], palette);
            SetImagePalette(image->image, palette);
        }
    } else {
        return Outcome::Cancelled;
    }
    return Outcome::Done;
}

}  // namespace

uint16_t GifReadLayers(WinHandle host, PluginPathBuffer* path, PluginImage* image, LoopcastState& state) {
    LoopcastStatus(host, PLUGIN_STATUS_READING);
    image->image = nullptr;
    // Handles of an earlier call belong to the host now.
    std::fill(std::begin(state.layers), std::end(state.layers), nullptr);
    std::fill(std::begin(state.channels), std::end(state.channels), nullptr);
    std::unique_ptr<GifFile, TreeDeleter> tree;
    if (FILE* in = std::fopen(path->path, "rb")) {
        tree.reset(GifReadFile(in));
        std::fclose(in);
    } else {
        path->status = 1;
        LoopcastStatus(host, PLUGIN_STATUS_CLEAR);
        return PLUGIN_RESULT_CANNOT_OPEN;
    }
    if (!tree || tree->screen->width == 0 || tree->screen->height == 0) {
        LoopcastStatus(host, PLUGIN_STATUS_CLEAR);
        return PLUGIN_RESULT_BAD_FORMAT;
    }
    if (LayerBytes(tree.get()) > kLayerBytesBudget) {
        LoopcastStatus(host, PLUGIN_STATUS_CLEAR);
        return PLUGIN_RESULT_NO_MEMORY;
    }
    Outcome outcome;
    try {
        outcome = BuildDocument(host, tree.get(), image, state);
    } catch (const std::bad_alloc&) {
        outcome = Outcome::Failed;
    }
    if (outcome != Outcome::Done) {
        FreeEverything(image, state);
        LoopcastStatus(host, PLUGIN_STATUS_CLEAR);
        return outcome == Outcome::Cancelled ? PLUGIN_RESULT_CANCELLED : PLUGIN_RESULT_NO_MEMORY;
    }
    LoopcastStatus(host, PLUGIN_STATUS_READ_DONE);
    return PLUGIN_RESULT_OK;
}
