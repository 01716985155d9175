// The link and selection-mode palettes in the running frame: their button
// grid, clicks that reach the frame's commands with their status texts and
// button states, the window drag, the choice of a selection mode, and the
// link text dialog.
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "dialogs/link_text_dlg.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame/command_locks.h"
#include "frame_fixture.h"
#include "framework/dialog.h"
#include "imagemap/area_html.h"
#include "imaging/dib_create.h"
#include "palettes/link_palette.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_buttons.h"
#include "palettes/tool_palette.h"
#include "platform/memory.h"
#include "view/pelmark_view.h"
#include "view/view_globals.h"

namespace frametest {
namespace {

class ImageMapFrameTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        link = Frame()->LinkPalette();
        modes = Frame()->SelectModePalette();
        ASSERT_TRUE(link && modes);
        link->show();
    }
    void TearDown() override {
        view::SelectionModeIndex() = 0;
        FrameTest::TearDown();
    }
    CPelmarkDoc* MakeDocument() {
        CPelmarkDoc* d = NewDocument();
        if (!d) return nullptr;
        d->m_hImage = CreateDib8(64, 48, 0);
        EXPECT_TRUE(d->InitDib());
        EXPECT_TRUE(document::CreateLayer(*d, 0, 1));
        return d;
    }
    void Click(ButtonPalette* palette, int button) {
        Frame()->OnIdleUpdateCmdUI();
        QTest::mouseClick(palette, Qt::LeftButton, {}, palette->GetItemRect(button).center());
    }

    CToolRecPalette* link = nullptr;
    CSelectModePalette* modes = nullptr;
};

TEST_F(ImageMapFrameTest, ButtonGridAndHitTest) {
    EXPECT_EQ(link->size(), QSize(2 * 29 + 7, 5 * 26 + 23));
    EXPECT_EQ(modes->size(), QSize(2 * 29 + 7, 2 * 26 + 23));
    EXPECT_EQ(link->GetItemRect(0), QRect(0, 0, 29, 27));
    EXPECT_EQ(link->GetItemRect(3), QRect(29, 26, 29, 27));
    EXPECT_EQ(link->GetItemRect(8), QRect(0, 104, 29, 27));
    struct Case {
        QPoint point;
        int button;
    } cases[] = {
        {{5, 5}, 0},    {{57, 25}, 1},   {{28, 26}, 2},  {{30, 30}, 3},   {{5, 110}, 8},
        {{35, 110}, -1},  // cell 9, past the last button
        {{58, 5}, -1},  {{-1, 5}, -1},   {{5, 131}, -1}, {{5, -1}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(link->HitTest(c.point), c.button) << c.point.x() << "," << c.point.y();
    EXPECT_EQ(link->ToolTip(3), "RECT");
    EXPECT_EQ(link->Prompt(3), "用长方形划定区域");
    EXPECT_EQ(modes->ToolTip(1), "椭圆形");
}

TEST_F(ImageMapFrameTest, LinkButtonsReachTheFrame) {
    // Without a document every image-map button is disabled.
    Frame()->OnIdleUpdateCmdUI();
    for (int i = 0; i < CToolRecPalette::kButtons; ++i) EXPECT_FALSE(link->ButtonAction(i)->isEnabled()) << i;

    CPelmarkDoc* doc = MakeDocument();
    ASSERT_TRUE(doc);
    Click(link, 3);
    EXPECT_EQ(doc->m_nToolId, 625);
    EXPECT_EQ(Frame()->PaneText(1, 0), "连接面板的四边形选择工具");
    EXPECT_EQ(Frame()->PaneText(2, 1), " ");
    Frame()->OnIdleUpdateCmdUI();
    for (int i = 0; i < CToolRecPalette::kButtons; ++i) {
        EXPECT_TRUE(link->ButtonAction(i)->isEnabled()) << i;
        EXPECT_EQ(link->ButtonPressed(i), i == 3) << i;
    }
    Click(link, 1);
    EXPECT_EQ(doc->m_nToolId, 631);
    EXPECT_EQ(Frame()->PaneText(1, 0), "连接面板的移动选择工具");
    EXPECT_EQ(doc->m_nPrevToolId, 625);

    // Lock 0 disables them.
    Frame()->LockToolCommands();
    Frame()->OnIdleUpdateCmdUI();
    EXPECT_FALSE(link->ButtonAction(3)->isEnabled());
    Frame()->ClearCommandLocks();
}

TEST_F(ImageMapFrameTest, TopRowDragsTheWindow) {
    link->move(100, 100);
    const QPoint start = link->pos();
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(10, 0));
    EXPECT_TRUE(link->WindowDragging());
    const QPoint to(60, 40);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(link->mapToGlobal(to)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(link, &move);
    EXPECT_EQ(link->pos(), start);  // only the outline moves
    QTest::mouseRelease(link, Qt::LeftButton, {}, to);
    EXPECT_FALSE(link->WindowDragging());
    EXPECT_EQ(link->pos(), start + QPoint(50, 40));
    EXPECT_TRUE(link->isVisible());
}

TEST_F(ImageMapFrameTest, ChoosingTheEllipseHidesTheModes) {
    ASSERT_TRUE(MakeDocument());
    ASSERT_TRUE(Frame()->SendCommand(551));
    CToolPalette* tools = Frame()->ToolPalette();
    tools->show();
    Frame()->OnIdleUpdateCmdUI();
    // Two presses on the selection button open the modes beside the palette.
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(tools->Client(), Qt::LeftButton, {}, toolpal::ButtonRect(0).center());
    ASSERT_TRUE(modes->isVisible());
    QTest::mouseClick(tools->Client(), Qt::LeftButton, {}, toolpal::ButtonRect(0).center());
    EXPECT_EQ(tools->SelectButtonPresses(), 1);
    EXPECT_TRUE(modes->ButtonPressed(0));

    Click(modes, 1);  // "椭圆形"
    EXPECT_EQ(view::SelectionModeIndex(), 1);
    EXPECT_FALSE(modes->isVisible());
    EXPECT_EQ(tools->ShownImage(0), 24);
    EXPECT_EQ(tools->SelectButtonPresses(), 0);
    EXPECT_TRUE(modes->ButtonPressed(1));
    EXPECT_FALSE(modes->ButtonPressed(0));
    Frame()->OnIdleUpdateCmdUI();
    EXPECT_TRUE(modes->ButtonAction(1)->isChecked());
    EXPECT_TRUE(modes->ButtonAction(3)->isEnabled());
}

TEST_F(ImageMapFrameTest, LinkTextDialogShowsTheAreas) {
    ASSERT_TRUE(MakeDocument());
    CPelmarkView* view = Frame()->GetActivePelmarkView();
    ASSERT_TRUE(view);
    view->Regions().BeginTwoPoint(imagemap::kRectangle, {10, 20});
    view->Regions().MoveSecondPoint({50, 40});
    view->Regions().FinishTwoPoint(0);
    view->Regions().SetUrl(0, "a&b.html");
    QString shown;
    bool readOnly = false;
    {
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            ASSERT_EQ(d.TemplateId(), CLinkTextDlg::kTemplateId);
            shown = d.GetDlgItemText(CLinkTextDlg::kTextId);
            readOnly = d.Item<QPlainTextEdit>(CLinkTextDlg::kTextId)->isReadOnly();
            d.ClickButton(framework::IDOK);
        });
        EXPECT_TRUE(Frame()->SendCommand(634));
    }
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(shown, QStringLiteral("<area\n  shape=rect\n  coords=\"10,20,50,40\"\n  alt=\"HTML\"\n"
                                    "  href=\"a&amp;b.html\">\n"));
    EXPECT_TRUE(BoxTexts().empty());

    // The block is sized to the text and refused past the memory limit.
    CLinkTextDlg dialog;
    ASSERT_TRUE(dialog.BuildAreaHtml(view->Regions()));
    EXPECT_EQ(dialog.AreaHtml(), imagemap::BuildAreaHtml(view->Regions()));
    dialog.FreeAreaHtml();
    MemSetLimit(MemBytesInUse() + 100);
    EXPECT_FALSE(dialog.BuildAreaHtml(view->Regions()));
    MemSetLimit(MEM_NO_LIMIT);
}

}  // namespace
}  // namespace frametest
