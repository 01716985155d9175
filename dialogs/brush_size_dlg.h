// The custom pen dialog (dialog 243 "编辑画笔"): size 1..100 by slider or
// typing, round or square, with a preview. OK writes size and shape into the
// pen's entry of tools::CustomPens(). Enter in the edit first applies a
// typed size (slider and preview follow) and keeps the dialog open.
#pragma once

#include <cstdint>

#include "framework/dialog.h"

class CBrushPreview;

class CBrushSizeDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 243;
    static constexpr int kSliderId = 1093;
    static constexpr int kSizeId = 1156;
    static constexpr int kRoundId = 1157;
    static constexpr int kSquareId = 1158;
    static constexpr int kPreviewId = 1159;
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 100;
    // The tool palette's first custom pen.
    static constexpr int kFirstCustomPenIndex = 18;

    // `penIndex` is the tool palette's pen index (18 to 20 are the custom pens).
    explicit CBrushSizeDlg(int penIndex, QWidget* parent = nullptr);

    // The custom pen slot of a pen index: index - 18, clamped to 0..2.
    static int SlotForPenIndex(int penIndex);

    int m_nSlot = 0;
    int16_t m_nSize = 1;
    uint8_t m_nShape = 0;
    // The size edit has the focus.
    bool m_bEditing = false;

    CBrushPreview* Preview() const { return preview_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    void sliderMoved();
    void applySize(int size);

    CBrushPreview* preview_ = nullptr;
};
