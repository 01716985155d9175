// The plug-in host reaches the window around the documents only through
// the plug-in frame: here a recording one stands in, with no main frame.
#include "host_fixture.h"
#include "platform/memory.h"
#include "plugin_host/plugin_frame.h"
#include "recording_plugin_frame.h"

namespace hosttest {
namespace {

using plugin_host::PluginFrame;

class PluginFrameOpen : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        app->SetMainFrame(nullptr);
        frame = nullptr;
        UsePlugins({"Script.FLT"});
    }
    std::unique_ptr<CPelmarkDoc> Open(const char* script, bool& opened) {
        QString path = WriteFile("f.kvs", script);
        auto doc = std::make_unique<CPelmarkDoc>();
        opened = doc->OnOpenDocument(path);
        return doc;
    }
};

TEST_F(PluginFrameOpen, AnOpenedFileGoesToTheLayerAndPositionPalettes) {
    RecordingPluginFrame recorder;
    bool opened = false;
    auto doc = Open("image 6 5 256 8", opened);
    ASSERT_TRUE(opened);
    // No layers came with the file: layer 0 is made and the list rebuilt.
    EXPECT_EQ(recorder.told,
              (std::vector<std::string>{"probe 0", "rebuild layers", "show layers", "show position"}));
    EXPECT_EQ(recorder.docs, std::vector<CPelmarkDoc*>(3, doc.get()));
}

TEST_F(PluginFrameOpen, MemoryTheFrameCannotFindStopsTheOpenAndLeavesNothing) {
    RecordingPluginFrame recorder;
    recorder.memoryThere = false;
    bool opened = true;
    auto doc = Open("image 6 5 256 8", opened);
    EXPECT_FALSE(opened);
    EXPECT_EQ(recorder.told, std::vector<std::string>{"probe 0"});
    EXPECT_TRUE(BoxTexts().empty());  // the frame tells the user itself
    EXPECT_EQ(doc->m_hImage, nullptr);
    EXPECT_EQ(doc->m_nLayerCount, 0);
    doc.reset();
    EXPECT_EQ(MemBlockCount(), blocksAtStart);
}

TEST_F(PluginFrameOpen, WithoutAFrameTheOpenGoesOnAlone) {
    {
        RecordingPluginFrame gone;
    }
    ASSERT_FALSE(PluginFrame::IsInstalled());
    bool opened = false;
    auto doc = Open("image 6 5 256 8", opened);
    ASSERT_TRUE(opened);
    EXPECT_EQ(doc->m_nLayerCount, 1);
    EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
}  // namespace hosttest
