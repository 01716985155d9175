// The merge-layers dialog (dialog 290 "合并图层"): how many cells across and
// down the layer sheet lays the document's layers out on. It opens with the
// proposal for the document; OK refuses counts below 1 and asks before the
// sheet passes the largest image or has fewer cells than layers.
#pragma once

#include "framework/dialog.h"

class CPelmarkDoc;

class CMergeLayersDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 290;
    static constexpr int kColumnsId = 1039;
    static constexpr int kRowsId = 1040;

    // `doc` may be null (the proposal is then 1 x 1).
    explicit CMergeLayersDlg(CPelmarkDoc* doc, QWidget* parent = nullptr);

    // The proposal on opening; after OK the counts the user accepted.
    int m_nColumns = 1;
    int m_nRows = 1;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CPelmarkDoc* doc_;
};
