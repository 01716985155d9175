#include "plugins/cinereel/cp_wnd.h"

#include <QCloseEvent>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/window_qt.h"
#include "plugins/cinereel/ca_bars.h"
#include "plugins/cinereel/cinereel_messages.h"
#include "plugins/cinereel/cinereel_run.h"

CpWnd::CpWnd(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info)
    : QWidget(nullptr, Qt::Window), MessageWindow(this), m_hHostWnd(hostWindow),
      m_Info(info ? *info : PluginToolInfo{}), m_pRecord(record) {
    setObjectName(QStringLiteral("CpWnd"));
    setWindowTitle(QStringLiteral("动画预览"));
    if (QWidget* host = platform::WinWidget(hostWindow)) {
        winId();
        if (QWindow* handle = host->window()->windowHandle()) windowHandle()->setTransientParent(handle);
    }
    m_pBar = new CaBar(
        16018, [this](framework::CommandTable& t) { t.On(IDC_PREVIEW_EDIT, [this] { onEditButton(); }); },
        this);
    m_pBar->CreateControls({{IDC_PREVIEW_EDIT, framework::ControlKind::PushButton, "编辑", {4, 4, 60, 24}}});
    m_pBar->setMinimumSize(200, 32);
    m_pBar->Create(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_pBar);
    column->addStretch(1);
    resize(320, 240);
    WindowHandle();
}

CpWnd::~CpWnd() = default;

void CpWnd::enableEditButton(bool enable) { m_pBar->EnableDlgItem(IDC_PREVIEW_EDIT, enable); }

void CpWnd::onEditButton() {
    m_bEditorOpen = true;
    enableEditButton(false);
    WinSendMessage(m_hEditor, WM_ANIM_OPENEDITOR, 0, 0);
    activateWindow();
}

void CpWnd::onClose() {
    if (m_bClosed) return;
    if (m_bEditorOpen) {
        WinSendMessage(m_hEditor, WM_ANIM_PREVIEWHIDDEN, 0, 0);
        hide();
        return;
    }
    WinSendMessage(m_hEditor, WM_ANIM_PREVIEWFINISH, 0, 0);
    closeForGood();
}

void CpWnd::closeForGood() {
    m_bClosed = true;
    hide();
    ReleaseHandle();
    NotifyRunLoop();
}

void CpWnd::closeEvent(QCloseEvent* event) {
    event->ignore();
    onClose();
}

WinResult CpWnd::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    if (m_bClosed) return 0;
    switch (message) {
    case WM_CLOSE_WINDOW: onClose(); return 0;
    case WM_ANIM_SHOWPREVIEW:
        m_pSheet = reinterpret_cast<CaSheet*>(lparam);
        enableEditButton(!m_bEditorOpen);
        show();
        raise();
        return 1;
    case WM_ANIM_CLOSEPREVIEW: closeForGood(); return 1;
    case WM_ANIM_EDITORHIDDEN:
        m_bEditorOpen = false;
        enableEditButton(true);
        return 1;
    case WM_ANIM_OPENEDITOR:
        m_bEditorOpen = true;
        enableEditButton(false);
        if (isVisible()) activateWindow();
        return 1;
    case WM_TOOL_NEWIMAGE:
        if (auto* info = reinterpret_cast<const PluginToolInfo*>(wparam)) m_Info = *info;
        if (auto* record = reinterpret_cast<PluginToolRecord*>(lparam)) m_pRecord = record;
        update();
        return 1;
    case WM_ANIM_FRAMESCHANGED:
    case WM_ANIM_SELECTFRAME:
    case WM_TOOL_SETTINGS:
    case WM_TOOL_IMAGECHANGED:
        return 1;
    default: return MessageWindow::OnWindowMessage(message, wparam, lparam);
    }
}
