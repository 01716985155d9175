#include "plugin_host/plugin_frame.h"

#include <algorithm>

namespace plugin_host {
namespace {

// The answers of a program without a main frame.
class NoFrame final : public PluginFrame {
public:
    WinHandle PluginParentWindow() override { return nullptr; }
    int ProbeWorkMemory(int) override { return 1; }
    bool CommandLocked(framework::CommandId) override { return false; }
    void ClearCommandLocks() override {}
    void LockForAnimationMaker() override {}
    void SetToolWindowsDisabled(bool) override {}
    void SetPluginLoopRunning(bool) override {}
    int ToolSetting(int) override { return 0; }
    int ActiveViewTone() override { return 0; }
    QWidget* ColorPaletteWindow() override { return nullptr; }
    std::vector<QWidget*> ToolWindows() override { return {}; }
    void PaletteColorsChanged() override {}
    void RebuildLayerPalette(CPelmarkDoc*) override {}
    void ShowLayersOf(CPelmarkDoc*) override {}
    void ShowPositionOf(CPelmarkDoc*) override {}
};

std::vector<PluginFrame*>& Installed() {
    static std::vector<PluginFrame*> frames;
    return frames;
}

}  // namespace

PluginFrame& PluginFrame::Get() {
    static NoFrame none;
    const std::vector<PluginFrame*>& frames = Installed();
    return frames.empty() ? static_cast<PluginFrame&>(none) : *frames.back();
}

bool PluginFrame::IsInstalled() { return !Installed().empty(); }

void PluginFrame::Install(PluginFrame* frame) {
    if (!frame) return;
    Uninstall(frame);
    Installed().push_back(frame);
}

void PluginFrame::Uninstall(PluginFrame* frame) {
    std::vector<PluginFrame*>& frames = Installed();
    frames.erase(std::remove(frames.begin(), frames.end(), frame), frames.end());
}

}  // namespace plugin_host
