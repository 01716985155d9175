// Loopcast.FLT through the real loading path: the library is loaded from the
// program directory, its exports are bound by name and called as the host
// calls them.
#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "gif_peer.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "platform/module.h"
#include "platform/window.h"
#include "plugin_api/plugin_api.h"
#include "plugins/loopcast/gif_io.h"
#include "test_support.h"

namespace {

using Pixels = std::vector<uint8_t>;

// A frame of a test file.
struct TestFrame {
    int left = 0, top = 0, width = 0, height = 0;
    Pixels pixels;
    std::vector<uint32_t> local;  // own palette when not empty
    bool control = false;         // with a graphic control extension
    int disposal = 0;
    bool transparent = false;
    int transparentIndex = 0;
};

struct TestGif {
    int width = 4, height = 2;
    std::vector<uint32_t> global = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    std::vector<TestFrame> frames;
    const char* signature = "GIF89a";
};

std::string WriteGif(const std::string& path, const TestGif& doc) {
    gifpeer::Picture p;
    p.width = doc.width;
    p.height = doc.height;
    p.palette = doc.global;
    for (const TestFrame& f : doc.frames)
        p.frames.push_back({f.left, f.top, f.width, f.height, false, f.local, f.pixels});
    GifFile* tree = gifpeer::ToTree(p);
    std::strcpy(tree->signature, doc.signature);
    // Put each frame's graphic control in front of its image.
    void* blocks = tree->blocks;
    tree->blocks = nullptr;
    for (size_t i = 0; i < doc.frames.size(); ++i) {
        const TestFrame& f = doc.frames[i];
        if (f.control) {
            GifExtension* e = GifNewExtension(kGifGraphicControlLabel);
            const uint8_t gce[4] = {uint8_t(f.disposal << 2 | (f.transparent ? 1 : 0)), 10, 0,
                                    uint8_t(f.transparentIndex)};
            GifAppendSubBlock(e, gce, 4);
            GifAppendExtension(tree, e);
        }
        GifListAppend(&tree->blocks, GifListAt<void>(blocks, uint32_t(i)));
    }
    GifFreeBlock(blocks);
    FILE* out = std::fopen(path.c_str(), "wb");
    GifWriteFile(out, tree);
    std::fclose(out);
    GifFreeFile(tree);
    return path;
}

// Exact stand-in for the host's colour reduction: every distinct colour
// becomes one palette entry in the order first seen.
struct ExactReducer {
    static inline std::vector<uint32_t> colors;
    static inline int width = 0, height = 0, calls = 0;
    static uint32_t At(const uint8_t* rgb, int x, int y) {
        const uint8_t* p = rgb + size_t(y) * ((width * 3 + 3) & ~3) + size_t(x) * 3;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    static int32_t Init(int32_t w, int32_t h, int32_t c, int32_t bits) {
        colors.clear();
        width = w;
        height = h;
        ++calls;
        return bits == 24 && c == 256;
    }
    static void Collect(const uint8_t* rgb, const PaletteEntry*) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (std::find(colors.begin(), colors.end(), At(rgb, x, y)) == colors.end())
                    colors.push_back(At(rgb, x, y));
    }
    static int32_t Ok() { return 1; }
    static void Weigh(const uint8_t*, const PaletteEntry*) {}
    static void Map(const uint8_t* rgb, uint8_t* out, const PaletteEntry*) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out[size_t(y) * ((width + 3) & ~3) + size_t(x)] =
                    uint8_t(std::find(colors.begin(), colors.end(), At(rgb, x, y)) - colors.begin());
    }
    static void Build(PaletteEntry* palette, int32_t) {
        for (size_t i = 0; i < colors.size() && i < 256; ++i)
            palette[i] = {uint8_t(colors[i]), uint8_t(colors[i] >> 8), uint8_t(colors[i] >> 16), 0};
    }
    static void Free() {}
};

class Loopcast : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        Load();
        host_ = WinCreate(
            [](void* self, WinHandle, uint32_t message, WinWParam w, WinLParam) -> WinResult {
                if (message == WM_PLUGIN_STATUS) static_cast<Loopcast*>(self)->statuses_.push_back(int(w));
                return 0;
            },
            this);
        blocksBefore_ = MemBlockCount();
    }
    void TearDown() override {
        FreeResult();
        module_ = platform::Module();
        WinDestroy(host_);
    }

    void Load() {
        module_ = platform::Module(LOOPCAST_PATH);
        ASSERT_TRUE(module_) << ModLastError();
    }
    template <class F> F Export(const char* name) {
        auto f = module_.symbol<F>(name);
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
    std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }

    // Opens a file as the host does: lends the reduction slots, calls ImportGR
    // and takes the layers.
    uint16_t Open(const std::string& path) {
        FreeResult();
        auto setGenshoku = Export<PluginSetGenshokuFn>("SetGenshoku");
        ColorReduceTable r{};
        r.init = ExactReducer::Init;
        r.collectColors = ExactReducer::Collect;
        r.prepareNodes = ExactReducer::Ok;
        r.weighPixels = ExactReducer::Weigh;
        r.merge = ExactReducer::Ok;
        r.mapPixels = ExactReducer::Map;
        r.buildPalette = ExactReducer::Build;
        r.freeBuffers = ExactReducer::Free;
        for (int i = 0; i < COLOR_REDUCE_SLOTS; ++i) setGenshoku(ColorReduceTableGet(&r, i), i);
        PluginPathBufferSet(&pathBuffer_, path.c_str());
        image_ = PluginImage{};
        statuses_.clear();
        uint16_t result = Export<PluginImportFn>("ImportGR")(host_, &pathBuffer_, &image_, LOOPCAST_PATH);
        auto getLayer = Export<PluginGetBlockFn>("GetLayer");
        for (int32_t i = 0; i < 100; ++i)
            if (MemHandle layer = getLayer(&i)) layers_.push_back(layer);
        return result;
    }
    void FreeResult() {
        for (MemHandle h : layers_) MemFree(h);
        layers_.clear();
        if (image_.image) MemFree(image_.image);
        image_.image = nullptr;
    }

    // Layer pixels top-down, width x height.
    Pixels LayerPixels(size_t i, int width, int height) const {
        MemLockGuard lock(layers_.at(i));
        const int stride = (width + 3) & ~3;
        Pixels out;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = lock.get() + LAYER_HEADER_SIZE + size_t(height - 1 - y) * stride;
            out.insert(out.end(), row, row + width);
        }
        return out;
    }
    uint32_t ImageColor(int index) const {
        MemLockGuard lock(image_.image);
        const auto* e = reinterpret_cast<const PaletteEntry*>(lock.get() + DIB_INFO_HEADER_SIZE) + index;
        return uint32_t(e->red) << 16 | uint32_t(e->green) << 8 | e->blue;
    }

    QTemporaryDir dir_;
    platform::Module module_;
    WinHandle host_ = nullptr;
    std::vector<int> statuses_;
    PluginPathBuffer pathBuffer_{};
    PluginImage image_{};
    std::vector<MemHandle> layers_;
    size_t blocksBefore_ = 0;
};

TEST_F(Loopcast, ExportsAndEmptyStatics) {
    EXPECT_STREQ(Export<PluginGetInfoFn>("GetInfo")(), "Gif 文件(*.GIF)/*.gif");
    const FilterCheckFlags* flags = Export<PluginGetFilterCheckFn>("GetFilterCheck")();
    EXPECT_EQ(flags->readWrite, 3);
    EXPECT_EQ(flags->layers, 3);
    MemHandle block = MemAlloc(16);
    PluginSlot slot{5, block, block};
    Export<PluginSetSlotFn>("SetLayer")(&slot);
    Export<PluginSetSlotFn>("SetChannel")(&slot);
    int32_t five = 5, outside = 100, negative = -1;
    EXPECT_EQ(Export<PluginGetBlockFn>("GetLayer")(&five), block);
    EXPECT_EQ(Export<PluginGetBlockFn>("GetChannel")(&five), block);
    EXPECT_EQ(Export<PluginGetBlockFn>("GetLayer")(&outside), nullptr);
    EXPECT_EQ(Export<PluginGetBlockFn>("GetChannel")(&negative), nullptr);
    // A new load starts with empty tables.
    module_ = platform::Module();
    Load();
    EXPECT_EQ(Export<PluginGetBlockFn>("GetLayer")(&five), nullptr);
    EXPECT_EQ(Export<PluginGetBlockFn>("GetChannel")(&five), nullptr);
    MemFree(block);
}

TEST_F(Loopcast, OpensFramesComposedByDisposal) {
    const Pixels full = {1, 1, 1, 1, 1, 1, 1, 1};
    struct Case {
        const char* name;
        TestGif file;
        std::vector<Pixels> layers;
    };
    auto frame = [](int left, int top, int w, int h, Pixels px, bool control = false, int disposal = 0,
                    bool transparent = false, int index = 0) {
        TestFrame f;
        f.left = left, f.top = top, f.width = w, f.height = h, f.pixels = std::move(px);
        f.control = control, f.disposal = disposal, f.transparent = transparent, f.transparentIndex = index;
        return f;
    };
    std::vector<Case> cases = {
        {"GIF87a without extensions", {4, 2, {0, 0xFF0000, 0xFF, 0xFF00}, {frame(0, 0, 4, 2, {0, 1, 2, 3, 3, 2, 1, 0})}, "GIF87a"},
         {{0, 1, 2, 3, 3, 2, 1, 0}}},
        {"a transparent frame keeps the previous pixels",
         {4, 2, {0, 0xFF0000, 0xFF, 0xFF00}, {frame(0, 0, 4, 2, full), frame(0, 0, 4, 2, {2, 3, 2, 3, 3, 3, 2, 2}, true, 1, true, 3)}},
         {full, {2, 1, 2, 1, 1, 1, 2, 2}}},
        {"a partial frame is placed and clipped to the screen",
         {4, 2, {0, 0xFF0000, 0xFF, 0xFF00}, {frame(0, 0, 4, 2, full), frame(3, 1, 2, 2, {2, 2, 2, 2})}},
         {full, {1, 1, 1, 1, 1, 1, 1, 2}}},
        {"disposal 2 clears the frame's rectangle to 0",
         {4, 2, {0, 0xFF0000, 0xFF, 0xFF00}, {frame(0, 0, 4, 2, full), frame(1, 0, 2, 1, {2, 2}, true, 2), frame(0, 1, 1, 1, {3})}},
         {full, {1, 2, 2, 1, 1, 1, 1, 1}, {1, 0, 0, 1, 3, 1, 1, 1}}},
        {"disposal 3 brings back the pixels before the frame",
         {4, 2, {0, 0xFF0000, 0xFF, 0xFF00}, {frame(0, 0, 4, 2, full), frame(1, 0, 2, 1, {2, 2}, true, 3), frame(0, 1, 1, 1, {3})}},
         {full, {1, 2, 2, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 3, 1, 1, 1}}},
        {"an image without pixels repeats the composition",
         {4, 2, {0, 0xFF0000, 0xFF, 0xFF00}, {frame(0, 0, 4, 2, full), frame(0, 0, 0, 2, {})}}, {full, full}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MessageBoxRecorder boxes;
        ASSERT_EQ(Open(WriteGif(Path("case.gif"), c.file)), PLUGIN_RESULT_OK);
        EXPECT_EQ(boxes.Count(), 0u);
        EXPECT_EQ(statuses_, (std::vector<int>{PLUGIN_STATUS_READING, PLUGIN_STATUS_READ_DONE}));
        EXPECT_EQ(image_.colors, 256);
        ASSERT_EQ(layers_.size(), c.layers.size());
        for (size_t i = 0; i < layers_.size(); ++i) EXPECT_EQ(LayerPixels(i, 4, 2), c.layers[i]) << i;
        EXPECT_EQ(ImageColor(1), 0xFF0000u);
    }
    MemLockGuard layer(layers_.at(1));
    const auto* head = layer.as<LayerHeader>();
    EXPECT_EQ(head->number, 1);
    EXPECT_EQ(head->visible, 1);
    EXPECT_STREQ(head->name, "图层 1    ");
    EXPECT_EQ(head->right, 4);
    EXPECT_EQ(head->bottom, 2);
}

TEST_F(Loopcast, GraphicControlWithoutFourBytesIsIgnored) {
    TestGif doc;
    doc.frames.push_back({0, 0, 4, 2, {1, 1, 1, 1, 1, 1, 1, 1}, {}});
    doc.frames.push_back({0, 0, 4, 2, {0, 0, 0, 0, 2, 2, 2, 2}, {}});
    std::string path = WriteGif(Path("short.gif"), doc);
    // Hand-insert a 2-byte graphic control in front of the second image.
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    int second = bytes.lastIndexOf(char(0x2C));
    bytes.insert(second, QByteArray("\x21\xF9\x02\x01\x00\x00", 6));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    ASSERT_EQ(Open(path), PLUGIN_RESULT_OK);
    ASSERT_EQ(layers_.size(), 2u);
    EXPECT_EQ(LayerPixels(1, 4, 2), (Pixels{0, 0, 0, 0, 2, 2, 2, 2}));
}

TEST_F(Loopcast, OpensAtMost100Frames) {
    TestGif doc;
    for (int i = 0; i < 101; ++i) doc.frames.push_back({0, 0, 4, 2, Pixels(8, uint8_t(i % 4)), {}});
    platform::MessageBoxRecorder boxes;
    ASSERT_EQ(Open(WriteGif(Path("many.gif"), doc)), PLUGIN_RESULT_OK);
    EXPECT_EQ(layers_.size(), 100u);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "无法载入帧数是 100 以上的帧");
    EXPECT_EQ(boxes.Requests()[0].caption, "载入 GIF");
    EXPECT_EQ(LayerPixels(99, 4, 2), Pixels(8, 3));
}

TEST_F(Loopcast, RefusedFiles) {
    std::string text = Path("text.gif");
    FILE* f = std::fopen(text.c_str(), "wb");
    std::fputs("GIT89a not a picture", f);
    std::fclose(f);
    TestGif wide;
    wide.width = 4097;
    wide.height = 1;
    // 1.5 KB that would open as 100 layers of 4096 x 4096.
    TestGif bomb;
    bomb.width = bomb.height = 4096;
    for (int i = 0; i < 100; ++i) bomb.frames.push_back({i, i, 1, 1, {1}, {}});
    struct Case {
        std::string path;
        uint16_t result;
        uint16_t status;
    } cases[] = {
        {Path("missing.gif"), PLUGIN_RESULT_CANNOT_OPEN, 1},
        {text, PLUGIN_RESULT_BAD_FORMAT, 0},
        {WriteGif(Path("wide.gif"), wide), PLUGIN_RESULT_BAD_FORMAT, 0},
        {WriteGif(Path("bomb.gif"), bomb), PLUGIN_RESULT_NO_MEMORY, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Open(c.path), c.result);
        EXPECT_EQ(pathBuffer_.status, c.status);
        EXPECT_EQ(image_.image, nullptr);
        EXPECT_TRUE(layers_.empty());
        EXPECT_EQ(statuses_, (std::vector<int>{PLUGIN_STATUS_READING, PLUGIN_STATUS_CLEAR}));
        EXPECT_EQ(MemBlockCount(), blocksBefore_);
    }
}

// Every file of the shared GIF folder opens (or is refused) without fault.
TEST_F(Loopcast, OpensTheFolder) {
    int opened = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(kvtest::TestDataPath("gif"))) {
        if (!e.is_regular_file()) continue;
        SCOPED_TRACE(e.path().string());
        platform::MessageBoxRecorder boxes({MB_ANSWER_NO});
        uint16_t result = Open(e.path().string());
        EXPECT_TRUE(result == PLUGIN_RESULT_OK || result == PLUGIN_RESULT_BAD_FORMAT) << result;
        if (result != PLUGIN_RESULT_OK) continue;
        ++opened;
        EXPECT_FALSE(layers_.empty());
        MemLockGuard image(image_.image);
        const auto* info = image.as<DibInfoHeader>();
        EXPECT_EQ(image.size(), DIB_INFO_HEADER_SIZE + 1024 + size_t((info->width + 3) & ~3) * info->height);
    }
    EXPECT_GT(opened, 50);
}

// Frame 0 is red (index 1 of its own palette); frame 1 has its own palette
// where index 1 is blue and covers the right half, index 0 transparent.
TestGif TwoPalettes(bool global) {
    TestGif doc;
    if (!global) doc.global.clear();
    TestFrame a{0, 0, 4, 2, Pixels(8, 1), {0x000000, 0xFF0000}};
    TestFrame b{0, 0, 4, 2, {0, 0, 1, 1, 0, 0, 1, 1}, {0x000000, 0x0000FF}, true, 1, true, 0};
    doc.frames = {a, b};
    return doc;
}

TEST_F(Loopcast, OwnPalettesMergedKeepEveryColour) {
    platform::MessageBoxRecorder boxes({MB_ANSWER_YES});
    ASSERT_EQ(Open(WriteGif(Path("pal.gif"), TwoPalettes(true))), PLUGIN_RESULT_OK);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "每帧存在独立的调色板。\n要对单个调色板进行减色吗?");
    EXPECT_EQ(boxes.Requests()[0].caption, "载入 GIF");
    ASSERT_EQ(layers_.size(), 2u);
    // The carried-over left half stays red, the new right half is blue.
    Pixels second = LayerPixels(1, 4, 2);
    EXPECT_EQ(ImageColor(second[0]), 0xFF0000u);
    EXPECT_EQ(ImageColor(second[3]), 0x0000FFu);
    EXPECT_EQ(ImageColor(LayerPixels(0, 4, 2)[0]), 0xFF0000u);
}

TEST_F(Loopcast, OwnPalettesKeptOrCancelled) {
    struct Case {
        bool global;
        int answer;
        uint16_t result;
        const char* message;
        uint32_t color1;  // the image's colour 1 afterwards
    } cases[] = {
        {true, MB_ANSWER_NO, PLUGIN_RESULT_OK, "使用 Global 调色板。\n\n※图像有可能无法正确显示。", 0xFF0000},
        {false, MB_ANSWER_NO, PLUGIN_RESULT_OK,
         "Global调色板不存在。\n使用1号的Local调色板。\n\n※图像有可能无法正确显示。", 0xFF0000},
        {true, MB_ANSWER_CANCEL, PLUGIN_RESULT_CANCELLED, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message ? c.message : "cancel");
        platform::MessageBoxRecorder boxes({c.answer, MB_ANSWER_OK});
        ASSERT_EQ(Open(WriteGif(Path("pal.gif"), TwoPalettes(c.global))), c.result);
        if (c.message) {
            ASSERT_EQ(boxes.Count(), 2u);
            EXPECT_EQ(boxes.Requests()[1].text, c.message);
            ASSERT_EQ(layers_.size(), 2u);
            EXPECT_EQ(LayerPixels(1, 4, 2), (Pixels{1, 1, 1, 1, 1, 1, 1, 1}));
            EXPECT_EQ(ImageColor(1), c.color1);
        } else {
            EXPECT_EQ(image_.image, nullptr);
            EXPECT_TRUE(layers_.empty());
            EXPECT_EQ(MemBlockCount(), blocksBefore_);
            EXPECT_EQ(statuses_.back(), PLUGIN_STATUS_CLEAR);
        }
    }
}

// An 8-bit host image with a 4-colour palette and the given layers.
struct HostDoc {
    int width = 4, height = 2;
    std::vector<Pixels> layers;
};

class LoopcastSave : public Loopcast {
protected:
    void TearDown() override {
        for (MemHandle h : hostLayers_) MemFree(h);
        if (hostImage_) MemFree(hostImage_);
        Loopcast::TearDown();
    }
    // Saves as the host does: lends the layers, calls ImportGW with a copy of
    // the image; `answer` works the option dialog (-1: Cancel).
    uint16_t Save(const std::string& path, const HostDoc& doc, int answer) {
        hostImage_ = MemAlloc(DIB_INFO_HEADER_SIZE + 1024 + size_t((doc.width + 3) & ~3) * doc.height);
        {
            MemLockGuard lock(hostImage_);
            auto* info = lock.as<DibInfoHeader>();
            *info = DibInfoHeader{DIB_INFO_HEADER_SIZE, doc.width, doc.height, 1, 8, 0, 0, 0, 0, 0, 0};
            auto* pal = reinterpret_cast<PaletteEntry*>(lock.get() + DIB_INFO_HEADER_SIZE);
            pal[1] = {0, 0, 255, 0};
            pal[2] = {0, 255, 0, 0};
            pal[3] = {255, 0, 0, 0};
        }
        auto setLayer = Export<PluginSetSlotFn>("SetLayer");
        for (size_t i = 0; i < doc.layers.size(); ++i) {
            const int stride = (doc.width + 3) & ~3;
            MemHandle layer = MemAlloc(LAYER_HEADER_SIZE + size_t(stride) * doc.height);
            MemLockGuard lock(layer);
            for (int y = 0; y < doc.height; ++y)
                std::memcpy(lock.get() + LAYER_HEADER_SIZE + size_t(doc.height - 1 - y) * stride,
                            doc.layers[i].data() + size_t(y) * doc.width, size_t(doc.width));
            hostLayers_.push_back(layer);
            PluginSlot slot{int32_t(i), layer, nullptr};
            setLayer(&slot);
        }
        framework::ScopedModalDriver driver([answer](framework::Dialog& d) {
            EXPECT_EQ(d.TemplateId(), 21000);
            EXPECT_EQ(d.windowTitle(), "GIF 透明设置");
            if (answer < 0) return d.ClickButton(framework::IDCANCEL);
            d.ClickButton(answer);
            d.ClickButton(framework::IDOK);
        });
        PluginPathBufferSet(&pathBuffer_, path.c_str());
        PluginImage image{hostImage_, 256};
        statuses_.clear();
        return Export<PluginImportFn>("ImportGW")(host_, &pathBuffer_, &image, LOOPCAST_PATH);
    }
    MemHandle hostImage_ = nullptr;
    std::vector<MemHandle> hostLayers_;
};

TEST_F(LoopcastSave, OneLayerSavesAsLoopingGif) {
    std::string path = Path("one.gif");
    ASSERT_EQ(Save(path, {4, 2, {{0, 1, 2, 3, 3, 2, 1, 0}}}, 21000), PLUGIN_RESULT_OK);
    EXPECT_EQ(statuses_, (std::vector<int>{PLUGIN_STATUS_WRITING, PLUGIN_STATUS_WRITE_DONE}));
    Pixels bytes = gifpeer::ReadBytes(path);
    auto peer = gifpeer::PeerDecode(bytes);
    ASSERT_TRUE(peer);
    ASSERT_EQ(peer->frames.size(), 1u);
    EXPECT_EQ(peer->frames[0].indices, (Pixels{0, 1, 2, 3, 3, 2, 1, 0}));
    EXPECT_EQ(peer->palette.size(), 256u);
    EXPECT_EQ(peer->palette[1], 0xFF0000u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    GifFile* tree = gifpeer::CodecRead(bytes);
    ASSERT_EQ(GifBlockCount(tree), 3u);
    const GifExtension* loop = GifBlockAt(tree, 0)->extension;
    ASSERT_TRUE(loop);
    EXPECT_EQ(loop->label, kGifApplicationLabel);
    EXPECT_EQ(std::memcmp(GifSubBlockAt(loop, 0), "NETSCAPE2.0", 11), 0);
    EXPECT_EQ(std::memcmp(GifSubBlockAt(loop, 1), "\x01\x00\x00", 3), 0);
    const GifExtension* control = GifBlockAt(tree, 1)->extension;
    ASSERT_TRUE(control && control->label == kGifGraphicControlLabel);
    EXPECT_EQ(std::vector<uint8_t>(GifSubBlockAt(control, 0), GifSubBlockAt(control, 0) + 4),
              (std::vector<uint8_t>{9, 50, 0, 0}));
    GifFreeFile(tree);
}

// Saving and opening again gives back the same layers, with colour 0
// transparent or not.
TEST_F(LoopcastSave, SavedLayersOpenUnchanged) {
    HostDoc doc{5, 3, {{1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3},
                         {0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 0, 0, 0},
                         {3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3, 0, 3}}};
    for (int answer : {21000, 21001}) {
        SCOPED_TRACE(answer);
        std::string path = Path("round.gif");
        ASSERT_EQ(Save(path, doc, answer), PLUGIN_RESULT_OK);
        ASSERT_EQ(Open(path), PLUGIN_RESULT_OK);
        ASSERT_EQ(layers_.size(), 3u);
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(LayerPixels(i, 5, 3), doc.layers[i]) << i;
        for (MemHandle h : hostLayers_) MemFree(h);
        hostLayers_.clear();
        MemFree(hostImage_);
        hostImage_ = nullptr;
    }
}

TEST_F(LoopcastSave, CancelledOrRefusedSavesWriteNothing) {
    HostDoc wide{2049, 1, {Pixels(2049, 1)}};
    struct Case {
        const char* name;
        HostDoc doc;
        int answer;
        uint16_t result;
        std::vector<int> statuses;
    } cases[] = {
        {"cancelled", {4, 2, {Pixels(8, 1)}}, -1, PLUGIN_RESULT_CANCELLED, {}},
        {"2049 wide", wide, 21000, PLUGIN_RESULT_BAD_FORMAT, {PLUGIN_STATUS_WRITING, PLUGIN_STATUS_CLEAR}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Path("nothing.gif");
        EXPECT_EQ(Save(path, c.doc, c.answer), c.result);
        EXPECT_EQ(statuses_, c.statuses);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
        for (MemHandle h : hostLayers_) MemFree(h);
        hostLayers_.clear();
        MemFree(hostImage_);
        hostImage_ = nullptr;
    }
}

}  // namespace
