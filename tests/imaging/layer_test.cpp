#include "dib_test_util.h"

using namespace kvtest;

namespace {

class LayerBuffers : public ImagingTest {};

const Rows kGrid = {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}};

}  // namespace

TEST_F(LayerBuffers, NewLayerBufferFromDibCopiesFromTheBottomOfMemory) {
    Blocks blocks;
    MemHandle layer = blocks(MakeLayer(kGrid, 1, 1, "ink"));
    MemHandle bigger = blocks(NewLayerBufferFromDib(layer, 5, 3, 6, 4));
    ASSERT_NE(bigger, nullptr);
    EXPECT_EQ(MemSize(bigger), 88u + 8 * 4);
    // Memory rows 0..2 (the bottom three) keep their bytes: in image terms the
    // picture sits at the bottom-left, a new empty row on top.
    EXPECT_EQ(LayerPixels(bigger), (Rows{{0, 0, 0, 0, 0, 0},
                                         {1, 2, 3, 4, 5, 0},
                                         {6, 7, 8, 9, 10, 0},
                                         {11, 12, 13, 14, 15, 0}}));
    MemLockGuard l(bigger);
    const auto* head = l.as<LayerHeader>();
    EXPECT_EQ(head->right, 6);
    EXPECT_EQ(head->bottom, 4);
    EXPECT_EQ(head->drawMode, 1);
    EXPECT_STREQ(head->name, "ink");

    MemHandle smaller = blocks(NewLayerBufferFromDib(layer, 5, 3, 2, 2));
    EXPECT_EQ(LayerPixels(smaller), (Rows{{6, 7}, {11, 12}}));
    EXPECT_TRUE(MemIsValid(layer));  // the old block stays
}

TEST_F(LayerBuffers, NewLayerBufferFromDibRefusals) {
    Blocks blocks;
    MemHandle layer = blocks(MakeLayer(kGrid));
    EXPECT_EQ(NewLayerBufferFromDib(layer, 0, 3, 5, 3), nullptr);
    EXPECT_EQ(NewLayerBufferFromDib(layer, 5, -1, 5, 3), nullptr);
    EXPECT_EQ(NewLayerBufferFromDib(layer, 5, 3, 0, 3), nullptr);
    EXPECT_EQ(NewLayerBufferFromDib(layer, 50, 30, 5, 3), nullptr);  // more than the block holds
    EXPECT_EQ(NewLayerBufferFromDib(nullptr, 5, 3, 5, 3), nullptr);
    LimitRoom(10);
    EXPECT_EQ(NewLayerBufferFromDib(layer, 5, 3, 5, 3), nullptr);
}

TEST_F(LayerBuffers, ResizeLayerBufferKeepsTheTopLeftCorner) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(5, 3, 0));
    MemHandle layer = MakeLayer(kGrid, 1, 0, "top");
    {
        MemLockGuard l(layer);
        l.as<LayerHeader>()->left = 2;
        l.as<LayerHeader>()->top = 1;
        l.as<LayerHeader>()->right = 7;
        l.as<LayerHeader>()->bottom = 4;
    }
    MemHandle resized = blocks(ResizeLayerBuffer(img, layer, 5, 3, 3, 4));
    ASSERT_NE(resized, layer);
    EXPECT_FALSE(MemIsValid(layer));  // the old block is freed
    EXPECT_EQ(LayerPixels(resized), (Rows{{1, 2, 3}, {6, 7, 8}, {11, 12, 13}, {0, 0, 0}}));
    MemLockGuard l(resized);
    EXPECT_EQ(l.as<LayerHeader>()->right, 5);
    EXPECT_EQ(l.as<LayerHeader>()->bottom, 5);
    EXPECT_STREQ(l.as<LayerHeader>()->name, "top");
}

TEST_F(LayerBuffers, ResizeLayerBufferGivesBackTheOldBlockOnFailure) {
    Blocks blocks;
    MemHandle img = blocks(CreateDib8(5, 3, 0));
    MemHandle layer = blocks(MakeLayer(kGrid));
    EXPECT_EQ(ResizeLayerBuffer(nullptr, layer, 5, 3, 4, 4), layer);
    EXPECT_EQ(ResizeLayerBuffer(img, nullptr, 5, 3, 4, 4), nullptr);
    EXPECT_EQ(ResizeLayerBuffer(img, layer, 5, 3, 0, 4), layer);
    EXPECT_EQ(ResizeLayerBuffer(img, layer, 500, 3, 4, 4), layer);
    LimitRoom(10);
    EXPECT_EQ(ResizeLayerBuffer(img, layer, 5, 3, 4, 4), layer);
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(LayerPixels(layer), kGrid);
}

namespace {

using LayerOp = bool (*)(MemHandle, int, int, int, int);

struct TransformCase {
    const char* name;
    LayerOp op;
    Rows expected;
};

class LayerTransformTable : public ImagingTest, public ::testing::WithParamInterface<TransformCase> {};

}  // namespace

TEST_P(LayerTransformTable, TransformsInPlace) {
    Blocks blocks;
    MemHandle layer = blocks(MakeLayer(kGrid));
    ASSERT_TRUE(GetParam().op(layer, 0, 0, 5, 3));
    EXPECT_EQ(LayerPixels(layer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ops, LayerTransformTable,
    ::testing::Values(
        TransformCase{"left", ShiftLayerLeftWrap, {{2, 3, 4, 5, 1}, {7, 8, 9, 10, 6}, {12, 13, 14, 15, 11}}},
        TransformCase{"right", ShiftLayerRightWrap, {{5, 1, 2, 3, 4}, {10, 6, 7, 8, 9}, {15, 11, 12, 13, 14}}},
        TransformCase{"up", ShiftLayerVerticalWrapA, {{6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}, {1, 2, 3, 4, 5}}},
        TransformCase{"down", ShiftLayerVerticalWrapB, {{11, 12, 13, 14, 15}, {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}},
        TransformCase{"mirror", MirrorLayerRect, {{5, 4, 3, 2, 1}, {10, 9, 8, 7, 6}, {15, 14, 13, 12, 11}}},
        TransformCase{"flip", FlipLayerRect, {{11, 12, 13, 14, 15}, {6, 7, 8, 9, 10}, {1, 2, 3, 4, 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LayerBuffers, TransformsUseTheGivenRectangleAndRefuseBadOnes) {
    Blocks blocks;
    MemHandle layer = blocks(MakeLayer(kGrid));
    // The rectangle's offset does not matter, only its size.
    ASSERT_TRUE(MirrorLayerRect(layer, 10, 20, 15, 23));
    EXPECT_EQ(LayerPixels(layer)[0], (std::vector<uint8_t>{5, 4, 3, 2, 1}));
    EXPECT_FALSE(ShiftLayerLeftWrap(layer, 0, 0, 0, 3));
    EXPECT_FALSE(ShiftLayerRightWrap(layer, 0, 0, 5, -3));
    EXPECT_FALSE(FlipLayerRect(layer, 0, 0, 50, 30));
    EXPECT_FALSE(ShiftLayerVerticalWrapA(nullptr, 0, 0, 5, 3));
    // Flip with an odd row count leaves the middle row.
    MemHandle one = blocks(MakeLayer(Rows{{1, 2}}));
    EXPECT_TRUE(FlipLayerRect(one, 0, 0, 2, 1));
    EXPECT_EQ(LayerPixels(one), (Rows{{1, 2}}));
}

TEST_F(LayerBuffers, FlipDibVerticalAnyBitCount) {
    Blocks blocks;
    MemHandle img = blocks(MakeDib8({{1, 2}, {3, 4}, {5, 6}}));
    ASSERT_TRUE(FlipDibVertical(img));
    EXPECT_EQ(Pixels8(img), (Rows{{5, 6}, {3, 4}, {1, 2}}));

    // 24 bit with unpadded rows, as CreateDib8 sizes them.
    MemHandle rgb = blocks(MakeDib24({{0x111111, 0x222222, 0x333333}, {0x444444, 0x555555, 0x666666}}, false));
    ASSERT_TRUE(FlipDibVertical(rgb));
    EXPECT_EQ(Pixel24(rgb, 0, 0), 0x444444u);
    EXPECT_EQ(Pixel24(rgb, 2, 1), 0x333333u);

    MemHandle mono = blocks(MakeDib1({{1, 0, 0}, {0, 1, 1}}));
    ASSERT_TRUE(FlipDibVertical(mono));
    MemLockGuard l(mono);
    EXPECT_EQ(l.get()[48], 0x80);  // bottom memory row is the old top row
    EXPECT_EQ(l.get()[52], 0x60);
    EXPECT_FALSE(FlipDibVertical(nullptr));
}
