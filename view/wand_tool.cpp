#include "view/wand_tool.h"

#include "tools/drag_state.h"
#include "view/pelmark_view.h"
#include "view/selection_tools.h"

namespace view {

class WandTool::Handler : public tools::ToolHandler {
public:
    explicit Handler(CPelmarkView& view) : view_(view) {}
    void OnDown(tools::ImagePoint p) override {
        ProgramSelectionDrag().wandBlocked = false;
        const tools::ImagePoint raw = tools::ProgramDragState().rawDown;
        view_.OnWandToolDown(p.x, p.y, raw.x, raw.y);
    }
    void OnDownRefused() override { ProgramSelectionDrag().wandBlocked = true; }
    void OnMove(tools::ImagePoint p) override { view_.OnWandToolMove(p.x, p.y); }
    void OnUp(tools::ImagePoint p) override { view_.OnWandToolUp(p.x, p.y); }

private:
    CPelmarkView& view_;
};

WandTool::WandTool(CPelmarkView& view) : handler_(std::make_unique<Handler>(view)) {}

WandTool::~WandTool() = default;

void WandTool::Register(tools::ToolTable& table) { table.Set(tools::kWandTool, handler_.get()); }

}  // namespace view
