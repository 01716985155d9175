// The URL dialog (dialog 206 "输入 URL"): the link of an image-map area. The
// caller sets m_strUrl before and reads it after OK. An area keeps 127 bytes
// of its link, so the edit takes no more than that.
#pragma once

#include "framework/dialog.h"

class CUrlDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 206;
    static constexpr int kUrlId = 1045;
    static constexpr int kMaxUrlBytes = 127;

    explicit CUrlDlg(QWidget* parent = nullptr);

    QString m_strUrl;

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
};
