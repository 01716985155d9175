#include "dib_test_util.h"
#include "platform/message_box_recorder.h"

using namespace kvtest;

namespace {

class DibExchange : public ImagingTest {
protected:
    void SetUp() override {
        ImagingTest::SetUp();
        savedPalette_ = GetExchangePalette();
        savedHeader_ = GetExchangeHeader();
        previous_ = SetExchangeColorReducer(nullptr);
    }
    void TearDown() override {
        SetExchangeColorReducer(previous_);
        GetExchangePalette() = savedPalette_;
        GetExchangeHeader() = savedHeader_;
        ImagingTest::TearDown();
    }
    static void SetExchangeRect(int w, int h) {
        LayerHeader& head = GetExchangeHeader();
        head = LayerHeader{};
        head.visible = 1;
        std::strcpy(head.name, "copied");
        head.right = w;
        head.bottom = h;
    }

private:
    ExchangePalette savedPalette_;
    LayerHeader savedHeader_;
    ExchangeColorReducer previous_;
};

// A reducer that maps each 24-bit pixel to index red / 64 with a four-grey palette.
ColorReduceResult StubReduce(MemHandle picture24, MemHandle* result) {
    dib::LockedDib d(picture24);
    if (!d || d.geo().bitCount != 24) return ColorReduceResult::Failed;
    MemHandle out = CreateDib8(d.geo().width, d.geo().height, 0);
    if (!out) return ColorReduceResult::NoMemory;
    for (int i = 0; i < 4; ++i)
        SetDibPaletteEntry(out, i, uint8_t(i * 64), uint8_t(i * 64), uint8_t(i * 64), 0);
    MemLockGuard o(out);
    size_t srcStride = d.geo().DisplayRow();
    for (int y = 0; y < d.geo().height; ++y)
        for (int x = 0; x < d.geo().width; ++x)
            o.get()[1064 + size_t(y) * Stride8(d.geo().width) + size_t(x)] = d.Row(y, srcStride)[x * 3 + 2] / 64;
    *result = out;
    return ColorReduceResult::Done;
}

}  // namespace

TEST_F(DibExchange, LayerBecomesAnImageWithTheDocumentPalette) {
    Blocks blocks;
    MemHandle doc = blocks(CreateDib8(10, 10, 0));
    SetEntry(doc, 4, 0x445566, 7);
    {
        MemLockGuard l(doc);
        l.as<DibInfoHeader>()->xPelsPerMeter = 1234;
    }
    MemHandle layer = blocks(MakeLayer(Rows{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {4, 4, 4, 4, 4}}, 1, 1, "cut"));
    MemHandle image = blocks(ConvertDibForExchange(layer, doc, 0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(MemSize(image), MemSize(layer) + 976);
    DibInfoHeader info = Info(image);
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bitCount, 8);
    EXPECT_EQ(info.sizeImage, 8u * 3);
    EXPECT_EQ(info.xPelsPerMeter, 1234);
    EXPECT_EQ(Pixels8(image), (Rows{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {4, 4, 4, 4, 4}}));
    uint8_t r, g, b, a;
    GetDibPaletteEntry(image, 4, &r, &g, &b, &a);
    EXPECT_EQ(std::vector<int>({r, g, b, a}), std::vector<int>({0x44, 0x55, 0x66, 7}));
    EXPECT_STREQ(GetExchangeHeader().name, "cut");
    EXPECT_EQ(GetExchangeHeader().drawMode, 1);
    EXPECT_EQ(GetExchangeHeader().right, 5);
    EXPECT_TRUE(MemIsValid(layer));
}

TEST_F(DibExchange, LayerToImageRefusals) {
    Blocks blocks;
    MemHandle doc = blocks(CreateDib8(4, 4, 0));
    MemHandle layer = blocks(MakeLayer(4, 4, 1));
    EXPECT_EQ(ConvertDibForExchange(layer, nullptr, 0), nullptr);
    EXPECT_EQ(ConvertDibForExchange(nullptr, doc, 0), nullptr);
    MemHandle lying = blocks(MakeLayer(4, 4, 1));
    {
        MemLockGuard l(lying);
        l.as<LayerHeader>()->bottom = 400;
    }
    EXPECT_EQ(ConvertDibForExchange(lying, doc, 0), nullptr);
    LimitRoom(100);
    EXPECT_EQ(ConvertDibForExchange(layer, doc, 0), nullptr);
}

TEST_F(DibExchange, EightBitPictureBecomesALayerBlock) {
    Blocks blocks;
    SetExchangeRect(5, 2);
    MemHandle pic = blocks(MakeDib8({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
    SetEntry(pic, 9, 0x090807, 3);
    MemHandle layer = blocks(ConvertDibForExchange(pic, nullptr, 88 + 8 * 2));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(MemSize(layer), 88u + 16);
    EXPECT_EQ(LayerPixels(layer), (Rows{{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
    MemLockGuard l(layer);
    EXPECT_STREQ(l.as<LayerHeader>()->name, "copied");
    const ExchangePaletteEntry& e = GetExchangePalette()[9];
    EXPECT_EQ(std::vector<int>({e.red, e.green, e.blue, e.alpha}), std::vector<int>({9, 8, 7, 3}));
    EXPECT_TRUE(MemIsValid(pic));  // the caller keeps the picture
}

TEST_F(DibExchange, NeverCopiesMorePixelBytesThanThePictureHolds) {
    Blocks blocks;
    SetExchangeRect(4, 2);
    MemHandle pic = blocks(MakeDib8({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    MemHandle layer = blocks(ConvertDibForExchange(pic, nullptr, 88 + 1000));
    ASSERT_NE(layer, nullptr);
    MemLockGuard l(layer);
    EXPECT_EQ(l.get()[88], 5);
    EXPECT_EQ(l.get()[88 + 7], 4);
    for (size_t i = 88 + 8; i < l.size(); ++i) ASSERT_EQ(l.get()[i], 0) << i;
    // Shorter than the pixels: only what fits.
    MemHandle part = blocks(ConvertDibForExchange(pic, nullptr, 88 + 3));
    ASSERT_EQ(MemSize(part), 91u);
    EXPECT_EQ(ConvertDibForExchange(pic, nullptr, 87), nullptr);
}

TEST_F(DibExchange, FourBitPictureStoresSixteenEntries) {
    Blocks blocks;
    SetExchangeRect(3, 1);
    GetExchangePalette()[16] = {1, 2, 3, 4};
    MemHandle pic = blocks(MakeDib4({{1, 15, 2}}, {0x000000, 0x112233}));
    MemHandle layer = blocks(ConvertDibForExchange(pic, nullptr, 88 + 4));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(LayerPixels(layer, 3, 1), (Rows{{1, 15, 2}}));
    EXPECT_EQ(GetExchangePalette()[1].red, 0x11);
    EXPECT_EQ(GetExchangePalette()[1].alpha, 10);
    EXPECT_EQ(GetExchangePalette()[16].red, 1);  // beyond 16 untouched
}

TEST_F(DibExchange, OneBitPictureGoesToEightBits) {
    Blocks blocks;
    SetExchangeRect(3, 2);
    MemHandle pic = blocks(MakeDib1({{1, 0, 1}, {0, 1, 1}}, 0x101010, 0xf0f0f0));
    MemHandle layer = blocks(ConvertDibForExchange(pic, nullptr, 88 + 8));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(LayerPixels(layer, 3, 2), (Rows{{1, 0, 1}, {0, 1, 1}}));
    EXPECT_EQ(GetExchangePalette()[0].red, 0x10);
    EXPECT_EQ(GetExchangePalette()[1].blue, 0xf0);
    EXPECT_EQ(GetExchangePalette()[2].blue, 0);
}

TEST_F(DibExchange, TwentyFourBitPictureGoesThroughTheReducer) {
    Blocks blocks;
    SetExchangeRect(3, 1);
    SetExchangeColorReducer(StubReduce);
    MemHandle pic = blocks(MakeDib24({{0x000000, 0x800000, 0xff0000}}));
    platform::MessageBoxRecorder boxes;
    MemHandle layer = blocks(ConvertDibForExchange(pic, nullptr, 88 + 4));
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(LayerPixels(layer, 3, 1), (Rows{{0, 2, 3}}));
    EXPECT_EQ(GetExchangePalette()[3].green, 192);
    EXPECT_TRUE(MemIsValid(pic));

    // 32 bits are brought to 24 first.
    MemHandle pic32 = blocks(CreateDib8(3, 1, 4));
    {
        MemLockGuard l(pic32);
        l.get()[40 + 4 + 2] = 0xff;  // pixel 1: red 255
    }
    MemHandle layer32 = blocks(ConvertDibForExchange(pic32, nullptr, 88 + 4));
    ASSERT_NE(layer32, nullptr);
    EXPECT_EQ(LayerPixels(layer32, 3, 1), (Rows{{0, 3, 0}}));
}

TEST_F(DibExchange, ReducerFailuresShowTheirMessages) {
    struct Case {
        ExchangeColorReducer reducer;
        const char* text;
    };
    std::vector<Case> cases = {
        {[](MemHandle, MemHandle*) { return ColorReduceResult::NoMemory; }, "减色所需要的内存不足。"},
        {[](MemHandle, MemHandle*) { return ColorReduceResult::Failed; }, "减色失败。"},
        {nullptr, "减色失败。"},
        // A reducer that claims success without an 8-bit image counts as failed.
        {[](MemHandle, MemHandle* out) {
             *out = CreateDib8(1, 1, 3);
             return ColorReduceResult::Done;
         },
         "减色失败。"},
    };
    Blocks blocks;
    SetExchangeRect(2, 1);
    MemHandle pic = blocks(MakeDib24({{0x102030, 0x405060}}));
    GetExchangePalette()[0] = {9, 9, 9, 9};
    for (const Case& c : cases) {
        SetExchangeColorReducer(c.reducer);
        platform::MessageBoxRecorder boxes;
        EXPECT_EQ(ConvertDibForExchange(pic, nullptr, 88 + 4), nullptr);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Requests()[0].text, c.text);
        EXPECT_EQ(GetExchangePalette()[0].red, 9);  // nothing stored
        EXPECT_TRUE(MemIsValid(pic));
    }
}

TEST_F(DibExchange, AllocationFailuresGiveNull) {
    Blocks blocks;
    SetExchangeRect(4, 2);
    MemHandle pic = blocks(MakeDib8({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    LimitRoom(0);  // the duplicate fails
    EXPECT_EQ(ConvertDibForExchange(pic, nullptr, 88 + 8), nullptr);
    LimitRoom(MemSize(pic));  // the duplicate succeeds, the layer block fails
    EXPECT_EQ(ConvertDibForExchange(pic, nullptr, 88 + 8), nullptr);
    MemHandle four = blocks(MakeDib4({{1, 2, 3, 4}}));
    LimitRoom(MemSize(four));  // the 8-bit expansion fails
    EXPECT_EQ(ConvertDibForExchange(four, nullptr, 88 + 4), nullptr);
    MemHandle mono = blocks(MakeDib1({{1, 0}}));
    LimitRoom(MemSize(mono));  // the 1-bit expansion fails
    EXPECT_EQ(ConvertDibForExchange(mono, nullptr, 88 + 4), nullptr);
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_TRUE(MemIsValid(pic));
    EXPECT_TRUE(MemIsValid(four));
    EXPECT_TRUE(MemIsValid(mono));
}
