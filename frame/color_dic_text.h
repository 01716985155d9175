// The text of the colour dictionary "COLOR.DIC", free of files and windows.
//
// One entry per line, "name,red,green,blue,alpha" and CR LF, ended by the
// byte 0x1A; bytes after the first 0x1A do not belong to it. A text without
// the end byte (or an empty one) ends where its data ends. Names are UTF-8,
// or GBK in older files.
#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

inline constexpr unsigned char kColorDicEnd = 0x1A;

struct ColorDicEntry {
    QString name;
    int red = 0, green = 0, blue = 0, alpha = 0;
};

// An entry and where its line lies in the bytes (line break included).
struct ColorDicLine {
    qsizetype start = 0;
    qsizetype length = 0;
    ColorDicEntry entry;
};

// One dictionary line ("name,r,g,b,a" and CR LF) as stored.
QByteArray FormatColorDicLine(const ColorDicEntry& entry);
// The entries of dictionary bytes, up to the end byte (or the end of the
// data). Lines that do not hold a name and four numbers (0 to 255) are
// skipped; byte-order marks before a name are not part of it.
std::vector<ColorDicEntry> ParseColorDic(const QByteArray& bytes);
// The same entries with their lines.
std::vector<ColorDicLine> ParseColorDicLines(const QByteArray& bytes);
// The count of bytes before the end byte (all of them without one).
qsizetype ColorDicDataSize(const QByteArray& bytes);
// The bytes that belong to the dictionary: up to and including the first end
// byte; without one, all bytes followed by the end byte.
QByteArray ColorDicContent(const QByteArray& bytes);
