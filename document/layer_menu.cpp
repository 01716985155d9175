#include "document/layer_menu.h"

#include "document/pelmark_doc.h"

namespace document {

framework::MenuItem LayerMenu() {
    using framework::MenuCommand;
    using framework::MenuPopup;
    using framework::MenuSeparator;
    return MenuPopup(QStringLiteral("图层(L)"),
                     {
                         MenuCommand(CPelmarkDoc::kLayerNewId, QStringLiteral("新建图层")),
                         MenuCommand(CPelmarkDoc::kLayerDuplicateId, QStringLiteral("复制图层")),
                         MenuCommand(CPelmarkDoc::kLayerDeleteId, QStringLiteral("删除图层")),
                         MenuSeparator(),
                         MenuPopup(QStringLiteral("详细"),
                                   {
                                       MenuCommand(CPelmarkDoc::kLayerExpandId, QStringLiteral("展开图层")),
                                       MenuCommand(CPelmarkDoc::kLayerUpId, QStringLiteral("当前图层向上移动")),
                                       MenuCommand(CPelmarkDoc::kLayerDownId, QStringLiteral("当前图层向下移动")),
                                       MenuCommand(CPelmarkDoc::kLayerMergeDownId, QStringLiteral("向下合并图层")),
                                       MenuCommand(CPelmarkDoc::kLayerMergeVisibleId, QStringLiteral("合并可见图层")),
                                       MenuCommand(CPelmarkDoc::kLayerMergeAllId, QStringLiteral("合并所有图层")),
                                       MenuCommand(CPelmarkDoc::kLayerUnifyAllId, QStringLiteral("统一所有图层标准")),
                                       MenuCommand(CPelmarkDoc::kLayerAllTransparentId,
                                                   QStringLiteral("所有图层背景色设置为透明")),
                                   }),
                     });
}

}  // namespace document
