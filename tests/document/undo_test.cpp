// Undo steps: the slot arithmetic at every depth, merged moves, redo,
// repeat, saves, image size steps, menu texts, running short of memory, the
// blocks shared between snapshots, and the edit-mode commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/program_globals.h"
#include "doc_fixture.h"
#include "document/color_edits.h"
#include "document/edit_state.h"
#include "document/layer_factory.h"
#include "framework/cmd_ui.h"
#include "imaging/dib.h"
#include "platform/memory.h"
#include "plugin_api/plugin_messages.h"

namespace doctest {
namespace {

uint8_t& Pixel(MemHandle layer, size_t at = 0) {
    static uint8_t none = 0;
    auto* p = static_cast<uint8_t*>(MemLock(layer));
    if (!p) return none;
    MemUnlock(layer);
    return p[LAYER_HEADER_SIZE + at];
}

class UndoTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        recording = UseRecordingFrame();
        SetUndoDepth(10);
        document::GetProgramEditState() = {};
    }
    void TearDown() override {
        SetUndoDepth(10);
        DocTest::TearDown();
    }

    // An 8 x 4 image with two layers.
    std::unique_ptr<CPelmarkDoc> SmallDocument() {
        auto doc = DocumentWithImage(8, 4);
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        EXPECT_TRUE(document::CreateLayer(*doc, 1, 1));
        return doc;
    }
    // One edit of the user: a step, then the first pixel of layer 0 takes
    // `value`.
    static void Edit(CPelmarkDoc& doc, int value, int32_t id = 554, const char* text = "钢笔") {
        ASSERT_EQ(doc.PushUndo(id, text, true), 1);
        Pixel(doc.m_hLayers[0]) = uint8_t(value);
        doc.SetModifiedFlag(true);
    }
    static int Mark(CPelmarkDoc& doc) { return Pixel(doc.m_hLayers[0]); }

    RecordingFrame* recording = nullptr;
};

struct IndexCase {
    int depth;
    const char* steps;  // E edit (pixel := number of edits so far), U undo, R redo
    int mark;           // the first pixel afterwards
    int index;
    int redoLimit;
};

TEST_F(UndoTest, SlotArithmetic) {
    const IndexCase cases[] = {
        {1, "EE", 2, 1, 1},
        {1, "EEU", 1, -1, 1},
        {1, "EEUU", 1, -1, 1},  // only the last step is kept
        {1, "EEUR", 2, 0, 1},
        {1, "EEURU", 1, -1, 1},
        {3, "EEE", 3, 2, 2},
        {3, "EEEUUU", 0, -1, 3},
        {3, "EEEUUURRR", 3, 2, 3},
        {3, "EEEUUURRRR", 3, 2, 3},
        {10, "EEEEEEEEEEEE", 12, 10, 10},
        {10, "EEEEEEEEEEEEU", 11, 8, 10},
        {10, "EEEEEEEEEEEEUR", 12, 9, 10},
        {10, "EEEEEEEEEEEEURU", 11, 8, 10},
        {10, "EEEEEEEEEEEEEEEEEEEEUUUUUUUUUU", 10, -1, 10},
        {10, "EEEEEEEEEEEEEEEEEEEEUUUUUUUUUUU", 10, -1, 10},
        {10, "EEEEEEEEEEEEEEEEEEEEUUUUUUUUUURRRRRRRRRR", 20, 9, 10},
        {10, "EEEEEEEEEEEEEEEEEEEEUUUUUUUUUURRRRRRRRRRR", 20, 9, 10},
    };
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << " " << c.steps);
        SetUndoDepth(c.depth);
        auto doc = SmallDocument();
        int edits = 0;
        for (const char* s = c.steps; *s; ++s) {
            if (*s == 'E') Edit(*doc, ++edits);
            if (*s == 'U') doc->OnEditUndo();
            if (*s == 'R') doc->OnEditRedo();
            ASSERT_GE(doc->m_nUndoIndex, -1);
            ASSERT_LE(doc->m_nRedoLimit, c.depth);
        }
        EXPECT_EQ(Mark(*doc), c.mark);
        EXPECT_EQ(doc->m_nUndoIndex, c.index);
        EXPECT_EQ(doc->m_nRedoLimit, c.redoLimit);
    }
}

// Long random runs at every depth: the marks stay in range, an undo is
// taken back exactly by a redo and the other way round, a step that is
// dropped again changes nothing, and the document gives back every block.
TEST_F(UndoTest, RandomRunsKeepTheirPromises) {
    const size_t blocks = MemBlockCount();
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int depth = 1; depth <= 10; ++depth) {
        SCOPED_TRACE(testing::Message() << "depth " << depth);
        SetUndoDepth(depth);
        auto doc = SmallDocument();
        int edits = 0;
        for (int step = 0; step < 300; ++step) {
            const int mark = Mark(*doc), index = doc->m_nUndoIndex;
            switch (next(4)) {
            case 0:
                Edit(*doc, ++edits % 250 + 1);
                EXPECT_FALSE(doc->CanRedo());
                break;
            case 1:
                if (doc->CanUndo()) {
                    doc->OnEditUndo();
                    ASSERT_TRUE(doc->CanRedo());
                    doc->OnEditRedo();
                    EXPECT_EQ(Mark(*doc), mark) << step;
                    doc->OnEditUndo();
                }
                break;
            case 2:
                if (doc->CanRedo()) {
                    doc->OnEditRedo();
                    ASSERT_TRUE(doc->CanUndo());
                    doc->OnEditUndo();
                    EXPECT_EQ(Mark(*doc), mark) << step;
                    doc->OnEditRedo();
                }
                break;
            case 3:
                if (doc->CanRedo()) break;  // a new step would end the redo steps
                ASSERT_EQ(doc->PushUndo(578, "模糊", true), 1);
                doc->DropUndoStep();
                // At full depth the oldest step made room and stays gone.
                EXPECT_EQ(doc->m_nUndoIndex, index < depth ? index : depth - 1);
                EXPECT_EQ(Mark(*doc), mark);
                break;
            }
            ASSERT_GE(doc->m_nUndoIndex, -1);
            ASSERT_LE(doc->m_nUndoIndex, depth);
            ASSERT_LE(doc->m_nRedoLimit, depth);
        }
    }
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(UndoTest, RepeatedMovesFormOneStep) {
    auto doc = SmallDocument();
    doc->m_rcSelection = {10, 10, 20, 20};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(doc->PushUndo(566, "左移动", true), 1) << i;
        doc->m_rcSelection.left -= 1;
        doc->m_rcSelection.right -= 1;
    }
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    // Another direction is a step of its own.
    ASSERT_EQ(doc->PushUndo(565, "上移动", true), 1);
    doc->m_rcSelection.top -= 1;
    EXPECT_EQ(doc->m_nUndoIndex, 1);

    doc->OnEditUndo();
    EXPECT_EQ(doc->m_rcSelection.left, 5);
    EXPECT_EQ(doc->m_rcSelection.top, 10);
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_rcSelection.left, 10);
    EXPECT_EQ(doc->m_rcSelection.right, 20);
    EXPECT_FALSE(doc->CanUndo());

    // Moves without merging never join.
    ASSERT_EQ(doc->PushUndo(567, "右移动", false), 1);
    ASSERT_EQ(doc->PushUndo(567, "右移动", false), 1);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
}

TEST_F(UndoTest, NewEditEndsRedo) {
    auto doc = SmallDocument();
    Edit(*doc, 1);
    Edit(*doc, 2);
    Edit(*doc, 3);
    doc->OnEditUndo();
    doc->OnEditUndo();
    EXPECT_TRUE(doc->CanRedo());
    Edit(*doc, 7);
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_FALSE(doc->QueryCommandState(framework::ID_EDIT_REDO).IsEnabled());
    doc->OnEditRedo();
    EXPECT_EQ(Mark(*doc), 7);
    doc->OnEditUndo();
    EXPECT_EQ(Mark(*doc), 1);

    // So does a move that joins the step below a redo step.
    doc = SmallDocument();
    ASSERT_EQ(doc->PushUndo(566, "左移动", true), 1);
    Edit(*doc, 1);
    doc->OnEditUndo();
    ASSERT_TRUE(doc->CanRedo());
    ASSERT_EQ(doc->PushUndo(566, "左移动", true), 1);
    EXPECT_FALSE(doc->CanRedo());
}

TEST_F(UndoTest, RepeatSwitchesBeforeAndAfter) {
    auto doc = SmallDocument();
    Edit(*doc, 1);
    Edit(*doc, 2);
    for (int expected : {1, 2, 1, 2}) {
        EXPECT_TRUE(doc->ExecuteCommand(CPelmarkDoc::kRepeatId));
        EXPECT_EQ(Mark(*doc), expected);
    }
}

TEST_F(UndoTest, UndoAfterSaveMarksModified) {
    auto doc = SmallDocument();
    Edit(*doc, 1);
    doc->OnEditUndo();
    EXPECT_FALSE(doc->IsModified());  // back to the state as it was made
    doc->OnEditRedo();
    EXPECT_TRUE(doc->IsModified());

    doc->SetModifiedFlag(false);  // saved
    doc->ResetUndoFlags();
    doc->OnEditUndo();
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditRedo();
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(UndoTest, ImageSizeStepThenAnyEditClearsHistory) {
    auto doc = SmallDocument();
    Edit(*doc, 1);
    // What the image size command does: a step, then the old image and
    // layers are kept and replaced by ones of the new size.
    doc->m_nUndoIndex = doc->m_nRedoLimit = -1;
    ASSERT_EQ(doc->PushUndo(126, "改变图象尺寸", true), 1);
    doc->m_hPrevImage = doc->m_hImage;
    doc->m_hPrevLayers = doc->m_hLayers;
    doc->m_nPrevWidth = 8;
    doc->m_nPrevHeight = 4;
    doc->m_nPrevLayerCount = 2;
    doc->m_hLayers = {};
    doc->m_hImage = CreateDib8(16, 6, 0);
    doc->m_nLayerCount = 0;
    ASSERT_TRUE(document::CreateLayer(*doc, 0, 1));
    ASSERT_TRUE(doc->InitDib());

    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nWidth, 8);
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(Mark(*doc), 1);
    doc->OnEditRedo();
    EXPECT_EQ(doc->m_nWidth, 16);
    EXPECT_EQ(doc->m_nLayerCount, 1);
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nLayerCount, 2);
    doc->OnEditRedo();
    EXPECT_EQ(doc->m_nLayerCount, 1);

    size_t blocks = MemBlockCount();
    Edit(*doc, 5);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_nRedoLimit, 0);
    EXPECT_EQ(doc->m_hPrevImage, nullptr);
    EXPECT_LT(MemBlockCount(), blocks);  // the kept image and layers are gone
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nWidth, 16);
    EXPECT_EQ(Mark(*doc), 0);
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(UndoTest, MenuTexts) {
    auto doc = SmallDocument();
    struct Expect {
        const char* undo;
        bool undoOn;
        const char* redo;
        bool redoOn;
        bool repeatOn;
    };
    auto check = [&](const Expect& e) {
        framework::CmdUI undo = doc->QueryCommandState(framework::ID_EDIT_UNDO);
        framework::CmdUI redo = doc->QueryCommandState(framework::ID_EDIT_REDO);
        EXPECT_EQ(undo.Text().value_or(""), QString::fromUtf8(e.undo));
        EXPECT_EQ(undo.IsEnabled(), e.undoOn);
        EXPECT_EQ(redo.Text().value_or(""), QString::fromUtf8(e.redo));
        EXPECT_EQ(redo.IsEnabled(), e.redoOn);
        EXPECT_EQ(doc->QueryCommandState(CPelmarkDoc::kRepeatId).IsEnabled(), e.repeatOn);
    };
    check({"还原(&U)\tCtrl+Z", false, "重做(&R)\tCtrl+R", false, false});
    Edit(*doc, 1, 554, "钢笔");
    check({"还原(&U) 钢笔\tCtrl+Z", true, "重做(&R)\tCtrl+R", false, true});
    Edit(*doc, 2, 555, "直线");
    check({"还原(&U) 直线\tCtrl+Z", true, "重做(&R)\tCtrl+R", false, true});
    doc->OnEditUndo();
    check({"还原(&U) 钢笔\tCtrl+Z", true, "撤消(&U) 直线\tCtrl+R", true, true});
    doc->OnEditUndo();
    check({"还原(&U)\tCtrl+Z", false, "撤消(&U) 钢笔\tCtrl+R", true, true});
}

TEST_F(UndoTest, ShortMemoryChangesNothing) {
    auto doc = SmallDocument();
    Edit(*doc, 1);
    Edit(*doc, 2);
    doc->OnEditUndo();
    const int index = doc->m_nUndoIndex, limit = doc->m_nRedoLimit;
    const document::SnapshotBlock kept = doc->m_UndoSlots[1].layers[0];
    const size_t blocks = MemBlockCount();

    MemSetLimit(MemBytesInUse());
    EXPECT_EQ(doc->PushUndo(554, "钢笔", true), 0);
    doc->DropUndoStep();  // the failed step opened nothing to drop
    doc->OnEditUndo();
    doc->OnEditRedo();  // needs no memory
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"工作内存不足", "工作内存不足"}));
    EXPECT_EQ(Mark(*doc), 2);
    doc->OnEditUndo();
    EXPECT_EQ(Mark(*doc), 1);
    EXPECT_EQ(doc->m_nUndoIndex, index);
    EXPECT_EQ(doc->m_nRedoLimit, limit);
    EXPECT_EQ(doc->m_UndoSlots[1].layers[0], kept);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(UndoTest, CopyThatCannotBeMadeChangesNothing) {
    // Layers larger than the probe's block: the probe passes, the copies
    // do not fit.
    auto doc = DocumentWithImage(2048, 2048);
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(document::CreateLayer(*doc, i, 1));
    Edit(*doc, 1);
    Pixel(doc->m_hLayers[5]) = 9;  // one layer differs from the snapshot
    const size_t blocks = MemBlockCount();
    MemSetLimit(MemBytesInUse() + size_t(2048) * 2048 * 8 + 4096);
    EXPECT_EQ(doc->PushUndo(554, "钢笔", true), 1);  // two new layer copies fit
    for (int i = 0; i < 9; ++i) Pixel(doc->m_hLayers[size_t(i)], 1) = 3;
    EXPECT_EQ(doc->PushUndo(554, "钢笔", true), 0);  // nine do not
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(doc->m_nUndoIndex, 1);
    EXPECT_EQ(doc->m_nRedoLimit, 1);
    EXPECT_EQ(MemBlockCount(), blocks + 2);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"工作内存不足"});
}

TEST_F(UndoTest, DropTakesBackOnlyItsOwnStep) {
    auto doc = SmallDocument();
    Edit(*doc, 1);
    ASSERT_EQ(doc->PushUndo(578, "模糊", true), 1);
    doc->DropUndoStep();
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_nRedoLimit, 0);
    doc->DropUndoStep();  // twice: the older step stays
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    doc->OnEditUndo();
    EXPECT_EQ(Mark(*doc), 0);
    doc->DropUndoStep();  // after an undo nothing is dropped either
    EXPECT_EQ(doc->m_nRedoLimit, 1);
    EXPECT_TRUE(doc->CanRedo());
}

TEST_F(UndoTest, SnapshotsShareUnchangedBlocksAndNothingLive) {
    auto doc = SmallDocument();
    Pixel(doc->m_hLayers[1]) = 40;
    Edit(*doc, 1);
    Edit(*doc, 2);
    const auto& s = doc->m_UndoSlots;
    EXPECT_EQ(s[0].layers[1], s[1].layers[1]);  // layer 1 did not change
    EXPECT_NE(s[0].layers[0], s[1].layers[0]);
    EXPECT_EQ(s[0].mask, s[1].mask);
    EXPECT_EQ(s[0].layers[2], nullptr);
    for (int i = 0; i < 2; ++i)
        for (MemHandle live : {doc->m_hLayers[0], doc->m_hLayers[1], doc->m_hMask})
            for (const auto* block : {&s[size_t(i)].layers[0], &s[size_t(i)].layers[1],
                                      &s[size_t(i)].mask})
                EXPECT_NE((*block)->handle(), live);

    // A restore gives the step's state; changing the live layers afterwards
    // leaves the snapshots as they were.
    doc->OnEditUndo();
    EXPECT_EQ(Mark(*doc), 1);
    Pixel(doc->m_hLayers[0]) = 99;
    Pixel(doc->m_hLayers[1]) = 99;
    doc->OnEditUndo();
    EXPECT_EQ(Mark(*doc), 0);
    EXPECT_EQ(Pixel(doc->m_hLayers[1]), 40);
    doc->OnEditRedo();
    EXPECT_EQ(Mark(*doc), 99);
    EXPECT_EQ(Pixel(doc->m_hLayers[1]), 99);
    doc->OnEditRedo();
    EXPECT_EQ(Mark(*doc), 2);
    EXPECT_EQ(Pixel(doc->m_hLayers[1]), 40);
}

TEST_F(UndoTest, RestoreBringsBackTheLayerTableAndValues) {
    auto doc = SmallDocument();
    doc->m_nColor = 5;
    doc->m_nToolId = 554;
    document::GetProgramEditState().toolIndex = 3;
    ASSERT_EQ(doc->PushUndo(225, "合并所有层", true), 1);
    MemFree(doc->m_hLayers[1]);
    doc->m_hLayers[1] = nullptr;
    doc->m_nLayerCount = 1;
    doc->m_nColor = 7;
    doc->m_nToolId = 555;
    document::GetProgramEditState().toolIndex = 4;
    doc->m_hFloatImage = MemAlloc(100);

    doc->OnEditUndo();
    EXPECT_NE(doc->m_hLayers[1], nullptr);
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(doc->m_nColor, 5);
    EXPECT_EQ(doc->m_nToolId, 554);
    EXPECT_EQ(document::GetProgramEditState().toolIndex, 3);
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    doc->OnEditRedo();
    EXPECT_EQ(doc->m_hLayers[1], nullptr);
    EXPECT_EQ(doc->m_nLayerCount, 1);
    EXPECT_EQ(doc->m_nColor, 7);
    EXPECT_NE(doc->m_hFloatImage, nullptr);
}

TEST_F(UndoTest, PaletteStepsRenewThePalette) {
    struct Case {
        int32_t action;
        bool paletteBarTold;
    };
    for (Case c : {Case{237, true}, Case{690, true}, Case{706, true}, Case{554, false}}) {
        SCOPED_TRACE(c.action);
        auto doc = SmallDocument();
        SetDibPaletteEntry(doc->m_hImage, 3, 10, 20, 30, 40);
        ASSERT_EQ(doc->PushUndo(c.action, "换色", true), 1);
        SetDibPaletteEntry(doc->m_hImage, 3, 1, 2, 3, 4);
        recording->messages.clear();
        doc->OnEditUndo();
        EXPECT_EQ(EntryOf(doc->m_hImage, 3), 0x280A141Eu);
        bool told = false;
        for (auto [message, wparam] : recording->messages)
            told = told || (message == WM_PALETTEBAR_UPDATE && wparam == 3);
        EXPECT_EQ(told, c.paletteBarTold);
    }
}

TEST_F(UndoTest, DestructionFreesEverySnapshot) {
    const size_t blocks = MemBlockCount();
    const size_t bytes = MemBytesInUse();
    {
        auto doc = SmallDocument();
        doc->m_hFloatImage = MemAlloc(64);
        doc->m_hLayerBackup = MemAlloc(64);
        for (int i = 1; i <= 14; ++i) Edit(*doc, i);
        doc->OnEditUndo();
        doc->OnEditUndo();
        doc->OnEditRedo();
    }
    EXPECT_EQ(MemBlockCount(), blocks);
    EXPECT_EQ(MemBytesInUse(), bytes);
}

struct ModeCase {
    int32_t from;
    int32_t mode;
    int32_t toolId;
    int32_t prevToolId;
};

TEST_F(UndoTest, EditModeSwitchesTools) {
    const ModeCase cases[] = {
        {553, 554, 554, 553},
        {554, 551, 551, 554},
        {551, 551, 551, 551},
        {551, 566, 551, 553},  // a move with nothing floating
    };
    for (const ModeCase& c : cases) {
        auto doc = SmallDocument();
        doc->SetEditMode(c.from);
        doc->m_nPrevToolId = 553;
        doc->SetEditMode(c.mode);
        EXPECT_EQ(doc->m_nToolId, c.toolId) << c.mode;
        EXPECT_EQ(doc->m_nPrevToolId, c.prevToolId) << c.mode;
        EXPECT_FALSE(doc->CanUndo());
    }
}

TEST_F(UndoTest, ClearLayerIsOneStep) {
    auto doc = SmallDocument();
    doc->m_nEditLayer = 1;
    Pixel(doc->m_hLayers[1], 0) = 4;
    Pixel(doc->m_hLayers[1], 31) = 5;
    doc->SetEditMode(560);
    EXPECT_EQ(Pixel(doc->m_hLayers[1], 0), 0);
    EXPECT_EQ(Pixel(doc->m_hLayers[1], 31), 0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->m_nToolId, CPelmarkDoc::kHandToolId);
    doc->OnEditUndo();
    EXPECT_EQ(Pixel(doc->m_hLayers[1], 0), 4);
    EXPECT_EQ(Pixel(doc->m_hLayers[1], 31), 5);
}

TEST_F(UndoTest, DeleteSelectionPutsBackTheLayer) {
    auto doc = SmallDocument();
    doc->m_hLayerBackup = DuplicateGlobal(doc->m_hLayers[0]);
    Pixel(doc->m_hLayers[0], 2) = 8;  // the lifted area, cleared
    doc->m_hFloatImage = MemAlloc(100);
    doc->m_rcSelection = {1, 1, 3, 3};
    Pixel(doc->m_hMask, 0) = 0xFF;
    doc->SetEditMode(571);
    EXPECT_EQ(Pixel(doc->m_hLayers[0], 2), 0);
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_rcSelection.right, 0);
    EXPECT_EQ(Pixel(doc->m_hMask, 0), 0);
    doc->OnEditUndo();
    EXPECT_EQ(Pixel(doc->m_hLayers[0], 2), 8);
    EXPECT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_rcSelection.right, 3);
}

}  // namespace
}  // namespace doctest

namespace doctest {
namespace {

// Two alpha steps over a palette whose entries start with alphas of their
// own: every undo and redo gives each entry the alpha of that state.
TEST_F(UndoTest, AlphaStepsRestoreTheirOwnAlphas) {
    auto doc = SmallDocument();
    for (int i = 0; i < 256; ++i) SetDibPaletteEntry(doc->m_hImage, i, uint8_t(i), 1, 2, uint8_t(255 - i));
    auto alphas = [&] {
        std::vector<int> a;
        for (int i = 0; i < 256; ++i) a.push_back(int(EntryOf(doc->m_hImage, i) >> 24));
        return a;
    };
    const std::vector<int> start = alphas();
    ASSERT_TRUE(document::SetPaletteAlpha(*doc, 100));
    const std::vector<int> first = alphas();
    ASSERT_TRUE(document::SetPaletteAlpha(*doc, 7));
    const std::vector<int> second = alphas();
    EXPECT_EQ(first, std::vector<int>(256, 100));
    EXPECT_EQ(second, std::vector<int>(256, 7));
    // Each step keeps its pairs.
    ASSERT_TRUE(doc->m_UndoSlots[0].alphaPairs && doc->m_UndoSlots[1].alphaPairs);
    EXPECT_EQ((*doc->m_UndoSlots[0].alphaPairs)[10], (std::array<int32_t, 2>{245, 100}));
    EXPECT_EQ((*doc->m_UndoSlots[1].alphaPairs)[10], (std::array<int32_t, 2>{100, 7}));

    doc->OnEditUndo();
    EXPECT_EQ(alphas(), first);
    doc->OnEditUndo();
    EXPECT_EQ(alphas(), start);
    doc->OnEditRedo();
    EXPECT_EQ(alphas(), first);
    doc->OnEditRedo();
    EXPECT_EQ(alphas(), second);
    doc->OnEditUndo();
    EXPECT_EQ(alphas(), first);
    doc->OnEditRedo();
    EXPECT_EQ(alphas(), second);
    EXPECT_EQ(EntryOf(doc->m_hImage, 10) & 0xFFFFFFu, 0x0A0102u);
}

TEST_F(UndoTest, ApplyAlphaTableReadsTheMemberOfTheRedoMode) {
    auto doc = SmallDocument();
    document::AlphaPairs pairs{};
    for (int i = 0; i < 256; ++i) pairs[size_t(i)] = {i, 255 - i};
    SetDibPaletteEntry(doc->m_hImage, 4, 9, 8, 7, 0);
    for (int mode : {0, 1}) {
        doc->m_bRedoMode = mode;
        recording->messages.clear();
        doc->ApplyAlphaTable(pairs);
        EXPECT_EQ(EntryOf(doc->m_hImage, 4), (uint32_t(mode ? 251 : 4) << 24) | 0x090807u) << mode;
        EXPECT_EQ(recording->messages.back().first, uint32_t(WM_PALETTEBAR_UPDATE));
        EXPECT_EQ(recording->messages.back().second, WinWParam(3));
    }
}

}  // namespace
}  // namespace doctest
