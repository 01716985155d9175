// The animation editor's frame window: the sheet view, bar 16016 with the
// frame list and every editing control (right) and bar 16017 with the zoom
// radios and the file name (top). A top-level window transient for the
// host's main window, reached through its own handle.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <QWidget>

#include "framework/window_handle.h"
#include "plugin_api/plugin_api.h"
#include "plugins/cinereel/sheet_frame.h"

class CaFrameListBox;
class CaSheet;
class CaView;
namespace framework {
class CommandTable;
}
class CaBar;

// The editor's document: the sheet, made from the export's arguments.
class CaDoc {
public:
    CaDoc(const PluginToolInfo& info, const PluginToolRecord* record);
    ~CaDoc();
    CaSheet* m_pSheet;
};

class CaWnd : public QWidget, public framework::MessageWindow {
    Q_OBJECT
public:
    CaWnd(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info);
    ~CaWnd() override;

    // Creates the bars and the view (OnCreate); false when a bar failed.
    bool Create();
    void SetPreviewWindow(WinHandle preview) { m_hPreview = preview; }
    bool Finished() const { return m_bFinished; }

    // Editor operations.
    void OpenEditor();
    void OnPreview();
    void OnFinish();
    void OnReset();
    // 保存列表 and 载入: the frame list as a *.can file.
    void OnSaveList();
    void OnLoadList();
    // 输出 GIF 动画: the non-empty frames as one animated GIF file.
    void OnOutputGif();
    void RegisterFrames(bool geometry);
    void SelectNextRow(bool reload);
    void OnListSelChange();
    void EnableModeControls();
    // The view's range shown in the range fields.
    void ShowRange(const cinereel::RangeFields& range);

    CaSheet* Sheet() const;

protected:
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class CaBar;
    void initEditBar();
    void declareEditBar(framework::CommandTable& table);
    void declareZoomBar(framework::CommandTable& table);
    void onModeRadio(int mode);
    void onEditChanged(int id);
    void onEditKillFocus(int id);
    void onSpin(int editId);
    // The current limits of a numeric edit.
    std::pair<int, int> editRange(int id) const;
    int& editValue(int id);
    void writeField(int id, int value);
    void writeAllFields();
    void applyEdit(int id);
    void registerRange(bool trim);
    void finishWithTable();
    void destroyEditor();
    void onDocumentClosed();
    int send(WinHandle to, uint32_t message, WinWParam wparam = 0, WinLParam lparam = 0);

    WinHandle m_hHostWnd;
    QWidget* m_pHostWidget;
    PluginToolInfo m_Info;  // a copy: the host's block may live only for a send
    PluginToolRecord* m_pRecord;
    std::string m_strDocName;

    WinHandle m_hPreview = nullptr;
    bool m_bPreviewShown = false;
    bool m_bFinished = false;
    bool m_bDocGone = false;

    std::unique_ptr<CaDoc> m_pDoc;
    CaView* m_pView = nullptr;
    CaBar* m_pEditBar = nullptr;
    CaFrameListBox* m_pListBox = nullptr;
    CaBar* m_pZoomBar = nullptr;

    bool m_bInterlace = false, m_bRepeat = false, m_bTransparent = false;
    int m_nRangeDelay = kDefaultDelay;
    int m_nRangeHeight = 0, m_nRangeX = 0, m_nRangeY = 0, m_nRangeWidth = 0;
    int m_nFrameDelay = kDefaultDelay, m_nCellHeight = 32, m_nCellWidth = 32;
    int m_nBasePos = 0;
    int m_nMode = 1;
    std::map<int, std::string> m_Accepted;  // last text each edit's rule took
    bool m_bWriting = false;
};
