#include "dialogs/image_size_dlg.h"

#include "dialogs/size_exchange.h"

using framework::ControlKind;

CImageSizeDlg::CImageSizeDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("改变图象尺寸"));
    CreateControls({
        {-1, ControlKind::Label, QStringLiteral("横 : "), {16, 18, 40, 20}},
        {kWidthId, ControlKind::Edit, {}, {60, 16, 90, 22}},
        {-1, ControlKind::Label, QStringLiteral("纵 : "), {16, 50, 40, 20}},
        {kHeightId, ControlKind::Edit, {}, {60, 48, 90, 22}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {170, 14, 78, 26}},
        {framework::IDCANCEL, ControlKind::PushButton, QStringLiteral("取消"), {170, 46, 78, 26}},
    });
    setFixedSize(262, 86);
}

void CImageSizeDlg::DoDataExchange(framework::DataExchange& dx) {
    ExchangeImageSize(dx, kWidthId, m_nWidth, kHeightId, m_nHeight);
}
