// The image-size dialog (dialog 126 "改变图象尺寸"): the new width and height
// of the image, each 1 .. the maximum image size.
#pragma once

#include "framework/dialog.h"

class CImageSizeDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 126;
    static constexpr int kWidthId = 203;
    static constexpr int kHeightId = 202;

    explicit CImageSizeDlg(QWidget* parent = nullptr);

    // The caller puts the current size here before DoModal.
    unsigned m_nWidth = 512;
    unsigned m_nHeight = 384;

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
};
