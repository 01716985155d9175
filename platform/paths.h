// Where the program lives and where its settings go when the program
// directory cannot hold them.
#pragma once

#include <string>

namespace platform {

// The directory of the running executable, ending in '/' (from
// /proc/self/exe); "./" when that link cannot be read.
std::string ProgramDirectory();

// "$XDG_CONFIG_HOME/kavolt/", or "$HOME/.config/kavolt/" when XDG_CONFIG_HOME
// is unset, empty or not absolute; ends in '/'. The directory is not created.
std::string SettingsFallbackDirectory();

}  // namespace platform
