#include "plugins/cinereel/ca_bars.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

using framework::ControlKind;
using framework::ControlTemplate;

CaBar::CaBar(int templateId, Declare declare, QWidget* parent)
    : Dialog(templateId, parent), declare_(std::move(declare)) {
    setObjectName(QStringLiteral("bar%1").arg(templateId));
    setWindowFlags(Qt::Widget);
}

void CaBar::DeclareCommands(framework::CommandTable& table) {
    if (declare_) declare_(table);
    Dialog::DeclareCommands(table);
}

namespace {

// A zoom radio's picture, drawn by code.
QPixmap ZoomPicture(int zoom) {
    QPixmap picture(28, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 27, 15);
    p.drawText(QRect(0, 0, 28, 16), Qt::AlignCenter, QStringLiteral("x%1").arg(zoom));
    return picture;
}

}  // namespace

void CreateEditBarControls(CaBar& bar, QWidget* list) {
    list->setParent(&bar);
    list->setGeometry(5, 5, 310, 200);
    bar.RegisterControl(IDC_FRAME_LIST, list);
    std::vector<ControlTemplate> c = {
        {IDC_FINISH, ControlKind::PushButton, "结束", {5, 210, 70, 24}},
        {IDC_RESET, ControlKind::PushButton, "重置", {80, 210, 70, 24}},
        {IDC_PREVIEW, ControlKind::PushButton, "预览", {155, 210, 70, 24}},
        {IDC_SAVE_LIST, ControlKind::PushButton, "保存列表", {5, 238, 90, 24}},
        {IDC_LOAD_LIST, ControlKind::PushButton, "载入", {100, 238, 70, 24}},
        {IDC_WRITE_GIF, ControlKind::PushButton, "输出 GIF 动画", {175, 238, 140, 24}},
        {IDC_REPEAT, ControlKind::CheckBox, "重复", {5, 266, 70, 20}},
        {IDC_TRANSPARENT, ControlKind::CheckBox, "背景色透明", {80, 266, 120, 20}},
        {IDC_INTERLACE, ControlKind::CheckBox, "交错", {205, 266, 70, 20}},
        {IDC_MODE_FRAME, ControlKind::Radio, "帧设置", {5, 290, 100, 20}, true},
        {IDC_MODE_RANGE, ControlKind::Radio, "选择移动范围", {110, 290, 150, 20}},
        {0, ControlKind::Label, "宽", {5, 316, 20, 20}},
        {IDC_CELL_WIDTH, ControlKind::Edit, "", {25, 314, 50, 22}},
        {IDC_CELL_WIDTH_SPIN, ControlKind::VScrollBar, "", {75, 314, 16, 22}},
        {0, ControlKind::Label, "高", {100, 316, 20, 20}},
        {IDC_CELL_HEIGHT, ControlKind::Edit, "", {120, 314, 50, 22}},
        {IDC_CELL_HEIGHT_SPIN, ControlKind::VScrollBar, "", {170, 314, 16, 22}},
        {0, ControlKind::Label, "时间", {195, 316, 40, 20}},
        {IDC_FRAME_DELAY, ControlKind::Edit, "", {235, 314, 60, 22}},
        {0, ControlKind::Label, "X", {5, 416, 20, 20}},
        {IDC_RANGE_X, ControlKind::Edit, "", {25, 414, 50, 22}},
        {IDC_RANGE_X_SPIN, ControlKind::VScrollBar, "", {75, 414, 16, 22}},
        {0, ControlKind::Label, "Y", {100, 416, 20, 20}},
        {IDC_RANGE_Y, ControlKind::Edit, "", {120, 414, 50, 22}},
        {IDC_RANGE_Y_SPIN, ControlKind::VScrollBar, "", {170, 414, 16, 22}},
        {0, ControlKind::Label, "宽", {5, 442, 20, 20}},
        {IDC_RANGE_WIDTH, ControlKind::Edit, "", {25, 440, 50, 22}},
        {IDC_RANGE_WIDTH_SPIN, ControlKind::VScrollBar, "", {75, 440, 16, 22}},
        {0, ControlKind::Label, "高", {100, 442, 20, 20}},
        {IDC_RANGE_HEIGHT, ControlKind::Edit, "", {120, 440, 50, 22}},
        {IDC_RANGE_HEIGHT_SPIN, ControlKind::VScrollBar, "", {170, 440, 16, 22}},
        {0, ControlKind::Label, "时间", {195, 442, 40, 20}},
        {IDC_RANGE_DELAY, ControlKind::Edit, "", {235, 440, 60, 22}},
        {IDC_REGISTER_FILLED, ControlKind::PushButton, "填充登录", {5, 468, 100, 24}},
        {IDC_REGISTER_AS_IS, ControlKind::PushButton, "如实登录", {110, 468, 100, 24}},
    };
    for (int i = 0; i < 9; ++i)
        c.push_back({kBasePositionIds[i], ControlKind::Radio, "", {200 + (i % 3) * 24, 344 + (i / 3) * 22, 20, 20},
                     i == 0});
    bar.CreateControls(c);
    bar.MakeRadioGroup({IDC_MODE_FRAME, IDC_MODE_RANGE});
    bar.MakeRadioGroup({kBasePositionIds[0], kBasePositionIds[1], kBasePositionIds[2], kBasePositionIds[3],
                        kBasePositionIds[4], kBasePositionIds[5], kBasePositionIds[6], kBasePositionIds[7],
                        kBasePositionIds[8]});
    // Spins count up when their upper arrow is pressed.
    for (int id : {IDC_CELL_WIDTH_SPIN, IDC_CELL_HEIGHT_SPIN, IDC_RANGE_X_SPIN, IDC_RANGE_Y_SPIN,
                   IDC_RANGE_WIDTH_SPIN, IDC_RANGE_HEIGHT_SPIN})
        if (auto* spin = bar.Item<QScrollBar>(id)) {
            spin->setInvertedAppearance(true);
            spin->setInvertedControls(true);
        }
    bar.setMinimumSize(320, 500);
}

void CreateZoomBarControls(CaBar& bar) {
    std::vector<ControlTemplate> c;
    for (int i = 0; i < 6; ++i)
        c.push_back({IDC_ZOOM_FIRST + i, ControlKind::Radio, "", {5 + i * 50, 4, 48, 22}, i == 0});
    c.push_back({0, ControlKind::Label, "处理的文件名", {310, 6, 100, 20}});
    c.push_back({IDC_FILE_NAME, ControlKind::Edit, "", {410, 4, 300, 22}});
    bar.CreateControls(c);
    bar.MakeRadioGroup({16000, 16001, 16002, 16003, 16004, 16005});
    for (int i = 0; i < 6; ++i)
        if (auto* radio = bar.Item<QAbstractButton>(IDC_ZOOM_FIRST + i)) {
            radio->setIcon(ZoomPicture(kZooms[i]));
            radio->setIconSize(QSize(28, 16));
        }
    if (auto* name = bar.Item<QLineEdit>(IDC_FILE_NAME)) name->setReadOnly(true);
    bar.setMinimumHeight(30);
}
