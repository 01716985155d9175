// The gradation dialog: a modeless window in which the user picks the start
// and end colours from the host's colour bar (the swatch buttons take the
// current colour), drags the two points in the direction control, chooses
// linear or circular and smooth or two-colour, and sees the result in the
// layer.
//
// The preview works on two blocks of the layer's size: the layer itself and
// a copy. The gradient is written into the copy and the two are exchanged to
// show it; exchanging again brings the untouched layer back.
#pragma once

#include <cstdint>

#include <functional>

#include <QString>

#include "framework/dialog.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_layer_rgb.h"

class CGradDirectionCtrl;
class CPaletteSwatch;

class CGradateDialog : public framework::Dialog {
public:
    enum {
        IDD = 5000,
        IDC_START_COLOR = 5000,
        IDC_END_COLOR = 5001,
        IDC_LINEAR = 5002,
        IDC_CIRCULAR = 5003,
        IDC_TWO_COLORS = 5004,
        IDC_PALETTE_COLORS = 5005,
        IDC_DIRECTION = 5006,
        IDC_PREVIEW = 5007,
        IDC_ZOOM_IN = 5008,
        IDC_ZOOM_OUT = 5009,
        IDC_ZOOM_TEXT = 5010,
    };
    static constexpr uint32_t kCloseMessage = 0x0010;

    // `done` outlives the dialog: the loop around it reads it.
    CGradateDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info, bool* done);
    ~CGradateDialog() override;

    // Called once the dialog is done (the loop ends).
    std::function<void()> onDone;

    PluginToolRecord* m_pRecord;
    PluginToolInfo* m_pInfo;
    WinHandle m_hHostWnd;
    int m_bPreview = 1;     // check 5007
    int m_nShape = 0;       // 0 linear, 1 circular
    int m_nColorMode = 1;   // 0 two colours, 1 palette colours
    QString m_strZoom;
    int m_nStartIndex = 0;
    int m_nEndIndex = 0;
    RgbBuffer* m_pWork = nullptr;  // the untouched layer in 24 bits
    MemHandle m_hLayer = nullptr;  // the current layer
    MemHandle m_hCopy = nullptr;   // the other half of the exchange
    FilterMasks m_masks;
    bool m_bPreviewShown = false;  // the layer holds the gradient
    bool m_bRecompute = false;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    void DeclareCommands(framework::CommandTable& table) override;
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;

private:
    void Fail(const char* text);
    void FreeWork();
    void SetDone();
    // Swatches and control take the indexes; with `recompute` the gradient
    // is made anew when the preview is on and something changed, then shown;
    // everything is repainted and the zoom text set.
    void Refresh(bool recompute);
    void Compute();
    // Preview on: layer and copy exchanged to show the gradient; off: back.
    void Show();
    void ShowUntouched();
    bool Changed() const;
    int CurrentColor() const;
    void OnSwatch(bool end);
    void OnZoomIn();
    void OnZoomOut();
    void OnShapeOrMode();
    void OnPreviewClicked();
    void OnDirection();
    void CentreOverHost();

    CPaletteSwatch* m_pStart = nullptr;
    CPaletteSwatch* m_pEnd = nullptr;
    CGradDirectionCtrl* m_pDirection = nullptr;
    bool* m_pDone;
    bool m_bEnded = false;
};
