// The colour-reduction engine on plain pixel buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "dib_test_util.h"
#include "imaging/color_reduce.h"
#include "plugin_api/color_reduce_table.h"

using namespace kvtest;

namespace {

// A picture as it looks: colours 0xRRGGBB, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> colours;

    std::set<uint32_t> Distinct() const { return {colours.begin(), colours.end()}; }
};

size_t Row24(int w) { return (size_t(w) * 3 + 3) & ~size_t(3); }

// The picture as 24-bit rows as stored (bottom row first, padded).
std::vector<uint8_t> Stored24(const Picture& p) {
    std::vector<uint8_t> out(Row24(p.width) * size_t(p.height), 0xEE);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            uint32_t c = p.colours[size_t(y * p.width + x)];
            uint8_t* q = out.data() + size_t(p.height - 1 - y) * Row24(p.width) + size_t(x) * 3;
            q[0] = uint8_t(c), q[1] = uint8_t(c >> 8), q[2] = uint8_t(c >> 16);
        }
    return out;
}

// The picture as 8-bit rows with its own palette (at most 256 colours).
void Stored8(const Picture& p, std::vector<uint8_t>* pixels, std::vector<uint8_t>* palette) {
    std::vector<uint32_t> table;
    pixels->assign(Stride8(p.width) * size_t(p.height), 0);
    palette->assign(1024, 0);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            uint32_t c = p.colours[size_t(y * p.width + x)];
            auto it = std::find(table.begin(), table.end(), c);
            if (it == table.end()) it = table.insert(table.end(), c);
            size_t index = size_t(it - table.begin());
            ASSERT_LT(index, 256u);
            (*pixels)[size_t(p.height - 1 - y) * Stride8(p.width) + size_t(x)] = uint8_t(index);
        }
    for (size_t i = 0; i < table.size(); ++i) {
        (*palette)[i * 4] = uint8_t(table[i]);
        (*palette)[i * 4 + 1] = uint8_t(table[i] >> 8);
        (*palette)[i * 4 + 2] = uint8_t(table[i] >> 16);
        (*palette)[i * 4 + 3] = 0x77;
    }
}

PaletteEntry* Pal(std::vector<uint8_t>& bytes) { return reinterpret_cast<PaletteEntry*>(bytes.data()); }

uint32_t Entry(const std::vector<uint8_t>& palette, int i) {
    const uint8_t* e = palette.data() + i * 4;
    return uint32_t(e[0]) | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16;
}

int Index(const std::vector<uint8_t>& pixels, int width, int height, int x, int y) {
    return pixels[size_t(height - 1 - y) * Stride8(width) + size_t(x)];
}

// The engine's colour distance.
uint32_t Distance(uint32_t a, uint32_t b) {
    auto d = [&](int shift) { return int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF); };
    return uint32_t(d(0) * d(0) + 16 * d(8) * d(8) + 4 * d(16) * d(16));
}

Picture SolidPicture(int w, int h, uint32_t colour) {
    return {w, h, std::vector<uint32_t>(size_t(w) * size_t(h), colour)};
}

// A picture with k distinct colours in stripes.
Picture Stripes(int w, int h, int k) {
    Picture p{w, h, {}};
    for (int i = 0; i < w * h; ++i) {
        uint32_t n = uint32_t((i / 3) % k);
        p.colours.push_back((n * 37 % 256) << 16 | (n * 91 % 256) << 8 | (n * 13 + n / 20) % 256);
    }
    return p;
}

// A photograph-like picture: smooth gradients with noise, many colours.
Picture Noisy(int w, int h, unsigned seed, int noise) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> jitter(-noise, noise);
    Picture p{w, h, {}};
    auto clamp = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.colours.push_back(clamp(x * 255 / w + jitter(rng)) << 16 |
                                clamp(y * 255 / h + jitter(rng)) << 8 |
                                clamp((x + y) * 127 / (w + h) + 64 + jitter(rng)));
    return p;
}

struct Reduced {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> palette;
    int32_t result = 0;
};

Reduced Reduce24(const Picture& p, int colours, int keep = 0) {
    std::vector<uint8_t> source = Stored24(p);
    Reduced r;
    r.pixels.assign(Stride8(p.width) * size_t(p.height), 0xCD);
    r.palette.assign(1024 + 16, 0xAB);  // 16 guard bytes after the palette
    r.result = ReduceImageColors(source.data(), r.pixels.data(), p.width, p.height, Pal(r.palette),
                                 colours, 24, keep);
    return r;
}

// Colours of the reduced picture, top row first.
std::vector<uint32_t> Decoded(const Reduced& r, int w, int h) {
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(Entry(r.palette, Index(r.pixels, w, h, x, y)));
    return out;
}

class ColorReduce : public ImagingTest {
protected:
    void TearDown() override {
        ReducerFree();
        ImagingTest::TearDown();
    }
};

// Checks a reduction without reserved colours: the entries below the
// survivor count are distinct colours of the picture, the rest zero, and
// every pixel shows the survivor nearest to its own colour.
void ExpectFaithful(const Picture& p, const Reduced& r, size_t colours) {
    ASSERT_EQ(r.result, 1);
    std::set<uint32_t> distinct = p.Distinct();
    size_t survivors = std::min(colours, distinct.size());
    std::set<uint32_t> seen;
    for (size_t i = 0; i < survivors; ++i) {
        uint32_t c = Entry(r.palette, int(i));
        EXPECT_TRUE(distinct.count(c)) << "entry " << i << " is no colour of the picture";
        EXPECT_TRUE(seen.insert(c).second) << "entry " << i << " repeats a colour";
    }
    for (size_t i = survivors * 4; i < 1024; ++i) ASSERT_EQ(r.palette[i], 0) << "byte " << i;
    for (size_t i = 1024; i < r.palette.size(); ++i) ASSERT_EQ(r.palette[i], 0xAB) << "guard";
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int index = Index(r.pixels, p.width, p.height, x, y);
            ASSERT_LT(size_t(index), survivors);
            uint32_t own = p.colours[size_t(y * p.width + x)];
            uint32_t best = UINT32_MAX;
            for (uint32_t s : seen) best = std::min(best, Distance(own, s));
            ASSERT_EQ(Distance(own, Entry(r.palette, index)), best) << "pixel " << x << "," << y;
        }
}

}  // namespace

TEST_F(ColorReduce, SurvivorsAreColoursOfThePictureAndPixelsTakeTheNearest) {
    struct Case {
        Picture picture;
        int colours;
    };
    const Case cases[] = {
        {Noisy(40, 30, 1, 6), 1},
        {Noisy(40, 30, 2, 6), 16},
        {Noisy(40, 30, 3, 20), 256},
        {Noisy(128, 100, 4, 40), 256},  // more than 8192 colours: the grid is rebuilt twice
        {Noisy(128, 100, 5, 40), 16},
        {Noisy(5, 3, 6, 100), 7},       // rows with padding
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width << "x" << c.picture.height << " to "
                                        << c.colours << " of " << c.picture.Distinct().size());
        ExpectFaithful(c.picture, Reduce24(c.picture, c.colours), size_t(c.colours));
    }
}

TEST_F(ColorReduce, PictureWithNoMoreColoursThanTheTargetComesBackUnchanged) {
    struct Case {
        Picture picture;
        int colours;
    };
    const Case cases[] = {
        {Stripes(9, 5, 2), 2},  {Stripes(9, 5, 2), 256},  {Stripes(31, 17, 7), 7},
        {Stripes(40, 40, 255), 256}, {Stripes(64, 64, 256), 256}, {SolidPicture(3, 3, 0x123456), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.Distinct().size() << " colours to " << c.colours);
        Reduced r = Reduce24(c.picture, c.colours);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(Decoded(r, c.picture.width, c.picture.height), c.picture.colours);
        // 8-bit source through its palette, in place.
        std::vector<uint8_t> pixels, palette;
        Stored8(c.picture, &pixels, &palette);
        ASSERT_EQ(ReduceImageColors(pixels.data(), pixels.data(), c.picture.width, c.picture.height,
                                    Pal(palette), c.colours, 8, 0),
                  1);
        Reduced inPlace{pixels, palette, 1};
        EXPECT_EQ(Decoded(inPlace, c.picture.width, c.picture.height), c.picture.colours);
    }
}

TEST_F(ColorReduce, OneColourAndTargetOneFinish) {
    // A flat picture has no other colour to find; the search must still stop.
    for (int colours : {1, 2, 256}) {
        Reduced r = Reduce24(SolidPicture(6, 4, 0xFFFFFF), colours);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(Entry(r.palette, 0), 0xFFFFFFu);
        EXPECT_EQ(r.palette[3], 0) << "alpha 0";
        EXPECT_TRUE(std::all_of(r.palette.begin() + 4, r.palette.begin() + 1024,
                                [](uint8_t b) { return b == 0; }));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) EXPECT_EQ(Index(r.pixels, 6, 4, x, y), 0);
    }
    // Two colours far apart down to one: everything becomes one of them.
    Picture two = Stripes(8, 8, 2);
    Reduced r = Reduce24(two, 1);
    ASSERT_EQ(r.result, 1);
    EXPECT_TRUE(two.Distinct().count(Entry(r.palette, 0)));
    std::vector<uint32_t> shown = Decoded(r, 8, 8);
    EXPECT_EQ(std::set<uint32_t>({Entry(r.palette, 0)}), std::set<uint32_t>(shown.begin(), shown.end()));
}

TEST_F(ColorReduce, RefusedArgumentsLeaveTheBuffersAlone) {
    Picture p = Stripes(4, 4, 3);
    struct Case {
        int width, height, colours, bits;
    };
    const Case cases[] = {{4, 4, 0, 24}, {4, 4, -5, 24}, {4, 4, 257, 24}, {4, 4, 16, 16},
                          {4, 4, 16, 32}, {0, 4, 16, 24}, {4, -1, 16, 24}};
    for (const Case& c : cases) {
        std::vector<uint8_t> source = Stored24(p), pixels(64, 0xCD), palette(1024, 0xAB);
        EXPECT_EQ(ReduceImageColors(source.data(), pixels.data(), c.width, c.height, Pal(palette),
                                    c.colours, c.bits, 0),
                  0);
        EXPECT_EQ(pixels, std::vector<uint8_t>(64, 0xCD));
        EXPECT_EQ(palette, std::vector<uint8_t>(1024, 0xAB));
    }
    EXPECT_EQ(ReducerInit(4, 4, 0, 24), 0);
    EXPECT_EQ(ReducerInit(4, 4, 257, 8), 0);
}

TEST_F(ColorReduce, CallsOutOfOrderDoNothing) {
    std::vector<uint8_t> pixels(16, 3), palette(1024, 0xAB);
    ReducerCollectColors(pixels.data(), Pal(palette));
    EXPECT_EQ(ReducerPrepareNodes(), 0);
    EXPECT_EQ(ReducerMerge(), 0);
    ReducerMapPixels(pixels.data(), pixels.data(), Pal(palette));
    ReducerBuildPalette(Pal(palette), 1);
    ReducerRemapPixels(pixels.data(), 1);
    EXPECT_EQ(pixels, std::vector<uint8_t>(16, 3));
    EXPECT_EQ(palette, std::vector<uint8_t>(1024, 0xAB));
    ASSERT_EQ(ReducerInit(4, 4, 4, 8), 1);
    EXPECT_EQ(ReducerMerge(), 0) << "merge before the nodes are prepared";
    ReducerCollectColors(nullptr, Pal(palette));
    ReducerCollectColors(pixels.data(), nullptr);
    EXPECT_EQ(ReducerPrepareNodes(), 0) << "nothing was collected";
    ReducerFree();
    ReducerFree();
}

TEST_F(ColorReduce, ShortMemoryFailsCleanly) {
    Picture p = Noisy(64, 64, 7, 30);
    for (size_t room : {size_t(1000), size_t(2u << 20), size_t((2u << 20) + 64 * 64 * 4 + 4096)}) {
        SCOPED_TRACE(room);
        LimitRoom(room);
        Reduced r = Reduce24(p, 16);
        EXPECT_EQ(r.result, 0);
        EXPECT_EQ(r.pixels, std::vector<uint8_t>(r.pixels.size(), 0xCD));
        MemSetLimit(MEM_NO_LIMIT);
    }
}

TEST_F(ColorReduce, ReservedColoursTakeTheirEntriesAndTheRestFitsBetween) {
    // A picture with 808080 and 300 other colours: with the flag the
    // reduction keeps at most 236 own colours, in 10..245.
    Picture p = Noisy(30, 20, 8, 60);
    for (int x = 0; x < 30; ++x) {  // two heavy rows that survive
        p.colours[size_t(x)] = 0x808080;
        p.colours[size_t(30 + x)] = 0xFFFFFF;
    }
    ASSERT_GT(p.Distinct().size(), 300u);
    for (int colours : {256, 100}) {
        SCOPED_TRACE(colours);
        Reduced r = Reduce24(p, colours, 1);
        ASSERT_EQ(r.result, 1);
        for (int i = 0; i < 20; ++i) {
            int index = i < 10 ? i : 236 + i;
            EXPECT_EQ(std::memcmp(Pal(r.palette) + index, &SystemColorTable[i], 4), 0) << index;
        }
        for (size_t i = 1024; i < r.palette.size(); ++i) ASSERT_EQ(r.palette[i], 0xAB) << "guard";
        EXPECT_EQ(Index(r.pixels, 30, 20, 0, 0), 7) << "808080 takes 7";
        EXPECT_EQ(Index(r.pixels, 30, 20, 0, 1), 255);
        std::set<uint32_t> distinct = p.Distinct();
        std::set<int> used;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) used.insert(Index(r.pixels, 30, 20, x, y));
        for (int index : used) {
            EXPECT_TRUE(distinct.count(Entry(r.palette, index))) << index;
            EXPECT_TRUE(index < 10 || index > 245 || index <= 9 + std::min(colours, 236)) << index;
        }
    }
}

TEST_F(ColorReduce, ReservedPaletteAfterAWideMergeStaysInsideItsEntries) {
    // Driven by the slots with 256 colours and the flag at the end: more own
    // colours than free entries. The surplus takes the nearest entry given.
    Picture p = Noisy(40, 30, 9, 60);
    std::vector<uint8_t> source = Stored24(p), pixels(Stride8(40) * 30), palette(1024 + 16, 0xAB);
    ASSERT_EQ(ReducerInit(40, 30, 256, 24), 1);
    ReducerCollectColors(source.data(), nullptr);
    ASSERT_EQ(ReducerPrepareNodes(), 1);
    ReducerWeighPixels(source.data(), nullptr);
    ASSERT_EQ(ReducerMerge(), 1);
    ReducerMapPixels(source.data(), pixels.data(), nullptr);
    ReducerBuildPalette(Pal(palette), 1);
    ReducerRemapPixels(pixels.data(), 1);
    ReducerFree();
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(std::memcmp(Pal(palette) + (i < 10 ? i : 236 + i), &SystemColorTable[i], 4), 0);
    for (size_t i = 1024; i < palette.size(); ++i) ASSERT_EQ(palette[i], 0xAB) << "guard";
    std::set<uint32_t> distinct = p.Distinct();
    for (int i = 10; i <= 245; ++i) EXPECT_TRUE(distinct.count(Entry(palette, i))) << i;
}

TEST_F(ColorReduce, GreyLevels) {
    struct Case {
        uint32_t colour;
        int twoLevels;
        uint8_t expected;
    };
    const Case cases[] = {
        {0x808080, 1, 0}, {0x828282, 1, 1}, {0xFFFFFF, 1, 1}, {0x000000, 1, 0},
        {0xFFFFFF, 0, 255}, {0xFF0000, 0, 76}, {0x00FF00, 0, 149}, {0x0000FF, 0, 29},
        {0x808080, 0, 128}, {0x102030, 0, (76 * 16 + 149 * 32 + 29 * 48) / 254},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << " two levels " << c.twoLevels);
        std::vector<uint8_t> pixels(8 * 2, 0), palette(1024, 0);
        for (int i = 0; i < 256; ++i) palette[size_t(i) * 4 + 3] = uint8_t(i);  // alphas
        palette[5 * 4] = uint8_t(c.colour);
        palette[5 * 4 + 1] = uint8_t(c.colour >> 8);
        palette[5 * 4 + 2] = uint8_t(c.colour >> 16);
        pixels[2] = 5;      // 3 x 2 pixels, rows of 4 bytes
        pixels[4 + 1] = 5;
        pixels[3] = 5;      // padding stays
        ConvertToGreyLevels(pixels.data(), 3, 2, Pal(palette), c.twoLevels, 1);
        EXPECT_EQ(pixels[2], c.expected);
        EXPECT_EQ(pixels[5], c.expected);
        EXPECT_EQ(pixels[0], 0);
        EXPECT_EQ(pixels[3], 5);
        EXPECT_EQ(palette[5 * 4 + 2], uint8_t(c.colour >> 16)) << "palette kept for later";
        ConvertToGreyLevels(pixels.data(), 3, 2, Pal(palette), c.twoLevels, 0);
        for (int i = 0; i < 256; ++i) {
            uint8_t v = c.twoLevels ? uint8_t(i == 1 ? 255 : 0) : uint8_t(i);
            ASSERT_EQ(palette[size_t(i) * 4], v);
            ASSERT_EQ(palette[size_t(i) * 4 + 1], v);
            ASSERT_EQ(palette[size_t(i) * 4 + 2], v);
            ASSERT_EQ(palette[size_t(i) * 4 + 3], uint8_t(i)) << "alpha stays";
        }
    }
}

// The order a file-format plug-in drives the slots in: 1; 2 per image; 3;
// 4 per image; 5; 6 per image; 7; 9, each through the table as it is lent
// slot by slot. The images share the palette of 7.
TEST_F(ColorReduce, SlotsDrivenInPluginOrderGiveImagesOnePalette) {
    const ColorReduceTable lent = EngineColorReduceTable();
    ColorReduceTable t{};
    for (int32_t i = 0; i < COLOR_REDUCE_SLOTS; ++i) ColorReduceTableSet(&t, ColorReduceTableGet(&lent, i), i);

    const Picture pictures[] = {Stripes(12, 9, 40), Noisy(12, 9, 10, 30), Stripes(12, 9, 3)};
    std::set<uint32_t> all;
    for (const Picture& p : pictures) all.insert(p.colours.begin(), p.colours.end());
    for (int colours : {256, 24}) {
        SCOPED_TRACE(colours);
        std::vector<uint8_t> pixels[3], palettes[3];
        for (int i = 0; i < 3; ++i) Stored8(pictures[i], &pixels[i], &palettes[i]);
        if (::testing::Test::HasFatalFailure()) return;
        ASSERT_EQ(t.init(12, 9, colours, 8), 1);
        for (int i = 0; i < 3; ++i) t.collectColors(pixels[i].data(), Pal(palettes[i]));
        ASSERT_EQ(t.prepareNodes(), 1);
        for (int i = 0; i < 3; ++i) t.weighPixels(pixels[i].data(), Pal(palettes[i]));
        ASSERT_EQ(t.merge(), 1);
        for (int i = 0; i < 3; ++i) t.mapPixels(pixels[i].data(), pixels[i].data(), Pal(palettes[i]));
        std::vector<uint8_t>& shared = palettes[0];
        t.buildPalette(Pal(shared), 0);
        t.freeBuffers();

        size_t survivors = std::min(all.size(), size_t(colours));
        std::set<uint32_t> kept;
        for (size_t i = 0; i < survivors; ++i) {
            EXPECT_TRUE(all.count(Entry(shared, int(i))));
            kept.insert(Entry(shared, int(i)));
        }
        EXPECT_EQ(kept.size(), survivors);
        for (int i = 0; i < 3; ++i) {
            Reduced r{pixels[i], shared, 1};
            std::vector<uint32_t> shown = Decoded(r, 12, 9);
            for (size_t k = 0; k < shown.size(); ++k) {
                uint32_t own = pictures[i].colours[k];
                if (all.size() <= size_t(colours)) {
                    ASSERT_EQ(shown[k], own) << "image " << i << " pixel " << k;
                } else {
                    uint32_t best = UINT32_MAX;
                    for (uint32_t s : kept) best = std::min(best, Distance(own, s));
                    ASSERT_EQ(Distance(own, shown[k]), best) << "image " << i << " pixel " << k;
                }
            }
        }
    }
}

// A pixel on an even ramp weighs more: it survives where its neighbours go.
TEST_F(ColorReduce, PixelsOnAnEvenRampWeighMore) {
    const uint32_t X = 0x00FFFF, L = 0x6E0000, A = 0x64000A, R = 0x5A0014;  // L, A, R: one even step
    struct Case {
        std::vector<uint32_t> middleRow;
        uint32_t survivor;
    };
    for (const Case& c : {Case{{X, L, A, R, X}, A}, Case{{X, A, L, R, X}, R}}) {
        Picture p{5, 3, std::vector<uint32_t>(5, X)};
        p.colours.insert(p.colours.end(), c.middleRow.begin(), c.middleRow.end());
        p.colours.insert(p.colours.end(), 5, X);
        Reduced r = Reduce24(p, 2);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(std::set<uint32_t>({Entry(r.palette, 0), Entry(r.palette, 1)}), std::set<uint32_t>({X, c.survivor}));
    }
}

// The exact result is what documents saved from it hold: it must not drift
// when the engine is made faster. Checksums (FNV-1a over the indices, then
// the palette) of results the engine has always given.
TEST_F(ColorReduce, ResultsStayExactlyTheSame) {
    auto checksum = [](const Reduced& r) {
        uint64_t h = 1469598103934665603ull;
        for (size_t i = 0; i < r.pixels.size() + 1024; ++i)
            h = (h ^ (i < r.pixels.size() ? r.pixels[i] : r.palette[i - r.pixels.size()])) * 1099511628211ull;
        return h;
    };
    struct Case {
        Picture picture;
        int colours;
        int keep;
        uint64_t sum;
    };
    const Case cases[] = {
        {Noisy(128, 100, 4, 40), 256, 0, 10259356272779436424ull},  // the grid rebuilt twice
        {Noisy(128, 100, 5, 40), 16, 0, 4677591809958689501ull},
        {Noisy(200, 150, 7, 70), 256, 1, 6204298175817496292ull},  // reserved colours kept
        {Noisy(40, 30, 3, 20), 64, 0, 16274079377930953166ull},  // few colours: the coarsest grid only
        {Noisy(300, 200, 11, 90), 16, 0, 16912223280109941570ull},  // many colours far apart
        {Noisy(64, 48, 9, 255), 2, 0, 10829625123366208709ull},     // colours strewn over the whole space
        {Noisy(160, 120, 5, 40), 16, 1, 6399972764135084502ull},    // reserved colours outweigh all
    };
    for (const Case& c : cases) {
        const Reduced r = Reduce24(c.picture, c.colours, c.keep);
        ASSERT_EQ(r.result, 1);
        EXPECT_EQ(checksum(r), c.sum) << c.picture.width << "x" << c.picture.height << " to " << c.colours;
    }
}
