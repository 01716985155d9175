// Closing the program: plug-in windows first, then the lists and settings
// of this run, the colour dictionary question and the framework's close.
#include <QStatusBar>

#include "document/image_limits.h"
#include "document/open_doc_list.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "frame/next_open_list.h"
#include "frame/window_placement.h"
#include "framework/application.h"
#include "framework/document.h"
#include "platform/message_box.h"
#include "plugin_host/plugin_windows.h"

namespace {

const QString kSettings = QStringLiteral("Settings");

}  // namespace

bool CMainFrame::closePluginWindows() {
    framework::Application* app = framework::Application::Instance();
    if (!app) return false;
    bool closed = false;
    for (framework::Document* d : app->Documents()) {
        auto* doc = dynamic_cast<CPelmarkDoc*>(d);
        if (!doc) continue;
        closed |= plugin_host::ClosePluginSlot(doc->m_ToolPlugin);
        closed |= plugin_host::ClosePluginSlot(doc->m_AnimPlugin);
        if (GetMapToolSetting()) closed |= plugin_host::ClosePluginSlot(doc->m_HexPlugin);
    }
    return closed;
}

void CMainFrame::writeNextOpenList() { WriteNextOpenFiles(document::OpenDocumentPaths()); }

void CMainFrame::saveBarState() {
    if (framework::Application* app = framework::Application::Instance())
        app->WriteProfileString(QStringLiteral("General"), QStringLiteral("BarState"),
                                QString::fromLatin1(saveState().toBase64()));
}

void CMainFrame::saveWindowPlacement() {
    framework::Application* app = framework::Application::Instance();
    if (!app) return;
    WindowPlacement p;
    p.flags = isMaximized() ? WindowPlacement::kRestoreToMaximized : 0;
    p.showCmd = isMinimized()   ? WindowPlacement::kShowMinimized
                : isMaximized() ? WindowPlacement::kShowMaximized
                                : WindowPlacement::kShowNormal;
    p.normal = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    if (!p.normal.isValid()) p.normal = geometry();
    app->WriteProfileString(kSettings, QStringLiteral("WindowPos"), FormatWindowPlacement(p));
}

bool CMainFrame::OnClose() {
    // A plug-in window open: this request only closes it.
    if (closePluginWindows()) return false;
    writeNextOpenList();
    if (gridFlagsWriter_) gridFlagsWriter_();
    if (colorDic_.Block() && colorDic_.IsModified()) {
        int answer = ShowMessageBox(WindowHandle(), "是否保存色表？", "Kavolt",
                                    MB_BTN_YESNOCANCEL | MB_ICON_QUESTION);
        if (answer == MB_ANSWER_CANCEL) return false;
        // A dictionary that cannot be written keeps the program open, so
        // that the user can decide again.
        if (answer == MB_ANSWER_YES && !colorDic_.SaveColorDic()) return false;
    }
    saveBarState();
    saveWindowPlacement();
    return framework::MdiFrame::OnClose();
}
