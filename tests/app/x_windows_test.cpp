// Which window the user sees in front, under a real X server with a window
// manager: the scanner's source window over the disabled main window, the
// scanned document active afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QCoreApplication>

#include "document/pelmark_doc.h"
#include "framework/child_frame.h"
#include "framework/view.h"
#include "imaging/dib_create.h"
#include "palettes/color_palette_bar.h"
#include "palettes/guide_palette.h"
#include "platform/message_box_recorder.h"
#include "sane_backend.h"
#include "twain/source_dialog.h"
#include "x_app_fixture.h"

namespace apptest {
namespace {

using twain::CSourceDialog;

class XScannerTest : public XAppTest {
protected:
    void SetUp() override {
        XAppTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(backend.ok());
        StartEditor();
        ASSERT_TRUE(app->m_twain.IsLoaded());
    }
    CSourceDialog* Dialog() const { return app->m_twain.SourceDialog(); }
    // The source window as the user finds it: shown, above the main window
    // and active.
    void ExpectSourceWindowInFront() {
        ASSERT_NE(Dialog(), nullptr);
        EXPECT_FALSE(app->Frame()->isEnabled());
        EXPECT_TRUE(kvtest::WaitUntil([&] { return kvtest::IsViewable(Dialog()); }, 3000));
        EXPECT_TRUE(kvtest::WaitUntil([&] { return StackedAbove(Dialog(), app->Frame()); }, 3000));
        EXPECT_TRUE(kvtest::WaitUntil([&] { return kvtest::ActiveXWindow() == Dialog()->winId(); }, 3000));
    }
    // A small grey scan through the source window's 扫描.
    void Scan() {
        ASSERT_NE(Dialog(), nullptr);
        auto* mode = Dialog()->Item<QComboBox>(CSourceDialog::kModeId);
        mode->setCurrentIndex(mode->findText(QStringLiteral("Gray")));
        Dialog()->NotifyControl(CSourceDialog::kModeId, framework::Notify::SelChange);
        Dialog()->SetDlgItemText(CSourceDialog::kResolutionId, QStringLiteral("50"));
        Dialog()->SetDlgItemText(CSourceDialog::kBottomRightXId, QStringLiteral("10"));
        Dialog()->SetDlgItemText(CSourceDialog::kBottomRightYId, QStringLiteral("8"));
        Dialog()->ClickButton(CSourceDialog::kScanId);
        QCoreApplication::sendPostedEvents();
        kvtest::Settle(300);
    }
    framework::ChildFrame* Active() const { return app->Frame()->MDIGetActive(); }

    kvtest::SaneTestBackend backend;
};

TEST_F(XScannerTest, EverySourceWindowIsInFrontAndTheScanIsTheActiveDocument) {
    platform::MessageBoxRecorder boxes;
    ASSERT_NE(NewImage(), nullptr);  // a document open before the scans
    for (int scan = 1; scan <= 3; ++scan) {
        SCOPED_TRACE(scan);
        // The user worked in the first document last.
        app->Frame()->MDIActivate(app->Frame()->ChildFrames().front());
        app->Frame()->GetActiveView()->setFocus();
        ASSERT_TRUE(app->Frame()->ExecuteCommand(CPelmarkApp::kTwainAcquireId));
        ExpectSourceWindowInFront();
        Scan();
        ASSERT_EQ(app->Documents().size(), size_t(1 + scan));
        EXPECT_TRUE(app->Frame()->isEnabled());
        // The new document is the last window and the active one.
        EXPECT_EQ(Active(), app->Frame()->ChildFrames().back());
        EXPECT_TRUE(kvtest::WaitUntil([&] { return kvtest::ActiveXWindow() == app->Frame()->winId(); }, 3000));
        kvtest::Settle(200);
        EXPECT_EQ(Active(), app->Frame()->ChildFrames().back());
    }
}

TEST_F(XScannerTest, AnUnderlayScanLeavesItsDocumentActive) {
    platform::MessageBoxRecorder boxes;
    ASSERT_NE(NewImage(64, 48), nullptr);
    ASSERT_NE(NewImage(64, 48), nullptr);
    framework::ChildFrame* target = Active();
    target->GetActiveView()->setFocus();
    ASSERT_EQ(target, app->Frame()->ChildFrames().back());
    ASSERT_TRUE(app->Frame()->ExecuteCommand(CPelmarkApp::kUnderlayTwainId));
    ExpectSourceWindowInFront();
    Scan();
    auto* doc = dynamic_cast<CPelmarkDoc*>(target->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->m_bHasUnderlay);
    kvtest::Settle(200);
    EXPECT_EQ(Active(), target);
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

using XDialogsTest = XAppTest;

// The palette editor from the colour bar's 设定, opened again and again:
// each time shown, above the main window and the bar, and active.
TEST_F(XDialogsTest, ThePaletteEditorOpensInFront) {
    StartEditor();
    ASSERT_NE(NewImage(), nullptr);
    CColorPaletteBar* bar = app->Frame()->ColorPalette();
    ASSERT_NE(bar, nullptr);
    if (!bar->isVisible()) app->Frame()->SendCommand(CMainFrame::kColorPaletteId);
    // The guide palette starts at the same place.
    if (app->Frame()->GuidePalette()->isVisible()) app->Frame()->SendCommand(CMainFrame::kGuidePaletteId);
    ASSERT_TRUE(kvtest::WaitUntil([&] { return kvtest::IsViewable(bar); }));
    kvtest::Settle(300);  // the window manager places it
    QWidget* button = nullptr;
    for (QPushButton* b : bar->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("设定")) button = b;
    ASSERT_NE(button, nullptr);
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        bool seen = false, inFront = false, active = false;
        // Looks at the editor from inside its own loop.
        QTimer look;
        look.setInterval(20);
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!editor) return;
            look.stop();
            seen = kvtest::WaitUntil([&] { return kvtest::IsViewable(editor); }, 3000);
            inFront = kvtest::WaitUntil(
                [&] { return StackedAbove(editor, app->Frame()) && StackedAbove(editor, bar); }, 3000);
            active = kvtest::WaitUntil([&] { return kvtest::ActiveXWindow() == editor->winId(); }, 3000);
            editor->reject();
        });
        look.start();
        ASSERT_TRUE(ClickAt(button->mapToGlobal(button->rect().center())));
        ASSERT_TRUE(kvtest::WaitUntil([] { return QApplication::activeModalWidget() == nullptr; }, 12000));
        EXPECT_TRUE(seen);
        EXPECT_TRUE(inFront);
        EXPECT_TRUE(active);
        ASSERT_TRUE(Activate(app->Frame()));
    }
}

}  // namespace
}  // namespace apptest
