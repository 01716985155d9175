// The custom pen dialog: size by slider or typing, shape, preview, and the
// custom pen table it writes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "dialogs/brush_preview.h"
#include "dialogs/brush_size_dlg.h"
#include "platform/message_box_recorder.h"
#include "tools/pen_stamps.h"

namespace {

using framework::Dialog;
using framework::IDOK;
using framework::ScopedModalDriver;

class BrushSizeDlgTest : public testing::Test {
protected:
    void SetUp() override { tools::CustomPens() = tools::kDefaultCustomPens; }
    void TearDown() override { tools::CustomPens() = tools::kDefaultCustomPens; }
};

TEST_F(BrushSizeDlgTest, TheSlotIsThePenIndexFrom18Clamped) {
    const std::pair<int, int> cases[] = {{17, 0}, {18, 0}, {19, 1}, {20, 2}, {21, 2}};
    for (auto [penIndex, slot] : cases) EXPECT_EQ(CBrushSizeDlg::SlotForPenIndex(penIndex), slot) << penIndex;
    tools::CustomPens()[2] = {33, 0};
    CBrushSizeDlg dlg(21);
    ScopedModalDriver driver([&](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "编辑画笔");
        EXPECT_EQ(d.GetDlgItemText(CBrushSizeDlg::kSizeId), "33");
        EXPECT_EQ(d.Item<QSlider>(CBrushSizeDlg::kSliderId)->value(), 33);
        EXPECT_EQ(d.Item<QSlider>(CBrushSizeDlg::kSliderId)->minimum(), 1);
        EXPECT_EQ(d.Item<QSlider>(CBrushSizeDlg::kSliderId)->maximum(), 100);
        EXPECT_EQ(d.IsDlgButtonChecked(CBrushSizeDlg::kRoundId), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(CBrushSizeDlg::kSquareId), 0);
    });
    dlg.DoModal();
}

TEST_F(BrushSizeDlgTest, TakesOneTo100AndRefusesTheRest) {
    struct Case {
        const char* text;
        bool accepted;
    } cases[] = {{"1", true}, {"100", true}, {"0", false}, {"101", false}, {"x", false}};
    platform::MessageBoxRecorder boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        boxes.Clear();
        tools::CustomPens() = tools::kDefaultCustomPens;
        CBrushSizeDlg dlg(19);
        ScopedModalDriver driver([&](Dialog& d) {
            d.SetDlgItemText(CBrushSizeDlg::kSizeId, c.text);
            d.ClickButton(IDOK);
        });
        EXPECT_EQ(dlg.DoModal() == IDOK, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(boxes.Count(), 0u);
            EXPECT_EQ(tools::CustomPens()[1].size, QString(c.text).toInt());
        } else {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Requests()[0].text, "请输入 1～100 的整数值");
            EXPECT_EQ(tools::CustomPens()[1].size, tools::kDefaultCustomPens[1].size);
        }
    }
}

TEST_F(BrushSizeDlgTest, EnterAppliesTheTypedSizeAndASecondEnterCloses) {
    CBrushSizeDlg dlg(18);
    int closedAfter = 0;
    ScopedModalDriver driver([&](Dialog& d) {
        auto* edit = d.Item<QLineEdit>(CBrushSizeDlg::kSizeId);
        auto* slider = d.Item<QSlider>(CBrushSizeDlg::kSliderId);
        auto* brush = static_cast<CBrushSizeDlg*>(&d);
        d.activateWindow();
        d.GotoDlgCtrl(CBrushSizeDlg::kSizeId);
        QApplication::processEvents();
        ASSERT_TRUE(brush->m_bEditing);
        edit->clear();
        QTest::keyClicks(edit, "40");
        QTest::keyClick(edit, Qt::Key_Return);
        ASSERT_TRUE(d.IsModalRunning());
        EXPECT_EQ(slider->value(), 40);
        EXPECT_EQ(brush->Preview()->PenSize(), 40);
        EXPECT_EQ(tools::CustomPens()[0].size, tools::kDefaultCustomPens[0].size);
        QTest::keyClick(edit, Qt::Key_Return);
        closedAfter = d.IsModalRunning() ? 0 : 2;
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(closedAfter, 2);
    EXPECT_EQ(tools::CustomPens()[0].size, 40);
}

TEST_F(BrushSizeDlgTest, SliderAndShapeButtonsSetThePen) {
    CBrushSizeDlg dlg(20);
    ScopedModalDriver driver([&](Dialog& d) {
        auto* brush = static_cast<CBrushSizeDlg*>(&d);
        d.Item<QSlider>(CBrushSizeDlg::kSliderId)->setValue(64);
        EXPECT_EQ(d.GetDlgItemText(CBrushSizeDlg::kSizeId), "64");
        EXPECT_EQ(brush->Preview()->PenSize(), 64);
        d.ClickButton(CBrushSizeDlg::kRoundId);
        EXPECT_EQ(brush->m_nShape, 0);
        EXPECT_EQ(brush->Preview()->PenShape(), 0);
        d.ClickButton(CBrushSizeDlg::kSquareId);
        EXPECT_EQ(brush->m_nShape, 1);
        d.ClickButton(CBrushSizeDlg::kRoundId);
        d.ClickButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(tools::CustomPens()[2].size, 64);
    EXPECT_EQ(tools::CustomPens()[2].shape, 0);
}

// The preview as the midpoint circle method draws it: for each point of
// the first octant, the spans through its eight mirror images.
QImage ReferencePreview(int size, int shape) {
    QImage image(kBrushPreviewSide, kBrushPreviewSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto set = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) image.setPixel(x, y, 0xFF000000u);
    };
    const int c = 50;
    if (shape == 1) {
        for (int y = c - size / 2; y < c - size / 2 + size; ++y)
            for (int x = c - size / 2; x < c - size / 2 + size; ++x) set(x, y);
        return image;
    }
    const int r = (size + 1) / 2;
    for (int x = 0, y = r, d = 1 - r; x <= y; ++x) {
        for (int i = -x; i <= x; ++i) set(c + i, c - y), set(c + i, c + y), set(c - y, c + i), set(c + y, c + i);
        for (int i = -y; i <= y; ++i) set(c + i, c - x), set(c + i, c + x), set(c - x, c + i), set(c + x, c + i);
        if (d < 0) d += 2 * x + 3;
        else d += 2 * (x - y) + 5, --y;
    }
    return image;
}

TEST_F(BrushSizeDlgTest, PreviewDrawsThePenPixelForPixel) {
    // Size 1 and 2 are a radius-1 circle: a plus of five pixels.
    QImage plus = ReferencePreview(1, 0);
    int black = 0;
    for (int y = 0; y < plus.height(); ++y)
        for (int x = 0; x < plus.width(); ++x) black += plus.pixel(x, y) == 0xFF000000u;
    EXPECT_EQ(black, 5);
    EXPECT_EQ(plus.pixel(50, 49), 0xFF000000u);
    EXPECT_EQ(plus.pixel(49, 50), 0xFF000000u);

    const std::pair<int, int> cases[] = {{1, 0}, {2, 0}, {7, 0}, {100, 0}, {5, 1}};
    for (auto [size, shape] : cases) {
        SCOPED_TRACE(testing::Message() << size << (shape ? " square" : " round"));
        tools::CustomPens()[0] = {int16_t(size), uint8_t(shape)};
        CBrushSizeDlg dlg(18);
        QImage shown;
        ScopedModalDriver driver([&](Dialog& d) {
            auto* preview = static_cast<CBrushSizeDlg*>(&d)->Preview();
            EXPECT_GE(preview->width(), kBrushPreviewSide);
            EXPECT_GE(preview->height(), kBrushPreviewSide);
            shown = preview->grab(QRect(0, 0, kBrushPreviewSide, kBrushPreviewSide))
                        .toImage().convertToFormat(QImage::Format_RGB32);
        });
        dlg.DoModal();
        EXPECT_EQ(shown, ReferencePreview(size, shape));
    }
}

}  // namespace
