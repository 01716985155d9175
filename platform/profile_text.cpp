#include "platform/profile_text.h"

#include <climits>

#include "platform/text_codec.h"

namespace platform {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
        if (x != y) return false;
    }
    return true;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

ProfileLine::Kind ProfileLine::kind() const {
    std::string_view t = trim(text);
    if (t.empty()) return Kind::Blank;
    if (t.front() == ';') return Kind::Comment;
    if (t.front() == '[') return Kind::Section;
    if (t.find('=') != std::string_view::npos) return Kind::Entry;
    return Kind::Other;
}

std::string_view ProfileLine::sectionName() const {
    std::string_view t = trim(text).substr(1);
    return trim(t.substr(0, t.find(']')));
}

std::string_view ProfileLine::key() const {
    std::string_view t = text;
    return trim(t.substr(0, t.find('=')));
}

std::string_view ProfileLine::value() const {
    std::string_view t = text;
    return trim(t.substr(t.find('=') + 1));
}

ProfileText ProfileText::Parse(std::string_view bytes) {
    ProfileText ini;
    ini.bom = bytes.substr(0, kBom.size()) == kBom;
    std::string text = DecodeFileText(bytes);
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        ProfileLine line;
        if (nl == std::string::npos) {
            line.text = text.substr(start);
            start = text.size();
        } else {
            size_t endOfText = nl > start && text[nl - 1] == '\r' ? nl - 1 : nl;
            line.text = text.substr(start, endOfText - start);
            line.end = text.substr(endOfText, nl + 1 - endOfText);
            start = nl + 1;
        }
        ini.lines.push_back(std::move(line));
    }
    return ini;
}

std::string ProfileText::Serialize() const {
    std::string out = bom ? std::string(kBom) : std::string();
    for (const ProfileLine& l : lines) out += l.text + l.end;
    return out;
}

// The line end used for new lines: the file's own, else "\n".
std::string ProfileText::newline() const {
    for (const ProfileLine& l : lines)
        if (!l.end.empty()) return l.end;
    return "\n";
}

std::optional<std::pair<size_t, size_t>> ProfileText::Section(std::string_view name) const {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind() != ProfileLine::Kind::Section || !sameName(lines[i].sectionName(), name)) continue;
        size_t j = i + 1;
        while (j < lines.size() && lines[j].kind() != ProfileLine::Kind::Section) ++j;
        return std::make_pair(i, j);
    }
    return std::nullopt;
}

std::optional<size_t> ProfileText::Entry(std::string_view sectionName, std::string_view key) const {
    auto range = Section(sectionName);
    if (!range) return std::nullopt;
    for (size_t i = range->first + 1; i < range->second; ++i)
        if (lines[i].kind() == ProfileLine::Kind::Entry && sameName(lines[i].key(), key)) return i;
    return std::nullopt;
}

void ProfileText::insert(size_t at, std::string text) {
    std::string nl = newline();
    if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = nl;
    lines.insert(lines.begin() + ptrdiff_t(at), ProfileLine{std::move(text), nl});
}

std::optional<std::string> ProfileText::Value(std::string_view section, std::string_view key) const {
    std::optional<size_t> at = Entry(trim(section), trim(key));
    if (!at) return std::nullopt;
    std::string_view v = lines[*at].value();
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::vector<std::string> ProfileText::SectionKeys(std::string_view section) const {
    std::vector<std::string> keys;
    auto range = Section(trim(section));
    if (!range) return keys;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const ProfileLine& l = lines[i];
        if (l.kind() != ProfileLine::Kind::Entry) continue;
        std::string_view k = l.key();
        bool seen = false;
        for (const std::string& s : keys) seen = seen || sameName(s, k);
        if (!seen) keys.emplace_back(k);
    }
    return keys;
}

std::vector<std::string> ProfileText::SectionLines(std::string_view section) const {
    std::vector<std::string> out;
    auto range = Section(trim(section));
    if (!range) return out;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        ProfileLine::Kind k = lines[i].kind();
        if (k == ProfileLine::Kind::Entry || k == ProfileLine::Kind::Other) out.emplace_back(trim(lines[i].text));
    }
    return out;
}

bool ProfileText::Write(std::string_view section, const char* key, const char* value) {
    std::string_view sectionName = trim(section);
    if (sectionName.empty() || hasLineBreak(sectionName) || sectionName.find(']') != std::string_view::npos)
        return false;
    std::string_view keyName = key ? trim(key) : std::string_view();
    if (key && (keyName.empty() || hasLineBreak(keyName) || keyName.find('=') != std::string_view::npos ||
                keyName.front() == ';' || keyName.front() == '['))
        return false;
    if (value && hasLineBreak(value)) return false;

    auto range = Section(sectionName);
    if (!key) {  // delete the section
        if (!range) return true;
        lines.erase(lines.begin() + ptrdiff_t(range->first), lines.begin() + ptrdiff_t(range->second));
    } else if (!value) {  // delete the key
        if (!range) return true;
        for (size_t i = range->second; i-- > range->first + 1;)
            if (lines[i].kind() == ProfileLine::Kind::Entry && sameName(lines[i].key(), keyName))
                lines.erase(lines.begin() + ptrdiff_t(i));
    } else if (std::optional<size_t> at = Entry(sectionName, keyName)) {
        ProfileLine& line = lines[*at];
        line.text = std::string(line.key()) + "=" + value;
    } else if (range) {
        size_t after = range->first + 1;
        for (size_t i = range->first + 1; i < range->second; ++i) {
            ProfileLine::Kind k = lines[i].kind();
            if (k == ProfileLine::Kind::Entry || k == ProfileLine::Kind::Other) after = i + 1;
        }
        insert(after, std::string(keyName) + "=" + value);
    } else {
        if (!lines.empty() && lines.back().kind() != ProfileLine::Kind::Blank) insert(lines.size(), "");
        insert(lines.size(), "[" + std::string(sectionName) + "]");
        insert(lines.size(), std::string(keyName) + "=" + value);
    }
    return true;
}

std::optional<int> ProfileNumber(std::string_view value) {
    std::string_view v = trim(value);
    bool negative = false;
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    if (v.empty() || v.front() < '0' || v.front() > '9') return std::nullopt;
    long long n = 0;
    for (char c : v) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > 1LL + INT_MAX) n = 1LL + INT_MAX;  // clamped below
    }
    if (negative) n = -n;
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return int(n);
}

}  // namespace platform
