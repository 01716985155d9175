#include "frame/status_texts.h"

std::optional<QString> PluginStatusText(int code, intptr_t value) {
    int number = int(value);
    switch (code) {
    case 1: return QStringLiteral("读取中");
    case 2: return QStringLiteral("读取结束");
    case 3: return QStringLiteral("写入中");
    case 4: return QStringLiteral("写入结束");
    case 5: return QStringLiteral("压缩中");
    case 6: return QStringLiteral("压缩中 %1 % ").arg(number);
    case 7: return QStringLiteral("压缩结束");
    case 8: return QStringLiteral("打开中");
    case 9: return QStringLiteral("解压中 %1 % ").arg(number);
    case 10: return QStringLiteral("打开结束");
    case 11: return QString(25, u' ');
    default: return std::nullopt;
    }
}

std::optional<ToolRectText> ToolRectStatusText(int type, const int32_t* v) {
    if (!v) return std::nullopt;
    switch (type) {
    case 0: return ToolRectText{0, QStringLiteral("  %1 , %2  ").arg(v[0]).arg(v[1])};
    case 1: return ToolRectText{1, QStringLiteral("  %1 x %2  ").arg(v[0]).arg(v[1])};
    case 2: return ToolRectText{1, QStringLiteral("  %1 度  ").arg(v[0])};
    case 3: return ToolRectText{0, QStringLiteral(" ")};
    default: return std::nullopt;
    }
}
