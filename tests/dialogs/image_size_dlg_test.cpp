// The image-size dialog: two sizes within the maximum image size.
#include <gtest/gtest.h>

#include "dialogs/image_size_dlg.h"
#include "document/image_limits.h"
#include "platform/message_box_recorder.h"

namespace {

TEST(ImageSizeDlg, OpensWithItsSizeAndChecksTheRange) {
    struct Case {
        int mapTool;
        const char* width;
        const char* height;
        bool accepted;
    };
    const Case cases[] = {
        {0, "2048", "1", true},   {0, "2049", "1", false}, {0, "1", "0", false},
        {1, "4096", "4096", true}, {1, "1", "4097", false}, {0, "-5", "1", false},
    };
    platform::MessageBoxRecorder boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        SetMapToolSetting(c.mapTool);
        boxes.Clear();
        CImageSizeDlg dlg;
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            EXPECT_EQ(d.windowTitle(), "改变图象尺寸");
            EXPECT_EQ(d.GetDlgItemText(CImageSizeDlg::kWidthId), "512");
            EXPECT_EQ(d.GetDlgItemText(CImageSizeDlg::kHeightId), "384");
            d.SetDlgItemText(CImageSizeDlg::kWidthId, c.width);
            d.SetDlgItemText(CImageSizeDlg::kHeightId, c.height);
            d.ClickButton(framework::IDOK);
        });
        int result = dlg.DoModal();
        EXPECT_EQ(result == framework::IDOK, c.accepted);
        EXPECT_EQ(boxes.Count(), c.accepted ? 0u : 1u);
        if (c.accepted) {
            EXPECT_EQ(dlg.m_nWidth, QString(c.width).toUInt());
            EXPECT_EQ(dlg.m_nHeight, QString(c.height).toUInt());
        }
    }
    SetMapToolSetting(0);
}

}  // namespace
