// The canvas view's image size, the layer sheet through the main frame, and
// saving the display settings, with their undo.
#include "dialogs/image_size_dlg.h"
#include "document/layer_factory.h"
#include "framework/cmd_ui.h"
#include "framework/dialog.h"
#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

class SizeViewTest : public ViewTest {
public:
    CPelmarkView* Open(int w, int h, int layers) {
        CPelmarkView* view = OpenImage(w, h);
        doc = view->GetDocument();
        document::LayerOptions normal;
        normal.drawMode = LAYER_DRAW_NORMAL;
        for (int k = 0; k < layers; ++k) {
            EXPECT_TRUE(document::CreateLayer(*doc, k, 1, normal));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) Px(k, x, y) = uint8_t(PatternIndex(x + k, y));
        }
        doc->m_nEditLayer = 0;
        return view;
    }
    uint8_t& Px(int layer, int x, int y) const {
        auto* p = static_cast<uint8_t*>(MemLock(doc->m_hLayers[size_t(layer)]));
        MemUnlock(doc->m_hLayers[size_t(layer)]);
        return p[LAYER_HEADER_SIZE + size_t(doc->m_nHeight - 1 - y) * dib::LayerRowBytes(doc->m_nWidth) +
                 size_t(x)];
    }
    uint8_t Red(int index) const {
        uint8_t r, g, b, a;
        GetDibPaletteEntry(doc->m_hImage, index, &r, &g, &b, &a);
        return r;
    }
    std::string TopStep() const { return doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label; }
    bool Send(framework::CommandId id) { return frame->SendCommand(id); }

    CPelmarkDoc* doc = nullptr;
};

TEST_F(SizeViewTest, ImageSizeKeepsPixelsAtTheOriginAndUndoes) {
    CPelmarkView* view = Open(8, 6, 2);
    view->ExecuteCommand(view::kZoomFirstId + 2);
    framework::ScopedModalDriver driver([](framework::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CImageSizeDlg::kWidthId), QStringLiteral("8"));
        d.SetDlgItemText(CImageSizeDlg::kWidthId, QStringLiteral("12"));
        d.SetDlgItemText(CImageSizeDlg::kHeightId, QStringLiteral("4"));
        d.ClickButton(framework::IDOK);
    });
    ASSERT_TRUE(frame->QueryCommandState(CPelmarkView::kImageSizeId).IsEnabled());
    ASSERT_TRUE(Send(CPelmarkView::kImageSizeId));
    ASSERT_EQ(doc->m_nWidth, 12);
    ASSERT_EQ(doc->m_nHeight, 4);
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(view->Zoom(), 1);
    EXPECT_EQ(Red(5), 5);  // the palette stays
    EXPECT_EQ(Px(0, 3, 2), PatternIndex(3, 2));
    EXPECT_EQ(Px(1, 7, 3), PatternIndex(8, 3));
    EXPECT_EQ(Px(0, 10, 1), 0);
    EXPECT_EQ(TopStep(), "改变图象尺寸");

    ASSERT_TRUE(Send(framework::ID_EDIT_UNDO));
    ASSERT_EQ(doc->m_nWidth, 8);
    ASSERT_EQ(doc->m_nHeight, 6);
    EXPECT_EQ(Px(0, 3, 5), PatternIndex(3, 5));
    ASSERT_TRUE(Send(framework::ID_EDIT_REDO));
    EXPECT_EQ(doc->m_nWidth, 12);
}

TEST_F(SizeViewTest, ImageSizeCancelOrTheSameSizeChangesNothing) {
    Open(8, 6, 1);
    const int32_t undo = doc->m_nUndoIndex;
    {
        framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDCANCEL); });
        ASSERT_TRUE(Send(CPelmarkView::kImageSizeId));
    }
    {
        framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
        ASSERT_TRUE(Send(CPelmarkView::kImageSizeId));
    }
    EXPECT_EQ(doc->m_nWidth, 8);
    EXPECT_EQ(doc->m_nUndoIndex, undo);
}

TEST_F(SizeViewTest, UndoAfterTheLayerSheetRestoresEveryLayerAndTheSize) {
    CPelmarkView* view = Open(8, 6, 3);
    view->ExecuteCommand(view::kZoomFirstId + 1);
    {
        // The merge dialog is answered with its proposal.
        framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
        doc->OnLayerExpand();
    }
    ASSERT_EQ(doc->m_nLayerCount, 1);
    ASSERT_GT(doc->m_nWidth * doc->m_nHeight, 8 * 6);
    EXPECT_EQ(view->Zoom(), 1);
    EXPECT_EQ(TopStep(), "展开图层");
    ASSERT_TRUE(Send(framework::ID_EDIT_UNDO));
    EXPECT_EQ(doc->m_nWidth, 8);
    EXPECT_EQ(doc->m_nHeight, 6);
    ASSERT_EQ(doc->m_nLayerCount, 3);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(Px(k, 4, 5), PatternIndex(4 + k, 5)) << k;
}

TEST_F(SizeViewTest, SaveSettingsWritesTheGridAndTheShownStates) {
    CPelmarkView* view = Open(8, 8, 1);
    ASSERT_TRUE(Send(CPelmarkView::kSaveSettingsId));
    const QString s = QStringLiteral("Settings");
    EXPECT_EQ(app->GetProfileInt(s, QStringLiteral("GridXsize"), -1), view->MainCellWidth());
    EXPECT_EQ(app->GetProfileInt(s, QStringLiteral("GridYsize"), -1), view->MainCellHeight());
    EXPECT_EQ(app->GetProfileInt(s, QStringLiteral("DispGrid"), -1), view->GridDisplayFlags());
    EXPECT_EQ(app->GetProfileInt(s, QStringLiteral("Snap"), -1), view->SnapFlags());
    for (const char* key : {"DispColorPalette", "DispToolBar", "DispLayerPalette", "DispZyougi"})
        EXPECT_NE(app->GetProfileInt(s, QString::fromLatin1(key), -1), -1) << key;
}

}  // namespace
}  // namespace viewtest
