// The canvas view's image size commands: the image size, the layer sheet,
// and saving the display settings.
#include "document/document_host.h"
#include "document/image_resize.h"
#include "document/layer_operations.h"
#include "document/pelmark_doc.h"
#include "framework/application.h"
#include "framework/cmd_ui.h"
#include "framework/command.h"
#include "view/grid_presets.h"
#include "view/pelmark_view.h"
#include "view/view_geometry.h"
#include "view/view_host.h"

void CPelmarkView::DeclareSizeCommands(framework::CommandTable& t) {
    t.On(kImageSizeId, this, &CPelmarkView::OnImageSize)
        .OnUpdate(kImageSizeId, this, &CPelmarkView::OnUpdateImageSize)
        .On(kSaveSettingsId, this, &CPelmarkView::OnSaveSettings);
}

void CPelmarkView::OnUpdateImageSize(framework::CmdUI& ui) {
    CPelmarkDoc* doc = GetDocument();
    ui.Enable(!CommandLocked() && doc && !doc->m_ToolPlugin.window && !GuideEditing());
}

void CPelmarkView::RefreshAfterResize() {
    CPelmarkDoc* doc = GetDocument();
    if (!doc) return;
    ClearOverlays();
    SetZoom(view::kZoomFirstId);
    UpdateScrollSizes();
    RealizeDocPalette(this);
    doc->UpdateAllViews(nullptr);
    FitFrameToImage();
    RecomposeLayers();
    if (view::ViewHost* host = view::ViewHost::Installed()) {
        host->EditStateChanged();
        host->LayersChanged(doc);
        host->FollowPosition(doc);
        host->PaletteChanged();
    }
}

bool CPelmarkView::ResizeCanvasKeepPalette(int width, int height, int columns, int rows, bool dropUncovered) {
    CPelmarkDoc* doc = GetDocument();
    if (!doc || !document::LayOutLayerSheet(*doc, width, height, columns, rows, dropUncovered)) return false;
    RefreshAfterResize();
    return true;
}

void CPelmarkView::OnImageSize() {
    CPelmarkDoc* doc = GetDocument();
    view::ViewHost* host = view::ViewHost::Installed();
    if (!doc || !host || !host->ProbeWorkMemory(1)) return;
    int width = doc->m_nWidth, height = doc->m_nHeight;
    if (!host->AskImageSize(doc, &width, &height)) return;
    if (width == doc->m_nWidth && height == doc->m_nHeight) return;
    if (!host->ProbeWorkMemory(1)) return;
    if (!document::ResizeImage(*doc, width, height)) return;
    RefreshAfterResize();
    // The animation plug-in hears of the new image.
    document::Host().ImageReplaced(doc);
}

void CPelmarkView::OnSaveSettings() {
    framework::Application* app = framework::Application::Instance();
    if (app) {
        const QString section = QStringLiteral("Settings");
        app->WriteProfileInt(section, QStringLiteral("GridXsize"), m_nMainCellWidth);
        app->WriteProfileInt(section, QStringLiteral("GridYsize"), m_nMainCellHeight);
        app->WriteProfileInt(section, QStringLiteral("DispGrid"), m_nGridDisplay);
        app->WriteProfileInt(section, QStringLiteral("Snap"), m_nSnapFlags);
    }
    // The colour palette and the bars: the frame writes what it shows.
    if (view::ViewHost* host = view::ViewHost::Installed()) host->SaveDisplaySettings();
}
