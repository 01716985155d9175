// A selection of each kind moved by the mouse, the move undone (Ctrl+Z)
// and the selection moved again: the undo brings back the pixels, the
// outline and the lifted state, so the second move moves the pixels
// exactly as a first move would.
#include <string>
#include <vector>

#include <QApplication>
#include <QTest>

#include "document/selection_mask_doc.h"
#include "framework/command_ids.h"
#include "framework/program_globals.h"
#include "imaging/dib_geometry.h"
#include "tools/drag_state.h"
#include "tools/selection_geometry.h"
#include "tools/tool_dispatch.h"
#include "view/selection_tools.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;
constexpr int kW = 24;
constexpr int kH = 20;
constexpr int kZoom = 4;

using Pixels = std::vector<uint8_t>;
using Rows = std::vector<std::string>;

// The pixels as rows of two hex digits each, for readable failures.
Rows Hex(const Pixels& p) {
    Rows rows;
    for (int y = 0; y < kH; ++y) {
        std::string row;
        for (int x = 0; x < kW; ++x) row += QString::asprintf("%02x ", p[size_t(y * kW + x)]).toStdString();
        rows.push_back(row);
    }
    return rows;
}


// How the selection is made: the tool and shape, and the mouse gesture.
enum class Make { Rect, Ellipse, Freehand, Polygon, Wand };

class SelectionMoveUndoTest : public ViewTest {
public:
    void Start(Make make) {
        view = NewDocument(kW, kH);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) Px(x, y) = Value(make, x, y);
        view->RefreshAfterEdit(1);
        app->WriteProfileInt("Settings", "AntiCheckBox", 0);
        LoadGeneralSettings();
        frame->ToolOptionValues().SetControls(&controls);
        controls.values[421] = 0;  // free size
        doc->SetEditMode(make == Make::Wand ? tools::kWandTool : tools::kSelectTool);
        switch (make) {
        case Make::Rect: view::SelectionModeIndex() = tools::kShapeRect; break;
        case Make::Ellipse: view::SelectionModeIndex() = tools::kShapeEllipse; break;
        case Make::Freehand: view::SelectionModeIndex() = tools::kShapeFreehand; break;
        case Make::Polygon: view::SelectionModeIndex() = tools::kShapePolygon; break;
        case Make::Wand: view::SelectionModeIndex() = tools::kShapeRect; break;
        }
        view->SetZoom(view::ZoomCommandOf(kZoom));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
    }
    // Distinct non-zero values; the wand's picture has a block of 9s in
    // rows 4..10, columns 4..12 with a notch at (4, 4).
    static uint8_t Value(Make make, int x, int y) {
        if (make == Make::Wand && x >= 4 && x <= 12 && y >= 4 && y <= 10 && !(x == 4 && y == 4)) return 9;
        return uint8_t(10 + (x * 7 + y * 13) % 240);
    }
    uint8_t& Px(int x, int y) const {
        MemLockGuard lock(doc->m_hLayers[0]);
        return lock.get()[LAYER_HEADER_SIZE + size_t(kH - 1 - y) * dib::LayerRowBytes(kW) + size_t(x)];
    }
    Pixels Layer() const {
        Pixels p;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) p.push_back(Px(x, y));
        return p;
    }
    std::vector<bool> Mask() const {
        document::LockedMask m(*doc, doc->m_hMask);
        std::vector<bool> bits;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) bits.push_back(m.bits().Get(x, y));
        return bits;
    }
    // The layer after the selected pixels of `before` moved by (dx, dy):
    // index 0 where they were, the moved pixels over everything else.
    static Pixels Moved(const Pixels& before, const std::vector<bool>& mask, int dx, int dy) {
        Pixels after = before;
        for (size_t i = 0; i < mask.size(); ++i)
            if (mask[i]) after[i] = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const int tx = x + dx, ty = y + dy;
                if (mask[size_t(y * kW + x)] && tx >= 0 && tx < kW && ty >= 0 && ty < kH)
                    after[size_t(ty * kW + tx)] = before[size_t(y * kW + x)];
            }
        return after;
    }

    static QPoint Client(ImagePoint p) { return {p.x * kZoom + kZoom / 2, p.y * kZoom + kZoom / 2}; }
    void Press(ImagePoint p) { QTest::mousePress(view, Qt::LeftButton, {}, Client(p)); }
    void MoveTo(ImagePoint p) {
        QMouseEvent move(QEvent::MouseMove, Client(p), view->mapToGlobal(Client(p)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }
    void Release(ImagePoint p) { QTest::mouseRelease(view, Qt::LeftButton, {}, Client(p)); }
    void Drag(const std::vector<ImagePoint>& path) {
        Press(path.front());
        for (size_t i = 1; i < path.size(); ++i) MoveTo(path[i]);
        Release(path.back());
    }
    void Click(ImagePoint p) { Drag({p}); }

    void Select(Make make) {
        switch (make) {
        case Make::Rect: Drag({{4, 4}, {8, 6}, {12, 10}}); break;
        case Make::Ellipse: Drag({{4, 4}, {8, 6}, {13, 11}}); break;
        case Make::Freehand: Drag({{4, 4}, {12, 4}, {12, 10}, {4, 10}}); break;
        case Make::Polygon:
            for (ImagePoint p : {ImagePoint{4, 4}, ImagePoint{12, 4}, ImagePoint{12, 10}}) Click(p);
            QTest::mouseDClick(view, Qt::LeftButton, {}, Client({4, 10}));
            break;
        case Make::Wand: Click({8, 7}); break;
        }
    }
    // A drag from the middle of the selection by (dx, dy).
    void MoveSelection(int dx, int dy) {
        const DibRect& r = doc->m_rcSelection;
        const ImagePoint from{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        Drag({from, {from.x + dx / 2, from.y + dy / 2}, {from.x + dx, from.y + dy}});
    }
    // Edit > Undo (Ctrl+Z) as the main frame routes it.
    void Undo() { ASSERT_TRUE(frame->SendCommand(framework::ID_EDIT_UNDO)); }

    PanelControls controls;
    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
};

TEST_F(SelectionMoveUndoTest, MoveUndoMoveAgainMovesThePixelsInEveryMode) {
    const struct {
        Make make;
        const char* name;
    } modes[] = {{Make::Rect, "rectangle"},
                 {Make::Ellipse, "ellipse"},
                 {Make::Freehand, "freehand"},
                 {Make::Polygon, "polygon"},
                 {Make::Wand, "wand"}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.name);
        Start(mode.make);
        const Pixels original = Layer();
        Select(mode.make);
        ASSERT_NE(doc->m_hFloatImage, nullptr);
        const std::vector<bool> mask = Mask();
        const std::vector<int> rect{doc->m_rcSelection.left, doc->m_rcSelection.top, doc->m_rcSelection.right,
                                    doc->m_rcSelection.bottom};
        const QImage lifted = Grab(view);

        MoveSelection(6, 5);
        EXPECT_EQ(Hex(Layer()), Hex(Moved(original, mask, 6, 5)));

        Undo();
        EXPECT_EQ(Hex(Layer()), Hex(original));
        ASSERT_NE(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(Mask(), mask);
        EXPECT_EQ((std::vector<int>{doc->m_rcSelection.left, doc->m_rcSelection.top, doc->m_rcSelection.right,
                                    doc->m_rcSelection.bottom}),
                  rect);
        // The outline is back where the selection is.
        EXPECT_TRUE(Grab(view) == lifted);

        MoveSelection(-3, 4);
        EXPECT_EQ(Hex(Layer()), Hex(Moved(original, mask, -3, 4)));
        doc->OnCloseDocument();
    }
}

}  // namespace
}  // namespace viewtest
