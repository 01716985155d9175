// The connection's steps, result codes and library calls.
#include <QCoreApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QTimer>

#include <algorithm>

#include "platform/message_box_recorder.h"
#include "twain/device_list_dlg.h"
#include "twain/scan_dib.h"
#include "twain_test_fixture.h"

namespace kvtest {
namespace {

using twain::CSourceDialog;
using twain::CTwainSource;

TEST(TwainLoad, MissingLibraryOrFunctionsOrSecondLoadFail) {
    CTwainSource source;
    source.SetLibraryName("libkavolt-no-such-scanner.so.1");
    EXPECT_EQ(source.Load(), 0);
    EXPECT_FALSE(source.IsLoaded());
    source.SetLibraryName("libc.so.6");  // there, but without the scanner functions
    EXPECT_EQ(source.Load(), 0);
    EXPECT_FALSE(source.IsLoaded());
    EXPECT_EQ(source.OpenManager(nullptr), twain::kManagerNotBound);
    EXPECT_EQ(source.Acquire(nullptr, nullptr, 0, 0), twain::kManagerNotBound);
    source.SetLibraryName(CTwainSource::kLibraryName);
    EXPECT_EQ(source.Load(), 1);
    EXPECT_EQ(source.Load(), 0);
    EXPECT_TRUE(source.IsLoaded());
}

TEST_F(TwainSourceTest, OpeningTheManagerTwiceGivesItsCodeWithoutACall) {
    EXPECT_EQ(source.OpenManager(window.get()), twain::TWRC_SUCCESS);
    EXPECT_EQ(source.OpenManager(window.get()), twain::kManagerAlreadyOpen);
    EXPECT_EQ(Joined(recorder.calls), "sane_init");
    EXPECT_EQ(source.CloseManager(window.get()), twain::TWRC_SUCCESS);
    EXPECT_EQ(source.CloseManager(window.get()), twain::kManagerNotOpen);
    EXPECT_EQ(Joined(recorder.calls), "sane_init, sane_exit");
}

TEST_F(TwainSourceTest, AFailingCallKeepsItsConditionAndSuccessClearsIt) {
    recorder.failName = "sane_init";
    recorder.failStatus = SANE_STATUS_NO_MEM;
    EXPECT_EQ(source.OpenManager(window.get()), twain::TWRC_FAILURE);
    EXPECT_EQ(source.LastCondition(), SANE_STATUS_NO_MEM);
    EXPECT_FALSE(source.IsManagerOpen());
    recorder.failName = "sane_init";
    recorder.failCount = 1;
    recorder.failStatus = SANE_STATUS_CANCELLED;
    EXPECT_EQ(source.OpenManager(window.get()), twain::TWRC_CANCEL);
    EXPECT_EQ(source.OpenManager(window.get()), twain::TWRC_SUCCESS);
    EXPECT_EQ(source.LastCondition(), 0);
    source.CloseManager(window.get());
}

TEST_F(TwainSourceTest, AScanEndsTheTransferBeforeClosing) {
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    EXPECT_TRUE(source.IsSourceEnabled());
    EXPECT_FALSE(window->isEnabled());
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->windowTitle(), "Noname frontend-tester (test:0)");
    EXPECT_EQ(Dialog()->GetDlgItemText(CSourceDialog::kModeId), "Gray");
    recorder.calls.clear();
    Press(CSourceDialog::kScanId);
    EXPECT_EQ(Joined(recorder.calls),
              "sane_start, sane_get_parameters, sane_read, EOF, sane_cancel, sane_close, sane_exit");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(source.IsSourceOpen() || source.IsManagerOpen());
    EXPECT_FALSE(source.TakeBringToFront());
}

TEST_F(TwainSourceTest, TwoScansInARowBothArrive) {
    Picture first = Scan(
        {{CSourceDialog::kBottomRightXId, "10"}, {CSourceDialog::kBottomRightYId, "8"}});
    Picture second = Scan(
        {{CSourceDialog::kBottomRightXId, "10"}, {CSourceDialog::kBottomRightYId, "8"}});
    EXPECT_EQ(received.size(), 2u);
    EXPECT_GT(first.width, 0);
    EXPECT_TRUE(first == second);
}

TEST_F(TwainSourceTest, AReadErrorIsATransferFailure) {
    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    ASSERT_EQ(source.SetOptionText("read-return-value", "SANE_STATUS_IO_ERROR"), 0);
    WinHandle owner = source.MessageOwner();
    recorder.calls.clear();
    Press(CSourceDialog::kScanId);
    EXPECT_EQ(Joined(recorder.calls),
              "sane_start, sane_get_parameters, sane_read, sane_cancel, sane_close, sane_exit");
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "Transfer failure");
    // The main window is disabled then: the box belongs to the source's window.
    EXPECT_EQ(boxes.Requests()[0].owner, owner);
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(TwainSourceTest, CancelClosesTheConnectionAndAsksForTheFront) {
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    recorder.calls.clear();
    Press(framework::IDCANCEL);
    EXPECT_EQ(Joined(recorder.calls), "sane_cancel, sane_close, sane_exit");
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(source.IsSourceEnabled() || source.IsSourceOpen() || source.IsManagerOpen());
    EXPECT_TRUE(source.TakeBringToFront());
    EXPECT_FALSE(source.TakeBringToFront());
}

TEST_F(TwainSourceTest, CancelDuringTheScanEndsItAndGivesNothing) {
    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    // A slow device: small blocks, each after a pause.
    ASSERT_EQ(source.SetOptionText("read-limit", "yes"), 0);
    ASSERT_EQ(source.SetOptionText("read-limit-size", "256"), 0);
    recorder.readPauseMs = 10;
    bool cancelled = false;
    QTimer::singleShot(150, [&] {
        cancelled = source.IsTransferring() && source.LinesRead() < 196;
        Dialog()->ClickButton(framework::IDCANCEL);
    });
    recorder.calls.clear();
    Press(CSourceDialog::kScanId);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(boxes.Count(), 0u);
    ASSERT_GE(recorder.calls.size(), 5u);
    EXPECT_EQ(recorder.calls.front(), "sane_start");
    EXPECT_EQ(Joined({recorder.calls.end() - 2, recorder.calls.end()}), "sane_close, sane_exit");
    EXPECT_NE(std::find(recorder.calls.begin(), recorder.calls.end(), "sane_cancel"), recorder.calls.end());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(TwainSourceTest, AFailingEnableClosesTheSourceAndTheNextAcquireWorks) {
    recorder.failName = "sane_control_option";
    EXPECT_EQ(Acquire(), twain::TWRC_FAILURE);
    EXPECT_FALSE(source.IsSourceOpen() || source.IsManagerOpen() || source.IsSourceEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(Joined(recorder.calls), "sane_init, sane_get_devices, sane_open test:0, sane_close, sane_exit");
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    EXPECT_TRUE(source.IsSourceEnabled());
    Press(framework::IDCANCEL);
}

TEST_F(TwainSourceTest, AFailedOpenClosesTheManager) {
    recorder.failName = "sane_open";
    EXPECT_EQ(Acquire(), twain::TWRC_FAILURE);
    EXPECT_FALSE(source.IsSourceOpen() || source.IsManagerOpen());
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    EXPECT_EQ(Acquire(), twain::kManagerAlreadyOpen);
    Press(framework::IDCANCEL);
}

TEST_F(TwainSourceTest, TransferWithoutCallbackOrWhileNotEnabled) {
    EXPECT_EQ(source.TransferNative(), twain::kNoTransferCallback);
    EXPECT_EQ(source.DisableSource(window.get()), twain::kSourceNotEnabled);
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    EXPECT_EQ(source.EnableSource(window.get()), twain::kSourceAlreadyEnabled);
    EXPECT_EQ(source.OpenSource(), twain::kSourceAlreadyOpen);
    Press(framework::IDCANCEL);
}

TEST_F(TwainSourceTest, RefusedPictureBlockIsATransferFailure) {
    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    size_t saved = MemLimit();
    MemSetLimit(MemBytesInUse());
    Press(CSourceDialog::kScanId);
    MemSetLimit(saved);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "Transfer failure");
    EXPECT_TRUE(received.empty());
}

TEST_F(TwainSourceTest, AFrameLargerThanTheLargestImageIsCancelled) {
    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    // 200 mm at 300 dpi: 2362 pixels wide, more than 2048.
    Type(CSourceDialog::kResolutionId, "300");
    Type(CSourceDialog::kBottomRightXId, "200");
    Type(CSourceDialog::kBottomRightYId, "2");
    recorder.calls.clear();
    Press(CSourceDialog::kScanId);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "DIB 过大。");
    EXPECT_EQ(Joined(recorder.calls), "sane_start, sane_get_parameters, sane_cancel, sane_close, sane_exit");
    EXPECT_TRUE(received.empty());
}

TEST_F(TwainSourceTest, SelectListsTheDevicesAndTheChoiceIsOpened) {
    std::vector<QString> rows;
    framework::ScopedModalDriver driver([&](framework::Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "选择 TWAIN32 源");
        auto* list = d.Item<QListWidget>(twain::CDeviceListDlg::kListId);
        for (int i = 0; i < list->count(); ++i) rows.push_back(list->item(i)->text());
        list->setCurrentRow(1);
        d.ClickButton(framework::IDOK);
    });
    EXPECT_EQ(source.SelectSource(window.get()), twain::TWRC_SUCCESS);
    EXPECT_EQ(rows, (std::vector<QString>{"Noname frontend-tester (test:0)", "Noname frontend-tester (test:1)"}));
    EXPECT_EQ(source.Identity().name, "test:1");
    EXPECT_EQ(source.Identity().vendor, "Noname");
    EXPECT_EQ(source.Identity().type, "virtual device");
    EXPECT_FALSE(source.IsManagerOpen());
    recorder.calls.clear();
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    EXPECT_EQ(recorder.calls.at(1), "sane_open test:1");
    Press(framework::IDCANCEL);
}

TEST(ScanDib, ColourDepthOneAndRefusedFrames) {
    twain::ScanFrame frame;
    frame.parameters = {SANE_FRAME_RGB, SANE_TRUE, 1, 3, 1, 1};  // 3 pixels, 9 bits in 1..2 bytes
    frame.parameters.bytes_per_line = 2;
    frame.data = {0b10001111, 0b10000000};  // red, green + blue, all three
    MemHandle dib = twain::ScanFramesToDib({frame});
    Picture p = DibPicture(dib);
    MemFree(dib);
    EXPECT_EQ(p, (Picture{3, 1, {{255, 0, 0}, {0, 255, 255}, {255, 255, 255}}}));

    twain::ScanFrame narrow = frame;
    narrow.parameters.bytes_per_line = 1;  // fewer bytes than its pixels need
    twain::ScanFrame deep = frame;
    deep.parameters.depth = 12;
    twain::ScanFrame empty = frame;
    empty.data.clear();
    twain::ScanFrame red = frame;
    red.parameters.format = SANE_FRAME_RED;
    for (const auto& frames : std::vector<std::vector<twain::ScanFrame>>{
             {}, {narrow}, {deep}, {empty}, {red, red, red}, {frame, frame}})
        EXPECT_EQ(twain::ScanFramesToDib(frames), nullptr);
}

}  // namespace
}  // namespace kvtest
