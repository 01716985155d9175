// The mosaic dialog: a cell size of 1 to 100 pixels with a live preview in
// the layer.
#pragma once

#include <memory>

#include "framework/dialog.h"
#include "plugin_api/plugin_api.h"
#include "plugins/tesserel/mosaic_engine.h"

class QSpinBox;

class CMosaicDialog : public framework::Dialog {
public:
    enum {
        IDD = 20000,
        IDC_SIZE = 18000,
        IDC_SIZE_SPIN = 18001,
        IDC_PREVIEW = 18002,
        IDC_SIZE_BAR = 20000,
    };
    static constexpr int kMaxCell = 100;

    CMosaicDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info);
    ~CMosaicDialog() override;

    QSpinBox* m_pSpin = nullptr;
    WinHandle m_hHostWnd;
    PluginToolRecord* m_pRecord;
    std::unique_ptr<MosaicEngine> m_pEngine;
    int m_nCell = 1;
    int m_bPreview = 1;  // check 18002
    bool m_bRecompute = false;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    // A new cell size from a control: clamped, and when it differs the other
    // controls follow, the preview is made and shown.
    void TakeCell(int typed);
    void Show();
    void OnPreviewClicked();

    bool m_bSettingControls = false;
};
