#include "imagemap/area_html.h"

namespace imagemap {

namespace {

std::string Pair(MapPoint p) { return std::to_string(p.x) + ',' + std::to_string(p.y); }

// The coordinates of a region that gives an area; empty for others.
std::string Coords(const ImageMapRegion& r) {
    switch (r.type) {
    case kPolygon: {
        const int vertices = AreaVertexCount(r);
        std::string out;
        for (int i = 0; i < vertices; ++i) {
            if (i) out += ',';
            out += Pair(r.points[size_t(i)]);
        }
        return out;
    }
    case kRectangle: return Pair(r.points[0]) + ',' + Pair(r.points[1]);
    case kCircle: return Pair(r.points[0]) + ',' + std::to_string(CircleRadius(r));
    default: return {};
    }
}

const char* Shape(int type) {
    switch (type) {
    case kPolygon: return "poly";
    case kRectangle: return "rect";
    case kCircle: return "circle";
    default: return nullptr;
    }
}

}  // namespace

std::string EscapeAttribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string BuildAreaHtml(const RegionTable& table) {
    std::string out;
    for (int i = 0; i < table.Finished(); ++i) {
        const ImageMapRegion& r = table.Region(i);
        const char* shape = Shape(r.type);
        if (!shape || r.count < 1 || (r.type == kPolygon && AreaVertexCount(r) == 0)) continue;
        const std::string& url = table.Url(i);
        out += "<area\r\n";
        out += std::string("  shape=") + shape + "\r\n";
        out += "  coords=\"" + Coords(r) + "\"\r\n";
        out += "  alt=\"HTML\"\r\n";
        out += "  href=\"" + EscapeAttribute(url.empty() ? kUrlPlaceholder : std::string_view(url)) + "\">\r\n";
    }
    return out;
}

}  // namespace imagemap
