// The largest image the editor holds: 2048 x 2048 pixels, 4096 x 4096 while
// the MapTool setting is on. Masks and the pixel-flag map of every document
// are allocated at this size.
#pragma once

struct MaxImageSize {
    int width;
    int height;
};

MaxImageSize GetMaxImageSize();
// Set once when the main frame reads the MapTool setting; also switches the
// blits' map-tool mode.
void SetMapToolSetting(int mapTool);
int GetMapToolSetting();
