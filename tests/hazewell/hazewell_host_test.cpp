// Hazewell.GLT run by the host from the program directory, its dialog
// driven by control id: the live preview in the layer and the canvas, the
// radius controls, OK and Cancel with their undo steps, the host's masks,
// the start-up failures, and the canvas refresh a plug-in asks for.
#include <cstring>
#include <functional>

#include <QSlider>
#include <QSpinBox>

#include "document/undo_actions.h"
#include "filter_host_fixture.h"
#include "framework/dialog.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/filter_plugins.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"
#include "plugins/kit/kit_layer_rgb.h"  // the RgbBuffer record only

namespace hosttest {
namespace {

using namespace plugin_host;
using framework::Dialog;

constexpr int kWidth = 24, kHeight = 16;
constexpr int kRadiusEdit = 1000, kPreview = 1002, kSpin = 1004, kBar = 3000;

using NewRgbFn = RgbBuffer* (*)(int, int);
using FreeRgbFn = void (*)(RgbBuffer*);
using BlurFn = RgbBuffer* (*)(const RgbBuffer*, int, const uint8_t*, const uint8_t*, const PluginToolRecord*);

class HazewellTest : public FilterHostTest {
protected:
    HazewellTest() : FilterHostTest(QStringLiteral(HAZEWELL_PATH), "Hazewell.GLT") {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FilterHostTest::SetUp());
        ASSERT_TRUE(probe) << ModLastError();
        OpenDocument(kWidth, kHeight);
        original = LayerPixels();
    }

    // The original layer blurred with the radius over the selection (null:
    // everything) and written back: the grey table gives each value its index.
    Pixels Blurred(int radius, const uint8_t* selection = nullptr) {
        auto newRgb = probe.symbol<NewRgbFn>("ProbeNewRgb");
        auto freeRgb = probe.symbol<FreeRgbFn>("ProbeFreeRgb");
        auto blur = probe.symbol<BlurFn>("ProbeBlur");
        RgbBuffer* in = newRgb(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) std::memset(in->data + y * in->stride + 3 * x, original[size_t(y * kWidth + x)], 3);
        RgbBuffer* out = blur(in, radius, nullptr, selection, nullptr);
        Pixels p = original;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                int top = kHeight - 1 - y;
                if (selection && !((selection[top * ((kWidth + 7) / 8) + x / 8] >> (7 - x % 8)) & 1)) continue;
                p[size_t(y * kWidth + x)] = out->data[y * out->stride + 3 * x];
            }
        freeRgb(out);
        freeRgb(in);
        return p;
    }

    // Runs 滤镜 > 模糊 on the document with an earlier step in its history.
    void RunFilter(const std::function<void(Dialog&)>& drive) {
        ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
        doc->SetModified(false);
        framework::ScopedModalDriver driver([&](Dialog& d) {
            EXPECT_EQ(d.TemplateId(), 1000);
            EXPECT_EQ(d.windowTitle(), QString("模糊"));
            drive(d);
        });
        ASSERT_EQ(FindFilterPlugins(), 1);
        OnFilterCommand(doc, kFirstFilterCommand);
        EXPECT_FALSE(ToolRecordHeld());
    }

    Pixels original;
    platform::Module probe{HAZEWELL_PROBE};
};

TEST_F(HazewellTest, FilterMenuListsTheBlur) {
    ASSERT_EQ(FindFilterPlugins(), 1);
    EXPECT_EQ(FilterNames().at(0), QString("模糊  "));
    EXPECT_EQ(FilterTable().at(0), "模糊  /*.BMP;*.DIB/<" + (ProgramDir() + "Hazewell.GLT").toStdString() + ">/");
}

TEST_F(HazewellTest, PreviewFollowsTheControlsAndOkKeepsOneUndoStep) {
    RunFilter([&](Dialog& d) {
        auto* bar = d.Item<QSlider>(kBar);
        auto* spin = d.Item<QSpinBox>(kSpin);
        ASSERT_TRUE(bar && spin);
        EXPECT_EQ(bar->minimum(), 1);
        EXPECT_EQ(bar->maximum(), 20);
        EXPECT_EQ(d.IsDlgButtonChecked(kPreview), 1);
        // Start-up: radius 1, shown in the layer and on the canvas.
        EXPECT_EQ(d.GetDlgItemText(kRadiusEdit), QString("1"));
        EXPECT_EQ(LayerPixels(), Blurred(1));
        EXPECT_EQ(CompositePixels(), FreshComposite());
        EXPECT_EQ(CompositePixels(), Blurred(1));

        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(d.GetDlgItemText(kRadiusEdit), QString("2"));
        EXPECT_EQ(LayerPixels(), Blurred(2));
        // Dragging the thumb changes nothing until it is let go.
        bar->setSliderDown(true);
        bar->setSliderPosition(6);
        EXPECT_EQ(LayerPixels(), Blurred(2));
        bar->setSliderDown(false);
        EXPECT_EQ(d.GetDlgItemText(kRadiusEdit), QString("6"));
        EXPECT_EQ(LayerPixels(), Blurred(6));
        EXPECT_EQ(CompositePixels(), Blurred(6));
        spin->stepBy(1);
        EXPECT_EQ(d.GetDlgItemText(kRadiusEdit), QString("7"));
        EXPECT_EQ(bar->value(), 7);
        EXPECT_EQ(LayerPixels(), Blurred(7));

        d.ClickButton(kPreview);  // off: the untouched layer
        EXPECT_EQ(LayerPixels(), original);
        EXPECT_EQ(CompositePixels(), original);
        d.SetDlgItemText(kRadiusEdit, "12");
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(kPreview);  // on again
        EXPECT_EQ(LayerPixels(), Blurred(12));

        d.SetDlgItemText(kRadiusEdit, "21");
        EXPECT_EQ(d.GetDlgItemText(kRadiusEdit), QString("12"));
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].text, " 请输入 0～20 的整数");
        EXPECT_EQ(boxes.Requests()[0].caption, "数值太大");
        d.SetDlgItemText(kRadiusEdit, "12a");
        EXPECT_EQ(d.GetDlgItemText(kRadiusEdit), QString("12"));
        EXPECT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(bar->value(), 12);
        EXPECT_EQ(LayerPixels(), Blurred(12));
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(LayerPixels(), Blurred(12));
    EXPECT_EQ(CompositePixels(), Blurred(12));
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(HazewellTest, OkWithRadiusZeroKeepsThePixelsButReportsAChange) {
    RunFilter([&](Dialog& d) {
        d.SetDlgItemText(kRadiusEdit, "");  // empty is 0
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(HazewellTest, CancelAndOkWithTheHostsMasks) {
    struct Case {
        const char* name;
        bool empty;  // else the left half of the image
        bool ok;
    };
    for (const Case& c : {Case{"empty mask, OK", true, true}, Case{"empty mask, cancel", true, false},
                          Case{"left half, OK", false, true}, Case{"left half, cancel", false, false}}) {
        SCOPED_TRACE(c.name);
        OpenDocument(kWidth, kHeight);
        original = LayerPixels();
        boxes.Clear();
        SetMask([&](int x, int) { return !c.empty && x < kWidth / 2; });
        const Pixels mask = Mask();
        const Pixels expected = c.empty ? Blurred(5) : Blurred(5, mask.data());
        RunFilter([&](Dialog& d) {
            d.SetDlgItemText(kRadiusEdit, "5");
            EXPECT_EQ(LayerPixels(), expected);
            d.ClickButton(c.ok ? framework::IDOK : framework::IDCANCEL);
        });
        EXPECT_EQ(LayerPixels(), c.ok ? expected : original);
        EXPECT_EQ(CompositePixels(), c.ok ? expected : original);
        EXPECT_EQ(Mask(), mask) << "the host's selection was written";
        EXPECT_EQ(doc->m_nUndoIndex, c.ok ? 1 : 0);
        EXPECT_EQ(doc->IsModified(), c.ok);
        EXPECT_TRUE(BoxTexts().empty());
    }
}

TEST_F(HazewellTest, WithoutALayerTableTheDialogEndsAtOnce) {
    platform::Module library((ProgramDir() + "Hazewell.GLT").toStdString());
    auto importFL = library.symbol<PluginImportFLFn>("ImportFL");
    ASSERT_NE(importFL, nullptr);
    PluginToolRecord record{};
    record.modeless = 7;
    PluginToolInfo info{};
    info.image = doc->m_hImage;
    bool driven = false;
    framework::ScopedModalDriver driver([&](Dialog&) { driven = true; });
    EXPECT_EQ(importFL(frame->WindowHandle(), &record, &info, ""), 1);
    EXPECT_FALSE(driven);
    EXPECT_EQ(record.imageChanged, 0);
    EXPECT_EQ(record.modeless, 0);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "没选择图层");
    EXPECT_EQ(boxes.Requests()[0].caption, "错误");
}

TEST_F(HazewellTest, MemoryShortAtStartUpChangesNothing) {
    ASSERT_EQ(FindFilterPlugins(), 1);
    SelectPlugin(0, FilterPaths().at(0));
    ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
    ASSERT_TRUE(doc->PushUndo(document::kPluginAction, FilterNames().at(0), true));
    doc->SetModified(false);
    bool driven = false;
    framework::ScopedModalDriver driver([&](Dialog&) { driven = true; });
    const size_t blocks = MemBlockCount();
    MemSetLimit(MemBytesInUse());
    EXPECT_EQ(RunToolPlugin(doc, false, false, false), 1);
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_FALSE(driven);
    EXPECT_EQ(MemBlockCount(), blocks);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "内存不足");
    EXPECT_EQ(boxes.Requests()[0].caption, "错误");
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(HazewellTest, RefreshRequestRecomposesTheCanvas) {
    {
        MemLockGuard layer(doc->m_hLayers[0]);
        Row(layer.get(), 3)[4] = 200;
    }
    ASSERT_NE(CompositePixels()[3 * kWidth + 4], 200);
    WinSendMessage(frame->WindowHandle(), WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 1);
    EXPECT_EQ(CompositePixels()[3 * kWidth + 4], 200);
    EXPECT_EQ(CompositePixels(), FreshComposite());

    // Mode 0 also rebuilds the palettes from the image's colour table.
    {
        MemLockGuard image(doc->m_hImage);
        reinterpret_cast<PaletteEntry*>(image.get() + 40)[200] = {10, 20, 30, 0};
    }
    ASSERT_TRUE(doc->m_pPalette);
    EXPECT_NE(doc->m_pPalette->colors[200] & 0xffffff, qRgb(30, 20, 10) & 0xffffff);
    WinSendMessage(frame->WindowHandle(), WM_PLUGIN_STATUS, PLUGIN_STATUS_REFRESH_VIEW, 0);
    ASSERT_TRUE(doc->m_pPalette);
    EXPECT_EQ(doc->m_pPalette->colors[200] & 0xffffff, qRgb(30, 20, 10) & 0xffffff);
    EXPECT_EQ(CompositePixels(), FreshComposite());
}

}  // namespace
}  // namespace hosttest
