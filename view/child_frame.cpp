#include "view/child_frame.h"

#include <algorithm>
#include <new>

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QMdiArea>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include "document/document_host.h"
#include "document/pelmark_doc.h"
#include "framework/resource_pictures.h"
#include "plugin_host/plugin_windows.h"
#include "plugin_host/tool_commands.h"
#include "plugin_host/tool_runs.h"
#include "view/pelmark_view.h"
#include "view/ruler_ctrl.h"
#include "view/view_globals.h"
#include "view/view_host.h"

namespace {

bool RulersSetting() {
    view::ViewHost* host = view::ViewHost::Installed();
    return host && host->RulersWanted();
}

QFont InterfaceFont() {
    view::ViewHost* host = view::ViewHost::Installed();
    return host ? host->InterfaceFont() : QFont();
}

// 8-point "ＭＳ Ｐゴシック" where it is installed, else the interface font.
QFont MakeRulerFont() {
    const QString preferred = QStringLiteral("ＭＳ Ｐゴシック");
    QFont font = QFontDatabase::families().contains(preferred) ? QFont(preferred) : InterfaceFont();
    font.setPointSize(8);
    return font;
}

}  // namespace

CChildFrame::CChildFrame() {
    setWindowIcon(pictures::ProgramIcon());
    m_pClient = new QWidget(this);
    m_pLayout = new QGridLayout(m_pClient);
    m_pLayout->setContentsMargins(0, 0, 0, 0);
    m_pLayout->setSpacing(0);
}

CChildFrame::~CChildFrame() { leaveDocument(); }

CPelmarkView* CChildFrame::canvas() const { return dynamic_cast<CPelmarkView*>(GetActiveView()); }

CPelmarkDoc* CChildFrame::FrameDocument() const {
    framework::View* view = GetActiveView();
    return view && m_pDocument && view->GetDocument() == m_pDocument ? m_pDocument : nullptr;
}

bool CChildFrame::OnCreate(const framework::CreateContext& context) {
    view::PendingFitFlag() = 2;
    m_pDocument = dynamic_cast<CPelmarkDoc*>(context.document);
    if (m_pDocument) {
        ++m_pDocument->m_nChildFrames;
        m_bCounted = true;
    }
    m_bRulers = RulersSetting() ? 1 : 0;
    if (!CreateRulers()) document::Host().ReportOutOfMemory();
    return framework::ChildFrame::OnCreate(context);
}

bool CChildFrame::OnCreateClient(framework::View* view, const framework::CreateContext&) {
    m_pLayout->addWidget(view, 1, 1);
    setWidget(m_pClient);
    if (auto* canvasView = dynamic_cast<CPelmarkView*>(view))
        connect(canvasView, &CPelmarkView::viewportChanged, this, &CChildFrame::UpdateRulers);
    m_bClientMade = true;
    return true;
}

void CChildFrame::OnDestroyFrame() { leaveDocument(); }

void CChildFrame::leaveDocument() {
    if (!m_bCounted) return;
    m_bCounted = false;
    // A frame whose making stopped before its view joined the document
    // still counted on it; otherwise only a document the view still shows
    // is there to be told.
    if (FrameDocument() || !m_bClientMade) --m_pDocument->m_nChildFrames;
}

// ---- Rulers -------------------------------------------------------------------

void CChildFrame::placeRuler(CRulerCtrl* ruler) {
    const bool horizontal = ruler->Orientation() == view::RulerOrientation::Horizontal;
    ruler->setFont(CRulerCtrl::NumberFont(InterfaceFont()));
    const int strip = CRulerCtrl::StripSize(ruler->Orientation(), ruler->font());
    if (horizontal) {
        ruler->setFixedHeight(strip);
        m_pLayout->addWidget(ruler, 0, 1);
    } else {
        ruler->setFixedWidth(strip);
        m_pLayout->addWidget(ruler, 1, 0);
    }
    ruler->SetState(1, 0);
    // The ruler counts from the image's origin in its own view.
    QPointer<CChildFrame> self(this);
    ruler->SetCentreSource([self, horizontal] {
        CPelmarkView* view = self ? self->canvas() : nullptr;
        if (!view) return 0;
        return horizontal ? view->CentreOffsets().x : view->CentreOffsets().y;
    });
    ruler->show();
}

bool CChildFrame::CreateRulers() {
    if (!RulersSetting()) return true;
    try {
        m_RulerFont = MakeRulerFont();
        if (!m_pHorzRuler) {
            m_pHorzRuler = new CRulerCtrl(view::RulerOrientation::Horizontal, m_pClient);
            placeRuler(m_pHorzRuler);
        }
        if (!m_pVertRuler) {
            m_pVertRuler = new CRulerCtrl(view::RulerOrientation::Vertical, m_pClient);
            placeRuler(m_pVertRuler);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Rulers made for a view already shown start where the view is.
    if (CPelmarkView* view = canvas()) {
        const QPoint scroll = view->ScrollPosition();
        UpdateRulers(view->Zoom(), scroll.x(), scroll.y());
    }
    m_pLayout->activate();
    return true;
}

void CChildFrame::DestroyRulers() {
    if (RulersSetting()) return;
    delete m_pHorzRuler.data();
    delete m_pVertRuler.data();
    m_pLayout->activate();
}

void CChildFrame::UpdateRulers(int zoom, int scrollX, int scrollY) {
    if (m_pHorzRuler && m_pHorzRuler->Follow(zoom, scrollX)) m_pHorzRuler->repaint();
    if (m_pVertRuler && m_pVertRuler->Follow(zoom, scrollY)) m_pVertRuler->repaint();
}

CRulerCtrl* CChildFrame::Ruler(int barId) const {
    if (barId == kHorzRulerBarId) return m_pHorzRuler.data();
    if (barId == kVertRulerBarId) return m_pVertRuler.data();
    return nullptr;
}

QSize CChildFrame::RulerStrips() const {
    return {m_pVertRuler ? m_pVertRuler->minimumWidth() : 0, m_pHorzRuler ? m_pHorzRuler->minimumHeight() : 0};
}

// ---- Size and title -------------------------------------------------------------

void CChildFrame::centreImage() {
    if (!IsDestroyed() && canvas()) ExecuteCommand(CPelmarkView::kCenterImageId);
    // The centring moves the rulers' origin.
    for (CRulerCtrl* ruler : {m_pHorzRuler.data(), m_pVertRuler.data()})
        if (ruler) ruler->update();
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    centreImage();
    framework::ChildFrame::resizeEvent(event);
}

void CChildFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) centreImage();
    framework::ChildFrame::changeEvent(event);
}

int CChildFrame::TitleBarWidth() const {
    // The title bar's label gets what the buttons and borders leave; the
    // title is shortened when its text is wider than the label.
    QStyleOptionTitleBar option;
    option.initFrom(this);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = windowFlags();
    option.titleBarState = int(windowState());
    option.icon = windowIcon();
    option.text = windowTitle();
    const QFont font = QApplication::font("QMdiSubWindowTitleBar");
    option.fontMetrics = QFontMetrics(font);
    constexpr int kProbeWidth = 2000;
    const int height = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this);
    option.rect = QRect(0, 0, kProbeWidth, height);
    const int label =
        style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, this).width();
    // Styles may draw the title in bold, a few pixels inside the label.
    QFont bold = font;
    bold.setBold(true);
    const int text = std::max(option.fontMetrics.horizontalAdvance(windowTitle()),
                              QFontMetrics(bold).horizontalAdvance(windowTitle()));
    constexpr int kTextMargin = 16;
    return kProbeWidth - label + text + kTextMargin;
}

void CChildFrame::OnUpdateFrameTitle() {
    framework::ChildFrame::OnUpdateFrameTitle();
    if (IsDestroyed() || isMaximized() || isMinimized()) return;
    int need = TitleBarWidth();
    if (QMdiArea* area = mdiArea()) need = std::min(need, area->viewport()->width() - x());
    if (width() < need) resize(need, height());
}

// ---- Closing --------------------------------------------------------------------

void CChildFrame::OnClose() {
    bool closed = false;
    if (CPelmarkDoc* doc = FrameDocument()) {
        PluginWindowSlot& tool = doc->m_ToolPlugin;
        if (tool.record || tool.window) {
            // Another frame keeps the document, and the plug-in, open.
            if (doc->m_nChildFrames > 1) return framework::ChildFrame::OnClose();
            closed |= plugin_host::ClosePluginSlot(tool);
            tool = PluginWindowSlot{};
        }
        PluginWindowSlot& hex = doc->m_HexPlugin;
        if (plugin_host::HexToolRunning() && hex.record && plugin_host::SlotWindow(hex))
            closed |= plugin_host::ClosePluginSlot(hex);
    }
    closed |= plugin_host::CloseAnimationWindows();
    if (!closed) framework::ChildFrame::OnClose();
}
