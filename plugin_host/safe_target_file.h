// Writing a file so that the user's file is replaced only by a complete new
// one: the writer fills a temporary file beside the target (same
// extension); Commit renames it over the target. Without a commit the
// temporary file goes and the target stays as it was.
#pragma once

#include <QString>

namespace plugin_host {

class SafeTargetFile {
public:
    explicit SafeTargetFile(const QString& target);
    ~SafeTargetFile();
    SafeTargetFile(const SafeTargetFile&) = delete;
    SafeTargetFile& operator=(const SafeTargetFile&) = delete;

    // False when no temporary file could be made beside the target.
    explicit operator bool() const { return !temporary_.isEmpty(); }
    // The temporary file to write.
    const QString& TemporaryPath() const { return temporary_; }
    // Gives the new file the target's permissions (a new target: the usual
    // ones for a new file) and renames it over the target. False when the
    // rename fails (the temporary file is removed, the target untouched).
    bool Commit();

private:
    QString target_;
    QString temporary_;
    bool committed_ = false;
};

}  // namespace plugin_host
