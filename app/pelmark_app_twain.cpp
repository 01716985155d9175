// The scanner commands: choosing the source, scanning a new document and
// scanning an underlay.
#include "app/pelmark_app.h"
#include "document/pelmark_doc.h"
#include "frame/main_frame.h"
#include "framework/cmd_ui.h"
#include "framework/view.h"
#include "imaging/color_reducer.h"
#include "imaging/dib_geometry.h"
#include "imaging/mono_expand.h"
#include "platform/message_box.h"

void CPelmarkApp::onUpdateTwain(framework::CmdUI& ui) {
    CMainFrame* frame = mainFrame();
    ui.Enable(!(frame && frame->IsCommandLocked()) && m_twain.IsLoaded());
}

void CPelmarkApp::onUpdateUnderlayTwain(framework::CmdUI& ui) {
    CPelmarkDoc* doc = activeDocument();
    ui.Enable(doc && doc->CanTakeUnderlay() && m_twain.IsLoaded());
}

void CPelmarkApp::OnTwainSelectSource() {
    if (m_twain.IsLoaded()) m_twain.SelectSource(mainFrame());
}

void CPelmarkApp::OnTwainAcquire() {
    if (m_twain.IsLoaded()) m_twain.Acquire(mainFrame(), &CPelmarkApp::TwainImportCallback, 0, 0);
}

void CPelmarkApp::TwainAcquireUnderlay() {
    if (m_twain.IsLoaded()) m_twain.Acquire(mainFrame(), &CPelmarkApp::TwainUnderlayCallback, 0, 0);
}

int CPelmarkApp::scanMessage(const char* text, unsigned type) {
    WinHandle owner = m_twain.MessageOwner();
    if (!owner)
        if (CMainFrame* frame = mainFrame()) owner = frame->WindowHandle();
    return ShowMessageBox(owner, text, AppName().toUtf8().constData(), type);
}

void CPelmarkApp::TwainImportCallback(MemHandle dib, intptr_t, intptr_t) {
    CPelmarkApp* app = Get();
    if (!app) {
        MemFree(dib);
        return;
    }
    app->scanArrived_ = true;
    // The header's colour count stays: it tells where the pixels begin.
    dib = ExpandMonoDib(dib);
    int bits = 0;
    if (dib::LockedDib d(dib); d) bits = d.geo().bitCount;
    if (bits != 4 && bits != 8) {
        if (app->scanMessage("减色开始。", MB_BTN_OKCANCEL | MB_ICON_INFORMATION) != MB_ANSWER_OK) {
            MemFree(dib);
            return;
        }
        CColorReducer reducer;
        if (!reducer.PrepareFrom24(dib)) {
            MemFree(dib);
            app->scanMessage("减色所需要的内存不足。", MB_BTN_OK | MB_ICON_WARNING);
            return;
        }
        MemHandle reduced = reducer.ReduceTo256();
        reducer.Release();
        MemFree(dib);
        if (!reduced) {
            app->scanMessage("减色失败。", MB_BTN_OK | MB_ICON_WARNING);
            return;
        }
        dib = reduced;
    }
    app->OnScanAsNewFile(dib);
    if (CMainFrame* frame = app->mainFrame()) app->scannedFrame_ = frame->MDIGetActive();
}

void CPelmarkApp::TwainUnderlayCallback(MemHandle dib, intptr_t, intptr_t) {
    CPelmarkApp* app = Get();
    if (!app) {
        MemFree(dib);
        return;
    }
    app->scanArrived_ = true;
    CMainFrame* frame = app->mainFrame();
    app->scannedFrame_ = frame ? frame->MDIGetActive() : nullptr;
    app->SetUnderlayFromScan(ExpandMonoDib(dib));
}

void CPelmarkApp::frontScannedDocument() {
    framework::ChildFrame* scanned = scannedFrame_.data();
    scannedFrame_ = nullptr;
    CMainFrame* frame = mainFrame();
    if (!scanned || scanned->IsDestroyed() || !frame) return;
    BringMainWindowToFront();
    // The view takes the focus now that its window is enabled again: the
    // main window's activation would otherwise give the focus back to the
    // view that had it before the scan, and bring that document forward.
    frame->MDIActivate(scanned);
    if (QWidget* view = scanned->GetActiveView()) view->setFocus();
}
