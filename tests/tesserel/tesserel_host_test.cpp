// Tesserel.GLT run by the host through 滤镜 > 马塞克, its dialog driven by
// control id: the cell size controls and their ranges, the live preview,
// cells cut by the edges, partly selected cells, the host's masks, OK and
// 取消 with their undo steps.
#include <algorithm>
#include <functional>

#include <QSlider>
#include <QSpinBox>

#include "filter_host_fixture.h"
#include "framework/dialog.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/filter_plugins.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"

namespace hosttest {
namespace {

using namespace plugin_host;
using framework::Dialog;

constexpr int kSide = 10;
constexpr int kEdit = 18000, kSpin = 18001, kPreview = 18002, kBar = 20000;

class TesserelTest : public FilterHostTest {
protected:
    TesserelTest() : FilterHostTest(QStringLiteral(TESSEREL_PATH), "Tesserel.GLT") {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FilterHostTest::SetUp());
        OpenDocument(kSide, kSide);
        original = LayerPixels();
    }

    // The fixture's bottom-up rows turned over: row t counts from the top.
    static Pixels TopDown(const Pixels& bottomUp) {
        Pixels p;
        for (int t = 0; t < kSide; ++t) {
            auto row = bottomUp.begin() + (kSide - 1 - t) * kSide;
            p.insert(p.end(), row, row + kSide);
        }
        return p;
    }
    Pixels LayerPixels() const { return TopDown(FilterHostTest::LayerPixels()); }
    Pixels CompositePixels() const { return TopDown(FilterHostTest::CompositePixels()); }
    // The original's grey value of pixel (x, top-down row t).
    int At(int x, int t) const { return original[size_t(t * kSide + x)]; }

    // Runs 滤镜 > 马塞克 on the document with an earlier step in its history.
    void RunFilter(const std::function<void(Dialog&)>& drive) {
        ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
        doc->SetModified(false);
        framework::ScopedModalDriver driver([&](Dialog& d) {
            EXPECT_EQ(d.TemplateId(), 20000);
            EXPECT_EQ(d.windowTitle(), QString("马赛克"));
            drive(d);
        });
        ASSERT_EQ(FindFilterPlugins(), 1);
        OnFilterCommand(doc, kFirstFilterCommand);
        EXPECT_FALSE(ToolRecordHeld());
    }

    Pixels original;  // top-down
};

TEST_F(TesserelTest, FilterMenuListsTheMosaic) {
    ASSERT_EQ(FindFilterPlugins(), 1);
    EXPECT_EQ(FilterNames().at(0), QString("马塞克  "));
    EXPECT_EQ(FilterTable().at(0), "马塞克  /*.BMP;*.DIB/<" + (ProgramDir() + "Tesserel.GLT").toStdString() + ">/");
}

TEST_F(TesserelTest, CellThreeCutsTheLastColumnAndRowAndOkKeepsIt) {
    // Cells of 3 x 3 from the top-left corner: 0-2, 3-5, 6-8 and 9 alone.
    auto average = [&](int x0, int x1, int t0, int t1) {
        int sum = 0, count = 0;
        for (int t = t0; t <= t1; ++t)
            for (int x = x0; x <= x1; ++x, ++count) sum += At(x, t);
        return uint8_t(sum / count);
    };
    RunFilter([&](Dialog& d) {
        auto* bar = d.Item<QSlider>(kBar);
        auto* spin = d.Item<QSpinBox>(kSpin);
        ASSERT_TRUE(bar && spin);
        EXPECT_EQ(bar->minimum(), 1);
        EXPECT_EQ(bar->maximum(), 100);
        EXPECT_EQ(bar->tickInterval(), 5);
        EXPECT_EQ(spin->minimum(), 1);
        EXPECT_EQ(spin->maximum(), 100);
        EXPECT_EQ(d.GetDlgItemText(kEdit), QString("1"));
        EXPECT_EQ(d.IsDlgButtonChecked(kPreview), 1);
        d.SetDlgItemText(kEdit, "3");
        EXPECT_EQ(bar->value(), 3);
        EXPECT_EQ(spin->value(), 3);
        const Pixels p = LayerPixels();
        for (int t = 0; t < kSide; ++t) {
            const int t0 = t / 3 * 3, t1 = std::min(t0 + 2, kSide - 1);
            for (int x = 0; x < kSide; ++x) {
                const int x0 = x / 3 * 3, x1 = std::min(x0 + 2, kSide - 1);
                EXPECT_EQ(p[size_t(t * kSide + x)], average(x0, x1, t0, t1)) << x << "," << t;
            }
        }
        // The last cells are one pixel: the corner keeps its own value.
        EXPECT_EQ(p[99], At(9, 9));
        EXPECT_EQ(CompositePixels(), p);
        d.ClickButton(framework::IDOK);
    });
    const Pixels kept = LayerPixels();
    EXPECT_NE(kept, original);
    EXPECT_EQ(kept[99], At(9, 9));
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_EQ(LayerPixels(), original);
}

TEST_F(TesserelTest, CellOneChangesNothing) {
    RunFilter([&](Dialog& d) {
        d.SetDlgItemText(kEdit, "4");
        EXPECT_NE(LayerPixels(), original);
        d.Item<QSpinBox>(kSpin)->setValue(1);
        EXPECT_EQ(d.GetDlgItemText(kEdit), QString("1"));
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(LayerPixels(), original);
}

TEST_F(TesserelTest, APartlySelectedCellAveragesAndChangesOnlyItsSelectedPixels) {
    SetMask([](int x, int) { return x < 5; });
    RunFilter([&](Dialog& d) {
        d.SetDlgItemText(kEdit, "3");
        const Pixels p = LayerPixels();
        // The cell of columns 3-5, rows 0-2: only columns 3 and 4 count.
        int sum = 0;
        for (int t = 0; t < 3; ++t) sum += At(3, t) + At(4, t);
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(p[size_t(t * kSide + 3)], sum / 6);
            EXPECT_EQ(p[size_t(t * kSide + 4)], sum / 6);
            EXPECT_EQ(p[size_t(t * kSide + 5)], At(5, t));
        }
        for (int t = 0; t < kSide; ++t)
            for (int x = 5; x < kSide; ++x) EXPECT_EQ(p[size_t(t * kSide + x)], At(x, t));
        d.ClickButton(framework::IDOK);
    });
}

TEST_F(TesserelTest, EmptyMaskTakesEveryPixelAndNoMaskChangesNothing) {
    SetMask([](int, int) { return false; });
    Pixels withEveryPixel;
    RunFilter([&](Dialog& d) {
        d.SetDlgItemText(kEdit, "5");
        withEveryPixel = LayerPixels();
        d.ClickButton(framework::IDCANCEL);
    });
    // 5 x 5 cells over everything: the top-left cell is one colour.
    EXPECT_NE(withEveryPixel, original);
    EXPECT_EQ(std::count(withEveryPixel.begin(), withEveryPixel.begin() + 5, withEveryPixel[0]), 5);
    EXPECT_EQ(LayerPixels(), original);

    platform::Module library((ProgramDir() + "Tesserel.GLT").toStdString());
    auto importFL = library.symbol<PluginImportFLFn>("ImportFL");
    ASSERT_NE(importFL, nullptr);
    PluginToolRecord record{};
    record.layers = doc->m_hLayers.data();
    record.modeless = 7;
    PluginToolInfo info{};
    info.image = doc->m_hImage;
    framework::ScopedModalDriver driver([&](Dialog& d) {
        d.SetDlgItemText(kEdit, "5");
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(importFL(frame->WindowHandle(), &record, &info, ""), 0);
    EXPECT_EQ(record.modeless, 0);
    EXPECT_EQ(record.imageChanged, 1);
    EXPECT_EQ(LayerPixels(), original);
}

TEST_F(TesserelTest, TypedSizesAreClampedAndCancelRestores) {
    RunFilter([&](Dialog& d) {
        auto* bar = d.Item<QSlider>(kBar);
        d.SetDlgItemText(kEdit, "250");
        EXPECT_EQ(d.GetDlgItemText(kEdit), QString("100"));
        EXPECT_EQ(bar->value(), 100);
        EXPECT_EQ(d.Item<QSpinBox>(kSpin)->value(), 100);
        // One cell over the whole image.
        const Pixels p = LayerPixels();
        EXPECT_EQ(std::count(p.begin(), p.end(), p[0]), kSide * kSide);
        d.SetDlgItemText(kEdit, "250");  // at 100 already: shows 100 again
        EXPECT_EQ(d.GetDlgItemText(kEdit), QString("100"));
        d.SetDlgItemText(kEdit, "0");
        EXPECT_EQ(d.GetDlgItemText(kEdit), QString("1"));
        EXPECT_EQ(LayerPixels(), original);
        // The trackbar's thumb changes nothing until it is let go.
        bar->setSliderDown(true);
        bar->setSliderPosition(2);
        EXPECT_EQ(LayerPixels(), original);
        bar->setSliderDown(false);
        EXPECT_EQ(d.GetDlgItemText(kEdit), QString("2"));
        const Pixels two = LayerPixels();
        EXPECT_NE(two, original);
        d.ClickButton(kPreview);  // off: the untouched layer
        EXPECT_EQ(LayerPixels(), original);
        EXPECT_EQ(CompositePixels(), original);
        d.SetDlgItemText(kEdit, "3");
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(kPreview);
        EXPECT_NE(LayerPixels(), two);
        EXPECT_NE(LayerPixels(), original);
        d.ClickButton(framework::IDCANCEL);
    });
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_EQ(CompositePixels(), original);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_FALSE(doc->IsModified());
}

}  // namespace
}  // namespace hosttest
