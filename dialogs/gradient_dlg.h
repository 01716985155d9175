// The gradient dialog (modeless dialog 134): writes a run of palette entries
// from a start colour to an end colour. The main frame creates it hidden at
// start and shows it for a document.
#pragma once

#include "framework/dialog.h"

class CGradientDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 134;
    CGradientDlg();
};
