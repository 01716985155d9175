// A document's life: the open-document list, destruction, the plug-in
// windows, the file lock, the file commands and opening files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryFile>
#include <vector>

#include "framework/support_file_dialog.h"
#include "doc_fixture.h"
#include "document/open_doc_list.h"
#include "framework/cmd_ui.h"
#include "framework/command_ids.h"
#include "framework/doc_template.h"
#include "imaging/dib.h"
#include "platform/memory.h"
#include "platform/window.h"
#include "plugin_api/plugin_messages.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"

namespace doctest {
namespace {

using LifetimeTest = DocTest;

TEST_F(LifetimeTest, DestructionFreesEveryBlock) {
    size_t blocks = MemBlockCount();
    size_t bytes = MemBytesInUse();
    {
        bool made = false;
        auto doc = NewDocument(&made);
        ASSERT_TRUE(made);
        auto block = [] { return MemAlloc(16); };
        doc->m_hUnderlay = block();
        doc->m_hFloatImage = block();
        doc->m_hFloatPixels = block();
        doc->m_hFloatMask = block();
        doc->m_hLayerBackup = block();
        doc->m_hPrevImage = block();
        doc->m_hPrevLayers[0] = block();
        doc->m_hPrevLayers[99] = block();
        doc->m_hLayers[99] = block();
        doc->m_hChannels[0] = block();
        doc->m_hChannels[99] = block();
        auto frozen = [&] { return std::make_shared<const document::FrozenBlock>(block()); };
        for (document::UndoSlot& slot : doc->m_UndoSlots) {
            slot.colorTable = frozen();
            slot.layers[0] = frozen();
            slot.layers[99] = slot.layers[0];  // shared between items
            slot.floatImage = frozen();
            slot.floatPixels = frozen();
            slot.floatMask = frozen();
            slot.layerBackup = frozen();
            slot.mask = frozen();
            slot.mask3 = frozen();
        }
        doc->m_pUnderlayPalette = LogicalPalette{};
        EXPECT_GT(MemBlockCount(), blocks + 90);
    }
    EXPECT_EQ(MemBlockCount(), blocks);
    EXPECT_EQ(MemBytesInUse(), bytes);
}

TEST_F(LifetimeTest, ClosingTheFirstOfThreeMovesTheOthersUp) {
    const QString longPath = "/pictures/" + QString(400, QChar('p')) + ".gif";
    auto a = std::make_unique<CPelmarkDoc>();
    auto b = std::make_unique<CPelmarkDoc>();
    auto c = std::make_unique<CPelmarkDoc>();
    EXPECT_EQ(a->m_nOpenListSlot, -1);
    EXPECT_EQ(document::AddOpenDocument(a.get(), "/pictures/a.gif"), 0);
    EXPECT_EQ(document::AddOpenDocument(b.get(), longPath), 1);
    EXPECT_EQ(document::AddOpenDocument(c.get(), "/pictures/c.gif"), 2);
    EXPECT_EQ(document::AddOpenDocument(b.get(), "/pictures/again.gif"), -1);  // has an entry
    EXPECT_EQ(document::OpenDocumentCount(), 3);

    a.reset();
    EXPECT_EQ(document::OpenDocumentPaths(), (QStringList{longPath, "/pictures/c.gif"}));
    EXPECT_EQ(b->m_nOpenListSlot, 0);
    EXPECT_EQ(c->m_nOpenListSlot, 1);
    c.reset();
    EXPECT_EQ(document::OpenDocumentPaths(), QStringList{longPath});
    b.reset();
    EXPECT_EQ(document::OpenDocumentCount(), 0);
}

TEST_F(LifetimeTest, OpenDocumentListHoldsAHundred) {
    // Documents without their masks are cheap to make.
    MemSetLimit(MemBytesInUse());
    std::vector<std::unique_ptr<CPelmarkDoc>> docs;
    for (int i = 0; i < 101; ++i) docs.push_back(std::make_unique<CPelmarkDoc>());
    MemSetLimit(MEM_NO_LIMIT);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(document::AddOpenDocument(docs[size_t(i)].get(), QString("/p/%1").arg(i)), i);
    EXPECT_EQ(document::AddOpenDocument(docs[100].get(), "/p/100"), -1);
    EXPECT_FALSE(document::HasOpenDocumentEntry(docs[100].get()));
    docs[50].reset();
    EXPECT_EQ(document::OpenDocumentPaths().at(50), "/p/51");
    EXPECT_EQ(docs[99]->m_nOpenListSlot, 98);
    EXPECT_EQ(document::AddOpenDocument(docs[100].get(), "/p/100"), 99);
    docs.clear();
    EXPECT_EQ(document::OpenDocumentCount(), 0);
}

struct Received {
    uint32_t message;
    WinWParam wparam;
    WinLParam lparam;
    int listCount;  // open-document entries when the message came
};

WinResult Record(void* context, WinHandle, uint32_t message, WinWParam wparam, WinLParam lparam) {
    static_cast<std::vector<Received>*>(context)->push_back(
        {message, wparam, lparam, document::OpenDocumentCount()});
    return 0;
}

TEST_F(LifetimeTest, PluginWindowsHearThatTheDocumentCloses) {
    std::vector<Received> tool, anim, hex;
    WinHandle toolWindow = WinCreate(Record, &tool);
    WinHandle animWindow = WinCreate(Record, &anim);
    WinHandle hexWindow = WinCreate(Record, &hex);
    {
        auto doc = std::make_unique<CPelmarkDoc>();
        document::AddOpenDocument(doc.get(), "/p/a.gif");
        doc->m_ToolPlugin.window = toolWindow;
        doc->m_AnimPlugin.window = animWindow;
        doc->m_HexPlugin.window = hexWindow;
    }
    for (const auto* got : {&tool, &anim}) {
        ASSERT_EQ(got->size(), 1u);
        EXPECT_EQ((*got)[0].message, uint32_t(WM_TOOL_DOCCLOSED));
        EXPECT_EQ((*got)[0].wparam, 0u);
        EXPECT_EQ((*got)[0].lparam, 0);
        EXPECT_EQ((*got)[0].listCount, 0);  // the entry has gone first
    }
    EXPECT_TRUE(hex.empty());

    // A window that has closed gets nothing.
    WinDestroy(toolWindow);
    {
        auto doc = std::make_unique<CPelmarkDoc>();
        doc->m_ToolPlugin.window = toolWindow;
    }
    EXPECT_EQ(tool.size(), 1u);
    WinDestroy(animWindow);
    WinDestroy(hexWindow);
}

TEST_F(LifetimeTest, FileLockIsReleased) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    int fd = ::open(file.fileName().toLocal8Bit().constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        CPelmarkDoc doc;
        EXPECT_EQ(doc.UnlockFile(), 0);
        doc.m_fileLock = fd;
        doc.m_bFileLocked = 1;
        EXPECT_EQ(doc.UnlockFile(), 1);
        EXPECT_EQ(doc.m_bFileLocked, 0);
        EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
    }
    fd = ::open(file.fileName().toLocal8Bit().constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        CPelmarkDoc doc;
        doc.m_fileLock = fd;
        doc.m_bFileLocked = 1;
    }
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
}

class SaveAsDoc : public CPelmarkDoc {
public:
    bool DoSave(const QString& path, bool replace) override {
        saves.push_back(path);
        return CPelmarkDoc::DoSave(path, replace);
    }
    std::vector<QString> saves;
};

TEST_F(LifetimeTest, SaveAsAsksForAName) {
    dialogs::FileDialogRecorder dialogs;  // the prompt is cancelled
    SaveAsDoc doc;
    doc.SetPathName("/pictures/a.gif", false);
    EXPECT_TRUE(doc.QueryCommandState(framework::ID_FILE_SAVE_AS).IsEnabled());
    EXPECT_TRUE(doc.QueryCommandState(framework::ID_FILE_CLOSE).IsEnabled());
    EXPECT_TRUE(doc.ExecuteCommand(framework::ID_FILE_SAVE_AS));
    ASSERT_EQ(doc.saves.size(), 1u);
    EXPECT_TRUE(doc.saves[0].isEmpty());
    ASSERT_EQ(dialogs.Requests().size(), 1u);
    EXPECT_EQ(dialogs.Requests()[0].fileName, "a");
}

TEST_F(LifetimeTest, OpeningAFileNeedsAFormatPlugin) {
    auto doc = std::make_unique<CPelmarkDoc>();
    EXPECT_FALSE(doc->OnOpenDocument("/pictures/Cat.gif"));
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, "/PICTURES/CAT.GIF\n 是不支持的文件格式。");
    EXPECT_EQ(boxes.Requests()[0].owner, frame->WindowHandle());
    EXPECT_EQ(boxes.Requests()[0].caption, "Kavolt");
    EXPECT_EQ(doc->m_hImage, nullptr);
}

TEST_F(LifetimeTest, TemplateMakesAndDiscardsDocuments) {
    auto* docTemplate = app->AddDocTemplate(
        framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
    size_t blocks = MemBlockCount();

    auto* doc = dynamic_cast<CPelmarkDoc*>(docTemplate->OpenDocumentFile({}));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_nWidth, 640);
    EXPECT_EQ(doc->m_nLayerCount, 1);
    ASSERT_EQ(doc->GetViews().size(), 1u);
    EXPECT_EQ(doc->InvalidateOtherViews(doc->GetViews()[0]), 0);
    EXPECT_EQ(doc->InvalidateOtherViews(nullptr), 0);
    doc->OnCloseDocument();

    // A cancelled dialog leaves nothing behind.
    AnswerNewImage(nullptr, framework::IDCANCEL);
    EXPECT_EQ(docTemplate->OpenDocumentFile({}), nullptr);
    // Neither does a file no plug-in reads.
    EXPECT_EQ(docTemplate->OpenDocumentFile("/pictures/Cat.gif"), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(docTemplate->Documents().empty());
    EXPECT_EQ(MemBlockCount(), blocks);
}

}  // namespace
}  // namespace doctest
