// gradate.GLT run by the host through 滤镜 > 渐变色: its modeless dialog driven
// by control id from inside the dialog's own loop (start-up points and
// scale, the zoom buttons, dragging in the direction control, the shape,
// colour-mode and preview controls, the swatches taking the host's colour),
// OK and 取消 with their undo steps and the host's mask, and the messages
// the dialog sends the host.
#include <cstring>
#include <functional>
#include <vector>

#include <QTest>

#include "filter_host_fixture.h"
#include "framework/dialog.h"
#include "imaging/dib_create.h"
#include "platform/module.h"
#include "platform/window.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/filter_plugins.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"
#include "plugins/gradate/gradient.h"  // the GradParam record only

namespace hosttest {
namespace {

using namespace plugin_host;
using framework::Dialog;

constexpr int kStartSwatch = 5000, kEndSwatch = 5001, kLinear = 5002, kCircular = 5003, kTwoColors = 5004,
              kPaletteColors = 5005, kDirection = 5006, kPreview = 5007, kZoomIn = 5008, kZoomOut = 5009,
              kZoomText = 5010;
constexpr uint32_t kCloseMessage = 0x0010;

using NewRgbFn = RgbBuffer* (*)(int, int);
using FreeRgbFn = void (*)(RgbBuffer*);
using InitFn = bool (*)(GradParam*, MemHandle, int, int, int, int, int, int);
using RgbFn = RgbBuffer* (*)(const RgbBuffer*, const GradParam*, int, const uint8_t*);
using IndexFn = bool (*)(MemHandle, MemHandle, MemHandle, const GradParam*, int);

struct Points {
    int sx, sy, ex, ey;
};

class GradateTest : public FilterHostTest {
protected:
    GradateTest() : FilterHostTest(QStringLiteral(GRADATE_PATH), "gradate.GLT") {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FilterHostTest::SetUp());
        ASSERT_TRUE(probe) << ModLastError();
        Open(24, 16);
    }

    // The fixture's grey document; the current colour 200.
    void Open(int w, int h) {
        OpenDocument(w, h);
        doc->m_nColor = 200;
        original = LayerPixels();
        boxes.Clear();
    }

    // The original layer with the gradient from start index 0 to `end` over
    // everything: smooth (the grey table maps each grey to its index) or in
    // two colours.
    Pixels Gradient(Points pt, int shape, bool smooth, int end = 200) {
        GradParam p{};
        EXPECT_TRUE(probe.symbol<InitFn>("ProbeInitGradParam")(&p, doc->m_hImage, 0, end, pt.sx, pt.sy, pt.ex, pt.ey));
        if (!smooth) {
            MemHandle copy = DuplicateGlobal(doc->m_hLayers[0]);
            EXPECT_TRUE(probe.symbol<IndexFn>("ProbeGradientIndex")(doc->m_hImage, doc->m_hLayers[0], copy, &p, shape));
            Pixels result = PixelsOf(copy);
            MemFree(copy);
            return result;
        }
        RgbBuffer* work = probe.symbol<NewRgbFn>("ProbeNewRgb")(width, height);
        RgbBuffer* out = probe.symbol<RgbFn>("ProbeGradientRgb")(work, &p, shape, nullptr);
        Pixels result(size_t(width * height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) result[size_t(y * width + x)] = out->data[y * out->stride + 3 * x];
        probe.symbol<FreeRgbFn>("ProbeFreeRgb")(out);
        probe.symbol<FreeRgbFn>("ProbeFreeRgb")(work);
        return result;
    }

    // Runs 滤镜 > 渐变色 on the document with an earlier step in its history;
    // `drive` works the dialog inside its loop.
    void RunFilter(const std::function<void(Dialog&)>& drive) {
        ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
        doc->SetModified(false);
        bool driven = false;
        framework::ScopedModalDriver driver([&](Dialog& d) {
            driven = true;
            EXPECT_EQ(d.TemplateId(), 5000);
            EXPECT_EQ(d.windowTitle(), QString("渐变色"));
            EXPECT_TRUE(ToolRecordHeld());
            EXPECT_TRUE(d.isVisible());
            drive(d);
        });
        ASSERT_EQ(FindFilterPlugins(), 1);
        OnFilterCommand(doc, kFirstFilterCommand);
        EXPECT_TRUE(driven);
        EXPECT_FALSE(ToolRecordHeld());
    }

    static QWidget* Direction(Dialog& d) { return d.GetDlgItem(kDirection); }
    static double Prop(Dialog& d, const char* name) { return Direction(d)->property(name).toDouble(); }
    static QPoint PointProp(Dialog& d, const char* name) { return Direction(d)->property(name).toPoint(); }
    static Points ImagePoints(Dialog& d) {
        return {int(Prop(d, "startX")), int(Prop(d, "startY")), int(Prop(d, "endX")), int(Prop(d, "endY"))};
    }
    static void Drag(QWidget* w, QPoint from, QPoint to) {
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
    }

    Pixels original;
    platform::Module probe{GRADATE_PROBE};
};

TEST_F(GradateTest, FilterMenuListsTheGradation) {
    ASSERT_EQ(FindFilterPlugins(), 1);
    EXPECT_EQ(FilterNames().at(0), QString("渐变色        "));
    EXPECT_EQ(FilterTable().at(0), "渐变色        /*.BMP;*.DIB/<" + (ProgramDir() + "gradate.GLT").toStdString() + ">/");
}

TEST_F(GradateTest, StartUpPointsAndScaleOnWideAndTallImages) {
    struct Case {
        int w, h;
        double scale, originX, originY;
        Points points;
        const char* zoom;
    };
    // The direction control is 240 x 180.
    for (const Case& c : {Case{640, 100, 3, -40, -220, {160, 75, 480, 25}, "33%"},
                          Case{100, 640, 4, -430, -40, {25, 480, 75, 160}, "25%"},
                          Case{24, 16, 1, -108, -82, {6, 12, 18, 4}, "100%"}}) {
        SCOPED_TRACE(c.w);
        Open(c.w, c.h);
        RunFilter([&](Dialog& d) {
            EXPECT_EQ(Prop(d, "scale"), c.scale);
            EXPECT_EQ(Prop(d, "originX"), c.originX);
            EXPECT_EQ(Prop(d, "originY"), c.originY);
            const Points p = ImagePoints(d);
            EXPECT_EQ(std::vector<int>({p.sx, p.sy, p.ex, p.ey}),
                      std::vector<int>({c.points.sx, c.points.sy, c.points.ex, c.points.ey}));
            // Both points lie on the picture.
            for (const char* name : {"startPoint", "endPoint"})
                EXPECT_TRUE(QRect(0, 0, 240, 180).contains(PointProp(d, name))) << name;
            EXPECT_EQ(d.GetDlgItemText(kZoomText), QString(c.zoom));
            EXPECT_EQ(LayerPixels(), Gradient(c.points, kGradLinear, true));
            d.ClickButton(framework::IDCANCEL);
        });
        EXPECT_EQ(LayerPixels(), original);
    }
}

TEST_F(GradateTest, ZoomButtons) {
    RunFilter([&](Dialog& d) {
        auto centre = [&] {
            return QPointF(120 * Prop(d, "scale") + Prop(d, "originX"), Prop(d, "scale") * 90 + Prop(d, "originY"));
        };
        const QPointF middle = centre();
        d.ClickButton(kZoomIn);
        EXPECT_EQ(Prop(d, "scale"), 0.5);
        EXPECT_EQ(d.GetDlgItemText(kZoomText), QString("200%"));
        EXPECT_EQ(centre(), middle) << "the picture stays centred";
        d.ClickButton(kZoomIn);  // not past 1/2
        EXPECT_EQ(Prop(d, "scale"), 0.5);
        d.ClickButton(kZoomOut);
        EXPECT_EQ(Prop(d, "scale"), 1);
        for (int i = 0; i < 13; ++i) d.ClickButton(kZoomOut);
        EXPECT_EQ(Prop(d, "scale"), 14);
        EXPECT_EQ(d.GetDlgItemText(kZoomText), QString("7%"));
        d.ClickButton(kZoomOut);  // nothing from 14 on
        EXPECT_EQ(Prop(d, "scale"), 14);
        d.ClickButton(kZoomIn);
        EXPECT_EQ(Prop(d, "scale"), 13);
        EXPECT_EQ(centre(), middle);
        // The image points stay; the layer is not made anew.
        const Points p = ImagePoints(d);
        EXPECT_EQ(p.ex, 18);
        EXPECT_EQ(LayerPixels(), Gradient({6, 12, 18, 4}, kGradLinear, true));
        d.ClickButton(framework::IDCANCEL);
    });
}

TEST_F(GradateTest, DraggingAPointRecomputesAndDraggingThePictureMovesTheOrigin) {
    RunFilter([&](Dialog& d) {
        QWidget* control = Direction(d);
        // Scale 1, origin (-108, -82): image (18, 4) is control (126, 94).
        const QPoint end = PointProp(d, "endPoint");
        EXPECT_EQ(end, QPoint(126, 94));
        Drag(control, end + QPoint(1, 1), end + QPoint(5, -1));
        EXPECT_EQ(PointProp(d, "endPoint"), QPoint(130, 92));
        const Points moved = ImagePoints(d);
        EXPECT_EQ(std::vector<int>({moved.sx, moved.sy, moved.ex, moved.ey}), std::vector<int>({6, 12, 22, 6}));
        EXPECT_FALSE(Direction(d)->property("moved").toBool()) << "recomputed";
        const Pixels after = Gradient({6, 12, 22, 6}, kGradLinear, true);
        EXPECT_NE(after, Gradient({6, 12, 18, 4}, kGradLinear, true));
        EXPECT_EQ(LayerPixels(), after);
        EXPECT_EQ(CompositePixels(), after);

        // Away from both points the picture moves; the points stay on their pixels.
        const QPoint start = PointProp(d, "startPoint");
        Drag(control, QPoint(20, 20), QPoint(30, 25));
        EXPECT_EQ(Prop(d, "originX"), -118);
        EXPECT_EQ(Prop(d, "originY"), -77);
        const Points same = ImagePoints(d);
        EXPECT_EQ(std::vector<int>({same.sx, same.sy, same.ex, same.ey}), std::vector<int>({6, 12, 22, 6}));
        EXPECT_EQ(PointProp(d, "startPoint"), start + QPoint(10, 5));
        EXPECT_EQ(LayerPixels(), after);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(LayerPixels(), Gradient({6, 12, 22, 6}, kGradLinear, true));
}

TEST_F(GradateTest, ShapeColourModeSwatchesAndPreview) {
    const Points pt{6, 12, 18, 4};
    RunFilter([&](Dialog& d) {
        EXPECT_EQ(d.GetCheckedRadioButton(kLinear, kCircular), kLinear);
        EXPECT_EQ(d.GetCheckedRadioButton(kTwoColors, kPaletteColors), kPaletteColors);
        EXPECT_EQ(d.IsDlgButtonChecked(kPreview), 1);
        EXPECT_EQ(LayerPixels(), Gradient(pt, kGradLinear, true));
        d.ClickButton(kCircular);
        EXPECT_EQ(LayerPixels(), Gradient(pt, kGradCircular, true));
        d.ClickButton(kTwoColors);
        EXPECT_EQ(LayerPixels(), Gradient(pt, kGradCircular, false));
        EXPECT_EQ(CompositePixels(), Gradient(pt, kGradCircular, false));
        // The swatch takes the host's current colour.
        doc->m_nColor = 50;
        d.ClickButton(kEndSwatch);
        EXPECT_EQ(LayerPixels(), Gradient(pt, kGradCircular, false, 50));
        d.ClickButton(kPreview);  // off: the untouched layer
        EXPECT_EQ(LayerPixels(), original);
        EXPECT_EQ(CompositePixels(), original);
        d.ClickButton(kLinear);
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(kPreview);
        EXPECT_EQ(LayerPixels(), Gradient(pt, kGradLinear, false, 50));
        d.ClickButton(kStartSwatch);  // start becomes 50 too
        const Pixels flat = LayerPixels();
        EXPECT_TRUE(std::all_of(flat.begin(), flat.end(), [](uint8_t v) { return v == 50; }));
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_EQ(LayerPixels(), original);
}

TEST_F(GradateTest, OkWithoutChangeKeepsTheStepCancelAndCloseLeaveLayerAndMask) {
    struct Case {
        const char* name;
        int end;  // 0 OK, 1 取消, 2 closing the window
    };
    for (const Case& c : {Case{"OK", 0}, Case{"cancel", 1}, Case{"close", 2}}) {
        SCOPED_TRACE(c.name);
        Open(24, 16);
        {
            MemLockGuard mask(doc->m_hMask);
            std::memset(mask.get(), 0, mask.size());  // nothing selected: everything counts
        }
        const Pixels mask = Mask();
        RunFilter([&](Dialog& d) {
            EXPECT_EQ(LayerPixels(), Gradient({6, 12, 18, 4}, kGradLinear, true));
            if (c.end == 0) d.ClickButton(framework::IDOK);
            if (c.end == 1) d.ClickButton(framework::IDCANCEL);
            if (c.end == 2) WinSendMessage(d.WindowHandle(), kCloseMessage, 0, 0);
        });
        EXPECT_EQ(LayerPixels(), c.end == 0 ? Gradient({6, 12, 18, 4}, kGradLinear, true) : original);
        EXPECT_EQ(CompositePixels(), LayerPixels());
        EXPECT_EQ(Mask(), mask) << "the host's selection was written";
        EXPECT_EQ(doc->m_nUndoIndex, c.end == 0 ? 1 : 0);
        EXPECT_EQ(doc->IsModified(), c.end == 0);
        EXPECT_TRUE(BoxTexts().empty());
    }
}

// The host window as the dialog sees it: every message it gets.
struct HostWindow {
    static WinResult Receive(void* context, WinHandle, uint32_t message, WinWParam wparam, WinLParam lparam) {
        static_cast<HostWindow*>(context)->messages.push_back({message, wparam, lparam});
        return 1;
    }
    struct Message {
        uint32_t message;
        WinWParam wparam;
        WinLParam lparam;
    };
    std::vector<uint32_t> Ids() const {
        std::vector<uint32_t> ids;
        for (const Message& m : messages)
            if (m.message != WM_PLUGIN_STATUS) ids.push_back(m.message);
        return ids;
    }
    std::vector<Message> messages;
    WinHandle handle = WinCreate(&Receive, this);
    ~HostWindow() { WinDestroy(handle); }
};

TEST_F(GradateTest, MessagesToTheHost) {
    platform::Module library((ProgramDir() + "gradate.GLT").toStdString());
    auto importFL = library.symbol<PluginImportFLFn>("ImportFL");
    ASSERT_NE(importFL, nullptr);
    int32_t color = 9;
    struct Case {
        const char* name;
        bool layers, mask, ok;
        std::vector<uint32_t> ids;
        std::vector<std::string> boxes;
    };
    for (const Case& c : {Case{"OK", true, true, true, {WM_PLUGIN_MODIFIED, WM_PLUGIN_CLOSED}, {}},
                          Case{"cancel", true, true, false, {WM_PLUGIN_CLOSED}, {}},
                          Case{"no mask", true, false, false, {WM_PLUGIN_CLOSED}, {"没有选择范围"}},
                          Case{"no layer table", false, true, false, {WM_PLUGIN_CLOSED}, {"没有选择图层"}}}) {
        SCOPED_TRACE(c.name);
        boxes.Clear();
        original = LayerPixels();
        HostWindow host;
        PluginToolRecord record{};
        record.layers = c.layers ? doc->m_hLayers.data() : nullptr;
        record.selectionMask = c.mask ? doc->m_hMask : nullptr;
        record.currentColor = &color;
        PluginToolInfo info{};
        info.image = doc->m_hImage;
        WinHandle window = nullptr;
        int32_t modeless = 0;
        framework::ScopedModalDriver driver([&](Dialog& d) {
            window = record.window;
            modeless = record.modeless;
            EXPECT_EQ(window, d.WindowHandle());
            EXPECT_EQ(host.Ids(), std::vector<uint32_t>{});
            // The preview asked the host to recompose.
            ASSERT_FALSE(host.messages.empty());
            EXPECT_EQ(host.messages.back().wparam, WinWParam(PLUGIN_STATUS_REFRESH_VIEW));
            EXPECT_EQ(host.messages.back().lparam, 1);
            d.ClickButton(c.ok ? framework::IDOK : framework::IDCANCEL);
        });
        EXPECT_EQ(importFL(host.handle, &record, &info, ""), 0);
        EXPECT_EQ(host.Ids(), c.ids);
        EXPECT_EQ(record.imageChanged, c.ok ? 1 : 0);
        if (c.layers) {
            EXPECT_NE(window, nullptr);
            EXPECT_EQ(modeless, 1);
        }
        EXPECT_EQ(record.window, nullptr);
        EXPECT_EQ(BoxTexts(), c.boxes);
        if (!c.ok) {
            EXPECT_EQ(LayerPixels(), original);
        }
    }
}

}  // namespace
}  // namespace hosttest
