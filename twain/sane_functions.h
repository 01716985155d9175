// The scanner library's functions, bound by name from the loaded library.
//
// Each entry is a plain function object so that a caller may wrap one (to
// log or fail calls) after binding.
#pragma once

#include <functional>

#include <sane/sane.h>

#include "platform/module.h"

namespace twain {

struct SaneFunctions {
    std::function<SANE_Status(SANE_Int*, SANE_Auth_Callback)> init;
    std::function<void()> exit;
    std::function<SANE_Status(const SANE_Device***, SANE_Bool)> get_devices;
    std::function<SANE_Status(SANE_String_Const, SANE_Handle*)> open;
    std::function<void(SANE_Handle)> close;
    std::function<const SANE_Option_Descriptor*(SANE_Handle, SANE_Int)> get_option_descriptor;
    std::function<SANE_Status(SANE_Handle, SANE_Int, SANE_Action, void*, SANE_Int*)> control_option;
    std::function<SANE_Status(SANE_Handle, SANE_Parameters*)> get_parameters;
    std::function<SANE_Status(SANE_Handle)> start;
    std::function<SANE_Status(SANE_Handle, SANE_Byte*, SANE_Int, SANE_Int*)> read;
    std::function<void(SANE_Handle)> cancel;

    // Binds every entry from the library; false (nothing bound) when one of
    // the functions is missing.
    bool Bind(ModHandle library);
    void Clear() { *this = SaneFunctions{}; }
};

}  // namespace twain
