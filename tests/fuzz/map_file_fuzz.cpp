// Feeds arbitrary bytes to the *.map reader: what it reads fits the region
// table, and what is written from it reads back and writes the same again.
// Blanks at the end of a URL (left where the 127-byte cut fell) are not kept
// by a file, so they are dropped before the first write.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "imagemap/image_map.h"
#include "imagemap/map_file.h"

using namespace imagemap;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RegionTable table;
    ReadMapText(std::string_view(reinterpret_cast<const char*>(data), size), table);
    if (table.Finished() < 0 || table.Finished() > kMaxRegions) __builtin_trap();
    for (int i = 0; i < table.Finished(); ++i) {
        const ImageMapRegion& r = table.Region(i);
        if (r.type < kPolygon || r.type > kPointRegion) __builtin_trap();
        if (r.count < 1 || r.count > kPointSlots) __builtin_trap();
        if (table.Url(i).size() > kMaxUrlBytes) __builtin_trap();
        std::string url = table.Url(i);
        while (!url.empty() && (url.back() == ' ' || url.back() == '\t')) url.pop_back();
        table.SetUrl(i, url);
    }
    const std::string once = WriteMapText(table);
    RegionTable again;
    ReadMapText(once, again);
    if (WriteMapText(again) != once) __builtin_trap();
    return 0;
}
