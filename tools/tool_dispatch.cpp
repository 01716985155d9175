#include "tools/tool_dispatch.h"

namespace tools {

namespace {

ToolHandler& NoTool() {
    static ToolHandler none;
    return none;
}

}  // namespace

const char* ToolPrompt(int tool) {
    switch (tool) {
    case kSelectTool: return "范围选择";
    case kWandTool: return "魔棒";
    case kHandTool: return "抓手工具";
    case kPenTool: return "钢笔工具";
    case kLineTool: return "线工具";
    case kFillTool: return "填充";
    case kRectOutlineTool: return "外框描画：矩形";
    case kEllipseOutlineTool: return "外框描画：圆形";
    case kZoomTool: return "缩放工具";
    case kFilledRectTool: return "描画图形：矩形";
    case kFilledEllipseTool: return "描画图形：椭圆形";
    case kTextTool: return "文字工具";
    case kCircleTool: return "描画椭圆。";
    case kFilledCircleTool: return "填充圆。";
    default: return nullptr;
    }
}

ShiftDown ShiftDownRule(int tool) {
    switch (tool) {
    case kSelectTool:
    case kWandTool:
    case kPenTool:
    case kLineTool:
    case kRotateTool: return ShiftDown::kAsDown;
    case kRectOutlineTool:
    case kEllipseOutlineTool:
    case kFilledRectTool:
    case kFilledEllipseTool: return ShiftDown::kIgnored;
    default: return ShiftDown::kNothing;
    }
}

RightAction RightButtonAction(int tool) {
    switch (tool) {
    case kSelectTool:
    case kWandTool: return RightAction::kSelectionMenuOrPick;
    case kZoomTool: return RightAction::kZoomOut;
    case kMapRectTool:
    case kMapCircleTool:
    case kMapPointTool:
    case kMapPolyTool: return RightAction::kCloseRegion;
    case kMapMoveTool: return RightAction::kMoveRegion;
    case kMapDeleteTool:
    case kMapUrlTool: return RightAction::kNothing;
    default: return RightAction::kPick;
    }
}

bool DownOnly(int tool) {
    switch (tool) {
    case kFillTool:
    case kTextTool:
    case kMapPointTool:
    case kMapPolyTool:
    case kMapDeleteTool:
    case kMapUrlTool: return true;
    default: return false;
    }
}

bool SkipsSnap(int tool, int mode, bool outlineNoSnap, bool filledNoSnap) {
    if (mode == kPointDown) return tool == kWandTool || tool == kFillTool;
    if (mode == kPointUp && tool == kWandTool) return true;
    if (tool == kRectOutlineTool || tool == kEllipseOutlineTool) return outlineNoSnap;
    if (tool == kFilledRectTool || tool == kFilledEllipseTool) return filledNoSnap;
    return false;
}

void ToolTable::Set(int tool, ToolHandler* handler) {
    if (handler)
        handlers_[tool] = handler;
    else
        handlers_.erase(tool);
}

ToolHandler& ToolTable::Get(int tool) const {
    auto it = handlers_.find(tool);
    return it == handlers_.end() ? NoTool() : *it->second;
}

ToolHandler& ToolTable::ColorPick() const { return pick_ ? *pick_ : NoTool(); }

}  // namespace tools
