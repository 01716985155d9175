#include "view/text_tool_handler.h"

#include "frame/main_frame.h"

namespace view {
namespace {

class TextTool : public tools::ToolHandler {
public:
    void OnDown(tools::ImagePoint) override {
        if (CMainFrame* frame = CMainFrame::Get()) frame->RunTextTool();
    }
};

}  // namespace

tools::ToolHandler& TextToolHandler() {
    static TextTool handler;
    return handler;
}

}  // namespace view
