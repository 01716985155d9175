// Settings ("ini") files: sections of key=value lines.
//
//   [Settings]
//   ; a comment
//   UndoBuf=10
//
// Reading: section and key names match without regard to the case of ASCII
// letters and to blanks around them; lines whose first non-blank character is
// ';' are comments; lines before the first section belong to none; when a
// section or a key appears twice, the first one counts. A value is read with
// its surrounding blanks removed, then one pair of surrounding double quotes.
// Files that are not valid UTF-8 are read as GBK.
//
// Writing goes to the file at once: the new text is written to a temporary
// file in the same directory (created when missing), which then replaces the
// file. Only the line written changes; every other line, comment and blank
// line stays as it was, line ends included. Files are written as UTF-8.
// A write that fails (unreadable file, full disk, no permission, a name or
// value that cannot be stored) leaves the file as it was and returns false.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The value, or `def` when the file, section or key is missing.
std::string ProfileReadString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& def = "");

// The leading decimal number of the value (blanks skipped, optional sign:
// "12abc" is 12, "-5" is -5), clamped to the range of int; `def` when the key
// is missing or the value does not start with a number.
int ProfileReadInt(const std::string& file, const std::string& section, const std::string& key,
                   int def);

// Writes key=value into the section. A null `value` deletes the key (every
// line of it in the section); a null `key` deletes the whole section, header
// and lines up to the next section. A key that exists has its line replaced
// in place; a new key goes after the last line of its section; a new section
// is added at the end of the file. Names may not be empty or contain line
// breaks; keys may not contain '=' nor sections ']'; values may not contain
// line breaks.
bool ProfileWriteString(const std::string& file, const std::string& section, const char* key,
                        const char* value);
bool ProfileWriteInt(const std::string& file, const std::string& section, const std::string& key,
                     int value);

// The keys of a section in file order, each once (as first spelt).
std::vector<std::string> ProfileSectionKeys(const std::string& file, const std::string& section);

// The lines of a section in file order, without comments and blank lines,
// blanks around each removed (e.g. "File1=a.gif").
std::vector<std::string> ProfileSectionLines(const std::string& file, const std::string& section);

}  // namespace platform
