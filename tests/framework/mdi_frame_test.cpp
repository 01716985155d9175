// The main frame: closing with modified documents, active child tracking,
// window arrangement and control bars.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "framework/cmd_ui.h"
#include "framework/command_ids.h"
#include "framework_fixture.h"
#include "platform/message_box_recorder.h"

namespace {

using framework::Document;
using fwtest::Logged;

class MdiFrameTest : public fwtest::FrameworkTest {
protected:
    void OpenModified(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            Document* doc = app->OpenDocumentFile(MakeFile(name));
            ASSERT_NE(doc, nullptr);
            doc->SetModifiedFlag();
        }
    }
};

TEST_F(MdiFrameTest, CloseIsRefusedByCancel) {
    OpenModified({"a.kvt", "b.kvt"});
    main->show();
    {
        platform::MessageBoxRecorder boxes({MB_ANSWER_CANCEL});
        EXPECT_FALSE(main->close());
        EXPECT_EQ(boxes.Count(), 1u);
    }
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(docTemplate->Documents().size(), 2u);
    {
        // Cancel on the second question keeps the first one open too.
        platform::MessageBoxRecorder boxes({MB_ANSWER_NO, MB_ANSWER_CANCEL});
        EXPECT_FALSE(main->close());
        EXPECT_EQ(boxes.Count(), 2u);
    }
    EXPECT_EQ(docTemplate->Documents().size(), 2u);
    EXPECT_EQ(main->ChildFrames().size(), 2u);
}

TEST_F(MdiFrameTest, CloseAsksEveryModifiedDocumentThenClosesThemAll) {
    OpenModified({"a.kvt", "b.kvt"});
    ASSERT_NE(app->OpenDocumentFile(MakeFile("c.kvt")), nullptr);  // unmodified: no question
    main->show();
    platform::MessageBoxRecorder boxes({MB_ANSWER_YES, MB_ANSWER_NO});
    EXPECT_TRUE(main->close());
    Flush();
    ASSERT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(boxes.Requests()[0].text, "是否保存对 a.kvt 的更改？");
    EXPECT_EQ(boxes.Requests()[1].text, "是否保存对 b.kvt 的更改？");
    EXPECT_TRUE(Logged("doc:save a.kvt"));
    EXPECT_FALSE(Logged("doc:save b.kvt"));
    EXPECT_TRUE(docTemplate->Documents().empty());
    EXPECT_TRUE(main->ChildFrames().empty());
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MdiFrameTest, AppExitClosesTheMainFrame) {
    main->show();
    main->SendCommand(framework::ID_APP_EXIT);
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MdiFrameTest, ActiveChildStaysWhileAToolWindowIsActive) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    Document* doc = app->OpenDocumentFile(MakeFile("a.kvt"));
    ASSERT_NE(doc, nullptr);
    QWidget tool(main, Qt::Tool);
    tool.show();
    tool.activateWindow();
    QTest::qWait(10);
    EXPECT_EQ(main->GetActiveDocument(), doc);
}

TEST_F(MdiFrameTest, ActivationCallsTheViews) {
    Document* a = app->OpenDocumentFile(MakeFile("a.kvt"));
    Document* b = app->OpenDocumentFile(MakeFile("b.kvt"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(main->GetActiveView(), b->GetViews().front());
    fwtest::Log().clear();
    main->MDIActivate(a->GetFrames().front());
    EXPECT_EQ(main->GetActiveView(), a->GetViews().front());
    EXPECT_EQ(fwtest::Log(), (std::vector<std::string>{"view:deactivate b.kvt", "view:activate a.kvt"}));
    b->OnCloseDocument();
    EXPECT_EQ(main->GetActiveDocument(), a);
    a->OnCloseDocument();
    EXPECT_EQ(main->MDIGetActive(), nullptr);
    EXPECT_FALSE(main->QueryCommandState(framework::ID_WINDOW_CASCADE).IsEnabled());
}

TEST_F(MdiFrameTest, TileSideBySideAndAboveEachOther) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    ASSERT_NE(app->OpenDocumentFile(MakeFile("a.kvt")), nullptr);
    ASSERT_NE(app->OpenDocumentFile(MakeFile("b.kvt")), nullptr);
    std::vector<framework::ChildFrame*> frames = main->ChildFrames();
    QRect area = main->MdiArea()->viewport()->rect();
    ASSERT_TRUE(main->SendCommand(framework::ID_WINDOW_TILE_VERT));
    EXPECT_EQ(frames[0]->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(frames[1]->geometry().left(), area.width() / 2);
    ASSERT_TRUE(main->SendCommand(framework::ID_WINDOW_TILE_HORZ));
    EXPECT_EQ(frames[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(frames[1]->geometry().top(), area.height() / 2);
    EXPECT_TRUE(main->SendCommand(framework::ID_WINDOW_CASCADE));
}

TEST_F(MdiFrameTest, ControlBarsByCommand) {
    auto* bar = new QToolBar(main);
    main->addToolBar(bar);
    main->RegisterControlBar(framework::ID_VIEW_TOOLBAR, bar);
    main->show();
    struct Case {
        framework::CommandId id;
        QWidget* bar;
    };
    for (const Case& c : {Case{framework::ID_VIEW_TOOLBAR, bar},
                          Case{framework::ID_VIEW_STATUS_BAR, main->statusBar()}}) {
        EXPECT_EQ(main->QueryCommandState(c.id).IsChecked(), std::optional<bool>(true));
        EXPECT_TRUE(main->SendCommand(c.id));
        EXPECT_TRUE(c.bar->isHidden());
        EXPECT_EQ(main->QueryCommandState(c.id).IsChecked(), std::optional<bool>(false));
        main->SendCommand(c.id);
        EXPECT_FALSE(c.bar->isHidden());
    }
    // An id of the range without a bar is disabled.
    EXPECT_FALSE(main->QueryCommandState(framework::ID_CONTROLBAR_FIRST + 5).IsEnabled());
}

}  // namespace

namespace {

class DropTest : public fwtest::FrameworkTest {};

TEST_F(DropTest, DroppedFilesOpenAsDocuments) {
    main->DragAcceptFiles();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(MakeFile("a.kvt")), QUrl::fromLocalFile(MakeFile("b.kvt")),
                  QUrl("https://example.com/c.kvt")});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    main->dropEvent(&drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_EQ(docTemplate->Documents().size(), 2u);
    EXPECT_EQ(docTemplate->Documents()[1]->GetTitle(), "b.kvt");
}

}  // namespace
