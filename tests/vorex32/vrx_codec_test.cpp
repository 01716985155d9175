// The VRX codec without files or windows: the LZ stream, the CLUT forms and
// the file bytes of the writer read back by the reader.
#include <gtest/gtest.h>

#include <algorithm>

#include "plugins/vorex32/vrx_clut.h"
#include "vrx_test_files.h"

namespace {

using vrxtest::Bytes;

// The match rule written plainly: every candidate of the window, longest
// first, earliest start on a tie.
Bytes ReferenceBody(const Bytes& d, int variant) {
    const VrxLzVariant v = VrxVariant(variant);
    Bytes out;
    size_t flagAt = 0;
    int items = 32;
    uint32_t flags = 0;
    auto close = [&] {
        if (out.size() < flagAt + 4) return;
        for (int i = 0; i < 4; ++i) out[flagAt + size_t(i)] = uint8_t(flags >> (24 - 8 * i));
    };
    for (size_t p = 0; p < d.size();) {
        if (items == 32) {
            close();
            flagAt = out.size();
            out.insert(out.end(), 4, 0);
            flags = 0;
            items = 0;
        }
        size_t best = 0, start = 0;
        if (p > 2) {
            for (size_t s = p > v.window ? p - v.window : 0; s < p; ++s) {
                size_t cap = std::min({size_t(v.maxMatch), p - s, d.size() - p}), n = 0;
                while (n < cap && d[s + n] == d[p + n]) ++n;
                if (n > best) best = n, start = s;
            }
        }
        if (best >= 3) {
            flags |= 1u << items;
            uint32_t item = uint32_t(best - 3) << v.offsetBits | uint32_t(p - start);
            out.push_back(uint8_t(item >> 8));
            out.push_back(uint8_t(item));
            p += best;
        } else {
            out.push_back(d[p++]);
        }
        ++items;
    }
    close();
    return out;
}

Bytes Decompress(const Bytes& stream, size_t capacity) {
    Bytes out(capacity, 0xEE);
    size_t produced = 0;
    EXPECT_TRUE(VrxDecompress(stream.data(), stream.size(), out.data(), out.size(), &produced));
    out.resize(produced);
    return out;
}

// A block repeated at exactly `distance` behind itself, random between.
Bytes AtDistance(size_t distance) {
    Bytes head = vrxtest::Random(24, 7);
    Bytes d = head;
    Bytes filler = vrxtest::Random(distance - head.size(), 11);
    d.insert(d.end(), filler.begin(), filler.end());
    d.insert(d.end(), head.begin(), head.end());
    return d;
}

struct Input {
    const char* name;
    Bytes data;
};

std::vector<Input> Inputs() {
    Bytes rows;  // an image's rows: flat areas, gradients, repeated lines
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) rows.push_back(uint8_t(y < 16 ? 3 : y % 7 == 0 ? x : (x / 8 + y / 4) % 9));
    Bytes distinct;
    for (int i = 0; i < 64; ++i) distinct.push_back(uint8_t(i));
    Bytes alternating;
    for (int i = 0; i < 700; ++i) alternating.push_back(uint8_t(i % 2 ? 9 : 4));
    // Runs of a few bytes and of many lengths side by side, so that runs of
    // one byte meet runs of other lengths and equal ones with equal bytes
    // after them (a sprite's flat background between its lines).
    Bytes runs;
    const Bytes picks = vrxtest::Random(1200, 5, 3);
    for (size_t i = 0; i + 1 < picks.size() && runs.size() < 9000; i += 2)
        runs.insert(runs.end(), size_t(picks[i + 1] * 7 % 23 + 1), picks[i]);
    Bytes sprites;  // one short pattern on a flat ground, at several places
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) sprites.push_back(uint8_t((x + y * 3) % 37 < 5 ? 1 + (x + y) % 3 : 0));
    return {
        {"empty", {}},
        {"two bytes", {1, 1}},
        {"run of 30", Bytes(30, 5)},
        {"run of 1000", Bytes(1000, 0)},
        {"alternating", alternating},
        {"random", vrxtest::Random(3000, 1)},
        {"random small alphabet", vrxtest::Random(6000, 2, 3)},
        {"image rows", rows},
        {"distance 511", AtDistance(511)},
        {"distance 512", AtDistance(512)},
        {"distance 8191", AtDistance(8191)},
        {"distance 8192", AtDistance(8192)},
        {"32 items", Bytes(distinct.begin(), distinct.begin() + 32)},
        {"33 items", Bytes(distinct.begin(), distinct.begin() + 33)},
        {"64 items", distinct},
        {"runs of many lengths", runs},
        {"sprites on a flat ground", sprites},
    };
}

TEST(VrxLz, ASixByteInputIsStored) {
    const Bytes six = {1, 2, 3, 4, 5, 6};
    Bytes stream;
    ASSERT_TRUE(VrxCompress(six.data(), six.size(), stream));
    EXPECT_EQ(stream, (Bytes{0xA0, 0, 0, 6, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Decompress(stream, 6), six);
}

TEST(VrxLz, ARunOfThirtyTakesVariantOneWithDoublingMatches) {
    const Bytes run(30, 0x42);
    Bytes stream;
    ASSERT_TRUE(VrxCompress(run.data(), run.size(), stream));
    // Three literals, then 3 at distance 3, 6 at 6, 12 at 12 and 6 at 24.
    const Bytes expected = {0xA1, 0, 0, 15, 0, 0, 0, 0x78, 0x42, 0x42, 0x42,
                            0x00, 3, 0x06, 6, 0x12, 12, 0x06, 24};
    EXPECT_EQ(stream, expected);
    EXPECT_EQ(Decompress(stream, 30), run);
}

TEST(VrxLz, TheFastSearchGivesTheRulesBodyForEveryVariant) {
    for (const Input& in : Inputs()) {
        for (int variant = 1; variant <= kVrxVariants; ++variant) {
            SCOPED_TRACE(std::string(in.name) + " variant " + std::to_string(variant));
            Bytes body = VrxCompressBody(in.data.data(), in.data.size(), variant);
            EXPECT_EQ(body, ReferenceBody(in.data, variant));
            Bytes stream = {uint8_t(0xA0 | variant), uint8_t(body.size() >> 16), uint8_t(body.size() >> 8),
                            uint8_t(body.size())};
            stream.insert(stream.end(), body.begin(), body.end());
            EXPECT_EQ(Decompress(stream, in.data.size()), in.data);
        }
    }
}

// A run longer than the search's run lengths count, between varied bytes.
TEST(VrxLz, ARunLongerThanSixtyFiveThousandGivesTheRulesBody) {
    Bytes d = vrxtest::Random(300, 8, 2);
    d.insert(d.end(), 70000, 0);
    const Bytes tail = vrxtest::Random(300, 9, 2);
    d.insert(d.end(), tail.begin(), tail.end());
    d.insert(d.end(), 66000, 0);
    for (int variant = 1; variant <= 2; ++variant) {
        SCOPED_TRACE(variant);
        EXPECT_EQ(VrxCompressBody(d.data(), d.size(), variant), ReferenceBody(d, variant));
    }
}

TEST(VrxLz, CompressedStreamsDecompressToTheirInput) {
    Bytes big = vrxtest::Random(200000, 3, 4);  // large enough for the parallel trials
    std::fill(big.begin() + 50000, big.begin() + 120000, 7);
    std::vector<Input> inputs = Inputs();
    inputs.push_back({"big", big});
    for (const Input& in : inputs) {
        SCOPED_TRACE(in.name);
        Bytes stream;
        ASSERT_TRUE(VrxCompress(in.data.data(), in.data.size(), stream));
        // The smallest body of the five, the lowest variant on a tie.
        size_t smallest = SIZE_MAX;
        int chosen = 0;
        for (int v = 1; v <= kVrxVariants; ++v) {
            size_t n = VrxCompressBody(in.data.data(), in.data.size(), v).size();
            if (n < smallest) smallest = n, chosen = v;
        }
        if (in.data.size() < smallest) chosen = 0;
        EXPECT_EQ(stream[0], 0xA0 | chosen);
        EXPECT_EQ(Decompress(stream, in.data.size()), in.data);
    }
}

TEST(VrxLz, BadStreamsAreRefusedAndNeverWritePastTheOutput) {
    struct Case {
        const char* name;
        Bytes stream;
        bool ok;
        size_t produced;
    };
    const Case cases[] = {
        {"shorter than the header", {0xA1, 0, 0}, false, 0},
        {"variant 6", {0xA6, 0, 0, 1, 0}, false, 0},
        {"variant 31", {0xBF, 0, 0, 1, 0}, false, 0},
        {"distance 0", {0xA1, 0, 0, 7, 0, 0, 0, 2, 9, 0x00, 0}, false, 1},
        {"distance before the start", {0xA1, 0, 0, 7, 0, 0, 0, 2, 9, 0x00, 2}, false, 1},
        {"copy cut by the end", {0xA1, 0, 0, 6, 0, 0, 0, 2, 9, 0x00}, false, 1},
        {"flag word cut by the end", {0xA1, 0, 0, 3, 0, 0, 0}, false, 0},
        {"body length past the data", {0xA0, 0, 1, 0, 1, 2, 3}, true, 3},
        {"longer than the output", {0xA0, 0, 0, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, true, 8},
        {"copy longer than the output", {0xA1, 0, 0, 7, 0, 0, 0, 2, 9, 0x7E, 1}, true, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t out[9];
        std::fill(std::begin(out), std::end(out), 0xEE);
        size_t produced = 99;
        EXPECT_EQ(VrxDecompress(c.stream.data(), c.stream.size(), out, 8, &produced), c.ok);
        EXPECT_EQ(produced, c.produced);
        EXPECT_EQ(out[8], 0xEE);
    }
}

TEST(VrxClut, EntryFormsAndTheSwizzle) {
    std::vector<PaletteEntry> palette = vrxtest::Palette(256, 0xC0);
    for (uint32_t type : {VRX_ENTRY_32BIT, VRX_ENTRY_16BIT}) {
        for (bool swizzled : {false, true}) {
            SCOPED_TRACE(std::to_string(type) + (swizzled ? " swizzled" : " linear"));
            Bytes clut(256 * VrxEntrySize(type));
            VrxPaletteToClut(palette.data(), 256, type, swizzled, clut.data());
            PaletteEntry back[256];
            VrxClutToPalette(clut.data(), clut.size(), type, 256, swizzled, back);
            for (int i = 0; i < 256; ++i) {
                const PaletteEntry& e = palette[size_t(i)];
                if (type == VRX_ENTRY_32BIT) {
                    EXPECT_EQ(std::memcmp(&back[i], &e, 4), 0) << i;
                } else {
                    EXPECT_EQ(back[i].red, e.red & 0xF8) << i;
                    EXPECT_EQ(back[i].green, e.green & 0xF8) << i;
                    EXPECT_EQ(back[i].blue, e.blue & 0xF8) << i;
                    EXPECT_EQ(back[i].alpha, e.alpha & 0x80) << i;
                }
            }
            // Entry 8 of a swizzled table lies where 16 would.
            const size_t size = VrxEntrySize(type);
            EXPECT_EQ(std::memcmp(clut.data() + 16 * size, clut.data() + 8 * size, size) != 0, true);
            Bytes one(size);
            VrxPaletteToClut(&palette[8], 1, type, false, one.data());
            EXPECT_EQ(std::memcmp(clut.data() + (swizzled ? 16 : 8) * size, one.data(), size), 0);
        }
    }
    // The 16-bit layout: red bits 0-4, green 5-9, blue 10-14, alpha bit 15.
    PaletteEntry e{0x10, 0x20, 0xFF, 0x80};
    uint8_t v[2];
    VrxPaletteToClut(&e, 1, VRX_ENTRY_16BIT, false, v);
    EXPECT_EQ(v[0] | v[1] << 8, 31 | 4 << 5 | 2 << 10 | 0x8000);
}

TEST(VrxImage, WrittenImagesReadBack) {
    struct Case {
        const char* name;
        int bits, width, height;
        VrxWriteOptions options;
    };
    VrxWriteOptions raw;
    raw.compressed = false;
    VrxWriteOptions entry16;
    entry16.entryType = VRX_ENTRY_16BIT;
    VrxWriteOptions multi;
    multi.multiClut = true;
    const Case cases[] = {
        {"4-bit compressed", 4, 24, 5, {}},
        {"4-bit raw", 4, 16, 3, raw},
        {"8-bit compressed", 8, 20, 6, {}},
        {"8-bit raw", 8, 12, 2, raw},
        {"8-bit 16-bit entries", 8, 8, 4, entry16},
        {"multi-CLUT", 8, 16, 4, multi},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int colors = c.bits == 4 ? 16 : 256;
        std::vector<PaletteEntry> palette = vrxtest::Palette(colors, 0xFF);
        Bytes pixels = vrxtest::Pattern(c.width, c.height, colors == 16 ? 16 : 40);
        Bytes dib = vrxtest::MakeDib(c.width, c.height, c.bits, palette, pixels);
        ASSERT_EQ(VrxCheckImage(dib.data(), dib.size(), c.options), VrxWriteFault::None);
        Bytes file = vrxtest::WriteVrx(dib, c.options);
        VrxPicture picture;
        ASSERT_EQ(VrxReadImage(file.data(), file.size(), picture), VrxReadFault::None);
        EXPECT_EQ(picture.header.compressed, c.options.compressed ? 1u : 0u);
        EXPECT_EQ(picture.clut.order, uint32_t(VRX_ORDER_SWIZZLED));
        const bool four = c.bits == 4 || c.options.multiClut;
        EXPECT_EQ(picture.colors, four ? 16 : 256);
        EXPECT_EQ(picture.clut.count, c.options.multiClut ? 16u : 1u);
        EXPECT_EQ(picture.image.dataOffset, 128 + picture.clut.byteCount);
        Bytes dibBack(VrxDibSize(picture));
        VrxFillDib(picture, dibBack.data());
        Bytes expected = c.options.multiClut ? vrxtest::MakeDib(c.width, c.height, 4, palette, pixels) : dib;
        // Palette and pixels as saved (16-bit entries keep 5 bits and alpha bit 7).
        const size_t paletteBytes = size_t(picture.colors) * 4;
        ASSERT_EQ(dibBack.size(), expected.size());
        EXPECT_TRUE(std::equal(dibBack.begin() + DIB_INFO_HEADER_SIZE + long(paletteBytes), dibBack.end(),
                               expected.begin() + DIB_INFO_HEADER_SIZE + long(paletteBytes)));
        for (int i = 0; i < picture.colors; ++i) {
            PaletteEntry want = palette[size_t(i)];
            if (c.options.entryType == VRX_ENTRY_16BIT)
                want = {uint8_t(want.blue & 0xF8), uint8_t(want.green & 0xF8), uint8_t(want.red & 0xF8),
                        uint8_t(want.alpha & 0x80)};
            EXPECT_EQ(std::memcmp(&picture.palette[i], &want, 4), 0) << i;
        }
    }
}

TEST(VrxImage, AnIncompressibleLargestImageIsWrittenRaw) {
    // Stored, its body would be 2^24 bytes: one more than the header holds.
    const int side = kVrxMaxSide;
    Bytes pixels = vrxtest::Random(size_t(side) * side, 5);
    Bytes dib = vrxtest::MakeDib(side, side, 8, vrxtest::Palette(256), pixels);
    Bytes file = vrxtest::WriteVrx(dib);
    VrxPicture picture;
    ASSERT_EQ(VrxReadImage(file.data(), file.size(), picture), VrxReadFault::None);
    EXPECT_EQ(picture.header.compressed, 0u);
    EXPECT_EQ(picture.image.byteCount, uint32_t(side) * side);
    EXPECT_TRUE(picture.pixels == pixels);
}

TEST(VrxImage, DirectTypesBecomeTwentyFourBitRows) {
    for (uint32_t type : {VRX_PIXELS_16BIT, VRX_PIXELS_24BIT, VRX_PIXELS_32BIT}) {
        for (bool compressed : {false, true}) {
            SCOPED_TRACE(std::to_string(type) + (compressed ? " compressed" : " raw"));
            Bytes file = vrxtest::DirectVrx(type, 6, 3, compressed);
            VrxPicture picture;
            ASSERT_EQ(VrxReadImage(file.data(), file.size(), picture), VrxReadFault::None);
            EXPECT_EQ(picture.colors, 0);
            Bytes dib(VrxDibSize(picture));
            VrxFillDib(picture, dib.data());
            const auto* info = reinterpret_cast<const DibInfoHeader*>(dib.data());
            EXPECT_EQ(info->bitCount, 24);
            const size_t stride = 20;
            ASSERT_EQ(dib.size(), DIB_INFO_HEADER_SIZE + stride * 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 6; ++x) {
                    const uint8_t* px = dib.data() + DIB_INFO_HEADER_SIZE + size_t(2 - y) * stride + size_t(x) * 3;
                    EXPECT_EQ(px[0], 64);
                    EXPECT_EQ(px[1], y * 8);
                    EXPECT_EQ(px[2], x * 8);
                }
        }
    }
}

}  // namespace
