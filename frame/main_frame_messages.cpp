// The custom messages plug-ins, views and a later instance send to the main
// frame, the frame services around the active view, the command locks on
// every command, the recent files and the shortcuts while a plug-in runs.
#include <cstring>

#include <QStatusBar>
#include <QToolBar>

#include "document/doc_globals.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "frame/main_menu.h"
#include "framework/program_recent_list.h"
#include "frame/status_texts.h"
#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "framework/view.h"
#include "palettes/color_palette_bar.h"
#include "palettes/link_palette.h"
#include "palettes/layer_list_dlg.h"
#include "palettes/palette_dialog.h"
#include "palettes/pos_palette_dlg.h"
#include "palettes/select_mode_palette.h"
#include "palettes/tool_palette.h"
#include "platform/text_codec.h"
#include "plugin_api/plugin_api.h"
#include "plugin_host/tool_host_services.h"
#include "plugin_host/tool_runs.h"
#include "plugin_api/plugin_messages.h"
#include "view/pelmark_view.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
// Values the plug-ins keep pass through a 256-byte buffer.
constexpr int kSettingValueMax = 255;

// The first bytes of a UTF-8 text, at most `max`, cut at a character boundary.
QByteArray boundedUtf8(const QByteArray& text, int max) {
    if (text.size() <= max) return text;
    int end = max;
    while (end > 0 && (uchar(text[end]) & 0xC0) == 0x80) --end;
    return text.left(end);
}

// A path the user named opens through the application.
void openByName(const QString& path) {
    if (framework::Application* app = framework::Application::Instance()) app->OpenDocumentByName(path);
}

}  // namespace

CPelmarkDoc* CMainFrame::GetActiveDoc() const { return dynamic_cast<CPelmarkDoc*>(GetActiveDocument()); }

int CMainFrame::GetActiveZoom() const {
    CPelmarkView* view = GetActivePelmarkView();
    return view ? view->Zoom() : 1;
}

bool CMainFrame::IsActiveChildMaximized() const {
    framework::ChildFrame* child = MDIGetActive();
    return child && child->isMaximized();
}

void CMainFrame::RedrawActiveView() {
    if (framework::View* view = GetActiveView()) view->repaint();
}

void CMainFrame::SyncToolWindows() {
    if (auto* view = dynamic_cast<CPelmarkView*>(GetActiveView())) view->SyncToolWindows();
}

void CMainFrame::InvalidateActiveView() {
    if (framework::View* view = GetActiveView()) view->update();
}

QSize CMainFrame::ActiveGridSize() const {
    CPelmarkView* view = GetActivePelmarkView();
    return view ? QSize(view->MainCellWidth(), view->MainCellHeight()) : QSize(16, 16);
}

void CMainFrame::LockAllAndUpdateLayers() {
    LockAllCommands();
    if (CPelmarkDoc* doc = GetActiveDoc()) UpdateLayerPalette(doc);
}

bool CMainFrame::RouteCommand(framework::CommandRequest& request) {
    bool taken = framework::MdiFrame::RouteCommand(request);
    if (request.kind == framework::CommandRequest::Update && request.ui &&
        locks_.Disables(request.id)) {
        request.ui->Enable(false);
        return true;
    }
    return taken;
}

bool CMainFrame::TranslateShortcutKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!pluginLoopRunning_) return false;
    CommandId id = ShortcutCommand(key, modifiers);
    return id != 0 && SendCommand(id);
}

// Recent files ---------------------------------------------------------------

void CMainFrame::updateRecentFile(framework::CmdUI& ui) {
    int n = int(ui.id() - kFirstRecentFileId) + 1;
    ui.SetText(ProgramRecentMenuText(n));
    ui.Enable(!ProgramRecentFile(n).isEmpty() && !ToolWindowsDisabled());
}

void CMainFrame::openRecentFile(CommandId id) {
    QString path = ProgramRecentFile(int(id - kFirstRecentFileId) + 1);
    if (path.isEmpty()) return;
    openByName(path);
}

// Messages --------------------------------------------------------------------

WinResult CMainFrame::OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) {
    switch (message) {
    case WM_PALETTEBAR_UPDATE:
        if (colorPalette_) colorPalette_->OnPaletteBarUpdate(int(wparam), lparam);
        return 0;
    case WM_TOOLRECT_STATUS: return onToolRectStatus(wparam, lparam);
    case WM_PLUGIN_STATUS: return onPluginStatus(wparam, lparam);
    case WM_PLUGIN_GETGRID: return onGetGrid(wparam);
    case WM_COMMANDLINE_BYTE: return onCommandLineByte(wparam, lparam);
    // Caption keeping has nothing to draw under Qt; the palettes reload.
    case WM_KEEP_LAYER_CAPTION:
    case WM_KEEP_POS_CAPTION:
    case WM_SELMODE_FORWARD:
        return 0;
    case WM_GUIDE_REFRESH:
        RefreshGuidePalette();
        return 0;
    case WM_PLUGIN_MODIFIED_NOASK:
        document::SetNoReduceQuestion(true);
        [[fallthrough]];
    case WM_PLUGIN_MODIFIED:
        if (CPelmarkDoc* doc = GetActiveDoc()) doc->SetModifiedFlag(true);
        return 1;
    case WM_PLUGIN_STOREANIMTABLE: return onStoreAnimTable();
    case WM_PLUGIN_CLOSED: return 1;
    case WM_PLUGIN_ANIMSTATE: return onAnimState(wparam, lparam);
    case WM_PLUGIN_ENABLEHOST: return onEnableHost(wparam, lparam);
    case WM_PLUGIN_SETTINGS: return onPluginSettings(wparam, lparam);
    default: return framework::MdiFrame::OnWindowMessage(message, wparam, lparam);
    }
}

WinResult CMainFrame::onPluginStatus(WinWParam code, WinLParam value) {
    if (code == PLUGIN_STATUS_REFRESH_VIEW) {
        if (MDIGetActive()) RefreshActiveView(value == 0 ? 0 : 1);
        return 1;
    }
    if (std::optional<QString> text = PluginStatusText(int(code), value)) {
        SetPaneText(1, 0, *text);
        // Shown at once: the plug-in may not give control back for a while.
        statusBar()->repaint();
    }
    return 1;
}

WinResult CMainFrame::onToolRectStatus(WinWParam type, WinLParam values) {
    const auto* v = reinterpret_cast<const int32_t*>(values);
    if (!v) return 1;
    if (std::optional<ToolRectText> t = ToolRectStatusText(int(type), v)) SetPaneText(2, t->pane, t->text);
    if (statusBar2_) statusBar2_->repaint();
    return 1;
}

WinResult CMainFrame::onCommandLineByte(WinWParam byte, WinLParam position) {
    if (position >= 0 && position < WinLParam(commandLine_.size())) {
        commandLine_[size_t(position)] = char(byte);
    } else if (position == WinLParam(commandLine_.size())) {
        QByteArray bytes(commandLine_.data(), qsizetype(strnlen(commandLine_.data(), commandLine_.size())));
        commandLine_.fill(0);
        QString path = platform::DecodeFileTextToQString(std::string_view(bytes.constData(), size_t(bytes.size())));
        if (!path.isEmpty()) openByName(path);
    }
    return 0;
}

WinResult CMainFrame::onPluginSettings(WinWParam argument, WinLParam op) {
    framework::Application* app = framework::Application::Instance();
    if (!app || !GetActiveDoc()) return 1;
    const char* key = nullptr;
    bool write = false;
    switch (op) {
    case PLUGIN_SETTINGS_WRITE_MOJI: key = "Moji"; write = true; break;
    case PLUGIN_SETTINGS_READ_MOJI: key = "Moji"; break;
    case PLUGIN_SETTINGS_WRITE_ANIMPOS: key = "ANIMPOS"; write = true; break;
    case PLUGIN_SETTINGS_READ_ANIMPOS: key = "ANIMPOS"; break;
    default: return 1;
    }
    if (write) {
        const char* text = reinterpret_cast<const char*>(argument);
        if (!text) return 1;
        // At most 255 bytes are kept, however long the plug-in's string.
        QByteArray value(text, qsizetype(strnlen(text, kSettingValueMax + 1)));
        value = boundedUtf8(platform::DecodeFileText(value).c_str(), kSettingValueMax);
        app->WriteProfileString(kSettings, QString::fromLatin1(key), QString::fromUtf8(value));
        return 1;
    }
    QByteArray value = boundedUtf8(app->GetProfileString(kSettings, QString::fromLatin1(key)).toUtf8(),
                                   kSettingValueMax);
    char buffer[kSettingValueMax + 1] = {};
    std::memcpy(buffer, value.constData(), size_t(value.size()));
    WinSendMessage(reinterpret_cast<WinHandle>(argument), WM_TOOL_SETTINGS,
                   reinterpret_cast<WinWParam>(buffer), 0);
    return 1;
}

WinResult CMainFrame::onEnableHost(WinWParam group, WinLParam enable) {
    if (MDIGetActive()) plugin_host::EnableHostWindows(int(group), enable != 0);
    return 1;
}

WinResult CMainFrame::onGetGrid(WinWParam window) {
    CPelmarkView* view = MDIGetActive() ? GetActivePelmarkView() : nullptr;
    if (view) view->SendGridToToolWindows(reinterpret_cast<WinHandle>(window));
    return 1;
}

WinResult CMainFrame::onAnimState(WinWParam editor, WinLParam preview) {
    CPelmarkDoc* doc = GetActiveDoc();
    if (!doc) return 1;
    doc->m_bAnimState = uint8_t(editor);
    doc->m_bAnimPreview = uint8_t(preview);
    doc->m_bAnimPluginRunning = uint8_t(preview);
    SetAnimationButtons(doc->m_bAnimState != 0, doc->m_bAnimPreview != 0);
    if (toolBar_) toolBar_->update();
    return 1;
}

WinResult CMainFrame::onStoreAnimTable() {
    if (MDIGetActive()) plugin_host::RestoreAnimTable();
    return 1;
}
