// Documents made from pictures: the clipboard's picture as a new file and
// the scanner services.

#include <QApplication>
#include <QCursor>

#include "app/open_as_new_file.h"
#include "app/pelmark_app.h"
#include "document/doc_globals.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/cmd_ui.h"
#include "framework/doc_template.h"
#include "framework/framework_strings.h"
#include "framework/view.h"
#include "framework/wait_cursor.h"
#include "imaging/dib_access.h"
#include "imaging/dib_clipboard.h"
#include "imaging/dib_convert.h"
#include "imaging/dib_create.h"
#include "imaging/dib_exchange.h"
#include "imaging/dib_row_copy.h"
#include "imaging/dib_scale.h"
#include "platform/message_box.h"
#include "document/display_toggles.h"

namespace {

constexpr int kOrdinaryEditProbe = 1;

bool exchangeHeaderHasSize() {
    const LayerHeader& header = GetExchangeHeader();
    return (long long)header.right - header.left > 0 && (long long)header.bottom - header.top > 0;
}

}  // namespace

CPelmarkDoc* CPelmarkApp::activeDocument() const {
    CMainFrame* frame = mainFrame();
    return frame ? dynamic_cast<CPelmarkDoc*>(frame->GetActiveDocument()) : nullptr;
}

CPelmarkDoc* CPelmarkApp::newDocumentFromImage(MemHandle image) {
    if (DocTemplates().empty()) {
        CMainFrame* frame = mainFrame();
        ShowMessageBox(frame ? frame->WindowHandle() : nullptr,
                       framework::FrameworkString(framework::IDS_FAILED_TO_CREATE_DOC).toUtf8().constData(),
                       AppName().toUtf8().constData(), MB_BTN_OK | MB_ICON_WARNING);
        MemFree(image);
        return nullptr;
    }
    framework::Document* made = nullptr;
    {
        document::ScopedNewFromData fromData;
        made = DocTemplates().front()->OpenDocumentFile({});
    }
    auto* doc = dynamic_cast<CPelmarkDoc*>(made);
    if (!doc) {
        MemFree(image);
        return nullptr;
    }
    if (doc->m_hImage != image) MemFree(doc->m_hImage);
    doc->m_hImage = image;
    doc->SetModifiedFlag(true);
    doc->InitDib();
    doc->UpdateAllViews(nullptr);
    if (doc->m_hImage) doc->CreateFirstLayer();
    // The views were made before the image came: they fit their windows to
    // it now.
    for (framework::View* view : doc->GetViews()) view->OnInitialUpdate();
    return doc;
}

void CPelmarkApp::onUpdateOpenAsNewFile(framework::CmdUI& ui) {
    CMainFrame* frame = mainFrame();
    ui.Enable(!(frame && frame->IsCommandLocked()) && HasProgramClipboardCopy() && ClipboardHasDib());
}

void CPelmarkApp::OnOpenAsNewFile() {
    CMainFrame* frame = mainFrame();
    if (frame && !frame->CheckWorkMemory(kOrdinaryEditProbe)) return;
    MemHandle picture = ClipboardGetDib();
    if (!picture) return;
    {
        framework::WaitCursor wait;
        MemHandle image = CreateImageFromExchange(ProgramClipboardCopyWasSixteenColor());
        if (!image) {
            MemFree(picture);
            if (exchangeHeaderHasSize() && frame) frame->ShowOutOfMemory();
            return;
        }
        CPelmarkDoc* doc = newDocumentFromImage(image);
        // Only what the clipboard's picture really holds is copied, however
        // large the exchange header says the last copy was.
        if (doc && doc->m_nLayerCount > 0 && doc->m_hLayers[0])
            CopyClipboardPixelsToLayer(picture, doc->m_hImage, doc->m_hLayers[0]);
        MemFree(picture);
    }
    if (frame) {
        frame->SendCommand(kFirstZoomId);
        frame->RefreshActiveView();
    }
    SwitchOffViewDisplayToggles();
}

void CPelmarkApp::OnScanAsNewFile(MemHandle image) {
    if (!image) return;
    bool inputKept = false;
    MemHandle expanded = ExpandDib4To8(image, &inputKept);
    if (!expanded) {
        if (inputKept) MemFree(image);
        return;
    }
    // The first layer starts empty and the composite is built from the
    // layers: the picture goes into both once the document stands.
    MemHandle pixels = DuplicateGlobal(expanded);
    CPelmarkDoc* doc = newDocumentFromImage(expanded);
    if (doc && doc->m_nLayerCount > 0 && doc->m_hLayers[0])
        CopyClipboardPixelsToLayer(pixels, doc->m_hImage, doc->m_hLayers[0]);
    if (pixels) MemFree(pixels);
    if (!doc) return;
    if (CMainFrame* frame = mainFrame()) {
        frame->RefreshActiveView();
        frame->UpdateLayerPalette(doc);
    }
    BringMainWindowToFront();
}

MemHandle CPelmarkApp::ScaleToActiveImage(MemHandle image) {
    CPelmarkDoc* doc = activeDocument();
    if (!doc) return image;
    MemHandle scaled = ScaleDibToRgb24(image, doc->m_nWidth, doc->m_nHeight);
    return scaled ? scaled : image;
}

void CPelmarkApp::SetUnderlayFromScan(MemHandle image) {
    // A scanned picture arrives in the form the document keeps.
    if (CPelmarkDoc* doc = activeDocument()) doc->SetUnderlay(image, 1);
    else if (image) MemFree(image);
    BringMainWindowToFront();
}

MemHandle CPelmarkApp::ConvertAcquiredImage(MemHandle picture) {
    CPelmarkDoc* doc = activeDocument();
    if (!doc || !picture) return nullptr;
    return ::ConvertAcquiredImage(picture, doc->m_nWidth, doc->m_nHeight);
}
