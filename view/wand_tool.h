// The magic wand (552) in the view's tool table. The work is the view's
// (CPelmarkView::OnWandToolDown and its neighbours).
#pragma once

#include <memory>

#include "tools/tool_dispatch.h"

class CPelmarkView;

namespace view {

class WandTool {
public:
    explicit WandTool(CPelmarkView& view);
    ~WandTool();
    void Register(tools::ToolTable& table);

private:
    class Handler;
    std::unique_ptr<Handler> handler_;
};

}  // namespace view
