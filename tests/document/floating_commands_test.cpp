// The floating selection's commands of the edit mode as undo steps: mirror,
// flip, the one-pixel moves that join one step, and the release when the
// selection tool is left.
#include <gtest/gtest.h>

#include <vector>

#include "doc_fixture.h"
#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/selection_mask_doc.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace doctest {
namespace {

std::vector<uint8_t> Bytes(MemHandle h) {
    MemLockGuard lock(h);
    return lock ? std::vector<uint8_t>(lock.get(), lock.get() + lock.size()) : std::vector<uint8_t>{};
}

// Everything a floating-selection step changes.
struct FloatState {
    std::vector<uint8_t> layer, floatImage, floatMask, mask;
    DibRect selection, target, maskBytes, maskPixels;
    int32_t toolId;
    bool operator==(const FloatState& o) const {
        auto same = [](const DibRect& a, const DibRect& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        return layer == o.layer && floatImage == o.floatImage && floatMask == o.floatMask &&
               mask == o.mask && same(selection, o.selection) && same(target, o.target) &&
               same(maskBytes, o.maskBytes) && same(maskPixels, o.maskPixels) && toolId == o.toolId;
    }
};
FloatState StateOf(const CPelmarkDoc& doc) {
    return {Bytes(doc.m_hLayers[0]), Bytes(doc.m_hFloatImage), Bytes(doc.m_hFloatMask),
            Bytes(doc.m_hMask),      doc.m_rcSelection,        doc.m_rcFloatTarget,
            doc.m_rcFloatMaskBytes,  doc.m_rcFloatMaskPixels,  doc.m_nToolId};
}

class FloatingCommandsTest : public DocTest {
protected:
    // A 12 x 9 document with distinct pixels, the selection tool current and
    // an uneven selection (a rectangle less its top-left pixel) lifted.
    std::unique_ptr<CPelmarkDoc> Lifted() {
        auto doc = DocumentWithImage(12, 9);
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        {
            MemLockGuard lock(doc->m_hLayers[0]);
            for (size_t i = LAYER_HEADER_SIZE; i < lock.size(); ++i) lock.get()[i] = uint8_t(i * 7);
        }
        doc->m_nToolId = 551;
        document::ClearMask(*doc);
        document::MaskFillRect(*doc, 3, 2, 8, 6);
        {
            document::LockedMask m(*doc, doc->m_hMask);
            m.bits().Row(2)[0] &= uint8_t(~(0x80 >> 3));
        }
        DibRect r = document::MaskBoundingRect(*doc);
        document::LiftSelection(*doc, r);
        document::LiftFloatingMask(*doc, r.left, r.top, r.right, r.bottom);
        doc->m_rcFloatTarget = doc->m_rcSelection;
        doc->m_hLayerBackup = DuplicateGlobal(doc->m_hLayers[0]);
        return doc;
    }
};

TEST_F(FloatingCommandsTest, RepeatedMovesJoinOneStepAndUndoAtOnce) {
    auto doc = Lifted();
    FloatState before = StateOf(*doc);
    for (int i = 0; i < 3; ++i) doc->SetEditMode(document::kFloatLeft);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[0].label, "左移动");
    EXPECT_NE(StateOf(*doc), before);
    EXPECT_EQ(doc->m_nToolId, 551);  // a command, not a tool switch
    EXPECT_TRUE(doc->IsModified());
    doc->OnEditUndo();
    EXPECT_EQ(StateOf(*doc), before);
}

TEST_F(FloatingCommandsTest, EachDirectionIsAStepOfItsOwn) {
    struct Press {
        int mode;
        const char* text;
    };
    const Press presses[] = {{565, "上移动"}, {565, "上移动"}, {567, "右移动"}, {568, "下移动"},
                             {568, "下移动"}, {566, "左移动"}, {563, "水平翻转"}, {564, "上下反转"},
                             {564, "上下反转"}};
    auto doc = Lifted();
    std::vector<FloatState> states{StateOf(*doc)};  // states[k]: after k steps
    std::vector<std::string> labels;
    for (const Press& p : presses) {
        bool joins = !labels.empty() && labels.back() == p.text && p.mode >= 565;
        doc->SetEditMode(p.mode);
        if (joins) {
            states.back() = StateOf(*doc);
        } else {
            labels.push_back(p.text);
            states.push_back(StateOf(*doc));
        }
    }
    ASSERT_EQ(labels.size(), 7u);
    ASSERT_EQ(doc->m_nUndoIndex, 6);
    for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(doc->m_UndoSlots[i].label, labels[i]);
    // Undo walks back through every state, masks, floating image and
    // rectangles included.
    for (size_t k = labels.size(); k >= 1; --k) {
        doc->OnEditUndo();
        ASSERT_EQ(StateOf(*doc), states[k - 1]) << "after undoing step " << k;
    }
}

TEST_F(FloatingCommandsTest, LeavingTheSelectionToolReleasesTheFloatingSelection) {
    auto doc = Lifted();
    doc->m_bPasted = 1;
    document::OffsetFloating(*doc, 2, 1);
    FloatState before = StateOf(*doc);
    doc->SetEditMode(553);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, 705);
    EXPECT_EQ(doc->m_UndoSlots[0].label, "选取解除");
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_hFloatMask, nullptr);
    EXPECT_TRUE(document::RectEmpty(doc->m_rcSelection));
    EXPECT_EQ(doc->m_bPasted, 0);
    EXPECT_EQ(doc->m_nToolId, 553);
    EXPECT_EQ(doc->m_nPrevToolId, 551);
    // The pixels went down at the moved place, through the floating mask.
    {
        MemLockGuard lock(doc->m_hLayers[0]);
        auto at = [&](int x, int y) {
            return lock.get()[LAYER_HEADER_SIZE + size_t(9 - 1 - y) * dib::LayerRowBytes(12) + size_t(x)];
        };
        auto original = [](int x, int y) {
            return uint8_t((LAYER_HEADER_SIZE + size_t(9 - 1 - y) * dib::LayerRowBytes(12) + size_t(x)) * 7);
        };
        EXPECT_EQ(at(5 + 1, 3 + 1), original(4, 3));
        EXPECT_EQ(at(5, 3), original(5, 3));  // under the masked-out corner: left as it was
    }
    doc->OnEditUndo();
    EXPECT_EQ(StateOf(*doc), before);
    EXPECT_EQ(doc->m_bPasted, 1);
}

TEST_F(FloatingCommandsTest, KeepFloatAndCommandsWithoutAFloatingImage) {
    auto doc = Lifted();
    doc->SetEditMode(570, true);
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    EXPECT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_nToolId, 570);

    auto empty = DocumentWithImage(8, 8);
    ASSERT_TRUE(document::CreateLayer(*empty, 0, 1));
    empty->m_nToolId = 551;
    for (int mode = 563; mode <= 568; ++mode) empty->SetEditMode(mode);
    empty->SetEditMode(553);
    EXPECT_EQ(empty->m_nUndoIndex, -1);
    EXPECT_EQ(empty->m_nToolId, 553);
}

}  // namespace
}  // namespace doctest
