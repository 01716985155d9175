#include "view/view_host.h"

namespace view {
namespace {

ViewHost* installed = nullptr;

}  // namespace

ViewHost* ViewHost::Installed() { return installed; }

void ViewHost::Install(ViewHost* host) { installed = host; }

void ViewHost::Uninstall(ViewHost* host) {
    if (installed == host) installed = nullptr;
}

}  // namespace view
