// Tool plug-ins started from a canvas view and from the main frame's
// services, loaded for real: the text tool's click and timer, the click
// point and tone the record carries, the filter lock around the text tool,
// tone, negative and fill on the active document, the animation maker's new
// image and the frame's shortcuts while the maker runs.
#include <cstring>
#include <functional>
#include <map>

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "document/layer_factory.h"
#include "framework/cmd_ui.h"
#include "framework/doc_template.h"
#include "host_fixture.h"
#include "imaging/dib.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_api.h"
#include "document/open_doc_list.h"
#include "plugin_host/filter_plugins.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/plugin_windows.h"
#include "plugin_host/tool_runs.h"
#include "tools/tool_dispatch.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"

namespace hosttest {
namespace {

using namespace plugin_host;

class ToolViewTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        frame->resize(800, 600);
        frame->show();
        docTemplate = app->AddDocTemplate(
            framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
    }

    void UseTools(const QStringList& names) {
        for (const QString& entry : names)
            ASSERT_TRUE(QFile::link(QStringLiteral(KVT_TOOL_PLUGIN_DIR "/") + entry.section('=', 0, 0),
                                    ProgramDir() + entry.section('=', 1, 1)));
    }

    // A 20 x 10 document with one layer of 5s in a view at zoom 4; its
    // path leads the plug-ins' record dump into the files folder.
    CPelmarkView* OpenView() {
        auto* doc = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
        doc->m_hImage = CreateDib8(20, 10, 0);
        EXPECT_TRUE(doc->InitDib());
        EXPECT_TRUE(document::CreateLayer(*doc, 0, 1));
        {
            MemLockGuard layer(doc->m_hLayers[0]);
            std::memset(layer.get() + LAYER_HEADER_SIZE, 5, layer.size() - LAYER_HEADER_SIZE);
        }
        doc->SetPathName(FilePath("doc.kvt"), false);
        framework::ChildFrame* child = docTemplate->CreateNewFrame(doc);
        docTemplate->InitialUpdateFrame(child, doc);
        auto* view = dynamic_cast<CPelmarkView*>(child->GetActiveView());
        view->SetZoom(view::ZoomCommandOf(4));
        child->resize(300, 200);
        view->ScrollTo(0, 0);
        QApplication::processEvents();
        return view;
    }

    static QPoint Client(int x, int y) { return {x * 4 + 1, y * 4 + 2}; }

    static int LayerPixel(CPelmarkDoc& doc) {
        MemLockGuard layer(doc.m_hLayers[0]);
        return layer.get()[LAYER_HEADER_SIZE];
    }

    std::map<std::string, std::vector<long long>> Dump() {
        std::map<std::string, std::vector<long long>> lines;
        for (const QByteArray& line : ReadFile(FilePath("doc.kvt.rec")).split('\n')) {
            QList<QByteArray> parts = line.split(' ');
            if (parts.size() == 2) lines[parts[0].toStdString()].push_back(parts[1].toLongLong());
        }
        return lines;
    }

    static void WhileRunning(std::function<void()> check) { QTimer::singleShot(0, check); }

    framework::DocTemplate* docTemplate = nullptr;
};

// A filter file that cannot be loaded (empty, or half written by a build)
// beside a good one: the first paint lists the filters after it is done, so
// the message box, which runs its own event loop as a real one does, never
// opens inside the paint; the document shows and the good filter is listed.
TEST_F(ToolViewTest, UnusableFilterFileIsReportedAfterTheFirstPaint) {
    UseTools({"Same.GLT=Good.GLT"});
    QFile broken(ProgramDir() + "Broken.GLT");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.close();
    ResetFilterMenuForTests();
    view::SetFirstPaintHook(BuildFilterMenu);

    // Counts the canvas paint events under way.
    struct PaintDepth : QObject {
        int depth = 0;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() != QEvent::Paint || !dynamic_cast<CPelmarkView*>(watched)) return false;
            ++depth;
            watched->event(event);
            --depth;
            return true;
        }
    } painting;
    qApp->installEventFilter(&painting);
    std::vector<std::string> texts;
    bool insidePaint = false;
    platform::MessageBoxService previous = platform::SetMessageBoxService([&](const platform::MessageBoxRequest& r) {
        texts.push_back(r.text);
        insidePaint = insidePaint || painting.depth > 0;
        QEventLoop modal;  // what a modal box does meanwhile
        QTimer::singleShot(20, &modal, &QEventLoop::quit);
        modal.exec();
        return int(MB_ANSWER_OK);
    });
    CPelmarkView* view = OpenView();
    view->repaint();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !texts.empty(); }, 2000));
    QApplication::processEvents();
    platform::SetMessageBoxService(previous);
    qApp->removeEventFilter(&painting);
    view::SetFirstPaintHook(nullptr);

    EXPECT_EQ(texts, std::vector<std::string>{(ProgramDir() + "Broken.GLT\n 是旧格式").toStdString()});
    EXPECT_FALSE(insidePaint);
    EXPECT_EQ(FilterPaths(), std::vector<QString>{ProgramDir() + "Good.GLT"});
    EXPECT_TRUE(view->isVisible());
    ResetFilterMenuForTests();
}

// The list the next start reopens follows each document to the file it was
// saved as, and never holds a document without a file.
TEST_F(ToolViewTest, NextOpenListFollowsSaveAsAndSkipsUntitledDocuments) {
    UsePlugins({"Trivial.FLT"});
    CPelmarkView* named = OpenView();
    auto* untitled = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
    untitled->m_hImage = CreateDib8(8, 8, 0);
    ASSERT_TRUE(untitled->InitDib());
    ASSERT_TRUE(document::CreateLayer(*untitled, 0, 1));
    untitled->SetTitle("NewFile2");
    untitled->m_bUntitled = 1;
    framework::ChildFrame* child = docTemplate->CreateNewFrame(untitled);
    docTemplate->InitialUpdateFrame(child, untitled);
    child->GetActiveView()->repaint();
    named->repaint();
    QApplication::processEvents();
    EXPECT_EQ(document::OpenDocumentPaths(), QStringList{FilePath("doc.kvt")});

    const QString out2 = FilePath("out2.kvt"), fresh = FilePath("fresh.kvt");
    dialogs.Script(dialogs::FileDialogAnswer::Ok({out2}));
    ASSERT_TRUE(named->GetDocument()->DoSave({}));
    EXPECT_EQ(document::OpenDocumentPaths(), QStringList{out2});
    dialogs.Script(dialogs::FileDialogAnswer::Ok({fresh}));
    ASSERT_TRUE(untitled->DoSave({}));
    EXPECT_EQ(document::OpenDocumentPaths(), (QStringList{out2, fresh}));
}

TEST_F(ToolViewTest, TextToolClickRunsTheTextPluginOnTheTimerWithItsPointAndTone) {
    UseTools({"Invert.GLT=Scribeon.so"});
    CPelmarkView* view = OpenView();
    CPelmarkDoc* doc = view->GetDocument();
    view->OnToneCommand(640);  // level 4: pattern 11
    doc->m_nToolId = tools::kTextTool;
    QTest::mouseClick(view, Qt::LeftButton, {}, Client(4, 6));
    EXPECT_TRUE(view->TextToolPending());
    EXPECT_TRUE(Dump().empty());  // nothing before the timer
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->TextToolPending(); }, 2000));

    auto dump = Dump();
    EXPECT_EQ(dump["call"], std::vector<long long>{1});
    EXPECT_EQ(dump["click"], std::vector<long long>{4 * 10000 + 6});
    EXPECT_EQ(dump["tone"], std::vector<long long>{11});
    EXPECT_EQ(LayerPixel(*doc), 250);
    EXPECT_EQ(doc->m_nUndoIndex, 0);  // the text step is kept
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(TextToolRunning());
    EXPECT_FALSE(frame->IsCommandLocked());
}

TEST_F(ToolViewTest, TextToolHoldsTheFilterLockAndAClickMeanwhileStartsNothing) {
    UseTools({"Modeless.GLT=Scribeon.so"});
    CPelmarkView* view = OpenView();
    CPelmarkDoc* doc = view->GetDocument();
    doc->m_nToolId = tools::kTextTool;
    QTest::mouseClick(view, Qt::LeftButton, {}, Client(2, 3));
    bool checked = false;
    WhileRunning([&] {
        checked = true;
        EXPECT_TRUE(TextToolRunning());
        EXPECT_TRUE(frame->Locks().IsSet(CommandLockTable::kFilters));
        EXPECT_FALSE(doc->QueryCommandState(2001).IsEnabled());
        // The plug-in's window is open: a click moves the point it reads
        // and starts no second run.
        QTest::mouseClick(view, Qt::LeftButton, {}, Client(7, 1));
        EXPECT_FALSE(view->TextToolPending());
        EXPECT_EQ(ToolClickX(), 7);
        EXPECT_EQ(ToolClickY(), 1);
        WinSendMessage(SlotWindow(doc->m_ToolPlugin), kCloseMessage, 0, 0);
    });
    view->OnTextToolTimer();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(TextToolRunning());
    EXPECT_FALSE(frame->IsCommandLocked());
    EXPECT_EQ(Dump()["call"], std::vector<long long>{1});
}

TEST_F(ToolViewTest, TextToolThatCannotStartLeavesTheLocksAsTheyWere) {
    CPelmarkView* view = OpenView();  // no text plug-in in the program directory
    EXPECT_EQ(frame->RunTextTool(), 0);
    EXPECT_FALSE(frame->IsCommandLocked());
    EXPECT_TRUE(view->GetDocument()->QueryCommandState(2001).IsEnabled());
}

TEST_F(ToolViewTest, FrameServicesRunOnTheActiveDocument) {
    UseTools({"Invert.GLT=Tonalis.so", "Invert.GLT=Floodkit.so"});
    const std::vector<std::pair<const char*, int (CMainFrame::*)()>> services = {
        {"tone", &CMainFrame::RunToneChange},
        {"negative", &CMainFrame::RunToneInvert},
        {"fill", &CMainFrame::RunFillPlugin},
    };
    for (const auto& [name, run] : services) EXPECT_EQ((frame->*run)(), 0) << name;  // no document
    CPelmarkDoc* doc = OpenView()->GetDocument();
    int pixel = 5;
    for (const auto& [name, run] : services) {
        EXPECT_EQ((frame->*run)(), 1) << name;
        pixel = 255 - pixel;
        EXPECT_EQ(LayerPixel(*doc), pixel) << name;
    }
    EXPECT_EQ(Dump()["call"], (std::vector<long long>{1, 2, 1}));
    EXPECT_EQ(doc->m_nUndoIndex, 2);
}

TEST_F(ToolViewTest, AnimationMakerGetsTheImageOfItsDocumentAndHoldsTheShortcuts) {
    UseTools({"Modeless.GLT=Cinereel.so"});
    CPelmarkDoc* doc = OpenView()->GetDocument();
    doc->SetTitle(FilePath("anim"));
    struct Received {
        uint32_t message = 0;
        MemHandle image = nullptr;
        MemHandle* layers = nullptr;
    };
    std::vector<Received> received;
    WinHandle window = platform::WinCreateFunction([&](WinHandle, uint32_t message, WinWParam w, WinLParam l) {
        auto* info = reinterpret_cast<PluginToolInfo*>(w);
        auto* record = reinterpret_cast<PluginToolRecord*>(l);
        received.push_back({message, info ? info->image : nullptr, record ? record->layers : nullptr});
        return WinResult(0);
    });
    frame->SendImageToPluginWnd();  // no maker runs
    WhileRunning([&] {
        // The maker's loop: the view passes its keys to the frame's shortcuts.
        EXPECT_TRUE(frame->PluginLoopRunning());
        PluginToolRecord& record = AnimRecord();
        WinHandle maker = record.window;
        record.window = nullptr;
        record.window2 = window;  // a maker with its preview window alone
        frame->SendImageToPluginWnd();
        record.window = maker;
        record.window2 = nullptr;
        WinSendMessage(maker, kCloseMessage, 0, 0);
    });
    OnMakeAnimation(doc);
    frame->SendImageToPluginWnd();  // finished
    EXPECT_FALSE(frame->PluginLoopRunning());
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, uint32_t(WM_TOOL_NEWIMAGE));
    EXPECT_EQ(received[0].image, doc->m_hImage);
    EXPECT_EQ(received[0].layers, doc->m_hLayers.data());
    WinDestroy(window);
}

// A close request on a document window while a plug-in window works: the
// first request closes the plug-in's window and keeps the frame, the
// second closes the frame. The animation maker goes first whichever frame
// is closed.
TEST_F(ToolViewTest, ClosingAFrameClosesThePluginWindowFirst) {
    UseTools({"Modeless.GLT=Tonalis.so", "Modeless.GLT=Cinereel.so", "Modeless.GLT=hex.so"});
    struct Case {
        const char* name;
        std::function<void(CPelmarkDoc*)> start;
        std::function<WinHandle(CPelmarkDoc*)> window;
        bool otherFrame;
    };
    const Case cases[] = {
        {"tool", [](CPelmarkDoc* d) { RunToneChange(d); },
         [](CPelmarkDoc* d) { return SlotWindow(d->m_ToolPlugin); }, false},
        {"animation", [](CPelmarkDoc* d) { OnMakeAnimation(d); }, [](CPelmarkDoc*) { return AnimRecord().window; },
         true},
        {"hex", [](CPelmarkDoc* d) { OnHexTiling(d); }, [](CPelmarkDoc*) { return HexRecord().window; }, false},
    };
    for (const Case& c : cases) {
        CPelmarkView* view = OpenView();
        CPelmarkDoc* doc = view->GetDocument();
        QPointer<framework::ChildFrame> target =
            c.otherFrame ? OpenView()->GetParentFrame() : view->GetParentFrame();
        doc->SetTitle(FilePath("anim"));  // the maker's record dump goes into the files folder
        bool keptOpen = false;
        WinHandle window = nullptr;
        WhileRunning([&] {
            window = c.window(doc);
            EXPECT_TRUE(window) << c.name;
            target->close();
            keptOpen = target && !target->IsDestroyed();
            // Should the window have stayed, the run still ends.
            QTimer::singleShot(2000, [window] {
                if (WinIsWindow(window)) WinSendMessage(window, kCloseMessage, 0, 0);
            });
        });
        PluginWindowClosed() = false;
        c.start(doc);
        EXPECT_TRUE(keptOpen) << c.name;
        EXPECT_TRUE(PluginWindowClosed()) << c.name;
        EXPECT_FALSE(WinIsWindow(window)) << c.name;
        ASSERT_TRUE(target && !target->IsDestroyed()) << c.name;
        doc->SetModified(false);  // the plug-in reported a change: no question
        target->close();
        EXPECT_TRUE(target->IsDestroyed()) << c.name;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A document that had two windows keeps an exact count: when its last
// window closes later while a tool plug-in works on it, the plug-in goes
// first. While another window shows the document the plug-in stays.
TEST_F(ToolViewTest, TheLastWindowOfADocumentClosesItsToolPluginFirst) {
    UseTools({"Modeless.GLT=Tonalis.so"});
    CPelmarkView* view = OpenView();
    CPelmarkDoc* doc = view->GetDocument();
    framework::ChildFrame* second = docTemplate->CreateNewFrame(doc);
    docTemplate->InitialUpdateFrame(second, doc);
    EXPECT_EQ(doc->m_nChildFrames, 2);
    second->close();
    EXPECT_EQ(doc->m_nChildFrames, 1);
    framework::ChildFrame* third = docTemplate->CreateNewFrame(doc);
    docTemplate->InitialUpdateFrame(third, doc);
    QPointer<framework::ChildFrame> last = view->GetParentFrame();
    bool thirdClosed = false, lastKept = false, pluginStayed = false;
    WhileRunning([&] {
        third->close();  // another window shows the document: the plug-in stays
        thirdClosed = third->IsDestroyed();
        pluginStayed = SlotWindow(doc->m_ToolPlugin) != nullptr;
        EXPECT_EQ(doc->m_nChildFrames, 1);
        last->close();
        lastKept = last && !last->IsDestroyed();
        WinHandle window = SlotWindow(doc->m_ToolPlugin);
        QTimer::singleShot(2000, [window] {
            if (WinIsWindow(window)) WinSendMessage(window, kCloseMessage, 0, 0);
        });
    });
    RunToneChange(doc);
    EXPECT_TRUE(thirdClosed);
    EXPECT_TRUE(pluginStayed);
    EXPECT_TRUE(lastKept);
    EXPECT_EQ(Dump()["closedBy"], std::vector<long long>{1});
    EXPECT_EQ(doc->m_nChildFrames, 1);
    EXPECT_EQ(doc->m_ToolPlugin.record, nullptr);
}

}  // namespace
}  // namespace hosttest
