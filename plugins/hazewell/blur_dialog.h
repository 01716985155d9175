// The blur dialog: a radius of 0 to 20 with a live preview in the layer.
//
// The preview works on two blocks of the layer's size: the layer itself and
// a copy. The blurred pixels are written into the copy and the two are
// exchanged to show them; exchanging again brings the untouched layer back.
#pragma once

#include <cstdint>

#include <QString>

#include "framework/dialog.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_layer_rgb.h"

class CBlurDialog : public framework::Dialog {
public:
    enum {
        IDD = 1000,
        IDC_RADIUS = 1000,
        IDC_PREVIEW = 1002,
        IDC_RADIUS_SPIN = 1004,
        IDC_RADIUS_BAR = 3000,
    };
    static constexpr int kMaxRadius = 20;

    CBlurDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info);
    ~CBlurDialog() override;

    PluginToolRecord* m_pRecord;
    FilterMasks m_masks;             // the selection in use and the protect mask
    MemHandle m_hLayer = nullptr;    // the current layer
    bool m_bPreviewShown = false;    // the layer holds the blurred pixels
    QString m_strRadius;
    QString m_strOldRadius;
    int m_nRadius = 0;
    WinHandle m_hHostWnd;
    PluginToolInfo* m_pInfo;
    RgbBuffer* m_pWork = nullptr;    // the untouched layer in 24 bits
    MemHandle m_hCopy = nullptr;     // the other half of the exchange
    uint16_t m_nDone = 0;            // ImportFL's result
    bool m_bRecompute = false;
    int m_bPreview = 1;              // check 1002

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    // Start-up failure or the end: frees the work image, the masks and the copy.
    void FreeWork();
    void Fail(const char* text, const char* caption);
    // Blurs the work image into the copy.
    void Compute();
    // Exchanges layer and copy to show the blur (preview on, radius above 0)
    // or the untouched layer, then asks the host to refresh.
    void Show();
    void ShowUntouched();
    void OnRadiusEdited();
    // The trackbar or the up-down control chose a radius.
    void OnRadiusPicked(int radius);
    void OnPreviewClicked();
    // Puts the radius into the controls other than the edit.
    void MoveRadiusControls();
    void SetRadiusText(const QString& text);

    bool m_bSettingControls = false;
};
