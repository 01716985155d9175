// The document's underlay: taking a picture as the underlay, reading one
// through the file-format plug-ins, its commands, and a palette read from an
// image file. The script plug-in hands over what a "*.kvs" file tells it to.
#include <cstring>

#include "document/document_host.h"
#include "document/layer_factory.h"
#include "document/palette_from_image.h"
#include "document/working_palette.h"
#include "framework/cmd_ui.h"
#include "framework/program_globals.h"
#include "host_fixture.h"
#include "imaging/dib.h"
#include "imaging/dib_access.h"
#include "imaging/dib_convert.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"

namespace hosttest {
namespace {

constexpr int kW = 4, kH = 3;

// An 8-bit picture whose pixel (x, y) is 1 + x + 10 y and whose entry i is
// red i, green 2i, blue 3i (mod 256).
MemHandle Picture(int width, int height) {
    MemHandle h = CreateDib8(width, height, 0);
    for (int i = 0; i < 256; ++i) SetDibPaletteEntry(h, i, uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0);
    dib::LockedDib d(h);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) d.Row(height - 1 - y, d.geo().PaddedRow())[x] = uint8_t(1 + x + 10 * y);
    return h;
}

int PixelAt(MemHandle h, int x, int y) {
    dib::LockedDib d(h);
    return d.Row(d.geo().height - 1 - y, d.geo().PaddedRow())[x];
}

int BitsOf(MemHandle h) {
    dib::LockedDib d(h);
    return d ? d.geo().bitCount : 0;
}

bool SamePalette(const WorkingPalette& a, const WorkingPalette& b) {
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

uint8_t DrawModeOf(MemHandle layer) {
    MemLockGuard lock(layer);
    return lock.as<LayerHeader>()->drawMode;
}

class UnderlayTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        UsePlugins({"Script.FLT", "StopIn.FLT"});
    }
    // A kW x kH document with two layers of draw mode 0.
    std::unique_ptr<CPelmarkDoc> TwoLayers() {
        auto doc = DocumentWithImage(kW, kH, 3);
        EXPECT_TRUE(document::CreateLayer(*doc, 1, 1));
        doc->m_nEditLayer = 1;
        for (MemHandle layer : {doc->m_hLayers[0], doc->m_hLayers[1]}) {
            MemLockGuard lock(layer);
            lock.as<LayerHeader>()->drawMode = LAYER_DRAW_NORMAL;
        }
        doc->SetModifiedFlag(false);
        return doc;
    }
    // What a failed underlay leaves as it was.
    static void ExpectNoUnderlay(const CPelmarkDoc& doc) {
        EXPECT_EQ(doc.m_hUnderlay, nullptr);
        EXPECT_EQ(doc.m_bHasUnderlay, 0);
        EXPECT_EQ(doc.m_bUnderlayCheck, 0);
        EXPECT_EQ(doc.m_bUnderlayState, 0);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(DrawModeOf(doc.m_hLayers[0]), LAYER_DRAW_NORMAL);
        EXPECT_EQ(DrawModeOf(doc.m_hLayers[1]), LAYER_DRAW_NORMAL);
    }
    QString Script(const char* text) { return WriteFile(QString("u%1.kvs").arg(++files_), text); }
    int files_ = 0;
};

TEST_F(UnderlayTest, APictureBecomesTheUnderlayByItsSizeAndTheAnswer) {
    struct Case {
        const char* name;
        int width, height;
        bool fourBit;
        int converted;
        int answer;  // to the size question; 0: none asked
        int result, bits, underWidth, underHeight;
    };
    const Case cases[] = {
        {"same size", kW, kH, false, 0, 0, 0, 8, kW, kH},
        {"4-bit, same size", kW, kH, true, 0, 0, 0, 8, kW, kH},
        {"larger, Yes", 6, 5, false, 0, MB_ANSWER_YES, 1, 24, kW, kH},
        {"smaller, Yes", 2, 2, false, 0, MB_ANSWER_YES, 1, 24, kW, kH},
        {"larger, No", 6, 5, false, 0, MB_ANSWER_NO, 0, 8, kW, kH},
        {"smaller, No", 2, 2, false, 0, MB_ANSWER_NO, 0, 8, kW, kH},
        {"converted, larger, No", 6, 5, false, 1, MB_ANSWER_NO, 0, 8, 6, 5},
        {"converted, larger, Yes", 6, 5, false, 1, MB_ANSWER_YES, 1, 24, kW, kH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.Clear();
        auto doc = TwoLayers();
        MemHandle picture = Picture(c.width, c.height);
        if (c.fourBit) {
            // Only 16 colours in use: the 4-bit form of the same picture.
            for (int i = 16; i < 256; ++i) SetDibPaletteEntry(picture, i, 0, 0, 0, 0);
            dib::LockedDib d(picture);
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) d.Row(y, d.geo().PaddedRow())[x] &= 15;
        }
        if (c.fourBit) {
            MemHandle packed = PackDibTo4Bit(picture);
            ASSERT_NE(packed, picture);
            MemFree(picture);
            picture = packed;
        }
        if (c.answer) boxes.Script({c.answer});
        EXPECT_EQ(doc->SetUnderlay(picture, c.converted), c.result);
        if (c.answer) {
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Requests()[0].text, "图象尺寸适合吗？");
            EXPECT_EQ(boxes.Requests()[0].caption, "轮廓尺寸");
            EXPECT_EQ(boxes.Requests()[0].type & MB_BTN_MASK, unsigned(MB_BTN_YESNOCANCEL));
        } else {
            EXPECT_EQ(boxes.Count(), 0u);
        }
        ASSERT_NE(doc->m_hUnderlay, nullptr);
        EXPECT_EQ(BitsOf(doc->m_hUnderlay), c.bits);
        EXPECT_EQ(doc->m_nUnderlayWidth, c.underWidth);
        EXPECT_EQ(doc->m_nUnderlayHeight, c.underHeight);
        {
            dib::LockedDib under(doc->m_hUnderlay);
            EXPECT_EQ(under.geo().width, c.underWidth);
            EXPECT_EQ(under.geo().height, c.underHeight);
        }
        if (c.bits == 8) {
            // Clipped or padded with 0, never scaled; the picture's own colours.
            for (int y = 0; y < c.underHeight; ++y)
                for (int x = 0; x < c.underWidth; ++x) {
                    int expected = x < c.width && y < c.height ? 1 + x + 10 * y : 0;
                    if (c.fourBit) expected &= 15;
                    ASSERT_EQ(PixelAt(doc->m_hUnderlay, x, y), expected) << x << "," << y;
                }
            uint8_t r = 0, g = 0, b = 0;
            ASSERT_TRUE(GetDibPaletteEntry(doc->m_hUnderlay, 5, &r, &g, &b, nullptr));
            EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({5, 10, 15}));
            EXPECT_TRUE(doc->m_pUnderlayPalette.has_value());
        } else {
            // A 24-bit picture keeps no palette and is still the underlay.
            EXPECT_FALSE(doc->m_pUnderlayPalette.has_value());
        }
        EXPECT_EQ(doc->m_bHasUnderlay, 1);
        EXPECT_EQ(doc->m_bUnderlayCheck, 1);
        EXPECT_EQ(doc->m_bUnderlayState, 1);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(DrawModeOf(doc->m_hLayers[0]), LAYER_DRAW_INDEX0_CLEAR);
        EXPECT_EQ(DrawModeOf(doc->m_hLayers[1]), LAYER_DRAW_INDEX0_CLEAR);
        doc.reset();
        EXPECT_EQ(MemBlockCount(), blocksAtStart);
    }
}

TEST_F(UnderlayTest, CancelAProbeFailureOrNoPictureChangeNothing) {
    auto doc = TwoLayers();
    boxes.Script({MB_ANSWER_CANCEL});
    EXPECT_EQ(doc->SetUnderlay(Picture(6, 5), 0), 0);
    EXPECT_EQ(boxes.Count(), 1u);
    ExpectNoUnderlay(*doc);

    boxes.Clear();
    MemHandle picture = Picture(kW, kH);
    size_t limit = MemLimit();
    MemSetLimit(MemBytesInUse() + (1u << 20));
    EXPECT_EQ(doc->SetUnderlay(picture, 0), 0);
    MemSetLimit(limit);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"工作内存不足"});
    EXPECT_FALSE(MemIsValid(picture));
    ExpectNoUnderlay(*doc);

    boxes.Clear();
    EXPECT_EQ(doc->SetUnderlay(nullptr, 0), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    ExpectNoUnderlay(*doc);
    doc.reset();
    EXPECT_EQ(MemBlockCount(), blocksAtStart);
}

TEST_F(UnderlayTest, ANewUnderlayReplacesTheOldOne) {
    auto doc = TwoLayers();
    doc->SetUnderlay(Picture(kW, kH), 0);
    MemHandle first = doc->m_hUnderlay;
    doc->SetUnderlay(Picture(kW, kH), 0);
    EXPECT_NE(doc->m_hUnderlay, first);
    EXPECT_FALSE(MemIsValid(first));
    doc.reset();
    EXPECT_EQ(MemBlockCount(), blocksAtStart);
}

TEST_F(UnderlayTest, TheCommandsFollowTheUnderlayTheLayersAndTheLocks) {
    using D = CPelmarkDoc;
    const framework::CommandId ids[] = {D::kUnderlayFromFileId, 32932, D::kUnderlayDeleteId, D::kUnderlayShowId};
    auto enabled = [&](CPelmarkDoc& doc) {
        std::vector<framework::CommandId> on;
        for (framework::CommandId id : ids)
            if (doc.QueryCommandState(id).IsEnabled()) on.push_back(id);
        return on;
    };
    {
        CPelmarkDoc empty;
        EXPECT_EQ(enabled(empty), std::vector<framework::CommandId>{});
    }
    auto doc = TwoLayers();
    // The scanner's source is not loaded: its command stays off.
    EXPECT_EQ(enabled(*doc), std::vector<framework::CommandId>{D::kUnderlayFromFileId});
    doc->SetUnderlay(Picture(kW, kH), 0);
    EXPECT_EQ(enabled(*doc), (std::vector<framework::CommandId>{D::kUnderlayDeleteId, D::kUnderlayShowId}));
    frame->LockLayerCommands();
    EXPECT_EQ(enabled(*doc), std::vector<framework::CommandId>{});
    document::Host().ReleaseCommandLocks();

    // Hidden in the layer palette, then shown by the command.
    doc->m_bUnderlayCheck = 0;
    EXPECT_TRUE(doc->ExecuteCommand(D::kUnderlayShowId));
    EXPECT_EQ(doc->m_bUnderlayState, 2);
    EXPECT_EQ(doc->m_bUnderlayCheck, 1);

    EXPECT_TRUE(doc->ExecuteCommand(D::kUnderlayDeleteId));
    EXPECT_EQ(doc->m_hUnderlay, nullptr);
    EXPECT_EQ(doc->m_bHasUnderlay, 0);
    EXPECT_EQ(doc->m_bUnderlayState, 0);
    EXPECT_EQ(enabled(*doc), std::vector<framework::CommandId>{D::kUnderlayFromFileId});
    doc.reset();
    EXPECT_EQ(MemBlockCount(), blocksAtStart);
}

TEST_F(UnderlayTest, TheFileCommandReadsThroughThePromptAndKeepsTheLastOpenedPath) {
    QString path = Script("image 4 3 256 8 pixels 7");
    SetLastOpenedPath("/pictures/before.gif");
    auto doc = TwoLayers();
    dialogs.Script(dialogs::FileDialogAnswer::Ok({path}));
    EXPECT_TRUE(doc->ExecuteCommand(CPelmarkDoc::kUnderlayFromFileId));
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_TRUE(dialogs.Requests()[0].open);
    EXPECT_EQ(GetLastOpenedPath(), "/pictures/before.gif");
    EXPECT_TRUE(BoxTexts().empty());
    ASSERT_NE(doc->m_hUnderlay, nullptr);
    EXPECT_EQ(PixelAt(doc->m_hUnderlay, 3, 2), 7);

    // Cancelled: nothing happens.
    auto other = TwoLayers();
    dialogs.Script(dialogs::FileDialogAnswer::Cancel());
    EXPECT_TRUE(other->ExecuteCommand(CPelmarkDoc::kUnderlayFromFileId));
    ExpectNoUnderlay(*other);
}

TEST_F(UnderlayTest, AFailedReadShowsItsMessageOnceAndChangesNothing) {
    const std::string blocks = " layer 4 3 channel 1 underlay 4 3";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"code 2" + blocks, {"文件无法读取。"}},
        {"image 4 3 256 8 code 4" + blocks, {"文件无法读取。"}},
        {"code 0", {"文件无法读取。"}},                        // no picture
        {"image 4 3 256 8 code 6" + blocks, {}},                 // cancelled in the plug-in
        {"image 4 3 256 8 badheader" + blocks, {"文件格式不正确。"}},
        {"image 4 3 256 8 shortlayer 4 3", {"文件格式不正确。"}},  // the only layer does not fit
    };
    for (const auto& [script, messages] : cases) {
        SCOPED_TRACE(script);
        boxes.Clear();
        auto doc = TwoLayers();
        QString path = Script(script.c_str());
        MemHandle picture = doc->ReadUnderlayFile(path);
        EXPECT_EQ(picture, nullptr);
        EXPECT_EQ(BoxTexts(), messages);
        doc->SetUnderlay(picture, 0);
        ExpectNoUnderlay(*doc);
        doc.reset();
        EXPECT_EQ(MemBlockCount(), blocksAtStart);
    }

    auto doc = TwoLayers();
    for (auto [name, message] : {std::pair{"picture.xyz", "/PICTURE.XYZ\n 是不支持的文件格式。"},
                                 std::pair{"stopped.stp", "文件无法读取。"}}) {
        SCOPED_TRACE(name);
        boxes.Clear();
        QString path = WriteFile(name, "image 4 3 256 8");
        EXPECT_EQ(doc->ReadUnderlayFile(path), nullptr);
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_TRUE(QString::fromStdString(BoxTexts()[0]).endsWith(QString::fromUtf8(message)));
    }
    ExpectNoUnderlay(*doc);
}

TEST_F(UnderlayTest, TheLayersThePluginHandsOverAreComposedAndEveryBlockIsFreed) {
    // The script's layers are visible, of draw mode 0 and all 0: composed,
    // they cover the picture's pixels.
    auto doc = TwoLayers();
    size_t before = MemBlockCount();
    QString path = Script("image 4 3 256 8 pixels 9 layer 4 3 layer 4 3 shortlayer 4 3 channel 2 underlay 5 5");
    MemHandle picture = doc->ReadUnderlayFile(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"文件格式不正确。"});  // the short layer
    EXPECT_EQ(PixelAt(picture, 0, 0), 0);
    EXPECT_EQ(MemBlockCount(), before + 1);
    MemFree(picture);

    // Without layers the picture stands as read; 2 colours become 8 bit.
    picture = doc->ReadUnderlayFile(Script("image 4 3 256 8 pixels 9 channel 1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(PixelAt(picture, 2, 1), 9);
    MemFree(picture);
    picture = doc->ReadUnderlayFile(Script("image 8 3 2 1"));
    EXPECT_EQ(BitsOf(picture), 8);
    MemFree(picture);
    EXPECT_EQ(MemBlockCount(), before);
}

class PaletteFromImageTest : public UnderlayTest {
protected:
    void SetUp() override {
        UnderlayTest::SetUp();
        for (WorkingPaletteEntry& e : GetWorkingPalette()) e = {7, 7, 7, 7};
        start_ = GetWorkingPalette();
    }
    void TearDown() override {
        ClearWorkingPalette();
        UnderlayTest::TearDown();
    }
    WorkingPalette start_;
};

TEST_F(PaletteFromImageTest, A16Or256ColourImageFillsTheWorkingPalette) {
    // The script's table: entry i is blue i, green i, red 255 - i.
    struct Case {
        const char* script;
        int filled;
    };
    const Case cases[] = {
        {"image 4 3 256 8", 256},
        {"image 4 3 16 4", 16},
        {"image 4 3 256 4", 16},  // the table holds only 16 entries
        {"image 4 3 16 8", 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        GetWorkingPalette() = start_;
        EXPECT_EQ(document::LoadPaletteFromImageFile(Script(c.script)), 1);
        EXPECT_TRUE(BoxTexts().empty());
        const WorkingPalette& p = GetWorkingPalette();
        for (int i = 0; i < 256; ++i) {
            const WorkingPaletteEntry& e = p[size_t(i)];
            std::vector<int> got{e.red, e.green, e.blue, e.alpha};
            std::vector<int> want = i < c.filled ? std::vector<int>{255 - i, i, i, 0} : std::vector<int>{0, 0, 0, 0};
            ASSERT_EQ(got, want) << "entry " << i;
        }
    }
    EXPECT_EQ(MemBlockCount(), blocksAtStart);
}

TEST_F(PaletteFromImageTest, AnyOtherImageLeavesTheWorkingPaletteAlone) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"image 4 3 2 1", {"指定的图象是 256 色以上的图象"}},
        {"image 4 3 65536 24", {"指定的图象是 256 色以上的图象"}},
        {"code 2", {"文件无法读取。"}},
        {"image 4 3 256 8 code 6", {}},
        {"image 4 3 256 8 badheader", {"文件格式不正确。"}},
        {"image 4 3 256 8 layer 4 3 channel 1 code 2", {"文件无法读取。"}},
    };
    for (const auto& [script, messages] : cases) {
        SCOPED_TRACE(script);
        boxes.Clear();
        EXPECT_EQ(document::LoadPaletteFromImageFile(Script(script)), 0);
        EXPECT_EQ(BoxTexts(), messages);
        EXPECT_TRUE(SamePalette(GetWorkingPalette(), start_));
        EXPECT_EQ(MemBlockCount(), blocksAtStart);
    }
    boxes.Clear();
    EXPECT_EQ(document::LoadPaletteFromImageFile(WriteFile("a.stp", "image 4 3 256 8")), 0);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"文件无法读取。"});
    EXPECT_TRUE(SamePalette(GetWorkingPalette(), start_));
}

}  // namespace
}  // namespace hosttest
