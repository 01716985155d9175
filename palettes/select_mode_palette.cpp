#include "palettes/select_mode_palette.h"

#include "framework/resource_pictures.h"

namespace {

const std::vector<ButtonPalette::Button> kModeButtons = {
    {653, "长方形\n长方形"},
    {654, "椭圆形\n椭圆形"},
    {655, "自由手\n自由手"},
    {656, "多边形\n多边形"},
};

}  // namespace

CSelectModePalette::CSelectModePalette(QWidget* owner)
    : ButtonPalette(owner, QStringLiteral("范围选择"), QString(), pictures::SelectModeStrip(),
                    pictures::kSelectModeImages) {
    setObjectName(QStringLiteral("SelectModePalette"));
    SetButtonsAndColumns(kModeButtons, kColumns);
}
