// The document host: documents run their commands without a main frame,
// tell an installed host what changed, follow its answers, and the main
// frame is the host for as long as it lives.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/layer_set_dlg.h"
#include "document/document_host.h"
#include "document/edit_state.h"
#include "document/floating_selection.h"
#include "document/layer_factory.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "frame/main_frame.h"
#include "framework/application.h"
#include "imaging/dib_create.h"
#include "platform/memory.h"
#include "platform/message_box_recorder.h"

namespace doctest {
namespace {

// A host that writes down every notification and answers as a test says.
class RecordingHost : public document::DocumentHost {
public:
    std::vector<std::string> calls;
    const CPelmarkDoc* lastDoc = nullptr;
    bool memory = true;
    bool locked = false;

    bool HasWorkMemory(int) override { return memory; }
    void ReportWorkMemoryShort() override { note("work memory short", nullptr); }
    void ReportOutOfMemory() override { note("out of memory", nullptr); }
    bool CommandsLocked() const override { return locked; }
    void ReleaseCommandLocks() override { note("locks released", nullptr); }
    document::NewImageAnswer AskNewImage(document::NewImageSettings*) override {
        return document::NewImageAnswer::kCancelled;
    }
    framework::View* ActiveView() const override { return nullptr; }
    int ToolSetting(int) override { return 0; }
    void DeclarePluginCommands(framework::CommandTable&, CPelmarkDoc*) override {}
    void DocumentClosing(CPelmarkDoc* doc) override { note("closing", doc); }
    void DocumentCreated(CPelmarkDoc* doc) override { note("created", doc); }
    void LayersChanged(CPelmarkDoc* doc) override { note("layers", doc); }
    void LayerListChanged(CPelmarkDoc* doc) override { note("layer list", doc); }
    void CurrentLayerChanged(CPelmarkDoc* doc, int row) override {
        note("current layer " + std::to_string(row), doc);
    }
    void ImageChanged(CPelmarkDoc* doc) override { note("image", doc); }
    void ImageDrawn(CPelmarkDoc* doc) override { note("drawn", doc); }
    void ImageReplaced(CPelmarkDoc* doc) override { note("image replaced", doc); }
    void PositionChanged(CPelmarkDoc* doc) override { note("position", doc); }
    void PaletteChanged(CPelmarkDoc* doc) override { note("palette", doc); }
    void CurrentColorChanged(CPelmarkDoc* doc) override { note("current colour", doc); }
    void EditStateChanged(CPelmarkDoc* doc) override { note("edit state", doc); }
    void ToolChanged(CPelmarkDoc* doc, int toolIndex) override {
        note("tool " + std::to_string(toolIndex), doc);
    }

private:
    void note(const std::string& what, const CPelmarkDoc* doc) {
        calls.push_back(what);
        if (doc) lastDoc = doc;
    }
};

// An application without a main frame; a test installs its host.
class DocumentHostTest : public ::testing::Test {
protected:
    void TearDown() override { document::SetDocumentHost(nullptr); }

    // A 4 x 2 document with `layers` layers, the middle one current.
    std::unique_ptr<CPelmarkDoc> WithLayers(int layers) {
        auto doc = std::make_unique<CPelmarkDoc>();
        doc->m_hImage = CreateDib8(4, 2, 0);
        EXPECT_TRUE(doc->InitDib());
        for (int i = 0; i < layers; ++i) EXPECT_TRUE(document::CreateLayer(*doc, i, 1));
        doc->m_nEditLayer = layers / 2;
        return doc;
    }

    platform::MessageBoxRecorder boxes;
    framework::Application app;
    RecordingHost host;
};

TEST_F(DocumentHostTest, CommandsRunWithoutAHost) {
    ASSERT_EQ(CMainFrame::Get(), nullptr);
    ASSERT_EQ(document::InstalledDocumentHost(), nullptr);
    auto doc = WithLayers(3);
    doc->OnLayerDelete();
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nLayerCount, 3);
    EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(DocumentHostTest, DeletingALayerTellsTheHost) {
    document::SetDocumentHost(&host);
    auto doc = WithLayers(3);
    host.calls.clear();
    doc->OnLayerDelete();
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"edit state", "edit state", "layers"}));
    EXPECT_EQ(host.lastDoc, doc.get());

    // Undo renews the image, the layers, the tool and the edit state.
    host.calls.clear();
    doc->OnEditUndo();
    EXPECT_EQ(doc->m_nLayerCount, 3);
    ASSERT_GE(host.calls.size(), 4u);
    const std::vector<std::string> tail(host.calls.end() - 4, host.calls.end());
    EXPECT_EQ(tail[0], "image");
    EXPECT_EQ(tail[1], "layers");
    EXPECT_EQ(tail[2].rfind("tool ", 0), 0u);
    EXPECT_EQ(tail[3], "edit state");
}

TEST_F(DocumentHostTest, TheHostsAnswersStopCommands) {
    document::SetDocumentHost(&host);
    auto doc = WithLayers(3);
    // No work memory: no step, the layers stay.
    host.memory = false;
    doc->OnLayerDelete();
    doc->OnLayerNew();
    EXPECT_EQ(doc->m_nLayerCount, 3);
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    // Locked commands: the floating selection cannot become a pattern.
    host.memory = true;
    doc->m_nToolId = 551;
    document::ClearMask(*doc);
    document::MaskFillRect(*doc, 1, 0, 3, 2);
    document::LiftSelection(*doc, document::MaskBoundingRect(*doc));
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    EXPECT_TRUE(document::CanDefinePattern(*doc));
    host.locked = true;
    EXPECT_FALSE(document::CanDefinePattern(*doc));
}

TEST_F(DocumentHostTest, ReleasingTheFloatingSelectionTellsTheHost) {
    document::SetDocumentHost(&host);
    auto doc = WithLayers(1);
    doc->m_nToolId = 551;
    document::ClearMask(*doc);
    document::MaskFillRect(*doc, 0, 0, 2, 2);
    document::LiftSelection(*doc, document::MaskBoundingRect(*doc));
    ASSERT_NE(doc->m_hFloatImage, nullptr);
    host.calls.clear();
    doc->SetEditMode(CPelmarkDoc::kHandToolId);
    EXPECT_EQ(doc->m_hFloatImage, nullptr);
    EXPECT_EQ(doc->m_UndoSlots[0].actionId, document::kReleaseFloatingAction);
    // The step opened (edit state), then the layers and the image.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"edit state", "layers", "image"}));
}

// A host whose new-layer dialog is confirmed as it opens.
class NewLayerHost : public RecordingHost {
public:
    bool RunNewLayerDialog(CPelmarkDoc* doc, int slot) override {
        CLayerSetDlg dlg;
        dlg.SetLayerIndex(slot);
        dlg.SetDocument(doc);
        if (!dlg.ComputeLayerSize()) return false;
        framework::ScopedModalDriver driver([](framework::Dialog& d) { d.ClickButton(framework::IDOK); });
        dlg.DoModal();
        return dlg.GetResult() != 0;
    }
};

TEST_F(DocumentHostTest, ANewLayerWithoutMemoryLeavesNoStep) {
    NewLayerHost newLayerHost;
    document::SetDocumentHost(&newLayerHost);
    auto doc = WithLayers(2);
    // What the step's copy of the document takes.
    size_t before = MemBytesInUse();
    ASSERT_TRUE(doc->PushUndo(225, "probe", true));
    const size_t step = MemBytesInUse() - before;
    doc->DropUndoStep();
    ASSERT_EQ(doc->m_nUndoIndex, -1);
    // The step can be had, the layer of 88 + 8 bytes cannot.
    MemSetLimit(MemBytesInUse() + step + LAYER_HEADER_SIZE);
    newLayerHost.calls.clear();
    doc->OnLayerNew();
    MemSetLimit(MEM_NO_LIMIT);
    EXPECT_EQ(doc->m_nLayerCount, 2);
    EXPECT_EQ(doc->m_nUndoIndex, -1);
    EXPECT_EQ(doc->m_hLayers[2], nullptr);
    EXPECT_NE(std::find(newLayerHost.calls.begin(), newLayerHost.calls.end(), "work memory short"),
              newLayerHost.calls.end());
    // With the memory back the same command makes its layer in one step.
    doc->OnLayerNew();
    EXPECT_EQ(doc->m_nLayerCount, 3);
    EXPECT_EQ(doc->m_nUndoIndex, 0);
}

TEST_F(DocumentHostTest, TheMainFrameIsTheHostWhileItLives) {
    {
        auto* first = new CMainFrame;
        EXPECT_EQ(document::InstalledDocumentHost(), first);
        auto* second = new CMainFrame;
        EXPECT_EQ(document::InstalledDocumentHost(), second);
        // The replaced frame going leaves the newer one in place.
        delete first;
        EXPECT_EQ(document::InstalledDocumentHost(), second);
        delete second;
    }
    EXPECT_EQ(document::InstalledDocumentHost(), nullptr);
    // A new document of a program with a frame starts from the hand tool.
    auto* frame = new CMainFrame;
    app.SetMainFrame(frame);
    document::GetProgramEditState().toolIndex = 5;
    CPelmarkDoc doc;
    EXPECT_EQ(document::GetProgramEditState().toolIndex, 2);
    app.SetMainFrame(nullptr);
    EXPECT_EQ(document::InstalledDocumentHost(), nullptr);
}

}  // namespace
}  // namespace doctest
