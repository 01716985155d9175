// The layer palette in the running editor: its rows, check boxes, selection
// with undo, Shift + click, buttons, details menu and thumbnails, worked
// through the real list widget and the main frame.
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <vector>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/command_action.h"
#include "framework/dialog.h"
#include "framework/view.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/layer_list_box.h"
#include "palettes/layer_list_dlg.h"
#include "tools/pixel_access.h"

namespace frametest {
namespace {

using Pixel = std::function<uint8_t(int x, int y)>;

uint8_t* LayerPixels(MemHandle layer) { return static_cast<uint8_t*>(MemLock(layer)) + LAYER_HEADER_SIZE; }

LayerHeader* HeaderOf(MemHandle layer) { return static_cast<LayerHeader*>(MemLock(layer)); }

void Release(MemHandle layer) { MemUnlock(layer); }

// An underlay picture of width x height at `bits` bits per pixel with rows
// padded to four bytes; pixel (x, y) from the top has blue x, green y, red 200
// (8-bit: index x + y through a table of red i, green 255 - i, blue 3).
MemHandle MakeUnderlay(int width, int height, int bits) {
    const size_t table = bits == 8 ? 1024 : 0;
    const size_t row = dib::PaddedRowBytes(width, bits);
    MemHandle h = MemAlloc(sizeof(DibInfoHeader) + table + row * size_t(height));
    auto* p = static_cast<uint8_t*>(MemLock(h));
    auto* info = reinterpret_cast<DibInfoHeader*>(p);
    *info = DibInfoHeader{};
    info->size = 40;
    info->width = width;
    info->height = height;
    info->planes = 1;
    info->bitCount = uint16_t(bits);
    auto* entries = reinterpret_cast<PaletteEntry*>(p + 40);
    for (size_t i = 0; i < table / 4; ++i) entries[i] = {3, uint8_t(255 - i), uint8_t(i), 0};
    uint8_t* bitsStart = p + 40 + table;
    for (int y = 0; y < height; ++y) {
        uint8_t* r = bitsStart + size_t(height - 1 - y) * row;
        for (int x = 0; x < width; ++x) {
            if (bits == 8) {
                r[x] = uint8_t(x + y);
            } else {
                uint8_t* px = r + size_t(x) * size_t(bits / 8);
                px[0] = uint8_t(x);
                px[1] = uint8_t(y);
                px[2] = 200;
            }
        }
    }
    MemUnlock(h);
    return h;
}

class LayerPaletteTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        palette = Frame()->LayerPalette();
        list = palette->List();
        palette->show();
    }

    // A document of `fills.size()` layers of width x height, layer i filled
    // by fills[i] (y from the top) in draw mode modes[i], all visible; entry
    // i of the palette is red i, green 255 - i, blue (3 i) & 255.
    CPelmarkDoc* StackDocument(int width, int height, std::vector<Pixel> fills, std::vector<int> modes) {
        CPelmarkDoc* doc = NewDocument();
        if (!doc) return nullptr;
        doc->m_hImage = CreateDib8(width, height, 0);
        for (int i = 0; i < 256; ++i)
            SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), uint8_t(255 - i), uint8_t(3 * i), 0);
        EXPECT_TRUE(doc->InitDib());
        const size_t stride = dib::LayerRowBytes(width);
        for (size_t i = 0; i < fills.size(); ++i) {
            EXPECT_TRUE(document::CreateLayer(*doc, int(i), 1));
            uint8_t* bits = LayerPixels(doc->m_hLayers[i]);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) bits[size_t(height - 1 - y) * stride + size_t(x)] = fills[i](x, y);
            Release(doc->m_hLayers[i]);
            HeaderOf(doc->m_hLayers[i])->drawMode = uint8_t(modes[i]);
            Release(doc->m_hLayers[i]);
        }
        doc->m_nEditLayer = 0;
        QCoreApplication::processEvents();
        Frame()->UpdateLayerPalette(doc);
        return doc;
    }
    static Pixel Fill(uint8_t v) {
        return [v](int, int) { return v; };
    }

    std::vector<QString> RowTexts() const {
        std::vector<QString> texts;
        for (int r = 0; r < list->GetCount(); ++r) texts.push_back(list->RowAt(r).text);
        return texts;
    }
    void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->ItemRect(row).center() + QPoint(60, 0));
    }
    void ClickCheck(int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->CheckRect(row).center());
    }
    bool Visible(CPelmarkDoc* doc, int layer) {
        const bool v = HeaderOf(doc->m_hLayers[size_t(layer)])->visible;
        Release(doc->m_hLayers[size_t(layer)]);
        return v;
    }
    static std::vector<uint8_t> Composite(CPelmarkDoc* doc) {
        dib::LockedDib image(doc->m_hImage);
        const uint8_t* bits = image.bits();
        return {bits, bits + dib::LayerRowBytes(image.geo().width) * size_t(image.geo().height)};
    }
    // The composite as it stands, and as RecomposeDocument makes it.
    static std::pair<std::vector<uint8_t>, std::vector<uint8_t>> CompositeAndRecomposed(CPelmarkDoc* doc) {
        std::vector<uint8_t> shown = Composite(doc);
        EXPECT_TRUE(tools::RecomposeDocument(*doc));
        return {shown, Composite(doc)};
    }
    bool ViewEnabled() const {
        framework::View* view = Frame()->GetActiveView();
        return view && view->isEnabled();
    }
    QImage Grab() const { return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRect ThumbRect(int row) const {
        const QRect item = list->ItemRect(row);
        return {item.left() + 17, item.top() + 3, 34, 34};
    }

    CLayerListDlg* palette = nullptr;
    CLayerListBox* list = nullptr;
};

TEST_F(LayerPaletteTest, RowsShowTheLayersTopFirstAndThenTheUnderlay) {
    CPelmarkDoc* doc = StackDocument(8, 6, {Fill(1), Fill(2), Fill(3)}, {0, 1, 1});
    ASSERT_TRUE(doc);
    doc->m_hUnderlay = MakeUnderlay(8, 6, 24);
    doc->m_bHasUnderlay = 1;
    doc->m_bUnderlayCheck = 1;
    HeaderOf(doc->m_hLayers[1])->visible = 0;
    Release(doc->m_hLayers[1]);
    Frame()->UpdateLayerPalette(doc);

    EXPECT_EQ(Frame()->GetLayerPaletteDoc(), doc);
    EXPECT_EQ(RowTexts(), (std::vector<QString>{"　　　　　　　层 002＜背景色：透明＞", "　　　　　　　层 001＜背景色：透明＞",
                                                "　　　　　　　层 000＜标准＞", "　　　　　　　轮廓"}));
    std::vector<int> layers, checks;
    for (int r = 0; r < list->GetCount(); ++r) {
        layers.push_back(list->RowAt(r).layer);
        checks.push_back(list->GetCheck(r));
    }
    EXPECT_EQ(layers, (std::vector<int>{2, 1, 0, -1}));
    EXPECT_EQ(checks, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(Frame()->GetLayerListSel(), 2);

    // Moving the current layer up selects its row.
    doc->OnLayerUp();
    EXPECT_EQ(doc->m_nEditLayer, 1);
    EXPECT_EQ(Frame()->GetLayerListSel(), 1);
    Frame()->SetLayerListSel(0);
    EXPECT_EQ(palette->GetCurSel(), 0);
}

TEST_F(LayerPaletteTest, CheckBoxesHideAndShowLayersAndTheViewFollows) {
    // Layer 0 of 5s, layer 1 (index 0 transparent) of 9s on the left half,
    // layer 2 (normal) of 7s, hidden.
    CPelmarkDoc* doc = StackDocument(6, 4, {Fill(5), [](int x, int) { return uint8_t(x < 3 ? 9 : 0); }, Fill(7)},
                                     {0, 1, 0});
    ASSERT_TRUE(doc);
    HeaderOf(doc->m_hLayers[2])->visible = 0;
    Release(doc->m_hLayers[2]);
    Frame()->UpdateLayerPalette(doc);
    const int undo = doc->m_nUndoIndex;
    auto expected = [](std::function<uint8_t(int)> at) {
        std::vector<uint8_t> out(8 * 4, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) out[size_t(y) * 8 + size_t(x)] = at(x);
        return out;
    };

    // The transparent layer lets layer 0 show through its 0 pixels.
    auto [shown, recomposed] = CompositeAndRecomposed(doc);
    EXPECT_EQ(shown, expected([](int x) { return uint8_t(x < 3 ? 9 : 5); }));
    EXPECT_EQ(shown, recomposed);

    // A normal layer covers everything below.
    ClickCheck(0);
    EXPECT_TRUE(Visible(doc, 2));
    std::tie(shown, recomposed) = CompositeAndRecomposed(doc);
    EXPECT_EQ(shown, expected([](int) { return uint8_t(7); }));
    EXPECT_EQ(shown, recomposed);

    // Check box clicks change no edit layer and open no step.
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(palette->GetCurSel(), 2);
    EXPECT_EQ(doc->m_nUndoIndex, undo);

    // Unticking every layer disables the canvas; ticking one enables it.
    ClickCheck(0);
    ClickCheck(1);
    EXPECT_TRUE(ViewEnabled());
    ClickCheck(2);
    EXPECT_FALSE(Visible(doc, 0));
    EXPECT_FALSE(ViewEnabled());
    std::tie(shown, recomposed) = CompositeAndRecomposed(doc);
    EXPECT_EQ(shown, expected([](int) { return uint8_t(0); }));
    EXPECT_EQ(shown, recomposed);
    ClickCheck(2);
    EXPECT_TRUE(ViewEnabled());
    std::tie(shown, recomposed) = CompositeAndRecomposed(doc);
    EXPECT_EQ(shown, expected([](int) { return uint8_t(5); }));
    EXPECT_EQ(shown, recomposed);
    EXPECT_EQ(doc->m_nUndoIndex, undo);
}

TEST_F(LayerPaletteTest, AClickChoosesTheEditLayerAsOneUndoStep) {
    CPelmarkDoc* doc = StackDocument(4, 4, {Fill(1), Fill(2), Fill(3)}, {1, 1, 1});
    ASSERT_TRUE(doc);
    const int undo = doc->m_nUndoIndex;
    ClickRow(0);
    EXPECT_EQ(doc->m_nEditLayer, 2);
    EXPECT_EQ(doc->m_nUndoIndex, undo + 1);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "改变所选层");
    EXPECT_TRUE(doc->IsModified());
    // The row clicked again changes nothing.
    ClickRow(0);
    EXPECT_EQ(doc->m_nUndoIndex, undo + 1);

    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(palette->GetCurSel(), 2);
}

TEST_F(LayerPaletteTest, ShiftClickExchangesTwoLayersAndKeepsTheEditIndex) {
    CPelmarkDoc* doc = StackDocument(4, 4, {Fill(1), Fill(2), Fill(3)}, {1, 1, 1});
    ASSERT_TRUE(doc);
    const MemHandle before[] = {doc->m_hLayers[0], doc->m_hLayers[1], doc->m_hLayers[2]};
    ClickRow(0, Qt::ShiftModifier);
    EXPECT_EQ(doc->m_hLayers[0], before[2]);
    EXPECT_EQ(doc->m_hLayers[2], before[0]);
    EXPECT_EQ(doc->m_hLayers[1], before[1]);
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(palette->GetCurSel(), 2);
    EXPECT_EQ(RowTexts().front(), "　　　　　　　层 000＜背景色：透明＞");
    EXPECT_EQ(Composite(doc).front(), 1);  // layer "000" is now on top
    // Undo puts them back.
    doc->OnEditUndo();
    EXPECT_EQ(RowTexts().front(), "　　　　　　　层 002＜背景色：透明＞");
    EXPECT_EQ(Composite(doc).front(), 3);
}

TEST_F(LayerPaletteTest, NewGoesAboveTheEditLayerAndCopyOnTop) {
    CPelmarkDoc* doc = StackDocument(4, 4, {Fill(1), Fill(2), Fill(3)}, {1, 1, 1});
    ASSERT_TRUE(doc);
    const MemHandle before[] = {doc->m_hLayers[0], doc->m_hLayers[1], doc->m_hLayers[2]};
    // The new-layer and copy-layer dialogs are confirmed as they open.
    framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
    palette->ClickButton(CLayerListDlg::kNewId);
    ASSERT_EQ(doc->m_nLayerCount, 4);
    EXPECT_EQ(doc->m_hLayers[0], before[0]);
    EXPECT_EQ(doc->m_hLayers[2], before[1]);
    EXPECT_EQ(doc->m_hLayers[3], before[2]);
    EXPECT_EQ(doc->m_nEditLayer, 1);
    EXPECT_EQ(list->GetCount(), 4);
    EXPECT_EQ(palette->GetCurSel(), 2);

    palette->ClickButton(CLayerListDlg::kCopyId);
    ASSERT_EQ(doc->m_nLayerCount, 5);
    EXPECT_EQ(doc->m_nEditLayer, 4);
    EXPECT_EQ(palette->GetCurSel(), 0);
    EXPECT_EQ(RowTexts().front(), "　　　　　　　层 003复制＜背景色：透明＞");
}

TEST_F(LayerPaletteTest, ButtonsAndListFollowTheLocksAndTheAnimationPlugin) {
    CPelmarkDoc* doc = StackDocument(4, 4, {Fill(1)}, {1});
    ASSERT_TRUE(doc);
    const int buttons[] = {CLayerListDlg::kNewId, CLayerListDlg::kCopyId, CLayerListDlg::kDeleteId,
                           CLayerListDlg::kDetailsId};
    auto states = [&] {
        std::vector<bool> out;
        for (int id : buttons) out.push_back(palette->GetDlgItem(id)->isEnabled());
        out.push_back(list->isEnabled());
        return out;
    };
    EXPECT_EQ(states(), (std::vector<bool>{true, true, true, true, true}));
    Frame()->LockLayerCommands();
    Frame()->UpdateLayerPalette(doc);
    EXPECT_EQ(states(), (std::vector<bool>{false, false, false, false, false}));
    Frame()->ClearCommandLocks();
    doc->m_bAnimPluginRunning = 1;
    Frame()->UpdateLayerPalette(doc);
    EXPECT_EQ(states(), (std::vector<bool>{false, false, false, false, true}));
    doc->m_bAnimPluginRunning = 0;
    Frame()->UpdateLayerPalette(nullptr);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(states(), (std::vector<bool>{false, false, false, false, true}));
}

TEST_F(LayerPaletteTest, DeleteByThePalettesRule) {
    struct Case {
        int layers, edit;
        bool underlay;
        int countAfter;
    };
    const Case cases[] = {
        {1, 0, false, 1},  // the only layer stays
        {2, 0, false, 1},  // layer 0 of two goes
        {3, 2, false, 2},
        {2, -1, true, 2},  // the underlay row: the underlay goes
    };
    for (const Case& c : cases) {
        std::vector<Pixel> fills(size_t(c.layers), Fill(4));
        CPelmarkDoc* doc = StackDocument(4, 4, fills, std::vector<int>(size_t(c.layers), 1));
        ASSERT_TRUE(doc);
        if (c.underlay) {
            doc->m_hUnderlay = MakeUnderlay(4, 4, 8);
            doc->m_bHasUnderlay = doc->m_bUnderlayCheck = 1;
            Frame()->UpdateLayerPalette(doc);
            ClickRow(list->GetCount() - 1);
            EXPECT_TRUE(palette->UnderlaySelected());
            Frame()->GetActiveView()->setEnabled(false);
        } else {
            doc->m_nEditLayer = c.edit;
            Frame()->UpdateLayerPalette(doc);
        }
        ASSERT_EQ(doc->m_nEditLayer, c.edit);
        palette->ClickButton(CLayerListDlg::kDeleteId);
        EXPECT_EQ(doc->m_nLayerCount, c.countAfter) << c.layers << " " << c.edit;
        EXPECT_EQ(list->GetCount(), c.countAfter);
        if (c.underlay) {
            EXPECT_FALSE(doc->m_bHasUnderlay || doc->m_hUnderlay);
            EXPECT_EQ(doc->m_nEditLayer, 0);
            EXPECT_EQ(palette->GetCurSel(), c.countAfter - 1);
            EXPECT_TRUE(ViewEnabled());
        } else if (c.countAfter < c.layers) {
            EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "消除层");
        }
        EXPECT_TRUE(BoxTexts().empty());
        doc->SetModified(false);
        doc->OnCloseDocument();
    }
}

TEST_F(LayerPaletteTest, DetailsPopsUpTheLayerMenuForTheFrame) {
    CPelmarkDoc* doc = StackDocument(4, 4, {Fill(1), Fill(2)}, {1, 1});
    ASSERT_TRUE(doc);
    palette->move(10, 10);  // room for the menu on the screen
    palette->ClickButton(CLayerListDlg::kDetailsId);
    QMenu* menu = palette->DetailsMenu();
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), palette->frameGeometry().topRight());
    std::vector<framework::CommandId> ids, disabled;
    std::function<void(QMenu*)> collect = [&](QMenu* m) {
        for (QAction* action : m->actions()) {
            if (action->menu()) collect(action->menu());
            if (framework::CommandId id = framework::CommandIdOf(action)) {
                ids.push_back(id);
                if (!action->isEnabled()) disabled.push_back(id);
            }
        }
    };
    // The submenu takes its states when it opens.
    for (QAction* action : menu->actions())
        if (action->menu()) emit action->menu()->aboutToShow();
    collect(menu);
    EXPECT_EQ(ids, (std::vector<framework::CommandId>{32933, 32862, 32863, 32864, 32942, 32865, 32866, 32867,
                                                      32932, 32868, 32869, 32870}));
    // Layers and no underlay: one may be read from a file, and with the
    // scanner library loaded scanned (32932).
    EXPECT_EQ(disabled, (std::vector<framework::CommandId>{32863, 32864, 32869, 32870}));

    // An item runs its command in the document.
    for (QAction* action : menu->actions())
        if (framework::CommandIdOf(action) == 32866) action->trigger();
    QCoreApplication::processEvents();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(HeaderOf(doc->m_hLayers[size_t(i)])->drawMode, LAYER_DRAW_NORMAL);
        Release(doc->m_hLayers[size_t(i)]);
    }
    EXPECT_EQ(RowTexts().front(), "　　　　　　　层 001＜标准＞");
}

TEST_F(LayerPaletteTest, TheListKeepsItsMarginsWhenResized) {
    palette->resize(250, 400);
    EXPECT_EQ(list->geometry(), QRect(2, 32, 238, 334));
}

TEST_F(LayerPaletteTest, ThumbnailsSampleTheLayerPixels) {
    for (QSize size : {QSize(5, 3), QSize(34, 34), QSize(1000, 20)}) {
        SCOPED_TRACE(size.width());
        CPelmarkDoc* doc =
            StackDocument(size.width(), size.height(),
                          {[](int x, int y) { return uint8_t((x * 7 + y * 13) & 255); }, Fill(0)}, {1, 1});
        ASSERT_TRUE(doc);
        EXPECT_EQ(CLayerListDlg::GetThumbPixel(size.width() - 1, 0, *doc, 0), ((size.width() - 1) * 7) & 255);
        EXPECT_EQ(CLayerListDlg::GetThumbPixel(size.width(), 0, *doc, 0), -1);
        EXPECT_EQ(CLayerListDlg::GetThumbPixel(0, -1, *doc, 0), -1);
        EXPECT_EQ(CLayerListDlg::GetThumbPixel(0, 0, *doc, 5), 0);

        const QImage shot = Grab();
        const QRect thumb = ThumbRect(1);  // layer 0
        EXPECT_EQ(shot.pixel(thumb.topLeft() - QPoint(1, 1)), qRgb(0, 0, 0));
        int wrong = 0;
        for (int j = 0; j < 34; ++j)
            for (int i = 0; i < 34; ++i) {
                const int index =
                    CLayerListDlg::GetThumbPixel(i * size.width() / 34, j * size.height() / 34, *doc, 0);
                const QRgb want = qRgb(index, 255 - index, (3 * index) & 255);
                if (shot.pixel(thumb.left() + i, thumb.top() + j) != want) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        doc->SetModified(false);
        doc->OnCloseDocument();
    }
}

TEST_F(LayerPaletteTest, TheUnderlayRowSamplesTheUnderlayInItsOwnSize) {
    CPelmarkDoc* doc = StackDocument(40, 30, {Fill(1)}, {1});
    ASSERT_TRUE(doc);
    struct Case {
        int width, height, bits;
    };
    for (const Case& c : {Case{7, 5, 24}, Case{90, 3, 32}, Case{5, 60, 8}, Case{7, 5, 16}}) {
        SCOPED_TRACE(c.bits);
        if (doc->m_hUnderlay) MemFree(doc->m_hUnderlay);
        doc->m_hUnderlay = MakeUnderlay(c.width, c.height, c.bits);
        doc->m_bHasUnderlay = doc->m_bUnderlayCheck = 1;
        Frame()->UpdateLayerPalette(doc);
        ASSERT_EQ(list->GetCount(), 2);
        const QImage shot = Grab();
        const QRect thumb = ThumbRect(1);
        int wrong = 0;
        for (int j = 0; j < 34; ++j)
            for (int i = 0; i < 34; ++i) {
                const int x = i * c.width / 34, y = j * c.height / 34;
                QRgb want = qRgb(200, y, x);
                if (c.bits == 8) want = qRgb(x + y, 255 - (x + y), 3);
                if (c.bits == 16) want = qRgb(0, 0, 0);  // nothing drawn
                if (shot.pixel(thumb.left() + i, thumb.top() + j) != want) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(LayerPaletteTest, AClickKeepsTheListWhereItWasScrolled) {
    CPelmarkDoc* doc = StackDocument(4, 4, std::vector<Pixel>(12, Fill(1)), std::vector<int>(12, 1));
    ASSERT_TRUE(doc);
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(100);
    const int row = list->RowAt(QPoint(60, 60));  // a row shown whole
    ClickRow(row);
    EXPECT_EQ(doc->m_nEditLayer, 11 - row);
    EXPECT_EQ(bar->value(), 100);
}

TEST_F(LayerPaletteTest, ThePaletteFollowsTheActiveDocumentAndDropsAClosedOne) {
    CPelmarkDoc* first = StackDocument(4, 4, {Fill(1)}, {1});
    CPelmarkDoc* second = StackDocument(4, 4, {Fill(1), Fill(2)}, {1, 1});
    ASSERT_TRUE(first && second);
    auto* firstChild = first->GetViews().front()->GetParentFrame();
    Frame()->MDIActivate(firstChild);
    QTRY_COMPARE(Frame()->GetLayerPaletteDoc(), first);
    EXPECT_EQ(list->GetCount(), 1);

    // The hidden palette still rebuilds the composite.
    palette->hide();
    LayerPixels(first->m_hLayers[0])[0] = 9;
    Release(first->m_hLayers[0]);
    Frame()->UpdateLayerPalette(first);
    EXPECT_EQ(Composite(first)[0], 9);
    palette->show();

    first->SetModified(false);
    first->OnCloseDocument();
    EXPECT_EQ(Frame()->GetLayerPaletteDoc(), nullptr);
    EXPECT_EQ(list->GetCount(), 0);
    list->viewport()->repaint();
    for (int id : {CLayerListDlg::kNewId, CLayerListDlg::kCopyId, CLayerListDlg::kDeleteId})
        palette->ClickButton(id);
    QTRY_COMPARE(Frame()->GetLayerPaletteDoc(), second);
    EXPECT_EQ(list->GetCount(), 2);
}

}  // namespace
}  // namespace frametest
