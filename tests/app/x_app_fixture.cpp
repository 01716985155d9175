#include "x_app_fixture.h"

#include <algorithm>

#include <QWidget>

#include "dialogs/new_image_dlg.h"
#include "framework/command_ids.h"
#include "framework/dialog.h"
#include "platform/message_box_recorder.h"
#include "view/pelmark_view.h"

namespace apptest {

void XAppTest::SetUp() {
    KVT_REQUIRE_X();
    AppTest::SetUp();
}

void XAppTest::StartEditor() {
    ASSERT_TRUE(Start({QStringLiteral("-e")}));
    CMainFrame* frame = app->Frame();
    ASSERT_TRUE(kvtest::WaitUntil([&] { return kvtest::IsViewable(frame); }));
    ASSERT_TRUE(Activate(frame));
}

CPelmarkView* XAppTest::NewImage(int width, int height) {
    platform::MessageBoxRecorder boxes;
    framework::ScopedModalDriver answer([&](framework::Dialog& d) {
        d.SetDlgItemInt(CNewImageDlg::kWidthId, width);
        d.SetDlgItemInt(CNewImageDlg::kHeightId, height);
        d.ClickButton(CNewImageDlg::kMode256Id);
        d.ClickButton(framework::IDOK);
    });
    if (!app->ExecuteCommand(framework::ID_FILE_NEW)) return nullptr;
    Flush();
    return dynamic_cast<CPelmarkView*>(app->GetMainFrame()->GetActiveView());
}

bool XAppTest::Activate(QWidget* window) {
    window->raise();
    window->activateWindow();
    return kvtest::WaitUntil([&] { return kvtest::ActiveXWindow() == window->winId(); });
}

bool XAppTest::ClickAt(const QPoint& global) {
    const bool sent = !kvtest::RunXTool(QStringLiteral("xdotool"),
                                        {QStringLiteral("mousemove"), QString::number(global.x()),
                                         QString::number(global.y()), QStringLiteral("click"),
                                         QStringLiteral("1")})
                           .isNull();
    kvtest::Settle();
    return sent;
}

bool XAppTest::StackedAbove(QWidget* top, QWidget* below) {
    const std::vector<unsigned long> order = kvtest::StackingOrder();
    auto a = std::find(order.begin(), order.end(), top->winId());
    auto b = std::find(order.begin(), order.end(), below->winId());
    return a != order.end() && b != order.end() && a > b;
}

}  // namespace apptest
