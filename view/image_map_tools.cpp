#include "view/image_map_tools.h"

#include "view/pelmark_view.h"

namespace view {

class ImageMapTools::Handler : public tools::ToolHandler {
public:
    Handler(CPelmarkView& view, int tool) : view_(view), tool_(tool) {}
    int Tool() const { return tool_; }

    void OnDown(tools::ImagePoint p) override {
        switch (tool_) {
        case tools::kMapRectTool: view_.MapRectDown(p); break;
        case tools::kMapCircleTool: view_.MapCircleDown(p); break;
        case tools::kMapPointTool: view_.MapPointDown(p); break;
        case tools::kMapPolyTool: view_.MapPolyDown(p); break;
        case tools::kMapMoveTool: view_.MapMoveDown(p, true); break;
        case tools::kMapDeleteTool: view_.MapDeleteRegion(p); break;
        case tools::kMapUrlTool: view_.EditRegionUrl(p); break;
        default: break;
        }
    }
    void OnMove(tools::ImagePoint p) override {
        switch (tool_) {
        case tools::kMapRectTool: view_.MapRectMove(p); break;
        case tools::kMapCircleTool: view_.MapCircleMove(p); break;
        case tools::kMapMoveTool: view_.MapMoveDrag(p); break;
        default: break;
        }
    }
    void OnUp(tools::ImagePoint p) override {
        switch (tool_) {
        case tools::kMapRectTool: view_.MapRectUp(p); break;
        case tools::kMapCircleTool: view_.MapCircleUp(p); break;
        default: break;
        }
    }
    void OnHover(tools::ImagePoint p) override {
        if (tool_ == tools::kMapMoveTool) view_.MapMoveVertex(p);
    }
    void OnRightDown(tools::ImagePoint p) override {
        if (tool_ == tools::kMapMoveTool) view_.MapMoveDown(p, false);
        else view_.MapPolyFinish(p);
    }
    void OnDoubleClick(tools::ImagePoint p) override { view_.ShowRegionAt(p); }

private:
    CPelmarkView& view_;
    int tool_;
};

ImageMapTools::ImageMapTools(CPelmarkView& view) {
    for (int tool : {tools::kMapRectTool, tools::kMapCircleTool, tools::kMapPointTool, tools::kMapPolyTool,
                     tools::kMapMoveTool, tools::kMapDeleteTool, tools::kMapUrlTool})
        handlers_.push_back(std::make_unique<Handler>(view, tool));
}

ImageMapTools::~ImageMapTools() = default;

void ImageMapTools::Register(tools::ToolTable& table) {
    for (const std::unique_ptr<Handler>& h : handlers_) table.Set(h->Tool(), h.get());
}

}  // namespace view
