#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <climits>
#include <optional>

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

struct Line {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n" or "" (last line without one)

    enum class Kind { Blank, Comment, Section, Entry, Other };
    Kind kind() const {
        std::string_view t = trim(text);
        if (t.empty()) return Kind::Blank;
        if (t.front() == ';') return Kind::Comment;
        if (t.front() == '[') return Kind::Section;
        if (t.find('=') != std::string_view::npos) return Kind::Entry;
        return Kind::Other;
    }
    // For a section line: the name between the brackets.
    std::string_view sectionName() const {
        std::string_view t = trim(text).substr(1);
        return trim(t.substr(0, t.find(']')));
    }
    // For an entry line: the key before '=' and the raw value after it.
    std::string_view key() const { std::string_view t = text; return trim(t.substr(0, t.find('='))); }
    std::string_view value() const { std::string_view t = text; return trim(t.substr(t.find('=') + 1)); }
};

// The text of one settings file, line by line.
struct IniText {
    bool bom = false;
    std::vector<Line> lines;

    // Loads the file; a missing file is empty text. nullopt when the file
    // exists but cannot be read.
    static std::optional<IniText> load(const std::string& path) {
        IniText ini;
        QFile file(QString::fromStdString(path));
        if (!file.exists()) return ini;
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) return std::nullopt;
        ini.bom = bytes.startsWith(QByteArray(kBom.data(), kBom.size()));
        std::string text = DecodeFileText(bytes);
        size_t start = 0;
        while (start < text.size()) {
            size_t nl = text.find('\n', start);
            Line line;
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

    std::string serialize() const {
        std::string out = bom ? std::string(kBom) : std::string();
        for (const Line& l : lines) out += l.text + l.end;
        return out;
    }

    // The line end used for new lines: the file's own, else "\n".
    std::string newline() const {
        for (const Line& l : lines)
            if (!l.end.empty()) return l.end;
        return "\n";
    }

    // Lines [first, last) of the first section of that name, first being the
    // header; nullopt when there is none.
    std::optional<std::pair<size_t, size_t>> section(std::string_view name) const {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].kind() != Line::Kind::Section || !sameName(lines[i].sectionName(), name)) continue;
            size_t j = i + 1;
            while (j < lines.size() && lines[j].kind() != Line::Kind::Section) ++j;
            return std::make_pair(i, j);
        }
        return std::nullopt;
    }

    std::optional<size_t> entry(std::string_view sectionName, std::string_view key) const {
        auto range = section(sectionName);
        if (!range) return std::nullopt;
        for (size_t i = range->first + 1; i < range->second; ++i)
            if (lines[i].kind() == Line::Kind::Entry && sameName(lines[i].key(), key)) return i;
        return std::nullopt;
    }

    void insert(size_t at, std::string text) {
        std::string nl = newline();
        if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = nl;
        lines.insert(lines.begin() + ptrdiff_t(at), Line{std::move(text), nl});
    }
};

std::optional<std::string> readValue(const std::string& file, const std::string& section,
                                     const std::string& key) {
    std::optional<IniText> ini = IniText::load(file);
    if (!ini) return std::nullopt;
    std::optional<size_t> at = ini->entry(trim(section), trim(key));
    if (!at) return std::nullopt;
    std::string_view v = ini->lines[*at].value();
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool save(const std::string& path, const std::string& text) {
    QString name = QString::fromStdString(path);
    if (!QDir().mkpath(QFileInfo(name).absolutePath())) return false;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // Flushed here, as a failure to flush at commit would go unreported.
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

std::string ProfileReadString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def) {
    return readValue(file, section, key).value_or(def);
}

int ProfileReadInt(const std::string& file, const std::string& section, const std::string& key,
                   int def) {
    std::optional<std::string> value = readValue(file, section, key);
    if (!value) return def;
    std::string_view v = trim(*value);
    bool negative = false;
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    if (v.empty() || v.front() < '0' || v.front() > '9') return def;
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

bool ProfileWriteString(const std::string& file, const std::string& section, const char* key,
                        const char* value) {
    std::string_view sectionName = trim(section);
    if (sectionName.empty() || hasLineBreak(sectionName) || sectionName.find(']') != std::string_view::npos)
        return false;
    std::string_view keyName = key ? trim(key) : std::string_view();
    if (key && (keyName.empty() || hasLineBreak(keyName) || keyName.find('=') != std::string_view::npos ||
                keyName.front() == ';' || keyName.front() == '['))
        return false;
    if (value && hasLineBreak(value)) return false;

    std::optional<IniText> ini = IniText::load(file);
    if (!ini) return false;
    const std::string before = ini->serialize();
    auto range = ini->section(sectionName);

    if (!key) {  // delete the section
        if (!range) return true;
        ini->lines.erase(ini->lines.begin() + ptrdiff_t(range->first),
                         ini->lines.begin() + ptrdiff_t(range->second));
    } else if (!value) {  // delete the key
        if (!range) return true;
        for (size_t i = range->second; i-- > range->first + 1;)
            if (ini->lines[i].kind() == Line::Kind::Entry && sameName(ini->lines[i].key(), keyName))
                ini->lines.erase(ini->lines.begin() + ptrdiff_t(i));
    } else if (std::optional<size_t> at = ini->entry(sectionName, keyName)) {
        Line& line = ini->lines[*at];
        line.text = std::string(line.key()) + "=" + value;
    } else if (range) {
        size_t after = range->first + 1;
        for (size_t i = range->first + 1; i < range->second; ++i) {
            Line::Kind k = ini->lines[i].kind();
            if (k == Line::Kind::Entry || k == Line::Kind::Other) after = i + 1;
        }
        ini->insert(after, std::string(keyName) + "=" + value);
    } else {
        if (!ini->lines.empty() && ini->lines.back().kind() != Line::Kind::Blank)
            ini->insert(ini->lines.size(), "");
        ini->insert(ini->lines.size(), "[" + std::string(sectionName) + "]");
        ini->insert(ini->lines.size(), std::string(keyName) + "=" + value);
    }

    std::string after = ini->serialize();
    if (after == before && QFile::exists(QString::fromStdString(file))) return true;
    return save(file, after);
}

bool ProfileWriteInt(const std::string& file, const std::string& section, const std::string& key,
                     int value) {
    return ProfileWriteString(file, section, key.c_str(), std::to_string(value).c_str());
}

std::vector<std::string> ProfileSectionKeys(const std::string& file, const std::string& section) {
    std::vector<std::string> keys;
    std::optional<IniText> ini = IniText::load(file);
    if (!ini) return keys;
    auto range = ini->section(trim(section));
    if (!range) return keys;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const Line& l = ini->lines[i];
        if (l.kind() != Line::Kind::Entry) continue;
        std::string_view k = l.key();
        bool seen = false;
        for (const std::string& s : keys) seen = seen || sameName(s, k);
        if (!seen) keys.emplace_back(k);
    }
    return keys;
}

std::vector<std::string> ProfileSectionLines(const std::string& file, const std::string& section) {
    std::vector<std::string> out;
    std::optional<IniText> ini = IniText::load(file);
    if (!ini) return out;
    auto range = ini->section(trim(section));
    if (!range) return out;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        Line::Kind k = ini->lines[i].kind();
        if (k == Line::Kind::Entry || k == Line::Kind::Other) out.emplace_back(trim(ini->lines[i].text));
    }
    return out;
}

}  // namespace platform
