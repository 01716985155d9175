// The colour edit dialog (dialog 108 "改变调板"): one colour with alpha,
// edited as red, green, blue or as hue, saturation, value through four
// scroll bars and four edit boxes, two swatches showing the colour and the
// grey of its alpha, and the colour dictionary beside them (pick a named
// colour, add the current one, delete one). The caller sets red, green,
// blue and alpha, runs it modally and reads them back after OK; the dialog
// changes no document.
//
// Both the RGB and the HSV values are current at any time: a change of
// either side recomputes the other, and switching the display mode only
// relabels. Alpha alone never moves red, green and blue.
#pragma once

#include <array>

#include "dialogs/rgb_hsv.h"
#include "framework/dialog.h"

class QScrollBar;
class ColorSwatch;

class CColorEditDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 108;
    static constexpr int kColorSwatchId = 109;
    static constexpr int kRgbRadioId = 110;
    static constexpr int kHsvRadioId = 111;
    // Labels, scroll bars and edits of the three components and alpha.
    static constexpr std::array<int, 4> kLabelIds = {112, 113, 114, 1046};
    static constexpr std::array<int, 4> kBarIds = {115, 116, 117, 1048};
    static constexpr std::array<int, 4> kEditIds = {120, 121, 122, 1047};
    static constexpr int kAlphaSwatchId = 118;
    static constexpr int kDictionaryCheckId = 261;
    static constexpr int kDictionaryListId = 262;
    static constexpr int kAddEntryId = 236;
    static constexpr int kDeleteEntryId = 238;
    // Where the dictionary part begins: the dialog without it ends here.
    static constexpr int kDictionaryEdgeId = 1152;

    // 1 shows red, green, blue; 0 hue, saturation, value.
    enum DisplayMode { kHsvMode = 0, kRgbMode = 1 };

    explicit CColorEditDlg(QWidget* parent = nullptr);
    ~CColorEditDlg() override;

    // The display mode of the program (RGB at start, kept between openings).
    static int Mode();
    static void SetMode(int mode);

    int red = 0, green = 0, blue = 0, alpha = 0;
    int hue = 0, saturation = 0, value = 0;

    ChosenColor Color() const { return {red, green, blue, alpha}; }
    void SetColor(const ChosenColor& color);

    // The width without and with the dictionary part.
    int NarrowWidth() const;
    int FullWidth() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    int component(int i) const;
    int rangeMax(int i) const;
    QScrollBar* bar(int i) const;
    // Labels, edits and bars from the members of the current mode.
    void showMode();
    void setBar(int i, int position);
    // Sets one component of the current mode and recomputes the other side.
    void applyComponent(int i, int v);
    void onScroll(int i);
    void onEditDone(int i);
    void repaintSwatches();
    void paintBars();
    void showDictionaryPart(bool shown);
    void fillDictionary();
    void pickEntry(int row);
    void addEntry();
    void deleteEntry();

    ColorSwatch* colorSwatch_ = nullptr;
    ColorSwatch* alphaSwatch_ = nullptr;
    // Set while the dialog fills its own controls.
    bool filling_ = false;
};

// The name dialog of a new dictionary entry (dialog 135 "登录色表"): one
// field of at most 20 characters that takes no comma and no line break.
class CColorNameDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 135;
    static constexpr int kNameId = 284;
    static constexpr int kMaxName = 20;

    explicit CColorNameDlg(QWidget* parent = nullptr);

    QString name;

protected:
    void OnOK() override;
};
