// Floodkit.so run by the host from the program directory as the fill tool's
// click runs it: the tone, the selection, the pattern, the edge weights
// against the rules written out point by point, the fill's own memory
// refused, and a click in a canvas view with undo and redo.
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QTest>

#include "document/layer_factory.h"
#include "framework/doc_template.h"
#include "host_fixture.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_host_services.h"
#include "plugin_host/tool_runs.h"
#include "tools/drag_state.h"
#include "tools/pixel_access.h"
#include "tools/tool_dispatch.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"
#include "view/view_geometry.h"
#include "fill_reference.h"

namespace floodtest {
namespace {

using Pixels = std::vector<uint8_t>;

class FloodkitTest : public hosttest::HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_TRUE(QFile::link(QStringLiteral(FLOODKIT_PATH), ProgramDir() + "Floodkit.so"));
        frame->resize(800, 600);
        frame->show();
        docTemplate = app->AddDocTemplate(
            framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
    }
    void TearDown() override {
        MemSetLimit(MEM_NO_LIMIT);
        plugin_host::Services() = {};
        tools::ProgramDragState() = {};
        HostTest::TearDown();
    }

    // The scene's layer and mask in a document with a grey palette (entry i
    // is i, i, i), shown in a view at zoom 4.
    CPelmarkDoc* Open(const Scene& s) {
        auto* d = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
        d->m_hImage = CreateDib8(s.width, s.height, 0);
        for (int i = 0; i < 256; ++i) SetDibPaletteEntry(d->m_hImage, i, uint8_t(i), uint8_t(i), uint8_t(i), 0);
        EXPECT_TRUE(d->InitDib());
        EXPECT_TRUE(document::CreateLayer(*d, 0, 1));
        SetLayer(d, s);
        framework::ChildFrame* child = docTemplate->CreateNewFrame(d);
        docTemplate->InitialUpdateFrame(child, d);
        view = dynamic_cast<CPelmarkView*>(child->GetActiveView());
        view->SetZoom(view::ZoomCommandOf(4));
        child->resize(400, 300);
        view->ScrollTo(0, 0);
        QApplication::processEvents();
        return d;
    }
    void SetLayer(CPelmarkDoc* d, const Scene& s) {
        {
            MemLockGuard layer(d->m_hLayers[0]);
            const size_t stride = dib::LayerRowBytes(s.width);
            for (int y = 0; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x)
                    layer.get()[LAYER_HEADER_SIZE + size_t(s.height - 1 - y) * stride + size_t(x)] = s.pixel(x, y);
        }
        MemLockGuard mask(d->m_hMask);
        std::memset(mask.get(), 0, mask.size());
        const size_t rowBytes = size_t(s.width + 7) / 8;
        for (size_t i = 0; i < s.mask.size(); ++i)
            if (s.mask[i]) {
                const int x = int(i) % s.width, y = int(i) / s.width;
                mask.get()[size_t(y) * rowBytes + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
            }
        tools::RecomposeDocument(*d);
        d->SetModified(false);
    }
    static Pixels Layer(const CPelmarkDoc* d) {
        MemLockGuard layer(d->m_hLayers[0]);
        Pixels p;
        const size_t stride = dib::LayerRowBytes(d->m_nWidth);
        for (int y = 0; y < d->m_nHeight; ++y)
            for (int x = 0; x < d->m_nWidth; ++x)
                p.push_back(layer.get()[LAYER_HEADER_SIZE + size_t(d->m_nHeight - 1 - y) * stride + size_t(x)]);
        return p;
    }
    // The host's settings of the scene: tone, feather, colour, click point
    // and, when given, the pattern.
    void Settle(CPelmarkDoc* d, const Scene& s, MemHandle pattern = nullptr, int pw = 0, int ph = 0) {
        plugin_host::Services().toneIndex = [density = s.density] { return density; };
        plugin_host::Services().toolOption = [edge = s.edge, pattern](int index) {
            switch (index) {
            case 0: return pattern ? 1 : 0;
            case 1: return edge > 0 ? 1 : 0;
            case 2: return edge;
            default: return 0;
            }
        };
        plugin_host::Services().pattern = [=] { return plugin_host::ToolPattern{{0, 0, pw, ph}, pattern}; };
        d->m_nColor = s.color;
        plugin_host::ToolClickX() = s.seedX;
        plugin_host::ToolClickY() = s.seedY;
    }
    int Run(CPelmarkDoc* d, const Scene& s, MemHandle pattern = nullptr, int pw = 0, int ph = 0) {
        Settle(d, s, pattern, pw, ph);
        return plugin_host::RunFillPlugin(d);
    }
    static Scene Plain(int w, int h, int index) {
        Scene s;
        s.width = w;
        s.height = h;
        s.layer.assign(size_t(w * h), uint8_t(index));
        return s;
    }
    // A 12 x 10 ring of 50 around a region of 0, filled with 255 from its middle.
    static Scene RingScene(int edge) {
        Scene s = Plain(12, 10, 0);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x)
                if (x == 0 || y == 0 || x == 11 || y == 9) s.layer[size_t(y * 12 + x)] = 50;
        s.seedX = 5;
        s.seedY = 5;
        s.color = 255;
        s.edge = edge;
        return s;
    }

    framework::DocTemplate* docTemplate = nullptr;
    CPelmarkView* view = nullptr;
};

TEST_F(FloodkitTest, ToneFifteenPaintsTheRegionAndToneZeroOnePixelInEachBlock) {
    for (int density : {0, 15}) {
        Scene s = Plain(13, 9, 3);
        s.seedX = 6;
        s.seedY = 4;
        s.density = density;
        s.color = 200;
        CPelmarkDoc* d = Open(s);
        EXPECT_EQ(Run(d, s), 1);
        const Pixels after = Layer(d);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const bool painted = density == 0 || (x % 4 == 0 && y % 4 == 0);
                ASSERT_EQ(after[size_t(y * s.width + x)], painted ? 200 : 3) << density << " " << x << "," << y;
            }
        EXPECT_TRUE(d->CanUndo());
        EXPECT_TRUE(d->IsModified());
        d->OnEditUndo();
        EXPECT_EQ(Layer(d), s.layer);
        d->OnCloseDocument();
    }
}

TEST_F(FloodkitTest, RegionStopsAtTheSelectionAndALonePixelFillsAlone) {
    // Columns 5 and 6 are not selected: the selected block beyond them is
    // reachable only through them and stays as it was.
    Scene s = Plain(12, 8, 0);
    s.mask.assign(s.layer.size(), 1);
    for (int y = 0; y < s.height; ++y) s.mask[size_t(y * 12 + 5)] = s.mask[size_t(y * 12 + 6)] = 0;
    s.seedX = 2;
    s.seedY = 3;
    s.color = 9;
    CPelmarkDoc* d = Open(s);
    EXPECT_EQ(Run(d, s), 1);
    Pixels after = Layer(d);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) ASSERT_EQ(after[size_t(y * 12 + x)], x < 5 ? 9 : 0) << x << "," << y;

    // A click outside the selection fills nothing and leaves no step.
    d->OnEditUndo();
    ASSERT_FALSE(d->CanUndo());
    s.seedX = 5;
    EXPECT_EQ(Run(d, s), 1);
    EXPECT_EQ(Layer(d), s.layer);
    EXPECT_FALSE(d->CanUndo());
    EXPECT_FALSE(d->IsModified());

    Scene lone = Plain(7, 6, 0);
    lone.layer[size_t(3 * 7 + 4)] = 40;
    lone.seedX = 4;
    lone.seedY = 3;
    lone.color = 77;
    SetLayer(d = Open(lone), lone);
    EXPECT_EQ(Run(d, lone), 1);
    Pixels expected = lone.layer;
    expected[size_t(3 * 7 + 4)] = 77;
    EXPECT_EQ(Layer(d), expected);
}

// Random small layers of few indices, masks of random bits, none or empty,
// random seeds and tones.
Scene RandomScene(std::mt19937& rng, int maxW, int maxH, int edge) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Scene s;
    s.width = pick(1, maxW);
    s.height = pick(1, maxH);
    const int indices = pick(2, 3);
    s.layer.resize(size_t(s.width * s.height));
    // Blobs: a few rectangles of other indices over a ground of 0.
    for (auto& v : s.layer) v = 0;
    for (int r = pick(0, 8); r > 0; --r) {
        const int x0 = pick(0, s.width - 1), y0 = pick(0, s.height - 1);
        const int x1 = pick(x0, s.width - 1), y1 = pick(y0, s.height - 1), v = pick(1, indices - 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) s.layer[size_t(y * s.width + x)] = uint8_t(v);
    }
    for (auto& v : s.layer)
        if (pick(0, 9) == 0) v = uint8_t(pick(0, indices - 1));
    switch (pick(0, 2)) {
    case 0: break;
    case 1: s.mask.assign(s.layer.size(), 0); break;
    default:
        s.mask.resize(s.layer.size());
        for (auto& m : s.mask) m = pick(0, 9) < 8 ? 1 : 0;
    }
    s.seedX = pick(0, s.width - 1);
    s.seedY = pick(0, s.height - 1);
    s.density = edge ? 0 : pick(0, 15);
    s.color = edge ? 255 : pick(100, 250);
    s.edge = edge;
    return s;
}

TEST_F(FloodkitTest, RandomScenesEqualThePointStackFill) {
    std::mt19937 rng(4127);
    CPelmarkDoc* d = nullptr;
    // Small layers, then rows of up to four 64-pixel words, where runs
    // cross word borders.
    const struct {
        int maxW, maxH, count;
    } sizes[] = {{17, 13, 200}, {250, 24, 80}};
    for (const auto& size : sizes)
        for (int n = 0; n < size.count; ++n) {
            const Scene s = RandomScene(rng, size.maxW, size.maxH, 0);
            if (d) d->OnCloseDocument();
            d = Open(s);
            EXPECT_EQ(Run(d, s), 1);
            ASSERT_EQ(Layer(d), ReferencePaint(s)) << size.maxW << " scene " << n;
        }
}

TEST_F(FloodkitTest, PatternStartsOnTheSeedColumnAndRunsBottomUp) {
    // Rows bottom-up: 1 2 3 below, 4 5 6 above.
    const size_t full = LAYER_HEADER_SIZE + 4 * 2;
    for (size_t bytes : {full, full - 1}) {
        MemHandle pattern = MemAlloc(bytes);
        {
            MemLockGuard p(pattern);
            const uint8_t rows[8] = {1, 2, 3, 0, 4, 5, 6, 0};
            std::memcpy(p.get() + LAYER_HEADER_SIZE, rows, bytes - LAYER_HEADER_SIZE);
        }
        Scene s = Plain(10, 8, 0);
        s.seedX = 4;
        s.seedY = 3;
        s.color = 99;
        CPelmarkDoc* d = Open(s);
        EXPECT_EQ(Run(d, s, pattern, 3, 2), 1);
        const Pixels after = Layer(d);
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const int column = ((x - 4) % 3 + 3) % 3, row = ((y - 3) % 2 + 2) % 2;
                const int expected = bytes < full ? 99 : (row == 0 ? 4 : 1) + column;
                ASSERT_EQ(after[size_t(y * 10 + x)], expected) << bytes << " " << x << "," << y;
            }
        d->OnCloseDocument();
        MemFree(pattern);
    }
}

TEST_F(FloodkitTest, EdgeWidthTwoGivesTheOutermostPixelsHalfWeight) {
    // A ring of 50 around a region of 0; the fill colour 255 is the weight.
    Scene s = RingScene(2);
    CPelmarkDoc* d = Open(s);
    EXPECT_EQ(Run(d, s), 1);
    const Pixels after = Layer(d);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool ring = x == 0 || y == 0 || x == 11 || y == 9;
            const bool outer = x == 1 || y == 1 || x == 10 || y == 8;
            ASSERT_EQ(after[size_t(y * 12 + x)], ring ? 50 : outer ? 127 : 255) << x << "," << y;
        }
}

// An odd edge width: the kernel's heaviest cells lie one step right of and
// below the pixel, yet the region's last column and row are painted, as
// softly as its first.
TEST_F(FloodkitTest, EdgeWidthThreePaintsTheWholeRegion) {
    Scene s = RingScene(3);
    CPelmarkDoc* d = Open(s);
    EXPECT_EQ(Run(d, s), 1);
    const Pixels after = Layer(d);
    for (int y = 1; y < 9; ++y)
        for (int x = 1; x < 11; ++x) ASSERT_NE(after[size_t(y * 12 + x)], 0) << x << "," << y;
    for (int i = 1; i < 9; ++i) EXPECT_EQ(after[size_t(i * 12 + 10)], after[size_t(i * 12 + 1)]) << i;
    for (int i = 1; i < 11; ++i) EXPECT_EQ(after[size_t(8 * 12 + i)], after[size_t(1 * 12 + i)]) << i;
}

// A fill that changes no pixel (the region already has the fill colour)
// leaves no undo step and the document unmodified, feathered or not.
TEST_F(FloodkitTest, AFillThatPaintsNothingLeavesNoStep) {
    for (int edge : {0, 2, 5}) {
        SCOPED_TRACE(edge);
        Scene s = Plain(12, 10, 7);
        s.seedX = 5;
        s.seedY = 5;
        s.color = 7;
        s.edge = edge;
        CPelmarkDoc* d = Open(s);
        EXPECT_EQ(Run(d, s), 1);
        EXPECT_EQ(Layer(d), s.layer);
        EXPECT_FALSE(d->CanUndo());
        EXPECT_FALSE(d->IsModified());
        d->OnCloseDocument();
    }
}

TEST_F(FloodkitTest, RandomRegionsEqualTheEdgeWeightsAtEveryWidth) {
    std::mt19937 rng(50);
    CPelmarkDoc* d = nullptr;
    for (int edge = 1; edge <= 50; ++edge)
        for (int n = 0; n < 3; ++n) {
            const Scene s = RandomScene(rng, 40, 30, edge);
            if (d) d->OnCloseDocument();
            d = Open(s);
            EXPECT_EQ(Run(d, s), 1);
            ASSERT_EQ(Layer(d), ReferencePaint(s)) << "width " << edge << " scene " << n;
        }
}

TEST_F(FloodkitTest, RefusedBuffersPaintNothingAndLeaveNoStep) {
    Scene s = Plain(64, 48, 0);
    s.layer[size_t(10 * 64 + 10)] = 5;
    s.seedX = 30;
    s.seedY = 20;
    s.color = 255;
    s.edge = 10;
    const Pixels expected = ReferencePaint(s);
    CPelmarkDoc* d = Open(s);
    // The limit holds for the plug-in's call alone: from the record's last
    // setting read to the locks cleared after the call.
    size_t extra = 0;
    Settle(d, s);
    auto option = plugin_host::Services().toolOption;
    plugin_host::Services().toolOption = [&, option](int index) {
        if (index == 0) MemSetLimit(MemBytesInUse() + extra);
        return option(index);
    };
    plugin_host::Services().clearCommandLocks = [&] {
        MemSetLimit(MEM_NO_LIMIT);
        frame->ClearCommandLocks();
    };
    int refused = 0;
    for (; extra < 200000; extra += 61) {
        const size_t before = MemBytesInUse();
        plugin_host::RunFillPlugin(d);
        if (Layer(d) == expected) break;
        ASSERT_EQ(Layer(d), s.layer) << extra;
        ASSERT_FALSE(d->CanUndo()) << extra;
        ASSERT_FALSE(d->IsModified()) << extra;
        ASSERT_EQ(MemBytesInUse(), before) << extra;
        ++refused;
    }
    EXPECT_EQ(Layer(d), expected);
    EXPECT_TRUE(d->CanUndo());
    // The planes of the fill: work 8 x 48 bytes, weights 64 x 48.
    EXPECT_GE(refused, (64 * 48) / 61);
}

TEST_F(FloodkitTest, BadStartsLeaveTheDocumentAsItWas) {
    const Scene s = [] {
        Scene p = Plain(9, 7, 4);
        p.seedX = 3;
        p.seedY = 2;
        p.color = 60;
        return p;
    }();
    struct Case {
        const char* what;
        std::function<void(CPelmarkDoc*, Scene&)> spoil;
    };
    const std::vector<Case> cases = {
        {"seed left of the image", [](CPelmarkDoc*, Scene& t) { t.seedX = -1; }},
        {"seed below the image", [](CPelmarkDoc*, Scene& t) { t.seedY = 7; }},
        {"no current layer", [](CPelmarkDoc* d, Scene&) { d->m_nEditLayer = 3; }},
        {"a layer cut short",
         [](CPelmarkDoc* d, Scene&) { d->m_hLayers[0] = MemReAlloc(d->m_hLayers[0], LAYER_HEADER_SIZE + 20); }},
    };
    for (const Case& c : cases) {
        CPelmarkDoc* d = Open(s);
        Scene t = s;
        const Pixels before = Layer(d);
        c.spoil(d, t);
        EXPECT_EQ(Run(d, t), 1) << c.what;
        d->m_nEditLayer = 0;
        if (MemSize(d->m_hLayers[0]) == LAYER_HEADER_SIZE + dib::LayerRowBytes(9) * 7) {
            EXPECT_EQ(Layer(d), before) << c.what;
        }
        EXPECT_FALSE(d->CanUndo()) << c.what;
        EXPECT_FALSE(d->IsModified()) << c.what;
        EXPECT_TRUE(BoxTexts().empty()) << c.what;
        d->OnCloseDocument();
    }
}

TEST_F(FloodkitTest, ClickWithTheFillToolFillsAndUndoAndRedoFollow) {
    Scene s = Plain(20, 12, 0);
    for (int y = 0; y < 12; ++y) s.layer[size_t(y * 20 + 9)] = 8;  // a wall
    CPelmarkDoc* d = Open(s);
    d->m_nToolId = tools::kFillTool;
    d->m_nColor = 33;
    plugin_host::Services().toneIndex = [] { return 0; };
    plugin_host::Services().toolOption = [](int) { return 0; };
    auto client = [](int x, int y) { return QPoint(x * 4 + 1, y * 4 + 2); };
    QTest::mouseClick(view, Qt::LeftButton, {}, client(3, 5));
    Pixels filled = s.layer;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 9; ++x) filled[size_t(y * 20 + x)] = 33;
    EXPECT_EQ(Layer(d), filled);
    EXPECT_FALSE(CPelmarkView::FillBlocked());
    EXPECT_FALSE(view->HoldsCapture());
    d->OnEditUndo();
    EXPECT_EQ(Layer(d), s.layer);
    d->OnEditRedo();
    EXPECT_EQ(Layer(d), filled);

    // Short work memory: the probe's message, the blocked byte, no fill.
    d->OnEditUndo();
    MemSetLimit(MemBytesInUse());
    QTest::mouseClick(view, Qt::LeftButton, {}, client(3, 5));
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_TRUE(CPelmarkView::FillBlocked());
    EXPECT_EQ(Layer(d), s.layer);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"工作内存不足"}));
}

}  // namespace
}  // namespace floodtest
