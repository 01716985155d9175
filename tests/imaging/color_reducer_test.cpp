// The colour reducer's driver on packed images and layer blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dib_test_util.h"
#include "imaging/color_reduce.h"
#include "imaging/color_reducer.h"
#include "platform/message_box_recorder.h"

using namespace kvtest;

namespace {

class ColorReducerTest : public ImagingTest {
protected:
    void SetUp() override {
        ImagingTest::SetUp();
        previousSink_ = SetColorReduceStatusSink([this](const char* t) { status_.push_back(t); });
    }
    void TearDown() override {
        SetColorReduceStatusSink(previousSink_);
        ImagingTest::TearDown();
    }
    std::vector<std::string> status_;

private:
    ColorReduceStatusSink previousSink_;
};

uint32_t EntryRgb(MemHandle image, int index) {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    EXPECT_EQ(GetDibPaletteEntry(image, index, &r, &g, &b, &a), 1);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// Colours of an 8-bit image's or a layer's pixels through the image's palette.
std::vector<uint32_t> Shown(MemHandle image, const Rows& rows) {
    std::vector<uint32_t> out;
    for (const auto& row : rows)
        for (uint8_t p : row) out.push_back(EntryRgb(image, p));
    return out;
}

// A document-like image: 8-bit composite with `colours` entries (0xRRGGBB).
MemHandle MakeImage(const Rows& rows, const std::vector<uint32_t>& colours) {
    MemHandle image = MakeDib8(rows);
    for (size_t i = 0; i < colours.size(); ++i) SetEntry(image, int(i), colours[i], uint8_t(i));
    return image;
}

std::vector<uint32_t> ManyColours(int n) {
    std::vector<uint32_t> c;
    for (int i = 0; i < n; ++i) c.push_back(uint32_t((i * 53) % 256) << 16 | uint32_t((i * 11) % 256) << 8 | uint32_t(i % 7 * 30));
    return c;
}

Rows Ramp(int w, int h, int count, int offset = 0) {
    Rows rows(size_t(h), std::vector<uint8_t>(static_cast<size_t>(w), 0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rows[size_t(y)][size_t(x)] = uint8_t((x + y * w + offset) % count);
    return rows;
}

}  // namespace

TEST_F(ColorReducerTest, TwentyFourBitPictureBecomesANewImageWithItsColours) {
    Blocks blocks;
    std::vector<std::vector<uint32_t>> colours = {{0x102030, 0xFFFFFF, 0x102030}, {0x000000, 0xFF0000, 0x00FF00}};
    MemHandle picture = blocks(MakeDib24(colours));
    CColorReducer reducer;
    ASSERT_EQ(reducer.PrepareFrom24(picture), 1);
    MemHandle reduced = blocks(reducer.ReduceTo256());
    ASSERT_NE(reduced, nullptr);
    reducer.Free();
    EXPECT_FALSE(MemIsValid(picture)) << "Free releases the 24-bit source";
    DibInfoHeader info = Info(reduced);
    EXPECT_EQ(info.bitCount, 8);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(MemSize(reduced), 1064u + 4 * 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(EntryRgb(reduced, Pixel8(reduced, x, y)), colours[size_t(y)][size_t(x)]);
    EXPECT_EQ(status_, (std::vector<std::string>{"减色中:内存大小确认中", "减色中", "要显示帮助请按 [F1]。"}));
}

TEST_F(ColorReducerTest, PreparationRefusesWhatItCannotReduce) {
    Blocks blocks;
    MemHandle eight = blocks(MakeDib8(4, 4));
    MemHandle broken = blocks(MemAlloc(30));
    MemHandle picture = blocks(MakeDib24({{1, 2}, {3, 4}}));
    CColorReducer reducer;
    EXPECT_EQ(reducer.PrepareFrom24(eight), 0);
    EXPECT_EQ(reducer.PrepareFrom24(broken), 0);
    EXPECT_EQ(reducer.PrepareFrom24(nullptr), 0);
    EXPECT_EQ(reducer.PrepareFrom8(picture), 0);
    EXPECT_EQ(reducer.ReduceTo256(), nullptr);
    EXPECT_EQ(reducer.ReduceTo16(), 0);
    LimitRoom(100);
    EXPECT_EQ(reducer.PrepareFrom24(picture), 0) << "no room for the destination";
}

TEST_F(ColorReducerTest, ExchangeReducerIsTheEngine) {
    Blocks blocks;
    ExchangeColorReducer previous = SetExchangeColorReducer(nullptr);
    InstallExchangeColorReducer();
    platform::MessageBoxRecorder boxes;
    MemHandle picture = blocks(MakeDib24({{0xABCDEF, 0x123456}, {0x123456, 0xABCDEF}}));
    MemHandle layer = blocks(ConvertDibForExchange(picture, nullptr, LAYER_HEADER_SIZE + 8));
    ASSERT_NE(layer, nullptr);
    EXPECT_TRUE(MemIsValid(picture)) << "the caller keeps the picture";
    Rows pixels = LayerPixels(layer, 2, 2);
    const ExchangePalette& palette = GetExchangePalette();
    auto rgb = [&](uint8_t i) {
        return uint32_t(palette[i].red) << 16 | uint32_t(palette[i].green) << 8 | palette[i].blue;
    };
    EXPECT_EQ(rgb(pixels[0][0]), 0xABCDEFu);
    EXPECT_EQ(rgb(pixels[0][1]), 0x123456u);
    EXPECT_EQ(rgb(pixels[1][0]), 0x123456u);
    EXPECT_EQ(boxes.Count(), 0u);
    SetExchangeColorReducer(previous);
}

TEST_F(ColorReducerTest, SixteenColoursKeepCompositeLayersAndPaletteConsistent) {
    Blocks blocks;
    std::vector<uint32_t> colours = ManyColours(40);
    Rows composite = Ramp(10, 8, 40), top = Ramp(10, 8, 40, 7), bottom = Ramp(10, 8, 25, 3);
    MemHandle image = blocks(MakeImage(composite, colours));
    MemHandle layers[] = {blocks(MakeLayer(bottom)), blocks(MakeLayer(top))};
    std::vector<uint32_t> before[] = {Shown(image, composite), Shown(image, bottom), Shown(image, top)};

    CColorReducer reducer;
    ASSERT_EQ(reducer.PrepareFrom8(image), 1);
    ASSERT_EQ(reducer.ReduceTo16(layers), 1);
    reducer.Free();
    ASSERT_TRUE(MemIsValid(image));
    EXPECT_TRUE(IsSixteenColorDib(image));
    std::vector<uint32_t> after[] = {Shown(image, Pixels8(image)), Shown(image, LayerPixels(layers[0])),
                                     Shown(image, LayerPixels(layers[1]))};
    // One colour of the original always shows as the same reduced colour,
    // wherever it is, and every reduced colour is one of the originals.
    std::map<uint32_t, uint32_t> mapping;
    std::set<uint32_t> original(colours.begin(), colours.end());
    for (int i = 0; i < 3; ++i)
        for (size_t k = 0; k < before[i].size(); ++k) {
            auto [it, fresh] = mapping.emplace(before[i][k], after[i][k]);
            EXPECT_EQ(it->second, after[i][k]) << "block " << i << " pixel " << k;
            EXPECT_TRUE(original.count(after[i][k]));
        }
    std::set<uint32_t> reduced;
    for (auto& [from, to] : mapping) reduced.insert(to);
    EXPECT_LE(reduced.size(), 16u);
}

TEST_F(ColorReducerTest, FailedSixteenColourReductionChangesNothing) {
    Blocks blocks;
    MemHandle image = blocks(MakeImage(Ramp(10, 8, 40), ManyColours(40)));
    MemHandle layer = blocks(MakeLayer(Ramp(10, 8, 40, 5)));
    MemHandle imageCopy = blocks(DuplicateGlobal(image)), layerCopy = blocks(DuplicateGlobal(layer));
    CColorReducer reducer;
    ASSERT_EQ(reducer.PrepareFrom8(image), 1);
    LimitRoom(1000);
    MemHandle layers[] = {layer};
    EXPECT_EQ(reducer.ReduceTo16(layers), 0);
    MemSetLimit(MEM_NO_LIMIT);
    MemHandle wrongSize[] = {blocks(MakeLayer(Ramp(3, 3, 4)))};
    EXPECT_EQ(reducer.ReduceTo16(wrongSize), 0);
    reducer.Free();
    MemLockGuard a(image), b(imageCopy), c(layer), d(layerCopy);
    EXPECT_EQ(std::memcmp(a.get(), b.get(), a.size()), 0);
    EXPECT_EQ(std::memcmp(c.get(), d.get(), c.size()), 0);
}

TEST_F(ColorReducerTest, AllLayersWithTheReservedColours) {
    Blocks blocks;
    // 60 colours of our own plus 808080 and FFFFFF in use.
    std::vector<uint32_t> colours = ManyColours(60);
    colours.push_back(0x808080);
    colours.push_back(0xFFFFFF);
    Rows first = Ramp(12, 10, 60), second = Ramp(12, 10, 60, 31);
    first[0][0] = 60;
    second[0][0] = 61;
    MemHandle image = blocks(MakeImage(first, colours));
    MemHandle layers[] = {blocks(MakeLayer(first)), blocks(MakeLayer(second))};
    std::set<uint32_t> original(colours.begin(), colours.end());

    for (int c : {256, 30}) {
        SCOPED_TRACE(c);
        CColorReducer reducer;
        ASSERT_EQ(reducer.PrepareFrom8(image), 1);
        ASSERT_EQ(reducer.ReduceAllLayers(layers, c, 8, 1), 1);
        reducer.Free();
        for (int i = 0; i < 20; ++i) {
            int index = i < 10 ? i : 236 + i;
            const PaletteEntry& e = SystemColorTable[i];
            EXPECT_EQ(EntryRgb(image, index), uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue) << index;
        }
        EXPECT_EQ(LayerPixels(layers[0])[0][0], 7) << "808080 takes 7";
        EXPECT_EQ(LayerPixels(layers[1])[0][0], 255);
        std::set<int> own;
        for (MemHandle layer : layers)
            for (const auto& row : LayerPixels(layer))
                for (uint8_t p : row)
                    if (p >= 10 && p <= 245) own.insert(p);
        EXPECT_LE(own.size(), size_t(c - 20));
        for (int p : own) EXPECT_TRUE(original.count(EntryRgb(image, p))) << p;
    }
}

TEST_F(ColorReducerTest, AllLayersWithoutMemoryShowsTheMessageAndChangesNothing) {
    Blocks blocks;
    MemHandle image = blocks(MakeImage(Ramp(10, 8, 40), ManyColours(40)));
    MemHandle layer = blocks(MakeLayer(Ramp(10, 8, 40, 5)));
    MemHandle imageCopy = blocks(DuplicateGlobal(image)), layerCopy = blocks(DuplicateGlobal(layer));
    platform::MessageBoxRecorder boxes;
    CColorReducer reducer;
    ASSERT_EQ(reducer.PrepareFrom8(image), 1);
    LimitRoom(1000);
    MemHandle layers[] = {layer};
    EXPECT_EQ(reducer.ReduceAllLayers(layers, 16, 8, 0), 0);
    MemSetLimit(MEM_NO_LIMIT);
    reducer.Free();
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "内存不足。");
    MemLockGuard a(image), b(imageCopy), c(layer), d(layerCopy);
    EXPECT_EQ(std::memcmp(a.get(), b.get(), a.size()), 0);
    EXPECT_EQ(std::memcmp(c.get(), d.get(), c.size()), 0);
}

TEST_F(ColorReducerTest, GreyConvertsEveryLayerThroughThePaletteBeforeIt) {
    Blocks blocks;
    std::vector<uint32_t> colours = {0x000000, 0x808080, 0x828282, 0xFFFFFF};
    Rows rows = {{0, 1, 2, 3}};
    struct Case {
        int twoLevels;
        std::vector<uint8_t> expected;
    };
    for (const Case& c : {Case{0, {0, 128, 130, 255}}, Case{1, {0, 0, 1, 1}}}) {
        MemHandle image = blocks(MakeImage(rows, colours));
        MemHandle layers[] = {blocks(MakeLayer(rows)), blocks(MakeLayer(rows)), blocks(MakeLayer(rows))};
        CColorReducer reducer;
        ASSERT_EQ(reducer.PrepareFrom8(image), 1);
        ASSERT_EQ(reducer.GreyAllLayers(layers, c.twoLevels), 1);
        reducer.Free();
        for (MemHandle layer : layers) EXPECT_EQ(LayerPixels(layer)[0], c.expected);
        EXPECT_EQ(EntryRgb(image, 1), c.twoLevels ? 0xFFFFFFu : 0x010101u);
        EXPECT_EQ(EntryRgb(image, 200), c.twoLevels ? 0u : 0xC8C8C8u);
        uint8_t alpha = 0;
        GetDibPaletteEntry(image, 3, nullptr, nullptr, nullptr, &alpha);
        EXPECT_EQ(alpha, 3) << "alpha stays";
    }
}

TEST_F(ColorReducerTest, AnyPictureBecomesAnEightBitImage) {
    Blocks blocks;
    MemHandle picture32 = blocks(dib::NewInfoDib(2, 1, 32, 40 + 8));
    {
        MemLockGuard l(picture32);
        const uint8_t pixels[8] = {0x56, 0x34, 0x12, 0, 0xEF, 0xCD, 0xAB, 0};
        std::memcpy(l.get() + 40, pixels, 8);
    }
    struct Case {
        const char* what;
        MemHandle picture;
        ColorReduceResult result;
        std::vector<uint32_t> colours;  // of the pixels, left to right, when done
    };
    const Case cases[] = {
        {"24 bits", blocks(MakeDib24({{0x123456, 0xABCDEF}})), ColorReduceResult::Done, {0x123456, 0xABCDEF}},
        {"32 bits", picture32, ColorReduceResult::Done, {0x123456, 0xABCDEF}},
        {"4 bits", blocks(MakeDib4({{1, 0}}, {0x010203, 0x040506})), ColorReduceResult::Done, {0x040506, 0x010203}},
        {"1 bit", blocks(MakeDib1({{0, 1}}, 0x111111, 0x222222)), ColorReduceResult::Done, {0x111111, 0x222222}},
        {"refused block", blocks(MemAlloc(12)), ColorReduceResult::Failed, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemHandle result = nullptr;
        ASSERT_EQ(ReducePictureTo256(c.picture, &result), c.result);
        EXPECT_TRUE(MemIsValid(c.picture)) << "the picture stays with the caller";
        if (c.result != ColorReduceResult::Done) {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        blocks(result);
        EXPECT_EQ(Info(result).bitCount, 8);
        for (size_t x = 0; x < c.colours.size(); ++x) EXPECT_EQ(EntryRgb(result, Pixel8(result, int(x), 0)), c.colours[x]);
    }
    MemHandle big = blocks(MakeDib24({{1, 2, 3, 4}}));
    LimitRoom(100);
    MemHandle result = nullptr;
    EXPECT_EQ(ReducePictureTo256(big, &result), ColorReduceResult::NoMemory);
    EXPECT_EQ(result, nullptr);
}
