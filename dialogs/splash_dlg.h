// The splash window shown at start-up: a frameless picture with the
// program's name, owned by the main frame. The application shows it and
// closes it (after a while, at the first click or key, or when the
// previous run's documents are opened).
#pragma once

#include <QImage>

#include "framework/dialog.h"

class CSplashDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 296;

    CSplashDlg();
    ~CSplashDlg() override;

    // The picture (drawn once, the same every time).
    static const QImage& Picture();

protected:
    bool OnInitDialog() override;
    void paintEvent(QPaintEvent* event) override;
};
