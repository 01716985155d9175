// The border-line command: its dialog on the active document, the border in
// the current colour as one undo step, and a refused memory probe.
#include "dialogs/border_line_dlg.h"
#include "tools/border_trace.h"
#include "document/floating_tool_ops.h"
#include "document/pelmark_doc.h"
#include "tools/pen_stamps.h"
#include "document/selection_mask_doc.h"
#include "framework/dialog.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

class BorderViewTest : public ViewTest {
public:
    void Open() {
        CPelmarkView* view = NewDocument(24, 24);
        doc = view->GetDocument();
        doc->m_nEditLayer = 0;
        doc->m_nColor = 9;
        document::MaskFillRect(*doc, 8, 8, 16, 16);  // x, y 8..15
        doc->m_rcSelection = {8, 8, 16, 16};
    }
    // Runs 添加边界 with `typed` as width and a position radio; the width the
    // dialog shows after OK.
    QString Run(const QString& typed, int radio) {
        QString shown;
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            EXPECT_EQ(d.GetDlgItemText(CBorderLineDlg::kWidthId), QStringLiteral("1"));
            EXPECT_TRUE(d.IsDlgButtonChecked(CBorderLineDlg::kCentreId));
            d.SetDlgItemText(CBorderLineDlg::kWidthId, typed);
            d.ClickButton(radio);
            d.ClickButton(framework::IDOK);
            shown = d.GetDlgItemText(CBorderLineDlg::kWidthId);
        });
        EXPECT_TRUE(frame->SendCommand(CPelmarkView::kAddBorderId));
        return shown;
    }
    int Px(int x, int y) const { return Layer(*doc, 0, x, y); }
    std::string TopStep() const { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label; }

    CPelmarkDoc* doc = nullptr;
};

TEST_F(BorderViewTest, OutsideWidthThreeDrawsAroundTheSelectionAndUndoes) {
    Open();
    const int before = Px(5, 12);
    ASSERT_NE(before, 9);
    EXPECT_EQ(Run(QStringLiteral("3"), CBorderLineDlg::kOutsideId), QStringLiteral("3"));
    EXPECT_EQ(TopStep(), "放置边界线");
    // Three pixels of colour 9 on each side outside the selection.
    for (int d = 1; d <= 3; ++d) {
        EXPECT_EQ(Px(8 - d, 12), 9) << d;
        EXPECT_EQ(Px(15 + d, 12), 9) << d;
        EXPECT_EQ(Px(12, 8 - d), 9) << d;
        EXPECT_EQ(Px(12, 15 + d), 9) << d;
    }
    EXPECT_NE(Px(4, 12), 9);
    EXPECT_NE(Px(12, 12), 9);
    EXPECT_NE(Px(8, 12), 9);
    ASSERT_TRUE(frame->SendCommand(framework::ID_EDIT_UNDO));
    EXPECT_EQ(Px(5, 12), before);
}

TEST_F(BorderViewTest, WidthsOutsideTheRangeAreShownAndUsedClamped) {
    Open();
    EXPECT_EQ(Run(QStringLiteral("0"), CBorderLineDlg::kInsideId), QStringLiteral("1"));
    // Inside width 1: the selection's own edge pixels, nothing outside.
    EXPECT_EQ(Px(15, 12), 9);
    EXPECT_NE(Px(16, 12), 9);
    EXPECT_EQ(Run(QStringLiteral("-3"), CBorderLineDlg::kCentreId), QStringLiteral("1"));
    EXPECT_EQ(Run(QStringLiteral("101"), CBorderLineDlg::kCentreId), QStringLiteral("100"));
    // The pen stamps are the tool's again once the dialog is gone.
    EXPECT_FALSE(tools::BorderDialog().running);
}

TEST_F(BorderViewTest, RefusedProbeKeepsTheDialogOpenAndDrawsNothing) {
    Open();
    const int32_t undo = doc->m_nUndoIndex;
    const int before = Px(15, 12);
    platform::MessageBoxRecorder boxes({MB_ANSWER_OK});
    bool refusedLeftItOpen = false;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        d.SetDlgItemText(CBorderLineDlg::kWidthId, QStringLiteral("2"));
        d.ClickButton(CBorderLineDlg::kInsideId);
        MemSetLimit(MemBytesInUse());
        d.ClickButton(framework::IDOK);
        MemSetLimit(MEM_NO_LIMIT);
        // Nothing happened: no step, nothing drawn, the width not even read
        // back; the same dialog still takes the next OK.
        refusedLeftItOpen = d.isVisible() && d.result() == 0 && doc->m_nUndoIndex == undo &&
                            Px(15, 12) == before &&
                            d.GetDlgItemText(CBorderLineDlg::kWidthId) == QStringLiteral("2");
        EXPECT_FALSE(boxes.Requests().empty());
        d.ClickButton(framework::IDOK);
    });
    EXPECT_TRUE(frame->SendCommand(CPelmarkView::kAddBorderId));
    EXPECT_TRUE(refusedLeftItOpen);
    // The second OK drew the 2-pixel inside border as one step.
    EXPECT_NE(doc->m_nUndoIndex, undo);
    EXPECT_EQ(Px(15, 12), 9);
    EXPECT_EQ(Px(14, 12), 9);
    EXPECT_NE(Px(13, 12), 9);
}

TEST_F(BorderViewTest, TwoRunsAreTwoSteps) {
    Open();
    const int before = Px(5, 12);
    Run(QStringLiteral("3"), CBorderLineDlg::kOutsideId);
    const int32_t first = doc->m_nUndoIndex;
    Run(QStringLiteral("1"), CBorderLineDlg::kCentreId);
    EXPECT_NE(doc->m_nUndoIndex, first);
    ASSERT_TRUE(frame->SendCommand(framework::ID_EDIT_UNDO));
    EXPECT_EQ(Px(5, 12), 9);
    EXPECT_NE(Px(8, 12), 9);
    ASSERT_TRUE(frame->SendCommand(framework::ID_EDIT_UNDO));
    EXPECT_EQ(Px(5, 12), before);
}

// The tool's own pen (the largest fixed pen here) is not what stamps.
TEST_F(BorderViewTest, TheStampIsTheBordersWhateverPenTheToolHas) {
    Open();
    doc->m_nToolId = tools::kToolPen;
    doc->m_nPenId = tools::kPenRunsLast;
    Run(QStringLiteral("1"), CBorderLineDlg::kInsideId);
    EXPECT_EQ(Px(8, 12), 9);
    EXPECT_NE(Px(9, 12), 9);
    EXPECT_NE(Px(7, 12), 9);
    ASSERT_TRUE(frame->SendCommand(framework::ID_EDIT_UNDO));
    // Width 3 inside: three pixels from the left edge inwards.
    Run(QStringLiteral("3"), CBorderLineDlg::kInsideId);
    for (int x = 8; x <= 10; ++x) EXPECT_EQ(Px(x, 12), 9) << x;
    EXPECT_NE(Px(11, 12), 9);
    EXPECT_NE(Px(7, 12), 9);
}

TEST_F(BorderViewTest, AMoveAfterwardsCarriesTheBorder) {
    Open();
    Run(QStringLiteral("1"), CBorderLineDlg::kInsideId);
    ASSERT_EQ(Px(8, 12), 9);
    document::ClearSourceOnFirstMove(*doc);
    document::MoveFloatingBy(*doc, 3, 0, false);
    // The selection's edge pixels, border and all, now lie 3 to the right.
    EXPECT_EQ(Px(11, 12), 9);
    EXPECT_EQ(Px(18, 12), 9);
    EXPECT_EQ(Px(12, 8), 9);
}

}  // namespace
}  // namespace viewtest
