#include "view/pelmark_view.h"

#include <algorithm>

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include "view/grid_presets.h"
#include "document/display_toggles.h"
#include "document/edit_state.h"
#include "document/open_doc_list.h"
#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/cmd_ui.h"
#include "framework/program_globals.h"
#include "imaging/dib_geometry.h"
#include "imaging/dib_paint.h"
#include "tools/draw_rects.h"
#include "tools/pen_line_tools.h"
#include "tools/pixel_access.h"
#include "tools/shape_tools.h"
#include "view/child_frame.h"
#include "view/selection_tools.h"
#include "view/text_tool_handler.h"
#include "view/view_globals.h"
#include "view/view_host.h"
#include "view/view_fill_pick_hand.h"
#include "view/view_tool_canvas.h"
#include "view/image_map_tools.h"
#include "view/wand_tool.h"

namespace {

constexpr int kSelectToolId = 551;
constexpr int kWandToolId = 552;
constexpr int kFillToolId = 556;
constexpr int kFirstFloatToolId = 563;
constexpr int kLastFloatToolId = 570;
constexpr int kRotateToolId = 570;
constexpr int kHandleSize = 5;

QRgb ColorOf(const std::array<int, 3>& c) {
    return qRgb(std::clamp(c[0], 0, 255), std::clamp(c[1], 0, 255), std::clamp(c[2], 0, 255));
}

DibRect ToDib(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

view::PixelBuffer BufferOf(QImage& image) {
    return {reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
            int(image.bytesPerLine() / 4)};
}

}  // namespace

CPelmarkView::CPelmarkView(QWidget* parent)
    : framework::View(parent),
      m_pToolCanvas(std::make_unique<view::ViewToolCanvas>(*this)),
      m_pPenLine(std::make_unique<tools::PenLineTools>(*m_pToolCanvas)),
      m_pShapes(std::make_unique<tools::ShapeTools>(*m_pToolCanvas)),
      m_pFillPickHand(std::make_unique<view::FillPickHandTools>(*this)),
      m_pSelectTools(std::make_unique<view::SelectionTools>(*this)),
      m_pWand(std::make_unique<view::WandTool>(*this)),
      m_pMapTools(std::make_unique<view::ImageMapTools>(*this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button too: the curve's rubber point, the cursor and
    // the position in the status bar follow the pointer.
    setMouseTracking(true);
    m_pPenLine->Register(m_Tools);
    m_pShapes->Register(m_Tools);
    m_pSelectTools->Register(m_Tools);
    m_Tools.Set(tools::kTextTool, &view::TextToolHandler());
    m_pFillPickHand->Register(m_Tools);
    m_pWand->Register(m_Tools);
    m_pMapTools->Register(m_Tools);
    m_pHBar = new QScrollBar(Qt::Horizontal, this);
    m_pVBar = new QScrollBar(Qt::Vertical, this);
    m_pHBar->hide();
    m_pVBar->hide();
    for (QScrollBar* bar : {m_pHBar, m_pVBar}) {
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] { OnScrolled(); });
        // A page click moves by one image pixel, as the line step does.
        connect(bar, &QScrollBar::actionTriggered, this, [this, bar](int action) {
            if (action == QAbstractSlider::SliderPageStepAdd)
                bar->setSliderPosition(bar->value() + m_nZoom);
            else if (action == QAbstractSlider::SliderPageStepSub)
                bar->setSliderPosition(bar->value() - m_nZoom);
        });
    }
}

CPelmarkView::~CPelmarkView() = default;

CPelmarkDoc* CPelmarkView::GetDocument() const {
    return dynamic_cast<CPelmarkDoc*>(framework::View::GetDocument());
}

void CPelmarkView::DeclareCommands(framework::CommandTable& t) {
    t.OnRange(view::kZoomFirstId, view::kZoomLastId, this, &CPelmarkView::OnZoomCommand)
        .OnUpdateRange(view::kZoomFirstId, view::kZoomLastId, this, &CPelmarkView::OnUpdateZoom)
        .On(kZoomCycleId, this, &CPelmarkView::OnZoomCycle)
        .On(kZoomInId, this, &CPelmarkView::OnZoomIn)
        .On(kZoomOutId, this, &CPelmarkView::OnZoomOut)
        .On(kAlphaViewId, this, &CPelmarkView::OnToggleAlphaView)
        .OnUpdate(kAlphaViewId, this, &CPelmarkView::OnUpdateAlphaView)
        .On(kCenterImageId, this, &CPelmarkView::OnCenterImage)
        .On(framework::ID_FILE_PRINT, this, &CPelmarkView::OnFilePrint)
        .On(framework::ID_FILE_PRINT_PREVIEW, this, &CPelmarkView::OnFilePrintPreview);
    DeclareDrawCommands(t);
    DeclareEditCommands(t);
    DeclareColorCommands(t);
    DeclareSizeCommands(t);
    framework::View::DeclareCommands(t);
}

bool CPelmarkView::CommandLocked() const {
    view::ViewHost* host = view::ViewHost::Installed();
    return host && host->CommandsLocked();
}

// ---- Initial update, title, activation --------------------------------------

void CPelmarkView::OnInitialUpdate() {
    framework::View::OnInitialUpdate();
    CPelmarkDoc* doc = GetDocument();
    if (doc) tools::RecomposeDocument(*doc);
    m_Overlays.Clear();
    m_nCentreX = m_nCentreY = 0;
    m_nZoom = 1;
    m_nDrawColor = 0;
    LoadGridPreset();
    SetDocTitle();
    FitFrameToImage();
    UpdateScrollSizes();
    if (view::ViewHost* host = view::ViewHost::Installed()) {
        host->EditStateChanged();
        host->ShowCurrentTool(document::GetProgramEditState().toolIndex);
        host->FollowZoomOf(this);
        // The document has its image now; the colour palette may have been
        // shown while it was still being read (a question of the file
        // format, a drop while another program was in front).
        host->PaletteChanged();
    }
}

void CPelmarkView::SetDocTitle() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->GetPathName().isEmpty()) return;
    document::DocViewState& state = doc->m_ViewState;
    if (!state.hasUntitledName) {
        state.untitledName = QStringLiteral("NewFile") + QString::number(view::TakeUntitledNumber());
        state.hasUntitledName = true;
    }
    doc->SetTitle(state.untitledName);
}

void CPelmarkView::OnActivateView(bool activate, framework::View* activated,
                                  framework::View* deactivated) {
    framework::View::OnActivateView(activate, activated, deactivated);
    view::ViewHost* host = view::ViewHost::Installed();
    if (!activate) {
        if (host && dynamic_cast<CPelmarkView*>(host->ActiveView())) return;
        if (host) {
            host->ResetTool();
            // Without a canvas the document's tool windows go; their
            // wanted flags stay, so the next activation shows them again.
            host->HideDocumentWindows();
        }
        document::GetProgramEditState().toolIndex = 2;
        view::FollowedDocument() = nullptr;
        return;
    }
    CPelmarkDoc* doc = GetDocument();
    RealizeDocPalette(this);
    if (host) host->ShowDocumentWindows();
    if (doc && view::FollowedDocument() != doc) {
        view::FollowedDocument() = doc;
        if (host) host->FollowPosition(doc);
        document::GetProgramEditState().toolIndex = doc->m_nToolId - kSelectToolId;
        if (host) {
            host->ShowCurrentTool(doc->m_nToolId - kSelectToolId);
            host->EditStateChanged();
        }
        doc->m_bLayerUpdatePending = 1;
        SetTimer(kLayerRefreshTimer, 10);
    } else {
        if (host) {
            const ViewDisplayToggles& guide = GetViewDisplayToggles();
            host->ShowGuideState(guide.guidesShown, guide.guideEdit);
            host->ShowGridState(m_nSnapFlags, m_nGridDisplay);
            if (doc) host->ShowAnimationState(doc->m_bAnimState != 0, doc->m_bAnimPreview != 0);
        }
        emit zoomButtonChecked(view::ZoomCommandOf(m_nZoom));
    }
}

void CPelmarkView::OnTimer(int id) {
    if (id == kAutoScrollTimer) OnAutoScrollTimer();
    if (id == kTextToolTimer) OnTextToolTimer();
    if (id != kLayerRefreshTimer) return framework::View::OnTimer(id);
    KillTimer(kLayerRefreshTimer);
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_bLayerUpdatePending) return;
    doc->m_bLayerUpdatePending = 0;
    if (view::ViewHost* host = view::ViewHost::Installed()) {
        host->LayersChanged(doc);
        host->FollowPosition(doc);
    }
}

void CPelmarkView::RealizeDocPalette(QWidget*) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hImage || !doc->m_pPalette) return;
    LogicalPalette colors, alpha;
    if (!CreatePaletteFromDib(doc->m_hImage, &colors)) return;
    CreateAlphaPaletteFromDib(doc->m_hImage, &alpha);
    bool changed = colors.count != doc->m_pPalette->count || colors.colors != doc->m_pPalette->colors;
    if (doc->m_pAlphaPalette)
        changed = changed || alpha.colors != doc->m_pAlphaPalette->colors;
    if (!changed) return;
    doc->m_pPalette = colors;
    doc->m_pAlphaPalette = alpha;
    doc->UpdateAllViews(nullptr);
}

// ---- Zoom -------------------------------------------------------------------

void CPelmarkView::SetZoom(CommandId id) {
    int zoom = view::ZoomOfCommand(id);
    if (!zoom) return;
    if (zoom == m_nZoom && (m_nCentreX || m_nCentreY)) return;
    const int oldZoom = m_nZoom;
    m_nZoom = zoom;
    setUpdatesEnabled(false);
    FitFrameToImage();
    setUpdatesEnabled(true);
    // Outlines were placed at the old zoom.
    m_Overlays.Clear();
    m_pPenLine->line.ZoomChanged(oldZoom, zoom);
    m_pSelectTools->ZoomChanged();
    UpdateScrollSizes();
    update();
    NotifyViewport();
}

void CPelmarkView::ZoomAtPoint(CommandId id, int x, int y) {
    int zoom = view::ZoomOfCommand(id);
    CPelmarkDoc* doc = GetDocument();
    if (!zoom || !doc) return;
    if (zoom == m_nZoom && (m_nCentreX || m_nCentreY)) return;
    const int oldZoom = m_nZoom;
    m_nZoom = zoom;
    m_Overlays.Clear();
    m_pPenLine->line.ZoomChanged(oldZoom, zoom);
    m_pSelectTools->ZoomChanged();
    UpdateScrollSizes();
    FitFrameToImage();
    QRect client = ClientRect();
    int sx = view::ZoomScrollTarget(doc->m_nWidth, zoom, client.width(), x, HasScrollBar(false));
    int sy = view::ZoomScrollTarget(doc->m_nHeight, zoom, client.height(), y, HasScrollBar(true));
    ScrollTo(sx, sy);
    update();
    emit zoomButtonChecked(id);
    NotifyViewport();
}

void CPelmarkView::OnZoomCommand(CommandId id) {
    SetZoom(id);
    emit zoomButtonChecked(id);
}

void CPelmarkView::OnUpdateZoom(framework::CmdUI& ui) {
    CPelmarkDoc* doc = GetDocument();
    int zoom = view::ZoomOfCommand(ui.id());
    bool enabled = !CommandLocked() && doc && doc->m_hImage &&
                   view::ZoomFitsImage(zoom, doc->m_nWidth, doc->m_nHeight);
    ui.Enable(enabled);
    ui.SetCheck(zoom == m_nZoom ? 1 : 0);
}

void CPelmarkView::OnZoomCycle() { OnZoomCommand(view::ZoomCommandOf(view::NextCycleZoom(m_nZoom))); }

namespace {
// Zoom in and out go through the main frame, as the zoom buttons do.
// Nothing happens while the main frame holds the zoom lock.
void SendZoom(CPelmarkView* view, framework::CommandId id) {
    if (!id) return;
    view::ViewHost* host = view::ViewHost::Installed();
    if (host && host->ZoomLocked()) return;
    if (host && host->ActiveView() == view)
        host->SendFrameCommand(id);
    else
        view->ExecuteCommand(id);
}
}  // namespace

void CPelmarkView::OnZoomIn() { SendZoom(this, view::ZoomInCommand(m_nZoom)); }

void CPelmarkView::OnZoomOut() { SendZoom(this, view::ZoomOutCommand(m_nZoom)); }

void CPelmarkView::OnToggleAlphaView() {
    if (!GetDocument()) return;
    m_bAlphaView = !m_bAlphaView;
    UpdateScrollSizes();
    FitFrameToImage();
    update();
}

void CPelmarkView::OnUpdateAlphaView(framework::CmdUI& ui) {
    if (CommandLocked()) {
        ui.Enable(false);
        return;
    }
    ui.Enable(true);
    if (GetDocument()) ui.SetCheck(m_bAlphaView ? 1 : 0);
}

void CPelmarkView::OnCenterImage() {
    CPelmarkDoc* doc = GetDocument();
    view::Offsets o;
    if (doc && IsFrameMaximized())
        o = view::CentringOffsets(true, width(), height(), doc->m_nWidth, doc->m_nHeight, m_nZoom);
    m_nCentreX = o.x;
    m_nCentreY = o.y;
    if (IsFrameMaximized()) view::PendingFitFlag() = 2;
    update();
}

// ---- Window and scrolling -----------------------------------------------------

bool CPelmarkView::IsFrameMaximized() const {
    framework::ChildFrame* frame = GetParentFrame();
    return frame && frame->isMaximized();
}

bool CPelmarkView::HasScrollBar(bool vertical) const {
    return !(vertical ? m_pVBar : m_pHBar)->isHidden();
}

QRect CPelmarkView::ClientRect() const {
    int w = width() - (HasScrollBar(true) ? m_pVBar->sizeHint().width() : 0);
    int h = height() - (HasScrollBar(false) ? m_pHBar->sizeHint().height() : 0);
    return QRect(0, 0, std::max(0, w), std::max(0, h));
}

QPoint CPelmarkView::ScrollPosition() const {
    return {HasScrollBar(false) ? m_pHBar->value() : 0, HasScrollBar(true) ? m_pVBar->value() : 0};
}

void CPelmarkView::ScrollTo(int x, int y) {
    m_pHBar->setValue(x);
    m_pVBar->setValue(y);
}

void CPelmarkView::UpdateScrollSizes() {
    for (QScrollBar* bar : {m_pHBar, m_pVBar}) bar->setSingleStep(m_nZoom);
    LayoutScrollBars();
    update();
}

void CPelmarkView::LayoutScrollBars() {
    CPelmarkDoc* doc = GetDocument();
    const int totalW = doc && doc->m_hImage ? doc->m_nWidth * m_nZoom : 0;
    const int totalH = doc && doc->m_hImage ? doc->m_nHeight * m_nZoom : 0;
    const int barW = m_pVBar->sizeHint().width();
    const int barH = m_pHBar->sizeHint().height();
    int w = width(), h = height();
    bool needH = totalW > w, needV = totalH > h;
    if (needH && !needV) needV = totalH > h - barH;
    if (needV && !needH) needH = totalW > w - barW;
    const int clientW = std::max(0, w - (needV ? barW : 0));
    const int clientH = std::max(0, h - (needH ? barH : 0));
    const QSignalBlocker hb(m_pHBar), vb(m_pVBar);
    m_pHBar->setVisible(needH);
    m_pVBar->setVisible(needV);
    m_pHBar->setRange(0, needH ? totalW - clientW : 0);
    m_pVBar->setRange(0, needV ? totalH - clientH : 0);
    // The thumbs show the client's share; page clicks still move one image
    // pixel (see the constructor).
    m_pHBar->setPageStep(std::max(1, clientW));
    m_pVBar->setPageStep(std::max(1, clientH));
    m_pHBar->setGeometry(0, clientH, clientW, barH);
    m_pVBar->setGeometry(clientW, 0, barW, clientH);
    if (m_BackBuffer.size() != QSize(clientW, clientH))
        m_BackBuffer = clientW > 0 && clientH > 0 ? QImage(clientW, clientH, QImage::Format_RGB32) : QImage();
}

void CPelmarkView::OnScrolled() {
    if (view::ViewHost* host = view::ViewHost::Installed()) host->FollowPosition(GetDocument());
    update();
    NotifyViewport();
}

void CPelmarkView::NotifyViewport() {
    QPoint s = ScrollPosition();
    emit viewportChanged(m_nZoom, s.x(), s.y());
}

void CPelmarkView::resizeEvent(QResizeEvent* event) {
    framework::View::resizeEvent(event);
    LayoutScrollBars();
    if (view::ViewHost* host = view::ViewHost::Installed()) host->FollowPosition(GetDocument());
    if (view::PendingFitFlag() == 1 && GetParentFrame() && !IsFrameMaximized()) {
        view::PendingFitFlag() = 0;
        FitFrameToImage();
    }
}

void CPelmarkView::wheelEvent(QWheelEvent* event) {
    if (view::ViewHost* host = view::ViewHost::Installed()) host->FollowPosition(GetDocument());
    int delta = event->angleDelta().y();
    if (delta == 0) return framework::View::wheelEvent(event);
    int pixels = view::WheelScrollPixels(delta, m_nZoom, QApplication::wheelScrollLines());
    if (HasScrollBar(true)) m_pVBar->setValue(m_pVBar->value() + pixels);
    event->accept();
}

void CPelmarkView::FitFrameToImage() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    QRect client = ClientRect();
    doc->m_ViewState.clientRect = ToDib(client);
    framework::ChildFrame* frame = GetParentFrame();
    view::ViewHost* host = view::ViewHost::Installed();
    const bool maximised = IsFrameMaximized();
    const bool keepSize = GetGeneralSettings().keepWindowSize == 1;
    const bool fittedBefore = doc->m_ViewState.fitted;
    // Fitted once to its image; a window made before its image came (a new
    // file from the clipboard or a scanner) is fitted when the image is there.
    if (doc->m_hImage) doc->m_ViewState.fitted = true;
    if (!(keepSize && !maximised && fittedBefore) && frame) {
        if (maximised) {
            view::Offsets o = view::CentringOffsets(true, width(), height(), doc->m_nWidth,
                                                    doc->m_nHeight, m_nZoom);
            m_nCentreX = o.x;
            m_nCentreY = o.y;
        } else {
            m_nCentreX = m_nCentreY = 0;
            // The frame around the image at the zoom, kept inside the free
            // area of the main window; a side that is cut gets room for the
            // scroll bar across the other side.
            const QMargins m = frame->contentsMargins();
            auto* child = dynamic_cast<CChildFrame*>(frame);
            const QSize strips = child ? child->RulerStrips() : QSize();
            const QSize border(m.left() + m.right() + strips.width(),
                               m.top() + m.bottom() + strips.height());
            int w = doc->m_nWidth * m_nZoom + border.width();
            int h = doc->m_nHeight * m_nZoom + border.height();
            QSize limit(w, h);
            if (QMdiArea* area = frame->mdiArea())
                limit = area->viewport()->size() - QSize(frame->x(), frame->y());
            const int barW = m_pVBar->sizeHint().width();
            const int barH = m_pHBar->sizeHint().height();
            if (w > limit.width()) {
                w = limit.width();
                h += barH;
            }
            if (h > limit.height()) {
                h = limit.height();
                w = std::min(w + barW, limit.width());
            }
            // Wide enough for the whole title (a narrower image gets grey
            // beside it), within the free area.
            if (child) w = std::max(w, child->TitleBarWidth());
            w = std::min(w, limit.width());
            frame->resize(std::max(w, frame->minimumSizeHint().width()), std::max(h, 1));
        }
    }
    if (host) host->FollowPosition(doc);
}

void CPelmarkView::FitFrameIfPending() {
    int& pending = view::PendingFitFlag();
    if (!pending || !GetParentFrame()) return;
    if (IsFrameMaximized() && pending != 2) return;
    pending = 0;
    FitFrameToImage();
}

// ---- Grids, tool state, view state --------------------------------------------

void CPelmarkView::LoadGridPreset() {
    grid::EnsureGridSettingsLoaded();
    const grid::GridSettings& settings = grid::GetGridSettings();
    const grid::GridPreset& p = settings.Current();
    m_nMainCellWidth = std::max(1, p.mainWidth);
    m_nMainCellHeight = std::max(1, p.mainHeight);
    m_nSubCellWidth = std::max(1, p.subWidth);
    m_nSubCellHeight = std::max(1, p.subHeight);
    m_MainColor = p.mainColor;
    m_SubColor = p.subColor;
    m_nGridDisplay = settings.displayFlags;
    m_nSnapFlags = p.enabled;
}

void CPelmarkView::SetGridDisplayFlags(int flags) {
    m_nGridDisplay = flags & 3;
    update();
}

void CPelmarkView::SwapToolState(int direction) {
    if (direction == 1) m_Guide = GetGuideSettings();
    else if (direction == 0) GetGuideSettings() = m_Guide;
}

void CPelmarkView::StoreViewState() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    QPoint s = ScrollPosition();
    document::DocViewState& v = doc->m_ViewState;
    v.scrollX = s.x() * m_nZoom;
    v.scrollY = s.y() * m_nZoom;
    v.windowWidth = width();
    v.windowHeight = height();
    v.zoom = m_nZoom;
    v.zoom2 = m_nZoom;
}

// ---- Outlines -------------------------------------------------------------------

view::ScreenPoint CPelmarkView::ToLogical(int x, int y) const {
    return {x * m_nZoom + m_nCentreX, y * m_nZoom + m_nCentreY};
}

DibRect CPelmarkView::ToLogical(const DibRect& r) const {
    return {r.left * m_nZoom + m_nCentreX, r.top * m_nZoom + m_nCentreY,
            r.right * m_nZoom + m_nCentreX, r.bottom * m_nZoom + m_nCentreY};
}

void CPelmarkView::DrawShape(view::OverlayShape shape, OverlayCanvas* canvas) {
    if (canvas) {
        view::RenderOverlayShape(canvas->buffer, shape, canvas->offset, canvas->clip);
        return;
    }
    DibRect b = view::OverlayList::Bounds(shape);
    m_Overlays.Toggle(std::move(shape));
    QPoint s = ScrollPosition();
    update(QRect(b.left - s.x(), b.top - s.y(), b.right - b.left, b.bottom - b.top));
}

void CPelmarkView::ClearOverlays() {
    if (m_Overlays.empty()) return;
    m_Overlays.Clear();
    update();
}

void CPelmarkView::XorFrameRect(const DibRect& r, OverlayCanvas* canvas) {
    DrawShape({view::OverlayShape::Frame, {}, ToLogical(tools::OrderRect(r))}, canvas);
}

void CPelmarkView::XorLine(const DibRect& r, OverlayCanvas* canvas) {
    DibRect z = ToLogical(tools::OrderRect(r));
    view::ScreenPoint a{z.left, z.top}, b{z.right - 1, z.top}, c{z.right - 1, z.bottom - 1},
        d{z.left, z.bottom - 1};
    DrawShape({view::OverlayShape::Polyline, {a, b, c, d, a}, {}}, canvas);
}

void CPelmarkView::XorPolyline(const std::vector<view::ScreenPoint>& points, OverlayCanvas* canvas) {
    view::OverlayShape shape{view::OverlayShape::Polyline, {}, {}};
    shape.points.reserve(points.size());
    for (const view::ScreenPoint& p : points) shape.points.push_back(ToLogical(p.x, p.y));
    DrawShape(std::move(shape), canvas);
}

void CPelmarkView::XorEllipse(const DibRect& r, OverlayCanvas* canvas) {
    DrawShape({view::OverlayShape::Ellipse, {}, ToLogical(tools::OrderRect(r))}, canvas);
}

void CPelmarkView::XorEllipseRubberBand(int x0, int y0, int x1, int y1, OverlayCanvas* canvas) {
    DibRect r = tools::MakeRectInclusive({x0, y0, x1, y1});
    XorEllipse(r, canvas);
}

namespace {
view::OverlayShape HandleAt(view::ScreenPoint p) {
    const int half = kHandleSize / 2;
    return {view::OverlayShape::Block, {}, {p.x - half, p.y - half, p.x + half + 1, p.y + half + 1}};
}
}  // namespace

void CPelmarkView::DrawPolylineHandles(const std::vector<view::ScreenPoint>& points, bool closed,
                                       bool handles, OverlayCanvas* canvas) {
    std::vector<view::ScreenPoint> logical;
    for (const view::ScreenPoint& p : points) logical.push_back(ToLogical(p.x, p.y));
    if (closed && logical.size() > 1) logical.push_back(logical.front());
    if (logical.size() > 1) DrawShape({view::OverlayShape::Polyline, logical, {}}, canvas);
    if (!handles) return;
    std::vector<view::ScreenPoint> done;
    for (const view::ScreenPoint& p : logical) {
        if (std::find(done.begin(), done.end(), p) != done.end()) continue;
        done.push_back(p);
        DrawShape(HandleAt(p), canvas);
    }
}

void CPelmarkView::DrawRectHandles(const DibRect& r, bool handles, OverlayCanvas* canvas) {
    XorLine(r, canvas);
    if (!handles) return;
    DibRect z = ToLogical(tools::OrderRect(r));
    for (view::ScreenPoint p : {view::ScreenPoint{z.left, z.top}, view::ScreenPoint{z.right - 1, z.top},
                                view::ScreenPoint{z.right - 1, z.bottom - 1},
                                view::ScreenPoint{z.left, z.bottom - 1}})
        DrawShape(HandleAt(p), canvas);
}

void CPelmarkView::DrawCircleHandles(const DibRect& r, bool handles, OverlayCanvas* canvas) {
    XorEllipse(r, canvas);
    if (!handles) return;
    DibRect z = ToLogical(tools::OrderRect(r));
    DrawShape(HandleAt({(z.left + z.right) / 2, (z.top + z.bottom) / 2}), canvas);
    DrawShape(HandleAt({z.right - 1, z.bottom - 1}), canvas);
}

void CPelmarkView::DrawOverlayShape(const OutlineSegments& segments, OverlayCanvas* canvas) {
    if (canvas) {
        for (const auto& [a, b] : segments) {
            view::ScreenPoint pa{a.x + canvas->offset.x, a.y + canvas->offset.y};
            view::ScreenPoint pb{b.x + canvas->offset.x, b.y + canvas->offset.y};
            view::InvertLine(canvas->buffer, pa, pb, canvas->clip);
        }
        return;
    }
    for (const auto& [a, b] : segments) DrawShape({view::OverlayShape::Polyline, {a, b}, {}}, nullptr);
}

void CPelmarkView::DrawSelectionOutline(OverlayCanvas& canvas) {
    CPelmarkDoc* doc = GetDocument();
    const DibRect& sel = doc->m_rcSelection;
    if (view::IsEmptyRect(tools::OrderRect(sel))) return;
    if (m_pSelectTools->DrawRotationFrame(canvas)) return;
    int tool = doc->m_nToolId;
    const bool floatTool = tool == kFillToolId || (tool >= kFirstFloatToolId && tool <= kLastFloatToolId);
    if (floatTool) {
        if (doc->m_nPrevToolId != kSelectToolId && doc->m_nPrevToolId != kWandToolId) return;
        tool = doc->m_nPrevToolId;
    }
    const bool maskOutline = tool == kWandToolId || (tool == kSelectToolId && doc->m_ViewState.maskOutline);
    if (maskOutline) {
        OutlineSegments segments;
        for (const document::OutlineSegment& s : document::SelectionOutlineSegments(
                 *doc, m_nZoom, m_nCentreX, m_nCentreY, doc->m_ViewState.secondOutline ? 1 : 0))
            segments.push_back({{s.x0, s.y0}, {s.x1, s.y1}});
        DrawOverlayShape(segments, &canvas);
        return;
    }
    if (tool == kSelectToolId) {
        switch (view::SelectionModeIndex()) {
        case view::kSelectRect: XorLine(sel, &canvas); break;
        case view::kSelectEllipse: XorEllipse(sel, &canvas); break;
        default: {
            std::vector<view::ScreenPoint> points;
            for (const document::LassoPoint& p : document::GetLassoPoints(*doc)) points.push_back({p.x, p.y});
            XorPolyline(points, &canvas);
            break;
        }
        }
        return;
    }
    XorFrameRect(sel, &canvas);
}

// ---- Painting ---------------------------------------------------------------------

const LogicalPalette* CPelmarkView::ShownPalette() const {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return nullptr;
    const std::optional<LogicalPalette>& p = m_bAlphaView ? doc->m_pAlphaPalette : doc->m_pPalette;
    return p ? &*p : nullptr;
}

void CPelmarkView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (HasScrollBar(true) && HasScrollBar(false)) {
        QRect corner(m_pVBar->x(), m_pHBar->y(), m_pVBar->width(), m_pHBar->height());
        painter.fillRect(corner & event->rect(), palette().window());
    }
    QRect clip = event->rect() & ClientRect();
    if (clip.isEmpty()) return;
    OnDraw(painter, clip);
}

void CPelmarkView::OnDraw(QPainter& painter, const QRect& clip) {
    FitFrameIfPending();
    CPelmarkDoc* doc = GetDocument();
    if (doc && hasFocus()) view::FocusedDocumentPath() = doc->GetPathName();
    if (m_BackBuffer.isNull() || m_BackBuffer.size() != ClientRect().size()) LayoutScrollBars();
    if (m_BackBuffer.isNull()) return;
    view::PixelBuffer buffer = BufferOf(m_BackBuffer);
    const DibRect clientClip = ToDib(clip);
    if (!doc || !doc->m_hImage) {
        view::FillRect(buffer, clientClip, kBackgroundColor, clientClip);
        painter.drawImage(clip.topLeft(), m_BackBuffer, clip);
        return;
    }
    view::RunFirstPaintHook();
    // Only a document with a file can be opened again at the next start.
    if (!doc->GetPathName().isEmpty() && !document::HasOpenDocumentEntry(doc) &&
        document::OpenDocumentCount() < document::kOpenDocListMax)
        document::AddOpenDocument(doc, doc->GetPathName());
    if (QFileInfo path(doc->GetPathName()); path.isAbsolute() && doc->GetTitle() != path.fileName())
        doc->SetTitle(path.fileName());

    const QPoint scroll = ScrollPosition();
    const view::Offsets centre{m_nCentreX, m_nCentreY};
    // The image origin in client pixels.
    const view::ScreenPoint origin{m_nCentreX - scroll.x(), m_nCentreY - scroll.y()};
    const DibRect logicalClip{clientClip.left + scroll.x(), clientClip.top + scroll.y(),
                              clientClip.right + scroll.x(), clientClip.bottom + scroll.y()};
    const DibRect painted = view::WidenClipToCells(logicalClip, m_nZoom, centre, doc->m_nWidth, doc->m_nHeight);
    DibRect area = clientClip;
    if (!view::IsEmptyRect(painted)) {
        DibRect p{painted.left + origin.x, painted.top + origin.y, painted.right + origin.x,
                  painted.bottom + origin.y};
        area = {std::min(area.left, p.left), std::min(area.top, p.top), std::max(area.right, p.right),
                std::max(area.bottom, p.bottom)};
    }
    area = view::ClipToBuffer(buffer, area);

    // Beside the image: grey; left of and above a centred image: the
    // workspace colour.
    const QRgb workspace = QApplication::palette().color(QPalette::Dark).rgb();
    view::PaintBackground(buffer, area, origin, m_nCentreX > 0 || m_nCentreY > 0, kBackgroundColor,
                          workspace);

    if (!view::IsEmptyRect(painted)) {
        bool drawn = false;
        if (doc->m_bHasUnderlay && doc->m_bUnderlayCheck && doc->m_hUnderlay) {
            QPainter back(&m_BackBuffer);
            QRect dest(origin.x + painted.left, origin.y + painted.top, painted.right - painted.left,
                       painted.bottom - painted.top);
            DibRect source{painted.left / m_nZoom, painted.top / m_nZoom, painted.right / m_nZoom,
                           painted.bottom / m_nZoom};
            drawn = PaintLayersOverUnderlay(&back, dest, doc->m_hImage, source, ShownPalette(),
                                            doc->m_hUnderlay, doc->m_hLayers.data(), doc->m_nLayerCount) > 0;
        }
        if (!drawn) {
            dib::LockedDib dib(doc->m_hImage);
            const LogicalPalette* palette = ShownPalette();
            if (dib && dib.geo().bitCount == 8 && dib.geo().HoldsRows(dib::LayerRowBytes(dib.geo().width))) {
                LogicalPalette own;
                if (!palette && CreatePaletteFromDib(doc->m_hImage, &own)) palette = &own;
                for (int i = 0; i < 256; ++i) m_Colors[size_t(i)] = palette ? palette->Shown(i) : 0xff000000u;
                view::IndexedImage image{dib.bits(), dib.geo().width, dib.geo().height,
                                         dib::LayerRowBytes(dib.geo().width)};
                DibRect target{origin.x + painted.left, origin.y + painted.top,
                               origin.x + painted.right, origin.y + painted.bottom};
                view::StretchIndexed(buffer, image, m_nZoom, origin, m_Colors.data(), target);
            }
        }
        view::GridStyle grid{m_nGridDisplay, m_nMainCellWidth, m_nMainCellHeight, m_nSubCellWidth,
                            m_nSubCellHeight, ColorOf(m_MainColor), ColorOf(m_SubColor)};
        view::DrawGrids(buffer, painted, origin, m_nZoom, grid, area);
    }

    OverlayCanvas canvas{buffer, {-scroll.x(), -scroll.y()}, area};
    DrawSelectionOutline(canvas);
    DrawRegions(canvas);
    m_Overlays.Render(buffer, canvas.offset, area);
    DrawGuides(buffer, origin, area);
    QRect out(area.left, area.top, area.right - area.left, area.bottom - area.top);
    painter.drawImage(out.topLeft(), m_BackBuffer, out);
}

void CPelmarkView::RepaintImageRect(const DibRect& rect, bool updateNow) {
    QPoint s = ScrollPosition();
    tools::ClientRepaint r = tools::ImageToClientRect(rect, m_nZoom, s.x(), s.y(), m_nCentreX, m_nCentreY);
    for (int i = 0; i < r.count; ++i) {
        const DibRect& c = r.rects[i];
        QRect q(c.left, c.top, c.right - c.left, c.bottom - c.top);
        if (updateNow) repaint(q);
        else update(q);
    }
}
