// Finding files by a name pattern, e.g. the plug-ins "*.FLT" of a directory.
#pragma once

#include <string>
#include <vector>

namespace platform {

// True when `name` matches `pattern`: '*' stands for any run of characters,
// '?' for exactly one; letters match either case. Both are UTF-8.
bool MatchFileName(const std::string& pattern, const std::string& name);

// The names (not paths) of the regular files in `directory` (links to regular
// files included) whose names match `pattern`, sorted by name ignoring the
// case of ASCII letters, then byte by byte. Empty when the directory cannot
// be read.
std::vector<std::string> FindFiles(const std::string& directory, const std::string& pattern);

// The order FindFiles sorts in: true when `a` comes before `b`.
bool FileNameLess(const std::string& a, const std::string& b);

}  // namespace platform
