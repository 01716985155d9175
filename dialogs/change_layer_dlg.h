// The change-layer dialog (dialog 228 "更改图层"): the edit layer's name and
// draw mode. OK writes both into the layer's header and gives result 1;
// Cancel changes nothing.
#pragma once

#include "framework/dialog.h"

class CPelmarkDoc;

class CChangeLayerDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 228;
    static constexpr int kNameId = 1127;
    static constexpr int kDrawModeId = 1128;

    explicit CChangeLayerDlg(QWidget* parent = nullptr);

    void SetDocument(CPelmarkDoc* doc) { m_pDoc = doc; }
    // 1 when the header was written.
    int GetResult() const { return m_nResult; }

    CPelmarkDoc* m_pDoc = nullptr;
    int m_nResult = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
