// The colour-reduction dialog driven by control id on a real document.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "dialogs/reduce_colors_dlg.h"
#include "doc_fixture.h"
#include "document/layer_factory.h"
#include "imaging/dib.h"
#include "plugin_api/plugin_messages.h"

namespace doctest {
namespace {

using Dlg = CReduceColorsDlg;
using framework::IDCANCEL;
using framework::IDOK;

class ReduceColorsDlgTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        recording = UseRecordingFrame();
    }

    // A 16 x 16 document with two layers using `own` colours of its own
    // (entries 0..own-1, none a reserved colour), or only 808080 (entry 255)
    // when `own` is 0; with `reserved` 808080 is used too.
    std::unique_ptr<CPelmarkDoc> Document(int own, bool reserved = false) {
        auto doc = DocumentWithImage(16, 16);
        for (int i = 0; i < own; ++i) SetDibPaletteEntry(doc->m_hImage, i, uint8_t(1 + i), 3, 77, 0);
        SetDibPaletteEntry(doc->m_hImage, 255, 0x80, 0x80, 0x80, 0);
        for (int l = 0; l < 2; ++l) {
            EXPECT_TRUE(document::CreateLayer(*doc, l, 1));
            uint8_t* p = LayerPixels(*doc, l);
            for (int i = 0; i < 256; ++i) p[i] = own ? uint8_t((i + l * 256) % own) : 255;
            if (reserved) p[0] = 255;
            MemUnlock(doc->m_hLayers[size_t(l)]);
        }
        return doc;
    }
    // The pixels of a layer, locked (the caller unlocks).
    static uint8_t* LayerPixels(CPelmarkDoc& doc, int l) {
        return static_cast<uint8_t*>(MemLock(doc.m_hLayers[size_t(l)])) + LAYER_HEADER_SIZE;
    }
    static std::vector<uint8_t> Copy(CPelmarkDoc& doc, int l) {
        uint8_t* p = LayerPixels(doc, l);
        std::vector<uint8_t> out(p, p + 256);
        MemUnlock(doc.m_hLayers[size_t(l)]);
        return out;
    }

    // Runs the dialog: `drive` works it, then OK is clicked; a dialog still
    // open afterwards is cancelled. The dialog's result.
    int Run(CPelmarkDoc* doc, int current, std::function<void(Dlg&)> drive, Dlg::Services services = {}) {
        framework::ScopedModalDriver driver([&](framework::Dialog& d) {
            auto& dlg = dynamic_cast<Dlg&>(d);
            if (drive) drive(dlg);
            dlg.ClickButton(IDOK);
        });
        Dlg dlg(doc, current);
        dlg.SetServices(std::move(services));
        return dlg.DoModal();
    }

    static std::function<void(Dlg&)> Choose(int radio, int count) {
        return [radio, count](Dlg& d) {
            d.ClickButton(radio);
            d.SetDlgItemInt(Dlg::kTargetId, count);
        };
    }

    RecordingFrame* recording = nullptr;
};

TEST_F(ReduceColorsDlgTest, ShowsTheCurrentCountAndEnablesTheCountByMode) {
    auto doc = Document(40);
    std::vector<bool> enabled;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(Dlg::kCurrentCountId), QStringLiteral("当前颜色数量：　40"));
        EXPECT_EQ(d.GetDlgItemInt(Dlg::kTargetId), 40);
        EXPECT_EQ(d.GetCheckedRadioButton(Dlg::kOptimiseId, Dlg::kGrey2Id), Dlg::kOptimiseId);
        for (int id : {Dlg::kGrey256Id, Dlg::kKeepReservedId, Dlg::kGrey2Id, Dlg::kOptimiseId}) {
            d.ClickButton(id);
            enabled.push_back(d.GetDlgItem(Dlg::kTargetId)->isEnabled());
        }
        d.ClickButton(IDCANCEL);
    });
    Dlg dlg(doc.get(), 40);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, true}));
}

TEST_F(ReduceColorsDlgTest, RefusedCountsKeepTheDialogOpenWithTheirMessage) {
    struct Case {
        int own;
        int radio;
        int count;
        const char* message;
    };
    const Case cases[] = {
        {40, Dlg::kOptimiseId, 0, "减色后的颜色数量，请大于 0。"},
        {40, Dlg::kOptimiseId, -3, "减色后的颜色数量，请大于 0。"},
        {40, Dlg::kOptimiseId, 41, "减色后的颜色数量，请低于现在的颜色数量。"},
        {40, Dlg::kKeepReservedId, 19, "减色后的颜色数量，请取 20　～　60 的颜色数量"},
        {40, Dlg::kKeepReservedId, 61, "减色后的颜色数量，请取 20　～　60 的颜色数量"},
        {0, Dlg::kKeepReservedId, 19, "减色后的颜色数量，请取 20。"},
        {0, Dlg::kKeepReservedId, 21, "减色后的颜色数量，请取 20。"},
        {250, Dlg::kKeepReservedId, 300, "减色后的颜色数量，请取 20　～　256 的颜色数量"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.radio << " " << c.count);
        auto doc = Document(c.own);
        boxes.Clear();
        std::vector<uint8_t> layer = Copy(*doc, 1);
        EXPECT_EQ(Run(doc.get(), 40, Choose(c.radio, c.count)), IDCANCEL) << "the dialog stayed open";
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(doc->CanUndo());
        EXPECT_EQ(Copy(*doc, 1), layer);
    }
}

TEST_F(ReduceColorsDlgTest, ReducesWithAnUndoStepAndTellsThePaletteBar) {
    struct Case {
        int radio;
        int count;
        size_t atMost;  // own colours left in the layers
    };
    for (Case c : {Case{Dlg::kOptimiseId, 16, 16}, Case{Dlg::kKeepReservedId, 20, 0},
                   Case{Dlg::kKeepReservedId, 30, 10}}) {
        SCOPED_TRACE(testing::Message() << c.radio << " " << c.count);
        auto doc = Document(40, true);
        boxes.Clear();
        recording->messages.clear();
        int syncs = 0;
        EXPECT_EQ(Run(doc.get(), 41, Choose(c.radio, c.count), {{}, {}, [&] { ++syncs; }}), IDOK);
        EXPECT_TRUE(boxes.Requests().empty());
        EXPECT_TRUE(doc->CanUndo());
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(syncs, 1);
        bool told = false;
        for (auto [message, wparam] : recording->messages)
            told = told || (message == WM_PALETTEBAR_UPDATE && wparam == 3);
        EXPECT_TRUE(told);
        std::set<uint8_t> used;
        for (int l = 0; l < 2; ++l) {
            std::vector<uint8_t> pixels = Copy(*doc, l);
            used.insert(pixels.begin(), pixels.end());
        }
        size_t own = 0;
        for (uint8_t i : used) own += c.radio == Dlg::kOptimiseId || (i >= 10 && i <= 245);
        EXPECT_LE(own, c.atMost);
        if (c.radio == Dlg::kKeepReservedId) {
            EXPECT_EQ(Copy(*doc, 0)[0], 7) << "808080 takes 7";
        }
        doc->OnEditUndo();
        uint8_t r = 0, g = 0, b = 0;
        GetDibPaletteEntry(doc->m_hImage, 1, &r, &g, &b, nullptr);
        EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{2, 3, 77})) << "undo brings the palette back";
        EXPECT_EQ(Copy(*doc, 0)[3], 3);
    }
}

TEST_F(ReduceColorsDlgTest, TheSameCountDeletesUnusedColoursInstead) {
    auto doc = Document(40);
    int deleted = 0, refreshed = 0;
    EXPECT_EQ(Run(doc.get(), 40, Choose(Dlg::kOptimiseId, 40), {[&] { ++deleted; }, [&] { ++refreshed; }, {}}),
              IDOK);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(ReduceColorsDlgTest, GreyTwoLevelsTakesNoCount) {
    auto doc = Document(3);
    SetDibPaletteEntry(doc->m_hImage, 0, 128, 128, 128, 0);
    SetDibPaletteEntry(doc->m_hImage, 1, 130, 130, 130, 0);
    SetDibPaletteEntry(doc->m_hImage, 2, 0, 0, 0, 0);
    EXPECT_EQ(Run(doc.get(), 3, Choose(Dlg::kGrey2Id, -7)), IDOK);
    EXPECT_TRUE(boxes.Requests().empty());
    std::vector<uint8_t> pixels = Copy(*doc, 0);
    EXPECT_EQ(pixels[0], 0) << "(128, 128, 128) is not above 128";
    EXPECT_EQ(pixels[1], 1) << "(130, 130, 130) is";
    EXPECT_EQ(pixels[2], 0);
    EXPECT_TRUE(doc->CanUndo());
}

}  // namespace
}  // namespace doctest
