// The canvas view's edit-mode and alpha commands in the running editor ask
// through their dialogs (136 and 208), worked by control id.
#include <QLineEdit>

#include <vector>

#include "dialogs/alpha_dlg.h"
#include "dialogs/edit_mode_dlg.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/dialog.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "view/pelmark_view.h"

namespace frametest {
namespace {

class EditDialogsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        doc = NewDocument();
        ASSERT_TRUE(doc);
        doc->m_hImage = CreateDib8(8, 6, 0);
        ASSERT_TRUE(doc->InitDib());
    }

    // Runs a command of the active view; `work` drives each dialog that
    // opens. The template ids seen.
    std::vector<int> Run(framework::CommandId id, std::function<void(framework::Dialog&)> work) {
        std::vector<int> seen;
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            seen.push_back(d.TemplateId());
            work(d);
        });
        Frame()->ExecuteCommand(id);
        return seen;
    }

    int Alpha(int entry) {
        uint8_t red, green, blue, alpha;
        GetDibPaletteEntry(doc->m_hImage, entry, &red, &green, &blue, &alpha);
        return alpha;
    }

    CPelmarkDoc* doc = nullptr;
};

TEST_F(EditDialogsTest, AlphaAsksItsDialogAndCancelChangesNothing) {
    const int before = Alpha(3);
    EXPECT_EQ(Run(CPelmarkView::kAlphaId, [](framework::Dialog& d) { d.ClickButton(framework::IDCANCEL); }),
              std::vector<int>{CAlphaDlg::kTemplateId});
    EXPECT_EQ(Alpha(3), before);
    EXPECT_EQ(Run(CPelmarkView::kAlphaId,
                  [](framework::Dialog& d) {
                      d.Item<QLineEdit>(CAlphaDlg::kAlphaId)->setText(QStringLiteral("77"));
                      d.ClickButton(framework::IDOK);
                  }),
              std::vector<int>{CAlphaDlg::kTemplateId});
    EXPECT_EQ(Alpha(3), 77);
}

TEST_F(EditDialogsTest, EditModeAsksItsDialogWithTheDocumentsMode) {
    bool checked256 = false;
    EXPECT_EQ(Run(CPelmarkView::kEditModeId,
                  [&](framework::Dialog& d) {
                      checked256 = d.IsDlgButtonChecked(CEditModeDlg::k256ColorsId);
                      d.ClickButton(framework::IDCANCEL);
                  }),
              std::vector<int>{CEditModeDlg::kTemplateId});
    EXPECT_TRUE(checked256);
    EXPECT_EQ(doc->m_nColorMode, 0);
}

}  // namespace
}  // namespace frametest
