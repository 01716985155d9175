// The preview of Cinereel.so: its playback buttons and timer 1, the frames
// it paints on both paths, and its window place kept under ANIMPOS.
#include <QAbstractButton>

#include "cinereel_preview_fixture.h"

namespace hosttest {
namespace {

constexpr int RESET = 16009, BACK = 16011, RUN = 16012, FORWARD = 16013, STOPRUN = 16014;

constexpr int kZoomValues[6] = {1, 2, 4, 6, 8, 16};

class PreviewTest : public CinereelPreviewTest {
protected:
// The RUN and STOPRUN look: 'i' idle, 'r' running, 'p' paused.
static char Look() {
    const QString run = PreviewBar(16019)->GetDlgItem(RUN)->property("pictures").toString();
    const QString stop = PreviewBar(16019)->GetDlgItem(STOPRUN)->property("pictures").toString();
    if (run == "16032,16034" && stop == "16027,16026") return 'r';
    if (run == "16025,16024" && stop == "16035,16036") return 'p';
    if (run == "16025,16024" && stop == "16027,16026") return 'i';
    return '?';
}
static std::string Pressed() {
    std::string s;
    if (PreviewBar(16019)->Item<QAbstractButton>(BACK)->isChecked()) s += 'B';
    if (PreviewBar(16019)->Item<QAbstractButton>(FORWARD)->isChecked()) s += 'F';
    return s;
}
};

TEST_F(PreviewTest, EveryButtonInEveryState) {
    struct Case {
        const char* state;
        std::vector<int> prefix;
        int button;
        int toState, mode, position, shown, timer;  // after one tick (when timer 1 is set)
        char look;
        const char* pressed;
    } cases[] = {
        {"-1", {}, RESET, -1, 0, 0, 0, -1, 'i', ""},
        {"-1", {}, RUN, 0, 0, 1, 0, 100, 'r', ""},
        {"-1", {}, STOPRUN, -1, 0, 0, 0, -1, 'i', ""},
        {"-1", {}, BACK, 10, 10, 2, 0, 50, 'i', "B"},
        {"-1", {}, FORWARD, 11, 11, 1, 0, 50, 'i', "F"},
        {"0", {RUN}, RESET, -1, -1, 0, 0, -1, 'i', ""},
        {"0", {RUN}, RUN, 3, 3, 0, 0, -1, 'p', ""},
        {"0", {RUN}, STOPRUN, 3, 3, 0, 0, -1, 'p', ""},
        {"0", {RUN}, BACK, 10, 10, 2, 0, 50, 'i', "B"},
        {"0", {RUN}, FORWARD, 11, 11, 1, 0, 50, 'i', "F"},
        {"3", {RUN, RUN}, RESET, -1, -1, 0, 0, -1, 'i', ""},
        {"3", {RUN, RUN}, RUN, 0, 0, 1, 0, 100, 'r', ""},
        {"3", {RUN, RUN}, STOPRUN, 0, 0, 1, 0, 100, 'r', ""},
        {"3", {RUN, RUN}, BACK, 3, 3, 2, 2, -1, 'p', ""},
        {"3", {RUN, RUN}, FORWARD, 3, 3, 1, 1, -1, 'p', ""},
        {"10", {BACK}, RESET, -1, -1, 0, 0, -1, 'i', ""},
        {"10", {BACK}, RUN, 0, 0, 1, 0, 100, 'r', ""},
        {"10", {BACK}, STOPRUN, 3, 3, 0, 0, -1, 'p', ""},
        {"10", {BACK}, BACK, -1, 3, 0, 0, -1, 'i', ""},
        {"10", {BACK}, FORWARD, 11, 11, 1, 0, 50, 'i', "F"},
        {"11", {FORWARD}, RESET, -1, -1, 0, 0, -1, 'i', ""},
        {"11", {FORWARD}, RUN, 0, 0, 1, 0, 100, 'r', ""},
        {"11", {FORWARD}, STOPRUN, 3, 3, 0, 0, -1, 'p', ""},
        {"11", {FORWARD}, BACK, 10, 10, 2, 0, 50, 'i', "B"},
        {"11", {FORWARD}, FORWARD, -1, 3, 0, 0, -1, 'i', ""},
    };
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Frames(doc, {{0, 0, 10, 10, 100}, {10, 0, 10, 10, 200}, {20, 0, 10, 10, 300}});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", button " << c.button);
        Run(34012, [&] {
            Click(14018);
            EXPECT_EQ(State(), -1);
            for (int id : c.prefix) Press(id);
            Press(c.button);
            Tick();
            EXPECT_EQ(State(), c.toState);
            EXPECT_EQ(ViewValue("playMode"), c.mode);
            EXPECT_EQ(ViewValue("position"), c.position);
            EXPECT_EQ(ViewValue("shown"), c.shown);
            EXPECT_EQ(ViewValue("timer"), c.timer);
            EXPECT_EQ(Look(), c.look);
            EXPECT_EQ(Pressed(), c.pressed);
            Click(14013);
            ClosePreview();
        });
    }
}

TEST_F(PreviewTest, PlaybackEdges) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    // One frame is drawn and never advances.
    Frames(doc, {{0, 0, 10, 10, 100}});
    Run(34012, [&] {
        Click(14018);
        for (int id : {RUN, FORWARD, BACK, STOPRUN, RESET}) {
            Press(id);
            while (Tick()) {}
            EXPECT_EQ(ViewValue("position"), 0);
            EXPECT_EQ(ViewValue("timer"), -1);
        }
        Click(14013);
        ClosePreview();
    });
    // Delay 0 steps again at the next tick; going on runs at the frames' delays.
    Frames(doc, {{0, 0, 10, 10, 0}, {10, 0, 10, 10, 70}, {20, 0, 10, 10, 30}});
    Run(34012, [&] {
        Click(14018);
        Press(RUN);
        std::vector<std::pair<int, int>> seen;  // shown, timer
        for (int i = 0; i < 4; ++i) {
            Tick();
            seen.push_back({ViewValue("shown"), ViewValue("timer")});
        }
        EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 0}, {1, 70}, {2, 30}, {0, 0}}));
        // Fast backward from 0 shows the last frame next.
        Press(RESET);
        Tick();
        Press(BACK);
        Tick();
        Tick();
        EXPECT_EQ(ViewValue("shown"), 2);
        Click(14013);
        ClosePreview();
    });
}

TEST_F(PreviewTest, SelectingAFrameIsTakenOnlyAfterResetOrAPause) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Frames(doc, {{0, 0, 10, 10, 100}, {0, 0, 0, 0, 100}, {10, 0, 10, 10, 100}, {20, 0, 10, 10, 100}});
    Run(34012, [&] {
        Click(14018);
        SelectFrame(2);  // play mode 0: ignored
        EXPECT_EQ(ViewValue("position"), 0);
        Press(RUN);
        Press(RUN);  // paused
        Tick();
        SelectFrame(3);
        EXPECT_EQ(ViewValue("position"), 2);
        EXPECT_EQ(ViewValue("shown"), 2);
        SelectFrame(1);  // empty: not in the play order
        EXPECT_EQ(ViewValue("position"), 2);
        Press(RUN);
        Tick();
        SelectFrame(0);  // running: ignored
        EXPECT_NE(ViewValue("shown"), 0);
        Press(RESET);
        Tick();
        SelectFrame(2);
        EXPECT_EQ(ViewValue("position"), 1);
        // Through the editor's list as the user selects a row.
        SelectRows({3}, 3);
        Bar(16016)->NotifyControl(14012, framework::Notify::SelChange);
        EXPECT_EQ(ViewValue("position"), 2);
        Click(14013);
        ClosePreview();
    });
}

// The frame `index` as the preview should paint it: placed by the base
// position in the largest frame, zoomed and centred, index 0 and the rest
// white; the largest frame's area cut at `cut` pixels each way.
QImage Expected(QSize client, const std::vector<PackedAnimFrame>& frames, int index, int basePos, int z, int cut,
                int imageW, int imageH, const std::function<int(int, int)>& pixel) {
    int W = 0, H = 0;
    for (const auto& f : frames)
        if (f.width && f.height) W = std::max(W, f.width), H = std::max(H, f.height);
    const PackedAnimFrame& f = frames[size_t(index)];
    const int dx = W - f.width, dy = H - f.height;
    const int ox[9] = {0, dx / 2, dx, 0, dx / 2, dx, 0, dx / 2, dx};
    const int oy[9] = {0, 0, 0, dy / 2, dy / 2, dy / 2, dy, dy, dy};
    const int sw = std::max(client.width(), W * z), sh = std::max(client.height(), H * z);
    const int x0 = (sw - W * z) / 2, y0 = (sh - H * z) / 2;
    QImage out(client, QImage::Format_RGB32);
    out.fill(Qt::white);
    for (int y = 0; y < client.height(); ++y)
        for (int x = 0; x < client.width(); ++x) {
            if (x < x0 || y < y0) continue;
            const int u = (x - x0) / z, v = (y - y0) / z;
            if (u >= std::min(W, cut) || v >= std::min(H, cut)) continue;
            const int fx = u - ox[basePos], fy = v - oy[basePos];
            if (fx < 0 || fy < 0 || fx >= f.width || fy >= f.height) continue;
            const int ix = f.x + fx, iy = f.y + fy;
            if (ix < 0 || iy < 0 || ix >= imageW || iy >= imageH) continue;
            out.setPixel(x, y, Colour(pixel(ix, iy)));
        }
    return out;
}

int Mismatches(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

TEST_F(PreviewTest, PaintsTheFramePlacedAndZoomedOnBothPaths) {
    auto pixel = [](int x, int y) { return (x * 7 + y * 3) % 6; };  // index 0 among the others
    struct Case {
        const char* name;
        int imageW, imageH;
        std::vector<PackedAnimFrame> frames;
        int index;
        int zoom;  // radio 0..5
        QSize size;
    } cases[] = {
        {"z1", 40, 20, {{2, 3, 10, 6, 100}, {0, 0, 32, 16, 100}}, 0, 0, {400, 300}},
        {"z2", 40, 20, {{2, 3, 10, 6, 100}, {0, 0, 32, 16, 100}}, 0, 1, {400, 300}},
        {"z16 scrolled size", 40, 20, {{2, 3, 10, 6, 100}, {0, 0, 32, 16, 100}}, 0, 5, {400, 300}},
        {"half outside", 40, 20, {{30, 10, 20, 20, 100}, {0, 0, 4, 4, 100}}, 0, 1, {400, 300}},
        {"1100 wide", 1200, 12, {{0, 0, 1100, 10, 100}}, 0, 0, {1300, 200}},
    };
    for (bool tiles : {false, true}) {
        qputenv("KAVOLT_PREVIEW_TILES", tiles ? "1" : "0");
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (tiles ? " (tiles)" : " (surface)"));
            CPelmarkDoc* doc = OpenDoc(c.imageW, c.imageH);
            Palette(doc);
            SetLayer(doc, pixel);
            Frames(doc, c.frames);
            Run(34012, [&] {
                Bar(16016)->ClickButton(14036);  // centre
                Click(14018);
                Preview()->resize(c.size);
                PreviewBar(16018)->ClickButton(16016 + c.zoom);
                SelectFrame(c.index);  // mode 0: the first frame stays
                QApplication::processEvents();
                QWidget* viewport = PreviewView()->viewport();
                const int cut = tiles ? 1 << 20 : 1024;
                QImage shot = viewport->grab().toImage();
                EXPECT_EQ(Mismatches(shot, Expected(viewport->size(), c.frames, c.index, 4, kZoomValues[c.zoom], cut,
                                                    c.imageW, c.imageH, pixel)),
                          0);
                Click(14013);
                ClosePreview();
            });
        }
    }
    qunsetenv("KAVOLT_PREVIEW_TILES");
}

TEST_F(PreviewTest, ScrollSizeFollowsTheClientAndTheFrames) {
    CPelmarkDoc* doc = OpenDoc(200, 100);
    Frames(doc, {{0, 0, 50, 40, 100}});
    Run(34012, [&] {
        Click(14018);
        Preview()->resize(400, 300);
        QApplication::processEvents();
        QAbstractScrollArea* view = PreviewView();
        EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);  // client larger
        PreviewBar(16018)->ClickButton(16021);                 // x16: 800 x 640
        QApplication::processEvents();
        EXPECT_EQ(view->horizontalScrollBar()->maximum() + view->viewport()->width(), 800);
        EXPECT_EQ(view->verticalScrollBar()->maximum() + view->viewport()->height(), 640);
        Click(14013);
        ClosePreview();
    });
}

TEST_F(PreviewTest, WindowPlaceIsKeptUnderAnimPos) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Frames(doc, {{0, 0, 10, 10, 100}, {10, 0, 10, 10, 100}});
    app->WriteProfileString(QStringLiteral("Settings"), QStringLiteral("ANIMPOS"), QString());
    Run(34012, [&] {
        Click(14018);
        // Missing: centred over the host's main window.
        const QPoint centre = frame->frameGeometry().center();
        EXPECT_LE((Preview()->geometry().center() - centre).manhattanLength(), 40);
        ClosePreview();  // the editor is open: hidden, nothing written
        EXPECT_FALSE(Preview()->isVisible());
        EXPECT_TRUE(AnimPos().isEmpty());
        Click(14018);
        Preview()->move(120, 90);
        Preview()->resize(333, 222);
        Press(RUN);  // closing for good while playing
        Tick();
        Click(14013);
        EXPECT_TRUE(AnimPos().isEmpty());
        ClosePreview();
    });
    EXPECT_EQ(AnimPos(), "120,90,333,222");
    Run(34027, [&] {
        EXPECT_EQ(Preview()->pos(), QPoint(120, 90));
        EXPECT_EQ(Preview()->size(), QSize(333, 222));
        ClosePreview();
    });
    for (const char* bad : {"1,2,3", "a,b,c,d", "10,20,300,200,5", ""}) {
        SCOPED_TRACE(bad);
        app->WriteProfileString(QStringLiteral("Settings"), QStringLiteral("ANIMPOS"), QString::fromLatin1(bad));
        Run(34027, [&] {
            EXPECT_LE((Preview()->geometry().center() - frame->frameGeometry().center()).manhattanLength(), 40);
            ClosePreview();
        });
    }
}

}  // namespace
}  // namespace hosttest
