// The document's selection: mask operations on its blocks, lifting into the
// floating image and mask, dropping by the paste modes, turning, scaling,
// the floating commands and the pattern.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "doc_fixture.h"
#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/selection_mask_doc.h"
#include "framework/cmd_ui.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "mask_reference.h"
#include "platform/memory.h"

namespace doctest {
namespace {

// Pixels of a layer buffer, addressed top-down, sized by its header.
class Pixels {
public:
    explicit Pixels(MemHandle layer) : lock_(layer) {
        dib::ReadLayerGeometry(lock_.get(), lock_.size(), &g_);
    }
    int width() const { return g_.width; }
    int height() const { return g_.height; }
    uint8_t& at(int x, int y) const {
        return lock_.get()[LAYER_HEADER_SIZE + size_t(g_.height - 1 - y) * g_.rowBytes + size_t(x)];
    }

private:
    MemLockGuard lock_;
    dib::LayerGeometry g_;
};

// A plain copy of an image-size layer: value(x, y).
struct Grid {
    int w = 0, h = 0;
    std::vector<int> v;
    int& at(int x, int y) { return v[size_t(y * w + x)]; }
    int get(int x, int y) const { return v[size_t(y * w + x)]; }
    bool operator==(const Grid&) const = default;
};
Grid Read(MemHandle layer) {
    Pixels p(layer);
    Grid g{p.width(), p.height(), std::vector<int>(size_t(p.width() * p.height()))};
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) g.at(x, y) = p.at(x, y);
    return g;
}
std::string Show(const Grid& g) {
    std::string s;
    for (int y = 0; y < g.h; ++y) {
        for (int x = 0; x < g.w; ++x) s += (g.get(x, y) < 10 ? "  " : " ") + std::to_string(g.get(x, y));
        s += '\n';
    }
    return s;
}

class FloatingTest : public DocTest {
protected:
    // A document of w x h with one layer whose pixel (x, y) is value(x, y).
    std::unique_ptr<CPelmarkDoc> Doc(int w, int h, std::function<int(int, int)> value) {
        auto doc = DocumentWithImage(w, h);
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        Pixels p(doc->m_hLayers[0]);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) p.at(x, y) = uint8_t(value(x, y));
        document::ClearMask(*doc);
        return doc;
    }
    static RefMask Selection(const CPelmarkDoc& doc, MemHandle mask = nullptr) {
        document::LockedMask m(doc, mask ? mask : doc.m_hMask);
        RefMask r(doc.m_nWidth, doc.m_nHeight);
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) r.Set(x, y, m.bits().Get(x, y));
        return r;
    }
    // Selects the rectangle and lifts it (image and mask).
    static void Lift(CPelmarkDoc& doc, DibRect r) {
        document::MaskFillRect(doc, r.left, r.top, r.right, r.bottom);
        document::LiftSelection(doc, r);
        document::LiftFloatingMask(doc, r.left, r.top, r.right, r.bottom);
        doc.m_rcFloatTarget = doc.m_rcSelection;
    }
    void TearDown() override {
        document::SetPasteMode(document::kPasteOpaque);
        document::ResetPasteFlagTables();
        DocTest::TearDown();
    }
};

int Distinct(int x, int y) { return 1 + (x + y * 16) % 250; }

TEST_F(FloatingTest, InvertOfAnEmptySelectionLiftsTheWholeImage) {
    auto doc = Doc(10, 6, Distinct);
    document::InvertMask(*doc);
    RefMask all(10, 6);
    std::fill(all.px.begin(), all.px.end(), 1);
    EXPECT_EQ(Selection(*doc), all);
    EXPECT_EQ(doc->m_bMaskChanged, 1);
    const DibRect& r = doc->m_rcSelection;
    EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom), std::make_tuple(0, 0, 10, 6));
    EXPECT_EQ(std::tie(doc->m_rcFloatTarget.right, doc->m_rcFloatTarget.bottom), std::make_tuple(10, 6));
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    Pixels floating(doc->m_hFloatImage);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(floating.at(x, y), Distinct(x, y));
    ASSERT_NE(doc->m_hFloatMask, nullptr);
    EXPECT_EQ(Read(doc->m_hLayerBackup), Read(doc->m_hLayers[0]));
    EXPECT_NE(doc->m_hLayerBackup, doc->m_hLayers[0]);
}

TEST_F(FloatingTest, InvertOfAFullSelectionLeavesNothingFloating) {
    auto doc = Doc(10, 6, Distinct);
    document::FillMask(*doc);  // every byte 0xFF, padding bits included
    Lift(*doc, {0, 0, 10, 6});
    document::InvertMask(*doc);
    EXPECT_EQ(Selection(*doc), RefMask(10, 6));
    EXPECT_TRUE(document::RectEmpty(doc->m_rcSelection));
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_hFloatMask, nullptr);  // nothing copied, nothing allocated
    EXPECT_EQ(document::CopyMaskRect(*doc, 10, 6, 0, 0), nullptr);
}

TEST_F(FloatingTest, LiftTakesThePixelsAndTheMaskBytes) {
    auto doc = Doc(20, 8, Distinct);
    document::MaskFillRect(*doc, 5, 2, 14, 6);
    document::SetMaskBit(*doc, doc->m_hMask, 5, 2, 0);  // row 2 keeps only x = 5 of its first byte
    DibRect r = document::MaskBoundingRect(*doc);
    document::LiftSelection(*doc, r);
    document::LiftFloatingMask(*doc, r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(std::tie(doc->m_rcFloatMaskBytes.left, doc->m_rcFloatMaskBytes.right),
              std::make_tuple(0, 2));
    EXPECT_EQ(std::tie(doc->m_rcFloatMaskPixels.left, doc->m_rcFloatMaskPixels.right),
              std::make_tuple(5, 14));
    // (rows + 1) x (bytes + 1).
    EXPECT_EQ(MemSize(doc->m_hFloatMask), size_t(5 * 3));
    DibMask mask;
    ASSERT_TRUE(document::FloatingBlitMask(*doc, &mask));
    RefMask selection = Selection(*doc);
    Pixels floating(doc->m_hFloatImage);
    MemLockGuard bits(doc->m_hFloatMask);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) {
            int bit = mask.firstBit + x;
            bool set = (bits.get()[size_t(y * mask.rowBytes + bit / 8)] >> (7 - bit % 8)) & 1;
            ASSERT_EQ(set, selection.Get(5 + x, 2 + y));
            ASSERT_EQ(floating.at(x, y), Distinct(5 + x, 2 + y));
        }
}

// Lift, clear the place, move, drop: per paste mode and flag tables.
TEST_F(FloatingTest, LiftMoveAndDropByPasteMode) {
    struct Case {
        int mode;
        std::vector<int> sourceOff;       // paste mode 1: source indices not copied
        std::vector<int> destinationOff;  // paste mode 1: destination indices kept
        std::vector<int> enabledOff;      // document: indices that may not be written
        std::vector<int> writableOff;     // document: indices that may not be overwritten
    };
    const Case cases[] = {
        {0, {}, {}, {}, {}},
        {1, {}, {}, {}, {}},  // default tables: index 0 is not copied
        {1, {0, 3}, {5}, {}, {}},
        {2, {}, {}, {}, {}},
        {2, {}, {}, {2, 4}, {0, 6}},
        {2, {}, {}, {2}, {}},
    };
    auto value = [](int x, int y) { return (x * 3 + y * 5) % 7; };  // indices 0..6
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto doc = Doc(16, 10, value);
        document::ResetPasteFlagTables();
        auto& t = document::GetPasteFlagTables();
        for (int i : c.sourceOff) t.copiedSource[size_t(i)] = 0;
        for (int i : c.destinationOff) t.writableDestination[size_t(i)] = 0;
        for (int i : c.enabledOff) doc->m_EnabledColors[size_t(i)] = 0;
        for (int i : c.writableOff) doc->m_WritableColors[size_t(i)] = 0;
        document::SetPasteMode(c.mode);

        Grid before = Read(doc->m_hLayers[0]);
        Lift(*doc, {2, 1, 8, 5});
        document::ClearMaskedPixels(*doc, 0);
        document::OffsetFloating(*doc, 5, 3);
        Grid cleared = Read(doc->m_hLayers[0]);
        document::DropFloating(*doc);

        Grid want = cleared;
        for (int y = 1; y < 5; ++y)
            for (int x = 2; x < 8; ++x) {
                int s = before.get(x, y), d = cleared.get(x + 5, y + 3);
                bool write = true;
                if (c.mode == 1) write = t.copiedSource[size_t(s)] && t.writableDestination[size_t(d)];
                if (c.mode == 2)
                    write = doc->m_EnabledColors[size_t(s)] && doc->m_WritableColors[size_t(d)];
                if (write) want.at(x + 5, y + 3) = s;
            }
        // The place the pixels left is index 0.
        for (int y = 1; y < 5; ++y)
            for (int x = 2; x < 8; ++x) EXPECT_EQ(cleared.get(x, y), 0);
        EXPECT_EQ(Read(doc->m_hLayers[0]), want) << Show(Read(doc->m_hLayers[0])) << Show(want);
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(doc->m_hFloatMask, nullptr);
        // The selection moved with the pixels.
        RefMask moved(16, 10);
        for (int y = 4; y < 8; ++y)
            for (int x = 7; x < 13; ++x) moved.Set(x, y);
        EXPECT_EQ(Selection(*doc), moved);
    }
}

TEST_F(FloatingTest, DropWritesOnlyThroughTheFloatingMask) {
    auto doc = Doc(24, 16, Distinct);
    document::RasterizeEllipse(*doc, 4 + 5, 3 + 4, 5, 4, 10, 8, document::kTargetSelection);
    RefMask ellipse = Selection(*doc);
    DibRect r = document::MaskBoundingRect(*doc);
    EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom), std::make_tuple(4, 3, 14, 11));
    document::LiftSelection(*doc, r);
    document::LiftFloatingMask(*doc, r.left, r.top, r.right, r.bottom);
    document::ClearMaskedPixels(*doc, 0);
    document::OffsetFloating(*doc, 9, 4);
    Grid cleared = Read(doc->m_hLayers[0]);
    document::DropFloating(*doc);
    Grid want = cleared;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            if (ellipse.Get(x, y)) want.at(x + 9, y + 4) = Distinct(x, y);
    EXPECT_EQ(Read(doc->m_hLayers[0]), want) << Show(Read(doc->m_hLayers[0]));
}

TEST_F(FloatingTest, CompositeRefusesAnUnknownModeAndMissingBuffers) {
    auto doc = Doc(8, 8, Distinct);
    Lift(*doc, {0, 0, 4, 4});
    Grid before = Read(doc->m_hLayers[0]);
    document::SetPasteMode(3);
    EXPECT_EQ(document::CompositeFloating(*doc, doc->m_hFloatImage, doc->m_hLayers[0], {4, 4, 8, 8}), 0);
    document::SetPasteMode(0);
    EXPECT_EQ(document::CompositeFloating(*doc, nullptr, doc->m_hLayers[0], {4, 4, 8, 8}), 0);
    EXPECT_EQ(document::CompositeFloating(*doc, doc->m_hFloatImage, nullptr, {4, 4, 8, 8}), 0);
    EXPECT_EQ(Read(doc->m_hLayers[0]), before);
    EXPECT_EQ(document::CompositeFloating(*doc, doc->m_hFloatImage, doc->m_hLayers[0], {4, 4, 8, 8}), 1);
    EXPECT_EQ(Read(doc->m_hLayers[0]).get(5, 6), Distinct(1, 2));
}

// Turning by quarter turns, checked against index arithmetic.
TEST_F(FloatingTest, QuarterTurnsPixelByPixel) {
    struct Case {
        DibRect rect;
        int angle;
    };
    const Case cases[] = {
        {{5, 4, 11, 10}, 0},  {{5, 4, 11, 10}, 90}, {{5, 4, 11, 10}, 180}, {{5, 4, 11, 10}, 270},
        {{6, 5, 10, 11}, 90}, {{6, 5, 10, 11}, 180}, {{6, 5, 10, 11}, 270}, {{6, 5, 10, 11}, -90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        auto doc = Doc(16, 16, Distinct);
        Lift(*doc, c.rect);
        Grid source = Read(doc->m_hLayers[0]);
        // An empty layer and selection to turn into.
        {
            Pixels p(doc->m_hLayers[0]);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) p.at(x, y) = 0;
        }
        document::ClearMask(*doc);
        document::TransformFloating(*doc, c.rect, c.rect, c.angle, doc->m_hFloatMask, doc->m_hMask, 1.0, 0);
        document::TransformFloating(*doc, c.rect, c.rect, c.angle, doc->m_hFloatImage, doc->m_hLayers[0], 1.0, 1);

        int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
        int q = ((c.angle / 90) % 4 + 4) % 4;
        // The turned rectangle has the same centre.
        int tw = q % 2 ? h : w, th = q % 2 ? w : h;
        int tl = c.rect.left + (w - tw) / 2, tt = c.rect.top + (h - th) / 2;
        Grid want{16, 16, std::vector<int>(256)};
        RefMask wantMask(16, 16);
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x) {
                int sx = x, sy = y;  // clockwise quarter turns
                if (q == 1) sx = y, sy = h - 1 - x;
                if (q == 2) sx = w - 1 - x, sy = h - 1 - y;
                if (q == 3) sx = w - 1 - y, sy = x;
                want.at(tl + x, tt + y) = source.get(c.rect.left + sx, c.rect.top + sy);
                wantMask.Set(tl + x, tt + y);
            }
        EXPECT_EQ(Read(doc->m_hLayers[0]), want) << Show(Read(doc->m_hLayers[0])) << Show(want);
        EXPECT_EQ(Selection(*doc), wantMask);
    }
}

TEST_F(FloatingTest, DoubleSizePixelByPixel) {
    const DibRect from{2, 3, 5, 6};
    // Into a rectangle twice the size, and by the scale factor about the centre.
    struct Case {
        DibRect to;
        double scale;
        DibRect result;
    };
    const Case cases[] = {{{8, 1, 14, 7}, 1.0, {8, 1, 14, 7}}, {{2, 3, 5, 6}, 2.0, {0, 1, 6, 7}}};
    for (const Case& c : cases) {
        auto doc = Doc(16, 12, Distinct);
        Lift(*doc, from);
        {
            Pixels p(doc->m_hLayers[0]);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 16; ++x) p.at(x, y) = 0;
        }
        document::ClearMask(*doc);
        document::TransformFloating(*doc, from, c.to, 0, doc->m_hFloatMask, doc->m_hMask, c.scale, 0);
        document::TransformFloating(*doc, from, c.to, 0, doc->m_hFloatImage, doc->m_hLayers[0], c.scale, 1);
        Grid want{16, 12, std::vector<int>(16 * 12)};
        RefMask wantMask(16, 12);
        for (int y = c.result.top; y < c.result.bottom; ++y)
            for (int x = c.result.left; x < c.result.right; ++x) {
                want.at(x, y) = Distinct(from.left + (x - c.result.left) / 2, from.top + (y - c.result.top) / 2);
                wantMask.Set(x, y);
            }
        EXPECT_EQ(Read(doc->m_hLayers[0]), want) << Show(Read(doc->m_hLayers[0]));
        EXPECT_EQ(Selection(*doc), wantMask);
    }
}

TEST_F(FloatingTest, ThirtyDegreesGivesTheFixedPicture) {
    auto doc = Doc(12, 12, [](int x, int y) { return 1 + (x % 4) + 4 * (y % 4); });
    const DibRect rect{4, 4, 8, 8};
    Lift(*doc, rect);
    {
        Pixels p(doc->m_hLayers[0]);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) p.at(x, y) = 0;
    }
    document::TransformFloating(*doc, rect, rect, 30, doc->m_hFloatImage, doc->m_hLayers[0], 1.0, 1);
    Grid got = Read(doc->m_hLayers[0]);
    // Clockwise: the corners 1, 4, g and d turn about the centre (6, 6).
    const char* want[] = {
        "............",
        "............",
        "............",
        ".....1......",
        ".....12.....",
        "....96744...",
        "...ddab8....",
        ".....fg.....",
        "......g.....",
        "............",
        "............",
        "............",
    };
    std::string shown;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) shown += got.get(x, y) ? "0123456789abcdefg"[got.get(x, y)] : '.';
        shown += '\n';
    }
    std::string expected;
    for (const char* row : want) expected += std::string(row) + '\n';
    EXPECT_EQ(shown, expected);
}

TEST_F(FloatingTest, RotationFrameCorners) {
    auto doc = Doc(16, 16, Distinct);
    document::TransformFloating(*doc, {2, 2, 10, 6}, {2, 2, 10, 6}, 90, nullptr, nullptr, 1.0, 2);
    const auto& f = doc->m_Selection.rotationFrame;
    // Centre (6, 4); a quarter turn clockwise.
    EXPECT_EQ(f[0], (document::LassoPoint{8, 0}));
    EXPECT_EQ(f[1], (document::LassoPoint{8, 8}));
    EXPECT_EQ(f[2], (document::LassoPoint{4, 8}));
    EXPECT_EQ(f[3], (document::LassoPoint{4, 0}));
    document::TransformFloating(*doc, {2, 2, 10, 6}, {2, 2, 10, 6}, 0, nullptr, nullptr, 2.0, 2);
    EXPECT_EQ(f[0], (document::LassoPoint{-2, 0}));
    EXPECT_EQ(f[2], (document::LassoPoint{14, 8}));
}

TEST_F(FloatingTest, SimpleScalingOfMasksAndPixels) {
    auto doc = Doc(16, 12, Distinct);
    document::MaskFillRect(*doc, 1, 1, 3, 3);
    document::ClearSecondMask(*doc);
    document::TransformFloatingSimple(*doc, {1, 1, 3, 3}, {6, 2, 10, 6}, doc->m_hMask, doc->m_hMask3, 0);
    RefMask want(16, 12);
    for (int y = 2; y < 6; ++y)
        for (int x = 6; x < 10; ++x) want.Set(x, y);
    EXPECT_EQ(Selection(*doc, doc->m_hMask3), want);

    // Pixels: where the destination's selection bit is set, read at the paste offset.
    document::ClearMask(*doc);
    document::MaskFillRect(*doc, 6, 2, 10, 4);
    MemHandle source = DuplicateGlobal(doc->m_hLayers[0]);
    doc->m_Selection.pasteOffsetX = 1;
    doc->m_Selection.pasteOffsetY = 0;
    Grid before = Read(doc->m_hLayers[0]);
    document::TransformFloatingSimple(*doc, {1, 1, 3, 3}, {6, 2, 10, 6}, source, doc->m_hLayers[0], 1);
    Grid wantPixels = before;
    for (int y = 2; y < 4; ++y)
        for (int x = 6; x < 10; ++x) wantPixels.at(x, y) = Distinct(1 + (x - 6) / 2 + 1, 1 + (y - 2) / 2);
    EXPECT_EQ(Read(doc->m_hLayers[0]), wantPixels);
    MemFree(source);
}

TEST_F(FloatingTest, FloatingCommandsTurnPixelsAndMaskInPlace) {
    const DibRect rect{3, 2, 8, 6};  // 5 x 4
    auto reference = [](int id, int x, int y, int w, int h) {
        switch (id) {
        case 563: return std::pair{w - 1 - x, y};
        case 564: return std::pair{x, h - 1 - y};
        case 565: return std::pair{x, (y + 1) % h};
        case 566: return std::pair{(x + 1) % w, y};
        case 567: return std::pair{(x + w - 1) % w, y};
        default: return std::pair{x, (y + h - 1) % h};
        }
    };
    for (int id = 563; id <= 568; ++id) {
        SCOPED_TRACE(id);
        auto doc = Doc(12, 9, Distinct);
        // An uneven mask: the rectangle without its top-left pixel.
        document::MaskFillRect(*doc, rect.left, rect.top, rect.right, rect.bottom);
        {
            document::LockedMask m(*doc, doc->m_hMask);
            m.bits().Row(rect.top)[0] &= uint8_t(~(0x80 >> rect.left));
        }
        document::LiftSelection(*doc, rect);
        document::LiftFloatingMask(*doc, rect.left, rect.top, rect.right, rect.bottom);
        Grid before = Read(doc->m_hLayers[0]);
        ASSERT_TRUE(document::ApplyFloatingCommand(*doc, id));
        Grid want = before;
        int w = 5, h = 4;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                auto [sx, sy] = reference(id, x, y, w, h);
                want.at(rect.left + x, rect.top + y) = before.get(rect.left + sx, rect.top + sy);
            }
        EXPECT_EQ(Read(doc->m_hLayers[0]), want) << Show(Read(doc->m_hLayers[0]));
        // The floating mask follows: its clear pixel moved where (0, 0) went.
        DibMask mask;
        ASSERT_TRUE(document::FloatingBlitMask(*doc, &mask));
        MemLockGuard bits(doc->m_hFloatMask);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int bit = mask.firstBit + x;
                bool set = (bits.get()[size_t(y * mask.rowBytes + bit / 8)] >> (7 - bit % 8)) & 1;
                auto [sx, sy] = reference(id, x, y, w, h);
                ASSERT_EQ(set, !(sx == 0 && sy == 0)) << x << "," << y;
            }
    }
    auto doc = Doc(12, 9, Distinct);
    EXPECT_FALSE(document::ApplyFloatingCommand(*doc, 563));  // nothing floats
}

TEST_F(FloatingTest, LassoTakes999Points) {
    auto doc = Doc(20, 10, Distinct);
    document::ResetLasso(*doc);
    EXPECT_EQ(doc->m_Selection.lasso.Bounds().left, 2048);
    for (int i = 0; i < 999; ++i) ASSERT_TRUE(document::AddLassoPoint(*doc, i % 30 - 5, i % 13));
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_FALSE(document::AddLassoPoint(*doc, 3, 3));
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "无法继续选择。");
    EXPECT_EQ(doc->m_Selection.lasso.Count(), 999);
    const DibRect& b = doc->m_Selection.lasso.Bounds();
    // Clamped into the image.
    EXPECT_EQ(std::tie(b.left, b.top, b.right, b.bottom), std::make_tuple(0, 0, 20, 10));
    const auto& points = document::GetLassoPoints(*doc);
    ASSERT_EQ(points.size(), 999u);
    EXPECT_EQ(points[0], (document::LassoPoint{-5, 0}));
    document::NormalizeLasso(*doc);
    EXPECT_EQ(document::GetLassoPoints(*doc)[0], (document::LassoPoint{0, 0}));
    document::OffsetLasso(*doc, 2, 3);
    EXPECT_EQ(document::GetLassoPoints(*doc)[1], (document::LassoPoint{1 + 2, 1 + 3}));
}

TEST_F(FloatingTest, PlottingClampsAndTheLassoInteriorFills) {
    auto doc = Doc(12, 10, Distinct);
    document::BeginMaskEdit(*doc, 3);
    document::PlotMaskPoint(*doc, -4, 30, document::kTargetSelection);
    EXPECT_EQ(document::TestMaskBit(*doc, doc->m_hMask, 0, 9), 1);
    document::BeginMaskEdit(*doc, 1);
    // A triangle outline into the byte map and the selection, then its inside.
    const int pts[][2] = {{1, 1}, {9, 2}, {4, 8}};
    for (int i = 0; i < 3; ++i) {
        auto [x0, y0] = std::pair{pts[i][0], pts[i][1]};
        auto [x1, y1] = std::pair{pts[(i + 1) % 3][0], pts[(i + 1) % 3][1]};
        document::PlotMaskLine(*doc, x0, y0, x1, y1, document::kTargetByteMap);
        document::PlotMaskLine(*doc, x0, y0, x1, y1, document::kTargetSelection);
    }
    document::MaskFillSpans(*doc);
    RefMask got = Selection(*doc);
    // Closed: no hole inside the outline, nothing outside its box.
    PackedMask inside(12, 10);
    inside.Load(got);
    document::FloodFillMask(inside.bits, 0, 0);  // the outside
    int holes = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) holes += !inside.bits.Get(x, y);
    EXPECT_EQ(holes, 0) << Show(got);
    DibRect r = document::MaskBoundingRect(*doc);
    EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom), std::make_tuple(1, 1, 10, 9));
}

TEST_F(FloatingTest, SecondMaskOperations) {
    auto doc = Doc(12, 6, Distinct);
    RefMask a = RandomMask(12, 6, 40, 21);
    {
        document::LockedMask m(*doc, doc->m_hMask);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 12; ++x)
                if (a.Get(x, y)) m.bits().Put(x, y);
    }
    document::ShiftMaskIntoSecond(*doc, 2, -1);
    RefMask shifted(12, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            if (a.Get(x, y)) shifted.Set(x + 2, y - 1);
    EXPECT_EQ(Selection(*doc, doc->m_hMask3), shifted);
    document::ExchangeSecondMask(*doc, 1);
    EXPECT_EQ(Selection(*doc), shifted);
    EXPECT_EQ(Selection(*doc, doc->m_hMask3), a);
    document::CombineMasks(doc->m_hMask, doc->m_hMask3);
    RefMask both = a;
    for (size_t i = 0; i < both.px.size(); ++i) both.px[i] |= shifted.px[i];
    EXPECT_EQ(Selection(*doc), both);
    // Bits past the image (a larger image's rows) are dropped.
    document::FillMask(*doc);
    document::ClipSelectionToImage(*doc);
    {
        MemLockGuard lock(doc->m_hMask);
        size_t used = document::MaskRowBytes(12) * 6;
        for (size_t i = used; i < lock.size(); ++i) ASSERT_EQ(lock.get()[i], 0) << i;
        for (int y = 0; y < 6; ++y) EXPECT_EQ(lock.get()[y * 2 + 1], 0xF0);
    }
    EXPECT_EQ(Selection(*doc, doc->m_hMask3), RefMask(12, 6));
}

TEST_F(FloatingTest, MaskedPixelsAreClearedAndFilled) {
    auto doc = Doc(10, 5, Distinct);
    document::MaskFillRect(*doc, 2, 1, 5, 3);
    doc->m_hLayerBackup = DuplicateGlobal(doc->m_hLayers[0]);
    document::ClearMaskedPixels(*doc, 1);
    document::FillMaskedPixels(*doc, doc->m_hLayers[0], 77);
    Grid backup = Read(doc->m_hLayerBackup), layer = Read(doc->m_hLayers[0]);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 10; ++x) {
            bool in = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(backup.get(x, y), in ? 0 : Distinct(x, y));
            EXPECT_EQ(layer.get(x, y), in ? 77 : Distinct(x, y));
        }
}

TEST_F(FloatingTest, PatternSamplesTheFloatingImage) {
    auto doc = Doc(100, 100, [](int x, int y) { return (x + 2 * y) % 256; });
    Lift(*doc, {4, 10, 100, 34});  // 96 x 24
    doc->m_nToolId = 553;
    EXPECT_FALSE(document::DefinePattern(*doc));
    doc->m_nToolId = 551;
    ASSERT_TRUE(document::DefinePattern(*doc));
    const auto& p = document::GetSelectionPattern();
    ASSERT_NE(p.image, nullptr);
    EXPECT_NE(p.image, doc->m_hFloatImage);
    EXPECT_EQ(std::tie(p.rect.left, p.rect.right), std::make_tuple(4, 100));
    for (int r = 0; r < 48; ++r)
        for (int c = 0; c < 48; ++c) {
            // Buffer row r x h / 48 counted from the bottom row of the floating image.
            int imageY = 10 + (24 - 1 - r * 24 / 48), imageX = 4 + c * 96 / 48;
            ASSERT_EQ(p.table[size_t(r * 48 + c)], (imageX + 2 * imageY) % 256) << r << "," << c;
        }
    document::ReleaseSelectionPattern();
}

TEST_F(FloatingTest, DefinePatternCommandFollowsTheSelectionTool) {
    auto doc = Doc(20, 20, Distinct);
    doc->m_nToolId = 551;
    EXPECT_FALSE(doc->QueryCommandState(CPelmarkDoc::kDefinePatternCommand).IsEnabled());
    Lift(*doc, {2, 3, 10, 9});
    EXPECT_TRUE(doc->QueryCommandState(CPelmarkDoc::kDefinePatternCommand).IsEnabled());
    EXPECT_EQ(document::GetSelectionPattern().rect.right, 10);
    EXPECT_TRUE(doc->ExecuteCommand(CPelmarkDoc::kDefinePatternCommand));
    EXPECT_EQ(document::GetSelectionPattern().table[0], Distinct(2, 8));
    doc->m_nToolId = 569;
    EXPECT_FALSE(doc->QueryCommandState(CPelmarkDoc::kDefinePatternCommand).IsEnabled());
    document::ReleaseSelectionPattern();
}

}  // namespace
}  // namespace doctest
