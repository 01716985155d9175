// The blur kernel, the blur against a plain weighted sum and the filters'
// masks, through a plug-in carrying them that is loaded for real.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_layer_rgb.h"  // the RgbBuffer record only
#include "tests/support/probe_library_test.h"

namespace {

using WeightsFn = int (*)(int, int*);
using NewRgbFn = RgbBuffer* (*)(int, int);
using FreeRgbFn = void (*)(RgbBuffer*);
using BlurFn = RgbBuffer* (*)(const RgbBuffer*, int, const uint8_t*, const uint8_t*, const PluginToolRecord*);
using MasksFn = int (*)(MemHandle, int, int, uint8_t*, uint8_t*);

class BlurTest : public kvtest::ProbeLibraryTest {
protected:
    BlurTest() : ProbeLibraryTest(HAZEWELL_PROBE) {}
};

std::vector<std::string> Weights(WeightsFn fn, int radius, int* result) {
    int size = radius + 1;
    std::vector<int> cells(size_t(size * size), -1);
    *result = fn(size, cells.data());
    std::vector<std::string> rows;
    for (int i = 0; i < size; ++i) {
        std::string row;
        for (int j = 0; j < size; ++j) {
            int w = cells[size_t(i * size + j)];
            row += (j ? " " : "") + (w ? std::to_string(w) : std::string("."));
        }
        rows.push_back(row);
    }
    return rows;
}

TEST_F(BlurTest, WeightsAreConcentricMidpointCircles) {
    auto fn = Fn<WeightsFn>("ProbeBlurWeights");
    struct Case {
        int radius;
        int result;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {1, 2, {"1 1", "1 1"}},
        {2, 2, {"1 1 1", "1 2 1", "1 1 1"}},
        {4, 3, {". 1 1 1 .", "1 2 2 2 1", "1 2 3 2 1", "1 2 2 2 1", ". 1 1 1 ."}},
        {8, 5, {". . 1 1 1 1 1 . .", ". 1 . 2 2 2 . 1 .", "1 . 2 3 3 3 2 . 1", "1 2 3 4 4 4 3 2 1",
                "1 2 3 4 5 4 3 2 1", "1 2 3 4 4 4 3 2 1", "1 . 2 3 3 3 2 . 1", ". 1 . 2 2 2 . 1 .",
                ". . 1 1 1 1 1 . ."}},
    };
    for (const Case& c : cases) {
        int result = 0;
        EXPECT_EQ(Weights(fn, c.radius, &result), c.rows) << "radius " << c.radius;
        EXPECT_EQ(result, c.result) << "radius " << c.radius;
    }
}

// The blur as the plain sum over the kernel, straight from its definition.
std::vector<uint8_t> ReferenceBlur(WeightsFn weightsFn, const RgbBuffer& in, int radius,
                                   const std::vector<uint8_t>& protect, const std::vector<uint8_t>& selection,
                                   const DibRect& rect) {
    std::vector<uint8_t> out(size_t(in.stride) * size_t(in.height), 0);
    if (radius == 0) {
        std::memcpy(out.data(), in.data, out.size());
        return out;
    }
    int size = radius + 1;
    std::vector<int> w(size_t(size * size));
    weightsFn(size, w.data());
    DibRect r = rect;
    if (!r.left && !r.top && !r.right && !r.bottom) r = {0, 0, in.width, in.height};
    auto bit = [&](const std::vector<uint8_t>& mask, int x, int row) {
        int top = in.height - 1 - row;
        return (mask[size_t(top * ((in.width + 7) / 8) + x / 8)] >> (7 - x % 8)) & 1;
    };
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) {
            long total = 0, sum[3] = {0, 0, 0};
            for (int i = 0; i < size; ++i)
                for (int j = 0; j < size; ++j) {
                    int ny = y + i - radius / 2, nx = x + j - radius / 2;
                    if (ny < in.height - r.bottom || ny >= in.height - r.top) continue;
                    if (nx < r.left || nx >= r.right || nx < 0 || ny < 0) continue;
                    if (nx >= in.width || ny >= in.height) continue;
                    if (!bit(selection, nx, ny) || bit(protect, nx, ny)) continue;
                    int weight = w[size_t(i * size + j)];
                    total += weight;
                    for (int c = 0; c < 3; ++c) sum[c] += weight * in.data[ny * in.stride + 3 * nx + c];
                }
            if (total)
                for (int c = 0; c < 3; ++c) out[size_t(y * in.stride + 3 * x + c)] = uint8_t(sum[c] / total);
        }
    return out;
}

TEST_F(BlurTest, BlurIsTheWeightedSumOverCountedNeighbours) {
    auto weights = Fn<WeightsFn>("ProbeBlurWeights");
    auto newRgb = Fn<NewRgbFn>("ProbeNewRgb");
    auto freeRgb = Fn<FreeRgbFn>("ProbeFreeRgb");
    auto blur = Fn<BlurFn>("ProbeBlur");
    using MaskFill = std::function<bool(int x, int topRow)>;
    auto all = [](int, int) { return true; };
    auto none = [](int, int) { return false; };
    struct Case {
        const char* name;
        int width, height, radius;
        DibRect rect;
        MaskFill selected, protectedBit;
    };
    const std::vector<Case> cases = {
        {"radius 0 copies", 7, 5, 0, {}, all, none},
        {"radius 1", 7, 5, 1, {}, all, none},
        {"radius 2", 7, 5, 2, {}, all, none},
        {"odd radius above 8", 30, 23, 11, {}, all, none},
        {"even radius above 8", 29, 26, 14, {}, all, none},
        {"largest radius, wider than the image", 17, 40, 20, {}, all, none},
        {"selection edge", 12, 9, 3, {}, [](int x, int y) { return x >= 4 && y < 6; }, none},
        {"protect bits", 12, 9, 4, {}, all, [](int x, int y) { return (x + y) % 3 == 0; }},
        {"rectangle", 15, 11, 5, {3, 2, 11, 8}, all, none},
        {"both masks and a rectangle", 21, 13, 8, {2, 1, 19, 12}, [](int x, int) { return x % 4 != 1; },
         [](int, int y) { return y == 5; }},
    };
    std::mt19937 random(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RgbBuffer* in = newRgb(c.width, c.height);
        ASSERT_NE(in, nullptr);
        for (int i = 0; i < in->stride * in->height; ++i) in->data[i] = uint8_t(random());
        size_t row = size_t(c.width + 7) / 8;
        std::vector<uint8_t> selection(row * size_t(c.height), 0), protect(selection);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                if (c.selected(x, y)) selection[size_t(y) * row + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
                if (c.protectedBit(x, y)) protect[size_t(y) * row + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            }
        PluginToolRecord record{};
        record.rect = c.rect;
        RgbBuffer* out = blur(in, c.radius, protect.data(), selection.data(), &record);
        ASSERT_NE(out, nullptr);
        ASSERT_EQ(out->width, c.width);
        ASSERT_EQ(out->height, c.height);
        std::vector<uint8_t> expected = ReferenceBlur(weights, *in, c.radius, protect, selection, c.rect);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width * 3; ++x)
                ASSERT_EQ(out->data[y * out->stride + x], expected[size_t(y * in->stride + x)])
                    << "row " << y << " byte " << x;
        freeRgb(out);
        freeRgb(in);
    }
}

TEST_F(BlurTest, RadiusOneAveragesThePixelItsRightNeighbourAndTheRowAbove) {
    auto newRgb = Fn<NewRgbFn>("ProbeNewRgb");
    auto freeRgb = Fn<FreeRgbFn>("ProbeFreeRgb");
    auto blur = Fn<BlurFn>("ProbeBlur");
    RgbBuffer* in = newRgb(2, 2);
    // Bottom-up rows: row 0 blue 0 and 40, row 1 blue 80 and 200.
    const uint8_t blues[2][2] = {{0, 40}, {80, 200}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) std::memset(in->data + y * in->stride + 3 * x, blues[y][x], 3);
    RgbBuffer* out = blur(in, 1, nullptr, nullptr, nullptr);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->data[0], (0 + 40 + 80 + 200) / 4);  // all four
    EXPECT_EQ(out->data[3], (40 + 200) / 2);            // no right neighbour
    EXPECT_EQ(out->data[out->stride], (80 + 200) / 2);  // no row above
    EXPECT_EQ(out->data[out->stride + 3], 200);
    freeRgb(out);
    freeRgb(in);
}

TEST_F(BlurTest, FilterMasksUseTheHostsSelectionOnlyWhenSomethingIsSelected) {
    auto masks = Fn<MasksFn>("ProbeFilterMasks");
    const int w = 10, h = 3;  // rows of 2 bytes, 6 padding bits each
    std::vector<uint8_t> selection(4 * h), protect(4 * h);
    struct Case {
        const char* name;
        std::vector<uint8_t> host;  // empty: no block
        int flags;
        std::vector<uint8_t> expected;
    };
    const std::vector<uint8_t> ones = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    const std::vector<uint8_t> padding = {0x00, 0x3f, 0x00, 0x3f, 0x00, 0x3f};
    std::vector<uint8_t> padded(4096, 0xff);  // the rest of a larger block
    std::fill_n(padded.begin(), 6, 0);
    const std::vector<Case> cases = {
        {"no host mask", {}, 2, ones},
        {"empty host mask", std::vector<uint8_t>(6, 0), 0, ones},
        {"only padding bits set", padding, 0, ones},
        {"empty inside a larger block", padded, 0, ones},
        {"one pixel selected", {0, 0, 0, 0x40, 0, 0}, 1, {0, 0, 0, 0x40, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemHandle host = nullptr;
        if (!c.host.empty()) {
            host = MemAlloc(c.host.size());
            MemLockGuard lock(host);
            std::memcpy(lock.get(), c.host.data(), c.host.size());
        }
        EXPECT_EQ(masks(host, w, h, selection.data(), protect.data()), c.flags);
        EXPECT_EQ(std::vector<uint8_t>(selection.begin(), selection.begin() + 6), c.expected);
        EXPECT_EQ(std::vector<uint8_t>(protect.begin(), protect.begin() + 6), std::vector<uint8_t>(6, 0));
        if (host) {
            auto* bytes = static_cast<uint8_t*>(MemLock(host));
            EXPECT_EQ(std::memcmp(bytes, c.host.data(), c.host.size()), 0) << "host block written";
            EXPECT_EQ(MemUnlock(host), 0) << "host block left locked";
            MemFree(host);
        }
    }
}

}  // namespace
