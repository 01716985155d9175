// The image map of a canvas view: up to 20 clickable regions (polygon,
// rectangle, circle, point) in image pixels, each with a URL of at most 127
// bytes, and the edits the image-map tools make on them. No widgets here;
// the view turns the mouse into these calls and draws the outlines.
//
// Stored shapes: a rectangle keeps its top-left and bottom-right corners, a
// circle its centre and an edge point, a point region the point twice, a
// polygon its vertices, a closed one ending with a copy of its first vertex.
// The region being drawn is the record at Finished().
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace imagemap {

inline constexpr int kMaxRegions = 20;
inline constexpr int kMaxPoints = 100;
// One slot more than the point limit: a polygon of 100 vertices still takes
// its closing copy.
inline constexpr int kPointSlots = kMaxPoints + 1;
inline constexpr size_t kMaxUrlBytes = 127;
// What a region without a URL writes and exports.
inline constexpr std::string_view kUrlPlaceholder = "请在这里写 URL 地址";

enum RegionType : int { kNoRegion = 0, kPolygon = 1, kRectangle = 2, kCircle = 3, kPointRegion = 4 };

struct MapPoint {
    int x = 0;
    int y = 0;
    bool operator==(const MapPoint&) const = default;
};

struct ImageMapRegion {
    std::array<MapPoint, kPointSlots> points{};
    int type = kNoRegion;
    int count = 0;
};

// The longest head of `text` of at most `maxBytes` bytes that ends on a
// whole UTF-8 character.
std::string CutUtf8(std::string_view text, size_t maxBytes = kMaxUrlBytes);

// Points count as hit within 2 image pixels in x and y below zoom 4, else
// only on the exact pixel.
int HitTolerance(int zoom);

// True when a polygon ends with a copy of its first vertex.
bool IsClosedPolygon(const ImageMapRegion& region);
// The vertices a polygon gives the *.map file and the HTML area text (the
// closing copy not counted): a closed polygon of at least 3 vertices whose
// first two differ is a finished area; any other polygon gives 0.
int AreaVertexCount(const ImageMapRegion& region);
// A circle's radius: the distance of the edge point from the centre, rounded.
int CircleRadius(const ImageMapRegion& region);

// The region in view pixels: zoom x p + zoom / 2 + offset; a record of no
// known type comes back empty.
ImageMapRegion RegionToView(const ImageMapRegion& region, int zoom, int offsetX, int offsetY);

// The region and point the move tool took (-1, -1: none).
struct Pick {
    int region = -1;
    int handle = -1;
    bool operator==(const Pick&) const = default;
};

class RegionTable {
public:
    const ImageMapRegion& Region(int i) const { return records_[size_t(i)]; }
    const std::string& Url(int i) const { return urls_[size_t(i)]; }
    // Stores a URL, cut to 127 bytes on a character boundary.
    void SetUrl(int i, std::string_view url);
    // Finished regions (the index of the one being drawn) and the points of
    // the one being drawn.
    int Finished() const { return finished_; }
    int DrawCount() const { return drawCount_; }
    // True when the region being drawn has no room for another point / the
    // table none for another region.
    bool PointLimitReached() const { return drawCount_ >= kMaxPoints; }
    bool RegionLimitReached() const { return finished_ >= kMaxRegions; }

    // Every record and URL emptied, both counters 0.
    void Clear();
    // The region being drawn is dropped.
    void DropUnfinished();
    // Later regions move down over empty records (with their URLs); the
    // region being drawn follows them.
    void CompactRegions();

    // Rectangle and circle tools: the button-down puts the point in as both
    // points, the drag moves the second, the release keeps the shape (true)
    // unless its points lie within `tolerance` of each other; a kept
    // rectangle has its corners ordered.
    void BeginTwoPoint(int type, MapPoint p);
    void MoveSecondPoint(MapPoint p);
    bool FinishTwoPoint(int tolerance);
    // Point tool: one finished point region.
    void AddPointRegion(MapPoint p);
    // Polygon tool: one click. kClosed when the click met the first vertex
    // and finished the region; kRefused when the point limit holds.
    enum class PolyClick { kAdded, kClosed, kRefused };
    PolyClick AddPolygonPoint(MapPoint p, int tolerance);
    // The right button of the drawing tools: removes the rectangle or circle
    // whose first point is hit, or the first vertex hit of a polygon or
    // point region, in table order; true when something was removed.
    bool RemoveAt(MapPoint p, int tolerance);

    // Move tool: the last region hit over the table (see the move tool's
    // rules in the view); `left`: a press inside a rectangle takes it too.
    Pick PickAt(MapPoint p, int tolerance, bool left) const;
    // The whole region moves by (dx, dy).
    void MoveRegionBy(int region, int dx, int dy);
    // Only the picked point moves to `p` (a closed polygon's first vertex
    // and closing copy together; a circle's edge point whatever was picked).
    void MoveVertex(const Pick& pick, MapPoint p);
    // Delete tool: the region the move tool would take goes; true when one did.
    bool DeleteAt(MapPoint p, int tolerance);
    // URL tool: the last region with a point hit (rectangle: either corner;
    // circle: its centre; polygon or point: any vertex), or -1.
    int UrlRegionAt(MapPoint p, int tolerance) const;
    // The first region hit (rectangle and circle: their first point; others:
    // any point), or -1.
    int RegionAt(MapPoint p, int tolerance) const;

    // A finished region appended as the reader makes it; false when the
    // table is full or the shape has no room.
    bool AppendRegion(int type, const MapPoint* points, int count, std::string_view url);

private:
    ImageMapRegion& current() { return records_[size_t(finished_)]; }
    void finishCurrent();
    void removeRegion(int i);

    // 20 regions and the record a region is drawn in once all are used (the
    // limits keep it unused).
    std::array<ImageMapRegion, kMaxRegions + 1> records_{};
    std::array<std::string, kMaxRegions + 1> urls_{};
    int drawCount_ = 0;
    int finished_ = 0;
};

}  // namespace imagemap
