// The plug-in kit, reached through a plug-in that carries it and is loaded
// for real.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include "imaging/dib_layout.h"
#include "imaging/logical_palette.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"  // the RgbBuffer record only
#include "tests/support/probe_library_test.h"

namespace {

class KitTest : public kvtest::ProbeLibraryTest {
protected:
    KitTest() : ProbeLibraryTest(KV_KIT_PROBE) {}
};

// An 8-bit packed DIB, width x height, entry i = (blue i, green 2i, red 3i),
// pixels 0.
MemHandle MakeImage(int width, int height, int bits = 8, uint32_t clrUsed = 0) {
    int entries = clrUsed ? int(clrUsed) : (bits <= 8 ? 1 << bits : 0);
    size_t row = size_t((width * bits + 31) / 32 * 4);
    MemHandle h = MemAlloc(40 + size_t(entries) * 4 + row * size_t(height));
    MemLockGuard lock(h);
    auto* info = lock.as<DibInfoHeader>();
    *info = {40, width, height, 1, uint16_t(bits), 0, 0, 0, 0, clrUsed, 0};
    auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
    for (int i = 0; i < entries; ++i) table[i] = {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0};
    return h;
}

MemHandle MakeLayer(int width, int height, uint8_t fill) {
    size_t row = size_t((width + 3) & ~3);
    MemHandle h = MemAlloc(LAYER_HEADER_SIZE + row * size_t(height));
    MemLockGuard lock(h);
    lock.as<LayerHeader>()->right = width;
    lock.as<LayerHeader>()->bottom = height;
    std::memset(lock.get() + LAYER_HEADER_SIZE, fill, row * size_t(height));
    return h;
}

uint8_t& LayerPixel(MemLockGuard& layer, int width, int bottomUpRow, int x) {
    return layer.get()[LAYER_HEADER_SIZE + size_t(bottomUpRow) * size_t((width + 3) & ~3) + size_t(x)];
}

using LayerToRgbFn = RgbBuffer* (*)(MemHandle, const MemHandle*, const PluginToolRecord*, int);
using FreeRgbFn = void (*)(RgbBuffer*);
using RgbToLayerFn = bool (*)(MemHandle, MemHandle, const RgbBuffer*, const uint8_t*, const uint8_t*,
                              const PluginToolRecord*);

TEST_F(KitTest, StartsWithTheHostsQtApplicationAndUnloadsClean) {
    EXPECT_EQ(Fn<int (*)()>("ProbeConstructions")(), 1);
    EXPECT_TRUE(Fn<bool (*)()>("ProbeHasApp")());
    EXPECT_EQ(Fn<QCoreApplication* (*)()>("ProbeQtApp")(), QCoreApplication::instance());
    int deleted = 0;
    Fn<void (*)(int*)>("ProbeDeleteLater")(&deleted);
    probe.reset();
    EXPECT_EQ(deleted, 1);  // deleted while its code was still there
    probe = platform::Module(KV_KIT_PROBE);
    ASSERT_TRUE(probe);
    EXPECT_EQ(Fn<int (*)()>("ProbeConstructions")(), 1);  // a fresh library
}

TEST_F(KitTest, DibFacts) {
    auto numColors = Fn<int (*)(const void*, bool)>("ProbeNumColors");
    auto paletteSize = Fn<int (*)(const void*)>("ProbePaletteSize");
    auto bitsOffset = Fn<ptrdiff_t (*)(void*)>("ProbeBitsOffset");
    struct Case {
        int bits;
        uint32_t clrUsed;
        int colors, paletteBytes;
    };
    const Case cases[] = {{8, 17, 17, 68}, {8, 0, 256, 1024}, {4, 0, 16, 64}, {1, 0, 2, 8}, {24, 0, 0, 0}};
    for (const Case& c : cases) {
        MemHandle image = MakeImage(5, 3, c.bits, c.clrUsed);
        {
            MemLockGuard lock(image);
            EXPECT_EQ(numColors(lock.get(), false), c.colors) << c.bits << "/" << c.clrUsed;
            EXPECT_EQ(numColors(lock.get(), true), c.bits);
            EXPECT_EQ(paletteSize(lock.get()), c.paletteBytes);
            EXPECT_EQ(bitsOffset(lock.get()), 40 + c.paletteBytes);
        }
        MemFree(image);
    }
    // The old core header: 16-bit sizes, 3-byte entries.
    uint8_t core[12 + 3 * 256] = {};
    DibCoreHeader header{12, 300, 7, 1, 8};
    std::memcpy(core, &header, sizeof header);
    EXPECT_EQ(numColors(core, false), 256);
    EXPECT_EQ(paletteSize(core), 768);
    EXPECT_EQ(Fn<int (*)(const void*)>("ProbeWidth")(core), 300);
    EXPECT_EQ(Fn<int (*)(const void*)>("ProbeHeight")(core), 7);
}

TEST_F(KitTest, NearestPaletteIndex) {
    auto nearest = Fn<int (*)(const PaletteEntry*, int, uint8_t, uint8_t, uint8_t)>("ProbeNearest");
    const PaletteEntry palette[] = {{255, 255, 255, 0}, {10, 0, 0, 0}, {0, 10, 0, 0}, {5, 5, 0, 9}};
    struct Case {
        int count;
        uint8_t b, g, r;
        int index;
    };
    const Case cases[] = {
        {4, 5, 5, 0, 3},      // exact (alpha not compared)
        {3, 5, 5, 0, 1},      // a tie: the lower index
        {3, 200, 200, 200, 0},
        {0, 1, 2, 3, 0},      // nothing to choose from
        {1, 0, 0, 0, 0},      // as far as can be
    };
    for (const Case& c : cases) EXPECT_EQ(nearest(palette, c.count, c.b, c.g, c.r), c.index) << c.count;
}

TEST_F(KitTest, BlocksDuplicateAndSwap) {
    platform::MessageBoxRecorder boxes;
    auto swap = Fn<bool (*)(MemHandle, MemHandle)>("ProbeSwap");
    MemHandle a = MemAlloc(4), b = MemAlloc(4), c = MemAlloc(5);
    std::memcpy(MemLockGuard(a).get(), "aaaa", 4);
    std::memcpy(MemLockGuard(b).get(), "bbbb", 4);
    ASSERT_TRUE(swap(a, b));
    EXPECT_EQ(std::memcmp(MemLockGuard(a).get(), "bbbb", 4), 0);
    EXPECT_EQ(std::memcmp(MemLockGuard(b).get(), "aaaa", 4), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_FALSE(swap(a, c));   // different sizes
    EXPECT_FALSE(swap(a, nullptr));
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, "内存错误");
    EXPECT_EQ(boxes.Requests()[0].caption, "错误");
    EXPECT_EQ(boxes.Requests()[0].owner, nullptr);
    EXPECT_EQ(std::memcmp(MemLockGuard(a).get(), "bbbb", 4), 0);
    EXPECT_EQ(MemSize(c), 5u);

    MemHandle copy = Fn<MemHandle (*)(MemHandle)>("ProbeDuplicate")(a);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(MemLockGuard(copy).get(), "bbbb", 4), 0);
    EXPECT_EQ(Fn<MemHandle (*)(MemHandle)>("ProbeDuplicate")(nullptr), nullptr);
    auto freeSafe = Fn<void (*)(MemHandle)>("ProbeFreeSafe");
    freeSafe(nullptr);
    for (MemHandle h : {a, b, c, copy}) freeSafe(h);
    EXPECT_FALSE(MemIsValid(copy));
}

TEST_F(KitTest, LayerToRgbConvertsTheRectangleOfTheCurrentLayer) {
    auto toRgb = Fn<LayerToRgbFn>("ProbeLayerToRgb");
    auto freeRgb = Fn<FreeRgbFn>("ProbeFreeRgb");
    MemHandle image = MakeImage(5, 3);
    MemHandle layers[101] = {MakeLayer(5, 3, 1), MakeLayer(5, 3, 7)};
    PluginToolRecord record{};
    record.editLayer = 1;
    for (int invert : {-1, 0, 1}) {
        RgbBuffer* rgb = toRgb(image, layers, &record, invert);
        ASSERT_NE(rgb, nullptr);
        EXPECT_EQ(rgb->stride, 16);
        uint8_t flip = invert == 1 ? 0xff : 0;
        for (int r = 0; r < 3; ++r)
            for (int x = 0; x < 5; ++x) {
                const uint8_t* p = rgb->data + r * rgb->stride + 3 * x;
                EXPECT_EQ(p[0], 7 ^ flip);
                EXPECT_EQ(p[1], 14 ^ flip);
                EXPECT_EQ(p[2], 21 ^ flip);
            }
        freeRgb(rgb);
    }
    // Missing current layers give no buffer.
    record.editLayer = 2;
    EXPECT_EQ(toRgb(image, layers, &record, 0), nullptr);
    MemHandle gap[101] = {layers[0], nullptr, layers[1]};
    EXPECT_EQ(toRgb(image, gap, &record, 0), nullptr);
    // A layer of another size, a 24-bit image.
    MemHandle wrong[101] = {MakeLayer(4, 3, 0)};
    record.editLayer = 0;
    EXPECT_EQ(toRgb(image, wrong, &record, 0), nullptr);
    MemHandle direct = MakeImage(5, 3, 24);
    EXPECT_EQ(toRgb(direct, layers, &record, 0), nullptr);
    for (MemHandle h : {image, layers[0], layers[1], wrong[0], direct}) MemFree(h);
}

TEST_F(KitTest, RgbToLayerWritesOnlyInsideRectangleAndMasks) {
    auto toRgb = Fn<LayerToRgbFn>("ProbeLayerToRgb");
    auto freeRgb = Fn<FreeRgbFn>("ProbeFreeRgb");
    auto toLayer = Fn<RgbToLayerFn>("ProbeRgbToLayer");
    const int w = 9, h = 3;
    MemHandle image = MakeImage(w, h);
    MemHandle layers[101] = {MakeLayer(w, h, 4)};
    PluginToolRecord whole{};
    RgbBuffer* rgb = toRgb(image, layers, &whole, 0);
    ASSERT_NE(rgb, nullptr);
    // Every pixel of the work image becomes colour 9 (9, 18, 27).
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) std::memcpy(rgb->data + r * rgb->stride + 3 * x, "\x09\x12\x1b", 3);

    // Only the middle top-down row (bottom-up row 1), columns 2..7.
    PluginToolRecord record{};
    record.rect = {2, 1, 8, 2};
    // Selection: all of the middle row but x 3; protect: x 4.
    const size_t maskRow = (w + 7) / 8;
    std::vector<uint8_t> selection(maskRow * h, 0), protect(maskRow * h, 0);
    selection[maskRow * 1] = 0xff & ~(0x80 >> 3);
    selection[maskRow * 1 + 1] = 0x80;
    protect[maskRow * 1] = 0x80 >> 4;
    ASSERT_TRUE(toLayer(image, layers[0], rgb, protect.data(), selection.data(), &record));
    MemLockGuard layer(layers[0]);
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) {
            bool written = r == 1 && x >= 2 && x < 8 && x != 3 && x != 4;
            EXPECT_EQ(LayerPixel(layer, w, r, x), written ? 9 : 4) << r << "," << x;
        }
    // Null masks: everything in the rectangle; refused inputs change nothing.
    ASSERT_TRUE(toLayer(image, layers[0], rgb, nullptr, nullptr, &whole));
    EXPECT_EQ(LayerPixel(layer, w, 0, 0), 9);
    MemHandle small = MakeLayer(w - 1, h, 4);
    EXPECT_FALSE(toLayer(image, small, rgb, nullptr, nullptr, &whole));
    EXPECT_FALSE(toLayer(image, layers[0], nullptr, nullptr, nullptr, &whole));
    freeRgb(rgb);
    for (MemHandle m : {image, layers[0], small}) MemFree(m);
}

TEST_F(KitTest, RgbToLayerPicksWhatNearestPaletteIndexPicks) {
    auto nearest = Fn<int (*)(const PaletteEntry*, int, uint8_t, uint8_t, uint8_t)>("ProbeNearest");
    auto toRgb = Fn<LayerToRgbFn>("ProbeLayerToRgb");
    auto freeRgb = Fn<FreeRgbFn>("ProbeFreeRgb");
    auto toLayer = Fn<RgbToLayerFn>("ProbeRgbToLayer");
    std::mt19937 random(11);
    // Palettes of a few colours (many ties and far colours), of repeated
    // entries, and of many random ones, some with fewer than 256 entries.
    for (int count : {1, 2, 7, 40, 200, 256}) {
        SCOPED_TRACE(count);
        const int w = 64, h = 64;
        MemHandle image = MakeImage(w, h, 8, uint32_t(count));
        std::vector<PaletteEntry> table(static_cast<size_t>(count));
        {
            MemLockGuard lock(image);
            auto* entries = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
            for (int i = 0; i < count; ++i) {
                entries[i] = i % 5 == 4 ? entries[i / 2]
                                        : PaletteEntry{uint8_t(random() & 0xf8), uint8_t(random() & 0xf8),
                                                       uint8_t(random() & 0xf8), 0};
                table[size_t(i)] = entries[i];
            }
        }
        MemHandle layers[101] = {MakeLayer(w, h, 0)};
        PluginToolRecord whole{};
        RgbBuffer* rgb = toRgb(image, layers, &whole, 0);
        ASSERT_NE(rgb, nullptr);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = rgb->data + y * rgb->stride + 3 * x;
                // Random colours, exact entries, and the extremes.
                if (x % 3 == 0) std::memcpy(p, &table[size_t(random()) % table.size()], 3);
                else for (int c = 0; c < 3; ++c) p[c] = uint8_t(x % 3 == 1 ? random() : (y & 1) * 255);
            }
        ASSERT_TRUE(toLayer(image, layers[0], rgb, nullptr, nullptr, &whole));
        MemLockGuard layer(layers[0]);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = rgb->data + y * rgb->stride + 3 * x;
                ASSERT_EQ(LayerPixel(layer, w, y, x), nearest(table.data(), count, p[0], p[1], p[2])) << y << "," << x;
            }
        freeRgb(rgb);
        MemFree(image);
        MemFree(layers[0]);
    }
}

TEST_F(KitTest, PaletteDibInfoDescribesTheImage) {
    MemHandle image = MakeImage(5, 3, 8, 17);
    long out[7] = {};
    Fn<void (*)(MemHandle, long*)>("ProbePaletteDibInfo")(image, out);
    EXPECT_EQ(std::vector<long>(out, out + 7), (std::vector<long>{8, 256, 8, 5, 3, 40, 40 + 1024}));
    MemFree(image);
    long none[7] = {1, 1, 1, 1, 1, 1, 1};
    Fn<void (*)(MemHandle, long*)>("ProbePaletteDibInfo")(nullptr, none);
    EXPECT_EQ(std::vector<long>(none, none + 7), (std::vector<long>{0, 0, 0, 0, 0, -1, -1}));
}

TEST_F(KitTest, PaintsAndBuildsPalettes) {
    MemHandle image = MakeImage(2, 2);
    {
        MemLockGuard lock(image);
        lock.get()[40 + 1024] = 50;  // bottom-left pixel: (150, 100, 50) red, green, blue
    }
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    QRect destination(0, 0, 4, 4);
    DibRect source{0, 0, 2, 2};
    auto paint = Fn<int (*)(QPainter*, const QRect*, MemHandle, const DibRect*)>("ProbePaint");
    EXPECT_EQ(paint(&painter, &destination, image, &source), 2);
    EXPECT_EQ(paint(&painter, &destination, nullptr, &source), 0);
    painter.end();
    EXPECT_EQ(target.pixel(0, 3), qRgb(150, 100, 50));
    EXPECT_EQ(target.pixel(3, 0), qRgb(0, 0, 0));

    auto build = Fn<int (*)(MemHandle, LogicalPalette*)>("ProbeCreatePalette");
    LogicalPalette palette;
    ASSERT_EQ(build(image, &palette), 1);
    EXPECT_EQ(palette.count, 256);
    EXPECT_EQ(palette.colors[50] & 0xffffff, qRgb(150, 100, 50) & 0xffffff);
    EXPECT_EQ(build(nullptr, &palette), 0);
    MemHandle direct = MakeImage(2, 2, 24);
    EXPECT_EQ(build(direct, &palette), 0);
    MemFree(image);
    MemFree(direct);
}

}  // namespace
