#include "view/view_cursors.h"

#include "framework/resource_pictures.h"
#include "tools/dispatch_rules.h"

namespace view {

QCursor ViewCursor(int index) {
    switch (index) {
    case 1: return QCursor(Qt::SizeFDiagCursor);
    case 2: return QCursor(Qt::SizeBDiagCursor);
    case 3: return QCursor(Qt::SizeVerCursor);
    case 4: return QCursor(Qt::SizeHorCursor);
    default: break;
    }
    int resource = tools::CursorResource(index);
    return resource ? pictures::ProgramCursor(resource) : QCursor(Qt::ArrowCursor);
}

}  // namespace view
