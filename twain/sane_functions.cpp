#include "twain/sane_functions.h"

namespace twain {

namespace {

template <class F>
bool BindOne(ModHandle library, const char* name, std::function<F>& entry) {
    void* symbol = ModSymbol(library, name);
    if (!symbol) return false;
    entry = reinterpret_cast<F*>(symbol);
    return true;
}

}  // namespace

bool SaneFunctions::Bind(ModHandle library) {
    SaneFunctions bound;
    bool all = BindOne(library, "sane_init", bound.init) &&
               BindOne(library, "sane_exit", bound.exit) &&
               BindOne(library, "sane_get_devices", bound.get_devices) &&
               BindOne(library, "sane_open", bound.open) &&
               BindOne(library, "sane_close", bound.close) &&
               BindOne(library, "sane_get_option_descriptor", bound.get_option_descriptor) &&
               BindOne(library, "sane_control_option", bound.control_option) &&
               BindOne(library, "sane_get_parameters", bound.get_parameters) &&
               BindOne(library, "sane_start", bound.start) &&
               BindOne(library, "sane_read", bound.read) &&
               BindOne(library, "sane_cancel", bound.cancel);
    if (!all) return false;
    *this = std::move(bound);
    return true;
}

}  // namespace twain
