// The canvas view's palette-wide edits: the edit mode, the colour map, the
// mask colours, the alpha value, the removal of unused colours, the
// gradient dialog and the palette editor.
#include "document/color_edits.h"
#include "document/pelmark_doc.h"
#include "document/unused_colors.h"
#include "framework/cmd_ui.h"
#include "framework/command.h"
#include "view/pelmark_view.h"
#include "view/view_host.h"

namespace {

bool Probe(view::ViewHost* host) { return !host || host->ProbeWorkMemory(1); }

}  // namespace

CPelmarkView::EditModeAsker& CPelmarkView::EditModeDialog() {
    static EditModeAsker asker;
    return asker;
}

CPelmarkView::AlphaAsker& CPelmarkView::AlphaDialog() {
    static AlphaAsker asker;
    return asker;
}

void CPelmarkView::DeclareColorCommands(framework::CommandTable& t) {
    t.On(kEditModeId, this, &CPelmarkView::OnEditMode)
        .OnUpdate(kEditModeId, this, &CPelmarkView::OnUpdateEditMode)
        .On(kColorMapId, this, &CPelmarkView::OnColorMap)
        .OnUpdate(kColorMapId, this, &CPelmarkView::OnUpdateLockOnly)
        .On(kMaskColorsId, this, &CPelmarkView::OnMaskColors)
        .OnUpdate(kMaskColorsId, this, &CPelmarkView::OnUpdateLockOnly)
        .On(kAlphaId, this, &CPelmarkView::OnAlpha)
        .OnUpdate(kAlphaId, this, &CPelmarkView::OnUpdateAlpha)
        .On(kDeleteUnusedId, this, &CPelmarkView::OnDeleteUnused)
        .OnUpdate(kDeleteUnusedId, this, &CPelmarkView::OnUpdateLockOnly)
        .On(kGradientId, this, &CPelmarkView::OnGradient)
        .OnUpdate(kGradientId, this, &CPelmarkView::OnUpdateLockOnly)
        .On(kPaletteEditorId, this, &CPelmarkView::OnPaletteEditor)
        .OnUpdate(kPaletteEditorId, this, &CPelmarkView::OnUpdateLockOnly);
}

void CPelmarkView::OnUpdateEditMode(framework::CmdUI& ui) {
    CPelmarkDoc* doc = GetDocument();
    ui.Enable(!CommandLocked() && EditModeDialog() && doc && !doc->m_ToolPlugin.window);
}

void CPelmarkView::OnUpdateAlpha(framework::CmdUI& ui) { ui.Enable(!CommandLocked() && AlphaDialog()); }

void CPelmarkView::OnEditMode() {
    CPelmarkDoc* doc = GetDocument();
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !EditModeDialog() || !Probe(host)) return;
    const std::optional<int> mode = EditModeDialog()(document::EditModeFromLockWord(doc->m_wPaletteLock));
    if (!mode) return;
    if (document::ChangeEditMode(*doc, *mode) == document::EditModeResult::Changed) {
        doc->UpdateAllViews(nullptr);
        if (host) host->PaletteChanged();
    }
    if (host) {
        host->EditStateChanged();
        host->LayersChanged(doc);
    }
}

void CPelmarkView::OnColorMap() {
    CPelmarkDoc* doc = GetDocument();
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !host || !Probe(host)) return;
    view::ViewHost::ColorFlags map{};
    if (!host->AskColorMap(doc, &map)) return;
    if (!document::RemapSelectionColors(*doc, map)) return;
    RecomposeLayers();
    doc->UpdateAllViews(nullptr);
    host->EditStateChanged();
    host->LayersChanged(doc);
}

void CPelmarkView::OnMaskColors() {
    CPelmarkDoc* doc = GetDocument();
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !host || !Probe(host)) return;
    // The dialog marks the mask colours: those not copied, and those a
    // paste may not write over.
    view::ViewHost::ColorFlags copy{}, paste{};
    for (size_t i = 0; i < 256; ++i) {
        copy[i] = doc->m_EnabledColors[i] ? 0 : 1;
        paste[i] = doc->m_WritableColors[i] ? 0 : 1;
    }
    if (!host->AskMaskColors(doc, &copy, &paste)) return;
    for (size_t i = 0; i < 256; ++i) {
        doc->m_EnabledColors[i] = copy[i] ? 0 : 1;
        doc->m_WritableColors[i] = paste[i] ? 0 : 1;
    }
}

void CPelmarkView::OnAlpha() {
    CPelmarkDoc* doc = GetDocument();
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !AlphaDialog() || !Probe(host)) return;
    const std::optional<int> alpha = AlphaDialog()();
    if (!alpha || !document::SetPaletteAlpha(*doc, *alpha)) return;
    doc->UpdateAllViews(nullptr);
    if (host) host->PaletteChanged();
}

void CPelmarkView::OnDeleteUnused() { DeleteUnusedColors(true); }

void CPelmarkView::OnPaletteEditor() {
    view::ViewHost* host = view::ViewHost::Installed();
    if (!host || !GetDocument() || !Probe(host)) return;
    host->RunPaletteEditor();
}

void CPelmarkView::DeleteUnusedColors(bool ask) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !doc->m_hImage) return;
    view::ViewHost* host = view::ViewHost::Installed();
    if (!Probe(host)) return;
    document::ColorFlagTable keep{};
    if (ask) {
        if (!host) return;
        const document::ColorFlagTable offered = document::OfferedUnusedColors(*doc);
        document::ColorFlagTable remove = offered;
        if (!host->AskUnusedColors(doc, &remove, offered)) return;
        // What the user leaves unmarked stays.
        for (size_t i = 0; i < 256; ++i) keep[i] = offered[i] && !remove[i] ? 1 : 0;
    }
    if (!document::RemoveUnusedColors(*doc, &keep)) return;
    doc->UpdateAllViews(nullptr);
    if (!host) return;
    host->PaletteChanged();
    host->LayersChanged(doc);
    host->ImageDrawn();
}

void CPelmarkView::OnGradient() {
    if (view::ViewHost* host = view::ViewHost::Installed()) host->ShowGradientDialog(GetDocument());
}
