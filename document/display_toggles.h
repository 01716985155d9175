// The two program-wide display switches of the canvas views that the view
// commands flip: the guide lines shown (34036 "辅助线显示") and guide
// editing, where the guide's handles can be dragged (34037 "辅助线设定").
// A new or opened document switches both off.
#pragma once

struct ViewDisplayToggles {
    bool guidesShown = false;
    bool guideEdit = false;
};

// The program's switches (both off at start).
ViewDisplayToggles& GetViewDisplayToggles();
// Switches both off.
void SwitchOffViewDisplayToggles();
