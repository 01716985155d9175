// *.map files: one text line per region, ended by CR LF, in table order:
// the 6-character keyword ("poly  ", "rect  ", "circle", "point "), four
// blanks, the URL (the placeholder text when empty, ',' written as "%2C"),
// then each point as " x,y". A polygon lists its vertices once (no closing
// copy; only closed polygons with two distinct first points are written), a
// point region one pair.
//
// The reader takes the first "integer,integer" token as the first pair and
// what lies between the keyword and it as the URL, "%2C" read as ','. Written as UTF-8; read as
// UTF-8, or GBK when the bytes are not UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "imagemap/image_map.h"

namespace imagemap {

// The file's bytes for the finished regions of the table.
std::string WriteMapText(const RegionTable& table);

// What reading found besides the regions: the messages to show, in order
// ("数据损坏\n<line>" for each skipped line, "最大 20 个。" once when more
// regions than the table holds follow).
struct MapReadResult {
    std::vector<std::string> messages;
};
// Replaces the table's contents by the regions of the text (UTF-8).
MapReadResult ReadMapText(std::string_view text, RegionTable& table);

// The files themselves. Writing goes through a temporary file: false (and
// the old file as it was) on any failure. Reading: false when the file
// cannot be read (the table is then unchanged).
bool WriteMapFile(const QString& path, const RegionTable& table);
bool ReadMapFile(const QString& path, RegionTable& table, MapReadResult* result);

}  // namespace imagemap
