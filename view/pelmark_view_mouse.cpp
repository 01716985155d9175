// The canvas view between the mouse and keys and the current tool: point
// conversion, the capture of a drag, autoscroll, the Shift constraints, the
// Space hand, the selection menu, the keys and the cursors.
#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "document/pelmark_doc.h"
#include "document/selection_mask_doc.h"
#include "tools/tool_options.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "plugin_api/plugin_messages.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"
#include "tools/dispatch_rules.h"
#include "tools/selection_geometry.h"
#include "view/pelmark_view.h"
#include "view/pointer_position.h"
#include "view/view_cursors.h"
#include "view/view_geometry.h"
#include "view/view_globals.h"
#include "view/view_host.h"

using tools::ImagePoint;
using tools::ProgramDragState;

namespace {

bool InImage(const CPelmarkDoc& doc, ImagePoint p) {
    return p.x >= 0 && p.y >= 0 && p.x < doc.m_nWidth && p.y < doc.m_nHeight;
}

bool InRect(const DibRect& r, ImagePoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool FloatingHolds(const CPelmarkDoc& doc, ImagePoint p) {
    return doc.m_hFloatImage && InRect(doc.m_rcSelection, p);
}

void SendToolRectToMainFrame(WinHandle main, int type, int a, int b, int c, int d) {
    if (!main) return;
    int values[4] = {a, b, c, d};
    WinSendMessage(main, WM_TOOLRECT_STATUS, WinWParam(type), reinterpret_cast<WinLParam>(values));
}

void TellPluginWindow(const PluginWindowSlot& slot, uint32_t message) {
    if (slot.window) WinSendMessage(slot.window, message, 0, 0);
}

// The tools that write into the image at their button-down; each runs the
// work-memory probe first.
bool ProbesAtDown(int tool) {
    switch (tool) {
    case tools::kSelectTool:
    case tools::kWandTool:
    case tools::kPenTool:
    case tools::kLineTool:
    case tools::kFillTool:
    case tools::kRectOutlineTool:
    case tools::kEllipseOutlineTool:
    case tools::kFilledRectTool:
    case tools::kFilledEllipseTool:
    case tools::kScaleTool:
    case tools::kRotateTool:
    case tools::kCircleTool:
    case tools::kFilledCircleTool: return true;
    default: return false;
    }
}

tools::KeyKind KindOf(int key) {
    switch (key) {
    case Qt::Key_Shift: return tools::KeyKind::kShift;
    case Qt::Key_Control: return tools::KeyKind::kControl;
    case Qt::Key_Space: return tools::KeyKind::kSpace;
    case Qt::Key_PageUp: return tools::KeyKind::kPageUp;
    case Qt::Key_PageDown: return tools::KeyKind::kPageDown;
    default: return tools::KeyKind::kOther;
    }
}

bool ShiftHeld() { return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier; }

bool TrackGuideHandles(CPelmarkView* view, ImagePoint p, int mode) { return view->TrackGuideHandle(p, mode); }

}  // namespace

CPelmarkView::GuideHook& CPelmarkView::GuideHandles() {
    static GuideHook hook = &TrackGuideHandles;
    return hook;
}

// ---- Points -----------------------------------------------------------------------

ImagePoint CPelmarkView::ClientToImagePoint(QPoint client, int mode) {
    CPelmarkDoc* doc = GetDocument();
    const int tool = doc ? doc->m_nToolId : 0;
    const bool snap = !tools::SkipsSnap(tool, mode, ToolOptionOf(kOutlineSizeMode) == 1,
                                        ToolOptionOf(kFilledSizeMode) == 1);
    QPoint s = ScrollPosition();
    ImagePoint p = tools::ClientToImage(client.x(), client.y(), s.x(), s.y(), m_nZoom, Snap(), snap);
    if (doc && InImage(*doc, p) && PointerPositionShown())
        if (view::ViewHost* host = view::ViewHost::Installed())
            SendToolRectToMainFrame(host->FrameWindow(), TOOLRECT_POSITION, p.x, p.y, 0, 0);
    return p;
}

bool CPelmarkView::IsImagePointVisible(ImagePoint p) const {
    QRect c = ClientRect();
    QPoint s = ScrollPosition();
    return tools::InArea(tools::VisibleImageArea(s.x(), s.y(), c.width(), c.height(), m_nZoom), p);
}

// ---- Left button --------------------------------------------------------------------

bool CPelmarkView::RunDownProbe(int tool) {
    if (!ProbesAtDown(tool)) return true;
    view::ViewHost* host = view::ViewHost::Installed();
    return !host || host->ProbeWorkMemory(0) != 0;
}

void CPelmarkView::DispatchDown(int tool, ImagePoint p, Qt::KeyboardModifiers) {
    tools::DragState& d = ProgramDragState();
    if (!RunDownProbe(tool)) {
        m_Tools.Get(tool).OnDownRefused();
        // No drag without its button-down.
        d.bits &= ~tools::kLeftToolDrag;
        if (d.bits == 0) {
            d.capture = 0;
            ReleaseCapture();
        }
        return;
    }
    m_Tools.Get(tool).OnDown(p);
}

void CPelmarkView::OnLButtonDown(QPoint client, Qt::KeyboardModifiers modifiers) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hImage) return;
    const QPoint c = client - QPoint(m_nCentreX, m_nCentreY);
    const int tool = doc->m_nToolId;
    ImagePoint p = ClientToImagePoint(c, tools::kPointDown);
    QPoint s = ScrollPosition();
    ImagePoint raw = tools::ClientToImage(c.x(), c.y(), s.x(), s.y(), m_nZoom, Snap(), false);
    if (!InImage(*doc, raw)) return;
    tools::DragState& d = ProgramDragState();
    const bool shift = modifiers & Qt::ShiftModifier;

    if (!d.spaceKey) {
        if (tool == tools::kSelectTool || tool == tools::kWandTool) {
            // With Shift (and the first outline) the tool's down adds to
            // the floating selection wherever the press lies.
            if (!shift || doc->m_ViewState.secondOutline) {
                d.savedSelection = doc->m_rcSelection;
                if (doc->m_hFloatImage && !InRect(doc->m_rcSelection, raw)) {
                    doc->SetEditMode(tool);
                    return;
                }
            }
        } else if (tool == tools::kScaleTool || tool == tools::kRotateTool) {
            d.savedSelection = doc->m_rcSelection;
            if (doc->m_hFloatImage && !InRect(doc->m_rcSelection, raw) &&
                !(d.cursorIndex >= 1 && d.cursorIndex <= 4)) {
                doc->SetEditMode(tools::kSelectTool);
                doc->SetEditMode(tools::kSelectTool);
                return;
            }
        }
    }

    m_bCapture = true;
    m_ptAutoScroll = p;
    d.toolClick = p;
    d.rawDown = raw;
    d.shiftHeld = shift;
    TellPluginWindow(doc->m_ToolPlugin, WM_TOOL_CANVASCLICK);
    TellPluginWindow(doc->m_AnimPlugin, WM_TOOL_CANVASCLICK);

    const bool runs = d.BeginLeft(tool, shift);
    if (runs && shift && tools::ShiftDownRule(tool) == tools::ShiftDown::kAsDown) {
        DispatchDown(tool, p, modifiers);
    } else if (runs) {
        if (!GuideHandles()(this, p, tools::kPointDown) && !GuideEditing()) {
            d.spaceHand = 0;
            if (tool != tools::kTextTool && d.spaceKey) {
                d.spaceHand = 1;
                setCursor(view::ViewCursor(tools::kHandCursor));
                DispatchDown(tools::kHandTool, p, modifiers);
            } else if (tool == tools::kZoomTool) {
                if (uint32_t id = view::ZoomInCommand(m_nZoom)) ZoomAtPoint(id, p.x, p.y);
            } else if (tool == tools::kTextTool) {
                if (plugin_host::SlotWindow(doc->m_ToolPlugin)) {
                    SyncToolWindows();
                } else if (!m_bTextPending && !plugin_host::TextToolRunning()) {
                    if (view::ViewHost* host = view::ViewHost::Installed()) {
                        host->RefreshToolPalette();
                        host->LayersChanged(doc);
                    }
                    m_bTextPending = true;
                    SetTimer(kTextToolTimer, 1);
                }
            } else {
                DispatchDown(tool, p, modifiers);
            }
        }
    }
    d.lastDown = p;
}

void CPelmarkView::OnLButtonUp(QPoint client, Qt::KeyboardModifiers modifiers) {
    CPelmarkDoc* doc = GetDocument();
    ImagePoint p = ClientToImagePoint(client - QPoint(m_nCentreX, m_nCentreY), tools::kPointUp);
    if (!m_bCapture) return;
    EndAutoScroll();
    m_ptAutoScroll = {};
    m_AutoScrollStep = {};
    tools::DragState& d = ProgramDragState();
    d.shiftHeld = (modifiers & Qt::ShiftModifier) ? 1 : 0;
    if (d.bits & tools::kLeftToolDrag) {
        const int tool = doc ? doc->m_nToolId : 0;
        if (GuideHandles()(this, p, tools::kPointUp) || GuideEditing()) {
        } else if (d.spaceHand) {
            m_Tools.Get(tools::kHandTool).OnUp(p);
            d.spaceHand = 0;
        } else {
            if (d.shiftHeld) p = tools::ConstrainShift(tool, d.lastDown, p);
            if (!tools::DownOnly(tool)) m_Tools.Get(tool).OnUp(p);
        }
    }
    d.EndLeft();
    if (!d.capture) ReleaseCapture();
}

void CPelmarkView::ReleaseCapture() { m_bCapture = false; }

// ---- Moves and autoscroll ---------------------------------------------------------

void CPelmarkView::OnMouseMove(QPoint client, Qt::KeyboardModifiers modifiers) {
    UpdateCursorFeedback(client);
    ImagePoint p = ClientToImagePoint(client - QPoint(m_nCentreX, m_nCentreY), tools::kPointMove);
    CPelmarkDoc* doc = GetDocument();
    if (!m_bCapture) {
        if (doc && doc->m_nToolId == tools::kLineTool && ToolOptionOf(kLineType))
            m_Tools.Get(tools::kLineTool).OnHover(p);
        return;
    }
    QRect c = ClientRect();
    QPoint s = ScrollPosition();
    DibRect visible = tools::VisibleImageArea(s.x(), s.y(), c.width(), c.height(), m_nZoom);
    if (tools::InArea(visible, p)) {
        DispatchToolMove(p, modifiers & Qt::ShiftModifier);
        m_ptAutoScroll = p;
        m_AutoScrollStep = {};
        EndAutoScroll();
        return;
    }
    m_AutoScrollStep = tools::AutoScrollStep(p, visible, m_nZoom);
    if (!m_bAutoScroll) {
        m_bAutoScroll = true;
        SetTimer(kAutoScrollTimer, 1);
    } else {
        m_ptAutoScroll = p;
    }
}

void CPelmarkView::DispatchToolMove(ImagePoint p, bool shift) {
    CPelmarkDoc* doc = GetDocument();
    const int tool = doc ? doc->m_nToolId : 0;
    tools::DragState& d = ProgramDragState();
    d.shiftHeld = shift ? 1 : 0;
    if (d.bits & tools::kLeftToolDrag) {
        if (GuideHandles()(this, p, tools::kPointMove) || GuideEditing()) return;
        if (d.spaceHand) {
            m_Tools.Get(tools::kHandTool).OnMove(p);
            return;
        }
        if (shift) p = tools::ConstrainShift(tool, d.lastDown, p);
        if (!tools::DownOnly(tool)) m_Tools.Get(tool).OnMove(p);
    } else if (tool == tools::kMapMoveTool) {
        m_Tools.Get(tool).OnHover(p);
    }
}

void CPelmarkView::EndAutoScroll() {
    if (m_bAutoScroll) KillTimer(kAutoScrollTimer);
    m_bAutoScroll = false;
}

void CPelmarkView::OnAutoScrollTimer() {
    CPelmarkDoc* doc = GetDocument();
    if (!m_bAutoScroll || !m_bCapture || !doc) {
        EndAutoScroll();
        return;
    }
    // The point stays within the image, however long the drag waits outside.
    m_ptAutoScroll.x = std::clamp(m_ptAutoScroll.x + m_AutoScrollStep.x, 0, std::max(doc->m_nWidth - 1, 0));
    m_ptAutoScroll.y = std::clamp(m_ptAutoScroll.y + m_AutoScrollStep.y, 0, std::max(doc->m_nHeight - 1, 0));
    DispatchToolMove(m_ptAutoScroll, ShiftHeld());
}

void CPelmarkView::AutoScrollCheck(ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    m_ptScrollAnchor = {std::clamp(p.x * m_nZoom, 0, std::max(doc->m_nWidth * m_nZoom - 1, 0)),
                        std::clamp(p.y * m_nZoom, 0, std::max(doc->m_nHeight * m_nZoom - 1, 0))};
    m_ptScrollStart = ScrollPosition();
}

ImagePoint CPelmarkView::AutoScroll(ImagePoint p) {
    QRect c = ClientRect();
    QPoint s = ScrollPosition();
    auto target = [this](int v, int scroll, int size) {
        int left = v * m_nZoom, right = left + m_nZoom;
        if (left < scroll) return left;
        if (right > scroll + size) return right - size;
        return scroll;
    };
    ScrollTo(target(p.x, s.x(), c.width()), target(p.y, s.y(), c.height()));
    QPoint moved = ScrollPosition() - s;
    if (moved.isNull()) return p;
    if (view::ViewHost* host = view::ViewHost::Installed()) host->FollowPosition(GetDocument());
    NotifyViewport();
    // The mouse stays where it is: the point under it moved by the scrolled
    // distance in whole image pixels.
    return {p.x + moved.x() / m_nZoom, p.y + moved.y() / m_nZoom};
}

// ---- Right button and double-click ------------------------------------------------

QMenu* CPelmarkView::CreateSelectionMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    struct Item {
        const char* text;
        uint32_t id;
    };
    const Item items[] = {{"剪切(&T)", 57635}, {"复制(&C)", 57634}, {"粘贴(&P)", 57637}, {"清除", 32853},
                          {nullptr, 0},        {"取消选择(&F)", 34015}, {"反向选择", 32888}};
    for (const Item& item : items) {
        if (!item.text) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setData(item.id);
        QObject::connect(action, &QAction::triggered, menu, [id = item.id] {
            if (view::ViewHost* host = view::ViewHost::Installed()) host->SendFrameCommand(id);
        });
    }
    return menu;
}

bool CPelmarkView::ShowSelectionMenu(QPoint client, ImagePoint p) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || (doc->m_nToolId != tools::kSelectTool && doc->m_nToolId != tools::kWandTool)) return false;
    if (!FloatingHolds(*doc, p)) return false;
    view::ViewHost* host = view::ViewHost::Installed();
    QWidget* owner = host ? host->MenuOwner() : this;
    QMenu* menu = CreateSelectionMenu(owner);
    menu->popup(mapToGlobal(client + QPoint(2, 2)));
    return true;
}

void CPelmarkView::OnRButtonDown(QPoint client) {
    tools::DragState& d = ProgramDragState();
    d.rightDown = 0;
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    ImagePoint p = ClientToImagePoint(client - QPoint(m_nCentreX, m_nCentreY), tools::kPointDown);
    if (ShowSelectionMenu(client, p)) return;
    d.BeginRight();
    m_bCapture = true;
    const int tool = doc->m_nToolId;
    switch (tools::RightButtonAction(tool)) {
    case tools::RightAction::kZoomOut:
        if (uint32_t id = view::ZoomOutCommand(m_nZoom)) ZoomAtPoint(id, p.x, p.y);
        break;
    case tools::RightAction::kCloseRegion:
    case tools::RightAction::kMoveRegion: m_Tools.Get(tool).OnRightDown(p); break;
    case tools::RightAction::kNothing: break;
    case tools::RightAction::kSelectionMenuOrPick:
    case tools::RightAction::kPick: m_Tools.ColorPick().OnDown(p); break;
    }
}

void CPelmarkView::OnRButtonUp(QPoint client) {
    tools::DragState& d = ProgramDragState();
    if (!d.rightDown) return;
    ClientToImagePoint(client - QPoint(m_nCentreX, m_nCentreY), tools::kPointUp);
    if (!m_bCapture) return;
    d.EndRight();
    if (!d.capture) ReleaseCapture();
}

void CPelmarkView::OnLButtonDblClk(QPoint client) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_bBusy) return;
    ImagePoint p = ClientToImagePoint(client - QPoint(m_nCentreX, m_nCentreY), tools::kPointDown);
    if (!InImage(*doc, p)) return;
    const int tool = doc->m_nToolId;
    if (tool == tools::kSelectTool) {
        int mode = view::SelectionModeIndex();
        if (mode != view::kSelectFreehand && mode != view::kSelectPolygon) return;
        if (document::GetLassoPoints(*doc).size() < 3) {
            document::ResetLasso(*doc);
            ShowMessageBox(nullptr, "没有像素被选择。", "Kavolt", MB_BTN_OK | MB_ICON_INFORMATION);
            return;
        }
        m_Tools.Get(tool).OnDoubleClick(p);
    } else if (tool == tools::kMapMoveTool) {
        m_Tools.Get(tool).OnDoubleClick(p);
    }
}

// ---- Keys ---------------------------------------------------------------------------

void CPelmarkView::OnKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    tools::DragState& d = ProgramDragState();
    const int tool = doc->m_nToolId;
    tools::KeyDownPlan plan =
        tools::PlanKeyDown(tool, KindOf(key), modifiers & Qt::ShiftModifier, modifiers & Qt::ControlModifier,
                           doc->m_bLayerStep != 0, d.bits & tools::kSelectionMoveDrag);
    if (plan.toTool) m_Tools.Get(tool).OnKey(key);
    if (plan.layerStepOn) {
        doc->m_bLayerStep = 1;
        RecomposeLayers();
    }
    if (plan.spaceKey) {
        d.spaceKey = 1;
        setCursor(view::ViewCursor(tools::kHandCursor));
    }
    if (plan.layerMove != 0) {
        int moved = plan.layerMove > 0 ? doc->SelectUpperLayer() : doc->SelectLowerLayer();
        if (moved) {
            doc->RefreshSavedLayerCopy();
            RecomposeLayers();
        }
    }
    // The accelerators are not in force while a plug-in runs its own loop.
    if (view::ViewHost* host = view::ViewHost::Installed()) host->PassShortcutKey(key, modifiers);
}

void CPelmarkView::OnKeyUp(int key) {
    CPelmarkDoc* doc = GetDocument();
    tools::DragState& d = ProgramDragState();
    tools::KeyUpPlan plan = tools::PlanKeyUp(KindOf(key), d.spaceKey, doc && doc->m_bLayerStep);
    if (plan.restoreCursor) {
        d.spaceKey = 0;
        SetToolCursor(d.cursorIndex);
    }
    if (plan.layerStepOff && doc) {
        doc->m_bLayerStep = 0;
        RecomposeLayers();
    }
}

// ---- Cursors ------------------------------------------------------------------------

void CPelmarkView::SetToolCursor(int index) {
    if (index < 0 || index >= tools::kCursorCount) index = 0;
    ProgramDragState().cursorIndex = index;
    setCursor(view::ViewCursor(index));
}

void CPelmarkView::UpdateCursorFeedback(QPoint client) {
    tools::DragState& d = ProgramDragState();
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    tools::CursorQuery q;
    q.tool = doc->m_nToolId;
    q.capture = d.capture != 0;
    QPoint s = ScrollPosition();
    QPoint c = client - QPoint(m_nCentreX, m_nCentreY);
    ImagePoint p = tools::ClientToImage(c.x(), c.y(), s.x(), s.y(), m_nZoom, Snap(), false);
    q.overImage = InImage(*doc, p);
    q.insideFloating = FloatingHolds(*doc, p);
    q.selectionMode = view::SelectionModeIndex();
    q.guideEditing = GuideEditing();
    if (q.tool == tools::kScaleTool) q.scaleHandle = tools::ScaleHandleCursor(HitTestScaleHandle(p.x, p.y));
    if (q.tool == tools::kRotateTool) {
        const DibRect& r = doc->m_rcSelection;
        double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
        double deg = std::atan2(cy - p.y, p.x - cx) * 180.0 / 3.14159265358979323846;
        q.rotateAngle = int(deg < 0 ? deg + 360 : deg);
    }
    int index = tools::CursorIndexFor(q, d.cursorIndex);
    d.cursorIndex = index;
    if (q.capture) return;
    if (!d.spaceKey && q.guideEditing && HitTestGuideHandle(p) >= 0) return setCursor(Qt::SizeAllCursor);
    setCursor(d.spaceKey ? view::ViewCursor(tools::kHandCursor) : view::ViewCursor(index));
}

// ---- Timers -------------------------------------------------------------------------

void CPelmarkView::OnTextToolTimer() {
    KillTimer(kTextToolTimer);
    m_bTextPending = false;
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    // The text tool's handler runs the text plug-in.
    m_Tools.Get(tools::kTextTool).OnDown(ProgramDragState().toolClick);
}

// ---- Qt events ----------------------------------------------------------------------

void CPelmarkView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint(), event->modifiers());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(event->position().toPoint());
    event->accept();
}

void CPelmarkView::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event->position().toPoint(), event->modifiers());
    event->accept();
}

void CPelmarkView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(event->position().toPoint(), event->modifiers());
    else if (event->button() == Qt::RightButton)
        OnRButtonUp(event->position().toPoint());
    event->accept();
}

void CPelmarkView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) OnLButtonDblClk(event->position().toPoint());
    event->accept();
}

void CPelmarkView::keyPressEvent(QKeyEvent* event) {
    OnKeyDown(event->key(), event->modifiers());
    framework::View::keyPressEvent(event);
}

void CPelmarkView::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) OnKeyUp(event->key());
    framework::View::keyReleaseEvent(event);
}
