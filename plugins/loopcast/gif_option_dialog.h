// The question asked before saving a GIF: is palette colour 0 transparent?
#pragma once

#include "framework/dialog.h"

class CGifOptionDialog : public framework::Dialog {
public:
    enum { IDD = 21000, IDC_TRANSPARENT_YES = 21000, IDC_TRANSPARENT_NO = 21001 };
    CGifOptionDialog();

    int m_transparency = 0;  // 0 "要" (colour 0 is transparent), 1 "不要"
    int m_done = 0;          // set by OK

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
    void OnOK() override;
};
