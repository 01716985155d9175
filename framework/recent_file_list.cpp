#include "framework/recent_file_list.h"

#include <algorithm>

#include "framework/document.h"
#include "platform/profile.h"

namespace framework {

namespace {
std::string keyOf(int index) { return "File" + std::to_string(index + 1); }
}  // namespace

RecentFileList::RecentFileList(const QString& section, int capacity)
    : section_(section), capacity_(std::max(0, capacity)) {}

void RecentFileList::Add(const QString& path) {
    if (path.isEmpty() || capacity_ == 0) return;
    QString full = AbsoluteFilePath(path);
    auto same = std::find_if(entries_.begin(), entries_.end(),
                             [&](const QString& e) { return SameFilePath(e, full); });
    if (same != entries_.end()) entries_.erase(same);
    entries_.insert(entries_.begin(), full);
    if (int(entries_.size()) > capacity_) entries_.resize(capacity_);
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < int(entries_.size())) entries_.erase(entries_.begin() + index);
}

void RecentFileList::Read(const QString& profileFile) {
    entries_.clear();
    if (profileFile.isEmpty()) return;
    std::string file = profileFile.toStdString();
    std::string section = section_.toStdString();
    for (int i = 0; i < capacity_; ++i) {
        std::string value = platform::ProfileReadString(file, section, keyOf(i));
        if (!value.empty()) entries_.push_back(QString::fromStdString(value));
    }
}

bool RecentFileList::Write(const QString& profileFile) const {
    if (profileFile.isEmpty()) return false;
    std::string file = profileFile.toStdString();
    std::string section = section_.toStdString();
    bool ok = true;
    for (int i = 0; i < capacity_; ++i) {
        std::string key = keyOf(i);
        if (i < int(entries_.size())) {
            std::string value = entries_[i].toStdString();
            ok = platform::ProfileWriteString(file, section, key.c_str(), value.c_str()) && ok;
        } else if (!platform::ProfileReadString(file, section, key).empty()) {
            ok = platform::ProfileWriteString(file, section, key.c_str(), nullptr) && ok;
        }
    }
    return ok;
}

}  // namespace framework
