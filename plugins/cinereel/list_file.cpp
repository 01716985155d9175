#include "plugins/cinereel/list_file.h"

#include <algorithm>

#include "plugin_api/anim_can_file.h"
#include "plugins/cinereel/frame_list_ops.h"

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
    AnimTable table{};
    int read = 0;
    if (!can_file::ParseTable(bytes, table, &read)) return false;
    auto field = [](int32_t value) { return std::clamp(value, 0, kMaxDelay); };
    for (int i = 0; i < kSheetFrames; ++i) {
        const AnimFrame& a = table[size_t(i)];
        SheetFrame& f = frames[i];
        const int32_t layer = f.layer;
        f = i < read ? SheetFrame{field(a.x), field(a.y), field(a.x) + field(a.width),
                                  field(a.y) + field(a.height), field(a.time), 0}
                     : EmptyFrame();
        f.layer = layer;
    }
    return true;
}

}  // namespace cinereel
