// The border-line dialog (dialog 279 "制作边界线"): a line of the current
// colour along the edge of the document's selection, inside, centred on it
// or outside, of a width of 1..100 pixels, into the current layer as one
// undo step. It opens with width 1 and the centre every time; the width
// drawn with is kept program-wide for the pen stamps.
#pragma once

#include "framework/dialog.h"

class CPelmarkDoc;

class CBorderLineDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 279;
    static constexpr int kWidthId = 1039;
    static constexpr int kInsideId = 1076;
    static constexpr int kCentreId = 1077;
    static constexpr int kOutsideId = 1079;

    explicit CBorderLineDlg(QWidget* parent = nullptr);

    void SetDocument(CPelmarkDoc* doc) { m_pDoc = doc; }

    int m_nWidth = 1;
    int m_nPosition = 1;  // tools::BorderPosition

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    // Plots the border of the selection through the active view.
    void TraceBorder(int position);

    CPelmarkDoc* m_pDoc = nullptr;
};
