// Keys as the user's keyboard sends them, under a real X server with a
// window manager: the document window keys and typing into a tool window.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "framework/child_frame.h"
#include "document/pelmark_doc.h"
#include "framework/document.h"
#include "palettes/guide_palette.h"
#include "view/guide_settings.h"
#include "view/pelmark_view.h"
#include "x_app_fixture.h"

namespace apptest {
namespace {

using XKeysTest = XAppTest;

// Three documents, keys in the active (last) one.
TEST_F(XKeysTest, DocumentWindowKeys) {
    struct Case {
        const char* keys;
        size_t documentsLeft;
        int activeAfter;  // index of the document window active afterwards (-1: a left one)
    };
    const Case cases[] = {
        {"ctrl+w", 2, -1},  {"ctrl+F4", 2, -1},        {"F6", 3, 0},
        {"shift+F6", 3, 1}, {"ctrl+F6", 3, 0}, {"ctrl+shift+F6", 3, 1},
    };
    StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        for (int i = 0; i < 3; ++i) ASSERT_NE(NewImage(), nullptr);
        std::vector<framework::ChildFrame*> windows = app->Frame()->ChildFrames();
        ASSERT_EQ(windows.size(), 3u);
        ASSERT_EQ(app->Frame()->MDIGetActive(), windows[2]);
        ASSERT_TRUE(Activate(app->Frame()));
        ASSERT_TRUE(kvtest::XKeys(QString::fromLatin1(c.keys)));
        Flush();
        EXPECT_EQ(app->Documents().size(), c.documentsLeft);
        if (c.activeAfter >= 0)
            EXPECT_EQ(app->Frame()->MDIGetActive(), windows[size_t(c.activeAfter)]);
        else
            EXPECT_EQ(app->Frame()->ChildFrames(), (std::vector{windows[0], windows[1]}));
        app->CloseAllDocuments();
        Flush();
    }
}

// Typing into the guide palette's angle: the keys reach the edit, not the
// canvas behind it (Ctrl+A there would select the whole image).
TEST_F(XKeysTest, TypingIntoTheGuidePalette) {
    StartEditor();
    ASSERT_NE(NewImage(32, 32), nullptr);
    CGuidePalette* palette = app->Frame()->GuidePalette();
    ASSERT_NE(palette, nullptr);
    if (!palette->isVisible()) app->Frame()->SendCommand(CMainFrame::kGuidePaletteId);
    ASSERT_TRUE(kvtest::WaitUntil([&] { return kvtest::IsViewable(palette); }));
    auto* angle = palette->Item<QLineEdit>(CGuidePalette::kAngleEditId);
    ASSERT_NE(angle, nullptr);
    kvtest::Settle(300);  // the window manager places it
    ASSERT_TRUE(ClickAt(angle->mapToGlobal(angle->rect().center())));
    ASSERT_TRUE(kvtest::WaitUntil([&] { return angle->hasFocus(); }, 2000));
    ASSERT_TRUE(kvtest::XKeys(QStringLiteral("ctrl+a 4 5")));
    kvtest::Settle(300);  // the idle handling and the palette's focus timer run
    EXPECT_EQ(angle->text(), QStringLiteral("45"));
    EXPECT_EQ(GetGuideSettings().angle, 45);
    auto* view = dynamic_cast<CPelmarkView*>(app->Frame()->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->GetDocument()->CanUndo());  // no select-all step
}

}  // namespace
}  // namespace apptest
