#include "frame/main_menu.h"

#include "palettes/layer_details_menu.h"

using framework::MenuCommand;
using framework::MenuPopup;
using framework::MenuSeparator;

std::vector<framework::MenuItem> MainMenu() {
    return {
        MenuPopup("文件(F)", {
            MenuCommand(57600, "新建(N)...\tCtrl+N"),
            MenuCommand(57601, "打开(O)...\tCtrl+O"),
            MenuCommand(57602, "关闭(C)\tCtrl+W"),
            MenuCommand(657, "关闭所有文件\tCtrl+Shift+W"),
            MenuCommand(57603, "保存(S)\tCtrl+S"),
            MenuCommand(57604, "另存为(A)..."),
            MenuCommand(32849, "还原"),
            MenuSeparator(),
            MenuCommand(32918, "从 TWAIN32 源输入"),
            MenuCommand(32919, "选择 TWAIN32 源"),
            MenuSeparator(),
            MenuCommand(57607, "打印(P)...\tCtrl+P"),
            MenuCommand(57609, "打印预览(V)"),
            MenuSeparator(),
            MenuCommand(32832, "保存参数设置(E)"),
            MenuSeparator(),
            MenuCommand(4000, "1."),
            MenuCommand(4001, "2."),
            MenuCommand(4002, "3."),
            MenuCommand(4003, "4."),
            MenuCommand(4004, "5."),
            MenuCommand(4005, "6."),
            MenuCommand(4006, "7."),
            MenuCommand(4007, "8."),
            MenuCommand(4008, "9."),
            MenuCommand(4009, "10."),
            MenuSeparator(),
            MenuCommand(57665, "退出(X)\tAlt+X"),
        }),
        MenuPopup("编辑(E)", {
            MenuCommand(57643, "撤消(U)\tCtrl+Z"),
            MenuCommand(57644, "重做(R)\tCtrl+R"),
            MenuCommand(32852, "重复(E)\tCtrl+E"),
            MenuSeparator(),
            MenuCommand(57635, "剪切(T)\tCtrl+X"),
            MenuCommand(57634, "复制(C)\tCtrl+C"),
            MenuCommand(57637, "粘贴(P)\tCtrl+V"),
            MenuCommand(32853, "清除\tDel"),
            MenuCommand(32854, "清除内存"),
            MenuCommand(34010, "作为新文件打开(N)\tCtrl+Shift+N"),
            MenuSeparator(),
            MenuCommand(34014, "全选(A)\tCtrl+A"),
            MenuCommand(34015, "取消选择(F)\tCtrl+D"),
            MenuCommand(32888, "反向选择"),
            MenuCommand(32845, "将选中部分定义为图案"),
            MenuSeparator(),
            MenuPopup("粘贴方式", {
                MenuCommand(34018, "不透明粘贴"),
                MenuCommand(34019, "透明粘贴"),
                MenuCommand(34020, "半透明粘贴"),
            }),
            MenuPopup("粘贴时颜色变换", {
                MenuCommand(34031, "按颜色编号"),
                MenuCommand(34032, "按最接近的颜色"),
            }),
        }),
        MenuPopup("视图(V)", {
            MenuCommand(59392, "工具栏(B)\tCtrl+1"),
            MenuCommand(502, "调色板工具(T)\tCtrl+2"),
            MenuCommand(34000, "颜色色板(C)\tCtrl+3"),
            MenuCommand(59393, "状态栏(U)\tCtrl+5"),
            MenuCommand(32776, "链接面板(P)\tCtrl+6"),
            MenuCommand(32877, "图案样式调板"),
            MenuCommand(32875, "信息"),
            MenuCommand(32882, "图层窗口"),
            MenuCommand(32922, "位置窗口"),
            MenuCommand(32941, "坐标线"),
            MenuCommand(32876, "直尺"),
            MenuSeparator(),
            MenuPopup("缩放(Z)", {
                MenuCommand(34002, "1 倍"),
                MenuCommand(34003, "2 倍"),
                MenuCommand(34004, "4 倍"),
                MenuCommand(34005, "6 倍"),
                MenuCommand(34006, "8 倍"),
                MenuCommand(34007, "16 倍"),
            }),
            MenuCommand(34009, "鼠标位置\tCtrl+4"),
            MenuCommand(635, "显示 α 通道"),
            MenuSeparator(),
            MenuCommand(34016, "主网格(G)\tCtrl+7"),
            MenuCommand(34033, "子网格(S)\tCtrl+8"),
            MenuCommand(34034, "主抓图"),
            MenuCommand(34035, "副抓图"),
            MenuSeparator(),
            MenuCommand(34036, "辅助线显示"),
            MenuCommand(34037, "辅助线设定"),
        }),
        MenuPopup("图像(I)", {
            MenuCommand(34013, "更改尺寸(S)..."),
            MenuCommand(34024, "更改编辑模式(E)..."),
            MenuCommand(32848, "添加边界"),
            MenuSeparator(),
            MenuCommand(34025, "颜色变换(C)..."),
            MenuCommand(34021, "设置遮罩颜色(M)..."),
            MenuCommand(32838, "设置α值"),
            MenuCommand(34028, "删除未使用的颜色(D)..."),
            MenuCommand(32858, "编辑颜色调板"),
            MenuCommand(34017, "渐变色(G)..."),
            MenuSeparator(),
            MenuCommand(32855, "改变色调"),
            MenuCommand(32856, "反转色调"),
            MenuSeparator(),
            MenuCommand(34012, "制作动画"),
            MenuCommand(34027, "动画预览"),
            MenuCommand(34038, "地图显示"),
        }),
        // Filled with the filters found in the program directory.
        MenuPopup("滤镜(T)", {
            MenuCommand(2000, "(无滤镜)"),
        }),
        // The grid presets are appended here.
        MenuPopup("设置(S)", {
            MenuCommand(32850, "参数设置\tCtrl+K"),
            MenuCommand(34029, "保存现在的设置(E)"),
            MenuSeparator(),
        }),
        MenuPopup("图层(L)", {
            MenuCommand(32859, "新建图层"),
            MenuCommand(32860, "复制图层"),
            MenuCommand(32861, "删除图层"),
            MenuSeparator(),
            MenuPopup("详细", LayerDetailsMenu()),
        }),
        MenuPopup("窗口(W)", {
            MenuCommand(57648, "新建窗口(N)"),
            MenuCommand(57650, "层叠(C)"),
            MenuCommand(57651, "平铺(T)"),
            MenuCommand(57649, "排列图标(A)"),
        }),
        MenuPopup("帮助(H)", {
            MenuCommand(57670, "帮助(H)\tF1"),
            MenuCommand(57667, "搜索帮助主题(S)"),
            MenuSeparator(),
            MenuCommand(57664, "关于 Kavolt(A)..."),
        }),
    };
}

std::vector<framework::Accelerator> ExtraAccelerators() {
    using K = QKeySequence;
    return {
        {K(Qt::CTRL | Qt::SHIFT | Qt::Key_1), 32884},
        {K(Qt::CTRL | Qt::SHIFT | Qt::Key_2), 32885},
        {K(Qt::CTRL | Qt::SHIFT | Qt::Key_3), 32886},
        {K(Qt::CTRL | Qt::SHIFT | Qt::Key_4), 32887},
        {K(Qt::CTRL | Qt::Key_Insert), 57634},
        {K(Qt::SHIFT | Qt::Key_Insert), 57637},
        {K(Qt::SHIFT | Qt::Key_Delete), 57635},
        {K(Qt::ALT | Qt::Key_Backspace), 57643},
        {K(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus)), 32830},
        {K(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus)), 32831},
        {K(Qt::SHIFT | Qt::Key_F1), 57669},
        {K(Qt::Key_F6), 57680},
        {K(Qt::SHIFT | Qt::Key_F6), 57681},
    };
}

framework::CommandId ShortcutCommand(int key, Qt::KeyboardModifiers modifiers) {
    static const std::vector<framework::Accelerator> table = [] {
        std::vector<framework::Accelerator> all = framework::AcceleratorsOf(MainMenu());
        std::vector<framework::Accelerator> extra = ExtraAccelerators();
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    }();
    if (modifiers & Qt::ShiftModifier) {
        static const char shifted[] = "!@#$%^&*()";
        for (int i = 0; i < 10; ++i)
            if (key == shifted[i]) key = i == 9 ? Qt::Key_0 : Qt::Key_1 + i;
    }
    modifiers &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier;
    QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(key)));
    for (const framework::Accelerator& accelerator : table)
        if (accelerator.keys == pressed) return accelerator.id;
    // A digit or sign from the keypad without its own binding counts as the main key.
    if (modifiers & Qt::KeypadModifier) {
        QKeySequence plain(QKeyCombination(modifiers & ~Qt::KeypadModifier, Qt::Key(key)));
        for (const framework::Accelerator& accelerator : table)
            if (accelerator.keys == plain && key != Qt::Key_Plus && key != Qt::Key_Minus)
                return accelerator.id;
    }
    return 0;
}
