/* The message numbers must build as plain C, as the plug-ins include them. */
#include "plugin_api/plugin_messages.h"

_Static_assert(WM_REALIZE_PALETTE == 0x400, "first message");
_Static_assert(WM_TOOL_DOCCLOSED == 0x407, "document closed");
_Static_assert(WM_COMMANDLINE_BYTE == 0x414, "command line byte");
_Static_assert(WM_TOOL_NEWIMAGE == 0x4e7, "last message");
_Static_assert(PLUGIN_STATUS_REFRESH_VIEW == 12, "status codes");

int kavolt_plugin_messages_c_check(void) { return WM_PLUGIN_STATUS; }
