// The codec's own rules: sized blocks, the LZW code stream, and bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gif_peer.h"
#include "plugins/loopcast/gif_io.h"
#include "plugins/loopcast/lzw_encoder.h"

namespace {

using gifpeer::CodecRead;
using gifpeer::CodecWrite;
using gifpeer::PeerDecode;

struct TreeDeleter {
    void operator()(GifFile* f) const { GifFreeFile(f); }
};
using Tree = std::unique_ptr<GifFile, TreeDeleter>;

// Little builder for hand-made files.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& b(std::initializer_list<int> bytes) {
        for (int x : bytes) v.push_back(uint8_t(x));
        return *this;
    }
    Bytes& w(int word) { return b({word & 0xFF, word >> 8 & 0xFF}); }
    Bytes& s(const char* text) {
        v.insert(v.end(), text, text + std::strlen(text));
        return *this;
    }
    // Header with a 2-entry global table (black, white).
    static Bytes Header(int width, int height, const char* signature = "GIF89a") {
        Bytes x;
        x.s(signature).w(width).w(height).b({0x80, 0, 0, 0, 0, 0, 255, 255, 255});
        return x;
    }
    Bytes& Image(int left, int top, int width, int height, int packed = 0) {
        return b({0x2C}).w(left).w(top).w(width).w(height).b({packed});
    }
};

// Code stream min 2: clear, 1, 6 (the code being defined), end -> 1 1 1.
const std::initializer_list<int> kKwKwKData = {2, 2, 0x8C, 0x0B, 0};

TEST(GifBlock, GrowsZeroedAndKeepsLength) {
    auto* p = static_cast<uint8_t*>(GifAllocBlock(3));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GifBlockSize(p), 3u);
    p[0] = 7;
    p = static_cast<uint8_t*>(GifGrowBlock(p, 0));
    EXPECT_EQ(GifBlockSize(p), 3u);
    p = static_cast<uint8_t*>(GifGrowBlock(p, 6));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GifBlockSize(p), 9u);
    EXPECT_EQ(p[0], 7);
    for (int i = 1; i < 9; ++i) EXPECT_EQ(p[i], 0) << i;
    GifFreeBlock(p);
    EXPECT_EQ(GifBlockSize(nullptr), 0u);
    GifFreeBlock(nullptr);
}

TEST(GifReader, HandMadeFiles) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool read;
        std::vector<std::vector<uint8_t>> pixels;  // per image; empty = no pixels
    };
    std::vector<uint8_t> kwkwk = {1, 1, 1};
    std::vector<Case> cases = {
        {"any version letters", Bytes::Header(3, 1, "GIFzz!").Image(0, 0, 3, 1).b(kKwKwKData).b({0x3B}),
         true, {kwkwk}},
        {"not a GIF", Bytes::Header(3, 1, "GIT89a"), false, {}},
        {"empty stream", Bytes{}, false, {}},
        {"screen wider than 4096", Bytes::Header(4097, 1), false, {}},
        {"screen taller than 4096", Bytes::Header(1, 4097), false, {}},
        {"screen of 4096 is read", Bytes::Header(4096, 4096).b({0x3B}), true, {}},
        {"image wider than 4096 keeps no pixels; its data is skipped, not read as records",
         Bytes::Header(3, 1).Image(0, 0, 4097, 1).b({2, 5, 0x2C, 0, 0, 0, 0, 0}).Image(0, 0, 3, 1).b(kKwKwKData),
         true, {{}, kwkwk}},
        {"minimum code size 12 is refused",
         Bytes::Header(3, 1).Image(0, 0, 3, 1).b({12, 2, 0xFF, 0xFF, 0}).Image(0, 0, 3, 1).b(kKwKwKData), true,
         {{}, kwkwk}},
        {"minimum code size 0 is refused", Bytes::Header(3, 1).Image(0, 0, 3, 1).b({0, 1, 0xFF, 0}), true, {{}}},
        {"zero-width image", Bytes::Header(3, 1).Image(0, 0, 0, 1).b(kKwKwKData).Image(0, 0, 3, 1).b(kKwKwKData),
         true, {{}, kwkwk}},
        {"data ends early", Bytes::Header(3, 2).Image(0, 0, 3, 2).b(kKwKwKData), true, {{1, 1, 1, 0, 0, 0}}},
        {"stream cut inside the data", Bytes::Header(3, 2).Image(0, 0, 3, 2).b({2, 9, 0x8C}), true,
         {{1, 2, 0, 0, 0, 0}}},
        {"stream cut inside the descriptor", Bytes::Header(3, 2).b({0x2C, 1}), true, {{}}},
        {"stray 0 ends the block list", Bytes::Header(3, 1).b({0}).Image(0, 0, 3, 1).b(kKwKwKData), true, {}},
        {"invalid code stops the row",  // clear, 1, 7 (undefined), 2, end at width 3
         Bytes::Header(3, 2).Image(0, 0, 3, 2).b({2, 2, 0xCC, 0x55, 0}), true, {{1, 0, 0, 2, 0, 0}}},
        {"extension cut at the end", Bytes::Header(1, 1).b({0x21, 0xF9, 4, 1}), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree(CodecRead(c.bytes.v));
        ASSERT_EQ(tree != nullptr, c.read);
        if (!tree) continue;
        gifpeer::Picture p = gifpeer::FromTree(tree.get());
        ASSERT_EQ(p.frames.size(), c.pixels.size());
        for (size_t i = 0; i < c.pixels.size(); ++i) EXPECT_EQ(p.frames[i].indices, c.pixels[i]) << i;
    }
}

TEST(GifReader, BlockListIsCutAfter1001) {
    Bytes b = Bytes::Header(1, 1);
    for (int i = 0; i < 1005; ++i) b.b({0x21, 0xFE, 1, 'x', 0});
    Tree tree(CodecRead(b.v));
    ASSERT_TRUE(tree);
    EXPECT_EQ(GifBlockCount(tree.get()), 1001u);
}

TEST(GifReader, KwKwKAgreesWithPeer) {
    Bytes b = Bytes::Header(3, 1).Image(0, 0, 3, 1).b(kKwKwKData).b({0x3B});
    auto peer = PeerDecode(b.v);
    ASSERT_TRUE(peer);
    EXPECT_EQ(peer->frames.at(0).indices, (std::vector<uint8_t>{1, 1, 1}));
}

// Reads the codes of an encoded stream (sub-blocks after the code size byte)
// with the format's width rule.
std::vector<uint32_t> Codes(const std::vector<uint8_t>& data, uint32_t minCodeSize) {
    std::vector<uint8_t> bits;
    for (size_t i = 0; i < data.size() && data[i];) {
        size_t n = data[i];
        bits.insert(bits.end(), data.begin() + i + 1, data.begin() + i + 1 + n);
        i += n + 1;
    }
    uint32_t clear = 1u << minCodeSize, width = minCodeSize + 1, counter = clear + 2;
    std::vector<uint32_t> codes;
    uint64_t pos = 0;
    while (pos + width <= bits.size() * 8) {
        uint32_t code = 0;
        for (uint32_t k = 0; k < width; ++k, ++pos) code |= uint32_t(bits[pos / 8] >> (pos % 8) & 1) << k;
        codes.push_back(code);
        if (++counter > (1u << width) && width < 12) ++width;
        if (code == clear) width = minCodeSize + 1, counter = clear + 2;
        if (code == clear + 1) break;
    }
    return codes;
}

TEST(LzwEncoder, ClearsAfterTheLastCodeAndNeverPasses4094) {
    std::vector<uint8_t> input(100000);
    uint32_t x = 12345;
    for (auto& v : input) v = uint8_t((x = x * 1103515245u + 12345u) >> 16);
    char* data = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&data, &size);
    auto enc = std::make_unique<LzwEncoder>();
    LzwEncoderStart(enc.get(), 8, out);
    LzwEncoderFeed(enc.get(), input.data(), 1000);
    LzwEncoderFeed(enc.get(), input.data() + 1000, input.size() - 1000);
    LzwEncoderFinish(enc.get());
    LzwEncoderFeed(enc.get(), input.data(), 10);  // dropped
    std::fclose(out);
    std::vector<uint8_t> stream(data, data + size);
    free(data);

    std::vector<uint32_t> codes = Codes(stream, 8);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes.front(), 256u);
    EXPECT_EQ(codes.back(), 257u);
    std::vector<size_t> clears;
    for (size_t i = 0; i < codes.size(); ++i) {
        EXPECT_LE(codes[i], 4094u);
        if (codes[i] == 256) clears.push_back(i);
    }
    ASSERT_GE(clears.size(), 3u);
    // Between two clears: one code per entry 258..4094, then the code before the clear.
    for (size_t k = 1; k + 1 < clears.size(); ++k) EXPECT_EQ(clears[k + 1] - clears[k] - 1, 3838u);
    EXPECT_EQ(stream.back(), 0);
}

TEST(GifWriter, TwoColourImageUsesMinimumCodeSizeTwo) {
    gifpeer::Picture p;
    p.width = 4;
    p.height = 1;
    p.palette = {0x000000, 0xFFFFFF};
    p.frames.push_back({0, 0, 4, 1, false, {}, {0, 1, 1, 0}});
    Tree tree(gifpeer::ToTree(p));
    ASSERT_EQ(GifBlockAt(tree.get(), 0)->image->sizeBits, 1u);
    std::vector<uint8_t> bytes = CodecWrite(tree.get());
    // header 13 + table 6 + descriptor 10, then the code size byte
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[29], 2);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF87a");
    EXPECT_EQ(bytes.back(), 0x3B);
    auto peer = PeerDecode(bytes);
    ASSERT_TRUE(peer);
    EXPECT_EQ(peer->frames.at(0).indices, p.frames[0].indices);
}

TEST(GifWriter, ExtensionsAndImagesRoundTrip) {
    Tree tree(GifNewFile());
    std::strcpy(tree->signature, "GIF89a");
    tree->screen->width = 5;
    tree->screen->height = 3;
    tree->screen->hasGlobalTable = 1;
    tree->screen->sizeBits = 2;
    tree->screen->colorResolution = 8;
    ASSERT_TRUE(GifSetTableSize(tree->screen->table, 4));
    GifExtension* loop = GifNewExtension(kGifApplicationLabel);
    ASSERT_TRUE(GifAppendSubBlock(loop, "NETSCAPE2.0", 11));
    const uint8_t forever[3] = {1, 0, 0};
    ASSERT_TRUE(GifAppendSubBlock(loop, forever, 3));
    ASSERT_TRUE(GifAppendExtension(tree.get(), loop));
    GifImage* im = GifNewImage();
    im->width = 5;
    im->height = 3;
    im->sizeBits = 2;
    im->interlaced = 1;
    im->pixels = static_cast<uint8_t*>(GifAllocBlock(15));
    for (int i = 0; i < 15; ++i) im->pixels[i] = uint8_t(i % 4);
    ASSERT_TRUE(GifAppendImage(tree.get(), im));
    GifImage* empty = GifNewImage();  // no pixels: written as index 0
    empty->width = 2;
    empty->height = 2;
    empty->sizeBits = 2;
    ASSERT_TRUE(GifAppendImage(tree.get(), empty));

    std::vector<uint8_t> bytes = CodecWrite(tree.get());
    Tree back(CodecRead(bytes));
    ASSERT_TRUE(back);
    EXPECT_STREQ(back->signature, "GIF89a");
    ASSERT_EQ(GifBlockCount(back.get()), 3u);
    const GifExtension* e = GifBlockAt(back.get(), 0)->extension;
    ASSERT_TRUE(e);
    EXPECT_EQ(e->label, kGifApplicationLabel);
    ASSERT_EQ(GifSubBlockCount(e), 2u);
    EXPECT_EQ(std::memcmp(GifSubBlockAt(e, 0), "NETSCAPE2.0", 11), 0);
    EXPECT_EQ(GifBlockSize(GifSubBlockAt(e, 1)), 3u);
    const GifImage* read = GifBlockAt(back.get(), 1)->image;
    ASSERT_TRUE(read && read->pixels);
    EXPECT_TRUE(read->interlaced);
    EXPECT_EQ(std::memcmp(read->pixels, im->pixels, 15), 0);
    const GifImage* zero = GifBlockAt(back.get(), 2)->image;
    ASSERT_TRUE(zero && zero->pixels);
    EXPECT_EQ(std::vector<uint8_t>(zero->pixels, zero->pixels + 4), std::vector<uint8_t>(4, 0));
}

}  // namespace
