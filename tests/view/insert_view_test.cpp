// The floating selection scaled and turned back into the current layer
// through the view: nearest pixel and anti-aliased, the work-memory failure,
// quarter and other turns with and without smoothing.
#include <string>
#include <vector>

#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/selection_mask_doc.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "framework/program_globals.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

class InsertViewTest : public ViewTest {
public:
    // A 16 x 16 image whose layer 0 (current) holds value(x, y); the
    // rectangle `lifted` is selected and lifted into the floating selection.
    template <class F>
    CPelmarkView* Open(const DibRect& lifted, F value) {
        CPelmarkView* view = OpenImage(16, 16);
        doc = view->GetDocument();
        document::LayerOptions normal;
        normal.drawMode = LAYER_DRAW_NORMAL;
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1, normal));
        doc->m_nEditLayer = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) Px(x, y) = uint8_t(value(x, y));
        document::ClearMask(*doc);
        document::MaskFillRect(*doc, lifted.left, lifted.top, lifted.right, lifted.bottom);
        document::LiftSelection(*doc, lifted);
        document::LiftFloatingMask(*doc, lifted.left, lifted.top, lifted.right, lifted.bottom);
        doc->m_rcFloatTarget = doc->m_rcSelection;
        return view;
    }
    void TearDown() override {
        MemSetLimit(MEM_NO_LIMIT);
        ViewTest::TearDown();
    }
    void SetAntiAlias(int on) {
        app->WriteProfileInt("Settings", "AntiCheckBox", on);
        LoadGeneralSettings();
    }

    uint8_t& Px(int x, int y) const {
        auto* p = static_cast<uint8_t*>(MemLock(doc->m_hLayers[0]));
        MemUnlock(doc->m_hLayers[0]);
        return p[LAYER_HEADER_SIZE + size_t(15 - y) * 16 + size_t(x)];
    }
    uint8_t Composite(int x, int y) const {
        MemLockGuard lock(doc->m_hImage);
        return lock.get()[40 + 1024 + size_t(15 - y) * 16 + size_t(x)];
    }
    std::vector<int> Layer() const {
        std::vector<int> v;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) v.push_back(Px(x, y));
        return v;
    }
    std::vector<int> Mask() const {
        document::LockedMask m(*doc, doc->m_hMask);
        std::vector<int> v;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) v.push_back(m.bits().Get(x, y));
        return v;
    }
    // The layer's values of a rectangle, row by row.
    std::vector<int> Rect(int left, int top, int right, int bottom) const {
        std::vector<int> v;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) v.push_back(Px(x, y));
        return v;
    }

    CPelmarkDoc* doc = nullptr;
};

// Entries i of the view's palette: (i, 255 - i, 37 i mod 256). The average
// of entries 2k and 2k + 2 is exactly entry 2k + 1 for k = 0 and 2.
int Ramp(int x, int y) { return x < 8 && y < 2 ? 2 * (x % 4) : 100 + x + y; }

TEST_F(InsertViewTest, InsertScalesNearestOrAveragedByTheSetting) {
    struct Case {
        int antiAlias;
        std::vector<int> row;  // the floating [0 2 4 6] put into two pixels
    };
    for (const Case& c : {Case{0, {2, 6}}, Case{1, {1, 5}}}) {
        SCOPED_TRACE(c.antiAlias);
        SetAntiAlias(c.antiAlias);
        CPelmarkView* view = Open({0, 0, 4, 2}, Ramp);
        std::vector<int> before = Layer();
        ASSERT_TRUE(view->InsertImageAt(12, 11, 10, 10));  // any corner order
        EXPECT_EQ(Rect(10, 10, 12, 11), c.row);
        std::vector<int> want = before;
        want[size_t(10 * 16 + 10)] = c.row[0];
        want[size_t(10 * 16 + 11)] = c.row[1];
        EXPECT_EQ(Layer(), want);
        std::vector<int> mask(256, 0);
        mask[size_t(10 * 16 + 10)] = mask[size_t(10 * 16 + 11)] = 1;
        EXPECT_EQ(Mask(), mask);
        const DibRect& s = doc->m_rcSelection;
        EXPECT_EQ(std::vector<int>({s.left, s.top, s.right, s.bottom}), std::vector<int>({10, 10, 12, 11}));
        EXPECT_EQ(Composite(11, 10), c.row[1]);
    }
}

TEST_F(InsertViewTest, TwoByTwoIntoFourByFourGivesBlocksAndCutsAtTheImage) {
    for (int antiAlias : {0, 1}) {
        SCOPED_TRACE(antiAlias);
        SetAntiAlias(antiAlias);
        CPelmarkView* view = Open({0, 0, 2, 2}, [](int x, int y) { return 10 + x + 20 * y; });
        ASSERT_TRUE(view->InsertImageAt(14, 14, 18, 18));  // half outside
        EXPECT_EQ(Rect(14, 14, 16, 16), (std::vector<int>{10, 10, 10, 10}));
        ASSERT_TRUE(view->InsertImageAt(4, 6, 8, 10));
        EXPECT_EQ(Rect(4, 6, 8, 10), (std::vector<int>{10, 10, 11, 11, 10, 10, 11, 11,  //
                                                       30, 30, 31, 31, 30, 30, 31, 31}));
    }
}

TEST_F(InsertViewTest, NothingHappensWithoutFloatingImageOrForAnEmptyTarget) {
    CPelmarkView* view = Open({0, 0, 2, 2}, Ramp);
    std::vector<int> layer = Layer(), mask = Mask();
    EXPECT_FALSE(view->InsertImageAt(3, 3, 3, 9));
    document::FreeFloating(*doc);
    EXPECT_FALSE(view->InsertImageAt(3, 3, 5, 5));
    EXPECT_FALSE(view->InsertImagePreview(30));
    EXPECT_EQ(Layer(), layer);
    EXPECT_EQ(Mask(), mask);
}

TEST_F(InsertViewTest, NoMemoryForTheAveragedWriteChangesNothing) {
    SetAntiAlias(1);
    // First no memory for the copy of the mask, then none for the work image
    // (the resample shows the main frame's message first).
    struct Case {
        size_t spare;
        std::vector<std::string> texts;
    };
    for (const Case& c : {Case{0, {"图象插入所需内存不足。"}},
                          Case{2048 / 8 * 2048 + 100, {"内存不足。", "图象插入所需内存不足。"}}}) {
        SCOPED_TRACE(c.spare);
        platform::MessageBoxRecorder boxes;
        CPelmarkView* view = Open({0, 0, 4, 2}, Ramp);
        std::vector<int> layer = Layer(), mask = Mask();
        DibRect selection = doc->m_rcSelection;
        MemSetLimit(MemBytesInUse() + c.spare);
        EXPECT_FALSE(view->InsertImageAt(0, 4, 16, 16));
        MemSetLimit(MEM_NO_LIMIT);
        EXPECT_EQ(Layer(), layer);
        EXPECT_EQ(Mask(), mask);
        EXPECT_EQ(doc->m_rcSelection.bottom, selection.bottom);
        std::vector<std::string> texts;
        for (const auto& r : boxes.Requests()) texts.push_back(r.text);
        EXPECT_EQ(texts, c.texts);
    }
}

// A checkerboard of entries below 16 and above 200: neighbours lie far
// apart; the 4 x 4 rectangle at (2, 3) holds 16 distinct values.
int Spread(int x, int y) { return (x + 4 * y) % 16 + ((x + y) % 2 ? 200 : 0); }

TEST_F(InsertViewTest, PreviewTurnsAQuarterExactlyAndSmoothsOnlyOtherAngles) {
    const DibRect lifted{2, 3, 6, 7};  // 4 x 4
    std::vector<int> source;
    auto turned = [&](double angle, int antiAlias) {
        SetAntiAlias(antiAlias);
        CPelmarkView* view = Open(lifted, Spread);
        source = Rect(2, 3, 6, 7);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) Px(x, y) = 0;
        EXPECT_TRUE(view->InsertImagePreview(angle));
        return Layer();
    };
    std::vector<int> quarter = turned(90, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)  // clockwise: the left column becomes the top row
            ASSERT_EQ(quarter[size_t((3 + y) * 16 + 2 + x)], source[size_t((3 - x) * 4 + y)]) << x << "," << y;
    EXPECT_EQ(turned(90, 0), quarter);
    EXPECT_EQ(Composite(2, 3), quarter[size_t(3 * 16 + 2)]);
    std::vector<int> mask(256, 0);
    for (int y = 3; y < 7; ++y)
        for (int x = 2; x < 6; ++x) mask[size_t(y * 16 + x)] = 1;
    EXPECT_EQ(Mask(), mask);

    std::vector<int> plain = turned(30, 0);
    std::vector<int> smoothed = turned(30, 1);
    EXPECT_NE(smoothed, plain);
    // Smoothing writes only where the turned selection lies.
    std::vector<int> selected = Mask();
    for (size_t i = 0; i < 256; ++i) {
        if (!selected[i]) {
            ASSERT_EQ(smoothed[i], plain[i]) << i;
        }
    }
}

TEST_F(InsertViewTest, PreviewKeepsTheTurnWhenSmoothingFindsNoMemory) {
    std::vector<int> plain;
    {
        SetAntiAlias(0);
        CPelmarkView* view = Open({2, 3, 6, 7}, Spread);
        ASSERT_TRUE(view->InsertImagePreview(30));
        plain = Layer();
    }
    SetAntiAlias(1);
    platform::MessageBoxRecorder boxes;
    CPelmarkView* view = Open({2, 3, 6, 7}, Spread);
    MemSetLimit(MemBytesInUse());
    EXPECT_TRUE(view->InsertImagePreview(30));
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(Layer(), plain);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "图象插入所需内存不足。");
}

}  // namespace
}  // namespace viewtest
