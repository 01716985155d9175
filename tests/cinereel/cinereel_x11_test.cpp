// Cinereel's windows under a real X server with a window manager: the
// animation maker's caption on the screen, the preview's place kept.
#include "cinereel_preview_fixture.h"
#include "x_session.h"

namespace hosttest {
namespace {

class CinereelXTest : public CinereelPreviewTest {
protected:
    void SetUp() override {
        KVT_REQUIRE_X();
        CinereelPreviewTest::SetUp();
        // The host's main window as the user has it: shown and framed.
        ASSERT_TRUE(kvtest::WaitUntil([&] { return frame->windowHandle()->frameMargins().top() > 0; }));
    }
};

TEST_F(CinereelXTest, TheAnimationMakersCaptionIsOnTheScreen) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Frames(doc, {{0, 0, 10, 10, 100}});
    Run(34012, [&] {
        QWidget* editor = Editor();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(kvtest::WaitUntil([&] { return kvtest::IsViewable(editor); }));
        kvtest::Settle(200);
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("生成动画"));
        // The frame, caption and all, at the top left; the client below it.
        const QRect work = editor->screen()->availableGeometry();
        EXPECT_EQ(editor->frameGeometry().topLeft(), work.topLeft());
        EXPECT_GT(editor->geometry().top(), work.top());
        Click(14013);
    });
}

TEST_F(CinereelXTest, ThePreviewOpensWhereItWasClosed) {
    CPelmarkDoc* doc = OpenDoc(100, 70);
    Frames(doc, {{0, 0, 10, 10, 100}, {10, 0, 10, 10, 100}});
    app->WriteProfileString(QStringLiteral("Settings"), QStringLiteral("ANIMPOS"),
                            QStringLiteral("488,352,333,222"));
    QRect first;
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        QRect shown;
        Run(34027, [&] {
            ASSERT_TRUE(kvtest::WaitUntil([&] { return kvtest::IsViewable(Preview()); }));
            kvtest::Settle(200);
            shown = Preview()->geometry();
            ClosePreview();
        });
        if (round == 1) first = shown;
        EXPECT_EQ(shown, first);
        EXPECT_EQ(shown.size(), QSize(333, 222));
        EXPECT_EQ(AnimPos(), QStringLiteral("488,352,333,222"));
    }
}

}  // namespace
}  // namespace hosttest
