#include "framework/framework_strings.h"

namespace framework {

QString FrameworkString(int id) {
    switch (id) {
    case IDS_OPEN_TITLE: return QStringLiteral("打开");
    case IDS_SAVE_TITLE: return QStringLiteral("另存为");
    case IDS_ALL_FILTER: return QStringLiteral("所有文件 (*.*)");
    case IDS_ASK_TO_SAVE: return QStringLiteral("是否保存对 %1 的更改？");
    case IDS_FAILED_TO_CREATE_DOC: return QStringLiteral("无法创建空文档。");
    case IDS_ASK_TO_REPLACE: return QStringLiteral("%1 已存在。\n要替换它吗？");
    case IDS_UNTITLED: return QStringLiteral("无标题");
    default: return {};
    }
}

}  // namespace framework
