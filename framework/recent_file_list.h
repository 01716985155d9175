// A most-recently-used list of file paths kept in a settings file section
// as File1=..., File2=... (newest first).
#pragma once

#include <vector>

#include <QString>

namespace framework {

class RecentFileList {
public:
    RecentFileList(const QString& section, int capacity);

    const QString& Section() const { return section_; }
    int Capacity() const { return capacity_; }
    const std::vector<QString>& Entries() const { return entries_; }

    // Puts the path (made absolute) first; an entry for the same file moves
    // up instead of appearing twice; the oldest falls off a full list.
    void Add(const QString& path);
    void Remove(int index);
    void Clear() { entries_.clear(); }

    // Reads File1..FileN (N the capacity), skipping empty keys.
    void Read(const QString& profileFile);
    // Rewrites the section with the entries; false when the file cannot be
    // written.
    bool Write(const QString& profileFile) const;

private:
    QString section_;
    int capacity_;
    std::vector<QString> entries_;
};

}  // namespace framework
