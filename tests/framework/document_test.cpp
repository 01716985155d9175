// The document template and the document life cycle: new, open, failed
// open, save, save as, title and path, closing with the save question.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMdiArea>

#include "framework/command_ids.h"
#include "framework/framework_strings.h"
#include "framework/recent_file_list.h"
#include "framework_fixture.h"
#include "platform/message_box_recorder.h"

namespace {

using framework::Document;
using fwtest::Log;
using fwtest::Logged;
using fwtest::TestDoc;
using fwtest::TestFrame;
using fwtest::TestView;

class DocumentTest : public fwtest::FrameworkTest {};

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST_F(DocumentTest, OpenMakesDocumentFrameAndView) {
    QString path = MakeFile("a.kvt");
    Document* doc = app->OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetPathName(), QDir::cleanPath(path));
    EXPECT_EQ(doc->GetTitle(), "a.kvt");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetDocTemplate(), docTemplate);
    EXPECT_EQ(docTemplate->Documents(), std::vector<Document*>{doc});
    ASSERT_EQ(doc->GetViews().size(), 1u);
    ASSERT_EQ(main->ChildFrames().size(), 1u);
    framework::ChildFrame* frame = main->ChildFrames().front();
    EXPECT_EQ(frame->GetActiveView(), doc->GetViews().front());
    EXPECT_EQ(doc->GetViews().front()->GetParentFrame(), frame);
    EXPECT_EQ(main->MDIGetActive(), frame);
    EXPECT_EQ(main->GetActiveDocument(), doc);
    EXPECT_EQ(frame->windowTitle(), "a.kvt");
    EXPECT_EQ(Log(), (std::vector<std::string>{"doc:open a.kvt", "doc:delete-contents", "view:initial", "view:activate a.kvt"}));
}

TEST_F(DocumentTest, FailedOpenLeavesNothingBehind) {
    struct Case {
        const char* name;
        const char* text;  // null: no file
    };
    for (const Case& c : {Case{"missing.kvt", nullptr}, Case{"bad.kvt", "bad"}}) {
        EXPECT_EQ(app->OpenDocumentFile(MakeFile(c.name, c.text)), nullptr) << c.name;
        EXPECT_TRUE(docTemplate->Documents().empty());
        EXPECT_TRUE(main->ChildFrames().empty());
        EXPECT_TRUE(main->MdiArea()->subWindowList().isEmpty());
        EXPECT_EQ(main->MDIGetActive(), nullptr);
        // Gone at once, not only after the event loop.
        EXPECT_EQ(TestDoc::alive, 0) << c.name;
        EXPECT_EQ(TestView::alive, 0) << c.name;
        EXPECT_EQ(TestFrame::alive, 0) << c.name;
    }
    EXPECT_TRUE(app->GetRecentFileList() == nullptr || app->GetRecentFileList()->Entries().empty());
}

TEST_F(DocumentTest, NewDocumentsAreNumbered) {
    app->OnFileNew();
    TestDoc::failNew = true;
    app->OnFileNew();  // a failed new takes no number
    TestDoc::failNew = false;
    app->OnFileNew();
    ASSERT_EQ(docTemplate->Documents().size(), 2u);
    EXPECT_EQ(docTemplate->Documents()[0]->GetTitle(), "Pic1");
    EXPECT_EQ(docTemplate->Documents()[1]->GetTitle(), "Pic2");
    EXPECT_TRUE(docTemplate->Documents()[0]->GetPathName().isEmpty());
    EXPECT_EQ(TestDoc::alive, 2);
}

TEST_F(DocumentTest, SaveUnderItsPath) {
    QString path = MakeFile("a.kvt");
    Document* doc = app->OpenDocumentFile(path);
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag();
    EXPECT_TRUE(main->SendCommand(framework::ID_FILE_SAVE));
    EXPECT_TRUE(Logged("doc:save a.kvt"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(app->promptTitles.empty());
    EXPECT_EQ(readFile(path), "saved");
}

TEST_F(DocumentTest, SaveAsTakesThePromptedPath) {
    Document* doc = app->OpenDocumentFile(MakeFile("a.kvt"));
    ASSERT_NE(doc, nullptr);
    app->LoadStdProfileSettings(4);
    doc->SetModifiedFlag();
    app->promptAnswers = {PathOf("b.kvt")};
    main->SendCommand(framework::ID_FILE_SAVE_AS);
    EXPECT_EQ(app->promptTitles, std::vector<int>{framework::IDS_SAVE_TITLE});
    EXPECT_EQ(doc->GetPathName(), QDir::cleanPath(PathOf("b.kvt")));
    EXPECT_EQ(doc->GetTitle(), "b.kvt");
    EXPECT_EQ(main->ChildFrames().front()->windowTitle(), "b.kvt");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app->GetRecentFileList()->Entries().front(), doc->GetPathName());
}

TEST_F(DocumentTest, UntitledSaveAsksAndCancelChangesNothing) {
    app->OnFileNew();
    Document* doc = docTemplate->Documents().front();
    doc->SetModifiedFlag();
    app->promptAnswers = {""};  // Cancel
    EXPECT_FALSE(doc->DoFileSave());
    EXPECT_EQ(app->promptTitles.size(), 1u);
    EXPECT_TRUE(doc->GetPathName().isEmpty());
    EXPECT_EQ(doc->GetTitle(), "Pic1");
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, FailedSaveAfterPromptRemovesTheNewFile) {
    app->OnFileNew();
    Document* doc = docTemplate->Documents().front();
    doc->SetModifiedFlag();
    TestDoc::failSave = true;
    QString existing = MakeFile("old.kvt", "keep");
    app->promptAnswers = {PathOf("new.kvt"), existing};
    EXPECT_FALSE(doc->DoSave({}));
    EXPECT_FALSE(QFile::exists(PathOf("new.kvt")));
    EXPECT_FALSE(doc->DoSave({}));
    EXPECT_TRUE(QFile::exists(existing));  // a file that was there stays
    EXPECT_TRUE(doc->GetPathName().isEmpty());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(DocumentTest, PathTitleAndFrameTitles) {
    Document* doc = app->OpenDocumentFile(MakeFile("a.kvt"));
    ASSERT_NE(doc, nullptr);
    QString relative = QDir::current().relativeFilePath(PathOf("x/../c.kvt"));
    doc->SetPathName(relative, false);
    EXPECT_EQ(doc->GetPathName(), QDir::cleanPath(PathOf("c.kvt")));
    EXPECT_EQ(doc->GetTitle(), "c.kvt");
    doc->SetTitle("图像");
    EXPECT_EQ(main->ChildFrames().front()->windowTitle(), "图像");

    EXPECT_TRUE(main->SendCommand(framework::ID_WINDOW_NEW));
    std::vector<framework::ChildFrame*> frames = doc->GetFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0]->windowTitle(), "图像:1");
    EXPECT_EQ(frames[1]->windowTitle(), "图像:2");
    EXPECT_EQ(main->MDIGetActive(), frames[1]);
    frames[1]->close();
    EXPECT_EQ(frames[0]->windowTitle(), "图像");
    EXPECT_EQ(main->MDIGetActive(), frames[0]);
}

TEST_F(DocumentTest, UpdateAllViewsSkipsTheSender) {
    Document* doc = app->OpenDocumentFile(MakeFile("a.kvt"));
    ASSERT_NE(doc, nullptr);
    main->SendCommand(framework::ID_WINDOW_NEW);
    auto* first = static_cast<TestView*>(doc->GetViews()[0]);
    auto* second = static_cast<TestView*>(doc->GetViews()[1]);
    int firstBefore = first->updates, secondBefore = second->updates;
    doc->UpdateAllViews(first, 7);
    EXPECT_EQ(first->updates, firstBefore);
    EXPECT_EQ(second->updates, secondBefore + 1);
    EXPECT_EQ(second->lastHint, 7);
}

TEST_F(DocumentTest, ClosingAsksAndFollowsTheAnswer) {
    struct Case {
        int answer;
        bool closed;
        bool saved;
    };
    const Case cases[] = {
        {MB_ANSWER_YES, true, true},
        {MB_ANSWER_NO, true, false},
        {MB_ANSWER_CANCEL, false, false},
    };
    for (const Case& c : cases) {
        for (bool byCommand : {false, true}) {
            Log().clear();
            QString path = MakeFile("a.kvt");
            Document* doc = app->OpenDocumentFile(path);
            ASSERT_NE(doc, nullptr);
            doc->SetModifiedFlag();
            platform::MessageBoxRecorder boxes({c.answer});
            if (byCommand) main->SendCommand(framework::ID_FILE_CLOSE);
            else main->ChildFrames().front()->close();
            Flush();
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_EQ(boxes.Requests()[0].text, "是否保存对 a.kvt 的更改？");
            EXPECT_EQ(boxes.Requests()[0].caption, "Kavolt");
            EXPECT_EQ(boxes.Requests()[0].type & MB_BTN_MASK, unsigned(MB_BTN_YESNOCANCEL));
            EXPECT_EQ(boxes.Requests()[0].owner, main->WindowHandle());
            EXPECT_EQ(docTemplate->Documents().empty(), c.closed) << c.answer;
            EXPECT_EQ(TestDoc::alive, c.closed ? 0 : 1);
            EXPECT_EQ(TestView::alive, c.closed ? 0 : 1);
            EXPECT_EQ(TestFrame::alive, c.closed ? 0 : 1);
            EXPECT_EQ(Logged("doc:save a.kvt"), c.saved) << c.answer;
            if (!c.closed) {
                EXPECT_TRUE(doc->IsModified());
                EXPECT_EQ(main->MDIGetActive(), main->ChildFrames().front());
                doc->SetModifiedFlag(false);
                doc->OnCloseDocument();
                Flush();
            }
        }
    }
}

TEST_F(DocumentTest, UnmodifiedDocumentClosesWithoutQuestion) {
    ASSERT_NE(app->OpenDocumentFile(MakeFile("a.kvt")), nullptr);
    platform::MessageBoxRecorder boxes;
    main->ChildFrames().front()->close();
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(docTemplate->Documents().empty());
    EXPECT_TRUE(main->ChildFrames().empty());
    EXPECT_EQ(main->MDIGetActive(), nullptr);
    EXPECT_TRUE(Logged("doc:delete-contents"));
}

TEST_F(DocumentTest, ClosingTheLastViewClosesTheDocument) {
    Document* doc = app->OpenDocumentFile(MakeFile("a.kvt"));
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag();
    main->SendCommand(framework::ID_WINDOW_NEW);
    std::vector<framework::ChildFrame*> frames = doc->GetFrames();
    ASSERT_EQ(frames.size(), 2u);
    platform::MessageBoxRecorder boxes({MB_ANSWER_NO});
    frames[1]->close();  // another frame still shows it: no question
    Flush();
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_EQ(docTemplate->Documents().size(), 1u);
    EXPECT_EQ(TestView::alive, 1);
    frames[0]->close();
    Flush();
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_TRUE(docTemplate->Documents().empty());
    EXPECT_EQ(TestDoc::alive, 0);
}

TEST_F(DocumentTest, OpeningAnOpenPathActivatesIt) {
    QString a = MakeFile("a.kvt");
    Document* docA = app->OpenDocumentFile(a);
    Document* docB = app->OpenDocumentFile(MakeFile("b.kvt"));
    ASSERT_TRUE(docA && docB);
    EXPECT_EQ(main->GetActiveDocument(), docB);
    Log().clear();
    EXPECT_EQ(app->OpenDocumentFile(PathOf("sub/../a.kvt")), docA);
    EXPECT_EQ(app->OpenDocumentFile(a), docA);
    EXPECT_FALSE(Logged("doc:open a.kvt"));  // not opened again
    EXPECT_EQ(docTemplate->Documents().size(), 2u);
    EXPECT_EQ(main->ChildFrames().size(), 2u);
    EXPECT_EQ(main->GetActiveDocument(), docA);
}

TEST_F(DocumentTest, FileOpenCommandAsksForAPath) {
    QString a = MakeFile("a.kvt");
    app->promptAnswers = {a, ""};
    main->SendCommand(framework::ID_FILE_OPEN);
    main->SendCommand(framework::ID_FILE_OPEN);  // cancelled
    EXPECT_EQ(app->promptTitles, (std::vector<int>{framework::IDS_OPEN_TITLE, framework::IDS_OPEN_TITLE}));
    ASSERT_EQ(docTemplate->Documents().size(), 1u);
    EXPECT_EQ(docTemplate->Documents().front()->GetPathName(), QDir::cleanPath(a));
}

TEST_F(DocumentTest, TemplateByExtension) {
    auto other = framework::DocTemplate::Create<TestDoc, TestFrame, TestView>(130);
    other->SetExtensions({"pal"});
    framework::DocTemplate* palettes = app->AddDocTemplate(std::move(other));
    docTemplate->SetExtensions({"kvt", "gif"});
    EXPECT_NE(app->OpenDocumentFile(MakeFile("p.PAL")), nullptr);
    EXPECT_NE(app->OpenDocumentFile(MakeFile("g.GIF")), nullptr);
    EXPECT_EQ(palettes->Documents().size(), 1u);
    EXPECT_EQ(docTemplate->Documents().size(), 1u);
}

}  // namespace
