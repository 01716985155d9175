// The copy-layer dialog (dialog 227 "复制图层"): the name of a copy of the
// edit layer. OK appends the copy at the top in its own undo step, after the
// work-memory probe; GetResult tells whether it was made. The class also
// deletes the edit layer, without a dialog.
#pragma once

#include <cstddef>

#include <QString>

#include "framework/dialog.h"

class CPelmarkDoc;

class CCopyLayerDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 227;
    static constexpr int kNameId = 1125;
    static constexpr int kSourceNameId = 1126;

    explicit CCopyLayerDlg(QWidget* parent = nullptr);

    void SetDocument(CPelmarkDoc* doc) { m_pDoc = doc; }
    // The block size of a layer of the document's size; without a document
    // the message "错误" and false.
    bool ComputeLayerSize();
    // 1 when the copy was made.
    int GetResult() const { return m_nResult; }
    // The top layer (the copy) becomes the edit layer.
    void SelectLastLayer();
    // Deletes the edit layer as undo step "消除层" (the layers above move
    // down); 1 when it was deleted.
    int DeleteCurrentLayer();

    size_t m_nLayerSize = 0;
    CPelmarkDoc* m_pDoc = nullptr;
    int m_nResult = 0;
    QString m_strName;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};
