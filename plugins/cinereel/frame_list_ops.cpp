#include "plugins/cinereel/frame_list_ops.h"

#include <algorithm>

namespace cinereel {

SheetFrame EmptyFrame() { return SheetFrame{0, 0, 0, 0, kDefaultDelay, 0}; }

void RemoveFrames(SheetFrame* frames, const std::vector<int>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= kSheetFrames) continue;
        std::copy(frames + row + 1, frames + kSheetFrames, frames + row);
        frames[kSheetFrames - 1] = EmptyFrame();
    }
}

void InsertFrameAt(SheetFrame* frames, int row, const SheetFrame& frame) {
    if (row < 0 || row >= kSheetFrames) return;
    std::copy_backward(frames + row, frames + kSheetFrames - 1, frames + kSheetFrames);
    frames[row] = frame;
}

std::vector<int> InsertClip(SheetFrame* frames, int row, const std::vector<SheetFrame>& clip) {
    for (auto it = clip.rbegin(); it != clip.rend(); ++it) InsertFrameAt(frames, row, *it);
    std::vector<int> rows;
    for (int i = 0; i < int(clip.size()) && row + i < kSheetFrames; ++i) rows.push_back(row + i);
    return rows;
}

MenuEnabling MenuEnabled(int multiSel, bool clipEmpty) {
    MenuEnabling e{multiSel != 2, multiSel == 0, multiSel == 0};
    if (clipEmpty) e.paste = false;
    return e;
}

FramePos ClampPosField(FramePos p, PosField field, int w, int h) {
    auto clamp = [](int v, int hi) { return std::clamp(v, 0, std::max(0, hi)); };
    switch (field) {
    case PosField::Delay: p.delay = clamp(p.delay, kMaxDelay); break;
    case PosField::Height: p.height = clamp(p.height, std::min(kMaxCellSize, h - p.y)); break;
    case PosField::X: p.x = clamp(p.x, w - p.width); break;
    case PosField::Y: p.y = clamp(p.y, h - p.height); break;
    case PosField::Width: p.width = clamp(p.width, std::min(kMaxCellSize, w - p.x)); break;
    }
    return p;
}

}  // namespace cinereel
