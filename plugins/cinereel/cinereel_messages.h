// Messages between the animation editor, its sheet view and the preview.
// Numbers the host's table leaves to this plug-in's windows; the sheet zoom
// has a number of its own, apart from WM_TOOL_IMAGECHANGED (0x4C8).
#pragma once

#include <cstdint>

enum : uint32_t {
    WM_ANIM_SHOWPREVIEW = 0x465,    // editor -> preview: 0 / CaSheet*
    WM_ANIM_PREVIEWHIDDEN = 0x466,  // preview -> editor: 0 / 0
    WM_ANIM_CLOSEPREVIEW = 0x467,   // editor -> preview: 0 / 0; closes for good
    WM_ANIM_PREVIEWFINISH = 0x46B,  // preview -> editor: 0 / 0; the editor finishes
    WM_ANIM_EDITORHIDDEN = 0x46C,   // editor -> preview: 0 / 0
    WM_ANIM_OPENEDITOR = 0x46D,     // preview <-> editor: 0 / 0
    WM_ANIM_PREVIEWZOOM = 0x4C9,    // preview frame -> its view: zoom / 0
    WM_ANIM_ZOOM = 0x4CE,           // editor -> its view: zoom / 0
    WM_ANIM_FRAMESCHANGED = 0x4D2,  // editor -> preview: 1 reset, 0 changed / CaSheet*
    WM_ANIM_SELECTFRAME = 0x4D3,    // editor -> preview: frame index / 0
    WM_CLOSE_WINDOW = 0x0010,       // the platform's close message
    WM_TIMER_MESSAGE = 0x0113       // the platform's timer message: timer id / 0
};

// The zooms the sheet view takes.
inline bool IsSheetZoom(int zoom) {
    return zoom == 1 || zoom == 2 || zoom == 4 || zoom == 6 || zoom == 8 || zoom == 16;
}
