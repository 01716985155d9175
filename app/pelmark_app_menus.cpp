// Menu items other parts of the program add at run time: the grid presets
// of the settings dialog and the filters of the filter host.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/pelmark_app.h"
#include "frame/main_frame.h"
#include "framework/menu_builder.h"
#include "view/grid_presets.h"

// The main window's menus are counted without the window controls that a
// maximised child adds to the menu bar (Qt puts those in its corners, not
// among the menus).
QMenu* CPelmarkApp::topLevelMenu(int index) const {
    CMainFrame* frame = mainFrame();
    if (!frame || index < 0) return nullptr;
    int seen = 0;
    for (QAction* action : frame->menuBar()->actions()) {
        if (!action->menu()) continue;
        if (seen++ == index) return action->menu();
    }
    return nullptr;
}

void CPelmarkApp::AddGridPresetMenuItem(int index, const QString& text) {
    if (index < 0 || index >= kGridPresets) return;
    QMenu* menu = topLevelMenu(kGridPresetMenuIndex);
    if (!menu) return;
    framework::AddMenuCommand(menu, kFirstGridPresetId + framework::CommandId(index), text,
                              mainFrame()->Hooks());
}

void CPelmarkApp::RemoveGridPresetMenuItems() {
    if (QMenu* menu = topLevelMenu(kGridPresetMenuIndex))
        framework::RemoveMenuCommands(menu, kFirstGridPresetId,
                                      kFirstGridPresetId + kGridPresets - 1);
}

void CPelmarkApp::RebuildGridPresetMenu() {
    RemoveGridPresetMenuItems();
    for (int i = 0; i < kGridPresets; ++i) AddGridPresetMenuItem(i, grid::GridPresetMenuText(i));
}

void CPelmarkApp::AddFilterMenuItem(const QString& text) {
    if (filterMenuCounter_ > plugin_host::kMaxFilterMenuItems) return;
    QMenu* menu = topLevelMenu(kFilterMenuIndex);
    if (!menu) return;
    framework::AddMenuCommand(menu, kFilterMenuBaseId + framework::CommandId(filterMenuCounter_),
                              text, mainFrame()->Hooks());
    ++filterMenuCounter_;
}

void CPelmarkApp::RemoveFilterMenuItems() {
    QMenu* menu = topLevelMenu(kFilterMenuIndex);
    if (!menu) return;
    if (filterMenuCounter_ > 1)
        framework::RemoveMenuCommands(menu, kFilterMenuBaseId + 1,
                                      kFilterMenuBaseId + framework::CommandId(filterMenuCounter_ - 1));
    if (!filterPlaceholderRemoved_) {
        // The menu comes with one placeholder item at its top.
        QList<QAction*> actions = menu->actions();
        if (!actions.isEmpty()) {
            QAction* placeholder = actions.front();
            menu->removeAction(placeholder);
            if (placeholder->parent() == menu) delete placeholder;
        }
        filterPlaceholderRemoved_ = true;
    }
    filterMenuCounter_ = 1;
}
