#include "app/about_dlg.h"

using framework::ControlKind;

CAboutDlg::CAboutDlg(QWidget* parent) : framework::Dialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("关于 Kavolt"));
    CreateControls({
        {kProductTextId, ControlKind::Label, QStringLiteral("Kavolt"), {20, 16, 200, 20}},
        {kVersionTextId, ControlKind::Label, QStringLiteral("版本 1.00.11"), {20, 40, 200, 20}},
        {framework::IDOK, ControlKind::DefPushButton, QStringLiteral("确定"), {150, 72, 70, 24}},
    });
    setFixedSize(240, 108);
}
