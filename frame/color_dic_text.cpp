#include "frame/color_dic_text.h"

#include <optional>
#include <string_view>
#include <utility>

#include <QList>

#include "platform/text_codec.h"

namespace {

bool parseValue(const QByteArray& field, int* value) {
    if (field.isEmpty() || field.size() > 3) return false;
    for (char c : field)
        if (c < '0' || c > '9') return false;
    *value = field.toInt();
    return *value <= 255;
}

// Start offsets of each line (up to the end of data), paired with its length
// including the line break.
std::vector<std::pair<qsizetype, qsizetype>> lineSpans(const QByteArray& bytes) {
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    qsizetype end = ColorDicDataSize(bytes);
    qsizetype pos = 0;
    while (pos < end) {
        qsizetype nl = bytes.indexOf('\n', pos);
        qsizetype next = (nl < 0 || nl >= end) ? end : nl + 1;
        spans.emplace_back(pos, next - pos);
        pos = next;
    }
    return spans;
}

std::optional<ColorDicEntry> parseLine(QByteArray line) {
    while (!line.isEmpty() && (line.endsWith('\n') || line.endsWith('\r'))) line.chop(1);
    QList<QByteArray> fields = line.split(',');
    if (fields.size() != 5 || fields[0].isEmpty()) return std::nullopt;
    ColorDicEntry entry;
    if (!parseValue(fields[1], &entry.red) || !parseValue(fields[2], &entry.green) ||
        !parseValue(fields[3], &entry.blue) || !parseValue(fields[4], &entry.alpha))
        return std::nullopt;
    // Byte-order marks are not part of a name (the file's own comes before
    // the first one): a field that is nothing else holds none.
    entry.name = platform::DecodeFileTextToQString(std::string_view(fields[0].constData(), size_t(fields[0].size())));
    while (entry.name.startsWith(QChar(0xFEFF))) entry.name.remove(0, 1);
    if (entry.name.isEmpty()) return std::nullopt;
    return entry;
}

}  // namespace

QByteArray FormatColorDicLine(const ColorDicEntry& entry) {
    return entry.name.toUtf8() + QByteArrayLiteral(",") + QByteArray::number(entry.red) + ',' +
           QByteArray::number(entry.green) + ',' + QByteArray::number(entry.blue) + ',' +
           QByteArray::number(entry.alpha) + "\r\n";
}

std::vector<ColorDicLine> ParseColorDicLines(const QByteArray& bytes) {
    std::vector<ColorDicLine> lines;
    for (auto [start, length] : lineSpans(bytes))
        if (auto entry = parseLine(bytes.mid(start, length))) lines.push_back({start, length, std::move(*entry)});
    return lines;
}

std::vector<ColorDicEntry> ParseColorDic(const QByteArray& bytes) {
    std::vector<ColorDicEntry> entries;
    for (ColorDicLine& line : ParseColorDicLines(bytes)) entries.push_back(std::move(line.entry));
    return entries;
}

qsizetype ColorDicDataSize(const QByteArray& bytes) {
    qsizetype end = bytes.indexOf(char(kColorDicEnd));
    return end < 0 ? bytes.size() : end;
}

QByteArray ColorDicContent(const QByteArray& bytes) { return bytes.left(ColorDicDataSize(bytes)) + char(kColorDicEnd); }
