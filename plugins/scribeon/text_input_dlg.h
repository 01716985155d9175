// The text tool's modeless dialog: a text box whose characters each carry
// their own face, style, size and colour, the spacing and alignment of the
// lines, and a live preview of the text in the current layer at the last
// canvas click.
//
// The preview works on two blocks of the layer's size: the layer and a work
// copy. Each render draws the whole text into a fresh copy of the layer (and
// of the composite of the visible layers, for anti-aliased glyphs); the two
// blocks are exchanged to show it and exchanged back to hide it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "framework/dialog.h"
#include "plugin_api/plugin_api.h"
#include "plugins/kit/kit_filter_masks.h"
#include "plugins/kit/kit_layer_rgb.h"
#include "plugins/scribeon/text_render.h"
#include "plugins/scribeon/text_settings.h"

class QTextCharFormat;
class QTextEdit;
class CTextColorButton;

class CTextInputDlg : public framework::Dialog {
public:
    enum {
        IDD = 9000,
        IDC_SPACING_LINE = 6003,
        IDC_SPACING_CHAR = 6004,
        IDC_SIZE = 6005,
        IDC_FACE = 6006,
        IDC_STYLE = 6007,
        IDC_ANTIALIAS = 6014,
        IDC_TEXT = 6018,
        IDC_YOKO_LEFT = 9009,
        IDC_YOKO_CENTER = 9010,
        IDC_YOKO_RIGHT = 9011,
        IDC_TATE_TOP = 9012,
        IDC_TATE_CENTER = 9013,
        IDC_TATE_BOTTOM = 9014,
        IDC_COLOR = 9016,
        IDC_PREVIEW = 9017,
        IDC_SIZE_SPIN = 9018,
        IDC_LINE_SPIN = 9019,
        IDC_CHAR_SPIN = 9020,
        IDC_BACKGROUND = 9021,
    };
    // The platform's timer message: wParam the timer id (drives the
    // debounce timer from outside the event loop).
    static constexpr uint32_t kTimerMessage = 0x0113;
    static constexpr uint32_t kCloseMessage = 0x0010;

    CTextInputDlg(WinHandle hostWindow, PluginToolInfo* info, PluginToolRecord* record);
    ~CTextInputDlg() override;

    bool Done() const { return m_bDone; }

    // The character format in use (the rich edit's, as the settings keep it).
    struct CharFormat {
        int effects = 0;
        int heightTwips = 400;
        int colorIndex = 0;
        int charset = 1;
        std::string face;  // at most 31 bytes
    } m_cf;

    std::vector<TextChar> m_text;  // as last read from the text box
    bool m_bTextGrew = false;
    bool m_bRenderReady = true;
    bool m_bSettingsChanged = true;
    int m_nTick = 10;
    bool m_bPending = false;
    float m_fSize = 20.0f;
    float m_fLineSpacing = 20.0f;
    float m_fCharSpacing = 0.0f;
    QString m_strSize, m_strLineSpacing, m_strCharSpacing;
    int m_nColorIndex = 0;
    CTextColorButton* m_pBackground = nullptr;
    int m_nAlignment = 0;
    int m_bAntiAlias = 0;
    int m_bPreview = 1;
    PluginToolRecord* m_pRecord;
    PluginToolInfo* m_pInfo;
    WinHandle m_hHostWnd;
    MemHandle m_hImage = nullptr;
    MemHandle m_hLayer = nullptr;
    MemHandle m_hWork = nullptr;
    bool m_bSwapped = false;
    RgbBuffer* m_pComposite = nullptr;
    FilterMasks m_masks;
    bool m_bDone = false;
    bool m_bDocGone = false;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;
    void OnTimer(int id) override;
    void DeclareCommands(framework::CommandTable& table) override;
    WinResult OnWindowMessage(uint32_t message, WinWParam wparam, WinLParam lparam) override;

private:
    QTextEdit* Edit() const;
    void Fail(const char* text, const char* caption);
    void FreeWork();
    void End();
    void LoadSettings(const char* text);
    TextSettings CurrentSettings() const;
    void FillFaces();
    void FillStyles();
    void SelectFace(const std::string& face);
    // The combos, the size and the colour into the format, and the format to
    // the selection (or to what is typed next).
    void ReadCombos();
    void ApplyFormat();
    QTextCharFormat QtFormat() const;
    void ReadFormatAt();
    std::vector<TextChar> ReadText() const;
    void RenderText();
    void ApplyPreview();
    bool SelectionEmpty() const;

    void OnNumberEdited(int id);
    void OnSpin(int id);
    void OnFaceChanged();
    void OnStyleChanged();
    void OnColorButton();
    // The colour button 9016 shows the text colour (its palette entry).
    void ShowTextColor();
    void OnAlignment();
    void OnPreviewClicked();
    void OnAntiAliasClicked();
    void OnTextChanged();
    void OnSelectionChanged();
    void SetNumberText(int id, const QString& text);

    PaletteEntry m_palette[256] = {};
    int m_nColors = 0;
    int m_width = 0, m_height = 0;
    std::unique_ptr<GlyphFonts> m_fonts;
    RgbBuffer* m_pCompositeCopy = nullptr;
    std::vector<uint8_t> m_textMask;
    std::vector<uint16_t> m_chosen;
    bool m_bSettingControls = false;
    int m_nTextLength = 0;
};
