// The area-averaging resample into a layer and the smoothing of strong edges
// inside the selection, both matched back to the palette.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/resample_smooth.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib.h"
#include "platform/memory.h"

namespace doctest {
namespace {

class ResampleTest : public DocTest {
protected:
    // A w x h document with one layer of `rows` (top row first) and the
    // given colours (index: red, green, blue); every other entry is white.
    void Make(const std::vector<std::vector<int>>& rows,
              const std::vector<std::pair<int, std::array<int, 3>>>& colors) {
        h = int(rows.size());
        w = int(rows[0].size());
        doc = DocumentWithImage(w, h);
        for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, 255, 255, 255, 0);
        for (const auto& [i, c] : colors)
            SetDibPaletteEntry(doc->m_hImage, i, uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]), 0);
        ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
        doc->m_nEditLayer = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Px(x, y) = uint8_t(rows[size_t(y)][size_t(x)]);
        document::ClearMask(*doc);
    }
    uint8_t& Px(int x, int y) const {
        auto* p = static_cast<uint8_t*>(MemLock(doc->m_hLayers[0]));
        MemUnlock(doc->m_hLayers[0]);
        return p[LAYER_HEADER_SIZE + size_t(h - 1 - y) * ((size_t(w) + 3) & ~size_t(3)) + size_t(x)];
    }
    std::vector<std::vector<int>> Rows() const {
        std::vector<std::vector<int>> r(static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) r[size_t(y)].push_back(Px(x, y));
        return r;
    }
    void Select(int left, int top, int right, int bottom) {
        document::MaskFillRect(*doc, left, top, right, bottom);
    }

    std::unique_ptr<CPelmarkDoc> doc;
    int w = 0, h = 0;
};

using Grid = std::vector<std::vector<int>>;

TEST_F(ResampleTest, TwoByTwoIntoFourByFourGivesFourBlocksWhereSelected) {
    Make({{1, 2, 0, 0, 0, 0}, {3, 4, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0},
          {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
         {{0, {0, 0, 0}}, {1, {200, 0, 0}}, {2, {0, 200, 0}}, {3, {0, 0, 200}}, {4, {90, 90, 90}}});
    Select(2, 2, 6, 5);  // the last output row is not selected
    ASSERT_EQ(document::ResampleIntoLayer(*doc, {0, 0, 2, 2}, {6, 6, 2, 2}, doc->m_hLayers[0]), 1);
    EXPECT_EQ(Rows(), (Grid{{1, 2, 0, 0, 0, 0}, {3, 4, 0, 0, 0, 0}, {0, 0, 1, 1, 2, 2},
                            {0, 0, 1, 1, 2, 2}, {0, 0, 3, 3, 4, 4}, {0, 0, 0, 0, 0, 0}}));
}

TEST_F(ResampleTest, AveragesByOverlapAndReadsTheFloatingImageAtThePasteOffset) {
    // Entries 1 and 2 average (truncated) to entry 5 exactly; 6 is a copy of
    // 5 that never wins.
    Make({{1, 2, 1, 2}, {1, 2, 1, 2}},
         {{0, {0, 0, 0}}, {1, {0, 0, 0}}, {2, {201, 101, 51}}, {5, {100, 50, 25}}, {6, {100, 50, 25}}});
    Select(0, 0, 4, 2);
    ASSERT_EQ(document::ResampleIntoLayer(*doc, {0, 0, 2, 1}, {3, 1, 4, 2}, doc->m_hLayers[0]), 1);
    EXPECT_EQ(Px(3, 1), 5);

    // From a floating image of (1, 0, 3, 1) = [2 1]: read at offset 1, the
    // input (-1, 0, 0, 1) is its first pixel; far right of it reads entry 0.
    Make({{7, 2, 1, 7}}, {{0, {0, 0, 0}}, {1, {0, 0, 0}}, {2, {201, 101, 51}}, {7, {9, 9, 9}}});
    document::LiftSelection(*doc, {1, 0, 3, 1});
    Select(0, 0, 4, 1);
    doc->m_Selection.pasteOffsetX = 1;
    ASSERT_EQ(document::ResampleIntoLayer(*doc, {-1, 0, 0, 1}, {0, 0, 1, 1}, doc->m_hLayers[0]), 1);
    ASSERT_EQ(document::ResampleIntoLayer(*doc, {8, 0, 9, 1}, {3, 0, 4, 1}, doc->m_hLayers[0]), 1);
    EXPECT_EQ(Rows(), (Grid{{2, 2, 1, 0}}));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ResampleTest, NoMemoryShowsTheMessageAndWritesNothing) {
    Make({{1, 2}, {2, 1}}, {{1, {0, 0, 0}}, {2, {200, 200, 200}}});
    Select(0, 0, 2, 2);
    MemSetLimit(MemBytesInUse());
    EXPECT_EQ(document::ResampleIntoLayer(*doc, {0, 0, 2, 2}, {0, 0, 1, 1}, doc->m_hLayers[0]), 0);
    EXPECT_EQ(document::SmoothEdgesInSelection(*doc), 0);
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(Rows(), (Grid{{1, 2}, {2, 1}}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"内存不足。"});
    EXPECT_EQ(document::ResampleIntoLayer(*doc, {0, 0, 2, 2}, {0, 0, 1, 1}, nullptr), 0);
}

TEST_F(ResampleTest, SmoothingWritesOnlySelectedPixels) {
    // White beside black is a strong edge (3 x 255 x 255 > 50000).
    Make({{1, 1, 1, 1}, {1, 2, 1, 1}, {1, 1, 1, 1}},
         {{1, {0, 0, 0}}, {2, {255, 255, 255}}, {3, {63, 63, 63}}, {4, {28, 28, 28}}});
    Select(0, 0, 1, 1);  // the corner: its block is 3 black and the white
    Select(3, 0, 4, 1);  // far from the white: no edge
    ASSERT_EQ(document::SmoothEdgesInSelection(*doc), 1);
    // The corner takes the nearest of 255 / 4; the white pixel and its other
    // neighbours have edges too but are not selected.
    EXPECT_EQ(Rows(), (Grid{{3, 1, 1, 1}, {1, 2, 1, 1}, {1, 1, 1, 1}}));

    Select(1, 1, 2, 2);  // the white pixel itself: 255 / 9
    ASSERT_EQ(document::SmoothEdgesInSelection(*doc), 1);
    EXPECT_EQ(Px(1, 1), 4);
}

TEST_F(ResampleTest, SmoothingGivesTheLowestIndexOfAColourAndKeepsToSixteenColours) {
    // Entries 3 and 9 are the same grey: selected 9s become 3.
    Make({{9, 9, 9}, {9, 9, 9}}, {{3, {80, 80, 80}}, {9, {80, 80, 80}}});
    Select(0, 0, 2, 2);
    ASSERT_EQ(document::SmoothEdgesInSelection(*doc), 1);
    EXPECT_EQ(Rows(), (Grid{{3, 3, 9}, {3, 3, 9}}));

    // In a 16-colour document a result only takes one of the first 16 entries.
    Make({{1, 2}}, {{1, {0, 0, 0}}, {2, {254, 254, 254}}, {7, {40, 40, 40}}, {20, {127, 127, 127}}});
    Select(0, 0, 1, 1);
    ASSERT_EQ(document::SmoothEdgesInSelection(*doc), 1);
    EXPECT_EQ(Px(0, 0), 20);
    Px(0, 0) = 1;
    doc->m_nColorMode = 1;
    ASSERT_EQ(document::SmoothEdgesInSelection(*doc), 1);
    EXPECT_EQ(Px(0, 0), 7);
}

}  // namespace
}  // namespace doctest
