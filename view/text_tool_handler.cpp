#include "view/text_tool_handler.h"

#include "view/view_host.h"

namespace view {
namespace {

class TextTool : public tools::ToolHandler {
public:
    void OnDown(tools::ImagePoint) override {
        if (ViewHost* host = ViewHost::Installed()) host->StartTextTool();
    }
};

}  // namespace

tools::ToolHandler& TextToolHandler() {
    static TextTool handler;
    return handler;
}

}  // namespace view
