// The canvas view's edit commands through the frame's command routing: the
// clipboard with the program's own data and other programs' pictures,
// select all, none and invert, snapping of a paste, and their undo.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "document/display_toggles.h"
#include "document/floating_selection.h"
#include "framework/cmd_ui.h"
#include "document/layer_factory.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib_clipboard.h"
#include "imaging/color_reducer.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"
#include "view/copy_memory.h"
#include "view/paste_logic.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

class EditViewTest : public ViewTest {
public:
    CPelmarkView* Open(int w, int h) {
        CPelmarkView* view = OpenImage(w, h);
        doc = view->GetDocument();
        width = w;
        height = h;
        document::LayerOptions normal;
        normal.drawMode = LAYER_DRAW_NORMAL;
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1, normal));
        doc->m_nEditLayer = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Px(x, y) = uint8_t(PatternIndex(x, y));
        view::ClearCopyMemory();
        CPelmarkView::PasteConversionMode() = 0;
        InstallExchangeColorReducer();
        return view;
    }
    void Select(const DibRect& r) {
        document::ClearMask(*doc);
        document::MaskFillRect(*doc, r.left, r.top, r.right, r.bottom);
        document::LiftSelection(*doc, r);
        document::LiftFloatingMask(*doc, r.left, r.top, r.right, r.bottom);
        doc->m_rcFloatTarget = doc->m_rcSelection;
        doc->m_nToolId = 551;
    }
    void TearDown() override {
        MemSetLimit(MEM_NO_LIMIT);
        ClipboardEmpty();
        view::ClearCopyMemory();
        ViewTest::TearDown();
    }
    uint8_t& Px(int x, int y) const {
        auto* p = static_cast<uint8_t*>(MemLock(doc->m_hLayers[0]));
        MemUnlock(doc->m_hLayers[0]);
        return p[LAYER_HEADER_SIZE + size_t(height - 1 - y) * dib::LayerRowBytes(width) + size_t(x)];
    }
    bool Send(framework::CommandId id) { return frame->SendCommand(id); }
    bool Enabled(framework::CommandId id) { return frame->QueryCommandState(id).IsEnabled(); }

    CPelmarkDoc* doc = nullptr;
    int width = 0, height = 0;
};

TEST(PasteLogic, SnapsBackByTheSmallerRemainder) {
    struct Case {
        int v;
        bool main;
        int mainCell;
        bool sub;
        int subCell;
        int expected;
    };
    for (const Case& c : {Case{37, true, 16, false, 8, 32}, Case{21, true, 16, false, 8, 16},
                          Case{37, false, 16, false, 8, 37}, Case{37, true, 16, true, 12, 36}, Case{37, true, 16, true, 10, 32},
                          Case{0, true, 16, true, 16, 0}}) {
        EXPECT_EQ(view::SnapPasteCoordinate(c.v, c.main, c.mainCell, c.sub, c.subCell), c.expected) << c.v;
    }
}

TEST(PasteLogic, NearestColourFirstIndexOnTies) {
    std::array<RgbaEntry, 256> from{};
    from[1] = {200, 10, 10, 0};
    from[2] = {0, 0, 0, 0};
    PaletteEntry to[3] = {{0, 0, 255, 0}, {0, 0, 255, 0}, {0, 0, 0, 0}};  // red, red, black
    auto table = view::PasteColorTable(from, to, 3);
    EXPECT_EQ(table[1], 0);
    EXPECT_EQ(table[2], 2);
}

TEST_F(EditViewTest, CopyOffersOwnBytesPngAndBmp) {
    Open(48, 32);
    Select({3, 4, 40, 25});  // 37 x 21
    ASSERT_TRUE(Enabled(CPelmarkView::kCopyId));
    ASSERT_TRUE(Send(CPelmarkView::kCopyId));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    for (const char* f : {"image/png", "image/bmp", kKavoltDibMime})
        EXPECT_TRUE(data->formats().contains(QString::fromLatin1(f))) << f;
    QByteArray dib;
    ASSERT_TRUE(UnpackOwnClipboardData(data->data(QString::fromLatin1(kKavoltDibMime)), &dib, nullptr));
    // The packed DIB: 37 x 21, the document's 256 entries with their fourth
    // byte, the block's rows.
    const auto* info = reinterpret_cast<const DibInfoHeader*>(dib.constData());
    EXPECT_EQ(info->width, 37);
    EXPECT_EQ(info->height, 21);
    EXPECT_EQ(info->bitCount, 8);
    EXPECT_EQ(uint8_t(dib[40 + 4 * 5 + 3]), 255 - 5);
    const uint8_t* rows = reinterpret_cast<const uint8_t*>(dib.constData()) + 40 + 1024;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(rows[size_t(20 - y) * 40 + size_t(x)], PatternIndex(3 + x, 4 + y));
    QImage png = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG");
    ASSERT_EQ(png.size(), QSize(37, 21));
    EXPECT_EQ(png.pixel(5, 6) | 0xff000000u, EntryColor(PatternIndex(8, 10)) | 0xff000000u);
    QImage bmp = QImage::fromData(data->data(QStringLiteral("image/bmp")), "BMP");
    EXPECT_EQ(bmp.size(), QSize(37, 21));
}

TEST_F(EditViewTest, CopyPasteKeepsEveryColourAndUndoes) {
    CPelmarkView* view = Open(32, 32);
    Select({0, 0, 16, 16});
    ASSERT_TRUE(Send(CPelmarkView::kCopyId));
    // Paste lands at the floating selection's origin; move it first.
    doc->m_rcSelection = {16, 16, 32, 32};
    ASSERT_TRUE(Enabled(CPelmarkView::kPasteId));
    ASSERT_TRUE(Send(CPelmarkView::kPasteId));
    EXPECT_EQ(doc->m_rcSelection.left, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(Px(16 + x, 16 + y), PatternIndex(x, y));
    Send(framework::ID_EDIT_UNDO);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(Px(16 + x, 16 + y), PatternIndex(16 + x, 16 + y));
    (void)view;
}

TEST_F(EditViewTest, PasteLargerThanTheImageIsCutAtTheVisibleTopLeft) {
    Open(8, 6);
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(EntryColor(9));
    QGuiApplication::clipboard()->setImage(picture);
    ASSERT_TRUE(Send(CPelmarkView::kPasteId));
    EXPECT_EQ(doc->m_rcSelection.left, 0);
    EXPECT_EQ(doc->m_rcSelection.top, 0);
    EXPECT_EQ(doc->m_rcSelection.right, 8);
    EXPECT_EQ(doc->m_rcSelection.bottom, 6);
    // Another program's picture takes the nearest document colour.
    EXPECT_EQ(Px(7, 5), 9);
}

TEST_F(EditViewTest, OtherProgramsIndexedPictureMapsToNearestColours) {
    Open(8, 8);
    QImage picture(2, 1, QImage::Format_Indexed8);
    picture.setColorTable({EntryColor(200), EntryColor(3)});
    picture.setPixel(0, 0, 1);
    picture.setPixel(1, 0, 0);
    QGuiApplication::clipboard()->setImage(picture);
    ASSERT_TRUE(Send(CPelmarkView::kPasteId));
    EXPECT_EQ(Px(0, 0), 3);
    EXPECT_EQ(Px(1, 0), 200);
}

TEST_F(EditViewTest, CutAfterARefusedCopyChangesNothing) {
    Open(16, 16);
    Select({2, 2, 10, 10});
    ClipboardEmpty();
    const int32_t undo = doc->m_nUndoIndex;
    MemSetLimit(0);  // the picture cannot be made
    Send(CPelmarkView::kCutId);
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(doc->m_nUndoIndex, undo);
    EXPECT_FALSE(ClipboardHasDib());
    for (int y = 2; y < 10; ++y)
        for (int x = 2; x < 10; ++x) ASSERT_EQ(Px(x, y), PatternIndex(x, y));
}

TEST_F(EditViewTest, CutClearsTheSelectionAndUndoBringsItBack) {
    Open(16, 16);
    Select({2, 2, 10, 10});
    ASSERT_TRUE(Send(CPelmarkView::kCutId));
    EXPECT_TRUE(ClipboardHasOwnDib());
    EXPECT_EQ(Px(5, 5), 0);
    EXPECT_EQ(Px(12, 12), PatternIndex(12, 12));
    Send(framework::ID_EDIT_UNDO);
    EXPECT_EQ(Px(5, 5), PatternIndex(5, 5));
}

TEST_F(EditViewTest, PasteWithoutPictureOpensNoStep) {
    Open(8, 8);
    QGuiApplication::clipboard()->setText(QStringLiteral("words"));
    const int32_t undo = doc->m_nUndoIndex;
    EXPECT_FALSE(Enabled(CPelmarkView::kPasteId));
    CPelmarkView* view = static_cast<CPelmarkView*>(doc->GetViews().front());
    view->OnEditPaste();
    EXPECT_EQ(doc->m_nUndoIndex, undo);
}

TEST_F(EditViewTest, PasteWhoseConversionFailsOpensNoStep) {
    Open(8, 8);
    // An 8-bit header for 4 x 4 with its table but only some of its rows, a
    // header of an impossible depth, and one that claims a huge picture.
    auto header = [](int width, int height, int bits, int bytes) {
        QByteArray dib(bytes, '\0');
        auto* info = reinterpret_cast<DibInfoHeader*>(dib.data());
        info->size = DIB_INFO_HEADER_SIZE;
        info->width = width;
        info->height = height;
        info->planes = 1;
        info->bitCount = uint16_t(bits);
        return dib;
    };
    const QByteArray damaged[] = {
        QByteArray("not a picture"),
        PackOwnClipboardData(header(4, 4, 8, 40 + 1024 + 4), {}),
        PackOwnClipboardData(header(4, 4, 3, 40 + 64), {}),
        PackOwnClipboardData(header(100000, 100000, 8, 40 + 1024 + 16), {}),
        PackOwnClipboardData(header(0, 4, 8, 40 + 1024 + 16), {}),
    };
    CPelmarkView* view = static_cast<CPelmarkView*>(doc->GetViews().front());
    const int32_t undo = doc->m_nUndoIndex;
    for (const QByteArray& bytes : damaged) {
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(kKavoltDibMime), bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        view->OnEditPaste();
        EXPECT_EQ(doc->m_nUndoIndex, undo) << bytes.size();
        EXPECT_FALSE(doc->m_hFloatImage);
    }
    // A picture that cannot be converted for want of memory.
    QImage picture(6, 6, QImage::Format_RGB32);
    picture.fill(EntryColor(4));
    QGuiApplication::clipboard()->setImage(picture);
    MemSetLimit(MemBytesInUse());
    view->OnEditPaste();
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(doc->m_nUndoIndex, undo);
    EXPECT_FALSE(doc->m_hFloatImage);
    EXPECT_EQ(Px(2, 2), PatternIndex(2, 2));
}

TEST_F(EditViewTest, SelectAllNoneInvert) {
    Open(12, 10);
    ASSERT_TRUE(Send(CPelmarkView::kSelectAllId));
    ASSERT_TRUE(doc->m_hFloatImage);
    EXPECT_EQ(doc->m_rcSelection.right, 12);
    EXPECT_EQ(doc->m_rcSelection.bottom, 10);
    ASSERT_TRUE(Send(CPelmarkView::kSelectNoneId));
    EXPECT_FALSE(doc->m_hFloatImage);
    // Everything is selectable afterwards.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(document::TestMaskBit(*doc, doc->m_hMask, x, y), 1);
    Send(framework::ID_EDIT_UNDO);
    EXPECT_TRUE(doc->m_hFloatImage);

    Select({0, 0, 4, 10});
    ASSERT_TRUE(Send(CPelmarkView::kInvertSelectionId));
    EXPECT_EQ(doc->m_rcSelection.left, 4);
    EXPECT_EQ(doc->m_rcSelection.right, 12);
}

TEST_F(EditViewTest, SnappedPasteAtTheScrolledPosition) {
    CPelmarkView* view = Open(64, 64);
    view->ExecuteCommand(CPelmarkView::kMainSnapId);
    ASSERT_EQ(view->SnapFlags() & 1, 1);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(EntryColor(1));
    QGuiApplication::clipboard()->setImage(picture);
    // A floating selection at (37, 21) gives the place.
    Select({37, 21, 40, 24});
    ASSERT_TRUE(Send(CPelmarkView::kPasteId));
    EXPECT_EQ(view->SnapFlags() & 1, 1) << (frame->GetActiveView() == view);
    if (view->MainCellWidth() == 16 && view->MainCellHeight() == 16) {
        EXPECT_EQ(doc->m_rcSelection.left, 32);
        EXPECT_EQ(doc->m_rcSelection.top, 16);
    }
    EXPECT_EQ(doc->m_rcSelection.left % view->MainCellWidth(), 0);
    view->ExecuteCommand(CPelmarkView::kMainSnapId);
}

TEST_F(EditViewTest, ModesAndGridsToggleTheirChecks) {
    CPelmarkView* view = Open(8, 8);
    Send(CPelmarkView::kPasteOpaqueId + 1);
    EXPECT_EQ(document::GetPasteMode(), 1);
    Send(CPelmarkView::kPasteOpaqueId);
    EXPECT_EQ(document::GetPasteMode(), 0);
    Send(CPelmarkView::kConvertNoneId);
    EXPECT_EQ(CPelmarkView::PasteConversionMode(), 1);
    Send(CPelmarkView::kConvertMergeId);
    const int grid = view->GridDisplayFlags();
    Send(CPelmarkView::kSubGridId);
    EXPECT_EQ(view->GridDisplayFlags(), grid ^ 2);
    EXPECT_EQ(app->GetProfileInt(QStringLiteral("Settings"), QStringLiteral("Sub_Grid_Disp"), -1),
              (grid ^ 2) & 2 ? 1 : 0);
    Send(CPelmarkView::kSubGridId);
}

TEST_F(EditViewTest, GuideSwitchesAreOnePairThatANewDocumentSwitchesOff) {
    Open(8, 8);
    ASSERT_TRUE(Send(CPelmarkView::kGuideShownId));
    ASSERT_TRUE(Send(CPelmarkView::kGuideEditId));
    EXPECT_TRUE(GetViewDisplayToggles().guidesShown);
    EXPECT_TRUE(GetViewDisplayToggles().guideEdit);
    EXPECT_TRUE(frame->QueryCommandState(CPelmarkView::kGuideShownId).IsChecked().value_or(false));
    // Guide editing keeps the image size as it is.
    EXPECT_FALSE(Enabled(CPelmarkView::kImageSizeId));
    ASSERT_TRUE(NewDocument(8, 8));
    EXPECT_FALSE(GetViewDisplayToggles().guidesShown);
    EXPECT_FALSE(GetViewDisplayToggles().guideEdit);
    EXPECT_FALSE(frame->QueryCommandState(CPelmarkView::kGuideShownId).IsChecked().value_or(false));
    EXPECT_FALSE(frame->QueryCommandState(CPelmarkView::kGuideEditId).IsChecked().value_or(false));
    EXPECT_TRUE(Enabled(CPelmarkView::kImageSizeId));
}

}  // namespace
}  // namespace viewtest
