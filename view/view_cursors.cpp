#include "view/view_cursors.h"

#include "tools/dispatch_rules.h"

namespace view {

namespace {

CursorSource& Source() {
    static CursorSource source = nullptr;
    return source;
}

// Standard shapes for the program's cursors while no pictures are loaded.
QCursor StandIn(int index) {
    switch (index) {
    case tools::kHandCursor: return QCursor(Qt::OpenHandCursor);
    case tools::kMoveCursor: return QCursor(Qt::SizeAllCursor);
    case 23: return QCursor(Qt::PointingHandCursor);
    case 27: return QCursor(Qt::IBeamCursor);
    default: return QCursor(Qt::CrossCursor);
    }
}

}  // namespace

void SetProgramCursorSource(CursorSource source) { Source() = source; }

QCursor ViewCursor(int index) {
    switch (index) {
    case 1: return QCursor(Qt::SizeFDiagCursor);
    case 2: return QCursor(Qt::SizeBDiagCursor);
    case 3: return QCursor(Qt::SizeVerCursor);
    case 4: return QCursor(Qt::SizeHorCursor);
    default: break;
    }
    int resource = tools::CursorResource(index);
    if (resource == 0) return QCursor(Qt::ArrowCursor);
    return Source() ? Source()(resource) : StandIn(index);
}

}  // namespace view
