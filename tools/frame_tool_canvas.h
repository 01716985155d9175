// The part of a drawing tool's canvas that the program's document host (the
// main frame) serves: the tool settings, the palette bar and the refreshes
// of the program's windows after a stroke or a line. A view derives from it
// and adds its own drawing, repaints, rubber bands and drag scrolling.
// Without a host the settings are 0.
#pragma once

#include "tools/tool_canvas.h"

namespace tools {

class FrameToolCanvas : public ToolCanvas {
public:
    int ToolOption(int index) override;
    void PaletteBarChanged() override;
    void RefreshAfterStroke() override;
    void RefreshAfterLine() override;
};

}  // namespace tools
