// Scans through the real library compared with its own front end.
#include <set>

#include "imaging/dib_geometry.h"
#include "twain_test_fixture.h"

namespace kvtest {
namespace {

using twain::CSourceDialog;

struct ScanCase {
    const char* mode;
    const char* depth;
    const char* picture;
    const char* resolution;
    int bitCount;  // of the DIB that arrives
};

QStringList FrontEndOptions(const ScanCase& c) {
    return {"--mode", c.mode, "--depth", c.depth, "--test-picture", c.picture, "--resolution",
            c.resolution, "-l", "0", "-t", "0", "-x", "10", "-y", "8"};
}

class ScanTable : public TwainSourceTest, public ::testing::WithParamInterface<ScanCase> {};

// At 50, 52, 55 and 57 dpi a 10 mm wide area is 19, 20, 21 and 22 pixels:
// 24-bit rows of 57, 60, 63 and 66 bytes, each remainder modulo 4 once.
const ScanCase kCases[] = {
    {"Gray", "1", "Grid", "50", 1},
    {"Gray", "1", "Color pattern", "57", 1},
    {"Gray", "8", "Color pattern", "52", 8},
    {"Gray", "8", "Solid black", "55", 8},
    {"Gray", "16", "Grid", "57", 8},
    {"Gray", "16", "Color pattern", "50", 8},
    {"Color", "8", "Color pattern", "50", 24},
    {"Color", "8", "Color pattern", "52", 24},
    {"Color", "8", "Grid", "55", 24},
    {"Color", "8", "Color pattern", "57", 24},
    {"Color", "8", "Solid black", "52", 24},
    {"Color", "16", "Color pattern", "55", 24},
    {"Color", "16", "Grid", "57", 24},
};

TEST_P(ScanTable, EqualsTheFrontEndPixelForPixel) {
    const ScanCase& c = GetParam();
    Picture expected = ScanImage(FrontEndOptions(c));
    ASSERT_GT(expected.width, 0);
    Picture got = Scan({{CSourceDialog::kModeId, c.mode},
                        {CSourceDialog::kDepthId, c.depth},
                        {CSourceDialog::kResolutionId, c.resolution},
                        {CSourceDialog::kTopLeftXId, "0"},
                        {CSourceDialog::kTopLeftYId, "0"},
                        {CSourceDialog::kBottomRightXId, "10"},
                        {CSourceDialog::kBottomRightYId, "8"}},
                       {{"test-picture", c.picture}});
    ASSERT_EQ(received.size(), 1u);
    dib::LockedDib d(received[0]);
    ASSERT_TRUE(d);
    EXPECT_EQ(d.geo().bitCount, c.bitCount);
    EXPECT_EQ(d.geo().DisplayRow(), d.geo().PaddedRow());
    EXPECT_EQ(got.width, expected.width);
    EXPECT_EQ(got.height, expected.height);
    EXPECT_TRUE(got == expected);
}

INSTANTIATE_TEST_SUITE_P(ModesDepthsPicturesWidths, ScanTable, ::testing::ValuesIn(kCases));

TEST_F(TwainSourceTest, TheTableCoversEveryRowRemainder) {
    std::set<int> remainders;
    for (const ScanCase& c : kCases)
        if (c.bitCount == 24) remainders.insert(ScanImage(FrontEndOptions(c)).width * 3 % 4);
    EXPECT_EQ(remainders, (std::set<int>{0, 1, 2, 3}));
}

const std::vector<std::pair<int, QString>> kColour = {
    {CSourceDialog::kModeId, "Color"},         {CSourceDialog::kDepthId, "8"},
    {CSourceDialog::kResolutionId, "55"},      {CSourceDialog::kBottomRightXId, "10"},
    {CSourceDialog::kBottomRightYId, "8"},
};
const QStringList kColourFrontEnd = {"--mode", "Color", "--depth", "8", "--test-picture", "Color pattern",
                                     "--resolution", "55", "-x", "10", "-y", "8"};

TEST_F(TwainSourceTest, ThreePassEqualsSinglePass) {
    Picture single = Scan(kColour, {{"test-picture", "Color pattern"}});
    ASSERT_GT(single.width, 0);
    EXPECT_TRUE(single == ScanImage(kColourFrontEnd));
    for (const char* order : {"RGB", "GBR"}) {
        Picture three = Scan(kColour, {{"test-picture", "Color pattern"}, {"three-pass", "yes"},
                                       {"three-pass-order", order}});
        EXPECT_TRUE(three == single) << order;
    }
}

TEST_F(TwainSourceTest, HandScannerReadLimitAndLostPixelsEqualTheFrontEnd) {
    struct Special {
        std::vector<std::pair<std::string, std::string>> options;
        QStringList frontEnd;
        int lostPixels = 0;
    };
    const Special cases[] = {
        {{{"hand-scanner", "yes"}}, {"--hand-scanner=yes"}},
        {{{"read-limit", "yes"}, {"read-limit-size", "37"}}, {"--read-limit=yes", "--read-limit-size", "37"}},
        {{{"ppl-loss", "3"}}, {"--ppl-loss", "3"}, 3},
    };
    for (const Special& s : cases) {
        std::vector<std::pair<std::string, std::string>> options = {{"test-picture", "Color pattern"}};
        options.insert(options.end(), s.options.begin(), s.options.end());
        Picture got = Scan(kColour, options);
        Picture expected = ScanImage(kColourFrontEnd + s.frontEnd, s.lostPixels);
        ASSERT_GT(expected.width, 0) << s.frontEnd.join(' ').toStdString();
        EXPECT_EQ(got.width, expected.width) << s.frontEnd.join(' ').toStdString();
        EXPECT_EQ(got.height, expected.height) << s.frontEnd.join(' ').toStdString();
        EXPECT_TRUE(got == expected) << s.frontEnd.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace kvtest
