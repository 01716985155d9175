#include "platform/paths.h"

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

std::string ProgramDirectory() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !exe.has_parent_path()) return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string SettingsFallbackDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = home && *home ? std::string(home) : QDir::homePath().toStdString();
        if (base.empty() || base.back() != '/') base += '/';
        base += ".config";
    }
    if (base.back() != '/') base += '/';
    return base + "kavolt/";
}

}  // namespace platform
