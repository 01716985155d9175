// The text tool on a canvas view. Its button-down arrives from the view's
// text-tool timer, one tick after the click, and has the main frame run the
// text plug-in on the active view.
#pragma once

#include "tools/tool_dispatch.h"

namespace view {

// The one handler every view registers for the text tool.
tools::ToolHandler& TextToolHandler();

}  // namespace view
