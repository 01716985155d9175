// The new-layer dialog (dialog 226 "新建图层"): the name and draw mode of a
// new layer. OK makes the layer at the slot it was given, in its own undo
// step, after the work-memory probe; the dialog closes either way and
// GetResult tells whether a layer was made.
#pragma once

#include <cstddef>

#include <QString>

#include "framework/dialog.h"

class CPelmarkDoc;

class CLayerSetDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 226;
    static constexpr int kNameId = 1124;
    static constexpr int kDrawModeId = 1105;

    explicit CLayerSetDlg(QWidget* parent = nullptr);

    void SetLayerIndex(int slot) { m_nLayerIndex = slot; }
    void SetDocument(CPelmarkDoc* doc) { m_pDoc = doc; }
    // The block size of a layer of the document's size; without a document
    // the message "错误" and false.
    bool ComputeLayerSize();
    // 1 when a layer was made.
    int GetResult() const { return m_nResult; }
    // The layer above the edit layer becomes the edit layer.
    void SelectLayerAbove();

    size_t m_nLayerSize = 0;
    int m_nLayerIndex = 0;
    CPelmarkDoc* m_pDoc = nullptr;
    int m_nResult = 0;
    QString m_strName;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
