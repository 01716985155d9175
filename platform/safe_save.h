// Saving a user's file so that it is replaced only by a complete new one.
//
// Every writer of the program and its plug-ins saves through here. The new
// contents go to a temporary file with a short name in the folder of the
// real file (a symbolic link is followed to the file it names, so the link
// stays and its file gets the new contents); a commit gives it the old
// file's permissions (a new file: the usual ones) and renames it over the
// real file. A failed write, a short write (a full disk, a file size limit)
// or a failed rename is reported, and the temporary file is removed on
// every way out, so the old file stays as it was and nothing is left behind.
// The temporary name does not grow with the file's name: a file with the
// longest name the folder allows can be saved under its own name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The file a save to `path` writes: symbolic links followed to the end of
// their chain (a link to a missing file gives that file's path). `path`
// itself when it is no link.
std::string SaveTargetOf(const std::string& path);

class SafeSave {
public:
    // Makes the temporary file. With `keepExtension` its name ends in the
    // target's extension when that is short (for writers that go by it).
    explicit SafeSave(const std::string& path, bool keepExtension = false);
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // False when no temporary file could be made (the folder is missing or
    // read-only, ...).
    explicit operator bool() const { return fd_ >= 0; }
    // The temporary file, for a writer that opens it by name.
    const std::string& TemporaryPath() const { return temporary_; }
    // The real file the commit replaces.
    const std::string& TargetPath() const { return target_; }

    // Appends bytes to the temporary file; false on an error or a short
    // write (the save can then only fail).
    bool Write(const void* data, size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }

    // Flushes the temporary file to the disk, gives it the permissions and
    // renames it over the target. False, with the temporary file removed and
    // the target untouched, when anything of it (or an earlier Write) failed.
    bool Commit();

    // The errno of the first failure, 0 when none.
    int Error() const { return error_; }

private:
    void fail(int error);

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    int error_ = 0;
    bool committed_ = false;
};

// Writes `bytes` as the new contents of `path` through SafeSave; false when
// the file could not be written completely (the old one is then as it was).
bool SaveFileSafely(const std::string& path, std::string_view bytes);

}  // namespace platform
