// The About box: the product name and the version text, with an OK button.
#pragma once

#include "framework/dialog.h"

class CAboutDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 100;
    static constexpr int kProductTextId = 1000;
    static constexpr int kVersionTextId = 1001;

    explicit CAboutDlg(QWidget* parent = nullptr);
};
