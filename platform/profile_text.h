// The text of a settings ("ini") file, free of files: parsed into lines,
// looked up, edited and written back as text. The file functions of
// profile.h read and write through it; the rules are theirs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// One line of the text.
struct ProfileLine {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n" or "" (last line without one)

    enum class Kind { Blank, Comment, Section, Entry, Other };
    Kind kind() const;
    // For a section line: the name between the brackets.
    std::string_view sectionName() const;
    // For an entry line: the key before '=' and the raw value after it.
    std::string_view key() const;
    std::string_view value() const;
};

struct ProfileText {
    bool bom = false;
    std::vector<ProfileLine> lines;

    // The bytes as they come from the file, decoded (UTF-8, else GBK) and
    // split into lines.
    static ProfileText Parse(std::string_view bytes);
    // The text as it is written (UTF-8, the byte-order mark kept).
    std::string Serialize() const;

    // Lines [first, last) of the first section of that name, first being the
    // header; nullopt when there is none.
    std::optional<std::pair<size_t, size_t>> Section(std::string_view name) const;
    // The first line of the key in the section.
    std::optional<size_t> Entry(std::string_view section, std::string_view key) const;

    // The value of the key: blanks and one pair of double quotes removed.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // The keys of a section in order, each once (as first spelt).
    std::vector<std::string> SectionKeys(std::string_view section) const;
    // The lines of a section, without comments and blank lines, trimmed.
    std::vector<std::string> SectionLines(std::string_view section) const;

    // Writes key=value into the section, as ProfileWriteString describes
    // (null value: delete the key; null key: delete the section). False, the
    // text unchanged, for a name or value that cannot be stored.
    bool Write(std::string_view section, const char* key, const char* value);

private:
    std::string newline() const;
    void insert(size_t at, std::string text);
};

// The leading decimal number of a value (blanks skipped, optional sign),
// clamped to the range of int; nullopt when it does not start with one.
std::optional<int> ProfileNumber(std::string_view value);

}  // namespace platform
