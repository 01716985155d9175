// The layer menu: which commands are offered, what each does to the layer
// table, the composition the merges keep, undo and redo of every step, the
// colour-index helpers and the file lock.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryFile>
#include <functional>
#include <vector>

#include "framework/program_globals.h"
#include "doc_fixture.h"
#include "document/layer_factory.h"
#include "document/layer_operations.h"
#include "frame/main_menu.h"
#include "framework/cmd_ui.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "tools/pixel_access.h"

namespace doctest {
namespace {

constexpr int kW = 4, kH = 2;  // rows of 4 bytes, 8 pixel bytes per layer

uint8_t* PixelsOf(MemHandle layer) {
    auto* p = static_cast<uint8_t*>(MemLock(layer));
    if (p) MemUnlock(layer);
    return p ? p + LAYER_HEADER_SIZE : nullptr;
}

LayerHeader* HeaderOf(MemHandle layer) {
    auto* p = static_cast<LayerHeader*>(MemLock(layer));
    if (p) MemUnlock(layer);
    return p;
}

// Everything the layer commands change, to compare stacks exactly.
struct Stack {
    int count = 0;
    int current = 0;
    std::vector<std::vector<uint8_t>> blocks;
    bool operator==(const Stack&) const = default;
};

Stack StackOf(const CPelmarkDoc& doc) {
    Stack s{doc.m_nLayerCount, doc.m_nEditLayer, {}};
    for (MemHandle h : doc.m_hLayers) {
        std::vector<uint8_t> bytes;
        if (MemLockGuard lock(h); lock) bytes.assign(lock.get(), lock.get() + lock.size());
        s.blocks.push_back(bytes);
    }
    return s;
}

class LayerCommandsTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        SetUndoDepth(10);
    }
    // Layers whose eight pixels are `fills[i]` (0 stays transparent) with
    // the given draw modes and visibility.
    std::unique_ptr<CPelmarkDoc> Layers(const std::vector<std::vector<uint8_t>>& fills,
                                        const std::vector<int>& modes = {},
                                        const std::vector<int>& visible = {}) {
        auto doc = DocumentWithImage(kW, kH);
        for (size_t i = 0; i < fills.size(); ++i) {
            EXPECT_TRUE(document::CreateLayer(*doc, int(i), 1));
            std::copy(fills[i].begin(), fills[i].end(), PixelsOf(doc->m_hLayers[i]));
            if (i < modes.size()) HeaderOf(doc->m_hLayers[i])->drawMode = uint8_t(modes[i]);
            if (i < visible.size()) HeaderOf(doc->m_hLayers[i])->visible = uint8_t(visible[i]);
        }
        return doc;
    }
    static std::vector<uint8_t> Fill(uint8_t v) { return std::vector<uint8_t>(8, v); }
    static std::vector<uint8_t> PixelVector(MemHandle layer) {
        const uint8_t* p = PixelsOf(layer);
        return {p, p + 8};
    }
};

TEST_F(LayerCommandsTest, MenuAndEnabledRules) {
    // Every layer command of the menu bar reaches the document but the
    // scanner's, which the frame that drives the scanner takes.
    const std::vector<framework::CommandId> frameOnly = {32932};
    std::vector<framework::CommandId> menuIds;
    std::function<void(const std::vector<framework::MenuItem>&)> collect =
        [&](const std::vector<framework::MenuItem>& items) {
            for (const framework::MenuItem& item : items) {
                if (item.type == framework::MenuItem::Command) menuIds.push_back(item.id);
                collect(item.items);
            }
        };
    for (const framework::MenuItem& top : MainMenu())
        if (top.text == "图层(L)") collect(top.items);
    ASSERT_EQ(menuIds.size(), 15u);
    CPelmarkDoc handlers;
    for (framework::CommandId id : menuIds) {
        bool isFrameOnly = std::find(frameOnly.begin(), frameOnly.end(), id) != frameOnly.end();
        EXPECT_EQ(handlers.HasCommandHandler(id), !isFrameOnly) << id;
    }

    struct Case {
        int count, current, underlay;
        std::vector<framework::CommandId> enabled;
    };
    using D = CPelmarkDoc;
    const Case cases[] = {
        {0, 0, 0, {D::kLayerNewId}},
        {1, 0, 0, {D::kLayerNewId, D::kLayerDuplicateId, D::kLayerDeleteId, D::kLayerUnifyAllId,
                   D::kLayerAllTransparentId}},
        {1, -1, 1, {D::kLayerNewId, D::kLayerDeleteId, D::kLayerUpId, D::kLayerUnifyAllId,
                    D::kLayerAllTransparentId}},
        {3, 1, 0, {D::kLayerNewId, D::kLayerDuplicateId, D::kLayerDeleteId, D::kLayerUpId,
                   D::kLayerDownId, D::kLayerMergeDownId, D::kLayerMergeAllId, D::kLayerUnifyAllId,
                   D::kLayerAllTransparentId, D::kLayerExpandId, D::kLayerMergeVisibleId}},
        {3, 2, 0, {D::kLayerNewId, D::kLayerDuplicateId, D::kLayerDeleteId, D::kLayerDownId,
                   D::kLayerMergeDownId, D::kLayerMergeAllId, D::kLayerUnifyAllId,
                   D::kLayerAllTransparentId, D::kLayerExpandId, D::kLayerMergeVisibleId}},
    };
    const framework::CommandId all[] = {D::kLayerNewId, D::kLayerDuplicateId, D::kLayerDeleteId,
                                        D::kLayerUpId, D::kLayerDownId, D::kLayerMergeDownId,
                                        D::kLayerMergeAllId, D::kLayerUnifyAllId,
                                        D::kLayerAllTransparentId, D::kLayerExpandId,
                                        D::kLayerMergeVisibleId};
    for (const Case& c : cases) {
        CPelmarkDoc doc;
        doc.m_nLayerCount = c.count;
        doc.m_nEditLayer = c.current;
        doc.m_bHasUnderlay = c.underlay;
        for (framework::CommandId id : all) {
            bool expected = std::find(c.enabled.begin(), c.enabled.end(), id) != c.enabled.end();
            EXPECT_EQ(doc.QueryCommandState(id).IsEnabled(), expected)
                << "command " << id << " count " << c.count << " current " << c.current;
        }
    }

    CPelmarkDoc doc;
    EXPECT_FALSE(doc.QueryCommandState(framework::ID_FILE_SAVE).IsEnabled());
    doc.SetModified(true);
    EXPECT_TRUE(doc.QueryCommandState(framework::ID_FILE_SAVE).IsEnabled());
    doc.m_bUntitled = 1;
    EXPECT_FALSE(doc.QueryCommandState(CPelmarkDoc::kFileRevertId).IsEnabled());
    doc.m_bUntitled = 0;
    EXPECT_TRUE(doc.QueryCommandState(CPelmarkDoc::kFileRevertId).IsEnabled());
}

TEST_F(LayerCommandsTest, NewLayerLimit) {
    for (auto [layers, expected] : {std::pair{98, 99}, std::pair{99, 99}}) {
        auto doc = DocumentWithImage(kW, kH);
        for (int i = 0; i < layers; ++i) ASSERT_TRUE(document::CreateLayer(*doc, i, 1));
        doc->OnLayerNew();
        EXPECT_EQ(doc->m_nLayerCount, expected) << layers;
        EXPECT_EQ(doc->m_nUndoIndex, layers == 98 ? 0 : -1);
    }
}

TEST_F(LayerCommandsTest, NewLayerGoesAboveTheCurrentOne) {
    auto doc = Layers({Fill(10), Fill(11), Fill(12)});
    doc->m_nEditLayer = 0;
    doc->OnLayerNew();
    ASSERT_EQ(doc->m_nLayerCount, 4);
    EXPECT_EQ(doc->m_nEditLayer, 1);
    EXPECT_EQ(PixelVector(doc->m_hLayers[0]), Fill(10));
    EXPECT_EQ(PixelVector(doc->m_hLayers[1]), Fill(0));
    EXPECT_EQ(PixelVector(doc->m_hLayers[2]), Fill(11));
    EXPECT_EQ(PixelVector(doc->m_hLayers[3]), Fill(12));
    EXPECT_EQ(HeaderOf(doc->m_hLayers[1])->drawMode, LAYER_DRAW_INDEX0_CLEAR);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(LayerCommandsTest, CommandsThatChangeNothing) {
    struct Case {
        const char* what;
        int current;
        std::vector<int> visible;
        std::function<void(CPelmarkDoc&)> run;
    };
    const Case cases[] = {
        {"delete the bottom layer", 0, {}, [](CPelmarkDoc& d) { d.OnLayerDelete(); }},
        {"up at the top", 2, {}, [](CPelmarkDoc& d) { d.OnLayerUp(); }},
        {"down at the bottom", 0, {}, [](CPelmarkDoc& d) { d.OnLayerDown(); }},
        {"merge visible with none visible", 1, {0, 0, 0}, [](CPelmarkDoc& d) { d.OnLayerMergeVisible(); }},
        {"merge down at the bottom", 0, {}, [](CPelmarkDoc& d) { d.OnLayerMergeDown(); }},
        {"swap an index with itself", 1, {}, [](CPelmarkDoc& d) { d.SwapLayerColorIndices(11, 11); }},
    };
    for (const Case& c : cases) {
        auto doc = Layers({Fill(10), Fill(11), Fill(12)}, {}, c.visible);
        doc->m_nEditLayer = c.current;
        Stack before = StackOf(*doc);
        c.run(*doc);
        EXPECT_EQ(StackOf(*doc), before) << c.what;
        EXPECT_FALSE(doc->CanUndo()) << c.what;
        EXPECT_FALSE(doc->IsModified()) << c.what;
    }
}

TEST_F(LayerCommandsTest, MergesKeepTheComposition) {
    const std::vector<std::vector<uint8_t>> fills = {
        {1, 1, 1, 1, 1, 1, 1, 1}, {0, 2, 0, 2, 0, 2, 0, 2}, {3, 0, 0, 3, 0, 0, 0, 0}, {0, 0, 4, 4, 0, 0, 0, 0}};
    struct Case {
        const char* what;
        std::vector<int> visible;
        int current;
        std::function<void(CPelmarkDoc&)> run;
        int count;
    };
    const Case cases[] = {
        {"all", {1, 1, 1, 1}, 2, [](CPelmarkDoc& d) { d.OnLayerMergeAll(); }, 1},
        {"all from the underlay row", {1, 1, 1, 1}, -1, [](CPelmarkDoc& d) { d.OnLayerMergeAll(); }, 1},
        {"visible", {0, 1, 0, 1}, 3, [](CPelmarkDoc& d) { d.OnLayerMergeVisible(); }, 3},
        {"down", {1, 1, 1, 1}, 3, [](CPelmarkDoc& d) { d.OnLayerMergeDown(); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = Layers(fills, {0, 1, 1, 1}, c.visible);
        doc->m_nEditLayer = c.current;
        std::vector<uint8_t> composed = document::ComposeVisibleLayers(*doc);
        c.run(*doc);
        EXPECT_EQ(doc->m_nLayerCount, c.count);
        EXPECT_EQ(document::ComposeVisibleLayers(*doc), composed);
        for (int i = c.count; i < 100; ++i) EXPECT_EQ(doc->m_hLayers[size_t(i)], nullptr);
    }
    // Merge down alone: the two layers' own composition.
    auto doc = Layers(fills, {0, 1, 1, 1});
    doc->m_nEditLayer = 3;
    doc->OnLayerMergeDown();
    EXPECT_EQ(doc->m_nEditLayer, 2);
    EXPECT_EQ(PixelVector(doc->m_hLayers[2]), (std::vector<uint8_t>{3, 0, 4, 4, 0, 0, 0, 0}));
    // Merge visible keeps the lowest visible layer's place; the invisible
    // ones stay, moved together.
    doc = Layers(fills, {0, 1, 1, 1}, {0, 1, 0, 1});
    doc->OnLayerMergeVisible();
    EXPECT_EQ(PixelVector(doc->m_hLayers[0]), fills[0]);
    EXPECT_EQ(PixelVector(doc->m_hLayers[1]), (std::vector<uint8_t>{0, 2, 4, 4, 0, 2, 0, 2}));
    EXPECT_EQ(PixelVector(doc->m_hLayers[2]), fills[2]);
}

TEST_F(LayerCommandsTest, EveryStepUndoesAndRedoesExactly) {
    struct Case {
        const char* what;
        int current;
        std::function<void(CPelmarkDoc&)> run;
    };
    const Case cases[] = {
        {"new", 1, [](CPelmarkDoc& d) { d.OnLayerNew(); }},
        {"duplicate", 1, [](CPelmarkDoc& d) { d.OnLayerDuplicate(); }},
        {"delete", 1, [](CPelmarkDoc& d) { d.OnLayerDelete(); }},
        {"delete the top", 2, [](CPelmarkDoc& d) { d.OnLayerDelete(); }},
        {"up", 1, [](CPelmarkDoc& d) { d.OnLayerUp(); }},
        {"down", 1, [](CPelmarkDoc& d) { d.OnLayerDown(); }},
        {"merge down", 2, [](CPelmarkDoc& d) { d.OnLayerMergeDown(); }},
        {"merge all", 1, [](CPelmarkDoc& d) { d.OnLayerMergeAll(); }},
        {"merge visible", 1, [](CPelmarkDoc& d) { d.OnLayerMergeVisible(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto doc = Layers({Fill(10), {0, 11, 0, 11, 0, 11, 0, 0}, {12, 0, 0, 0, 0, 0, 0, 12}},
                          {0, 1, 1});
        doc->m_nEditLayer = c.current;
        Stack before = StackOf(*doc);
        c.run(*doc);
        Stack after = StackOf(*doc);
        ASSERT_NE(after, before);
        ASSERT_TRUE(doc->CanUndo());
        doc->OnEditUndo();
        EXPECT_EQ(StackOf(*doc), before);
        doc->OnEditRedo();
        EXPECT_EQ(StackOf(*doc), after);
    }
}

TEST_F(LayerCommandsTest, StepsSelectTheLayerTheyLeft) {
    auto doc = Layers({Fill(10), Fill(11), Fill(12)});
    doc->m_nEditLayer = 0;
    doc->OnLayerUp();
    doc->OnLayerUp();
    EXPECT_EQ(doc->m_nEditLayer, 2);
    EXPECT_EQ(doc->m_UndoSlots[1].label, "所选层前移");
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nEditLayer, 1);
    doc->OnLayerDown();
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "所选层后移");
    EXPECT_EQ(doc->m_bLayerStep, 0);
}

TEST_F(LayerCommandsTest, DeleteMovesTheLayersAbove) {
    auto doc = Layers({Fill(10), Fill(11), Fill(12)});
    doc->m_nEditLayer = 1;
    doc->OnLayerDelete();
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(doc->m_nEditLayer, 1);
    EXPECT_EQ(PixelVector(doc->m_hLayers[1]), Fill(12));
    EXPECT_EQ(doc->m_hLayers[2], nullptr);
    doc->OnLayerDelete();  // the top layer, current: the new top is current
    EXPECT_EQ(doc->m_nLayerCount, 1);
    EXPECT_EQ(doc->m_nEditLayer, 0);

    // The underlay row.
    doc = Layers({Fill(10), Fill(11)});
    doc->m_hUnderlay = CreateDib8(2, 2, 0);
    doc->m_bHasUnderlay = 1;
    doc->m_nEditLayer = -1;
    doc->OnLayerDelete();
    EXPECT_EQ(doc->m_hUnderlay, nullptr);
    EXPECT_EQ(doc->m_bHasUnderlay, 0);
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(doc->m_nLayerCount, 2);
}

TEST_F(LayerCommandsTest, DrawModesForAllLayers) {
    auto doc = Layers({Fill(10), Fill(11)}, {1, 0});
    doc->OnLayerUnifyAll();
    EXPECT_EQ(HeaderOf(doc->m_hLayers[0])->drawMode, 0);
    EXPECT_EQ(HeaderOf(doc->m_hLayers[1])->drawMode, 0);
    doc->OnLayerAllTransparent();
    EXPECT_EQ(HeaderOf(doc->m_hLayers[0])->drawMode, 1);
    EXPECT_EQ(HeaderOf(doc->m_hLayers[1])->drawMode, 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(LayerCommandsTest, ExpandLaysTheLayersOutOnASheet) {
    auto doc = Layers({{1, 2, 3, 4, 5, 6, 7, 8}, Fill(9), Fill(7)});
    SetDibPaletteEntry(doc->m_hImage, 5, 50, 60, 70, 80);
    doc->OnLayerExpand();
    EXPECT_EQ(doc->m_nWidth, 8);
    EXPECT_EQ(doc->m_nHeight, 4);
    EXPECT_EQ(doc->m_nLayerCount, 1);
    EXPECT_EQ(EntryOf(doc->m_hImage, 5), 0x50323C46u);
    // Rows bottom-up, 8 bytes each: the third layer sits at the bottom left,
    // the first at the top left, the second at the top right.
    const uint8_t* p = PixelsOf(doc->m_hLayers[0]);
    std::vector<uint8_t> pixels(p, p + 32);
    EXPECT_EQ(pixels, (std::vector<uint8_t>{7, 7, 7, 7, 0, 0, 0, 0, 7, 7, 7, 7, 0, 0, 0, 0,
                                             1, 2, 3, 4, 9, 9, 9, 9, 5, 6, 7, 8, 9, 9, 9, 9}));
    // One step, "展开图层", brings back every layer and the size.
    ASSERT_TRUE(doc->CanUndo());
    EXPECT_EQ(doc->m_UndoSlots[size_t(doc->m_nUndoIndex)].label, "展开图层");
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nWidth, kW);
    EXPECT_EQ(doc->m_nHeight, kH);
    EXPECT_EQ(doc->m_nLayerCount, 3);
    const uint8_t* first = PixelsOf(doc->m_hLayers[0]);
    EXPECT_EQ(std::vector<uint8_t>(first, first + 8), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(PixelsOf(doc->m_hLayers[2])[0], 7);
    doc->OnEditRedo();
    EXPECT_EQ(doc->m_nWidth, 8);
    EXPECT_EQ(doc->m_nLayerCount, 1);
}

TEST_F(LayerCommandsTest, ExpandGivesEveryLayerItsCell) {
    struct Case {
        int layers, columns, rows;
    };
    for (const Case c : {Case{6, 2, 3}, Case{31, 4, 8}}) {
        SCOPED_TRACE(c.layers);
        std::vector<std::vector<uint8_t>> fills;
        for (int k = 0; k < c.layers; ++k) {
            std::vector<uint8_t> fill(8);
            for (int i = 0; i < 8; ++i) fill[size_t(i)] = uint8_t((k * 8 + i) % 255 + 1);
            fills.push_back(fill);
        }
        auto doc = Layers(fills);
        doc->m_nEditLayer = c.layers - 1;
        EXPECT_TRUE(doc->ExecuteCommand(CPelmarkDoc::kLayerExpandId));
        const int width = kW * c.columns, height = kH * c.rows;
        ASSERT_EQ(doc->m_nWidth, width);
        ASSERT_EQ(doc->m_nHeight, height);
        EXPECT_EQ(doc->m_nLayerCount, 1);
        EXPECT_EQ(doc->m_nEditLayer, 0);
        EXPECT_EQ(doc->m_hLayers[1], nullptr);
        EXPECT_EQ(HeaderOf(doc->m_hLayers[0])->right, width);
        EXPECT_EQ(HeaderOf(doc->m_hLayers[0])->bottom, height);
        EXPECT_TRUE(doc->IsModified());
        // Rows bottom-up in the layers and on the sheet; layer k at column
        // k % columns, row k / columns from the top.
        const size_t sheetRow = dib::LayerRowBytes(width);
        const uint8_t* sheet = PixelsOf(doc->m_hLayers[0]);
        for (int k = 0; k < c.layers; ++k)
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    const int sx = k % c.columns * kW + x, sy = k / c.columns * kH + y;
                    EXPECT_EQ(sheet[size_t(height - 1 - sy) * sheetRow + size_t(sx)],
                              fills[size_t(k)][size_t((kH - 1 - y) * kW + x)])
                        << "layer " << k << " at " << x << ", " << y;
                }
    }
}

TEST_F(LayerCommandsTest, ExpandChangesNothingWhenTheSheetCannotHoldEveryLayer) {
    // One 1100-pixel column across; three 700-pixel rows are higher than
    // the largest image.
    auto doc = DocumentWithImage(1100, 700);
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(document::CreateLayer(*doc, k, 1));
        std::fill_n(PixelsOf(doc->m_hLayers[size_t(k)]), 1100 * 700, uint8_t(k + 1));
    }
    doc->m_nEditLayer = 0;
    doc->OnLayerUp();
    ASSERT_TRUE(doc->CanUndo());
    ASSERT_TRUE(doc->IsModified());
    const Stack before = StackOf(*doc);
    std::vector<uint8_t> image;
    if (MemLockGuard lock(doc->m_hImage); lock) image.assign(lock.get(), lock.get() + lock.size());
    MemHandle imageHandle = doc->m_hImage;

    // The sheet would be cut: the user is asked first and declines.
    boxes.Script({MB_ANSWER_CANCEL});
    doc->ExecuteCommand(CPelmarkDoc::kLayerExpandId);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"图像纵尺寸超过2048，\n可能有一部分图像会消失\n您确认吗？"}));
    EXPECT_EQ(StackOf(*doc), before);
    EXPECT_EQ(doc->m_hImage, imageHandle);
    EXPECT_EQ(doc->m_nWidth, 1100);
    EXPECT_EQ(doc->m_nHeight, 700);
    std::vector<uint8_t> imageAfter;
    if (MemLockGuard lock(doc->m_hImage); lock) imageAfter.assign(lock.get(), lock.get() + lock.size());
    EXPECT_EQ(imageAfter, image);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(doc->CanUndo());
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nEditLayer, 0);

    // A grid with fewer cells than layers is refused as well.
    doc = Layers({Fill(10), Fill(11), Fill(12)});
    const Stack three = StackOf(*doc);
    EXPECT_FALSE(document::LayOutLayerSheet(*doc, 2 * kW, kH, 2, 1));
    EXPECT_EQ(StackOf(*doc), three);
    EXPECT_EQ(doc->m_nWidth, kW);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(LayerCommandsTest, ColourIndexHelpers) {
    auto doc = Layers({{1, 2, 1, 2, 3, 3, 0, 0}, {2, 2, 2, 2, 2, 2, 2, 2}});
    doc->SwapLayerColorIndices(1, 2);
    EXPECT_EQ(PixelVector(doc->m_hLayers[0]), (std::vector<uint8_t>{2, 1, 2, 1, 3, 3, 0, 0}));
    EXPECT_EQ(PixelVector(doc->m_hLayers[1]), Fill(1));

    {
        dib::LockedDib image(doc->m_hImage);
        uint8_t* bits = image.bits();
        bits[0] = 5;
        bits[1] = 9;
        bits[7] = 9;
    }
    EXPECT_EQ(doc->ScanUsedColors(), 3);  // 0, 5 and 9
    EXPECT_EQ(document::UsedColorTable()[5], 1);
    EXPECT_EQ(document::UsedColorTable()[1], 0);
}

// True when a writer could take a lock on the file now.
bool WriterCanLock(const QString& path) {
    int fd = ::open(path.toLocal8Bit().constData(), O_RDWR);
    if (fd < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    bool ok = ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
    ::close(fd);
    return ok;
}

TEST_F(LayerCommandsTest, FileLock) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const QString path = file.fileName();
    {
        CPelmarkDoc doc;
        EXPECT_EQ(doc.LockFile(path), 1);
        EXPECT_EQ(doc.m_bFileLocked, 1);
        EXPECT_FALSE(WriterCanLock(path));
        EXPECT_EQ(doc.UnlockFile(), 1);
        EXPECT_TRUE(WriterCanLock(path));
        EXPECT_EQ(doc.LockFile(path), 1);
        EXPECT_EQ(doc.LockFile("/nonexistent/kavolt.gif"), 0);
        EXPECT_EQ(doc.m_bFileLocked, 0);
        EXPECT_TRUE(WriterCanLock(path));
        EXPECT_EQ(doc.LockFile(path), 1);
    }
    EXPECT_TRUE(WriterCanLock(path));  // released at close
}

// A save that only notes whether a writer could lock the file meanwhile.
class LockProbeDoc : public CPelmarkDoc {
public:
    bool OnSaveDocument(const QString& path) override {
        writerCouldLock.push_back(WriterCanLock(path));
        return succeed;
    }
    std::vector<bool> writerCouldLock;
    bool succeed = true;
};

TEST_F(LayerCommandsTest, FileLockIsReleasedAroundASave) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const QString path = file.fileName();
    LockProbeDoc doc;
    doc.SetPathName(path, false);
    ASSERT_EQ(doc.LockFile(path), 1);
    EXPECT_TRUE(doc.DoSave(path, true));
    doc.succeed = false;
    EXPECT_FALSE(doc.DoSave(path, true));
    EXPECT_EQ(doc.writerCouldLock, (std::vector<bool>{true, true}));
    EXPECT_EQ(doc.m_bFileLocked, 1);  // held again after both
    EXPECT_FALSE(WriterCanLock(path));
}

}  // namespace

TEST_F(LayerCommandsTest, FlattenComposesWhatTheScreenShows) {
    // A hidden layer, a transparent-zero layer and a layer of a draw mode
    // the composite does not draw: flattening gives exactly the composite.
    auto doc = Layers({Fill(1), {0, 2, 0, 2, 0, 2, 0, 2}, Fill(3), {4, 0, 0, 4, 0, 0, 0, 0}},
                      {0, 1, 0, 2}, {1, 1, 0, 1});
    ASSERT_TRUE(tools::RecomposeDocument(*doc));
    MemLockGuard image(doc->m_hImage);
    dib::DibGeometry geo;
    ASSERT_TRUE(dib::ReadDibGeometry(image.get(), image.size(), &geo));
    const uint8_t* composite = image.get() + geo.bitsOffset;
    std::vector<uint8_t> composed = document::ComposeVisibleLayers(*doc);
    EXPECT_EQ(composed, std::vector<uint8_t>(composite, composite + composed.size()));
    EXPECT_EQ(composed, (std::vector<uint8_t>{1, 2, 1, 2, 1, 2, 1, 2}));
}

}  // namespace doctest
