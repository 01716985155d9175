#include "palettes/layer_details_menu.h"

using framework::MenuCommand;
using framework::MenuPopup;
using framework::MenuSeparator;

std::vector<framework::MenuItem> LayerDetailsMenu() {
    return {
        MenuCommand(32933, "展开图层"),
        MenuCommand(32862, "当前图层向上移动"),
        MenuCommand(32863, "当前图层向下移动"),
        MenuCommand(32864, "向下合并图层"),
        MenuCommand(32942, "合并可见图层"),
        MenuCommand(32865, "合并所有图层"),
        MenuCommand(32866, "统一所有图层标准"),
        MenuCommand(32867, "所有图层背景色设置为透明"),
        MenuSeparator(),
        MenuPopup("原稿读入", {
            MenuCommand(32932, "从 TWAIN32 源输入"),
            MenuCommand(32868, "从文件输入"),
        }),
        MenuCommand(32869, "删除原稿"),
        MenuCommand(32870, "显示原稿"),
    };
}
