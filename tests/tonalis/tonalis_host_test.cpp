// Tonalis.so run by the host from the program directory through 图像 >
// 改变色调 and 反转色调: the dialog driven by control id (the preview in the
// layer, in the palette and on the canvas, the edits and their ranges, OK and
// キャンセル with their undo steps, the host's masks) and the negative.
#include <functional>
#include <vector>

#include <QSlider>
#include <QSpinBox>

#include "document/undo_actions.h"
#include "filter_host_fixture.h"
#include "framework/dialog.h"
#include "imaging/dib_create.h"
#include "platform/module.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/tool_runs.h"
#include "plugins/tonalis/tone_adjust.h"  // the DibPaletteCopy record only
#include "tools/pixel_access.h"

namespace hosttest {
namespace {

using Colors = std::vector<uint32_t>;   // 0x00RRGGBB, 256 entries
using framework::Dialog;

constexpr int kWidth = 24, kHeight = 16;
constexpr int kToneCommand = 32855, kNegativeCommand = 32856;
constexpr int kMaster = 11000, kReds = 11001, kGreens = 11003, kColorize = 11007, kPaletteMode = 11008,
              kPreview = 11022;
constexpr int kHueEdit = 11011, kSaturationEdit = 11014, kLightnessEdit = 11015;
constexpr int kHueBar = 11013, kSaturationBar = 11018, kLightnessBar = 11019;
constexpr int kHueSpin = 11024, kSaturationSpin = 11025, kLightnessSpin = 11026;

using ThroughRgbFn = bool (*)(MemHandle, MemHandle*, int, bool, int, int, int, int, const uint8_t*);
using PaletteAdjustFn = void (*)(DibPaletteCopy*, int, int, int, int);

// A palette of varied hues, none repeated.
PaletteEntry Colorful(int i) { return {uint8_t(i * 151 % 256), uint8_t(i * 97 % 256), uint8_t(i * 53 % 256), 0}; }

class TonalisTest : public FilterHostTest {
protected:
    TonalisTest() : FilterHostTest(QStringLiteral(TONALIS_PATH), "Tonalis.so") {}

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(FilterHostTest::SetUp());
        ASSERT_TRUE(probe) << ModLastError();
        Open(Colorful);
    }
    void TearDown() override {
        MemFree(originalLayer);
        FilterHostTest::TearDown();
    }

    // The fixture's document over the palette.
    void Open(const std::function<PaletteEntry(int)>& palette) {
        OpenDocument(kWidth, kHeight, palette);
        MemFree(originalLayer);
        originalLayer = DuplicateGlobal(doc->m_hLayers[0]);
        original = LayerPixels();
        originalColors = ImageColors();
        boxes.Clear();
    }

    Colors ImageColors() const {
        MemLockGuard image(doc->m_hImage);
        const auto* table = reinterpret_cast<const PaletteEntry*>(image.get() + 40);
        Colors c;
        for (int i = 0; i < 256; ++i) c.push_back(qRgb(table[i].red, table[i].green, table[i].blue) & 0xffffff);
        return c;
    }
    // The colours the document shows (its palette, rebuilt by the host).
    Colors ShownColors() const {
        Colors c;
        if (!doc->m_pPalette) return c;
        for (int i = 0; i < 256; ++i) c.push_back(doc->m_pPalette->colors[size_t(i)] & 0xffffff);
        return c;
    }

    // The original layer taken through the work image: converted, adjusted
    // (or inverted) pixel by pixel and written back over the selection (null:
    // everything), with the original palette.
    Pixels ThroughRgb(bool invert, int hue, int saturation, int lightness, int band, const uint8_t* selection = nullptr) {
        MemHandle image = CreateDib8(kWidth, kHeight, 0);
        {
            MemLockGuard lock(image);
            auto* table = reinterpret_cast<PaletteEntry*>(lock.get() + 40);
            for (int i = 0; i < 256; ++i)
                table[i] = {uint8_t(originalColors[size_t(i)]), uint8_t(originalColors[size_t(i)] >> 8),
                            uint8_t(originalColors[size_t(i)] >> 16), 0};
        }
        MemHandle layers[101] = {DuplicateGlobal(originalLayer)};
        EXPECT_TRUE(probe.symbol<ThroughRgbFn>("ProbeThroughRgb")(image, layers, 0, invert, hue, saturation,
                                                                    lightness, band, selection));
        Pixels p = PixelsOf(layers[0]);
        MemFree(layers[0]);
        MemFree(image);
        return p;
    }
    Pixels Adjusted(int hue, int saturation, int lightness, int band, const uint8_t* selection = nullptr) {
        return ThroughRgb(false, hue, saturation, lightness, band, selection);
    }
    Colors AdjustedColors(int hue, int saturation, int lightness, int band) {
        DibPaletteCopy copy;
        copy.count = 256;
        for (int i = 0; i < 256; ++i)
            copy.entries[i] = {uint8_t(originalColors[size_t(i)]), uint8_t(originalColors[size_t(i)] >> 8),
                               uint8_t(originalColors[size_t(i)] >> 16), 0};
        probe.symbol<PaletteAdjustFn>("ProbeAdjustPalette")(&copy, hue, saturation, lightness, band);
        Colors c;
        for (int i = 0; i < 256; ++i) c.push_back(qRgb(copy.entries[i].red, copy.entries[i].green, copy.entries[i].blue) & 0xffffff);
        return c;
    }

    // 图像 > 改变色调 on the document with an earlier step in its history.
    void RunTone(const std::function<void(Dialog&)>& drive) {
        ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
        doc->SetModified(false);
        bool driven = false;
        framework::ScopedModalDriver driver([&](Dialog& d) {
            driven = true;
            EXPECT_EQ(d.TemplateId(), 11000);
            EXPECT_EQ(d.windowTitle(), QString("色調変更"));
            drive(d);
        });
        EXPECT_TRUE(frame->ExecuteCommand(kToneCommand));
        EXPECT_TRUE(driven);
        EXPECT_FALSE(plugin_host::ToolRecordHeld());
    }
    void RunNegative() {
        ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
        doc->SetModified(false);
        EXPECT_TRUE(frame->ExecuteCommand(kNegativeCommand));
    }

    MemHandle originalLayer = nullptr;
    Pixels original;
    Colors originalColors;
    platform::Module probe{TONALIS_PROBE};
};

TEST_F(TonalisTest, DialogStartsOnTheNormalSetWithPreview) {
    RunTone([&](Dialog& d) {
        const char* texts[] = {"マスター", "赤系", "黄色系", "緑系", "シアン系", "青系", "マゼンタ系", "色彩統一"};
        for (int i = 0; i < 8; ++i) EXPECT_EQ(d.GetDlgItemText(11000 + i), QString(texts[i]));
        EXPECT_EQ(d.GetDlgItemText(kPaletteMode), QString("カラーパレットごと変更する"));
        EXPECT_EQ(d.GetDlgItemText(kPreview), QString("プレビュー"));
        EXPECT_EQ(d.GetDlgItemText(framework::IDOK), QString("OK"));
        EXPECT_EQ(d.GetDlgItemText(framework::IDCANCEL), QString("キャンセル"));
        EXPECT_EQ(d.GetCheckedRadioButton(11000, 11007), kMaster);
        EXPECT_EQ(d.IsDlgButtonChecked(kPreview), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(kPaletteMode), 0);
        struct RowControls {
            int edit, spin, bar, min, max;
        };
        for (const RowControls& r : {RowControls{kHueEdit, kHueSpin, kHueBar, -180, 180},
                                     RowControls{kSaturationEdit, kSaturationSpin, kSaturationBar, -100, 100},
                                     RowControls{kLightnessEdit, kLightnessSpin, kLightnessBar, -100, 100}}) {
            EXPECT_EQ(d.GetDlgItemText(r.edit), QString("0"));
            ASSERT_TRUE(d.Item<QSlider>(r.bar) && d.Item<QSpinBox>(r.spin));
            EXPECT_EQ(d.Item<QSlider>(r.bar)->minimum(), r.min);
            EXPECT_EQ(d.Item<QSlider>(r.bar)->maximum(), r.max);
            EXPECT_EQ(d.Item<QSpinBox>(r.spin)->minimum(), r.min);
            EXPECT_EQ(d.Item<QSpinBox>(r.spin)->maximum(), r.max);
            EXPECT_EQ(d.Item<QSlider>(r.bar)->value(), 0);
        }
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(framework::IDCANCEL);
    });
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_FALSE(doc->IsModified());
    // The document's selection is empty, not missing: no message.
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(TonalisTest, PixelPreviewFollowsTheControlsAndOkKeepsOneUndoStep) {
    RunTone([&](Dialog& d) {
        d.ClickButton(kReds);
        d.SetDlgItemText(kHueEdit, "120");
        EXPECT_EQ(d.Item<QSlider>(kHueBar)->value(), 120);
        EXPECT_EQ(d.Item<QSpinBox>(kHueSpin)->value(), 120);
        EXPECT_EQ(LayerPixels(), Adjusted(120, 0, 0, 1));
        EXPECT_NE(LayerPixels(), original);
        EXPECT_EQ(CompositePixels(), FreshComposite());
        EXPECT_EQ(CompositePixels(), LayerPixels());
        EXPECT_EQ(ImageColors(), originalColors);

        // A dragged trackbar is followed at once.
        auto* bar = d.Item<QSlider>(kSaturationBar);
        bar->setSliderDown(true);
        bar->setSliderPosition(-40);
        EXPECT_EQ(d.GetDlgItemText(kSaturationEdit), QString("-40"));
        EXPECT_EQ(d.Item<QSpinBox>(kSaturationSpin)->value(), -40);
        EXPECT_EQ(LayerPixels(), Adjusted(120, -40, 0, 1));
        bar->setSliderDown(false);
        d.Item<QSpinBox>(kLightnessSpin)->stepBy(15);
        EXPECT_EQ(d.GetDlgItemText(kLightnessEdit), QString("15"));
        EXPECT_EQ(d.Item<QSlider>(kLightnessBar)->value(), 15);
        EXPECT_EQ(LayerPixels(), Adjusted(120, -40, 15, 1));
        d.ClickButton(kGreens);
        EXPECT_EQ(LayerPixels(), Adjusted(120, -40, 15, 3));
        d.ClickButton(kMaster);
        EXPECT_EQ(LayerPixels(), Adjusted(120, -40, 15, 0));
        EXPECT_EQ(CompositePixels(), LayerPixels());

        d.ClickButton(kPreview);  // off: the untouched layer
        EXPECT_EQ(LayerPixels(), original);
        EXPECT_EQ(CompositePixels(), original);
        d.SetDlgItemText(kHueEdit, "-30");
        EXPECT_EQ(LayerPixels(), original);
        d.ClickButton(framework::IDOK);  // applied with the preview off
    });
    const Pixels expected = Adjusted(-30, -40, 15, 0);
    EXPECT_EQ(LayerPixels(), expected);
    EXPECT_EQ(CompositePixels(), expected);
    EXPECT_EQ(ImageColors(), originalColors);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(TonalisTest, ColorizeUsesItsOwnSetAndRanges) {
    RunTone([&](Dialog& d) {
        d.SetDlgItemText(kSaturationEdit, "-20");  // the normal set
        d.ClickButton(kColorize);
        EXPECT_EQ(d.GetDlgItemText(kHueEdit), QString("120"));
        EXPECT_EQ(d.GetDlgItemText(kSaturationEdit), QString("25"));
        EXPECT_EQ(d.GetDlgItemText(kLightnessEdit), QString("0"));
        EXPECT_EQ(d.Item<QSlider>(kHueBar)->minimum(), 0);
        EXPECT_EQ(d.Item<QSlider>(kHueBar)->maximum(), 360);
        EXPECT_EQ(d.Item<QSpinBox>(kHueSpin)->maximum(), 360);
        EXPECT_EQ(d.Item<QSlider>(kSaturationBar)->minimum(), 0);
        EXPECT_EQ(d.Item<QSlider>(kSaturationBar)->maximum(), 100);
        EXPECT_EQ(d.Item<QSlider>(kLightnessBar)->minimum(), -100);
        EXPECT_EQ(d.Item<QSlider>(kHueBar)->value(), 120);
        EXPECT_EQ(LayerPixels(), Adjusted(120, 25, 0, -1));
        d.SetDlgItemText(kHueEdit, "360");
        EXPECT_EQ(LayerPixels(), Adjusted(360, 25, 0, -1));

        d.ClickButton(kReds);  // back to the normal set and ranges
        EXPECT_EQ(d.GetDlgItemText(kHueEdit), QString("0"));
        EXPECT_EQ(d.GetDlgItemText(kSaturationEdit), QString("-20"));
        EXPECT_EQ(d.Item<QSlider>(kHueBar)->minimum(), -180);
        EXPECT_EQ(d.Item<QSlider>(kHueBar)->maximum(), 180);
        EXPECT_EQ(d.Item<QSlider>(kSaturationBar)->minimum(), -100);
        EXPECT_EQ(d.Item<QSlider>(kSaturationBar)->value(), -20);
        EXPECT_EQ(LayerPixels(), Adjusted(0, -20, 0, 1));

        d.ClickButton(kColorize);  // the colourise set was kept
        EXPECT_EQ(d.GetDlgItemText(kHueEdit), QString("360"));
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(LayerPixels(), Adjusted(360, 25, 0, -1));
    EXPECT_EQ(doc->m_nUndoIndex, 1);
}

TEST_F(TonalisTest, OutOfRangeTextsAreRefused) {
    struct Case {
        bool colorize;
        int edit;
        const char* text;
        const char* message;  // null: refused without one, "": accepted
    };
    const std::vector<Case> cases = {
        {false, kHueEdit, "181", " -180～180 の整数を入力して下さい"},
        {false, kHueEdit, "-181", " -180～180 の整数を入力して下さい"},
        {false, kHueEdit, "99999999999", " -180～180 の整数を入力して下さい"},
        {false, kSaturationEdit, "101", " -100～100 の整数を入力して下さい"},
        {false, kLightnessEdit, "-101", " -100～100 の整数を入力して下さい"},
        {false, kHueEdit, "12a", nullptr},
        {false, kHueEdit, "+5", nullptr},
        {false, kHueEdit, "-180", ""},
        {true, kHueEdit, "-5", " 0～360 の整数を入力して下さい"},
        {true, kHueEdit, "361", " 0～360 の整数を入力して下さい"},
        {true, kSaturationEdit, "-1", " 0～100 の整数を入力して下さい"},
        {true, kSaturationEdit, "101", " 0～100 の整数を入力して下さい"},
        {true, kLightnessEdit, "-100", ""},
        {true, kHueEdit, "200", ""},
    };
    RunTone([&](Dialog& d) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            d.ClickButton(c.colorize ? kColorize : kMaster);
            const QString before = d.GetDlgItemText(c.edit);
            const Pixels shown = LayerPixels();
            boxes.Clear();
            d.SetDlgItemText(c.edit, c.text);
            if (c.message && !*c.message) {
                EXPECT_EQ(d.GetDlgItemText(c.edit), QString(c.text));
                EXPECT_TRUE(boxes.Requests().empty());
                continue;
            }
            EXPECT_EQ(d.GetDlgItemText(c.edit), before);
            EXPECT_EQ(LayerPixels(), shown);
            if (!c.message) {
                EXPECT_TRUE(boxes.Requests().empty());
                continue;
            }
            ASSERT_EQ(boxes.Requests().size(), 1u);
            EXPECT_EQ(boxes.Requests()[0].text, c.message);
            EXPECT_EQ(boxes.Requests()[0].caption, "値が範囲を超えています");
        }
        d.ClickButton(framework::IDCANCEL);
    });
    EXPECT_EQ(LayerPixels(), original);
}

TEST_F(TonalisTest, PaletteModeChangesThePaletteNotThePixels) {
    RunTone([&](Dialog& d) {
        d.SetDlgItemText(kHueEdit, "60");
        EXPECT_EQ(LayerPixels(), Adjusted(60, 0, 0, 0));
        d.ClickButton(kPaletteMode);
        EXPECT_EQ(LayerPixels(), original);
        EXPECT_EQ(ImageColors(), AdjustedColors(60, 0, 0, 0));
        EXPECT_EQ(ShownColors(), ImageColors()) << "the document's palette was not rebuilt";
        EXPECT_EQ(CompositePixels(), original);
        d.SetDlgItemText(kLightnessEdit, "-50");
        EXPECT_EQ(ImageColors(), AdjustedColors(60, 0, -50, 0));
        EXPECT_EQ(ShownColors(), ImageColors());
        d.ClickButton(kPreview);  // off: the untouched palette
        EXPECT_EQ(ImageColors(), originalColors);
        EXPECT_EQ(ShownColors(), originalColors);
        d.ClickButton(kPreview);
        EXPECT_EQ(ImageColors(), AdjustedColors(60, 0, -50, 0));
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(ImageColors(), AdjustedColors(60, 0, -50, 0));
    EXPECT_EQ(ShownColors(), ImageColors());
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_EQ(CompositePixels(), original);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    doc->OnEditUndo();
    EXPECT_EQ(ImageColors(), originalColors);
    EXPECT_EQ(ShownColors(), originalColors) << "undo left the adjusted palette on show";
    doc->OnEditRedo();
    EXPECT_EQ(ImageColors(), AdjustedColors(60, 0, -50, 0));
    EXPECT_EQ(ShownColors(), ImageColors());
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(TonalisTest, CancelAfterPreviewsLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        bool leftHalf;  // else the document's empty selection
        bool paletteLast;
    };
    for (const Case& c : {Case{"empty mask, pixel mode last", false, false}, Case{"empty mask, palette mode last", false, true},
                          Case{"left half, pixel mode last", true, false}, Case{"left half, palette mode last", true, true}}) {
        SCOPED_TRACE(c.name);
        Open(Colorful);
        SetMask([&](int x, int) { return c.leftHalf && x < kWidth / 2; });
        const Pixels mask = Mask();
        RunTone([&](Dialog& d) {
            d.SetDlgItemText(kHueEdit, "90");
            d.SetDlgItemText(kSaturationEdit, "30");
            EXPECT_EQ(LayerPixels(), c.leftHalf ? Adjusted(90, 30, 0, 0, mask.data()) : Adjusted(90, 30, 0, 0));
            d.ClickButton(kPaletteMode);
            EXPECT_EQ(ImageColors(), AdjustedColors(90, 30, 0, 0));
            if (!c.paletteLast) {
                d.ClickButton(kPaletteMode);
                EXPECT_EQ(ImageColors(), originalColors);
                EXPECT_NE(LayerPixels(), original);
            }
            d.ClickButton(framework::IDCANCEL);
        });
        EXPECT_EQ(LayerPixels(), original);
        EXPECT_EQ(CompositePixels(), original);
        EXPECT_EQ(ImageColors(), originalColors);
        EXPECT_EQ(ShownColors(), originalColors);
        EXPECT_EQ(Mask(), mask) << "the host's selection was written";
        EXPECT_EQ(doc->m_nUndoIndex, 0);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_TRUE(BoxTexts().empty());
    }
}

TEST_F(TonalisTest, OkInsideTheSelectionOnly) {
    SetMask([](int x, int topRow) { return x >= 5 && x < 17 && topRow < 9; });
    const Pixels mask = Mask();
    RunTone([&](Dialog& d) {
        d.SetDlgItemText(kLightnessEdit, "100");
        d.ClickButton(framework::IDOK);
    });
    const Pixels expected = Adjusted(0, 0, 100, 0, mask.data());
    EXPECT_EQ(LayerPixels(), expected);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool inside = x >= 5 && x < 17 && kHeight - 1 - y < 9;
            if (!inside) {
                EXPECT_EQ(expected[size_t(y * kWidth + x)], original[size_t(y * kWidth + x)]);
            }
        }
    EXPECT_EQ(Mask(), mask);
}

TEST_F(TonalisTest, MemoryShortAtStartUpChangesNothing) {
    plugin_host::SelectToolLibrary(plugin_host::kTonePluginName);
    ASSERT_TRUE(doc->PushUndo(999, "earlier edit", true));
    ASSERT_TRUE(doc->PushUndo(document::kPluginAction, "改变色调", true));
    doc->SetModified(false);
    bool driven = false;
    framework::ScopedModalDriver driver([&](Dialog&) { driven = true; });
    const size_t blocks = MemBlockCount();
    MemSetLimit(MemBytesInUse());
    EXPECT_EQ(plugin_host::RunToolPlugin(doc, false, false, false), 1);
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_FALSE(driven);
    EXPECT_EQ(MemBlockCount(), blocks);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "メモリ不足");
    EXPECT_EQ(boxes.Requests()[0].caption, "error");
    EXPECT_EQ(LayerPixels(), original);
    EXPECT_EQ(ImageColors(), originalColors);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_FALSE(doc->IsModified());
}

// The negative's fixture: six colours none of which has its exact inverse.
PaletteEntry NoInverses(int i) {
    const PaletteEntry colors[] = {{0, 0, 0, 0},       {250, 250, 250, 0}, {0, 0, 200, 0},
                                   {220, 220, 0, 0},   {160, 0, 0, 0},     {60, 230, 230, 0}};
    return i < 6 ? colors[i] : PaletteEntry{0, 0, 0, 0};
}

TEST_F(TonalisTest, NegativeWritesTheNearestEntriesInsideTheSelection) {
    struct Case {
        const char* name;
        bool leftHalf;
    };
    // black -> near white, near white -> black, red <-> cyan, blue <-> yellow.
    const uint8_t nearest[6] = {1, 0, 3, 2, 5, 4};
    for (const Case& c : {Case{"empty mask: everything", false}, Case{"left half", true}}) {
        SCOPED_TRACE(c.name);
        Open(NoInverses);
        {
            MemLockGuard layer(doc->m_hLayers[0]);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) Row(layer.get(), y)[x] = uint8_t((x + y) % 6);
        }
        tools::RecomposeDocument(*doc);
        MemFree(originalLayer);
        originalLayer = DuplicateGlobal(doc->m_hLayers[0]);
        original = LayerPixels();
        SetMask([&](int x, int) { return c.leftHalf && x < kWidth / 2; });
        const Pixels mask = Mask();
        RunNegative();
        Pixels expected = original;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!c.leftHalf || x < kWidth / 2) expected[size_t(y * kWidth + x)] = nearest[(x + y) % 6];
        EXPECT_EQ(LayerPixels(), expected);
        EXPECT_EQ(LayerPixels(), ThroughRgb(true, 0, 0, 0, 0, c.leftHalf ? mask.data() : nullptr));
        EXPECT_EQ(CompositePixels(), expected);
        EXPECT_EQ(Mask(), mask);
        EXPECT_EQ(ImageColors(), originalColors);
        EXPECT_EQ(doc->m_nUndoIndex, 1) << "the negative's step is kept";
        EXPECT_TRUE(doc->IsModified());
        EXPECT_TRUE(BoxTexts().empty());
        doc->OnEditUndo();
        EXPECT_EQ(LayerPixels(), original);
    }
}

TEST_F(TonalisTest, WithoutALayerBothOperationsEndAtOnce) {
    platform::Module library((ProgramDir() + "Tonalis.so").toStdString());
    auto importFL = library.symbol<PluginImportFLFn>("ImportFL");
    auto importFL2 = library.symbol<PluginImportFLFn>("ImportFL2");
    auto getInfo = library.symbol<const char* (*)()>("GetInfo");
    ASSERT_TRUE(importFL && importFL2 && getInfo);
    EXPECT_STREQ(getInfo(), "色調補正/*.BMP;*.DIB");
    bool driven = false;
    framework::ScopedModalDriver driver([&](Dialog&) { driven = true; });
    PluginToolInfo info{};
    info.image = doc->m_hImage;
    for (bool negative : {false, true}) {
        SCOPED_TRACE(negative ? "negative" : "colour tone");
        boxes.Clear();
        PluginToolRecord record{};
        record.modeless = 7;
        EXPECT_EQ((negative ? importFL2 : importFL)(frame->WindowHandle(), &record, &info, ""), negative ? 0 : 1);
        EXPECT_EQ(record.imageChanged, 0);
        EXPECT_EQ(record.modeless, negative ? 7 : 0);
        ASSERT_EQ(boxes.Requests().size(), 1u);
        EXPECT_EQ(boxes.Requests()[0].text, "Layer is not selected");
        EXPECT_EQ(boxes.Requests()[0].caption, "error");
    }
    EXPECT_FALSE(driven);

    // A table without the current layer: the negative ends without a change.
    boxes.Clear();
    MemHandle layers[100] = {};
    PluginToolRecord record{};
    record.layers = layers;
    importFL2(frame->WindowHandle(), &record, &info, "");
    EXPECT_TRUE(boxes.Requests().empty());
    EXPECT_EQ(LayerPixels(), original);

    // Without a selection mask: the message, then everything.
    layers[0] = doc->m_hLayers[0];
    importFL2(frame->WindowHandle(), &record, &info, "");
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "選択範囲未対応");
    EXPECT_EQ(boxes.Requests()[0].caption, "");
    EXPECT_EQ(LayerPixels(), ThroughRgb(true, 0, 0, 0, 0));
}

}  // namespace
}  // namespace hosttest
