#include "document/image_limits.h"

#include "imaging/dib_blit.h"

namespace {
int g_mapTool = 0;
}

MaxImageSize GetMaxImageSize() {
    return g_mapTool ? MaxImageSize{4096, 4096} : MaxImageSize{2048, 2048};
}

void SetMapToolSetting(int mapTool) {
    g_mapTool = mapTool;
    SetBlitMapToolMode(mapTool != 0);
}

int GetMapToolSetting() { return g_mapTool; }
