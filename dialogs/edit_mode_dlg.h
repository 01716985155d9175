// The edit-mode dialog (dialog 136 "改变编辑模式"): "256 色模式" (0) or
// "16 色模式" (1). The caller sets m_nMode to the document's mode (2 checks
// neither); when the dialog closes, the chosen mode is stored program-wide
// (GetLastEditModeChoice), and without a choice the caller's mode, so that
// no choice reads as no change.
#pragma once

#include "framework/dialog.h"

class CEditModeDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 136;
    static constexpr int k256ColorsId = 285;
    static constexpr int k16ColorsId = 207;

    explicit CEditModeDlg(QWidget* parent = nullptr);

    // The caller's mode: 0 or 1, 2 for neither.
    int m_nMode = 0;
    // The checked radio button's index, -1 for none.
    int m_nRadio = -1;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(framework::DataExchange& dx) override;
    void OnDestroy() override;
};
