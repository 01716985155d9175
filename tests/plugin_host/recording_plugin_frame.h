// A plug-in frame without any window: it answers with set values and keeps
// what the plug-in host told it, in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "plugin_host/plugin_frame.h"

namespace hosttest {

class RecordingPluginFrame : public plugin_host::PluginFrame {
public:
    RecordingPluginFrame() { Install(this); }
    ~RecordingPluginFrame() override { Uninstall(this); }

    bool memoryThere = true;
    std::map<int, int> toolSettings;
    int tone = 0;
    // "probe <mode>", "clear locks", "lock for animation", "tool windows
    // <0|1>", "plug-in loop <0|1>", "palette colours", "rebuild layers",
    // "show layers", "show position".
    std::vector<std::string> told;
    // The document each palette call was about.
    std::vector<CPelmarkDoc*> docs;

    WinHandle PluginParentWindow() override { return nullptr; }
    int ProbeWorkMemory(int mode) override {
        told.push_back("probe " + std::to_string(mode));
        return memoryThere ? 1 : 0;
    }
    bool CommandLocked(framework::CommandId) override { return false; }
    void ClearCommandLocks() override { told.push_back("clear locks"); }
    void LockForAnimationMaker() override { told.push_back("lock for animation"); }
    void SetToolWindowsDisabled(bool disabled) override {
        told.push_back(std::string("tool windows ") + (disabled ? "1" : "0"));
    }
    void SetPluginLoopRunning(bool running) override {
        told.push_back(std::string("plug-in loop ") + (running ? "1" : "0"));
    }
    int ToolSetting(int index) override {
        auto it = toolSettings.find(index);
        return it == toolSettings.end() ? 0 : it->second;
    }
    int ActiveViewTone() override { return tone; }
    QWidget* ColorPaletteWindow() override { return nullptr; }
    std::vector<QWidget*> ToolWindows() override { return {}; }
    void PaletteColorsChanged() override { told.push_back("palette colours"); }
    void RebuildLayerPalette(CPelmarkDoc* doc) override { palette("rebuild layers", doc); }
    void ShowLayersOf(CPelmarkDoc* doc) override { palette("show layers", doc); }
    void ShowPositionOf(CPelmarkDoc* doc) override { palette("show position", doc); }

private:
    void palette(const char* what, CPelmarkDoc* doc) {
        told.push_back(what);
        docs.push_back(doc);
    }
};

}  // namespace hosttest
