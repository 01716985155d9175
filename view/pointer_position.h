// "鼠标位置" (34009, Ctrl+4): whether the canvas views show the pointer's
// image position in the status bar as it moves. On at start.
#pragma once

bool PointerPositionShown();
void SetPointerPositionShown(bool shown);
