// The scanner commands of the editor through the real scanner library and
// its "test" backend.
#include <QApplication>
#include <QComboBox>
#include <QListWidget>

#include <array>
#include <cstring>
#include <set>
#include <QCoreApplication>

#include "app_fixture.h"
#include "document/pelmark_doc.h"
#include "framework/cmd_ui.h"
#include "imaging/dib_access.h"
#include "imaging/dib_create.h"
#include "imaging/dib_geometry.h"
#include "platform/message_box_recorder.h"
#include "sane_backend.h"
#include "twain/device_list_dlg.h"
#include "twain/source_dialog.h"

namespace apptest {
namespace {

using kvtest::Picture;
using twain::CSourceDialog;

class ScannerTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(backend.ok());
        ASSERT_TRUE(Start());
        ASSERT_TRUE(app->m_twain.IsLoaded());
        frame = app->Frame();
    }

    bool Enabled(framework::CommandId id) { return frame->QueryCommandState(id).IsEnabled(); }
    CSourceDialog* Dialog() const { return app->m_twain.SourceDialog(); }
    CPelmarkDoc* ActiveDoc() const { return dynamic_cast<CPelmarkDoc*>(frame->GetActiveDocument()); }

    // Sets the source's window as the user would, then 扫描.
    void ScanWith(const QString& mode, const QString& depth, const char* picture,
                  const QString& resolution = "55") {
        ASSERT_NE(Dialog(), nullptr);
        for (auto [id, text] : {std::pair{CSourceDialog::kModeId, mode}, std::pair{CSourceDialog::kDepthId, depth}}) {
            auto* combo = Dialog()->Item<QComboBox>(id);
            combo->setCurrentIndex(combo->findText(text));
            Dialog()->NotifyControl(id, framework::Notify::SelChange);
        }
        Dialog()->SetDlgItemText(CSourceDialog::kResolutionId, resolution);
        Dialog()->SetDlgItemText(CSourceDialog::kBottomRightXId, "10");
        Dialog()->SetDlgItemText(CSourceDialog::kBottomRightYId, "8");
        ASSERT_EQ(app->m_twain.SetOptionText("test-picture", picture), 0);
        Press(CSourceDialog::kScanId);
    }
    void Press(int id) {
        Dialog()->ClickButton(id);
        QCoreApplication::sendPostedEvents();
    }
    static Picture FrontEnd(const QString& mode, const QString& depth, const char* picture,
                            const QString& resolution = "55") {
        return kvtest::ScanImage({"--mode", mode, "--depth", depth, "--test-picture", picture,
                                  "--resolution", resolution, "-x", "10", "-y", "8"});
    }

    kvtest::SaneTestBackend backend;
    TestMainFrame* frame = nullptr;
};

TEST_F(ScannerTest, CommandsFollowTheLibraryTheLocksAndTheDocument) {
    EXPECT_TRUE(Enabled(CPelmarkApp::kTwainAcquireId));
    EXPECT_TRUE(Enabled(CPelmarkApp::kTwainSelectSourceId));
    EXPECT_FALSE(Enabled(CPelmarkApp::kUnderlayTwainId));  // no document
    app->OnScanAsNewFile(CreateDib8(64, 48, 0));
    ASSERT_NE(ActiveDoc(), nullptr);
    EXPECT_TRUE(Enabled(CPelmarkApp::kUnderlayTwainId));
    ActiveDoc()->m_bHasUnderlay = 1;
    EXPECT_FALSE(Enabled(CPelmarkApp::kUnderlayTwainId));
    ActiveDoc()->m_bHasUnderlay = 0;
    frame->LockAllCommands();
    EXPECT_FALSE(Enabled(CPelmarkApp::kTwainAcquireId));
    EXPECT_FALSE(Enabled(CPelmarkApp::kTwainSelectSourceId));
    EXPECT_FALSE(Enabled(CPelmarkApp::kUnderlayTwainId));
    frame->ClearCommandLocks();
    // Without the library every scanner command stays disabled.
    app->m_twain.Unload();
    app->m_twain.SetLibraryName("libkavolt-no-such-scanner.so.1");
    EXPECT_EQ(app->m_twain.Load(), 0);
    EXPECT_FALSE(Enabled(CPelmarkApp::kTwainAcquireId));
    EXPECT_FALSE(Enabled(CPelmarkApp::kTwainSelectSourceId));
    EXPECT_FALSE(Enabled(CPelmarkApp::kUnderlayTwainId));
}

TEST_F(ScannerTest, SelectSourceListsBothTestDevices) {
    int rows = 0;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        rows = d.Item<QListWidget>(twain::CDeviceListDlg::kListId)->count();
        d.Item<QListWidget>(twain::CDeviceListDlg::kListId)->setCurrentRow(1);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kTwainSelectSourceId));
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(app->m_twain.Identity().name, "test:1");
}

TEST_F(ScannerTest, AColourScanIsReducedAfterTheQuestion) {
    platform::MessageBoxRecorder boxes({MB_ANSWER_OK});
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kTwainAcquireId));
    EXPECT_FALSE(frame->isEnabled());
    WinHandle owner = app->m_twain.MessageOwner();
    ScanWith("Color", "8", "Color pattern");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "减色开始。");
    EXPECT_EQ(boxes.Requests()[0].owner, owner);  // the main window is disabled then
    EXPECT_TRUE(app->ScanArrived());
    EXPECT_TRUE(frame->isEnabled());
    ASSERT_EQ(app->Documents().size(), 1u);
    CPelmarkDoc* doc = ActiveDoc();
    ASSERT_NE(doc, nullptr);
    Picture expected = FrontEnd("Color", "8", "Color pattern");
    EXPECT_EQ(doc->m_nWidth, expected.width);
    EXPECT_EQ(doc->m_nHeight, expected.height);
    dib::LockedDib image(doc->m_hImage);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.geo().bitCount, 8);
    EXPECT_EQ(image.geo().entries, 256);
    // The colours of the picture are few: the reduction keeps them all, and
    // the first layer holds the picture.
    EXPECT_TRUE(kvtest::DibPicture(doc->m_hImage) == expected);
    ASSERT_GT(doc->m_nLayerCount, 0);
    const uint8_t* layer = static_cast<const uint8_t*>(MemLock(doc->m_hLayers[0])) + LAYER_HEADER_SIZE;
    size_t layerRow = dib::LayerRowBytes(doc->m_nWidth), row = image.geo().DisplayRow();
    for (int y = 0; y < doc->m_nHeight; ++y)
        ASSERT_EQ(0, std::memcmp(layer + layerRow * y, image.Row(y, row), size_t(doc->m_nWidth))) << y;
    MemUnlock(doc->m_hLayers[0]);
}

TEST_F(ScannerTest, CancelAtTheQuestionMakesNothingAndKeepsNothing) {
    platform::MessageBoxRecorder boxes({MB_ANSWER_CANCEL});
    size_t blocks = MemBlockCount();
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kTwainAcquireId));
    ScanWith("Color", "16", "Grid");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "减色开始。");
    EXPECT_TRUE(app->Documents().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(ScannerTest, TooLittleMemoryForTheReduction) {
    platform::MessageBoxRecorder boxes({MB_ANSWER_OK});
    Picture expected = FrontEnd("Color", "8", "Color pattern");
    size_t blocks = MemBlockCount();
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kTwainAcquireId));
    size_t saved = MemLimit();
    // Room for the scan, none for the reduction's 8-bit image.
    MemSetLimit(MemBytesInUse() + DIB_INFO_HEADER_SIZE + dib::PaddedRowBytes(expected.width, 24) * expected.height);
    ScanWith("Color", "8", "Color pattern");
    MemSetLimit(saved);
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[1].text, "减色所需要的内存不足。");
    EXPECT_TRUE(app->Documents().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(ScannerTest, AOneBitScanBecomesAnEightBitDocumentWithTwoColours) {
    platform::MessageBoxRecorder boxes;
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kTwainAcquireId));
    ScanWith("Gray", "1", "Color pattern");
    EXPECT_EQ(boxes.Count(), 0u);
    CPelmarkDoc* doc = ActiveDoc();
    ASSERT_NE(doc, nullptr);
    dib::LockedDib image(doc->m_hImage);
    ASSERT_TRUE(image);
    EXPECT_EQ(image.geo().bitCount, 8);
    uint8_t r = 0, g = 0, b = 0;
    ASSERT_TRUE(GetDibPaletteEntry(doc->m_hImage, 0, &r, &g, &b, nullptr));
    EXPECT_EQ((std::array{r, g, b}), (std::array<uint8_t, 3>{255, 255, 255}));
    ASSERT_TRUE(GetDibPaletteEntry(doc->m_hImage, 1, &r, &g, &b, nullptr));
    EXPECT_EQ((std::array{r, g, b}), (std::array<uint8_t, 3>{0, 0, 0}));
    Picture expected = FrontEnd("Gray", "1", "Color pattern");
    ASSERT_EQ(image.geo().width, expected.width);
    size_t row = image.geo().DisplayRow();
    std::set<uint8_t> indices;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x) {
            uint8_t index = image.Row(expected.height - 1 - y, row)[x];
            indices.insert(index);
            ASSERT_EQ(index, expected.pixels[size_t(y) * expected.width + x].r == 0 ? 1 : 0) << x << "," << y;
        }
    EXPECT_EQ(indices, (std::set<uint8_t>{0, 1}));
}

TEST_F(ScannerTest, CancelInTheSourceWindowBringsTheMainWindowBack) {
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kTwainAcquireId));
    ASSERT_NE(Dialog(), nullptr);
    Dialog()->activateWindow();
    Press(framework::IDCANCEL);
    EXPECT_TRUE(frame->isEnabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), frame)
        << (QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className() : "none");
    EXPECT_TRUE(app->Documents().empty());
    EXPECT_FALSE(app->m_twain.IsManagerOpen());
}

TEST_F(ScannerTest, AnUnderlayScanGoesToTheUnderlay) {
    app->OnScanAsNewFile(CreateDib8(64, 48, 0));
    std::vector<Picture> underlays;
    app->underlayScanned = [&](MemHandle image) {
        underlays.push_back(kvtest::DibPicture(image));
        MemFree(image);
    };
    platform::MessageBoxRecorder boxes;
    EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kUnderlayTwainId));
    ScanWith("Color", "8", "Color pattern");
    EXPECT_EQ(boxes.Count(), 0u);  // an underlay keeps its colours
    ASSERT_EQ(underlays.size(), 1u);
    EXPECT_TRUE(underlays[0] == FrontEnd("Color", "8", "Color pattern"));
    EXPECT_EQ(app->Documents().size(), 1u);
    EXPECT_TRUE(frame->isEnabled());
}

// Scans of every 24-bit row remainder (and grey) copied into a picture of the
// document's size keep their rows.
TEST_F(ScannerTest, ConvertAcquiredImageKeepsTheScannedRows) {
    app->OnScanAsNewFile(CreateDib8(64, 48, 0));
    struct Case {
        const char* mode;
        const char* depth;
        const char* resolution;
    };
    for (const Case& c : {Case{"Color", "8", "50"}, Case{"Color", "8", "52"}, Case{"Color", "8", "55"},
                          Case{"Color", "16", "57"}, Case{"Gray", "8", "55"}}) {
        std::vector<MemHandle> scans;
        app->underlayScanned = [&](MemHandle image) { scans.push_back(image); };
        EXPECT_TRUE(frame->ExecuteCommand(CPelmarkApp::kUnderlayTwainId));
        ScanWith(c.mode, c.depth, "Color pattern", c.resolution);
        ASSERT_EQ(scans.size(), 1u);
        Picture expected = FrontEnd(c.mode, c.depth, "Color pattern", c.resolution);
        MemHandle converted = app->ConvertAcquiredImage(scans[0]);
        ASSERT_NE(converted, nullptr);
        Picture whole = kvtest::DibPicture(converted);
        MemFree(converted);
        EXPECT_EQ(whole.width, 64);
        EXPECT_EQ(whole.height, 48);
        EXPECT_TRUE(kvtest::Crop(whole, expected.width, expected.height) == expected)
            << c.mode << " " << c.depth << " " << c.resolution;
    }
}

}  // namespace
}  // namespace apptest
