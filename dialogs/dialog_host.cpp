#include "dialogs/dialog_host.h"

namespace {

DialogHost* installed = nullptr;

}  // namespace

DialogHost* DialogHost::Installed() { return installed; }

void DialogHost::Install(DialogHost* host) { installed = host; }

void DialogHost::Uninstall(DialogHost* host) {
    if (installed == host) installed = nullptr;
}
