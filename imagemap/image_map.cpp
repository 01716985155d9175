#include "imagemap/image_map.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace imagemap {

namespace {

bool Near(MapPoint a, MapPoint b, int tolerance) {
    return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance;
}

bool InsideBox(const ImageMapRegion& r, MapPoint p) {
    const MapPoint a = r.points[0], b = r.points[1];
    return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
           p.y <= std::max(a.y, b.y);
}

bool IsVertexType(int type) { return type == kPolygon || type == kPointRegion; }

// The first vertex of a polygon or point region within the tolerance, or -1.
int VertexAt(const ImageMapRegion& r, MapPoint p, int tolerance) {
    for (int j = 0; j < r.count; ++j)
        if (Near(r.points[size_t(j)], p, tolerance)) return j;
    return -1;
}

}  // namespace

std::string CutUtf8(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    size_t end = maxBytes;
    // Back to the lead byte of the character the cut would split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

int HitTolerance(int zoom) { return zoom < 4 ? 2 : 0; }

bool IsClosedPolygon(const ImageMapRegion& r) {
    return r.type == kPolygon && r.count >= 2 && r.points[0] == r.points[size_t(r.count - 1)];
}

int AreaVertexCount(const ImageMapRegion& r) {
    if (!IsClosedPolygon(r) || r.count < 4 || r.points[0] == r.points[1]) return 0;
    return r.count - 1;
}

int CircleRadius(const ImageMapRegion& r) {
    const double dx = r.points[1].x - r.points[0].x, dy = r.points[1].y - r.points[0].y;
    return int(std::lround(std::sqrt(dx * dx + dy * dy)));
}

ImageMapRegion RegionToView(const ImageMapRegion& region, int zoom, int offsetX, int offsetY) {
    ImageMapRegion out;
    if (region.type < kPolygon || region.type > kPointRegion) return out;
    out.type = region.type;
    out.count = std::clamp(region.count, 0, kPointSlots);
    for (int i = 0; i < out.count; ++i) {
        const MapPoint p = region.points[size_t(i)];
        out.points[size_t(i)] = {zoom * p.x + zoom / 2 + offsetX, zoom * p.y + zoom / 2 + offsetY};
    }
    return out;
}

void RegionTable::SetUrl(int i, std::string_view url) { urls_[size_t(i)] = CutUtf8(url); }

void RegionTable::Clear() {
    records_ = {};
    for (std::string& url : urls_) url.clear();
    drawCount_ = 0;
    finished_ = 0;
}

void RegionTable::DropUnfinished() {
    if (finished_ < int(records_.size())) {
        current() = {};
        urls_[size_t(finished_)].clear();
    }
    drawCount_ = 0;
}

void RegionTable::CompactRegions() {
    int to = 0;
    for (int from = 0; from < finished_; ++from) {
        if (records_[size_t(from)].count == 0 || records_[size_t(from)].type == kNoRegion) continue;
        if (to != from) {
            records_[size_t(to)] = records_[size_t(from)];
            urls_[size_t(to)] = std::move(urls_[size_t(from)]);
        }
        ++to;
    }
    for (int i = to; i < finished_; ++i) {
        records_[size_t(i)] = {};
        urls_[size_t(i)].clear();
    }
    if (to != finished_) {
        records_[size_t(to)] = std::exchange(records_[size_t(finished_)], {});
        urls_[size_t(to)] = std::exchange(urls_[size_t(finished_)], {});
    }
    finished_ = to;
}

void RegionTable::finishCurrent() {
    drawCount_ = 0;
    ++finished_;
}

void RegionTable::removeRegion(int i) {
    records_[size_t(i)] = {};
    urls_[size_t(i)].clear();
    CompactRegions();
}

void RegionTable::BeginTwoPoint(int type, MapPoint p) {
    if (RegionLimitReached()) return;
    ImageMapRegion& r = current();
    r = {};
    r.type = type;
    r.points[0] = r.points[1] = p;
    r.count = 2;
    urls_[size_t(finished_)].clear();
    drawCount_ = 2;
}

void RegionTable::MoveSecondPoint(MapPoint p) {
    if (RegionLimitReached() || drawCount_ != 2) return;
    current().points[1] = p;
}

bool RegionTable::FinishTwoPoint(int tolerance) {
    if (RegionLimitReached() || drawCount_ != 2) return false;
    ImageMapRegion& r = current();
    if (Near(r.points[0], r.points[1], tolerance)) {
        DropUnfinished();
        return false;
    }
    if (r.type == kRectangle) {
        MapPoint a = r.points[0], b = r.points[1];
        r.points[0] = {std::min(a.x, b.x), std::min(a.y, b.y)};
        r.points[1] = {std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    finishCurrent();
    return true;
}

void RegionTable::AddPointRegion(MapPoint p) {
    if (RegionLimitReached()) return;
    ImageMapRegion& r = current();
    r = {};
    r.type = kPointRegion;
    r.points[0] = r.points[1] = p;
    r.count = 2;
    urls_[size_t(finished_)].clear();
    finishCurrent();
}

RegionTable::PolyClick RegionTable::AddPolygonPoint(MapPoint p, int tolerance) {
    if (RegionLimitReached()) return PolyClick::kRefused;
    ImageMapRegion& r = current();
    if (drawCount_ == 0 || r.type != kPolygon) {
        r = {};
        r.type = kPolygon;
        r.points[0] = r.points[1] = r.points[2] = p;
        r.count = drawCount_ = 2;
        urls_[size_t(finished_)].clear();
        return PolyClick::kAdded;
    }
    const int used = drawCount_ == 2 && r.points[0] == r.points[1] ? 1 : drawCount_;
    const bool closes = used + 1 >= 3 && Near(p, r.points[0], tolerance);
    // The closing click still finds a slot at the limit.
    if (PointLimitReached() && !closes) return PolyClick::kRefused;
    drawCount_ = used;
    r.points[size_t(drawCount_)] = p;
    r.count = ++drawCount_;
    if (closes) {
        r.points[size_t(drawCount_ - 1)] = r.points[0];
        finishCurrent();
        return PolyClick::kClosed;
    }
    return PolyClick::kAdded;
}

bool RegionTable::RemoveAt(MapPoint p, int tolerance) {
    for (int i = 0; i < finished_; ++i) {
        ImageMapRegion& r = records_[size_t(i)];
        if (r.type == kRectangle || r.type == kCircle) {
            if (!Near(r.points[0], p, tolerance)) continue;
            removeRegion(i);
            return true;
        }
        if (!IsVertexType(r.type)) continue;
        const int j = VertexAt(r, p, tolerance);
        if (j < 0) continue;
        if (r.type == kPointRegion && r.points[0] == r.points[1]) {
            removeRegion(i);
            return true;
        }
        const bool closed = IsClosedPolygon(r);
        std::copy(r.points.begin() + j + 1, r.points.begin() + r.count, r.points.begin() + j);
        --r.count;
        r.points[size_t(r.count)] = {};
        if (closed && r.count > 0) {
            // The closing copy follows the new first vertex.
            if (j == 0) r.points[size_t(r.count - 1)] = r.points[0];
            if (r.count == 3) r.count = 2;
        }
        if (r.count == 0) removeRegion(i);
        return true;
    }
    return false;
}

Pick RegionTable::PickAt(MapPoint p, int tolerance, bool left) const {
    Pick pick;
    for (int i = 0; i < finished_; ++i) {
        const ImageMapRegion& r = records_[size_t(i)];
        switch (r.type) {
        case kRectangle:
            if (Near(r.points[1], p, tolerance)) pick = {i, 1};
            else if (Near(r.points[0], p, tolerance)) pick = {i, 0};
            else if (left && InsideBox(r, p)) pick = {i, 0};
            break;
        case kCircle:
            if (Near(r.points[0], p, tolerance)) pick = {i, 0};
            break;
        case kPolygon:
        case kPointRegion:
            if (int j = VertexAt(r, p, tolerance); j >= 0) pick = {i, j};
            break;
        default: break;
        }
    }
    return pick;
}

void RegionTable::MoveRegionBy(int region, int dx, int dy) {
    if (region < 0 || region >= finished_) return;
    ImageMapRegion& r = records_[size_t(region)];
    for (int i = 0; i < r.count; ++i) {
        r.points[size_t(i)].x += dx;
        r.points[size_t(i)].y += dy;
    }
}

void RegionTable::MoveVertex(const Pick& pick, MapPoint p) {
    if (pick.region < 0 || pick.region >= finished_) return;
    ImageMapRegion& r = records_[size_t(pick.region)];
    if (r.type == kCircle) {
        r.points[1] = p;
        return;
    }
    if (pick.handle < 0 || pick.handle >= r.count) return;
    const int last = r.count - 1;
    if (IsClosedPolygon(r) && (pick.handle == 0 || pick.handle == last)) {
        r.points[0] = r.points[size_t(last)] = p;
        return;
    }
    r.points[size_t(pick.handle)] = p;
}

bool RegionTable::DeleteAt(MapPoint p, int tolerance) {
    const Pick pick = PickAt(p, tolerance, true);
    if (pick.region < 0) return false;
    removeRegion(pick.region);
    return true;
}

int RegionTable::UrlRegionAt(MapPoint p, int tolerance) const {
    int hit = -1;
    for (int i = 0; i < finished_; ++i) {
        const ImageMapRegion& r = records_[size_t(i)];
        bool h = false;
        if (r.type == kRectangle) h = Near(r.points[0], p, tolerance) || Near(r.points[1], p, tolerance);
        else if (r.type == kCircle) h = Near(r.points[0], p, tolerance);
        else if (IsVertexType(r.type)) h = VertexAt(r, p, tolerance) >= 0;
        if (h) hit = i;
    }
    return hit;
}

int RegionTable::RegionAt(MapPoint p, int tolerance) const {
    for (int i = 0; i < finished_; ++i) {
        const ImageMapRegion& r = records_[size_t(i)];
        if (r.type == kRectangle || r.type == kCircle) {
            if (Near(r.points[0], p, tolerance)) return i;
        } else if (IsVertexType(r.type) && VertexAt(r, p, tolerance) >= 0) {
            return i;
        }
    }
    return -1;
}

bool RegionTable::AppendRegion(int type, const MapPoint* points, int count, std::string_view url) {
    if (RegionLimitReached() || count < 1 || count > kPointSlots) return false;
    ImageMapRegion& r = current();
    r = {};
    r.type = type;
    std::copy(points, points + count, r.points.begin());
    r.count = count;
    urls_[size_t(finished_)] = CutUtf8(url);
    drawCount_ = 0;
    ++finished_;
    return true;
}

}  // namespace imagemap
