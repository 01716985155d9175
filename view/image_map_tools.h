// The image-map tools (625 to 628, 631 to 633) in the view's tool table. The
// work is the view's (CPelmarkView::MapRectDown and its neighbours); the
// right button reaches the drawing tools as MapPolyFinish and the move tool
// as its press, and a move while the right button holds the move tool's
// point arrives as a hover.
#pragma once

#include <memory>
#include <vector>

#include "tools/tool_dispatch.h"

class CPelmarkView;

namespace view {

class ImageMapTools {
public:
    explicit ImageMapTools(CPelmarkView& view);
    ~ImageMapTools();
    void Register(tools::ToolTable& table);

private:
    class Handler;
    std::vector<std::unique_ptr<Handler>> handlers_;
};

}  // namespace view
