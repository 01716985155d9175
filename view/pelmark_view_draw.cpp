// The canvas view's drawing operations: pixel access with the view's tone
// and repaints, pen stamps and lines by the current tool, runs, repaints of
// image rectangles, recomposition and the tone commands.
#include "document/display_toggles.h"
#include "document/pelmark_doc.h"
#include "tools/tool_options.h"
#include "framework/cmd_ui.h"
#include "plugin_host/tool_runs.h"
#include "tools/border_trace.h"
#include "tools/draw_ops.h"
#include "imaging/layer_stack.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

int CPelmarkView::ToolOptionOf(int index) {
    view::ViewHost* host = view::ViewHost::Installed();
    return host ? host->ToolOption(index) : 0;
}

bool CPelmarkView::GuideEditing() const { return GetViewDisplayToggles().guideEdit; }

tools::GridSnap CPelmarkView::Snap() const {
    return {m_nSnapFlags, m_nMainCellWidth, m_nMainCellHeight, m_nSubCellWidth, m_nSubCellHeight};
}

bool CPelmarkView::BeginPixelAccess() {
    return m_PixelAccess.Begin(GetDocument(), m_nTonePattern, this, GuideEditing());
}

void CPelmarkView::EndPixelAccess() { m_PixelAccess.End(); }

int& CPelmarkView::PenSpacing() {
    static int spacing = 0;
    return spacing;
}

tools::PenStamp CPelmarkView::CurrentStamp() const {
    tools::StampContext c;
    if (const CPelmarkDoc* doc = GetDocument()) {
        c.toolId = doc->m_nToolId;
        c.docPenId = doc->m_nPenId;
    }
    c.lineWidth = ToolOptionOf(kLineDiameter);
    c.outlineWidth = ToolOptionOf(kOutlineDiameter);
    c.borderLine = tools::BorderDialog().running;
    c.borderWidth = tools::BorderDialog().width;
    return tools::ChooseStamp(c);
}

void CPelmarkView::StampPen(int x, int y, bool repaint) {
    if (!m_PixelAccess.active()) return;
    tools::StampPen(m_PixelAccess.target(), CurrentStamp(), x, y, repaint);
}

void CPelmarkView::PlotPen(int x, int y, bool repaint) {
    if (!BeginPixelAccess()) return;
    StampPen(x, y, repaint);
    EndPixelAccess();
}

void CPelmarkView::StampPenLine(int x0, int y0, int x1, int y1, bool repaint, int spacingMode) {
    StampPenLinePattern(x0, y0, x1, y1, repaint, spacingMode == 1 ? PenSpacing() : 0);
}

void CPelmarkView::StampPenLinePattern(int x0, int y0, int x1, int y1, bool repaint, int spacing) {
    if (!m_PixelAccess.active()) return;
    tools::StampPenLine(m_PixelAccess.target(), CurrentStamp(), x0, y0, x1, y1, repaint, spacing);
}

void CPelmarkView::DrawPenLine(int x0, int y0, int x1, int y1, bool repaint) {
    if (!BeginPixelAccess()) return;
    StampPenLine(x0, y0, x1, y1, repaint, 0);
    EndPixelAccess();
}

void CPelmarkView::FillSpan(int x, int y, int count) {
    if (!m_PixelAccess.active()) return;
    tools::FillSpan(m_PixelAccess.target(), x, y, count);
}

int CPelmarkView::GetPixelIndex(int x, int y) const {
    if (m_PixelAccess.active()) return tools::GetPixelIndex(m_PixelAccess.target().stack, x, y);
    const CPelmarkDoc* doc = GetDocument();
    if (!doc) return -1;
    tools::DocLayerLock lock;
    if (!lock.Lock(*doc)) return -1;
    return tools::GetPixelIndex(lock.stack(), x, y);
}

void CPelmarkView::SyncToolWindows() { plugin_host::SyncToolWindows(GetDocument()); }

void CPelmarkView::InvalidateImageRect(const DibRect& r) { RepaintImageRect(r, false); }

void CPelmarkView::RecomposeLayers(const DibRect* rect) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || doc->m_nLayerCount <= 0) return;
    if (!tools::RecomposeDocument(*doc, rect)) return;
    for (framework::View* v : doc->GetViews()) v->update();
}

void CPelmarkView::RefreshAfterEdit(int mode, const DibRect* rect) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    if (mode != 0) {
        RecomposeLayers(rect);
        return;
    }
    doc->InitDib();
    RecomposeLayers();
    for (framework::View* v : doc->GetViews()) v->update();
    if (view::ViewHost* host = view::ViewHost::Installed()) host->PaletteChanged();
}

void CPelmarkView::OnToneCommand(CommandId id) {
    tools::ToneState tone{m_nToneLevel, m_nTonePattern};
    if (!tone.Choose(int(id))) return;
    m_nToneLevel = tone.level;
    m_nTonePattern = tone.pattern;
    if (view::ViewHost* host = view::ViewHost::Installed()) host->ShowTone(id);
}

void CPelmarkView::OnUpdateTone(framework::CmdUI& ui) {
    ui.Enable(!CommandLocked());
    ui.SetCheck(tools::ToneState{m_nToneLevel, m_nTonePattern}.Checks(int(ui.id())) ? 1 : 0);
}

void CPelmarkView::DeclareDrawCommands(framework::CommandTable& t) {
    t.OnRange(tools::kToneCommandFirst, tools::kToneCommandLast, this, &CPelmarkView::OnToneCommand)
        .OnUpdateRange(tools::kToneCommandFirst, tools::kToneCommandLast, this, &CPelmarkView::OnUpdateTone);
}
