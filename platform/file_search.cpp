#include "platform/file_search.h"

#include <QChar>
#include <QList>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

std::u32string folded(const std::string& text) {
    std::u32string out;
    for (char32_t c : QString::fromStdString(text).toUcs4()) out.push_back(QChar::toCaseFolded(c));
    return out;
}

unsigned char asciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

bool MatchFileName(const std::string& pattern, const std::string& name) {
    const std::u32string p = folded(pattern), n = folded(name);
    size_t pi = 0, ni = 0;
    size_t starP = std::u32string::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == U'?' || (p[pi] != U'*' && p[pi] == n[ni]))) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == U'*') {
            starP = pi++;
            starN = ni;
        } else if (starP != std::u32string::npos) {
            pi = starP + 1;  // let the last '*' take one more character
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}

bool FileNameLess(const std::string& a, const std::string& b) {
    auto ci = [](char x, char y) { return asciiLower(x) < asciiLower(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), ci)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), ci)) return false;
    return a < b;
}

std::vector<std::string> FindFiles(const std::string& directory, const std::string& pattern) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(directory.empty() ? "." : directory, error), end;
    for (; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (MatchFileName(pattern, name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), FileNameLess);
    return names;
}

}  // namespace platform
