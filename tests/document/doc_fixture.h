// A program around the documents under test: an application with the
// editor's main frame, a message-box recorder, and the new-image dialog
// answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QTemporaryDir>

#include "dialogs/new_image_dlg.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/application.h"
#include "platform/message_box_recorder.h"

namespace doctest {

// A main frame that keeps the messages sent to it.
class RecordingFrame : public CMainFrame {
public:
    std::vector<std::pair<uint32_t, WinWParam>> messages;

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override {
        messages.emplace_back(message, wparam);
        return CMainFrame::OnWindowMessage(message, wparam, lparam);
    }
};

class DocTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Answers every new-image dialog in the user's place: `edit` may change
    // the dialog's members, which then stand as its answer (IDOK unless
    // `result` says otherwise). Counts the dialogs. Until a test says
    // otherwise every dialog is answered IDOK as it opened; the layer
    // dialogs are confirmed with their OK button as they opened.
    void AnswerNewImage(std::function<void(CNewImageDlg&)> edit, int result = framework::IDOK);
    // A document after OnNewDocument; `made` gets its result.
    std::unique_ptr<CPelmarkDoc> NewDocument(bool* made = nullptr);
    // A document whose image is a fresh 8-bit `width` x `height` picture
    // made ready with InitDib.
    std::unique_ptr<CPelmarkDoc> DocumentWithImage(int width, int height);

    // Puts a recording main frame in place of the plain one.
    RecordingFrame* UseRecordingFrame();

    // Texts of the message boxes shown since SetUp.
    std::vector<std::string> BoxTexts() const;

    platform::MessageBoxRecorder boxes;
    std::unique_ptr<framework::Application> app;
    CMainFrame* frame = nullptr;
    int dialogsShown = 0;
    std::optional<framework::ScopedModalDriver> newImageDriver;
    // The program directory, with a "menu.txt" of two presets.
    QTemporaryDir programDir;
    QString previousProgramDir;
};

// Palette entry `index` of an image as 0xAARRGGBB.
uint32_t EntryOf(MemHandle image, int index);

}  // namespace doctest
