// The splash window shown at start-up: a frameless window without a caption
// whose one control is the picture (bitmap 292) with the program's name,
// owned by the main frame. The application shows it and
// closes it (after a while, at the first click or key, or when the
// previous run's documents are opened).
#pragma once

#include <QImage>

class QLabel;

#include "framework/dialog.h"

class CSplashDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 296;
    static constexpr int kPictureBitmapId = 292;

    CSplashDlg();
    ~CSplashDlg() override;

    // The picture (drawn once, the same every time).
    static const QImage& Picture();

protected:
    bool OnInitDialog() override;

private:
    QLabel* picture_ = nullptr;
};
