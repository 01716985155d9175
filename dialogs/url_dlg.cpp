#include "dialogs/url_dlg.h"

#include <QLineEdit>

#include "dialogs/dialog_fields.h"
#include "framework/data_exchange.h"

using framework::ControlKind;

CUrlDlg::CUrlDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("输入 URL"));
    CreateControls({
        {0, ControlKind::Label, QStringLiteral("URL:"), {12, 16, 40, 20}},
        {kUrlId, ControlKind::Edit, {}, {56, 14, 300, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {370, 12, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {370, 44, 78, 26}},
    });
    LimitUtf8Bytes(Item<QLineEdit>(kUrlId), kMaxUrlBytes);
    setFixedSize(462, 84);
}

void CUrlDlg::DoDataExchange(framework::DataExchange& dx) { dx.Text(kUrlId, m_strUrl); }
