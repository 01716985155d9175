#include "plugin_host/image_file_read.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "document/doc_limits.h"
#include "document/palette_from_image.h"
#include "framework/wait_cursor.h"
#include "imaging/dib_geometry.h"
#include "imaging/layer_stack.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/block_checks.h"
#include "plugin_host/format_plugins.h"
#include "plugin_host/host_messages.h"
#include "plugin_host/lent_color_reduce.h"
#include "plugin_host/plugin_frame.h"

namespace plugin_host {
namespace {

const char* const kUnreadable = "文件无法读取。";

// What the plug-in hands over after its read, each handle once and never
// the picture itself: the layers in GetLayer's order, then the channels and
// the underlay, which a picture read has no use for.
struct OfferedBlocks {
    std::vector<MemHandle> layers;
    std::vector<MemHandle> others;
    // A layer offered twice.
    bool repeated = false;
};

OfferedBlocks CollectOffered(const platform::Module& library, MemHandle picture) {
    OfferedBlocks out;
    std::vector<MemHandle> seen{picture};
    auto isNew = [&](MemHandle h) {
        if (!h || std::find(seen.begin(), seen.end(), h) != seen.end()) return false;
        seen.push_back(h);
        return true;
    };
    if (auto getLayer = library.symbol<PluginGetBlockFn>("GetLayer")) {
        for (int32_t i = 0; i < document::kLayerSlots; ++i) {
            int32_t index = i;
            MemHandle h = getLayer(&index);
            if (isNew(h)) out.layers.push_back(h);
            else if (h) out.repeated = true;
        }
    }
    if (auto getChannel = library.symbol<PluginGetBlockFn>("GetChannel")) {
        for (int32_t i = 0; i < document::kChannelSlots; ++i) {
            int32_t index = i;
            MemHandle h = getChannel(&index);
            if (isNew(h)) out.others.push_back(h);
        }
    }
    if (auto getSitae = library.symbol<PluginGetBlockFn>("GetSitae")) {
        int32_t arg = 99;
        MemHandle h = getSitae(&arg);
        if (isNew(h)) out.others.push_back(h);
    }
    return out;
}

void FreeBlocks(const std::vector<MemHandle>& blocks) {
    for (MemHandle h : blocks)
        if (MemIsValid(h)) MemFree(h);
}

// The layers that fit the picture, composed into its pixels by the drawing
// core's rule. False when layers came and none fits. `refused` is set for a
// layer that does not fit.
bool ComposeOfferedLayers(MemHandle picture, int width, int height, const std::vector<MemHandle>& layers,
                          bool* refused) {
    std::vector<MemHandle> fitting;
    for (MemHandle h : layers) {
        if (LayerFitsImage(h, width, height)) fitting.push_back(h);
        else *refused = true;
    }
    if (fitting.empty()) return layers.empty();
    dib::LockedDib dib(picture);
    if (!dib || dib.geo().bitCount != 8) return true;
    tools::LayerStack stack;
    stack.composite = dib.bits();
    stack.width = width;
    stack.height = height;
    stack.stride = dib::LayerRowBytes(width);
    stack.hasLayers = true;
    std::vector<std::unique_ptr<MemLockGuard>> locks;
    for (MemHandle h : fitting) {
        auto lock = std::make_unique<MemLockGuard>(h);
        stack.layers.push_back({lock->as<LayerHeader>(), lock->get() + LAYER_HEADER_SIZE});
        locks.push_back(std::move(lock));
    }
    tools::RecomposeLayers(stack);
    return true;
}

struct ReadResult {
    PluginPicture picture;
    const char* message = nullptr;
};

ReadResult Read(const QString& path, OfferedLayers use) {
    platform::Module library;
    std::string libraryPath;
    if (!LoadFormatPluginFor(path, path.toUpper(), PluginListMode::Reading, false, library, libraryPath)) {
        // The unsupported extension has had its message; a library that
        // cannot be loaded reads nothing.
        return {{}, libraryPath.empty() ? nullptr : kUnreadable};
    }
    WinHandle mainWindow = PluginFrame::Get().PluginParentWindow();
    const char* own = libraryPath.c_str();
    PluginImage image{};
    auto drop = [&image](const char* message) {
        if (image.image && MemIsValid(image.image)) MemFree(image.image);
        return ReadResult{{}, message};
    };

    PluginPathBuffer pathBuffer;
    if (!PluginPathBufferSet(&pathBuffer, path.toUtf8().constData())) return drop(kUnreadable);
    if (auto dlgIn = library.symbol<PluginImportDlgInFn>("ImportDlgIn")) {
        PluginPathBuffer copy = pathBuffer;
        if (dlgIn(mainWindow, &copy, &image, own) != 0) return drop(kUnreadable);
    }
    if (auto setGenshoku = library.symbol<PluginSetGenshokuFn>("SetGenshoku")) {
        for (int32_t i = 0; i < COLOR_REDUCE_SLOTS; ++i)
            setGenshoku(ColorReduceTableGet(&LentColorReduceTable(), i), i);
    }
    auto importGR = library.symbol<PluginImportFn>("ImportGR");
    if (!importGR) return drop(kUnreadable);
    image.image = nullptr;
    const uint16_t code = importGR(mainWindow, &pathBuffer, &image, own);

    // From here every block the plug-in made is ours to free.
    OfferedBlocks offered = CollectOffered(library, image.image);
    FreeBlocks(offered.others);
    auto fail = [&](const char* message) {
        FreeBlocks(offered.layers);
        return drop(message);
    };
    if (code == PLUGIN_RESULT_CANCELLED) return fail(nullptr);
    if (code != PLUGIN_RESULT_OK || !image.image) return fail(kUnreadable);
    const char* badFormat = PluginResultMessage(PLUGIN_RESULT_BAD_FORMAT, 0);
    int width = 0, height = 0;
    if (!DeliveredImageFits(image.image, &width, &height)) return fail(badFormat);

    bool refused = offered.repeated;
    if (use == OfferedLayers::ComposedIntoPicture &&
        !ComposeOfferedLayers(image.image, width, height, offered.layers, &refused))
        return fail(badFormat);
    FreeBlocks(offered.layers);
    return {{image.image, image.colors}, refused ? badFormat : nullptr};
}

}  // namespace

PluginPicture ReadPictureFile(const QString& path, OfferedLayers layers) {
    ReadResult result;
    {
        framework::WaitCursor wait;
        result = Read(path, layers);
    }
    if (result.message) ShowPluginInfo(QString::fromUtf8(result.message));
    return result.picture;
}

}  // namespace plugin_host

namespace document {

int LoadPaletteFromImageFile(const QString& path) {
    using namespace plugin_host;
    PluginPicture picture = ReadPictureFile(path, OfferedLayers::Freed);
    if (!picture.image) return 0;
    const int colors = picture.colors;
    if (colors == 16 || colors == 256) FillWorkingPaletteFromDib(picture.image, colors);
    MemFree(picture.image);
    if (colors == 16 || colors == 256) return 1;
    ShowPluginInfo(QStringLiteral("指定的图象是 256 色以上的图象"));
    return 0;
}

}  // namespace document
