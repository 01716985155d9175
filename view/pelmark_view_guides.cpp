// The canvas view's guide lines: drawing them over the back buffer and
// dragging their handles while guide editing is on. The guide lives in the
// program's guide state; the view paints from its copy.
//
// A handle is hit within 2 x zoom + 4 device pixels of the clicked pixel's
// centre, so it stays easy to catch at every zoom; over a handle the cursor
// is the four-way move arrow.
#include <algorithm>

#include "document/display_toggles.h"
#include "document/pelmark_doc.h"
#include "view/guide_geometry.h"
#include "view/guide_raster.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

using tools::ImagePoint;

namespace {

int HitDistance(int zoom) { return 2 * zoom + 4; }

}  // namespace

void CPelmarkView::DrawGuides(const view::PixelBuffer& buffer, view::ScreenPoint origin, const DibRect& clip) {
    if (!GetViewDisplayToggles().guidesShown) return;
    SwapToolState(1);
    guide::DrawGuideLines(buffer, m_Guide, GuideEditing(), m_nZoom, origin, clip);
}

int CPelmarkView::HitTestGuideHandle(ImagePoint p) const {
    const GuideSettings& g = GetGuideSettings();
    const double px = (double(p.x) + 0.5) * m_nZoom, py = (double(p.y) + 0.5) * m_nZoom;
    const double reach = HitDistance(m_nZoom);
    auto distance2 = [&](int x, int y) {
        const double dx = px - double(x) * m_nZoom, dy = py - double(y) * m_nZoom;
        return dx * dx + dy * dy;
    };
    const double start = distance2(g.startX, g.startY);
    const double end = g.mode == 0 ? distance2(g.endX, g.endY) : reach * reach + 1;
    if (std::min(start, end) > reach * reach) return -1;
    return start <= end ? 0 : 1;
}

bool CPelmarkView::TrackGuideHandle(ImagePoint p, int mode) {
    if (mode == tools::kPointDown) {
        m_nGuideDrag = GuideEditing() ? HitTestGuideHandle(p) : -1;
        return m_nGuideDrag >= 0;
    }
    if (m_nGuideDrag < 0) return false;
    if (mode == tools::kPointMove) SetGuidePoint(m_nGuideDrag, p.x, p.y);
    else m_nGuideDrag = -1;
    return true;
}

void CPelmarkView::SetGuidePoint(int which, int x, int y) {
    GuideSettings& g = GetGuideSettings();
    if (which == 0) {
        g.startX = x;
        g.startY = y;
    } else {
        g.endX = x;
        g.endY = y;
    }
    // The palette's length follows the line the user sees, so a later angle
    // edit turns this line rather than one of the old length.
    if (g.mode == 0) g.length = guide::ClampLength(guide::RoundedDistance({g.startX, g.startY}, {g.endX, g.endY}));
    SwapToolState(1);
    update();
    if (view::ViewHost* host = view::ViewHost::Installed()) host->GuideChanged();
}

void CPelmarkView::ClampGuideToImage() {
    CPelmarkDoc* doc = GetDocument();
    GuideSettings& g = GetGuideSettings();
    if (doc && doc->m_nWidth > 0 && doc->m_nHeight > 0) {
        g.startX = std::clamp(g.startX, 0, doc->m_nWidth - 1);
        g.endX = std::clamp(g.endX, 0, doc->m_nWidth - 1);
        g.startY = std::clamp(g.startY, 0, doc->m_nHeight - 1);
        g.endY = std::clamp(g.endY, 0, doc->m_nHeight - 1);
    }
    if (g.mode == 0) g.length = guide::ClampLength(guide::RoundedDistance({g.startX, g.startY}, {g.endX, g.endY}));
    SwapToolState(1);
    if (view::ViewHost* host = view::ViewHost::Installed()) host->GuideChanged();
}
