// The colour map dialog (dialog 137 "改变图像内使用的颜色"): pick a colour
// on grid 294 and paint it onto the cells of grid 295; the caller then
// makes every pixel of index i take Map()[i]. Cells of locked palette rows
// take part in neither.
#pragma once

#include <array>
#include <cstdint>

#include "framework/dialog.h"

class CColorMapGrid;
class CPelmarkDoc;
class ColorSwatch;

class CColorMapDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 137;
    static constexpr int kPickGridId = 294;
    static constexpr int kMapGridId = 295;
    static constexpr int kSwatchId = 296;
    static constexpr int kIndexTextId = 1129;
    static constexpr int kColorTextId = 1130;

    explicit CColorMapDlg(CPelmarkDoc* doc, QWidget* parent = nullptr);

    // After OK: pixels of index i become map[i] (the identity at first).
    std::array<uint8_t, 256> map{};
    int PickedIndex() const { return picked_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void pick(int cell);
    void paint(int cell);
    void showPicked();

    CPelmarkDoc* doc_;
    CColorMapGrid* pickGrid_;
    CColorMapGrid* mapGrid_;
    ColorSwatch* swatch_;
    int picked_ = 0;
};
