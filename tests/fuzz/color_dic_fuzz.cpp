// Feeds arbitrary bytes to the "COLOR.DIC" reader and checks what it reads.
#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "frame/color_dic_text.h"

namespace {

bool inByte(int v) { return v >= 0 && v <= 255; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype end = ColorDicDataSize(bytes);
    if (end < 0 || end > bytes.size()) __builtin_trap();

    const QByteArray content = ColorDicContent(bytes);
    if (content.size() != end + 1 || content.back() != char(kColorDicEnd) ||
        content.indexOf(char(kColorDicEnd)) != end)
        __builtin_trap();

    qsizetype previousEnd = 0;
    for (const ColorDicLine& line : ParseColorDicLines(bytes)) {
        const ColorDicEntry& e = line.entry;
        if (line.start < previousEnd || line.length <= 0 || line.start + line.length > end) __builtin_trap();
        previousEnd = line.start + line.length;
        if (e.name.isEmpty() || !inByte(e.red) || !inByte(e.green) || !inByte(e.blue) || !inByte(e.alpha))
            __builtin_trap();
        // What is read is written back as one line that reads the same.
        const std::vector<ColorDicEntry> again = ParseColorDic(FormatColorDicLine(e));
        if (again.size() != 1 || again[0].name != e.name || again[0].red != e.red ||
            again[0].green != e.green || again[0].blue != e.blue || again[0].alpha != e.alpha)
            __builtin_trap();
    }
    return 0;
}
