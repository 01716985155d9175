#include "dialogs/settings_store.h"

#include "dialogs/dialog_host.h"
#include "framework/program_globals.h"
#include "view/grid_presets.h"

void LoadSettings() {
    LoadGeneralSettings();
    grid::LoadGridSettings();
    RefreshGridPresetMenu();
}

void RefreshGridPresetMenu() {
    if (DialogHost* host = DialogHost::Installed()) host->RefreshGridPresetMenu();
}
