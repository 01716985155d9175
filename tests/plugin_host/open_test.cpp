// Opening documents through file-format plug-ins loaded for real. The
// script plug-in hands over what a "*.kvs" file tells it to.
#include "host_fixture.h"
#include "document/doc_globals.h"
#include "document/image_limits.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/memory.h"
#include "plugin_host/file_io_state.h"

namespace hosttest {
namespace {

using OpenTest = HostTest;

class ScriptOpen : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        UsePlugins({"Script.FLT"});
    }
    // Opens a script file in a fresh document; `opened` gets the result.
    std::unique_ptr<CPelmarkDoc> Open(const char* script, bool* opened = nullptr) {
        QString path = WriteFile(QString("f%1.kvs").arg(++files_), script);
        auto doc = std::make_unique<CPelmarkDoc>();
        bool ok = doc->OnOpenDocument(path);
        if (opened) *opened = ok;
        return doc;
    }
    int files_ = 0;
};

TEST_F(ScriptOpen, EveryResultCodeShowsItsMessageAndLeavesNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"code 1", "文件无法打开。"},   {"code 2", "文件读取失败。"},
        {"code 3", "文件写入失败。"},   {"code 4", "内存不足。"},
        {"code 5", "文件格式不正确。"}, {"code 8", "文件无法读取。"},
        {"code 7", "文件无法读取。"},   {"code 0", "文件无法读取。"},  // no image
        {"image 4 3 256 8 code 2", "文件读取失败。"},
    };
    for (auto [script, message] : cases) {
        boxes.Clear();
        bool opened = true;
        auto doc = Open(script, &opened);
        EXPECT_FALSE(opened) << script;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{message}) << script;
        EXPECT_EQ(boxes.Requests()[0].owner, nullptr);
        EXPECT_EQ(boxes.Requests()[0].type, unsigned(MB_BTN_OK | MB_ICON_INFORMATION));
        EXPECT_EQ(doc->m_hImage, nullptr);
        EXPECT_EQ(doc->m_nLayerCount, 0);
        EXPECT_EQ(doc->m_hLayers[0], nullptr);
        doc.reset();
        EXPECT_EQ(MemBlockCount(), blocksAtStart) << script;
    }
}

TEST_F(ScriptOpen, AnOpenTheUserCancelledShowsNothingAndLeavesNothing) {
    bool opened = true;
    auto doc = Open("image 4 3 256 8 code 6", &opened);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(doc->m_hImage, nullptr);
    doc.reset();
    EXPECT_EQ(MemBlockCount(), blocksAtStart);
}

TEST_F(ScriptOpen, AFileWithoutLayersGetsLayerZero) {
    bool opened = false;
    auto doc = Open("image 6 5 256 8", &opened);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(doc->m_nWidth, 6);
    EXPECT_EQ(doc->m_nHeight, 5);
    ASSERT_EQ(doc->m_nLayerCount, 1);
    MemLockGuard layer(doc->m_hLayers[0]);
    EXPECT_STREQ(layer.as<LayerHeader>()->name, "层 000");
    EXPECT_EQ(doc->m_nEditLayer, 0);
    EXPECT_EQ(doc->m_nColorMode, 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), FilePath("f1.kvs"));
    EXPECT_EQ(doc->m_szPath, FilePath("f1.kvs"));
    EXPECT_EQ(doc->m_bFileLocked, 1);
}

TEST_F(ScriptOpen, LayersAreTakenInOrderWithTheCurrentOne) {
    struct Case {
        const char* script;
        int count;
        int edit;
    };
    const Case cases[] = {
        {"image 4 3 256 8 layer 4 3 layer 4 3 layer 4 3 editlayer 2", 3, 2},
        {"image 4 3 256 8 layer 4 3 nolayer layer 4 3 editlayer 2", 2, 1},  // packed
        {"image 4 3 256 8 layer 4 3 layer 4 3 editlayer 7", 2, 0},          // no such layer
        {"image 4 3 256 8 layer 4 3 nolayer layer 4 3 editlayer 1", 2, 0},  // the gap
    };
    for (const Case& c : cases) {
        bool opened = false;
        auto doc = Open(c.script, &opened);
        ASSERT_TRUE(opened) << c.script;
        EXPECT_EQ(doc->m_nLayerCount, c.count) << c.script;
        EXPECT_EQ(doc->m_nEditLayer, c.edit) << c.script;
        for (int i = 0; i < c.count; ++i) EXPECT_NE(doc->m_hLayers[size_t(i)], nullptr);
        MemLockGuard first(doc->m_hLayers[0]);
        EXPECT_STREQ(first.as<LayerHeader>()->name, "file layer 0");
    }
}

TEST_F(ScriptOpen, LayersThatDoNotFitAreRefusedSafely) {
    struct Case {
        const char* script;
        bool opened;
        int layers;
    };
    const Case cases[] = {
        {"image 4 3 256 8 layer 4 3 shortlayer 4 3", true, 1},
        {"image 4 3 256 8 shortlayer 4 3 layer 4 3", true, 1},
        {"image 4 3 256 8 layer 5 3 layer 4 3", true, 1},  // another size
        {"image 4 3 256 8 layer 4 3 sameagain", true, 1},   // one block twice
        {"image 4 3 256 8 shortlayer 4 3", false, 0},
        {"image 64 64 256 8 shortlayer 64 64 shortlayer 64 64", false, 0},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        bool opened = !c.opened;
        auto doc = Open(c.script, &opened);
        EXPECT_EQ(opened, c.opened) << c.script;
        EXPECT_EQ(doc->m_nLayerCount, c.layers) << c.script;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"文件格式不正确。"}) << c.script;
        doc.reset();
        EXPECT_EQ(MemBlockCount(), blocksAtStart) << c.script;
    }
}

TEST_F(ScriptOpen, ImagesAreCheckedBeforeUse) {
    MaxImageSize max = GetMaxImageSize();
    std::string tooWide = "image " + std::to_string(max.width + 1) + " 2 256 8";
    std::string tooHigh = "image 2 " + std::to_string(max.height + 1) + " 256 8";
    std::string sizeText = "画面尺寸 " + std::to_string(max.width) + "x" + std::to_string(max.height) + " 过大。";
    const std::pair<std::string, std::string> cases[] = {
        {tooWide, sizeText},
        {tooHigh, sizeText},
        {"image 4 3 256 8 badheader", "文件格式不正确。"},
        {"image 4 3 256 24", "文件格式不正确。"},  // claims 256 colours, holds 24 bits
    };
    for (const auto& [script, message] : cases) {
        boxes.Clear();
        bool opened = true;
        auto doc = Open(script.c_str(), &opened);
        EXPECT_FALSE(opened) << script;
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{message}) << script;
        EXPECT_EQ(doc->m_hImage, nullptr);
        doc.reset();
        EXPECT_EQ(MemBlockCount(), blocksAtStart) << script;
    }
}

TEST_F(ScriptOpen, WhatThePluginHandedOverIsFreedWhenTheOpenFails) {
    MaxImageSize max = GetMaxImageSize();
    const std::string blocks = " layer 4 3 layer 4 3 sameagain channel 1 channel 3 underlay 4 3";
    std::string tooLarge = "image " + std::to_string(max.width + 1) + " 3 256 8 layer " +
                           std::to_string(max.width + 1) + " 3 channel 1 underlay 4 3";
    struct Case {
        std::string script;
        const char* message;
        bool probeFails;
    };
    const Case cases[] = {
        {"image 4 3 256 8 code 2" + blocks, "文件读取失败。", false},
        {"code 0" + blocks, "文件无法读取。", false},  // no image
        {"image 4 3 256 8" + blocks, "工作内存不足", true},
        {"image 4 3 256 8 badheader" + blocks, "文件格式不正确。", false},
        {tooLarge, nullptr, false},
        {"image 4 3 256 8 shortlayer 4 3 shortlayer 4 3 channel 1 underlay 4 3", "文件格式不正确。", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        boxes.Clear();
        size_t before = MemBlockCount();
        QString path = WriteFile("blocks.kvs", QByteArray::fromStdString(c.script));
        auto doc = std::make_unique<CPelmarkDoc>();
        // The probe asks for far more than the script's blocks need.
        size_t limit = MemLimit();
        if (c.probeFails) MemSetLimit(MemBytesInUse() + (1u << 20));
        bool opened = doc->OnOpenDocument(path);
        MemSetLimit(limit);
        EXPECT_FALSE(opened);
        ASSERT_EQ(boxes.Count(), 1u);
        if (c.message) {
            EXPECT_EQ(BoxTexts()[0], c.message);
        }
        EXPECT_EQ(doc->m_hImage, nullptr);
        EXPECT_EQ(doc->m_nLayerCount, 0);
        EXPECT_EQ(doc->m_nChannelCount, 0);
        EXPECT_EQ(doc->m_hUnderlay, nullptr);
        doc.reset();
        EXPECT_EQ(MemBlockCount(), before);
    }
}

TEST_F(ScriptOpen, ColourCountsSetTheColourMode) {
    struct Case {
        const char* script;
        int colorMode;
        uint16_t lock;
    };
    const Case cases[] = {
        {"image 4 3 256 8", 0, 0},
        {"image 4 3 16 4", 1, 0xFFFE},
        {"image 4 3 2 1", 1, 0xFFFE},  // two colours, entries 16 up empty
    };
    for (const Case& c : cases) {
        bool opened = false;
        auto doc = Open(c.script, &opened);
        ASSERT_TRUE(opened) << c.script;
        EXPECT_EQ(doc->m_nColorMode, c.colorMode) << c.script;
        EXPECT_EQ(doc->m_wPaletteLock, c.lock) << c.script;
        dib::LockedDib image(doc->m_hImage);
        ASSERT_TRUE(image);
        EXPECT_EQ(image.geo().bitCount, 8);
        EXPECT_EQ(image.geo().entries, 256);
    }
}

TEST_F(ScriptOpen, ReductionIsAskedFirst) {
    boxes.Script({MB_ANSWER_CANCEL});
    bool opened = true;
    auto doc = Open("image 4 3 70000 24", &opened);
    EXPECT_FALSE(opened);
    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"减色开始。"});
    EXPECT_EQ(boxes.Requests()[0].type & MB_BTN_MASK, unsigned(MB_BTN_OKCANCEL));
    EXPECT_EQ(doc->m_hImage, nullptr);
}

TEST_F(ScriptOpen, ReducedImageOpensModified) {
    boxes.Script({MB_ANSWER_OK});
    bool opened = false;
    auto doc = Open("image 4 3 70000 24", &opened);
    ASSERT_TRUE(opened);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"减色开始。"});
    dib::LockedDib image(doc->m_hImage);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.geo().bitCount, 8);
    EXPECT_EQ(image.geo().entries, 256);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(ScriptOpen, UnderlayAndChannelsAreKept) {
    bool opened = false;
    auto doc = Open("image 4 3 256 8 underlay 4 3 channel 2", &opened);
    ASSERT_TRUE(opened);
    EXPECT_EQ(doc->m_bHasUnderlay, 1);
    EXPECT_EQ(doc->m_bUnderlayCheck, 1);
    EXPECT_TRUE(doc->m_pUnderlayPalette.has_value());
    EXPECT_EQ(doc->m_nChannelCount, 1);
    EXPECT_NE(doc->m_hChannels[2], nullptr);
}

TEST_F(OpenTest, ExtensionWithoutPluginIsUnsupported) {
    UsePlugins({"Trivial.FLT"});
    auto doc = std::make_unique<CPelmarkDoc>();
    QString path = WriteFile("cat.Gif", "x");
    EXPECT_FALSE(doc->OnOpenDocument(path));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, path.toUpper().toStdString() + "\n 是不支持的文件格式。");
    EXPECT_EQ(boxes.Requests()[0].owner, frame->WindowHandle());
}

TEST_F(OpenTest, EveryOpenClearsTheNoQuestionFlag) {
    UsePlugins({"Script.FLT"});
    document::SetNoReduceQuestion(true);
    auto doc = std::make_unique<CPelmarkDoc>();
    ASSERT_TRUE(doc->OnOpenDocument(WriteFile("a.kvs", "image 2 2 256 8")));
    EXPECT_FALSE(document::IsNoReduceQuestion());
    EXPECT_FALSE(doc->IsModified());
}

}  // namespace
}  // namespace hosttest
