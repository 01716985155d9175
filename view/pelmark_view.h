// The canvas view: one document's composite image enlarged by a whole-number
// zoom in a scrolling window, with the main and sub grids, the selection
// outline and the outlines of the tools over it. Painting goes through a
// back buffer the size of the client area; every outline is inverted into it
// at each paint (see view/overlay.h), so drawing an outline twice removes it.
//
// Client coordinates exclude the scroll bars. "Logical" coordinates are
// zoomed-image pixels with the centring offsets added; client = logical less
// the scroll position.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QImage>

#include "framework/view.h"
#include "imagemap/image_map.h"
#include "platform/window.h"
#include "imaging/logical_palette.h"
#include "tools/drag_state.h"
#include "tools/pixel_access.h"
#include "tools/repaint_sink.h"
#include "tools/tool_dispatch.h"
#include "view/guide_settings.h"
#include "view/overlay.h"
#include "view/view_geometry.h"

class CPelmarkDoc;
class QMenu;
class QPainter;
class QPrinter;
class QScrollBar;

namespace framework {
class CmdUI;
}
namespace tools {
class PenLineTools;
class ShapeTools;
}
namespace view {
class FillPickHandTools;
class ImageMapTools;
class SelectionTools;
class WandTool;
class ViewToolCanvas;
}

class CPelmarkView : public framework::View, public tools::RepaintSink {
    Q_OBJECT
public:
    using CommandId = framework::CommandId;
    static constexpr CommandId kZoomCycleId = 573;
    static constexpr CommandId kZoomInId = 32830;
    static constexpr CommandId kZoomOutId = 32831;
    static constexpr CommandId kAlphaViewId = 635;
    static constexpr CommandId kCenterImageId = 1028;
    // Edit commands.
    static constexpr CommandId kCopyId = 57634;
    static constexpr CommandId kCutId = 57635;
    static constexpr CommandId kPasteId = 57637;
    static constexpr CommandId kClearId = 32853;
    static constexpr CommandId kClearMemoryId = 32854;
    static constexpr CommandId kSelectAllId = 34014;
    static constexpr CommandId kSelectNoneId = 34015;
    static constexpr CommandId kInvertSelectionId = 32888;
    static constexpr CommandId kAddBorderId = 32848;
    static constexpr CommandId kSettingsId = 32850;
    static constexpr CommandId kPasteOpaqueId = 34018;
    static constexpr CommandId kPasteMaskClearId = 34020;
    static constexpr CommandId kConvertMergeId = 34031;
    static constexpr CommandId kConvertNoneId = 34032;
    static constexpr CommandId kMainGridId = 34016;
    static constexpr CommandId kSubGridId = 34033;
    static constexpr CommandId kMainSnapId = 34034;
    static constexpr CommandId kSubSnapId = 34035;
    static constexpr CommandId kGuideShownId = 34036;
    static constexpr CommandId kGuideEditId = 34037;
    // The pointer's image position in the status bar, on and off.
    static constexpr CommandId kPointerPositionId = 34009;
    static constexpr CommandId kFirstGridPresetId = 32884;
    static constexpr CommandId kLastGridPresetId = 32887;
    // Colour commands.
    static constexpr CommandId kEditModeId = 34024;
    static constexpr CommandId kColorMapId = 34025;
    static constexpr CommandId kMaskColorsId = 34021;
    static constexpr CommandId kAlphaId = 32838;
    static constexpr CommandId kDeleteUnusedId = 34028;
    static constexpr CommandId kGradientId = 34017;
    static constexpr CommandId kPaletteEditorId = 32858;
    static constexpr CommandId kImageSizeId = 34013;
    static constexpr CommandId kSaveSettingsId = 34029;
    // Grey of the client area beside and below the image.
    static constexpr QRgb kBackgroundColor = 0xff808080u;
    // Timer that refreshes the layer palette after a document switch.
    static constexpr int kLayerRefreshTimer = 50;

    explicit CPelmarkView(QWidget* parent = nullptr);
    ~CPelmarkView() override;

    CPelmarkDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnActivateView(bool activate, framework::View* activated,
                        framework::View* deactivated) override;

    // Zoom.
    int Zoom() const { return m_nZoom; }
    void SetZoom(CommandId id);
    void ZoomAtPoint(CommandId id, int x, int y);
    void UpdateScrollSizes();
    void OnZoomCommand(CommandId id);
    void OnZoomCycle();
    void OnZoomIn();
    void OnZoomOut();
    void OnToggleAlphaView();
    void OnCenterImage();
    bool AlphaView() const { return m_bAlphaView != 0; }
    view::Offsets CentreOffsets() const { return {m_nCentreX, m_nCentreY}; }

    // Window.
    void FitFrameToImage();
    bool IsFrameMaximized() const;
    // True while the vertical (else horizontal) scroll bar is shown.
    bool HasScrollBar(bool vertical) const;
    // The client area and the scroll position in client pixels.
    QRect ClientRect() const;
    QPoint ScrollPosition() const;
    void ScrollTo(int x, int y);
    void SetDocTitle();

    // Grids.
    void LoadGridPreset();
    int GridDisplayFlags() const { return m_nGridDisplay; }
    void SetGridDisplayFlags(int flags);
    int SnapFlags() const { return m_nSnapFlags; }
    int MainCellWidth() const { return m_nMainCellWidth; }
    int MainCellHeight() const { return m_nMainCellHeight; }
    int SubCellWidth() const { return m_nSubCellWidth; }
    int SubCellHeight() const { return m_nSubCellHeight; }

    // 1: the program's guide state into this view's copy; 0: back.
    void SwapToolState(int direction);
    const GuideSettings& GuideCopy() const { return m_Guide; }

    // ---- Guide lines (pelmark_view_guides.cpp) ----
    // The guide over the back buffer (client pixels, image origin at
    // `origin`), while the guides are shown.
    void DrawGuides(const view::PixelBuffer& buffer, view::ScreenPoint origin, const DibRect& clip);
    // The handle drag while guide editing is on (mode: tools::PointMode): a
    // button-down near the start (centre) or the end picks that handle,
    // moves place it, the up ends the drag. True when the point was taken.
    bool TrackGuideHandle(tools::ImagePoint p, int mode);
    // The handle a drag moves: 0 the start (centre), 1 the end; -1 none.
    int GuideDragHandle() const { return m_nGuideDrag; }
    // The handle (0 start or centre, 1 end) near image point p, or -1.
    int HitTestGuideHandle(tools::ImagePoint p) const;
    // Stores a guide point (0 start or centre, 1 end) in the program's guide
    // state; a straight guide's stored length becomes the new distance.
    // Repaints and tells the guide and position palettes.
    void SetGuidePoint(int which, int x, int y);
    void SetGuideStart(int x, int y) { SetGuidePoint(0, x, y); }
    void SetGuideEnd(int x, int y) { SetGuidePoint(1, x, y); }
    // Guide editing came on: the points into the image, a straight guide's
    // length to their distance; the palettes are told.
    void ClampGuideToImage();
    // Writes scroll position x zoom, window size and zoom into the document.
    void StoreViewState();
    // Brings the document's screen palettes in line with its colour table;
    // every view of the document repaints when a colour changed.
    void RealizeDocPalette(QWidget* window);
    // Removes the palette entries no layer uses (document/unused_colors.h),
    // with `ask` after the unused-colour dialog (the entries the user leaves
    // unmarked stay), then refreshes the views, the colour palette, the
    // layer palette and the plug-in windows.
    void DeleteUnusedColors(bool ask = false);

    // ---- Colour commands (pelmark_view_colors.cpp) ----
    // The dialogs of the edit mode (the current mode in, the chosen one out)
    // and of the alpha value; their commands stay disabled while unset.
    using EditModeAsker = std::function<std::optional<int>(int current)>;
    using AlphaAsker = std::function<std::optional<int>()>;
    static EditModeAsker& EditModeDialog();
    static AlphaAsker& AlphaDialog();
    void OnEditMode();
    void OnColorMap();
    void OnMaskColors();
    void OnAlpha();
    void OnDeleteUnused();
    // The gradient dialog for the document.
    void OnGradient();
    // "编辑颜色调板": the palette editor on the document.
    void OnPaletteEditor();

    // ---- Image size (pelmark_view_size.cpp) ----
    // The layer sheet (document::LayOutLayerSheet) as one undo step, then
    // the refreshes of a new image size. False when it was not laid out.
    bool ResizeCanvasKeepPalette(int width, int height, int columns, int rows, bool dropUncovered);
    void OnImageSize();
    // The border-line dialog on the document; the pen stamps are the
    // border's while it runs (pelmark_view_border.cpp).
    void OnAddBorder();
    void OnSettings();
    // The grid, snap and colour palette settings, and the frame's shown
    // states.
    void OnSaveSettings();

    // Outlines. Each inverts its shape: into `canvas` during a paint, else
    // into the view's standing outlines (the shape is taken out again when it
    // is already shown) with a repaint of the area. Image coordinates are
    // multiplied by the zoom and moved by the centring offsets.
    struct OverlayCanvas {
        view::PixelBuffer buffer;
        view::ScreenPoint offset;  // logical to client
        DibRect clip;
    };
    // Four one-pixel strips around image rectangle `r` (right and bottom
    // exclusive) x zoom.
    void XorFrameRect(const DibRect& r, OverlayCanvas* canvas = nullptr);
    // The closed five-point polyline through the corners of `r` x zoom with
    // right and bottom less one.
    void XorLine(const DibRect& r, OverlayCanvas* canvas = nullptr);
    // The open polyline through image points.
    void XorPolyline(const std::vector<view::ScreenPoint>& points, OverlayCanvas* canvas = nullptr);
    // The ellipse inside `r` x zoom.
    void XorEllipse(const DibRect& r, OverlayCanvas* canvas = nullptr);
    // The same for two corner points in any order (right and bottom
    // inclusive).
    void XorEllipseRubberBand(int x0, int y0, int x1, int y1, OverlayCanvas* canvas = nullptr);
    // Region outlines with, when `handles`, a 5 x 5 handle at each distinct
    // point.
    void DrawPolylineHandles(const std::vector<view::ScreenPoint>& points, bool closed, bool handles,
                             OverlayCanvas* canvas = nullptr);
    void DrawRectHandles(const DibRect& r, bool handles, OverlayCanvas* canvas = nullptr);
    void DrawCircleHandles(const DibRect& r, bool handles, OverlayCanvas* canvas = nullptr);
    // A mask outline: segments in logical pixels, each without its end.
    using OutlineSegments = std::vector<std::pair<view::ScreenPoint, view::ScreenPoint>>;
    void DrawOverlayShape(const OutlineSegments& segments, OverlayCanvas* canvas = nullptr);
    // The standing outlines.
    const view::OverlayList& Overlays() const { return m_Overlays; }
    void ClearOverlays();

    // Painting.
    void OnDraw(QPainter& painter, const QRect& clip);

    // ---- Edit commands (pelmark_view_edit.cpp) ----
    // 0 maps pasted indices through the last copy's palette to the nearest
    // colours, 1 pastes them as they are (program-wide).
    static int& PasteConversionMode();
    // Puts the floating selection on the clipboard and fills the copy
    // memory; false (nothing changed) when it did not reach the clipboard.
    bool CopySelection();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditClear();
    void OnClearMemory();
    void OnSelectAll();
    void OnSelectNone();
    void OnInvertSelection();
    void OnPasteMode(CommandId id);
    void OnConversionMode(CommandId id);
    void OnToggleGrid(CommandId id);
    void OnToggleSnap(CommandId id);
    void OnToggleGuideShown();
    void OnTogglePointerPosition();
    void OnToggleGuideEdit();
    void OnGridPreset(CommandId id);
    // WM_TOOL_GRIDSIZE with the main cell size to the document's tool and
    // animation plug-in windows (`window` for a record without one).
    void SendGridToToolWindows(WinHandle window);

    // ---- Drawing (pelmark_view_draw.cpp) ----
    // One drawing operation on the document's composite and layers, with
    // this view's tone and repaints through the view.
    bool BeginPixelAccess();
    void EndPixelAccess();
    const tools::PixelAccess& PixelAccessState() const { return m_PixelAccess; }
    tools::PixelAccess& PixelAccessState() { return m_PixelAccess; }
    // Snapping state and cells of this view.
    tools::GridSnap Snap() const;
    // The stamp of the current tool.
    tools::PenStamp CurrentStamp() const;
    void StampPen(int x, int y, bool repaint);
    void PlotPen(int x, int y, bool repaint);
    void StampPenLine(int x0, int y0, int x1, int y1, bool repaint, int spacingMode);
    void StampPenLinePattern(int x0, int y0, int x1, int y1, bool repaint, int spacing);
    void DrawPenLine(int x0, int y0, int x1, int y1, bool repaint);
    void FillSpan(int x, int y, int count);
    int GetPixelIndex(int x, int y) const;
    // Repaints image rectangle `r` (right and bottom exclusive).
    void InvalidateImageRect(const DibRect& r);
    // Recomposes the composite from the layers over `rect` (whole image when
    // null) and repaints every view of the document.
    void RecomposeLayers(const DibRect* rect = nullptr);
    // After a change of the image from outside the view (a plug-in): mode 0
    // rebuilds the document's palettes, recomposes every layer, repaints
    // every view and has the colour palette bar reload; mode 1 recomposes
    // `rect` (whole image when null) and repaints.
    void RefreshAfterEdit(int mode, const DibRect* rect = nullptr);
    // The main frame's tool setting of an index (0 without a main frame).
    static int ToolOptionOf(int index);
    // The spacing of the pen tool's spaced lines.
    static int& PenSpacing();
    // ---- The floating selection put back by the scale and rotate tools
    // (pelmark_view_insert.cpp) ----
    // The source is the floating selection: the floating image (a layer
    // buffer of the floating rectangle) with the floating mask where that
    // fits the same rectangle (otherwise every floating pixel counts as
    // selected). Both return false, changing nothing, without a floating
    // image or a current layer.
    //
    // Scales the floating selection into the rectangle (ordered first; right
    // and bottom exclusive, parts outside the image cut off): the selection
    // mask becomes the floating mask scaled into it (nearest pixel), the
    // current layer gets the floating pixels scaled into it where the new
    // mask is set (nearest pixel; area averaging matched to the palette
    // while anti-aliasing is on), the selection rectangle becomes the
    // rectangle, and the composite is recomposed there and repainted. False,
    // changing nothing, for an empty rectangle, and after
    // "图象插入所需内存不足。" when the work memory of the anti-aliased write
    // cannot be had.
    bool InsertImageAt(int left, int top, int right, int bottom);
    // Draws the floating selection turned by `angle` degrees (clockwise on
    // the screen) about its centre at the selection rectangle: the selection
    // mask becomes the turned floating mask and the current layer gets the
    // turned pixels where it is set (nearest pixel); while anti-aliasing is
    // on and the angle is not a multiple of 90, the selected pixels are then
    // smoothed (document/resample_smooth.h), and when that cannot get its
    // work memory "图象插入所需内存不足。" is shown and the turned pixels stay
    // unsmoothed. Recomposes and repaints the area. False, changing nothing,
    // also when the selection rectangle is empty.
    bool InsertImagePreview(double angle);
    // ---- The selection, scale and rotate tools (pelmark_view_select.cpp,
    // pelmark_view_transform.cpp) ----
    // Points are image pixels after the grid snapping of the dispatch; the
    // raw point of a button-down is the one before snapping.
    void OnSelectToolDown(int x, int y, int rawX, int rawY);
    void OnSelectToolMove(tools::ImagePoint p);
    void OnSelectToolUp(int x, int y);
    // The double click that closes the polygon or lasso being built (the
    // dispatch has refused fewer than 3 points).
    void OnSelectToolDoubleClick(int x, int y);
    // A cursor key while the selection tool is current and no move drag
    // runs; true when it moved the floating selection.
    bool MoveSelectionByKey(int key);
    bool IsInSelection(int x, int y) const;
    // The magic wand (pelmark_view_wand.cpp): a click selects the
    // 4-connected area of the clicked index of the current layer, Shift adds
    // an area, a drag inside the floating selection moves it.
    void OnWandToolDown(int x, int y, int rawX, int rawY);
    void OnWandToolMove(int x, int y);
    void OnWandToolUp(int x, int y);
    // The area at (x, y) into the selection mask and its edge points into
    // the second mask; an empty selection outside the image, without a
    // current layer or on a hidden one.
    void MagicWandFill(int x, int y);
    void OnScaleToolDown(int x, int y);
    void OnScaleToolMove(tools::ImagePoint p);
    void OnScaleToolUp(int x, int y);
    // Enter keeps the scaled selection, Esc gives back the lifted size.
    bool OnScaleToolKey(int key);
    // tools::ScaleHandleFlags of the handle under the point, or 0.
    int HitTestScaleHandle(int x, int y) const;
    void OnRotateToolDown(int x, int y);
    void OnRotateToolMove(tools::ImagePoint p);
    void OnRotateToolUp(int x, int y);
    // Enter keeps the turned selection, Esc turns it back.
    bool OnRotateToolKey(int key);
    bool HitTestRotateArea(int x, int y) const;
    // Tone commands 636..651.
    int ToneLevel() const { return m_nToneLevel; }
    int TonePattern() const { return m_nTonePattern; }
    void OnToneCommand(CommandId id);
    void OnUpdateTone(framework::CmdUI& ui);

    // ---- Fill, colour pick and hand (pelmark_view_fill_pick_hand.cpp) ----
    // The fill tool's button-down: the fill plug-in on this document, then
    // the layer palette (which recomposes).
    void OnFillDown(int x, int y);
    // The right button's colour pick: the composite's index at (x, y)
    // becomes the current colour with the tools that take a pick, unless
    // the point is outside the image or the index's palette row is locked.
    void PickColorAt(int x, int y);
    // The hand tool (and Space): the image follows the pointer in whole
    // image pixels and stops at its edges; the release tells the position
    // palette.
    void OnHandToolDown(int x, int y);
    void OnHandToolMove(int x, int y);
    void OnHandToolUp(int x, int y);
    // Set when the work-memory probe refused the fill's button-down.
    static bool FillBlocked();

    // ---- Image map (pelmark_view_imagemap.cpp) ----
    // The view's clickable regions with their URLs (view data: not part of
    // the image, the undo history or the file). Their outlines are drawn
    // over the canvas at every paint. Points are image pixels; the handlers
    // do nothing while the document is busy.
    const imagemap::RegionTable& Regions() const { return m_Regions; }
    imagemap::RegionTable& Regions() { return m_Regions; }
    int MapTolerance() const { return imagemap::HitTolerance(m_nZoom); }
    // Rectangle (625) and circle (626): press, drag, release.
    void MapRectDown(tools::ImagePoint p);
    void MapRectMove(tools::ImagePoint p);
    void MapRectUp(tools::ImagePoint p);
    void MapCircleDown(tools::ImagePoint p);
    void MapCircleMove(tools::ImagePoint p);
    void MapCircleUp(tools::ImagePoint p);
    // Point (627) and polygon (628): one click each.
    void MapPointDown(tools::ImagePoint p);
    void MapPolyDown(tools::ImagePoint p);
    // The right button with the tools 625 to 628: removes what lies under
    // the pointer.
    void MapPolyFinish(tools::ImagePoint p);
    // Move (631): the press picks (left: the whole region, right: one
    // point), a left drag moves the region, a right drag the point.
    void MapMoveDown(tools::ImagePoint p, bool left);
    void MapMoveDrag(tools::ImagePoint p);
    void MapMoveVertex(tools::ImagePoint p);
    const imagemap::Pick& MapPick() const { return m_MapPick; }
    // Delete (632) and URL (633).
    void MapDeleteRegion(tools::ImagePoint p);
    void EditRegionUrl(tools::ImagePoint p);
    // A double click: "%d 号的数据" names the region under the point.
    void ShowRegionAt(tools::ImagePoint p);
    // "最大 %d 种。" / "最大 %d 个。" when the limit holds; true when it does.
    bool CheckPointLimit();
    bool CheckRegionLimit();
    void CompactRegions();
    // `switchBack`: the document first returns to the tool that was current
    // before the image-map command. Mode 0: nothing more; 1: as 2 when the
    // link palette is hidden; 2: the table is emptied; 3: the region being
    // drawn is dropped. The outlines are redrawn.
    void RedrawRegions(int mode, bool switchBack = false);
    // An image-map command begins: the document's current tool is kept for
    // the switch back; the region being drawn and the move's pick end.
    void BeginMapCommand();
    int MapPreviousTool() const { return m_nMapPrevTool; }
    // *.map files (629, 630): the dialogs, then the file; both switch back
    // to the previous tool however they end. Read and write return false
    // after "读取失败" / "写入失败" (the table / the file left as they were).
    void OnOpenMapFile();
    bool ReadMapFile(const QString& path);
    void OnSaveMapFile();
    bool WriteMapFile(const QString& path);

    // ---- Mouse and keys (pelmark_view_mouse.cpp) ----
    static constexpr int kAutoScrollTimer = 1;
    static constexpr int kTextToolTimer = 2;
    // The handlers of the tools; a tool without one does nothing. The pen
    // and the line tool are there from the start.
    tools::ToolTable& ToolHandlers() { return m_Tools; }
    tools::PenLineTools& PenLineHandlers() { return *m_pPenLine; }
    // WM_TOOL_IMAGECHANGED to the plug-in windows of the document.
    void SyncToolWindows();
    // Client point (less the centring offsets) to image pixels, snapped by
    // the rules of the current tool for mode 0 down, 1 move, 2 up.
    tools::ImagePoint ClientToImagePoint(QPoint client, int mode);
    void OnLButtonDown(QPoint client, Qt::KeyboardModifiers modifiers);
    void OnMouseMove(QPoint client, Qt::KeyboardModifiers modifiers);
    void DispatchToolMove(tools::ImagePoint p, bool shift);
    void OnLButtonUp(QPoint client, Qt::KeyboardModifiers modifiers);
    void OnRButtonDown(QPoint client);
    void OnRButtonUp(QPoint client);
    void OnLButtonDblClk(QPoint client);
    void OnKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void OnKeyUp(int key);
    void UpdateCursorFeedback(QPoint client);
    bool IsImagePointVisible(tools::ImagePoint p) const;
    // The floating selection's menu when the tool and the point call for it;
    // true when it was shown.
    bool ShowSelectionMenu(QPoint client, tools::ImagePoint p);
    // The menu of ShowSelectionMenu, built afresh each time.
    static QMenu* CreateSelectionMenu(QWidget* parent);
    // Drag scrolling for the tools.
    void AutoScrollCheck(tools::ImagePoint p);
    tools::ImagePoint AutoScroll(tools::ImagePoint p);
    QPoint OffsetImagePoint(QPoint p) const { return p + QPoint(m_nCentreX, m_nCentreY); }
    DibRect OffsetImageRect(DibRect r) const {
        return {r.left + m_nCentreX, r.top + m_nCentreY, r.right + m_nCentreX, r.bottom + m_nCentreY};
    }
    void SetDefaultCursor() { SetToolCursor(0); }
    void SetToolCursor(int index);
    int CursorIndex() const { return tools::ProgramDragState().cursorIndex; }
    bool HoldsCapture() const { return m_bCapture; }
    bool AutoScrolling() const { return m_bAutoScroll; }
    tools::ImagePoint AutoScrollPoint() const { return m_ptAutoScroll; }
    tools::ImagePoint AutoScrollStepNow() const { return m_AutoScrollStep; }
    bool TextToolPending() const { return m_bTextPending; }
    // Timer 1: the last point moves by the step and the move is dispatched.
    void OnAutoScrollTimer();
    // Timer 2 (one shot): the text tool's handler runs.
    void OnTextToolTimer();
    // The hook of the guide handles: true when they take the point (down,
    // move, up by mode).
    using GuideHook = bool (*)(CPelmarkView*, tools::ImagePoint, int mode);
    static GuideHook& GuideHandles();
    void RepaintImageRect(const DibRect& rect, bool updateNow) override;
    const QImage& BackBuffer() const { return m_BackBuffer; }

    // Printing: one image pixel is 1/90 inch; pages are tiles of the printed
    // image, across then down.
    void OnPreparePrinting();
    // Counts the pages; returns the count.
    int OnBeginPrinting(QPrinter& printer);
    void OnPrint(QPainter& painter, QPrinter& printer, int page);
    // Prints every page; false when nothing could be printed.
    bool PrintDocument(QPrinter& printer);
    int MaxPage() const { return m_nMaxPage; }
    int PreviewPages() const { return m_nPreviewPages; }
    void OnFilePrint();
    void OnFilePrintPreview();

signals:
    // The zoom or the scroll position changed (rulers, position palette).
    void viewportChanged(int zoom, int scrollX, int scrollY);
    // The zoom buttons are to show this command checked.
    void zoomButtonChecked(unsigned int id);

protected:
    void DeclareCommands(framework::CommandTable& table) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void OnTimer(int id) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void OnUpdateZoom(framework::CmdUI& ui);
    void OnUpdateAlphaView(framework::CmdUI& ui);
    void FitFrameIfPending();
    void LayoutScrollBars();
    void OnScrolled();
    void NotifyViewport();
    void DrawShape(view::OverlayShape shape, OverlayCanvas* canvas);
    void DrawSelectionOutline(OverlayCanvas& canvas);
    view::ScreenPoint ToLogical(int x, int y) const;
    DibRect ToLogical(const DibRect& r) const;
    bool CommandLocked() const;
    // The document's image palette, or the alpha palette in the alpha view.
    const LogicalPalette* ShownPalette() const;

    // Centring offsets (client pixels) of a maximised frame.
    int m_nCentreX = 0;
    int m_nCentreY = 0;
    int m_nZoom = 1;
    int m_bAlphaView = 0;
    int m_nGridDisplay = 0;
    int m_nSnapFlags = 0;
    GuideSettings m_Guide;
    int m_nGuideDrag = -1;
    int m_nToneLevel = 15;
    int m_nTonePattern = 0;
    int m_nDrawColor = 0;
    int m_nDrawColor2 = 0;
    QImage m_BackBuffer;
    int m_nMainCellWidth = 8;
    int m_nMainCellHeight = 8;
    int m_nSubCellWidth = 8;
    int m_nSubCellHeight = 8;
    std::array<int, 3> m_MainColor{128, 128, 128};
    std::array<int, 3> m_SubColor{128, 128, 128};

    view::OverlayList m_Overlays;
    QScrollBar* m_pHBar = nullptr;
    QScrollBar* m_pVBar = nullptr;
    int m_nMaxPage = 1;
    int m_nPreviewPages = 1;
    std::array<uint32_t, 256> m_Colors{};

    void DeclareEditCommands(framework::CommandTable& table);
    void DeclareColorCommands(framework::CommandTable& table);
    void OnUpdateEditMode(framework::CmdUI& ui);
    void OnUpdateAlpha(framework::CmdUI& ui);
    void DeclareSizeCommands(framework::CommandTable& table);
    void OnUpdateImageSize(framework::CmdUI& ui);
    // After the image was replaced by one of another size.
    void RefreshAfterResize();
    void OnUpdateLockOnly(framework::CmdUI& ui);
    void OnUpdateFloating(framework::CmdUI& ui);
    void OnUpdateCopyCut(framework::CmdUI& ui);
    void OnUpdatePaste(framework::CmdUI& ui);
    void OnUpdateClearMemory(framework::CmdUI& ui);
    void OnUpdatePasteMode(framework::CmdUI& ui);
    void OnUpdateConversionMode(framework::CmdUI& ui);
    void OnUpdateGrid(framework::CmdUI& ui);
    void OnUpdateSnap(framework::CmdUI& ui);
    void OnUpdateGuide(framework::CmdUI& ui);

    // Mouse and drawing.
    void DeclareDrawCommands(framework::CommandTable& table);
    bool GuideEditing() const;
    bool RunDownProbe(int tool);
    void DispatchDown(int tool, tools::ImagePoint p, Qt::KeyboardModifiers modifiers);
    void EndAutoScroll();
    void ReleaseCapture();
    tools::PixelAccess m_PixelAccess;
    tools::ToolTable m_Tools;
    bool m_bCapture = false;
    bool m_bAutoScroll = false;
    tools::ImagePoint m_ptAutoScroll;
    tools::ImagePoint m_AutoScrollStep;
    // AutoScrollCheck's anchor and scroll position.
    tools::ImagePoint m_ptScrollAnchor;
    QPoint m_ptScrollStart;
    bool m_bTextPending = false;
    std::unique_ptr<view::ViewToolCanvas> m_pToolCanvas;
    std::unique_ptr<tools::PenLineTools> m_pPenLine;
    std::unique_ptr<tools::ShapeTools> m_pShapes;
    std::unique_ptr<view::FillPickHandTools> m_pFillPickHand;
    // The selection tools' steps (pelmark_view_select.cpp,
    // pelmark_view_transform.cpp).
    void StartNewSelection(tools::ImagePoint p, bool clearMasks);
    // A drag inside the floating selection starts its move as one step
    // `stepText`; the outline is the selection mode's, or a plain frame.
    void BeginSelectionMove(const char* stepText, bool plainFrame);
    void LiftNewSelection();
    void MoveFloatingTo(tools::ImagePoint p);
    void FinishSelectionMove(tools::ImagePoint p);
    void RotateStep(tools::ImagePoint p);
    // The turned selection drawn again after the layer showed it at `shownAngle`.
    void RedrawTurnedSelection(int shownAngle);
    // The edit mode back to the selection tool: once keeps the selection
    // floating, twice commits it.
    void BackToSelectTool(int times);
    // Ends a left drag that the tool refused at its button-down.
    void EndRefusedDrag();
    // The selection tools' handlers and the outline they show while a drag runs.
    std::unique_ptr<view::SelectionTools> m_pSelectTools;
    friend class view::SelectionTools;
    std::unique_ptr<view::WandTool> m_pWand;
    // The image map.
    void DrawRegions(OverlayCanvas& canvas);
    void DrawRegion(const imagemap::ImageMapRegion& viewRegion, bool handles, OverlayCanvas& canvas);
    tools::ImagePoint ClampToMapImage(tools::ImagePoint p) const;
    bool MapBusy() const;
    void RepaintRegions();
    imagemap::RegionTable m_Regions;
    int m_nMapPrevTool = 553;
    imagemap::Pick m_MapPick;
    tools::ImagePoint m_ptMapLast;
    std::unique_ptr<view::ImageMapTools> m_pMapTools;
};
