#include "palettes/link_palette.h"

#include "framework/resource_pictures.h"

namespace {

const std::vector<ButtonPalette::Button> kLinkButtons = {
    {633, "输入可点选区域的URL\n输入URL"},
    {631, "可点选区域移动\n移动"},
    {628, "用多边形划定区域\nPOLY"},
    {625, "用长方形划定区域\nRECT"},
    {626, "用圆形划定区域\nCIRCLE"},
    {632, "可点选区域删除\n删除"},
    {629, "打开已存文件\n打开"},
    {630, "保存工作中文件\n保存"},
    {634, "显示可点选区域的文本\n显示可点选区文本"},
};

}  // namespace

CToolRecPalette::CToolRecPalette(QWidget* owner)
    : ButtonPalette(owner, QStringLiteral("链接面板"), QStringLiteral("ToolRecPalettePos"),
                    pictures::LinkPaletteStrip(), pictures::kLinkPaletteImages) {
    setObjectName(QStringLiteral("LinkPalette"));
    SetButtonsAndColumns(kLinkButtons, kColumns);
}
