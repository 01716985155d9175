// The new-image dialog (dialog 109 "新建"): size, colour mode, palette source
// and background colour of a new image.
//
// The dialog's window is still being built: until its controls exist,
// DoModal opens it as the program would (palette source none, path empty,
// the kept background colour), takes the values as they stand and ends with
// IDOK. Tests answer in the dialog's place with SetModalAnswer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "framework/dialog.h"

class CPelmarkDoc;

class CNewImageDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 109;
    static constexpr int kMaxPresets = 256;

    // Where the palette of a new image comes from.
    enum PaletteSource {
        kPaletteNone = 0,      // the default table, entry 0 the background colour
        kPaletteFromFile = 1,  // the palette of an image file
        kPaletteLastUsed = 2,  // the working palette as it stands
    };

    struct Color {
        int red = 0;
        int green = 0;
        int blue = 0;
        int alpha = 0;
    };

    // One size of "menu.txt".
    struct SizePreset {
        std::string name;
        int width = 0;
        int height = 0;
    };

    // Kept for the life of the program and shared by every new-image dialog.
    struct KeptState {
        int paletteSource = kPaletteNone;
        QString palettePath;
        Color background;
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
    // Palette entry 0 of a new image with the default palette; starts as the
    // kept colour and becomes the kept colour when the dialog ends with OK.
    Color m_BackColor;
    // Name of the new image's first layer.
    QString m_strLayerName;

    // For palette source 1: empties the working palette and fills it from
    // the palette file. On failure "调色板取出失败" is shown and the kept
    // path emptied. True when the working palette holds the file's palette.
    bool LoadPaletteFromFile(CPelmarkDoc* doc);

    // Test hook: answers every new-image dialog in the user's place. The
    // function gets the opened dialog (it may change the members and the
    // kept state) and returns IDOK or IDCANCEL. An empty function restores
    // the default answer. Returns the previous function.
    using ModalAnswer = std::function<int(CNewImageDlg&)>;
    static ModalAnswer SetModalAnswer(ModalAnswer answer);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
