// The image-map editor of the canvas view: the handlers of the region tools,
// the outlines of the regions, and the *.map files.
#include <algorithm>
#include <string>

#include "document/pelmark_doc.h"
#include "framework/framework_strings.h"
#include "framework/support_file_dialog.h"
#include "imagemap/map_file.h"
#include "platform/message_box.h"
#include "tools/tool_dispatch.h"
#include "view/image_map_tools.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

using imagemap::MapPoint;
using tools::ImagePoint;

namespace {

constexpr int kRegionHandle = 5;

void Tell(const std::string& text, unsigned icon = MB_ICON_INFORMATION) {
    ShowMessageBox(nullptr, text.c_str(), "Kavolt", MB_BTN_OK | icon);
}

MapPoint ToMap(ImagePoint p) { return {p.x, p.y}; }

bool IsMapTool(int tool) { return tool >= tools::kMapRectTool && tool <= tools::kMapUrlTool; }

std::vector<dialogs::FileFilter> MapFilters() {
    return {{QStringLiteral("MAP 文件(*.map)"), QStringLiteral("*.map")}};
}

}  // namespace

// ---- State ---------------------------------------------------------------------------

bool CPelmarkView::MapBusy() const {
    CPelmarkDoc* doc = GetDocument();
    return !doc || doc->m_bBusy;
}

ImagePoint CPelmarkView::ClampToMapImage(ImagePoint p) const {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return p;
    return {std::clamp(p.x, 0, std::max(doc->m_nWidth - 1, 0)), std::clamp(p.y, 0, std::max(doc->m_nHeight - 1, 0))};
}

void CPelmarkView::RepaintRegions() { update(); }

bool CPelmarkView::CheckPointLimit() {
    if (!m_Regions.PointLimitReached()) return false;
    Tell("最大 " + std::to_string(imagemap::kMaxPoints) + " 种。");
    return true;
}

bool CPelmarkView::CheckRegionLimit() {
    if (!m_Regions.RegionLimitReached()) return false;
    Tell("最大 " + std::to_string(imagemap::kMaxRegions) + " 个。");
    return true;
}

void CPelmarkView::CompactRegions() {
    m_Regions.CompactRegions();
    RepaintRegions();
}

void CPelmarkView::BeginMapCommand() {
    if (CPelmarkDoc* doc = GetDocument()) m_nMapPrevTool = doc->m_nToolId;
    m_Regions.DropUnfinished();
    m_MapPick = {};
    RepaintRegions();
}

void CPelmarkView::RedrawRegions(int mode, bool switchBack) {
    CPelmarkDoc* doc = GetDocument();
    if (switchBack && doc) {
        doc->SetEditMode(m_nMapPrevTool);
        if (view::ViewHost* host = view::ViewHost::Installed()) host->RefreshToolPalette();
    }
    view::ViewHost* host = view::ViewHost::Installed();
    const bool paletteHidden = host && !host->LinkPaletteShown();
    if (mode == 2 || (mode == 1 && paletteHidden)) m_Regions.Clear();
    else if (mode == 3) m_Regions.DropUnfinished();
    RepaintRegions();
}

// ---- Rectangle and circle ----------------------------------------------------------

void CPelmarkView::MapRectDown(ImagePoint p) {
    if (MapBusy() || CheckRegionLimit()) return;
    m_Regions.BeginTwoPoint(imagemap::kRectangle, ToMap(ClampToMapImage(p)));
    RepaintRegions();
}

void CPelmarkView::MapRectMove(ImagePoint p) {
    if (MapBusy()) return;
    m_Regions.MoveSecondPoint(ToMap(ClampToMapImage(p)));
    RepaintRegions();
}

void CPelmarkView::MapRectUp(ImagePoint p) {
    if (MapBusy()) return;
    m_Regions.MoveSecondPoint(ToMap(ClampToMapImage(p)));
    m_Regions.FinishTwoPoint(MapTolerance());
    RepaintRegions();
}

void CPelmarkView::MapCircleDown(ImagePoint p) {
    if (MapBusy() || CheckRegionLimit()) return;
    m_Regions.BeginTwoPoint(imagemap::kCircle, ToMap(ClampToMapImage(p)));
    RepaintRegions();
}

void CPelmarkView::MapCircleMove(ImagePoint p) { MapRectMove(p); }

void CPelmarkView::MapCircleUp(ImagePoint p) { MapRectUp(p); }

// ---- Point and polygon -------------------------------------------------------------

void CPelmarkView::MapPointDown(ImagePoint p) {
    if (MapBusy() || CheckRegionLimit()) return;
    m_Regions.AddPointRegion(ToMap(ClampToMapImage(p)));
    RepaintRegions();
}

void CPelmarkView::MapPolyDown(ImagePoint p) {
    if (MapBusy() || CheckRegionLimit()) return;
    if (m_Regions.AddPolygonPoint(ToMap(ClampToMapImage(p)), MapTolerance()) ==
        imagemap::RegionTable::PolyClick::kRefused)
        CheckPointLimit();
    RepaintRegions();
}

void CPelmarkView::MapPolyFinish(ImagePoint p) {
    if (MapBusy()) return;
    if (m_Regions.RemoveAt(ToMap(p), MapTolerance())) RepaintRegions();
}

// ---- Move, delete, URL -------------------------------------------------------------

void CPelmarkView::MapMoveDown(ImagePoint p, bool left) {
    if (MapBusy()) return;
    p = ClampToMapImage(p);
    AutoScrollCheck(p);
    m_ptMapLast = p;
    m_MapPick = m_Regions.PickAt(ToMap(p), MapTolerance(), left);
}

void CPelmarkView::MapMoveDrag(ImagePoint p) {
    if (MapBusy() || m_MapPick.region < 0) return;
    p = ClampToMapImage(p);
    m_Regions.MoveRegionBy(m_MapPick.region, p.x - m_ptMapLast.x, p.y - m_ptMapLast.y);
    m_ptMapLast = p;
    RepaintRegions();
}

void CPelmarkView::MapMoveVertex(ImagePoint p) {
    if (MapBusy() || m_MapPick.region < 0) return;
    p = ClampToMapImage(p);
    m_Regions.MoveVertex(m_MapPick, ToMap(p));
    m_ptMapLast = p;
    RepaintRegions();
}

void CPelmarkView::MapDeleteRegion(ImagePoint p) {
    if (MapBusy()) return;
    if (m_Regions.DeleteAt(ToMap(p), MapTolerance())) RepaintRegions();
}

void CPelmarkView::EditRegionUrl(ImagePoint p) {
    if (MapBusy()) return;
    const int region = m_Regions.UrlRegionAt(ToMap(p), MapTolerance());
    view::ViewHost* host = view::ViewHost::Installed();
    if (region < 0 || !host) return;
    QString url = QString::fromStdString(m_Regions.Url(region));
    if (!host->AskRegionUrl(&url)) return;
    m_Regions.SetUrl(region, url.toStdString());
}

void CPelmarkView::ShowRegionAt(ImagePoint p) {
    if (MapBusy()) return;
    const int region = m_Regions.RegionAt(ToMap(p), MapTolerance());
    if (region >= 0) Tell(std::to_string(region + 1) + " 号的数据");
}

// ---- Outlines ----------------------------------------------------------------------

void CPelmarkView::DrawRegion(const imagemap::ImageMapRegion& region, bool handles, OverlayCanvas& canvas) {
    const imagemap::ImageMapRegion v = imagemap::RegionToView(region, m_nZoom, m_nCentreX, m_nCentreY);
    if (v.count == 0) return;
    auto handle = [&](MapPoint p) {
        const int half = kRegionHandle / 2;
        DrawShape({view::OverlayShape::Block, {}, {p.x - half, p.y - half, p.x + half + 1, p.y + half + 1}},
                  &canvas);
    };
    std::vector<MapPoint> marks;
    switch (v.type) {
    case imagemap::kPolygon: {
        view::OverlayShape line{view::OverlayShape::Polyline, {}, {}};
        for (int i = 0; i < v.count; ++i) line.points.push_back({v.points[size_t(i)].x, v.points[size_t(i)].y});
        if (line.points.size() > 1) DrawShape(std::move(line), &canvas);
        for (int i = 0; i < v.count; ++i) marks.push_back(v.points[size_t(i)]);
        break;
    }
    case imagemap::kRectangle: {
        const MapPoint a = v.points[0], b = v.points[1];
        const int l = std::min(a.x, b.x), r = std::max(a.x, b.x), t = std::min(a.y, b.y), bt = std::max(a.y, b.y);
        DrawShape({view::OverlayShape::Polyline, {{l, t}, {r, t}, {r, bt}, {l, bt}, {l, t}}, {}}, &canvas);
        marks = {a, b};
        break;
    }
    case imagemap::kCircle: {
        const int radius = imagemap::CircleRadius(region) * m_nZoom;
        const MapPoint c = v.points[0];
        const DibRect box{c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1};
        if (radius > 0) DrawShape({view::OverlayShape::Ellipse, {}, box}, &canvas);
        marks = {c, v.points[1]};
        break;
    }
    case imagemap::kPointRegion:
        // A point shows as its mark alone.
        handles = true;
        marks = {v.points[0], v.points[1]};
        break;
    default: return;
    }
    if (!handles) return;
    std::vector<MapPoint> done;
    for (MapPoint p : marks) {
        if (std::find(done.begin(), done.end(), p) != done.end()) continue;
        done.push_back(p);
        handle(p);
    }
}

void CPelmarkView::DrawRegions(OverlayCanvas& canvas) {
    CPelmarkDoc* doc = GetDocument();
    const bool handles = doc && IsMapTool(doc->m_nToolId);
    // The finished regions and the one being drawn.
    const int shown = m_Regions.Finished() + (m_Regions.DrawCount() > 0 ? 1 : 0);
    for (int i = 0; i < std::min(shown, imagemap::kMaxRegions); ++i) DrawRegion(m_Regions.Region(i), handles, canvas);
}

// ---- *.map files -------------------------------------------------------------------

bool CPelmarkView::ReadMapFile(const QString& path) {
    imagemap::RegionTable read;
    imagemap::MapReadResult result;
    if (!imagemap::ReadMapFile(path, read, &result)) {
        Tell("读取失败", MB_ICON_WARNING);
        return false;
    }
    for (const std::string& message : result.messages) Tell(message, MB_ICON_WARNING);
    m_Regions = std::move(read);
    m_MapPick = {};
    RepaintRegions();
    return true;
}

bool CPelmarkView::WriteMapFile(const QString& path) {
    if (imagemap::WriteMapFile(path, m_Regions)) return true;
    Tell("写入失败", MB_ICON_WARNING);
    return false;
}

void CPelmarkView::OnOpenMapFile() {
    RedrawRegions(1);
    dialogs::CSupportFileDialog dialog(true, QStringLiteral("MAP"), QString(),
                                       dialogs::OFN_HIDEREADONLY | dialogs::OFN_FILEMUSTEXIST, MapFilters(), this);
    if (dialog.DoModal() == framework::IDOK) ReadMapFile(dialog.GetPathName());
    RedrawRegions(1, true);
}

void CPelmarkView::OnSaveMapFile() {
    dialogs::CSupportFileDialog dialog(false, QStringLiteral("MAP"), QString(),
                                       dialogs::OFN_HIDEREADONLY | dialogs::OFN_OVERWRITEPROMPT, MapFilters(), this);
    dialog.m_strTitle = framework::FrameworkString(framework::IDS_SAVE_TITLE);
    if (dialog.DoModal() == framework::IDOK) WriteMapFile(dialog.GetPathName());
    RedrawRegions(0, true);
}
