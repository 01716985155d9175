// Composition of the composite from the layers by draw mode, written
// incrementally by every drawing operation and in full by recomposition;
// the two always agree.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "canvas.h"
#include "tools/draw_ops.h"
#include "imaging/layer_stack.h"

namespace {

using namespace tools;
using toolstest::Canvas;
using toolstest::LayerSetup;

constexpr uint8_t kNormal = LAYER_DRAW_NORMAL;
constexpr uint8_t kClear0 = LAYER_DRAW_INDEX0_CLEAR;

TEST(ComposeTest, DrawModeRules) {
    struct Case {
        std::string what;
        std::vector<LayerSetup> layers;  // each filled with its `fill`
        int current;
        bool layerStep;
        uint8_t composite;
    };
    const Case cases[] = {
        {"mode 0 copies every index, zero too", {{1, kNormal, 5}, {1, kNormal, 0}}, 0, false, 0},
        {"mode 1 skips index 0", {{1, kNormal, 5}, {1, kClear0, 0}}, 0, false, 5},
        {"mode 1 copies other indices", {{1, kNormal, 5}, {1, kClear0, 7}}, 0, false, 7},
        {"layer 0 in mode 1 writes its index 0", {{1, kClear0, 0}}, 0, false, 0},
        {"other modes copy nothing", {{1, kNormal, 5}, {1, 2, 9}}, 0, false, 5},
        {"hidden layers take no part", {{1, kNormal, 5}, {0, kNormal, 9}}, 0, false, 5},
        {"every layer hidden leaves 0", {{0, kNormal, 5}, {0, kNormal, 9}}, 0, false, 0},
        {"layer 0 hidden, mode-1 layer at 0 leaves 0", {{0, kNormal, 5}, {1, kClear0, 0}}, 1, false, 0},
        {"layer-step shows only the current layer", {{1, kNormal, 5}, {0, kClear0, 9}, {1, kNormal, 3}}, 1, true,
         9},
        {"layer-step with current at 0 in mode 1", {{1, kNormal, 5}, {1, kClear0, 0}}, 1, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Canvas canvas(6, 3, c.layers, c.current);
        canvas.target.stack.layerStep = c.layerStep;
        // Start from a stale composite: the rule must not depend on it.
        canvas.At(2, 1) = 77;
        RecomposeLayers(canvas.target.stack);
        EXPECT_EQ(canvas.At(2, 1), c.composite);
        canvas.At(2, 1) = 77;
        ComposeRun(canvas.target.stack, 0, 1, 6);
        EXPECT_EQ(canvas.At(2, 1), c.composite);
    }
}

TEST(ComposeTest, PaintingIndexZeroOnAModeOneLayerAboveAHiddenLayerClearsTheComposite) {
    Canvas c(8, 8, {{0, kNormal, 5}, {1, kClear0, 6}}, 1);
    ASSERT_EQ(c.At(3, 3), 6);
    c.target.SetTone(0, true, 0, 0);
    WritePixel(c.target, 3, 3);
    FillSpan(c.target, 0, 5, 8);
    EXPECT_EQ(c.At(3, 3), 0);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(c.At(x, 5), 0);
    EXPECT_EQ(c.At(3, 4), 6);
}

TEST(ComposeTest, InvisibleOrMissingCurrentLayerChangesNothing) {
    for (int current : {0, 2}) {  // 0 is hidden, 2 does not exist
        SCOPED_TRACE(current);
        Canvas c(10, 10, {{0, kNormal, 4}, {1, kClear0, 0}}, current);
        auto before = c.Rows();
        auto layer0 = c.layerBytes(0), layer1 = c.layerBytes(1);
        c.target.SetTone(0, true, 9, 0);
        for (const PenStamp& s : {PenStamp{}, PenStamp{StampKind::Runs, 605}, PenStamp{StampKind::Box, 606, 6}})
            StampPenLine(c.target, s, 1, 1, 8, 6, false);
        EXPECT_EQ(c.Rows(), before);
        EXPECT_EQ(c.layerBytes(0), layer0);
        EXPECT_EQ(c.layerBytes(1), layer1);
    }
}

TEST(ComposeTest, RecomposingARectangleLeavesTheRestAlone) {
    Canvas c(10, 10, {{1, kNormal, 3}});
    c.LayerAt(0, 2, 2) = 8;
    c.LayerAt(0, 7, 7) = 8;
    DibRect r{-5, -5, 4, 4};
    RecomposeLayers(c.target.stack, &r);
    EXPECT_EQ(c.At(2, 2), 8);
    EXPECT_EQ(c.At(7, 7), 3);
    EXPECT_EQ(GetPixelIndex(c.target.stack, 2, 2), 8);
    EXPECT_EQ(GetPixelIndex(c.target.stack, -1, 2), -1);
    EXPECT_EQ(GetPixelIndex(c.target.stack, 2, 10), -1);
}

// Random stacks, random strokes of every pen and tone: after every
// operation the composite equals a full recomposition of the same layers.
TEST(ComposeTest, IncrementalWritesAlwaysEqualFullComposition) {
    std::mt19937 rng(20261210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const PenStamp stamps[] = {PenStamp{},
                               {StampKind::Runs, 601},
                               {StampKind::Runs, 604},
                               {StampKind::Box, 606, 4},
                               {StampKind::Ellipse, 606, 9},
                               {StampKind::Turned, 606, 1, 7, 3, 0.4}};
    for (int round = 0; round < 60; ++round) {
        int w = pick(1, 23), h = pick(1, 19), count = pick(1, 6);
        std::vector<LayerSetup> setups;
        for (int i = 0; i < count; ++i)
            setups.push_back({uint8_t(pick(0, 3) != 0), uint8_t(pick(0, 4) == 0 ? 2 : pick(0, 1)), uint8_t(pick(0, 3))});
        Canvas c(w, h, setups, pick(0, count - 1));
        c.target.stack.layerStep = pick(0, 5) == 0;
        for (int i = 0; i < count; ++i)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (pick(0, 2) == 0) c.LayerAt(i, x, y) = uint8_t(pick(0, 3));
        RecomposeLayers(c.target.stack);
        for (int op = 0; op < 12; ++op) {
            c.target.SetTone(pick(0, 15), pick(0, 1), pick(0, 3), 0);
            const PenStamp& s = stamps[pick(0, 5)];
            if (pick(0, 1))
                StampPenLine(c.target, s, pick(-5, w + 5), pick(-5, h + 5), pick(-5, w + 5), pick(-5, h + 5),
                             false, pick(0, 2));
            else
                FillSpan(c.target, pick(-5, w), pick(-1, h), pick(-2, w + 5));
            auto incremental = c.Rows();
            RecomposeLayers(c.target.stack);
            ASSERT_EQ(c.Rows(), incremental) << "round " << round << " op " << op;
        }
    }
}

}  // namespace
