// Feeds arbitrary bytes to the *.can frame-table reader: a refused file
// leaves the table as it was, and a table that was read writes a file that
// reads back to the same table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "plugin_api/anim_can_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AnimTable table{};
    table[5] = {1, 2, 3, 4, 5};
    const AnimTable before = table;
    const bool read = can_file::ParseTable(std::string_view(reinterpret_cast<const char*>(data), size), table);
    if (!read) {
        if (std::memcmp(&table, &before, sizeof table) != 0) __builtin_trap();
        return 0;
    }
    const std::string once = can_file::FormatTable(table);
    AnimTable again{};
    if (!can_file::ParseTable(once, again)) __builtin_trap();
    if (can_file::FormatTable(again) != once) __builtin_trap();
    return 0;
}
