// The new-image dialog (dialog 109 "新建"): size, colour mode, palette source
// and background colour of a new image, with the size presets of
// "menu.txt".
//
// The size fields take small sums ("32*4"): OK shows the computed numbers
// first and keeps the dialog open; the next OK accepts them.
#pragma once

#include <string>
#include <vector>

#include <QString>

#include "dialogs/color_choice.h"
#include "dialogs/menu_presets.h"
#include "framework/dialog.h"

class CPelmarkDoc;
class ColorButton;

class CNewImageDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 109;
    static constexpr int kMaxPresets = kMaxMenuPresets;

    // Controls.
    static constexpr int kPresetListId = 1093;
    static constexpr int kWidthId = 203;
    static constexpr int kHeightId = 202;
    static constexpr int kMode256Id = 285;
    static constexpr int kMode16Id = 207;
    static constexpr int kPaletteNoneId = 1094;
    static constexpr int kPaletteFileId = 1095;
    static constexpr int kPaletteLastUsedId = 1096;
    static constexpr int kBrowseId = 1097;
    static constexpr int kBackColorId = 1160;

    // Where the palette of a new image comes from.
    enum PaletteSource {
        kPaletteNone = 0,      // the default table, entry 0 the background colour
        kPaletteFromFile = 1,  // the palette of an image file
        kPaletteLastUsed = 2,  // the working palette as it stands
    };

    using Color = ChosenColor;

    // Kept for the life of the program and shared by every new-image dialog.
    struct KeptState {
        int paletteSource = kPaletteNone;
        QString palettePath;
        Color background;                 // the last one chosen
        std::vector<SizePreset> presets;  // at most kMaxPresets
    };
    static KeptState& Kept();

    explicit CNewImageDlg(QWidget* parent = nullptr);
    ~CNewImageDlg() override;

    // Size in pixels (1 .. the maximum image size).
    unsigned m_nWidth = 640;
    unsigned m_nHeight = 480;
    // 0 the 256-colour mode, 1 the 16-colour mode.
    int m_nColorMode = 0;
    // Bytes per pixel of the new image (0: 8-bit indexed).
    int m_nBytesPerPixel = 0;
    // Palette entry 0 of a new image with the default palette: the kept
    // background colour.
    Color m_BackColor;
    // Name of the new image's first layer.
    QString m_strLayerName;

    // For palette source 1: empties the working palette and fills it from
    // the palette file. On failure "调色板取出失败" is shown and the kept
    // path emptied. True when the working palette holds the file's palette.
    bool LoadPaletteFromFile(CPelmarkDoc* doc);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(framework::DataExchange& dx) override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    void OnPresetChosen();
    void OnPaletteSource(int source);
    void OnBrowse();
    void OnBackColor();
    // Evaluates a size field and shows its value; true when it may pass.
    bool ConfirmSizeField(int id);

    ColorButton* backColorButton_ = nullptr;
};
