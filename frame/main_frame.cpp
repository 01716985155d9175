#include "frame/main_frame.h"

#include "document/image_limits.h"
#include "framework/application.h"
#include "framework/view.h"
#include "platform/memory.h"
#include "platform/message_box.h"

CMainFrame::CMainFrame(QWidget* parent) : framework::MdiFrame(parent) {}

CMainFrame::~CMainFrame() = default;

CMainFrame* CMainFrame::Get() {
    framework::Application* app = framework::Application::Instance();
    return app ? dynamic_cast<CMainFrame*>(app->GetMainFrame()) : nullptr;
}

bool CMainFrame::LoadFrame() { return true; }

int CMainFrame::CheckWorkMemory(int mode) {
    MaxImageSize max = GetMaxImageSize();
    size_t size = mode == 2 ? size_t(250000000) : size_t(max.width) * size_t(max.height) * 8;
    MemHandle probe = MemAlloc(size);
    if (!probe) {
        ShowWorkMemoryError();
        return 0;
    }
    MemFree(probe);
    return 1;
}

void CMainFrame::ShowWorkMemoryError() {
    ShowMessageBox(WindowHandle(), "工作内存不足", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

void CMainFrame::ShowOutOfMemory() {
    ShowMessageBox(WindowHandle(), "内存不足。", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
}

bool CMainFrame::IsCommandLocked() const { return false; }

void CMainFrame::UpdateLayerPalette(CPelmarkDoc*) {}
void CMainFrame::SetLayerPaletteDoc(CPelmarkDoc*) {}
void CMainFrame::SetLayerListSel(int) {}
void CMainFrame::SetPositionPaletteDoc(CPelmarkDoc*) {}
void CMainFrame::ResetToolSelection() {}
void CMainFrame::UpdateEditButtons() {}
void CMainFrame::SelectToolButton(int) {}
void CMainFrame::SendImageToPluginWnd() {}

void CMainFrame::RefreshActiveView() {
    if (framework::View* view = GetActiveView()) view->update();
}
