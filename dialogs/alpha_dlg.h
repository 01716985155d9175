// The alpha dialog (dialog 208 "设置 alpha 值"): one alpha value 0..255 for
// every palette entry. The caller reads m_nAlpha after OK.
#pragma once

#include "framework/dialog.h"

class CAlphaDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 208;
    static constexpr int kAlphaId = 1050;

    explicit CAlphaDlg(QWidget* parent = nullptr);

    int m_nAlpha = 128;

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
    void DeclareCommands(framework::CommandTable& table) override;
};
