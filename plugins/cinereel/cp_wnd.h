// The animation preview's frame window: bar 16018 (edit button and zoom
// radios) above the view, bar 16019 (RESET, BACK, RUN, FORWARD, STOPRUN and
// a second edit button) below it. Created hidden with its own handle, shown
// by the editor, hidden while the editor is open, closed for good after it.
#pragma once

#include <QRect>
#include <QWidget>

#include "framework/window_handle.h"
#include "plugin_api/plugin_api.h"

class CaBar;
class CaSheet;
class CpView;

inline constexpr int IDC_PREVIEW_EDIT = 16007;
inline constexpr int IDC_PREVIEW_RESET = 16009;
inline constexpr int IDC_PREVIEW_BACK = 16011;
inline constexpr int IDC_PREVIEW_RUN = 16012;
inline constexpr int IDC_PREVIEW_FORWARD = 16013;
inline constexpr int IDC_PREVIEW_STOPRUN = 16014;
inline constexpr int IDC_PREVIEW_ZOOM_FIRST = 16016;

// The preview's document: the sheet it plays, owned by the editor.
struct CpDoc {
    CaSheet* m_pSheet = nullptr;
};

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
    void dropSheet();
    void onEditButton();
    void enableEditButton(bool enable);
    void onShow(CaSheet* sheet);
    void placeWindow();
    void onSettings(const char* text);
    void onZoom(int index);

    // The playback buttons.
    void onReset();
    void onRun();
    void onStopRun();
    void onBack();
    void onForward();
    enum class Look { Idle, Running, Paused };
    void setLook(Look look);
    void press(int id, bool down);
    void setState(int state);

    WinHandle m_hHostWnd;
    PluginToolInfo m_Info;
    PluginToolRecord* m_pRecord;
    WinHandle m_hEditor = nullptr;
    CpDoc m_Doc;
    CpView* m_pView = nullptr;
    CaBar* m_pTopBar = nullptr;
    CaBar* m_pBottomBar = nullptr;
    int m_nZoomIndex = 0;
    bool m_bEditorOpen = false;
    bool m_bClosed = false;
    int m_nButtonState = -1;  // -1 reset, 0 running, 3 paused, 10 fast back, 11 fast forward
    QRect m_rcSaved;          // from ANIMPOS; null while none was read
};
