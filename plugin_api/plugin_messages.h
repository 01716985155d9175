/* Window messages between the editor and its plug-in windows.
 *
 * Every message lies in the application range from 0x400 up and is sent
 * synchronously (WinSendMessage); pointers in a parameter are valid only for
 * the length of the call. The numbers are fixed: plug-ins built on their own
 * rely on them.
 *
 * Plain C: no Qt, no C++ types, so that plug-ins can include it as it is.
 */
#ifndef KAVOLT_PLUGIN_API_PLUGIN_MESSAGES_H
#define KAVOLT_PLUGIN_API_PLUGIN_MESSAGES_H

enum {
    /* frame -> descendants / active view: (view window, 0) then (0, view window); realise a kept palette */
    WM_REALIZE_PALETTE = 0x400,
    /* editors, views, frame -> frame: PaletteBarUpdateCode / flag, passed on to the colour palette bar; returns 0 */
    WM_PALETTEBAR_UPDATE = 0x402,
    /* shape, selection, rotate and scale tools -> frame: ToolRectStatusType / pointer to int32 values */
    WM_TOOLRECT_STATUS = 0x403,
    /* every plug-in -> frame: PluginStatusCode / percentage or flag; status text or view refresh */
    WM_PLUGIN_STATUS = 0x405,
    /* canvas view, left button down -> tool and animation plug-in windows: 0 / 0 */
    WM_TOOL_CANVASCLICK = 0x406,
    /* document destructor -> tool and animation plug-in windows: 0 / 0; the document is gone */
    WM_TOOL_DOCCLOSED = 0x407,
    /* animation maker -> frame: its window / 0; the host answers with WM_TOOL_GRIDSIZE */
    WM_PLUGIN_GETGRID = 0x409,
    /* second instance -> frame of the first: one character / position 0..511, or 512 to open; returns 0 */
    WM_COMMANDLINE_BYTE = 0x414,
    /* canvas view on activation -> frame: 1 / 0; keeps the layer palette's caption active; returns 0 */
    WM_KEEP_LAYER_CAPTION = 0x432,
    /* no sender in the program -> frame: any / any, passed on to the selection-mode palette; returns 0 */
    WM_SELMODE_FORWARD = 0x434,
    /* canvas view on activation -> frame, frame -> position palette: 1 / 0; keeps its caption active */
    WM_KEEP_POS_CAPTION = 0x435,
    /* canvas view -> frame (1 / 0), frame -> guide palette (value / 0): reload the guide fields */
    WM_GUIDE_REFRESH = 0x436,
    /* text tool, gradation filter -> frame: 0 / 0; marks the active document modified */
    WM_PLUGIN_MODIFIED = 0x437,
    /* no shipped sender -> frame: 0 / 0; sets the no-reduction-question flag, then as WM_PLUGIN_MODIFIED */
    WM_PLUGIN_MODIFIED_NOASK = 0x438,
    /* host -> plug-in windows: grid width / grid height of the active view */
    WM_TOOL_GRIDSIZE = 0x46e,
    /* animation maker, when it finishes -> frame: 0 / 0; the frame table goes back into the document */
    WM_PLUGIN_STOREANIMTABLE = 0x478,
    /* host -> tool and animation plug-in windows: 0 / 0 (hex tool: image copy / record copy); reload */
    WM_TOOL_IMAGECHANGED = 0x4c8,
    /* animation maker, text tool, gradation filter, when their window closes -> frame: 0 / 0 */
    WM_PLUGIN_CLOSED = 0x4cd,
    /* animation maker -> frame: editor active (low byte) / preview shown (low byte) */
    WM_PLUGIN_ANIMSTATE = 0x4cf,
    /* animation maker -> frame: HostWindowGroup / enable (nonzero) or disable (0) */
    WM_PLUGIN_ENABLEHOST = 0x4dc,
    /* animation maker, text tool -> frame: string (write ops) or window (read ops) / PluginSettingsOp */
    WM_PLUGIN_SETTINGS = 0x4dd,
    /* frame -> plug-in window: pointer to the value read (valid during the call) / 0 */
    WM_TOOL_SETTINGS = 0x4de,
    /* host view commands -> animation window: (0, 1) show the editor again; (1, flag) show or close the preview */
    WM_TOOL_SHOWANIM = 0x4e6,
    /* frame -> animation window (or its preview): pointer to PluginToolInfo / pointer to PluginToolRecord */
    WM_TOOL_NEWIMAGE = 0x4e7
};

/* wParam of WM_PLUGIN_STATUS. */
enum {
    PLUGIN_STATUS_READING = 1,        /* "读取中" */
    PLUGIN_STATUS_READ_DONE = 2,      /* "读取结束" */
    PLUGIN_STATUS_WRITING = 3,        /* "写入中" */
    PLUGIN_STATUS_WRITE_DONE = 4,     /* "写入结束" */
    PLUGIN_STATUS_COMPRESSING = 5,    /* "压缩中" */
    PLUGIN_STATUS_COMPRESS_PCT = 6,   /* "压缩中 %d %% ", lParam the percentage */
    PLUGIN_STATUS_COMPRESS_DONE = 7,  /* "压缩结束" */
    PLUGIN_STATUS_OPENING = 8,        /* "打开中" */
    PLUGIN_STATUS_EXPAND_PCT = 9,     /* "解压中 %d %% ", lParam the percentage */
    PLUGIN_STATUS_OPEN_DONE = 10,     /* "打开结束" */
    PLUGIN_STATUS_CLEAR = 11,         /* 25 blanks */
    PLUGIN_STATUS_REFRESH_VIEW = 12   /* refresh the active view; lParam 0 full, nonzero recompose only */
};

/* wParam of WM_TOOLRECT_STATUS. */
enum {
    TOOLRECT_POSITION = 0,  /* "  %d , %d  " in pane 0: x, y */
    TOOLRECT_SIZE = 1,      /* "  %d x %d  " in pane 1: width, height */
    TOOLRECT_ANGLE = 2,     /* "  %d 度  " in pane 1: degrees */
    TOOLRECT_CLEAR = 3      /* " " in pane 0 */
};

/* wParam of WM_PLUGIN_ENABLEHOST. */
enum {
    HOST_WINDOWS_MAIN_FRAME = 0,     /* the main frame */
    HOST_WINDOWS_COLOR_PALETTE = 1,  /* the colour palette bar */
    HOST_WINDOWS_TOOL_WINDOWS = 2    /* the seven tool windows and the tool-windows-disabled flag */
};

/* lParam of WM_PLUGIN_SETTINGS (keys in section Settings). */
enum {
    PLUGIN_SETTINGS_WRITE_MOJI = 0,
    PLUGIN_SETTINGS_READ_MOJI = 1,
    PLUGIN_SETTINGS_WRITE_ANIMPOS = 2,
    PLUGIN_SETTINGS_READ_ANIMPOS = 3
};

#endif /* KAVOLT_PLUGIN_API_PLUGIN_MESSAGES_H */
