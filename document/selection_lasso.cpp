#include "document/selection_lasso.h"

#include <algorithm>

namespace document {

void LassoList::Reset(int maxWidth, int maxHeight) {
    count_ = 0;
    bounds_ = {maxWidth, maxHeight, 0, 0};
}

bool LassoList::Add(int x, int y, int width, int height) {
    if (count_ >= kMaxPoints || count_ < 0) return false;
    points_[size_t(count_)] = {x, y};
    int cx = std::clamp(x, 0, std::max(width - 1, 0));
    int cy = std::clamp(y, 0, std::max(height - 1, 0));
    bounds_.left = std::min(bounds_.left, cx);
    bounds_.top = std::min(bounds_.top, cy);
    bounds_.right = std::max(bounds_.right, cx + 1);
    bounds_.bottom = std::max(bounds_.bottom, cy + 1);
    ++count_;
    return true;
}

void LassoList::Offset(int dx, int dy) {
    for (int i = 0; i < count_; ++i) {
        points_[size_t(i)].x += dx;
        points_[size_t(i)].y += dy;
    }
}

void LassoList::Normalize(int maxWidth, int maxHeight) {
    int minX = maxWidth, minY = maxHeight;
    for (int i = 0; i < count_; ++i) {
        minX = std::min(minX, points_[size_t(i)].x);
        minY = std::min(minY, points_[size_t(i)].y);
    }
    Offset(-minX, -minY);
}

}  // namespace document
