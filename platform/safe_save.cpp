#include "platform/safe_save.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The most links followed, as the system does.
constexpr int kMaxLinks = 40;
// Longest extension kept in a temporary name (with its dot).
constexpr size_t kMaxKeptExtension = 16;

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string extensionOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    if (dot == (slash == std::string::npos ? 0 : slash + 1)) return {};  // a hidden name, no extension
    return path.substr(dot);
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::string SaveTargetOf(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info{};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::vector<char> buffer(size_t(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (n <= 0 || size_t(n) >= buffer.size()) return current;
        std::string next(buffer.data(), size_t(n));
        if (next.front() != '/') next = folderOf(current) + '/' + next;
        current = next;
    }
    return current;
}

SafeSave::SafeSave(const std::string& path, bool keepExtension) {
    if (path.empty()) {
        error_ = ENOENT;
        return;
    }
    target_ = SaveTargetOf(path);
    std::string extension = keepExtension ? extensionOf(target_) : std::string();
    if (extension.size() > kMaxKeptExtension) extension.clear();
    std::string pattern = folderOf(target_) + "/.kvsave-XXXXXX" + extension;
    fd_ = ::mkostemps(pattern.data(), int(extension.size()), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    temporary_ = pattern;
}

SafeSave::~SafeSave() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void SafeSave::fail(int error) {
    if (error_ == 0) error_ = error ? error : EIO;
}

bool SafeSave::Write(const void* data, size_t size) {
    if (fd_ < 0 || error_ != 0) return false;
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            fail(errno);
            return false;
        }
        if (n == 0) {
            fail(ENOSPC);
            return false;
        }
        done += size_t(n);
    }
    return true;
}

bool SafeSave::Commit() {
    if (fd_ < 0 || committed_) return committed_;
    struct stat old{};
    const mode_t mode = ::stat(target_.c_str(), &old) == 0 ? mode_t(old.st_mode & 07777) : newFileMode();
    if (error_ == 0 && ::fchmod(fd_, mode) != 0) fail(errno);
    if (error_ == 0 && ::fsync(fd_) != 0) fail(errno);
    if (::close(fd_) != 0) fail(errno);
    fd_ = -1;
    if (error_ == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
    if (error_ != 0) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    committed_ = true;
    return true;
}

bool SaveFileSafely(const std::string& path, std::string_view bytes) {
    SafeSave save(path);
    return save && save.Write(bytes) && save.Commit();
}

}  // namespace platform
