#include "plugins/cinereel/list_file.h"

#include <array>

#include "plugin_api/anim_can_file.h"

namespace cinereel {

bool AnyFrameInUse(const SheetFrame* frames) {
    for (int i = 0; i < kSheetFrames; ++i)
        if (!FrameEmpty(frames[i])) return true;
    return false;
}

std::string ListFileBytes(const SheetFrame* frames) {
    std::string bytes;
    for (int i = 0; i < kSheetFrames; ++i) {
        const SheetFrame& f = frames[i];
        if (FrameEmpty(f)) continue;
        bytes += can_file::FrameLine(f.left, f.top, f.right - f.left, f.bottom - f.top, f.delay);
    }
    return bytes;
}

bool ReadListFile(std::string_view bytes, SheetFrame* frames) {
    struct Line {
        std::array<int, 5> values{0, 0, 0, 0, kDefaultDelay};
    };
    std::array<Line, kSheetFrames> lines;
    int line = 0;
    int count = 0;  // numbers on the current line
    size_t p = 0;
    while (line < kSheetFrames) {
        if (p >= bytes.size()) break;  // the last line keeps what it has
        const char c = bytes[p];
        if (c == ' ') {
            ++p;
        } else if (c >= '0' && c <= '9') {
            int value = 0;
            while (p < bytes.size() && bytes[p] >= '0' && bytes[p] <= '9') {
                value = value * 10 + (bytes[p++] - '0');
                if (value > kMaxDelay) {
                    value = kMaxDelay;
                    break;
                }
            }
            if (count == 5) return false;
            lines[size_t(line)].values[size_t(count++)] = value;
        } else if (c == '\r') {
            if (p + 1 >= bytes.size() || bytes[p + 1] != '\n') return false;
            if (count != 0 && count != 5) return false;
            p += 2;
            ++line;
            count = 0;
        } else {
            return false;
        }
    }
    for (int i = 0; i < kSheetFrames; ++i) {
        const auto& v = lines[size_t(i)].values;
        SheetFrame& f = frames[i];
        f.left = v[0];
        f.top = v[1];
        f.right = v[0] + v[2];
        f.bottom = v[1] + v[3];
        f.delay = v[4];
    }
    return true;
}

}  // namespace cinereel
