// Edits that put a block above the layer or lift a new one while a selection
// floats (paste, invert, select all), followed by a mouse drag, cursor keys,
// or the scale tool's Enter and Esc, in the canvas view of a new document;
// and copy and paste keeping the pixel indices of the palette they came from.
// Every pixel is held against a model of what the user did.
#include <tuple>
#include <vector>

#include <QTest>

#include "document/selection_mask_doc.h"
#include "framework/cmd_ui.h"
#include "framework/program_globals.h"
#include "imaging/dib_access.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "tools/drag_state.h"
#include "tools/selection_geometry.h"
#include "tools/tool_dispatch.h"
#include "view/copy_memory.h"
#include "view/selection_tools.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"
#include "view_fixture.h"

namespace viewtest {
namespace {

using tools::ImagePoint;

constexpr int kW = 24;
constexpr int kH = 20;
constexpr int kConstraintControl = 421;
constexpr int kWidthControl = 423;
constexpr int kHeightControl = 425;

// Palette indices of one layer, rows from the top.
using Pixels = std::vector<uint8_t>;

// What undo and redo must bring back, byte for byte.
struct State {
    std::vector<uint8_t> layer;
    std::vector<uint8_t> floating;
    std::vector<bool> mask;
    std::vector<int> rect;
    bool operator==(const State&) const = default;
};

class FloatingEditsTest : public ViewTest {
public:
    void Open(int width, int height) {
        w = width;
        h = height;
        view = NewDocument(w, h);
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
        // Scaled pixels are smoothed, as a new user has it.
        app->WriteProfileInt("Settings", "AntiCheckBox", 1);
        LoadGeneralSettings();
        view->SetZoom(view::ZoomCommandOf(2));
        SetViewSize(view, 400, 300);
        view->ScrollTo(0, 0);
        doc->SetEditMode(tools::kSelectTool);
        view::SelectionModeIndex() = tools::kShapeRect;
        frame->ToolOptionValues().SetControls(&controls);
        controls.values = {{kConstraintControl, 0}, {kWidthControl, 1}, {kHeightControl, 1}};
        CPelmarkView::PasteConversionMode() = 0;
    }
    void TearDown() override {
        if (frame) frame->ToolOptionValues().SetControls(nullptr);
        tools::ProgramDragState() = {};
        view::ProgramSelectionDrag() = {};
        view::ClearCopyMemory();
        ViewTest::TearDown();
    }

    uint8_t* Row(int y) const {
        auto* bytes = static_cast<uint8_t*>(MemLock(doc->m_hLayers[0]));
        MemUnlock(doc->m_hLayers[0]);
        return bytes + LAYER_HEADER_SIZE + size_t(h - 1 - y) * dib::LayerRowBytes(w);
    }
    Pixels Layer() const {
        Pixels out;
        for (int y = 0; y < h; ++y) out.insert(out.end(), Row(y), Row(y) + w);
        return out;
    }
    void SetLayer(const Pixels& pixels) {
        for (int y = 0; y < h; ++y) std::copy_n(pixels.begin() + y * w, w, Row(y));
        view->RefreshAfterEdit(1);
    }
    State Snapshot() const {
        State s;
        MemLockGuard layer(doc->m_hLayers[0]), floating(doc->m_hFloatImage);
        s.layer.assign(layer.get(), layer.get() + layer.size());
        if (floating) s.floating.assign(floating.get(), floating.get() + floating.size());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) s.mask.push_back(document::TestMaskBit(*doc, doc->m_hMask, x, y));
        const DibRect& r = doc->m_rcSelection;
        s.rect = {r.left, r.top, r.right, r.bottom};
        return s;
    }

    QPoint Client(ImagePoint p) const {
        const int zoom = view->Zoom();
        const view::Offsets centre = view->CentreOffsets();
        return {p.x * zoom + zoom / 2 + centre.x, p.y * zoom + zoom / 2 + centre.y};
    }
    void Drag(ImagePoint from, ImagePoint to) {
        view->OnMouseMove(Client(from), {});
        view->OnLButtonDown(Client(from), {});
        view->OnMouseMove(Client(to), {});
        view->OnLButtonUp(Client(to), {});
    }
    void Key(int key) { QTest::keyClick(view, Qt::Key(key)); }
    bool Send(framework::CommandId id) { return frame->SendCommand(id); }
    bool Enabled(framework::CommandId id) { return frame->QueryCommandState(id).IsEnabled(); }

    PanelControls controls;
    CPelmarkView* view = nullptr;
    CPelmarkDoc* doc = nullptr;
    int w = 0, h = 0;
};

// ---- Paste, invert, select all, then a move ----------------------------------------

enum Before { kNothingSelected, kLiftedNotMoved, kMoved };
enum Command { kPaste, kInvert, kSelectAll };
enum After { kDrag, kKeys, kEnter, kEsc };

class FloatingEditTable : public FloatingEditsTest,
                          public ::testing::WithParamInterface<std::tuple<Before, Command, After>> {};

// The block that floats after the command: its pixels and mask in image
// coordinates over `rect`, and whether it was lifted from the layer.
struct Block {
    DibRect rect{};
    std::vector<bool> selected;  // image size, rows from the top
    Pixels pixels;               // image size; only the selected ones count
    bool lifted = false;
};

TEST_P(FloatingEditTable, EveryPixelIsWhereTheUserPutIt) {
    const auto [before, command, after] = GetParam();
    Open(kW, kH);
    Pixels picture(size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) picture[size_t(y * kW + x)] = uint8_t(1 + (x * 7 + y * 13) % 250);
    SetLayer(picture);
    const auto at = [](int x, int y) { return size_t(y * kW + x); };

    // The clipboard holds the 6 x 4 block of S, copied before anything moves.
    const DibRect s{2, 2, 8, 6};
    const ImagePoint offset{9, 7};
    Drag({s.left, s.top}, {s.right - 1, s.bottom - 1});
    ASSERT_TRUE(Send(CPelmarkView::kCopyId));
    Pixels shown = picture;  // what the layer shows before the command
    DibRect selection = s;
    if (before == kNothingSelected) {
        ASSERT_TRUE(Send(CPelmarkView::kSelectNoneId));
        ASSERT_EQ(doc->m_hFloatImage, nullptr);
    } else if (before == kMoved) {
        Drag({s.left + 1, s.top + 1}, {s.left + 1 + offset.x, s.top + 1 + offset.y});
        for (int y = s.top; y < s.bottom; ++y)
            for (int x = s.left; x < s.right; ++x) shown[at(x, y)] = 0;
        for (int y = s.top; y < s.bottom; ++y)
            for (int x = s.left; x < s.right; ++x) shown[at(x + offset.x, y + offset.y)] = picture[at(x, y)];
        selection = {s.left + offset.x, s.top + offset.y, s.right + offset.x, s.bottom + offset.y};
    }
    ASSERT_EQ(Layer(), shown);

    Block block;
    block.pixels = shown;
    block.selected.assign(size_t(kW) * kH, false);
    switch (command) {
    case kPaste: {
        // At the floating selection's origin, else at the visible top-left.
        const ImagePoint place =
            before == kNothingSelected ? ImagePoint{0, 0} : ImagePoint{selection.left, selection.top};
        block.rect = {place.x, place.y, place.x + 6, place.y + 4};
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                block.selected[at(place.x + x, place.y + y)] = true;
                block.pixels[at(place.x + x, place.y + y)] = picture[at(s.left + x, s.top + y)];
            }
        break;
    }
    case kInvert:
        block.rect = {0, 0, kW, kH};
        block.lifted = true;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                block.selected[at(x, y)] = !(x >= selection.left && x < selection.right && y >= selection.top &&
                                             y < selection.bottom);
        break;
    case kSelectAll:
        block.rect = {0, 0, kW, kH};
        block.lifted = true;
        block.selected.assign(block.selected.size(), true);
        break;
    }
    const framework::CommandId ids[] = {CPelmarkView::kPasteId, CPelmarkView::kInvertSelectionId,
                                        CPelmarkView::kSelectAllId};
    if (command == kInvert && before == kNothingSelected) {
        // Nothing floats: nothing to invert.
        EXPECT_FALSE(Enabled(ids[command]));
        return;
    }

    std::vector<std::pair<int, State>> steps{{doc->m_nUndoIndex, Snapshot()}};
    const auto record = [&] {
        if (steps.back().first == doc->m_nUndoIndex) steps.back().second = Snapshot();
        else steps.push_back({doc->m_nUndoIndex, Snapshot()});
    };
    ASSERT_TRUE(Send(ids[command]));
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    record();
    // The block shows where it floats; nothing else changed.
    Pixels placed = shown;
    for (size_t i = 0; i < placed.size(); ++i)
        if (block.selected[i]) placed[i] = block.pixels[i];
    EXPECT_EQ(Layer(), placed);

    // Moved by (3, 2): the source of a lifted block is cleared once, a pasted
    // block leaves the layer under it as it was.
    const ImagePoint grab{block.rect.left + 1, block.rect.top + 1};
    Pixels moved = shown;
    for (size_t i = 0; i < moved.size(); ++i)
        if (block.lifted && block.selected[i]) moved[i] = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (block.selected[at(x, y)] && x + 3 < kW && y + 2 < kH)
                moved[at(x + 3, y + 2)] = block.pixels[at(x, y)];

    switch (after) {
    case kDrag:
        Drag(grab, {grab.x + 3, grab.y + 2});
        record();
        EXPECT_EQ(Layer(), moved);
        EXPECT_NE(doc->m_hFloatImage, nullptr);
        break;
    case kKeys:
        for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down}) Key(key);
        record();
        EXPECT_EQ(Layer(), moved);
        break;
    case kEnter:
        Drag(grab, {grab.x + 3, grab.y + 2});
        record();
        doc->SetEditMode(tools::kScaleTool, true);
        Key(Qt::Key_Return);
        record();
        EXPECT_EQ(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(Layer(), moved);
        break;
    case kEsc:
        // Scaled by its top-left handle, then back to the size it floated at.
        doc->SetEditMode(tools::kScaleTool, true);
        Drag({block.rect.left, block.rect.top}, {block.rect.left + 2, block.rect.top + 2});
        record();
        Key(Qt::Key_Escape);
        record();
        EXPECT_EQ(doc->m_nToolId, tools::kSelectTool);
        EXPECT_NE(doc->m_hFloatImage, nullptr);
        EXPECT_EQ(Layer(), placed);
        break;
    }

    for (size_t i = steps.size() - 1; i > 0; --i) {
        SCOPED_TRACE(testing::Message() << "undo " << i);
        EXPECT_EQ(Snapshot(), steps[i].second);
        doc->OnEditUndo();
    }
    EXPECT_EQ(Snapshot(), steps[0].second);
    for (size_t i = 1; i < steps.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "redo " << i);
        doc->OnEditRedo();
        EXPECT_EQ(Snapshot(), steps[i].second);
    }
}

std::string CaseName(const testing::TestParamInfo<std::tuple<Before, Command, After>>& info) {
    static const char* befores[] = {"NothingSelected", "Lifted", "Moved"};
    static const char* commands[] = {"Paste", "Invert", "SelectAll"};
    static const char* afters[] = {"Drag", "Keys", "Enter", "Esc"};
    const auto [b, c, a] = info.param;
    return std::string(befores[b]) + commands[c] + afters[a];
}

INSTANTIATE_TEST_SUITE_P(AllCases, FloatingEditTable,
                         testing::Combine(testing::Values(kNothingSelected, kLiftedNotMoved, kMoved),
                                          testing::Values(kPaste, kInvert, kSelectAll),
                                          testing::Values(kDrag, kKeys, kEnter, kEsc)),
                         CaseName);

// ---- Copy and paste keep their indices ----------------------------------------------------

PaletteEntry EntryOf(const CPelmarkDoc& doc, int i) {
    PaletteEntry e{};
    GetDibPaletteEntry(doc.m_hImage, i, &e.red, &e.green, &e.blue, &e.alpha);
    return e;
}

void SetEntry(CPelmarkDoc& doc, int i, PaletteEntry e) {
    SetDibPaletteEntry(doc.m_hImage, i, e.red, e.green, e.blue, e.alpha);
}

bool SameColour(PaletteEntry a, PaletteEntry b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

TEST_F(FloatingEditsTest, CopyAndPasteInOneDocumentKeepsEveryIndex) {
    Open(16, 16);
    // The default table repeats black many times; two more entries share a
    // colour and differ only in alpha.
    int blacks = 0;
    for (int i = 0; i < 256; ++i) blacks += SameColour(EntryOf(*doc, i), EntryOf(*doc, 3));
    ASSERT_GT(blacks, 2);
    PaletteEntry twin = EntryOf(*doc, 41);
    twin.alpha = uint8_t(twin.alpha ^ 0x80);
    SetEntry(*doc, 40, twin);
    Pixels every(256);
    for (int i = 0; i < 256; ++i) every[size_t(i)] = uint8_t(i);
    SetLayer(every);

    Drag({0, 0}, {15, 15});
    ASSERT_TRUE(Send(CPelmarkView::kCopyId));
    ASSERT_TRUE(Send(CPelmarkView::kPasteId));
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(Layer(), every);
    // Put down, the pasted indices stay.
    doc->SetEditMode(tools::kPenTool);
    EXPECT_EQ(Layer(), every);
}

TEST_F(FloatingEditsTest, PasteIntoAnotherPaletteKeepsEqualEntriesThenTakesTheNearest) {
    Open(4, 1);
    CPelmarkView* source = view;
    CPelmarkDoc* from = doc;
    // 250 is black in both tables, as entries before it are; 100 and 101 are
    // colours of the source only.
    SetEntry(*from, 100, {10, 20, 30, 7});
    SetEntry(*from, 101, {3, 2, 1, 0});
    const Pixels picked = {250, 100, 101, 3};
    SetLayer(picked);
    Drag({0, 0}, {3, 0});
    ASSERT_TRUE(Send(CPelmarkView::kCopyId));

    Open(4, 1);
    ASSERT_NE(view, source);
    // The target holds 100's colour twice, first with another alpha.
    SetEntry(*doc, 60, {10, 20, 30, 0});
    SetEntry(*doc, 70, {10, 20, 30, 7});
    int black = 0;
    while (!SameColour(EntryOf(*doc, black), EntryOf(*doc, 250))) ++black;
    ASSERT_LT(black, 250);
    ASSERT_TRUE(Send(CPelmarkView::kPasteId));
    // 250 and 3 keep their own entries, 100 takes the entry equal in alpha
    // too, 101 the nearest colour (the first black).
    EXPECT_EQ(Layer(), (Pixels{250, 70, uint8_t(black), 3}));
}

}  // namespace
}  // namespace viewtest
