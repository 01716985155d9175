// The fixture of the Cinereel tests: Cinereel.so through the editor's real
// loading path, its windows reached by control id.
#pragma once

#include <cstring>
#include <functional>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "app/pelmark_app.h"
#include "document/image_limits.h"
#include "document/layer_factory.h"
#include "framework/dialog.h"
#include "framework/doc_template.h"
#include "host_fixture.h"
#include "imaging/dib.h"
#include "imaging/dib_geometry.h"
#include "platform/module.h"
#include "imaging/dib_create.h"
#include "platform/window_qt.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_host_services.h"
#include "plugin_host/tool_runs.h"
#include "view/child_frame.h"
#include "view/pelmark_view.h"

namespace hosttest {
namespace {

using namespace plugin_host;

constexpr char kEmptyRow0[] = "000   0000,0000  0000,0000  0100";

class CinereelTest : public HostTest {
protected:
    std::unique_ptr<framework::Application> MakeApplication() override {
        return std::make_unique<CPelmarkApp>();
    }
    void SetUp() override {
        HostTest::SetUp();
        Services() = ToolHostServices{};
        frame->resize(800, 600);
        frame->show();
        docTemplate = app->AddDocTemplate(
            framework::DocTemplate::Create<CPelmarkDoc, CChildFrame, CPelmarkView>(129));
        ASSERT_TRUE(QFile::link(QStringLiteral(CINEREEL_PATH), ProgramDir() + "Cinereel.so"));
    }
    void TearDown() override {
        Services() = ToolHostServices{};
        HostTest::TearDown();
    }

    // A document in a view: `layers` layers of `width` x `height`, layer 0
    // filled with `pixel`.
    CPelmarkDoc* OpenDoc(int width, int height, int layers = 1, int pixel = 0) {
        auto* doc = dynamic_cast<CPelmarkDoc*>(docTemplate->CreateNewDocument());
        doc->m_hImage = CreateDib8(width, height, 0);
        EXPECT_TRUE(doc->InitDib());
        for (int i = 0; i < layers; ++i) EXPECT_TRUE(document::CreateLayer(*doc, i, 1));
        SetLayer(doc, [&](int, int) { return pixel; });
        framework::ChildFrame* child = docTemplate->CreateNewFrame(doc);
        docTemplate->InitialUpdateFrame(child, doc);
        doc->SetTitle("anim");
        QApplication::processEvents();
        return doc;
    }
    // Layer 0 from f(x, y), y from the top.
    static void SetLayer(CPelmarkDoc* doc, const std::function<int(int, int)>& f) {
        dib::LockedDib image(doc->m_hImage);
        const int w = image.geo().width, h = image.geo().height, stride = (w + 3) & ~3;
        MemLockGuard layer(doc->m_hLayers[0]);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                layer.get()[LAYER_HEADER_SIZE + size_t(h - 1 - y) * stride + x] = uint8_t(f(x, y));
    }

    // Runs the command with `body` inside the plug-in's loop; a body that
    // leaves the plug-in running is ended by closing the document's windows.
    void Run(framework::CommandId command, std::function<void()> body) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            body();
        });
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] {
            ADD_FAILURE() << "the plug-in was still running";
            WinSendMessage(AnimRecord().window, WM_TOOL_DOCCLOSED, 0, 0);
        });
        safety.start(20000);
        EXPECT_TRUE(frame->ExecuteCommand(command));
        EXPECT_TRUE(ran);
        EXPECT_FALSE(AnimMakerRunning());
    }

    static QWidget* Editor() { return platform::WinWidget(AnimRecord().window); }
    static QWidget* Preview() { return platform::WinWidget(AnimRecord().window2); }
    static framework::Dialog* Bar(int id) {
        QWidget* editor = Editor();
        auto* bar = editor ? editor->findChild<QDialog*>(QStringLiteral("bar%1").arg(id)) : nullptr;
        return static_cast<framework::Dialog*>(bar);
    }
    static QWidget* SheetView() {
        auto* view = Editor()->findChild<QAbstractScrollArea*>("CaView");
        return view ? view->viewport() : nullptr;
    }
    static QListWidget* List() { return Bar(16016)->Item<QListWidget>(14012); }
    static std::string Row(int row) { return List()->item(row)->text().toStdString(); }
    static void Click(int id) { Bar(16016)->ClickButton(id); }
    static void Text(int id, const QString& text) { Bar(16016)->SetDlgItemText(id, text); }
    static std::string Field(int id) { return Bar(16016)->GetDlgItemText(id).toStdString(); }
    static bool Enabled(int id) { return Bar(16016)->GetDlgItem(id)->isEnabled(); }
    static void Grid(int w, int h) { WinSendMessage(AnimRecord().window, WM_TOOL_GRIDSIZE, WinWParam(w), h); }
    static void SelectRows(std::initializer_list<int> rows, int caret) {
        QListWidget* list = List();
        list->clearSelection();
        list->setCurrentRow(caret, QItemSelectionModel::NoUpdate);
        for (int row : rows) list->item(row)->setSelected(true);
    }
    static void ClickAt(QPoint at) {
        QTest::mouseClick(SheetView(), Qt::LeftButton, {}, at);
    }
    static int Zoom(int index) {
        Bar(16017)->ClickButton(16000 + index);
        return 0;
    }

    framework::DocTemplate* docTemplate = nullptr;
};

}  // namespace
}  // namespace hosttest
