// The text of "menu.txt", the size presets of the new-image dialog, free of
// files and windows.
//
// The file is plain text read as tokens separated by white space, in groups
// of three: a name (one token), the width and the height. A name token that
// begins with '-' is skipped on its own, so "-" lines can separate groups
// for the reader of the file (the numbers after it are read as the next
// tokens). Example:
//
//   图标16x16    16  16
//   -
//   VGA         640 480
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct SizePreset {
    std::string name;  // UTF-8, at most kMaxPresetNameBytes bytes
    int width = 0;
    int height = 0;

    bool operator==(const SizePreset&) const = default;
};

// Presets past this count are ignored.
inline constexpr int kMaxMenuPresets = 256;
// Longer names are cut (at a character boundary).
inline constexpr int kMaxPresetNameBytes = 99;

// The presets of the file's bytes (UTF-8, or GBK when not valid UTF-8), in
// file order. The numbers take their leading digits ("32px" is 32, a word
// is 0); a name left without its two numbers at the end is dropped.
std::vector<SizePreset> ParseMenuPresets(std::string_view bytes);
