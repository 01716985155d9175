// The animation preview's frame window, as far as the editor's messages
// need it: created hidden with its own handle, shown by the editor, hidden
// or closed for good, and its edit button that opens the editor again.
// Playback is not here yet.
#pragma once

#include <QWidget>

#include "framework/window_handle.h"
#include "plugin_api/plugin_api.h"

class CaBar;
class CaSheet;

inline constexpr int IDC_PREVIEW_EDIT = 16007;

class CpWnd : public QWidget, public framework::MessageWindow {
    Q_OBJECT
public:
    CpWnd(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info);
    ~CpWnd() override;

    void SetEditorWindow(WinHandle editor) { m_hEditor = editor; }
    bool Closed() const { return m_bClosed; }

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onClose();
    void closeForGood();
    void onEditButton();
    void enableEditButton(bool enable);

    WinHandle m_hHostWnd;
    PluginToolInfo m_Info;
    PluginToolRecord* m_pRecord;
    WinHandle m_hEditor = nullptr;
    CaSheet* m_pSheet = nullptr;
    CaBar* m_pBar = nullptr;
    bool m_bEditorOpen = false;
    bool m_bClosed = false;
};
