#include "view/overlay.h"

#include <algorithm>
#include <climits>

namespace view {

bool OverlayShape::operator==(const OverlayShape& other) const {
    return kind == other.kind && points == other.points && rect.left == other.rect.left &&
           rect.top == other.rect.top && rect.right == other.rect.right &&
           rect.bottom == other.rect.bottom;
}

void RenderOverlayShape(const PixelBuffer& buffer, const OverlayShape& shape, ScreenPoint offset,
                        const DibRect& clip) {
    DibRect r{shape.rect.left + offset.x, shape.rect.top + offset.y, shape.rect.right + offset.x,
              shape.rect.bottom + offset.y};
    switch (shape.kind) {
    case OverlayShape::Polyline: {
        for (size_t i = 1; i < shape.points.size(); ++i) {
            ScreenPoint a{shape.points[i - 1].x + offset.x, shape.points[i - 1].y + offset.y};
            ScreenPoint b{shape.points[i].x + offset.x, shape.points[i].y + offset.y};
            InvertLine(buffer, a, b, clip);
        }
        break;
    }
    case OverlayShape::Ellipse: InvertEllipse(buffer, r, clip); break;
    case OverlayShape::Frame: InvertFrame(buffer, r, clip); break;
    case OverlayShape::Block: InvertRect(buffer, r, clip); break;
    }
}

void OverlayList::Toggle(OverlayShape shape) {
    auto it = std::find(shapes_.begin(), shapes_.end(), shape);
    if (it != shapes_.end()) shapes_.erase(it);
    else shapes_.push_back(std::move(shape));
}

void OverlayList::Render(const PixelBuffer& buffer, ScreenPoint offset, const DibRect& clip) const {
    for (const OverlayShape& shape : shapes_) RenderOverlayShape(buffer, shape, offset, clip);
}

DibRect OverlayList::Bounds(const OverlayShape& shape) {
    if (shape.kind != OverlayShape::Polyline) return shape.rect;
    if (shape.points.empty()) return {0, 0, 0, 0};
    DibRect r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const ScreenPoint& p : shape.points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x + 1);
        r.bottom = std::max(r.bottom, p.y + 1);
    }
    return r;
}

}  // namespace view
