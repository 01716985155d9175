// A selection floats while another layer becomes the edit layer (a new
// layer, a copied layer, a row of the layer palette, the layer menu's step,
// the layer-step keys):
// the selection floats on over the new edit layer with that layer's pixels,
// putting it down changes no layer, and undo gives the selection back to the
// layer it came from.
#include <QTest>

#include <functional>
#include <vector>

#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "frame_fixture.h"
#include "framework/child_frame.h"
#include "framework/dialog.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "palettes/layer_list_box.h"
#include "palettes/layer_list_dlg.h"
#include "tools/selection_geometry.h"
#include "tools/tool_dispatch.h"
#include "view/pelmark_view.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"

namespace frametest {
namespace {

constexpr int kW = 20;
constexpr int kH = 16;

// One layer's indices, rows from the top.
using Pixels = std::vector<uint8_t>;

uint8_t* Row(MemHandle layer, int y) {
    auto* bytes = static_cast<uint8_t*>(MemLock(layer));
    MemUnlock(layer);
    return bytes + LAYER_HEADER_SIZE + size_t(kH - 1 - y) * dib::LayerRowBytes(kW);
}

std::vector<int> Corners(const DibRect& r) { return {r.left, r.top, r.right, r.bottom}; }

Pixels Read(MemHandle layer) {
    Pixels out;
    for (int y = 0; y < kH; ++y) out.insert(out.end(), Row(layer, y), Row(layer, y) + kW);
    return out;
}

class FloatingLayerTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(Start());
        palette = Frame()->LayerPalette();
        palette->show();
    }
    void TearDown() override {
        view::SelectionModeIndex() = 0;
        FrameTest::TearDown();
    }

    // Two normal layers of distinct pixels, layer 0 edited, the selection
    // tool in rectangle mode at zoom 1.
    void Open() {
        doc = NewDocument();
        ASSERT_TRUE(doc);
        doc->m_hImage = CreateDib8(kW, kH, 0);
        for (int i = 0; i < 256; ++i)
            SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), uint8_t(255 - i), uint8_t(3 * i), 255);
        ASSERT_TRUE(doc->InitDib());
        document::LayerOptions normal;
        normal.drawMode = LAYER_DRAW_NORMAL;
        for (int layer = 0; layer < 2; ++layer) {
            ASSERT_TRUE(document::CreateLayer(*doc, layer, 1, normal));
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x)
                    Row(doc->m_hLayers[size_t(layer)], y)[x] = uint8_t(1 + layer * 100 + (x * 5 + y * 3) % 90);
        }
        doc->m_nEditLayer = 0;
        Frame()->UpdateLayerPalette(doc);
        view = dynamic_cast<CPelmarkView*>(doc->GetViews().front());
        ASSERT_TRUE(view);
        view->SetZoom(view::ZoomCommandOf(1));
        // Room for the whole image: no drag here scrolls.
        Frame()->resize(900, 700);
        view->GetParentFrame()->resize(300, 240);
        QCoreApplication::processEvents();
        view->ScrollTo(0, 0);
        ASSERT_GT(view->width(), kW);
        ASSERT_GT(view->height(), kH);
        doc->SetEditMode(tools::kSelectTool);
        view::SelectionModeIndex() = tools::kShapeRect;
    }
    QPoint Client(tools::ImagePoint p) const {
        const view::Offsets centre = view->CentreOffsets();
        return {p.x + centre.x, p.y + centre.y};
    }
    void Drag(tools::ImagePoint from, tools::ImagePoint to) {
        view->OnMouseMove(Client(from), {});
        view->OnLButtonDown(Client(from), {});
        view->OnMouseMove(Client(to), {});
        view->OnLButtonUp(Client(to), {});
    }
    void ClickRow(int row) {
        CLayerListBox* list = palette->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->ItemRect(row).center() + QPoint(60, 0));
    }
    // The floating image's pixels at their place in the image.
    std::vector<uint8_t> Floating() const {
        const DibRect& r = doc->m_rcSelection;
        const int width = r.right - r.left, height = r.bottom - r.top;
        MemLockGuard lock(doc->m_hFloatImage);
        std::vector<uint8_t> out;
        if (!lock) return out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.push_back(
                    lock.get()[LAYER_HEADER_SIZE + size_t(height - 1 - y) * dib::LayerRowBytes(width) + size_t(x)]);
        return out;
    }
    std::vector<uint8_t> LayerAt(int layer, const DibRect& r) const {
        std::vector<uint8_t> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) out.push_back(Row(doc->m_hLayers[size_t(layer)], y)[x]);
        return out;
    }

    CLayerListDlg* palette = nullptr;
    CPelmarkDoc* doc = nullptr;
    CPelmarkView* view = nullptr;
};

TEST_F(FloatingLayerTest, TheSelectionFloatsOnOverTheNewEditLayerAndPutDownChangesNoLayer) {
    struct Case {
        const char* name;
        std::function<void()> change;
        int editLayer;  // afterwards
        int newLayer;   // the new layer's slot, or -1
        int copyOf;     // the layer it copies, or -1 (a new layer is empty)
    };
    const auto confirm = [](framework::Dialog& d) { d.ClickButton(framework::IDOK); };
    const std::vector<Case> cases = {
        {"palette new",
         [&] {
             framework::ScopedModalDriver driver(confirm);
             palette->ClickButton(CLayerListDlg::kNewId);
         },
         1, 1, -1},
        {"menu new",
         [&] {
             framework::ScopedModalDriver driver(confirm);
             Frame()->SendCommand(CPelmarkDoc::kLayerNewId);
         },
         1, 1, -1},
        {"palette copy",
         [&] {
             framework::ScopedModalDriver driver(confirm);
             palette->ClickButton(CLayerListDlg::kCopyId);
         },
         2, 2, 0},
        {"palette row", [&] { ClickRow(0); }, 1, -1, -1},
        {"menu step up", [&] { Frame()->SendCommand(CPelmarkDoc::kLayerUpId); }, 1, -1, -1},
        {"layer-step keys",
         [&] {
             // Ctrl+Shift holds the layer step; Page Up takes the layer above.
             QTest::keyPress(view, Qt::Key_Shift, Qt::ControlModifier);
             QTest::keyClick(view, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
             QTest::keyRelease(view, Qt::Key_Shift, Qt::ControlModifier);
         },
         1, -1, -1},
    };
    for (const Case& c : cases) {
        for (const bool moved : {false, true}) {
            for (const bool undo : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << c.name << (moved ? ", moved" : ", lifted") << (undo ? ", undone" : ""));
                Open();
                Drag({3, 2}, {8, 6});  // 6 x 5 at (3, 2)
                if (moved) Drag({4, 3}, {11, 8});
                ASSERT_NE(doc->m_hFloatImage, nullptr);
                const DibRect selection = doc->m_rcSelection;
                const Pixels shown0 = Read(doc->m_hLayers[0]), shown1 = Read(doc->m_hLayers[1]);
                const int steps = doc->m_nUndoIndex;

                c.change();
                ASSERT_EQ(doc->m_nEditLayer, c.editLayer);
                const Pixels edited = c.newLayer < 0 ? shown1 : c.copyOf < 0 ? Pixels(shown0.size(), 0) : shown0;
                EXPECT_EQ(Read(doc->m_hLayers[size_t(c.editLayer)]), edited);
                ASSERT_NE(doc->m_hFloatImage, nullptr);
                EXPECT_EQ(Corners(doc->m_rcSelection), Corners(selection));
                EXPECT_EQ(Floating(), LayerAt(c.editLayer, selection));

                if (undo && doc->m_nUndoIndex != steps) {  // the keys open no step
                    // Undone, the selection floats over layer 0 with its pixels.
                    doc->OnEditUndo();
                    ASSERT_EQ(doc->m_nEditLayer, 0);
                    EXPECT_EQ(Floating(), LayerAt(0, selection));
                    doc->SetEditMode(tools::kPenTool);
                    EXPECT_EQ(Read(doc->m_hLayers[0]), shown0);
                    EXPECT_EQ(Read(doc->m_hLayers[1]), shown1);
                } else if (!undo) {
                    doc->SetEditMode(tools::kPenTool);
                    EXPECT_EQ(doc->m_hFloatImage, nullptr);
                    EXPECT_EQ(Read(doc->m_hLayers[0]), shown0);
                    EXPECT_EQ(Read(doc->m_hLayers[size_t(c.editLayer)]), edited);
                    if (c.newLayer >= 0) {
                        EXPECT_EQ(Read(doc->m_hLayers[size_t(c.newLayer == 1 ? 2 : 1)]), shown1);
                    }
                }
                doc->SetModified(false);
                doc->OnCloseDocument();
            }
        }
    }
}

}  // namespace
}  // namespace frametest
