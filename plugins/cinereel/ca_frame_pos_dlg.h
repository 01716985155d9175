// The frame position dialog of the list's insert and overwrite: x, y, width,
// height and delay of one frame, each edit clamped to the image as it
// changes.
#pragma once

#include "framework/dialog.h"
#include "plugins/cinereel/frame_list_ops.h"

enum : int {
    IDD_FRAME_POS = 16050,
    IDC_POS_DELAY = 14047,
    IDC_POS_HEIGHT = 14041,
    IDC_POS_Y = 14045,
    IDC_POS_X = 14043,
    IDC_POS_WIDTH = 14028,
    IDC_POS_HEIGHT_SPIN = 14042,
    IDC_POS_X_SPIN = 14044,
    IDC_POS_Y_SPIN = 14046,
    IDC_POS_WIDTH_SPIN = 14031,
};

class CaFramePosDlg : public framework::Dialog {
    Q_OBJECT
public:
    // Opened with the frame's values, for `row`, on an image of the size.
    CaFramePosDlg(QWidget* parent, const SheetFrame& frame, int row, int imageWidth, int imageHeight);

    int m_nDelay, m_nHeight, m_nY, m_nX, m_nWidth;
    int m_nResult = -1;  // 1 confirmed, -1 cancelled or closed
    int m_nRow;

    cinereel::FramePos Values() const { return {m_nX, m_nY, m_nWidth, m_nHeight, m_nDelay}; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    void onEditChanged(int id);
    void onSpin(int spinId);
    void apply(cinereel::FramePos pos, int changedId);
    void writeFields();
    int imageWidth_, imageHeight_;
    bool writing_ = false;
};
