// The colour-tone dialog: hue, saturation and lightness of one hue band (or
// colourisation) with a live preview, in the layer's pixels or in the
// image's palette.
//
// Pixel mode works on two blocks of the layer's size, the layer and a copy:
// the adjusted pixels go into the copy and the two are exchanged to show
// them. Palette mode exchanges the image's colour table with an adjusted
// copy of it. Exchanging again brings the untouched state back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QString>

#include "framework/dialog.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/tonalis/tone_adjust.h"

class CToneDialog : public framework::Dialog {
public:
    enum {
        IDD = 11000,
        IDC_MASTER = 11000,   // bands 0 .. 6: 11000 .. 11006
        IDC_COLORIZE = 11007,
        IDC_PALETTE_MODE = 11008,
        IDC_HUE = 11011,
        IDC_HUE_BAR = 11013,
        IDC_SATURATION = 11014,
        IDC_LIGHTNESS = 11015,
        IDC_SATURATION_BAR = 11018,
        IDC_LIGHTNESS_BAR = 11019,
        IDC_PREVIEW = 11022,
        IDC_HUE_SPIN = 11024,
        IDC_SATURATION_SPIN = 11025,
        IDC_LIGHTNESS_SPIN = 11026,
    };
    // The rows of controls: hue, saturation, lightness.
    enum Row { kHue, kSaturation, kLightness, kRows };

    struct ToneParams {
        int hue, saturation, lightness;
    };
    struct Range {
        int min, max;
    };

    CToneDialog(WinHandle hostWindow, PluginToolRecord* record, PluginToolInfo* info);
    ~CToneDialog() override;

    PluginToolRecord* m_pRecord;
    PluginToolInfo* m_pInfo;
    WinHandle m_hHostWnd;
    MemHandle m_hLayer = nullptr;   // the current layer
    MemHandle m_hCopy = nullptr;    // the other half of the pixel exchange
    FilterMasks m_masks;            // the selection in use and the protect mask
    std::unique_ptr<DibPaletteCopy> m_pPalette;  // the other half of the palette exchange
    ToneParams m_normal{0, 0, 0};
    ToneParams m_colorize{120, 25, 0};
    std::array<Range, kRows> m_ranges{};
    int m_nBand = 0;                // 0 .. 6, -1 colourise
    int m_nColorize = -1;           // 0 when 11007 is chosen
    int m_bPaletteMode = 0;         // check 11008
    int m_bPreview = 1;             // check 11022
    bool m_bPreviewShown = false;   // an exchange shows the adjusted state
    bool m_bShowingPalette = false; // ... and it is the palette's
    bool m_bRecompute = true;
    std::array<QString, kRows> m_strText;
    std::array<QString, kRows> m_strOldText;
    uint16_t m_nDone = 0;           // ImportFL's result

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    bool Colorizing() const { return m_nColorize == 0; }
    ToneParams& Params() { return Colorizing() ? m_colorize : m_normal; }
    int& Param(int row);
    // Any parameter of the set in use is not 0, or colourisation is chosen.
    bool Active();

    void Fail(const char* text, const char* caption);
    void FreeWork();
    // Adjusts the palette copy (palette mode) or writes the adjusted layer
    // into the copy, after bringing the untouched state back.
    void Compute();
    // Exchanges to show the adjusted state (force: also with the preview
    // off) or the untouched one, then asks the host to rebuild the canvas.
    void Show(bool force = false);
    bool Exchange(bool palette);
    bool Unshow();
    void Refresh();
    // A changed value or choice: recompute, compute when previewing, show.
    void Changed();

    void OnEdited(int row);
    void OnPicked(int row, int value);
    void OnBand(int band);
    void OnColorize();
    void OnPaletteMode();
    void OnPreview();
    // Ranges and positions of the controls from the set in use.
    void LoadControls();
    void MoveRowControls(int row);
    void SetRowText(int row, const QString& text);

    bool m_bSettingControls = false;
};
