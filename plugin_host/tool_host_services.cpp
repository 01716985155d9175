#include "plugin_host/tool_host_services.h"

#include <algorithm>

#include <QPointer>
#include <QToolBar>
#include <QWidget>

#include "framework/application.h"
#include "framework/mdi_frame.h"
#include "plugin_host/plugin_frame.h"

namespace plugin_host {
namespace {

struct LockState {
    bool frameLocked = false;
    // Widgets the frame lock took the input from, and the tool windows that
    // are disabled on their own; a widget is enabled when it is in neither.
    std::vector<QPointer<QWidget>> frameParts;
    std::vector<QPointer<QWidget>> toolWindows;
};

LockState& Locks() {
    static LockState state;
    return state;
}

bool Holds(const std::vector<QPointer<QWidget>>& list, const QWidget* w) {
    return std::any_of(list.begin(), list.end(), [w](const QPointer<QWidget>& p) { return p == w; });
}

void Forget(std::vector<QPointer<QWidget>>& list, const QWidget* w) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [w](const QPointer<QWidget>& p) { return !p || p == w; }),
               list.end());
}

void Apply(QWidget* w) {
    if (!w) return;
    const LockState& s = Locks();
    bool off = (s.frameLocked && Holds(s.frameParts, w)) || Holds(s.toolWindows, w);
    w->setEnabled(!off);
}

// The services, else the plug-in frame's own windows and lock.
QWidget* ColorPaletteBar() {
    const ToolHostServices& s = Services();
    return s.colorPaletteBar ? s.colorPaletteBar() : PluginFrame::Get().ColorPaletteWindow();
}

std::vector<QWidget*> ToolWindows() {
    const ToolHostServices& s = Services();
    return s.toolWindows ? s.toolWindows() : PluginFrame::Get().ToolWindows();
}

void SetToolWindowsDisabled(bool disabled) {
    const ToolHostServices& s = Services();
    if (s.setToolWindowsDisabled) s.setToolWindowsDisabled(disabled);
    else PluginFrame::Get().SetToolWindowsDisabled(disabled);
}

void KeepColorPaletteEnabled() {
    if (QWidget* bar = ColorPaletteBar()) {
        Forget(Locks().toolWindows, bar);
        bar->setEnabled(true);
    }
}

// The frame's parts and the windows it owns, leaving out `keep` and going
// inside the parts that hold it. Windows made later (a plug-in's own) are
// not touched.
void CollectFrameParts(QWidget* parent, const QWidget* keep, std::vector<QPointer<QWidget>>& out) {
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child == keep) continue;
        if (keep && child->isAncestorOf(keep)) {
            CollectFrameParts(child, keep, out);
            continue;
        }
        // A part already disabled for its own reasons stays as it is.
        if (child->testAttribute(Qt::WA_ForceDisabled) && !Holds(Locks().toolWindows, child))
            continue;
        out.emplace_back(child);
    }
}

QWidget* MainFrame() {
    framework::Application* app = framework::Application::Instance();
    return app ? app->GetMainFrame() : nullptr;
}

}  // namespace

ToolHostServices& Services() {
    static ToolHostServices services;
    return services;
}

void LockHostForFilter(bool enable) {
    LockState& s = Locks();
    QWidget* frame = MainFrame();
    QWidget* bar = ColorPaletteBar();
    if (frame && !(bar && frame->isAncestorOf(bar))) {
        // The bar is a window of its own: the frame itself goes off and on.
        s.frameLocked = !enable;
        frame->setEnabled(enable);
    } else if (!enable && !s.frameLocked) {
        s.frameParts.clear();
        if (frame) CollectFrameParts(frame, bar, s.frameParts);
        s.frameLocked = true;
        for (const QPointer<QWidget>& w : s.frameParts) Apply(w);
    } else if (enable && s.frameLocked) {
        s.frameLocked = false;
        std::vector<QPointer<QWidget>> parts = std::move(s.frameParts);
        s.frameParts.clear();
        for (const QPointer<QWidget>& w : parts) Apply(w);
    }
    KeepColorPaletteEnabled();
}

void EnablePluginWindows(bool enable) {
    LockState& s = Locks();
    for (QWidget* w : ToolWindows()) {
        if (!w) continue;
        Forget(s.toolWindows, w);
        if (!enable) s.toolWindows.emplace_back(w);
        Apply(w);
    }
    SetToolWindowsDisabled(!enable);
    KeepColorPaletteEnabled();
}

void EnableHostWindows(int group, bool enable) {
    switch (group) {
    case 0: LockHostForFilter(enable); break;
    case 1:
        if (QWidget* bar = ColorPaletteBar()) bar->setEnabled(enable);
        break;
    case 2: EnablePluginWindows(enable); break;
    default: break;
    }
}

bool IsHostFrameLocked() { return Locks().frameLocked; }

}  // namespace plugin_host
